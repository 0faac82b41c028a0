#include "resources/image_scroll.h"

#include <gtest/gtest.h>

#include <climits>

namespace qm {
namespace {

constexpr uint16_t kLineBack = 0, kLineForward = 1, kPageBack = 2, kPageForward = 3, kThumbPosition = 4,
                   kThumbTrack = 5, kFirst = 6, kLast = 7, kEndScroll = 8;

// A 640-pixel picture in a 500-pixel view: positions 0 to 140.
ScrollState Wide(int position) { return {0, 639, 500, position}; }

TEST(ImageScroll, ArrowsMoveByOneAndPagesByTheViewAndEveryMoveStopsAtTheEnds) {
  EXPECT_EQ(LastScrollPosition(Wide(0)), 140);
  EXPECT_EQ(NextScrollPosition(Wide(10), kLineForward, 0), 11);
  EXPECT_EQ(NextScrollPosition(Wide(10), kLineBack, 0), 9);
  EXPECT_EQ(NextScrollPosition(Wide(0), kLineBack, 0), 0);
  EXPECT_EQ(NextScrollPosition(Wide(140), kLineForward, 0), 140) << "the last column already shows";
  EXPECT_EQ(NextScrollPosition(Wide(0), kPageForward, 0), 140) << "a page of 500 stops at the end";
  EXPECT_EQ(NextScrollPosition(ScrollState{0, 1999, 500, 100}, kPageForward, 0), 600);
  EXPECT_EQ(NextScrollPosition(ScrollState{0, 1999, 500, 600}, kPageBack, 0), 100);
  EXPECT_EQ(NextScrollPosition(Wide(120), kPageBack, 0), 0);
  EXPECT_EQ(NextScrollPosition(Wide(77), kFirst, 0), 0);
  EXPECT_EQ(NextScrollPosition(Wide(77), kLast, 0), 140);
}

TEST(ImageScroll, TheThumbGoesWhereItWasDraggedWithinTheRangeAndOtherRequestsKeepThePosition) {
  EXPECT_EQ(NextScrollPosition(Wide(3), kThumbTrack, 90), 90);
  EXPECT_EQ(NextScrollPosition(Wide(3), kThumbPosition, 500), 140);
  EXPECT_EQ(NextScrollPosition(Wide(3), kThumbTrack, -5), 0);
  EXPECT_EQ(NextScrollPosition(Wide(33), kEndScroll, 90), 33);
  EXPECT_EQ(NextScrollPosition(Wide(33), 200, 90), 33);
}

TEST(ImageScroll, APictureThatFitsTheViewCannotMoveAndExtremeRangesDoNotOverflow) {
  const ScrollState fits{0, 99, 300, 0};  // 100 pixels in a 300-pixel view
  EXPECT_EQ(LastScrollPosition(fits), 0);
  for (uint16_t request : {kLineForward, kPageForward, kLast, kThumbTrack})
    EXPECT_EQ(NextScrollPosition(fits, request, 50), 0) << request;
  // No page (the view has no size yet): every position of the range.
  EXPECT_EQ(LastScrollPosition(ScrollState{0, 99, 0, 0}), 99);
  const ScrollState huge{INT_MIN, INT_MAX, 0, INT_MAX};
  EXPECT_EQ(NextScrollPosition(huge, kLineForward, 0), INT_MAX);
  EXPECT_EQ(NextScrollPosition(ScrollState{INT_MIN, INT_MAX, 0, INT_MIN}, kLineBack, 0), INT_MIN);
  // A page wider than int: the last position is INT_MAX - page + 1.
  EXPECT_EQ(NextScrollPosition(ScrollState{INT_MIN, INT_MAX, 4000000000u, 0}, kPageForward, 0), -1852516352);
}

}  // namespace
}  // namespace qm
