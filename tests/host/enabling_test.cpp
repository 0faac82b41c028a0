#include "app/enabling.h"

#include <gtest/gtest.h>

#include "platform/sim/sim_system.h"
#include "res/resource_ids.h"

namespace qm {
namespace {

class EnablingTest : public ::testing::Test {
 protected:
  SimSystem sim;
  CaptureCommands commands{sim.platform};
  ComponentAvailability none;

  WindowHandle AddTopLevel(uint32_t style, uint32_t processId = 0, uint64_t menu = 0) {
    SimWindowDesc desc;
    desc.style = style;
    desc.window = {0, 0, 200, 100};
    desc.processId = processId;
    desc.menu = menu;
    return sim.desktop.AddWindow(desc);
  }

  bool Enabled(uint32_t command, WindowHandle h) { return commands.Rule(command, h, none).enabled; }
};

constexpr uint32_t kAlways[] = {ID_CAPTURE_WINDOW,      ID_WINDOW_LIST,    ID_PROCESS_LIST,     ID_PROCESS_TREE,
                                ID_MODULE_GENERAL_DATA, ID_MODULE_HEADERS, ID_MODULE_RESOURCES, ID_FIND_WINDOW};
constexpr uint32_t kNeedWindow[] = {
    ID_ENABLE_WINDOW,  ID_DISABLE_WINDOW,    ID_TOGGLE_ENABLED,  ID_SHOW_WINDOW,     ID_HIDE_WINDOW,
    ID_TOGGLE_VISIBLE, ID_REPAINT_WINDOW,    ID_MAXIMIZE_WINDOW, ID_MINIMIZE_WINDOW, ID_RESTORE_WINDOW,
    ID_CLOSE_WINDOW,   ID_WINDOW_PROPERTIES, ID_EDIT_STYLES,     ID_EDIT_EXSTYLES,   ID_CLASS_STYLES,
    ID_CHILD_WINDOWS,  ID_CAPTURE_PARENT,    ID_CAPTURE_OWNER,   ID_CAPTURE_NEXT,    ID_CAPTURE_PREVIOUS,
    ID_WINDOW_MENU,    ID_PROCESS_DATA,      ID_CLASS_ICONS,     ID_MESSAGE_LOG,     ID_HIGHLIGHT_WINDOW};

TEST_F(EnablingTest, WithoutAValidCaptureOnlyTheCaptureListAndModuleCommandsAreEnabled) {
  SimClass cls;
  cls.icon = 0x111;
  SimWindowDesc ownerSpec;
  const WindowHandle owner = sim.desktop.AddWindow(ownerSpec);
  SimWindowDesc desc;
  desc.windowClass = cls;
  desc.owner = owner;
  desc.menu = 0x2222;
  desc.processId = 77;
  const WindowHandle h = sim.desktop.AddWindow(desc);
  sim.desktop.DestroyWindow(h);

  for (WindowHandle captured : {WindowHandle{0}, h}) {
    for (uint32_t command : kAlways) EXPECT_TRUE(Enabled(command, captured)) << command;
    for (uint32_t command : kNeedWindow) EXPECT_FALSE(Enabled(command, captured)) << command << " " << captured;
    EXPECT_EQ(commands.Rule(ID_TOGGLE_ENABLED, captured, none).checked, false);
    EXPECT_EQ(commands.Rule(ID_TOGGLE_VISIBLE, captured, none).checked, false);
  }
}

TEST_F(EnablingTest, ComponentCommandsFollowTheProbesOnly) {
  EXPECT_FALSE(Enabled(ID_DIRECTORY_CHECK, 0));
  EXPECT_FALSE(Enabled(ID_SERVICES_MANAGER, 0));
  ComponentAvailability both{true, true};
  EXPECT_TRUE(commands.Rule(ID_DIRECTORY_CHECK, 0, both).enabled);
  EXPECT_TRUE(commands.Rule(ID_SERVICES_MANAGER, 0, {false, true}).enabled);
  EXPECT_FALSE(commands.Rule(ID_DIRECTORY_CHECK, 0, {false, true}).enabled);
  EXPECT_FALSE(Enabled(ID_APP_ABOUT, 0)) << "commands the model does not know stay disabled";
}

TEST_F(EnablingTest, EnabledStateRulesAndToggleCheck) {
  const WindowHandle on = AddTopLevel(WS_VISIBLE);
  const WindowHandle off = AddTopLevel(WS_VISIBLE | WS_DISABLED);
  EXPECT_FALSE(Enabled(ID_ENABLE_WINDOW, on));
  EXPECT_TRUE(Enabled(ID_DISABLE_WINDOW, on));
  EXPECT_TRUE(Enabled(ID_ENABLE_WINDOW, off));
  EXPECT_FALSE(Enabled(ID_DISABLE_WINDOW, off));
  EXPECT_EQ(commands.Rule(ID_TOGGLE_ENABLED, on, none).checked, true);
  EXPECT_EQ(commands.Rule(ID_TOGGLE_ENABLED, off, none).checked, false);
  EXPECT_TRUE(Enabled(ID_TOGGLE_ENABLED, off));
}

TEST_F(EnablingTest, VisibilityAndPlacementRules) {
  const WindowHandle shown = AddTopLevel(WS_VISIBLE);
  const WindowHandle hidden = AddTopLevel(0);
  const WindowHandle minimized = AddTopLevel(WS_VISIBLE | WS_MINIMIZE);
  const WindowHandle maximized = AddTopLevel(WS_VISIBLE | WS_MAXIMIZE);
  const WindowHandle hiddenMaximized = AddTopLevel(WS_MAXIMIZE);

  EXPECT_FALSE(Enabled(ID_SHOW_WINDOW, shown));
  EXPECT_TRUE(Enabled(ID_HIDE_WINDOW, shown));
  EXPECT_TRUE(Enabled(ID_REPAINT_WINDOW, shown));
  EXPECT_TRUE(Enabled(ID_MAXIMIZE_WINDOW, shown));
  EXPECT_TRUE(Enabled(ID_MINIMIZE_WINDOW, shown));
  EXPECT_FALSE(Enabled(ID_RESTORE_WINDOW, shown));
  EXPECT_EQ(commands.Rule(ID_TOGGLE_VISIBLE, shown, none).checked, true);

  EXPECT_TRUE(Enabled(ID_SHOW_WINDOW, hidden));
  for (uint32_t c : {ID_HIDE_WINDOW, ID_REPAINT_WINDOW, ID_MAXIMIZE_WINDOW, ID_MINIMIZE_WINDOW, ID_RESTORE_WINDOW})
    EXPECT_FALSE(Enabled(c, hidden)) << c;
  EXPECT_TRUE(Enabled(ID_TOGGLE_VISIBLE, hidden));
  EXPECT_EQ(commands.Rule(ID_TOGGLE_VISIBLE, hidden, none).checked, false);
  EXPECT_FALSE(Enabled(ID_RESTORE_WINDOW, hiddenMaximized)) << "restore needs a visible window";

  EXPECT_FALSE(Enabled(ID_MINIMIZE_WINDOW, minimized));
  EXPECT_TRUE(Enabled(ID_RESTORE_WINDOW, minimized));
  EXPECT_TRUE(Enabled(ID_MAXIMIZE_WINDOW, minimized));
  EXPECT_FALSE(Enabled(ID_MAXIMIZE_WINDOW, maximized));
  EXPECT_TRUE(Enabled(ID_RESTORE_WINDOW, maximized));
  EXPECT_TRUE(Enabled(ID_MINIMIZE_WINDOW, maximized));
}

TEST_F(EnablingTest, ValidOnlyCommandsAskNothingElse) {
  const WindowHandle plain = AddTopLevel(WS_DISABLED);  // hidden, disabled, no relations
  for (uint32_t c : {ID_CLOSE_WINDOW, ID_WINDOW_PROPERTIES, ID_EDIT_STYLES, ID_EDIT_EXSTYLES, ID_CLASS_STYLES,
                     ID_CHILD_WINDOWS, ID_MESSAGE_LOG, ID_HIGHLIGHT_WINDOW})
    EXPECT_TRUE(Enabled(c, plain)) << c;
}

TEST_F(EnablingTest, RelationsMenuProcessAndClassIcons) {
  const WindowHandle lone = AddTopLevel(WS_VISIBLE);  // the only top-level window
  for (uint32_t c : {ID_CAPTURE_PARENT, ID_CAPTURE_OWNER, ID_CAPTURE_NEXT, ID_CAPTURE_PREVIOUS, ID_WINDOW_MENU,
                     ID_PROCESS_DATA, ID_CLASS_ICONS})
    EXPECT_FALSE(Enabled(c, lone)) << c;

  SimWindowDesc dialogSpec;
  dialogSpec.style = WS_POPUP | WS_VISIBLE;
  dialogSpec.owner = lone;
  dialogSpec.menu = 0x5555;
  dialogSpec.processId = 1234;
  dialogSpec.windowClass.smallIcon = 0x77;  // a small icon alone is enough
  const WindowHandle dialog = sim.desktop.AddWindow(dialogSpec);
  SimWindowDesc childSpec;
  childSpec.style = WS_CHILD | WS_VISIBLE;
  childSpec.parent = dialog;
  const WindowHandle first = sim.desktop.AddWindow(childSpec);
  const WindowHandle second = sim.desktop.AddWindow(childSpec);

  EXPECT_TRUE(Enabled(ID_CAPTURE_OWNER, dialog));
  EXPECT_TRUE(Enabled(ID_CAPTURE_PARENT, dialog)) << "GetParent of an owned pop-up gives its owner";
  EXPECT_TRUE(Enabled(ID_WINDOW_MENU, dialog));
  EXPECT_TRUE(Enabled(ID_PROCESS_DATA, dialog));
  EXPECT_TRUE(Enabled(ID_CLASS_ICONS, dialog));
  EXPECT_EQ(commands.RelatedWindow(ID_CAPTURE_OWNER, dialog), lone);

  // Siblings: each has exactly the neighbours Z order gives it.
  const WindowHandle above = sim.desktop.GetWindow(first, GW_HWNDPREV);
  const WindowHandle below = sim.desktop.GetWindow(first, GW_HWNDNEXT);
  EXPECT_EQ(Enabled(ID_CAPTURE_PREVIOUS, first), above != 0);
  EXPECT_EQ(Enabled(ID_CAPTURE_NEXT, first), below != 0);
  EXPECT_TRUE(above == second || below == second);
  EXPECT_EQ(commands.RelatedWindow(ID_CAPTURE_PARENT, first), dialog);
  EXPECT_FALSE(Enabled(ID_CAPTURE_OWNER, first));
  EXPECT_FALSE(Enabled(ID_PROCESS_DATA, first)) << "a window of process 0 has no process data";
}

TEST_F(EnablingTest, CaptureMovesFollowTheRelations) {
  const WindowHandle bottom = AddTopLevel(WS_VISIBLE);
  const WindowHandle top = AddTopLevel(WS_VISIBLE);
  sim.desktop.BringToTop(top);
  EXPECT_EQ(commands.RelatedWindow(ID_CAPTURE_NEXT, top), bottom);
  EXPECT_EQ(commands.RelatedWindow(ID_CAPTURE_PREVIOUS, bottom), top);
  EXPECT_EQ(commands.RelatedWindow(ID_CAPTURE_PREVIOUS, top), 0u);
  EXPECT_EQ(commands.RelatedWindow(ID_REPAINT_WINDOW, top), 0u) << "not a move";
  sim.desktop.DestroyWindow(bottom);
  EXPECT_EQ(commands.RelatedWindow(ID_CAPTURE_PREVIOUS, bottom), 0u) << "a vanished window moves nowhere";
}

TEST_F(EnablingTest, ActionsActOnlyWhenTheirConditionHolds) {
  const WindowHandle h = AddTopLevel(WS_VISIBLE);
  EXPECT_FALSE(commands.Act(ID_ENABLE_WINDOW, h));
  EXPECT_FALSE(commands.Act(ID_SHOW_WINDOW, h));
  EXPECT_FALSE(commands.Act(ID_RESTORE_WINDOW, h));
  EXPECT_TRUE(sim.desktop.actions.empty());

  EXPECT_TRUE(commands.Act(ID_DISABLE_WINDOW, h));
  EXPECT_FALSE(sim.desktop.IsWindowEnabled(h));
  EXPECT_TRUE(commands.Act(ID_TOGGLE_ENABLED, h));
  EXPECT_TRUE(sim.desktop.IsWindowEnabled(h));

  EXPECT_TRUE(commands.Act(ID_MAXIMIZE_WINDOW, h));
  EXPECT_TRUE(sim.desktop.IsZoomed(h));
  EXPECT_FALSE(commands.Act(ID_MAXIMIZE_WINDOW, h));
  EXPECT_TRUE(commands.Act(ID_RESTORE_WINDOW, h));
  EXPECT_FALSE(sim.desktop.IsZoomed(h));
  EXPECT_TRUE(commands.Act(ID_MINIMIZE_WINDOW, h));
  EXPECT_TRUE(sim.desktop.IsIconic(h));

  EXPECT_TRUE(commands.Act(ID_TOGGLE_VISIBLE, h));
  EXPECT_FALSE(sim.desktop.IsWindowVisible(h));
  EXPECT_FALSE(commands.Act(ID_REPAINT_WINDOW, h)) << "a hidden window is not repainted";
  EXPECT_FALSE(commands.Act(ID_HIDE_WINDOW, h));
  EXPECT_TRUE(commands.Act(ID_SHOW_WINDOW, h));
  EXPECT_TRUE(sim.desktop.IsWindowVisible(h));

  const size_t before = sim.desktop.actions.size();
  EXPECT_TRUE(commands.Act(ID_REPAINT_WINDOW, h));
  EXPECT_TRUE(commands.Act(ID_CLOSE_WINDOW, h));
  ASSERT_EQ(sim.desktop.actions.size(), before + 2);
  EXPECT_NE(sim.desktop.actions.back().find("PostMessage"), std::string::npos);
  EXPECT_TRUE(sim.desktop.IsWindow(h)) << "closing only asks the window";

  sim.desktop.DestroyWindow(h);
  const size_t afterDestroy = sim.desktop.actions.size();
  for (uint32_t c : {ID_SHOW_WINDOW, ID_TOGGLE_VISIBLE, ID_TOGGLE_ENABLED, ID_CLOSE_WINDOW})
    EXPECT_FALSE(commands.Act(c, h));
  EXPECT_EQ(sim.desktop.actions.size(), afterDestroy) << "nothing is done to a vanished window";
}

}  // namespace
}  // namespace qm
