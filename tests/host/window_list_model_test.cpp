#include "windows/window_list_model.h"

#include <gtest/gtest.h>

#include "platform/sim/sim_system.h"
#include "res/string_ids.h"
#include "windows/window_actions.h"

namespace qm {
namespace {

class WindowListModelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    sim.desktop.AddProcess({100, 1, "editor.exe", {{0x400000, 0x1000, "C:\\Apps\\editor.exe"}}, {}, 0});
    sim.desktop.AddProcess({200, 1, "secreto.exe", {{0x400000, 0x1000, "C:\\secreto.exe"}}, {}, ERROR_ACCESS_DENIED});
    // Created top first: each new window goes below the others.
    main = Add("Editor", WS_VISIBLE, 100);
    locked = Add("Protegida", WS_VISIBLE, 200);
    hidden = Add("Oculta", 0, 100);
    unnamed = Add("", WS_VISIBLE, 100);
    // GetParent gives the owner of a pop-up window.
    owned = Add("Propiedades", WS_VISIBLE | WS_POPUP, 100, main);
  }
  WindowHandle Add(std::string title, uint32_t style, uint32_t processId, WindowHandle owner = 0) {
    SimWindowDesc desc;
    desc.title = std::move(title);
    desc.style = style;
    desc.owner = owner;
    desc.processId = processId;
    desc.windowClass.name = "Clase";
    return sim.desktop.AddWindow(desc);
  }
  std::vector<WindowHandle> Fill(WindowListFilters filters) {
    std::vector<WindowHandle> handles;
    for (const auto& row : FillWindowList(sim.platform, filters)) handles.push_back(row.window);
    return handles;
  }

  SimSystem sim;
  WindowHandle main = 0, owned = 0, unnamed = 0, hidden = 0, locked = 0;
};

TEST_F(WindowListModelTest, EachFilterBringsBackItsWindows) {
  using H = std::vector<WindowHandle>;
  EXPECT_EQ(Fill({}), (H{main, locked}));
  EXPECT_EQ(Fill({true, false, false}), (H{main, locked, hidden}));
  EXPECT_EQ(Fill({false, true, false}), (H{main, locked, unnamed}));
  EXPECT_EQ(Fill({false, false, true}), (H{main, locked, owned}));
  EXPECT_EQ(Fill({true, true, true}), (H{main, locked, hidden, unnamed, owned}));
  // A child window is never a row.
  SimWindowDesc child;
  child.style = WS_VISIBLE | WS_CHILD;
  child.parent = main;
  child.title = "Botón";
  sim.desktop.AddWindow(child);
  EXPECT_EQ(Fill({true, true, true}).size(), 5u);
}

TEST_F(WindowListModelTest, RowsCarryTextsAndImagesAndEachProcessIsOpenedOnce) {
  sim.desktop.calls.clear();
  const auto rows = FillWindowList(sim.platform, {true, true, true});
  ASSERT_EQ(rows.size(), 5u);
  EXPECT_EQ(sim.desktop.calls["OpenProcess"], 2) << "two processes behind five windows";
  const WindowListRow& editor = rows[0];
  char handle[16];
  std::snprintf(handle, sizeof handle, "0x%08x", static_cast<unsigned>(main));
  EXPECT_EQ(editor.texts[0], handle);
  EXPECT_EQ(editor.texts[1], "Editor");
  EXPECT_EQ(editor.texts[2], "Clase");
  EXPECT_EQ(editor.texts[3], "editor.exe");
  EXPECT_EQ(editor.image, kImageWindowVisible);
  // The process that may not be opened reads as its ID, for every window.
  EXPECT_EQ(rows[1].texts[3], "PID = 200 (0xc8)");
  EXPECT_EQ(rows[2].image, kImageWindowHidden);
  EXPECT_EQ(rows[4].window, owned);
  EXPECT_EQ(rows[4].image, kImageChildVisible) << "an owned window has a parent";
  EXPECT_EQ(sim.desktop.OpenKernelHandles(), 0);
}

