#include "windows/window_edits.h"

#include <gtest/gtest.h>

#include "common/text.h"
#include "platform/sim/sim_system.h"

namespace qm {
namespace {

constexpr int IDNO_ = 7;

class WindowEditsTest : public ::testing::Test {
 protected:
  SimSystem sim;
  WindowHandle h = 0;
  std::string hex;

  void SetUp() override {
    SimWindowDesc desc;
    desc.title = "Calculadora";
    desc.style = 0x16CF0000;
    desc.window = {-32000, -32000, -31840, -31972};
    desc.client = {0, 0, 150, 20};
    h = sim.desktop.AddWindow(desc);
    hex = Format("0x%08llx", static_cast<unsigned long long>(h));
  }
  std::string Line(const char* action, const std::string& rest) { return std::string(action) + " " + hex + " " + rest; }
};

TEST_F(WindowEditsTest, AStyleWordIsWrittenAfterYesAndOnlyWhileTheWindowExists) {
  EXPECT_EQ(ApplyStyleWord(sim.platform, h, kButtonStyles, 0x10010003), EditOutcome::Applied);
  ASSERT_EQ(sim.messageBox.shown.size(), 1u);
  EXPECT_EQ(sim.messageBox.shown[0].text, sim.strings.LoadString(4201));
  EXPECT_EQ(sim.messageBox.shown[0].flags, MB_YESNO_ | MB_ICONQUESTION_);
  EXPECT_EQ(sim.desktop.actions,
            (std::vector<std::string>{Line("SetWindowLongPtr", "-16 0x10010003"), Line("InvalidateRect", "all 1")}));
  EXPECT_EQ(sim.desktop.GetWindowLongPtr(h, GWL_STYLE), 0x10010003u);

  sim.desktop.actions.clear();
  EXPECT_EQ(ApplyStyleWord(sim.platform, h, kExtendedStyles, 0x188), EditOutcome::Applied);
  EXPECT_EQ(sim.desktop.actions.front(), Line("SetWindowLongPtr", "-20 0x00000188"));

  sim.desktop.actions.clear();
  sim.messageBox.answers = {IDNO_};
  EXPECT_EQ(ApplyStyleWord(sim.platform, h, kWindowStyles, 0), EditOutcome::Declined);
  EXPECT_TRUE(sim.desktop.actions.empty());
  EXPECT_EQ(sim.desktop.GetWindowLongPtr(h, GWL_STYLE), 0x10010003u);

  // Class styles and menu states are shown only: nothing is asked or written.
  const size_t asked = sim.messageBox.shown.size();
  EXPECT_EQ(ApplyStyleWord(sim.platform, h, kClassStyles, 0x3), EditOutcome::NotApplicable);
  EXPECT_EQ(ApplyStyleWord(sim.platform, h, kMenuItemStates, 0x3), EditOutcome::NotApplicable);

  sim.desktop.DestroyWindow(h);
  EXPECT_EQ(ApplyStyleWord(sim.platform, h, kWindowStyles, 0), EditOutcome::NotAWindow);
  EXPECT_EQ(ApplyStyleWord(sim.platform, 0, kWindowStyles, 0), EditOutcome::NotAWindow);
  EXPECT_EQ(sim.messageBox.shown.size(), asked);
  EXPECT_TRUE(sim.desktop.actions.empty());
}

TEST_F(WindowEditsTest, PropertiesAreReadFromTheWindowOrEmptyWhenItIsGone) {
  SimWindowDesc desc;
  desc.title = "Niño ☃";
  desc.style = WS_VISIBLE | WS_MAXIMIZE | WS_DISABLED;
  desc.window = {-8, -8, 1288, 1008};
  desc.client = {0, 0, 1280, 970};
  const WindowHandle zoomed = sim.desktop.AddWindow(desc);
  const WindowProperties read = ReadWindowProperties(sim.desktop, zoomed);
  EXPECT_EQ(read.title, "Niño ☃");
  EXPECT_EQ(read.window, (Rect{-8, -8, 1288, 1008}));
  EXPECT_EQ(read.client, (Rect{0, 0, 1280, 970}));
  EXPECT_TRUE(read.maximised);
  EXPECT_FALSE(read.minimised);
  EXPECT_FALSE(read.enabled);
  EXPECT_TRUE(read.visible);

  sim.desktop.DestroyWindow(zoomed);
  EXPECT_EQ(ReadWindowProperties(sim.desktop, zoomed), WindowProperties{});
  EXPECT_EQ(ReadWindowProperties(sim.desktop, 0), WindowProperties{});
}

TEST_F(WindowEditsTest, TheLastPlacementBoxClickedWins) {
  WindowProperties p;
  p.maximised = true;
  OnPlacementBoxClicked(p, PlacementBox::Maximised);
  EXPECT_TRUE(p.maximised);
  p.minimised = true;  // "Minimizada" checked while "Maximizada" is
  OnPlacementBoxClicked(p, PlacementBox::Minimised);
  EXPECT_FALSE(p.maximised);
  EXPECT_TRUE(p.minimised);
  p.maximised = true;
  OnPlacementBoxClicked(p, PlacementBox::Maximised);
  EXPECT_TRUE(p.maximised);
  EXPECT_FALSE(p.minimised);
  // Unchecking one box leaves the other alone.
  p.maximised = false;
  OnPlacementBoxClicked(p, PlacementBox::Maximised);
  EXPECT_FALSE(p.minimised);
}

TEST_F(WindowEditsTest, PropertiesAreAppliedInTheirFixedOrderAfterTheQuestion) {
  WindowProperties p = ReadWindowProperties(sim.desktop, h);
  p.title = "Nuevo";
  p.window = {10, 20, 310, 220};
  p.visible = false;
  p.enabled = true;
  EXPECT_EQ(ApplyWindowProperties(sim.platform, h, p), EditOutcome::Applied);
  EXPECT_EQ(sim.messageBox.shown.at(0).text, sim.strings.LoadString(4204));
  EXPECT_EQ(sim.messageBox.shown.at(0).flags, MB_YESNO_ | MB_ICONQUESTION_);
  EXPECT_EQ(sim.desktop.actions,
            (std::vector<std::string>{Line("SetWindowText", "Nuevo"), Line("MoveWindow", "10,20 300x200 1"),
                                      Line("ShowWindow", "0"), Line("EnableWindow", "1")}));

  // Placement: minimised before maximised; a negative value restores.
  struct Case {
    bool minimised, maximised;
    Rect rect;
    std::string placement;
  };
  const Case cases[] = {
      {true, true, {0, 0, 10, 10}, Line("ShowWindow", "2")},
      {false, true, {0, 0, 10, 10}, Line("ShowWindow", "3")},
      {false, false, {0, 0, 0, 0}, Line("MoveWindow", "0,0 0x0 1")},
      {false, false, {-1, 0, 10, 10}, Line("ShowWindow", "9")},
      {false, false, {0, 0, 10, -1}, Line("ShowWindow", "9")},
  };
  for (const Case& c : cases) {
    sim.desktop.actions.clear();
    p.minimised = c.minimised;
    p.maximised = c.maximised;
    p.window = c.rect;
    p.visible = true;
    EXPECT_EQ(ApplyWindowProperties(sim.platform, h, p), EditOutcome::Applied);
    ASSERT_EQ(sim.desktop.actions.size(), 4u);
    EXPECT_EQ(sim.desktop.actions[1], c.placement);
    EXPECT_EQ(sim.desktop.actions[2], Line("ShowWindow", "5"));
  }
}

TEST_F(WindowEditsTest, PropertiesAskFirstAndStopOnNoOrAVanishedWindow) {
  const WindowProperties p = ReadWindowProperties(sim.desktop, h);
  sim.messageBox.answers = {IDNO_};
  EXPECT_EQ(ApplyWindowProperties(sim.platform, h, p), EditOutcome::Declined);
  EXPECT_TRUE(sim.desktop.actions.empty());

  // The question comes before the window test, so it is asked even then.
  sim.desktop.DestroyWindow(h);
  EXPECT_EQ(ApplyWindowProperties(sim.platform, h, p), EditOutcome::NotAWindow);
  EXPECT_EQ(sim.messageBox.shown.size(), 2u);
  EXPECT_TRUE(sim.desktop.actions.empty());
}

}  // namespace
}  // namespace qm
