#include "windows/window_outline.h"

#include <gtest/gtest.h>

#include "app/capture_outline.h"
#include "platform/sim/sim_system.h"
#include "windows/window_list_model.h"

namespace qm {
namespace {

constexpr Rect kScreen{0, 0, 1280, 1024};

TEST(OutlineBarsTest, FourBarsOfThreePixelsLieInsideTheWindowCutToTheScreen) {
  const auto bars = OutlineBars({100, 200, 400, 300}, kScreen);
  ASSERT_TRUE(bars);
  EXPECT_EQ((*bars)[0], (Rect{100, 200, 400, 203}));
  EXPECT_EQ((*bars)[1], (Rect{100, 297, 400, 300}));
  EXPECT_EQ((*bars)[2], (Rect{100, 200, 103, 300}));
  EXPECT_EQ((*bars)[3], (Rect{397, 200, 400, 300}));

  // A maximised window reaches past the screen's edges: every side stays
  // in sight.
  const auto maximised = OutlineBars({-8, -8, 1288, 1032}, kScreen);
  ASSERT_TRUE(maximised);
  EXPECT_EQ((*maximised)[0], (Rect{0, 0, 1280, 3}));
  EXPECT_EQ((*maximised)[3], (Rect{1277, 0, 1280, 1024}));
  // On a second monitor left of the first, the screen starts below zero.
  EXPECT_EQ((*OutlineBars({-500, 10, -400, 50}, {-1280, 0, 1280, 1024}))[2], (Rect{-500, 10, -497, 50}));
}

TEST(OutlineBarsTest, ThinEmptyAndOffScreenWindows) {
  // Two pixels high: the bars do not reach outside the window.
  const auto thin = OutlineBars({10, 10, 110, 12}, kScreen);
  ASSERT_TRUE(thin);
  for (const Rect& bar : *thin) {
    EXPECT_GE(bar.top, 10);
    EXPECT_LE(bar.bottom, 12);
  }
  EXPECT_FALSE(OutlineBars({10, 10, 10, 50}, kScreen)) << "no width";
  EXPECT_FALSE(OutlineBars({-32000, -32000, -31840, -31972}, kScreen)) << "a minimised top-level window";
  EXPECT_FALSE(OutlineBars({1280, 0, 1300, 20}, kScreen)) << "the right edge is outside";
}

TEST(OutlineLabelTest, GoesUnderAboveOrInsideAndStaysOnTheScreen) {
  const Rect frame{100, 100, 300, 200};
  EXPECT_EQ(PlaceOutlineLabel(frame, 150, 20, kScreen), (Rect{100, 200, 250, 220}));
  // No room below: above the frame.
  EXPECT_EQ(PlaceOutlineLabel({100, 900, 300, 1015}, 150, 20, kScreen), (Rect{100, 880, 250, 900}));
  // No room above nor below (a window as tall as the screen): inside.
  EXPECT_EQ(PlaceOutlineLabel({0, 0, 1280, 1024}, 150, 20, kScreen), (Rect{0, 0, 150, 20}));
  // Near the right edge the label moves left to show whole.
  EXPECT_EQ(PlaceOutlineLabel({1200, 100, 1280, 200}, 150, 20, kScreen), (Rect{1130, 200, 1280, 220}));
  // Wider than the screen: cut to it.
  EXPECT_EQ(PlaceOutlineLabel(frame, 5000, 20, kScreen), (Rect{0, 200, 1280, 220}));
}

class OutlineOfTest : public ::testing::Test {
 protected:
  SimSystem sim;

  WindowHandle Add(WindowHandle parent, Rect rect, const std::string& title, uint32_t extraStyle = 0) {
    SimWindowDesc desc;
    desc.style = WS_VISIBLE | extraStyle | (parent ? WS_CHILD : 0);
    desc.parent = parent;
    desc.window = rect;
    desc.title = title;
    desc.windowClass.name = parent ? "Button" : "#32770";
    return sim.desktop.AddWindow(desc);
  }
};

TEST_F(OutlineOfTest, TheLabelNamesHandleClassAndTitleOnOneShortLine) {
  const WindowHandle dialog = Add(0, {0, 0, 300, 300}, "Opciones\r\nde red\t");
  const auto outline = OutlineOf(sim.strings, sim.desktop, dialog, kScreen);
  ASSERT_TRUE(outline);
  EXPECT_EQ(outline->window, dialog);
  EXPECT_EQ(outline->frame, (Rect{0, 0, 300, 300}));
  EXPECT_EQ(outline->label, ListHandleText(dialog) + " [#32770] \"Opciones  de red \"");

  // A long title in a script of several bytes per character is cut at a
  // character, never inside one.
  std::string longTitle;
  for (int i = 0; i < 100; ++i) longTitle += "\xD0\x96";  // "Ж"
  const WindowHandle button = Add(dialog, {10, 10, 50, 30}, longTitle);
  const std::string label = OutlineLabelText(sim.strings, sim.desktop, button);
  std::string expectedTitle;
  for (int i = 0; i < 80; ++i) expectedTitle += "\xD0\x96";
  EXPECT_EQ(label, ListHandleText(button) + " [Button] \"" + expectedTitle + "\xE2\x80\xA6\"");
}

TEST_F(OutlineOfTest, AVanishedOrOffScreenWindowHasNoOutline) {
  const WindowHandle dialog = Add(0, {0, 0, 300, 300}, "Se va");
  sim.desktop.DestroyWindow(dialog);
  EXPECT_FALSE(OutlineOf(sim.strings, sim.desktop, dialog, kScreen));
  EXPECT_FALSE(OutlineOf(sim.strings, sim.desktop, 0, kScreen));
  const WindowHandle away = Add(0, {-32000, -32000, -31840, -31972}, "Minimizada");
  EXPECT_FALSE(OutlineOf(sim.strings, sim.desktop, away, kScreen));
}

TEST(OutlineFlashTest, ThreeShowsOverSixPhasesAndANewFlashStartsAgain) {
  OutlineFlash flash;
  EXPECT_FALSE(flash.Running());
  EXPECT_FALSE(flash.Visible());
  EXPECT_FALSE(flash.Advance()) << "nothing to advance";

  flash.Start(0x42);
  std::string seen;
  do seen += flash.Visible() ? 'X' : '.';
  while (flash.Advance());
  EXPECT_EQ(seen, "X.X.X.");
  EXPECT_FALSE(flash.Visible());
  EXPECT_GE(6 * OutlineFlash::kFlashPhaseMs, 900u) << "about a second";
  EXPECT_LE(6 * OutlineFlash::kFlashPhaseMs, 1200u);

  // A newer flash drops the older one midway and runs whole.
  flash.Start(0x42);
  flash.Advance();
  flash.Advance();
  flash.Start(0x77);
  EXPECT_EQ(flash.Window(), 0x77u);
  int shows = 0;
  do shows += flash.Visible();
  while (flash.Advance());
  EXPECT_EQ(shows, 3);

  flash.Start(0x77);
  flash.Stop();
  EXPECT_FALSE(flash.Running());
  EXPECT_FALSE(flash.Visible());
}

class CaptureOutlineTest : public OutlineOfTest {
 protected:
  CaptureCommands commands{sim.platform};
  CaptureOutlineTracker tracker{commands, sim.desktop, sim.strings};