// The fill reads visibility and owner from the style its walk read; the
// rows must say what asking each window would.
TEST_F(WindowListModelTest, VisibilityAndOwnerReadFromTheStyleAgreeWithAskingTheWindow) {
  // An overlapped window with an owner has no parent to GetParent; a hidden
  // owned pop-up has one; a pop-up without owner has none.
  const WindowHandle ownedOverlapped = Add("Con dueño", WS_VISIBLE, 100, main);
  const WindowHandle hiddenPopup = Add("Emergente oculta", WS_POPUP, 100, main);
  const WindowHandle loosePopup = Add("Emergente suelta", WS_VISIBLE | WS_POPUP, 100);
  const auto rows = FillWindowList(sim.platform, {true, true, true});
  ASSERT_EQ(rows.size(), 8u);
  for (const WindowListRow& row : rows) EXPECT_EQ(row.image, WindowImageIndex(sim.desktop, row.window)) << row.texts[1];
  using H = std::vector<WindowHandle>;
  EXPECT_EQ(Fill({true, true, false}), (H{main, locked, hidden, unnamed, ownedOverlapped, loosePopup}));
  EXPECT_EQ(Fill({false, true, true}), (H{main, locked, unnamed, owned, ownedOverlapped, loosePopup}));
  EXPECT_EQ(rows[6].window, hiddenPopup);
  EXPECT_EQ(rows[6].image, kImageChildHidden);
}

// Each question about another program's window costs a round trip to the
// window server: a fill of many windows asks each only what it needs.
TEST_F(WindowListModelTest, TheFillAsksEachWindowLittle) {
  for (int i = 0; i < 50; ++i) Add("Ventana " + std::to_string(i), WS_VISIBLE | (i % 2 ? WS_POPUP : 0), 100, main);
  sim.desktop.calls.clear();
  const auto rows = FillWindowList(sim.platform, {true, true, true});
  ASSERT_EQ(rows.size(), 55u);
  int questions = 0;
  for (const auto& [call, count] : sim.desktop.calls)
    if (call != "OpenProcess" && call.find("Process") == std::string::npos && call != "CloseHandle") questions += count;
  EXPECT_EQ(sim.desktop.calls["GetWindowLongPtr"], 55) << "the style is read once, by the walk";
  EXPECT_EQ(sim.desktop.calls["IsWindowVisible"], 0);
  EXPECT_EQ(sim.desktop.calls["GetParent"], 0);
  EXPECT_LE(questions, 6 * 55) << "the walk's step and style, title, class, process and a pop-up's owner";
  EXPECT_EQ(sim.desktop.calls["GetClassName"], 1) << "one class: named once, by its atom";
}

TEST_F(WindowListModelTest, EachClassIsNamedByItsAtomAndAWindowGoneNamesNone) {
  SimWindowDesc other;
  other.title = "Otra";
  other.windowClass.name = "OtraClase";
  other.processId = 100;
  const WindowHandle second = sim.desktop.AddWindow(other);
  other.windowClass.name = "OTRACLASE";  // the same class: names ignore case
  const WindowHandle third = sim.desktop.AddWindow(other);
  sim.desktop.calls.clear();
  auto rows = FillWindowList(sim.platform, {});
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[0].texts[2], "Clase");
  EXPECT_EQ(rows[2].window, second);
  EXPECT_EQ(rows[2].texts[2], "OtraClase");
  EXPECT_EQ(rows[3].window, third);
  EXPECT_EQ(rows[3].texts[2], "OtraClase") << "named as the first window of its class was";
  EXPECT_EQ(sim.desktop.calls["GetClassName"], 2);

  // A class whose name could not be read is not named by its atom: each of
  // its windows asks again.
  sim.desktop.FailCall("GetClassName", ERROR_INVALID_WINDOW_HANDLE, 1);
  sim.desktop.calls.clear();
  rows = FillWindowList(sim.platform, {});
  EXPECT_EQ(rows[2].texts[2], "");
  EXPECT_EQ(rows[3].texts[2], "");
  EXPECT_EQ(sim.desktop.calls["GetClassName"], 3);
}

TEST_F(WindowListModelTest, ATopLevelWindowMadeAChildLeavesTheList) {
  // The desktop stays its parent, as on the platform; it is no longer
  // top-level by its style.
  sim.desktop.SetWindowLongPtr(main, GWL_STYLE, WS_VISIBLE | WS_CHILD);
  EXPECT_TRUE(sim.desktop.IsWindow(main));
  EXPECT_EQ(Fill({}), (std::vector<WindowHandle>{locked}));
  sim.desktop.BringToTop(main);
  sim.desktop.DestroyWindow(main);
  EXPECT_FALSE(sim.desktop.IsWindow(main));
}

TEST_F(WindowListModelTest, NoWindowsLeftGivesNoRows) {
  for (WindowHandle w : {main, owned, unnamed, hidden, locked}) sim.desktop.DestroyWindow(w);
  EXPECT_TRUE(FillWindowList(sim.platform, {}).empty());
}

