// The bounded slots of the icon page's image list: new slots in order while
// there is room, then the picture drawn longest ago gives its slot up.
#include "resources/image_slot_cache.h"

#include <gtest/gtest.h>

#include <set>

namespace qm {
namespace {

TEST(ImageSlotCache, FillsSlotsInOrderThenReusesTheLeastRecentlyDrawn) {
  ImageSlotCache cache(3);
  for (size_t key : {10u, 11u, 12u}) {
    auto placed = cache.Place(key);
    ASSERT_TRUE(placed);
    EXPECT_EQ(placed->slot, key - 10);
    EXPECT_FALSE(placed->evicted);
  }
  EXPECT_EQ(cache.size(), 3u);
  // Drawing 10 again makes 11 the oldest.
  EXPECT_EQ(cache.Find(10), 0u);
  auto placed = cache.Place(13);
  ASSERT_TRUE(placed);
  EXPECT_EQ(placed->slot, 1u);
  EXPECT_EQ(placed->evicted, 11u);
  EXPECT_FALSE(cache.Find(11));
  EXPECT_EQ(cache.Find(13), 1u);
  // Then 12 (never drawn since), then 10.
  EXPECT_EQ(cache.Place(14)->evicted, 12u);
  EXPECT_EQ(cache.Place(15)->evicted, 10u);
  EXPECT_EQ(cache.size(), 3u);

  cache.Clear();
  EXPECT_EQ(cache.size(), 0u);
  EXPECT_FALSE(cache.Find(13));
  EXPECT_EQ(cache.Place(13)->slot, 0u);
}

TEST(ImageSlotCache, AScrollThroughManyPicturesNeverUsesMoreSlotsThanItsCapacity) {
  ImageSlotCache cache(64);
  std::set<size_t> slots;
  // Down a list of 1,840 rows twenty at a time, each row drawn twice.
  for (size_t top = 0; top + 20 <= 1840; top += 7)
    for (int pass = 0; pass < 2; ++pass)
      for (size_t key = top; key < top + 20; ++key)
        if (!cache.Find(key)) slots.insert(cache.Place(key)->slot);
  EXPECT_EQ(cache.size(), 64u);
  EXPECT_EQ(slots.size(), 64u);
  EXPECT_EQ(*slots.rbegin(), 63u);
  // The rows on screen keep their slots while the view stays.
  for (size_t key = 1820; key < 1840; ++key) EXPECT_TRUE(cache.Find(key)) << key;

  ImageSlotCache none(0);
  EXPECT_FALSE(none.Place(1));
}

}  // namespace
}  // namespace qm