  std::optional<WindowHandle> At(Point point) {
    const auto& outline = tracker.Update(point, kScreen);
    return outline ? std::optional<WindowHandle>(outline->window) : std::nullopt;
  }
};

TEST_F(CaptureOutlineTest, OutlinesWhatTheDropWouldCaptureDisabledChildrenIncluded) {
  const WindowHandle dialog = Add(0, {100, 100, 400, 300}, "Diálogo");
  const WindowHandle disabled = Add(dialog, {110, 200, 200, 230}, "Apagado", WS_DISABLED);
  for (Point p : {Point{150, 215}, Point{300, 150}, Point{600, 600}, Point{110, 200}, Point{200, 215}})
    EXPECT_EQ(At(p), commands.FindCaptureTarget(p)) << p.x << "," << p.y;
  EXPECT_EQ(At({150, 215}), disabled);
  EXPECT_EQ(At({600, 600}), std::nullopt);
  ASSERT_TRUE(At({150, 215}));
  EXPECT_EQ(tracker.Update({150, 215}, kScreen)->frame, (Rect{110, 200, 200, 230}));
}

TEST_F(CaptureOutlineTest, FollowsAWindowThatMovesOrClosesUnderAStillPointer) {
  // The desktop's first window is the topmost.
  const WindowHandle front = Add(0, {100, 100, 400, 300}, "Delante");
  const WindowHandle back = Add(0, {0, 0, 800, 800}, "Fondo");
  ASSERT_EQ(At({150, 150}), front);

  // Moved away from the pointer: the window now under it is outlined.
  ASSERT_TRUE(sim.desktop.MoveWindow(front, 500, 100, 300, 200, true));
  const auto& moved = tracker.Update({150, 150}, kScreen);
  ASSERT_TRUE(moved);
  EXPECT_EQ(moved->window, back);

  // Moved within reach: the bars follow it.
  ASSERT_TRUE(sim.desktop.MoveWindow(front, 120, 120, 300, 200, true));
  for (int i = 0; i < CaptureOutlineTracker::kRefindTicks; ++i) tracker.Update({150, 150}, kScreen);
  ASSERT_EQ(At({150, 150}), front) << "a window opened over the pointer is found within the refind period";
  ASSERT_TRUE(sim.desktop.MoveWindow(front, 130, 130, 300, 200, true));
  EXPECT_EQ(tracker.Update({150, 150}, kScreen)->frame, (Rect{130, 130, 430, 330}));

  // Closed: nothing is left of its outline.
  sim.desktop.DestroyWindow(front);
  EXPECT_EQ(At({150, 150}), back);
  sim.desktop.DestroyWindow(back);
  EXPECT_EQ(At({150, 150}), std::nullopt);
}

TEST_F(CaptureOutlineTest, AStillPointerLooksForTheTargetOnlyOncePerRefindPeriod) {
  const WindowHandle dialog = Add(0, {0, 0, 300, 300}, "Quieto");
  for (int i = 0; i < 5; ++i) Add(dialog, {10 * i, 10, 10 * i + 8, 20}, "Hijo", WS_DISABLED);
  ASSERT_EQ(At({150, 150}), dialog);
  const int searches = sim.desktop.calls["EnumChildWindows"];
  for (int i = 1; i < CaptureOutlineTracker::kRefindTicks; ++i) ASSERT_EQ(At({150, 150}), dialog);
  EXPECT_EQ(sim.desktop.calls["EnumChildWindows"], searches) << "only the rectangle is read while still";
  ASSERT_EQ(At({150, 150}), dialog);
  EXPECT_EQ(sim.desktop.calls["EnumChildWindows"], searches + 1);
  At({151, 150});
  EXPECT_EQ(sim.desktop.calls["EnumChildWindows"], searches + 2) << "a moved pointer looks again";
  tracker.Reset();
  EXPECT_EQ(At({150, 150}), dialog);
  EXPECT_EQ(sim.desktop.calls["EnumChildWindows"], searches + 3) << "so does a reset";
}

}  // namespace
}  // namespace qm