// This program is process 300 here: its frame (disabled under the modal
// list), the list owned by it, a control of the list, and a window of the
// process that does not hang from the frame.
TEST_F(WindowListModelTest, ActionsThatWouldTakeAwayAWindowOfThisProgramAreRefused) {
  constexpr uint32_t self = 300;
  const WindowHandle frame = Add("Quillmar", WS_VISIBLE | WS_DISABLED, self);
  const WindowHandle list = Add("Lista de ventanas en el sistema", WS_VISIBLE | WS_POPUP, self, frame);
  const WindowHandle hiddenTip = Add("", WS_POPUP, self, list);
  const WindowHandle apart = Add("Ventana aparte", WS_VISIBLE, self);
  SimWindowDesc child;
  child.style = WS_VISIBLE | WS_CHILD;
  child.parent = list;
  child.processId = self;
  const WindowHandle listControl = sim.desktop.AddWindow(child);
  using A = WindowAction;
  struct Case {
    WindowHandle window;
    A action;
    bool refused;
  };
  const Case cases[] = {
      {list, A::Close, true},
      {list, A::Minimize, true},
      {list, A::ToggleVisible, true},
      {list, A::ToggleEnabled, true},
      {list, A::Maximize, false},
      {list, A::Restore, false},
      {frame, A::Close, true},
      {frame, A::Minimize, true},
      {frame, A::ToggleVisible, true},
      {listControl, A::ToggleVisible, true},
      {listControl, A::ToggleEnabled, true},
      {hiddenTip, A::Close, true},
      // What gives a window back is allowed: the frame is disabled already,
      // the hidden window would be shown.
      {frame, A::ToggleEnabled, false},
      {hiddenTip, A::ToggleVisible, false},
      // A window of the process the user interface does not stand on, other
      // programs' windows, and no window.
      {apart, A::Close, false},
      {apart, A::ToggleVisible, false},
      {main, A::Close, false},
      {main, A::Minimize, false},
      {main, A::ToggleVisible, false},
      {main, A::ToggleEnabled, false},
      {0, A::Close, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsOwnWindowActionRefused(sim.desktop, c.window, c.action, self, frame), c.refused)
        << "window " << c.window << " action " << static_cast<int>(c.action);
  }
  // Another program's window owned by the frame is not ours to keep.
  const WindowHandle foreignOwned = Add("Ajena", WS_VISIBLE | WS_POPUP, 100, frame);
  EXPECT_FALSE(IsOwnWindowActionRefused(sim.desktop, foreignOwned, A::Close, self, frame));
  EXPECT_FALSE(IsOwnWindowActionRefused(sim.desktop, list, A::Close, self, 0)) << "no user interface named";
  sim.desktop.DestroyWindow(list);
  EXPECT_FALSE(IsOwnWindowActionRefused(sim.desktop, list, A::Close, self, frame)) << "gone: nothing to keep";
  sim.desktop.FailCall("GetWindowThreadProcessId", 5);
  EXPECT_FALSE(IsOwnWindowActionRefused(sim.desktop, frame, A::Close, self, frame)) << "no process read: not ours";
}

TEST_F(WindowListModelTest, ARefusedActionIsSaidAndNotDoneAndAnAllowedOneIsDoneSilently) {
  constexpr uint32_t self = 300;
  const WindowHandle frame = Add("Quillmar", WS_VISIBLE, self);
  const WindowHandle list = Add("Lista de ventanas en el sistema", WS_VISIBLE | WS_POPUP, self, frame);
  sim.desktop.actions.clear();
  EXPECT_FALSE(DoWindowActionFromModalDialog(sim.platform, list, WindowAction::ToggleVisible, self, frame));
  EXPECT_TRUE(sim.desktop.IsWindowVisible(list));
  EXPECT_TRUE(sim.desktop.actions.empty());
  ASSERT_EQ(sim.messageBox.shown.size(), 1u);
  EXPECT_EQ(sim.messageBox.shown[0].text, sim.strings.LoadString(IDS_OWN_WINDOW_ACTION_REFUSED));
  EXPECT_EQ(sim.messageBox.shown[0].flags, static_cast<uint32_t>(MB_ICONEXCLAMATION_));
  EXPECT_FALSE(sim.messageBox.shown[0].text.empty());

  EXPECT_TRUE(DoWindowActionFromModalDialog(sim.platform, main, WindowAction::ToggleVisible, self, frame));
  EXPECT_FALSE(sim.desktop.IsWindowVisible(main));
  EXPECT_TRUE(DoWindowActionFromModalDialog(sim.platform, list, WindowAction::Maximize, self, frame));
  EXPECT_TRUE(sim.desktop.IsZoomed(list));
  EXPECT_EQ(sim.messageBox.shown.size(), 1u);
}

}  // namespace
}  // namespace qm
