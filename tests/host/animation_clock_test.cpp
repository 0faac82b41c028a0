#include "common/animation_clock.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

TEST(AnimationClockTest, FramesChangeOnTheFirstTickAfterMoreThanAPeriod) {
  AnimationClock clock;
  clock.SetPeriod(300);
  EXPECT_EQ(clock.Current(), -1);
  // The first tick shows frame 0, even right after the machine started.
  EXPECT_EQ(clock.Tick(100, 4), 0);
  EXPECT_EQ(clock.Tick(200, 4), std::nullopt);
  EXPECT_EQ(clock.Tick(400, 4), std::nullopt);  // exactly one period
  EXPECT_EQ(clock.Tick(401, 4), 1);
  EXPECT_EQ(clock.Tick(800, 4), 2);
  EXPECT_EQ(clock.Tick(1200, 4), 3);
  EXPECT_EQ(clock.Tick(1600, 4), 0);  // wraps to the first frame
  EXPECT_EQ(clock.Current(), 0);
  // Without frames the tick is not the clock's.
  AnimationClock empty;
  EXPECT_EQ(empty.Tick(5000, 0), std::nullopt);
  EXPECT_EQ(empty.Current(), -1);
}

TEST(AnimationClockTest, TheAnimationRunsOnAcrossTheTickCountWrap) {
  AnimationClock clock;
  clock.SetPeriod(300);
  ASSERT_EQ(clock.Tick(0xFFFFFF00u, 4), 0);
  // 0xFFFFFF00 + 300 wraps to 0x2C: a comparison of the sum would change the
  // frame at once here and then never again for 49.7 days.
  EXPECT_EQ(clock.Tick(0xFFFFFFF0u, 4), std::nullopt);
  EXPECT_EQ(clock.Tick(0x0000002Cu, 4), std::nullopt);  // 300 ms elapsed
  EXPECT_EQ(clock.Tick(0x0000002Du, 4), 1);
  EXPECT_EQ(clock.Tick(0x00000100u, 4), std::nullopt);
  EXPECT_EQ(clock.Tick(0x00000200u, 4), 2);
}

TEST(AnimationClockTest, AShrunkFrameListStartsOverAtTheFirstFrame) {
  AnimationClock clock;
  clock.SetPeriod(0);
  for (uint32_t now = 1; now <= 4; ++now) clock.Tick(now, 4);
  ASSERT_EQ(clock.Current(), 3);
  EXPECT_EQ(clock.Tick(5, 2), 0);
}

}  // namespace
}  // namespace qm
