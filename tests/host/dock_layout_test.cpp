#include "common/dock_layout.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

constexpr Rect kClient{0, 0, 600, 400};

int32_t Width(const Rect& r) { return r.right - r.left; }
int32_t Height(const Rect& r) { return r.bottom - r.top; }

TEST(DockLayoutTest, EachSideTakesItsStripAboveTheStatusBarAndTheViewGetsTheRest) {
  const FrameLayout top = LayOutFrame(kClient, DockSide::Top, 28, 20);
  EXPECT_EQ(top.status, (Rect{0, 380, 600, 400}));
  EXPECT_EQ(top.bar, (Rect{0, 0, 600, 28}));
  EXPECT_EQ(top.view, (Rect{0, 28, 600, 380}));

  const FrameLayout bottom = LayOutFrame(kClient, DockSide::Bottom, 28, 20);
  EXPECT_EQ(bottom.bar, (Rect{0, 352, 600, 380})) << "the toolbar sits above the status bar";
  EXPECT_EQ(bottom.view, (Rect{0, 0, 600, 352}));

  const FrameLayout left = LayOutFrame(kClient, DockSide::Left, 30, 20);
  EXPECT_EQ(left.bar, (Rect{0, 0, 30, 380})) << "a side bar stops at the status bar";
  EXPECT_EQ(left.view, (Rect{30, 0, 600, 380}));

  const FrameLayout right = LayOutFrame(kClient, DockSide::Right, 30, 20);
  EXPECT_EQ(right.bar, (Rect{570, 0, 600, 380}));
  EXPECT_EQ(right.view, (Rect{0, 0, 570, 380}));
}

TEST(DockLayoutTest, HiddenBarsLeaveTheWholeClientToTheView) {
  const FrameLayout none = LayOutFrame(kClient, DockSide::Left, 0, 0);
  EXPECT_EQ(none.view, kClient);
  EXPECT_EQ(Width(none.bar), 0);
  EXPECT_EQ(Height(none.status), 0);
  const FrameLayout statusOnly = LayOutFrame({10, 20, 110, 220}, DockSide::Top, 0, 15);
  EXPECT_EQ(statusOnly.status, (Rect{10, 205, 110, 220}));
  EXPECT_EQ(statusOnly.view, (Rect{10, 20, 110, 205}));
}

TEST(DockLayoutTest, ATinyOrEmptyClientNeverGivesNegativeSizes) {
  for (DockSide side : {DockSide::Top, DockSide::Bottom, DockSide::Left, DockSide::Right}) {
    for (Rect client : {Rect{0, 0, 0, 0}, Rect{0, 0, 10, 12}, Rect{5, 5, 2, 1}}) {
      const FrameLayout layout = LayOutFrame(client, side, 28, 20);
      for (const Rect& r : {layout.bar, layout.status, layout.view}) {
        EXPECT_GE(Width(r), 0);
        EXPECT_GE(Height(r), 0);
      }
      EXPECT_LE(Height(layout.status) + (IsVerticalSide(side) ? 0 : Height(layout.bar)) + Height(layout.view),
                std::max(Height(client), 0));
    }
  }
  // The status bar takes what there is first; the toolbar gets the rest.
  const FrameLayout small = LayOutFrame({0, 0, 100, 30}, DockSide::Top, 28, 20);
  EXPECT_EQ(small.status, (Rect{0, 10, 100, 30}));
  EXPECT_EQ(small.bar, (Rect{0, 0, 100, 10}));
  EXPECT_EQ(Height(small.view), 0);
}

TEST(DockLayoutTest, ReleasingNearAnEdgeDocksThereAndTheMiddleKeepsTheSide) {
  constexpr int32_t band = 40;
  EXPECT_EQ(DockSideAt(kClient, {300, 10}, band, DockSide::Left), DockSide::Top);
  EXPECT_EQ(DockSideAt(kClient, {300, 390}, band, DockSide::Top), DockSide::Bottom);
  EXPECT_EQ(DockSideAt(kClient, {5, 200}, band, DockSide::Top), DockSide::Left);
  EXPECT_EQ(DockSideAt(kClient, {599, 200}, band, DockSide::Top), DockSide::Right);
  EXPECT_EQ(DockSideAt(kClient, {300, 200}, band, DockSide::Right), DockSide::Right);
  EXPECT_EQ(DockSideAt(kClient, {300, 200}, band, DockSide::Top), DockSide::Top);
  // The band's inner limit: 39 pixels in docks, 40 does not.
  EXPECT_EQ(DockSideAt(kClient, {300, 39}, band, DockSide::Bottom), DockSide::Top);
  EXPECT_EQ(DockSideAt(kClient, {300, 40}, band, DockSide::Bottom), DockSide::Bottom);
  EXPECT_EQ(DockSideAt(kClient, {560, 200}, band, DockSide::Top), DockSide::Right);
  EXPECT_EQ(DockSideAt(kClient, {559, 200}, band, DockSide::Top), DockSide::Top);
}

TEST(DockLayoutTest, BeyondTheFrameAndInCornersTheRuleStillHolds) {
  constexpr int32_t band = 40;
  EXPECT_EQ(DockSideAt(kClient, {-500, 200}, band, DockSide::Top), DockSide::Left);
  EXPECT_EQ(DockSideAt(kClient, {300, 5000}, band, DockSide::Top), DockSide::Bottom);
  EXPECT_EQ(DockSideAt(kClient, {INT32_MAX, INT32_MIN}, band, DockSide::Bottom), DockSide::Top)
      << "far up and to the right: the top edge is the farther one passed";
  // A gripper at the top-left corner clicked or nudged stays on its side.
  EXPECT_EQ(DockSideAt(kClient, {4, 12}, band, DockSide::Top), DockSide::Top);
  EXPECT_EQ(DockSideAt(kClient, {4, 12}, band, DockSide::Left), DockSide::Left);
  // From another side, the nearer of the corner's two edges wins.
  EXPECT_EQ(DockSideAt(kClient, {4, 12}, band, DockSide::Right), DockSide::Left);
  EXPECT_EQ(DockSideAt(kClient, {20, 2}, band, DockSide::Bottom), DockSide::Top);
}

TEST(DockLayoutTest, LengthsScaleWithTheDpiRoundingHalvesAwayFromZero) {
  EXPECT_EQ(ScaleToDpi(3, 96), 3);
  EXPECT_EQ(ScaleToDpi(3, 144), 5) << "4.5 rounds up";
  EXPECT_EQ(ScaleToDpi(-3, 144), -5);
  EXPECT_EQ(ScaleToDpi(5, 120), 6) << "6.25 rounds down";
  EXPECT_EQ(ScaleToDpi(16, 0), 16) << "an unknown DPI draws as designed";
  EXPECT_EQ(ScaleToDpi(INT32_MAX, 192), INT32_MAX) << "saturates instead of wrapping";

  const DockMetrics design = DockMetricsFor(96);
  EXPECT_EQ(design.gripper, 8);
  EXPECT_EQ(design.padding, 2);
  const DockMetrics large = DockMetricsFor(144);
  EXPECT_EQ(large.gripper, 12);
  EXPECT_EQ(large.padding, 3);
  EXPECT_EQ(large.ridge, 5);
  EXPECT_EQ(DockMetricsFor(192).outline, 6);
}

}  // namespace
}  // namespace qm
