#include "common/byte_reader.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

namespace qm {
namespace {

TEST(ByteView, ReadsEndingExactlyAtTheEndAndRefusesOneByteOver) {
  std::vector<uint8_t> bytes{1, 2, 3, 4, 5, 6, 7, 8};
  ByteView view(bytes);
  ASSERT_TRUE(view.u32(4));
  EXPECT_EQ(*view.u32(4), 0x08070605u);
  EXPECT_FALSE(view.u32(5));
  EXPECT_EQ(view.u32(5).error().code, ReadError::OutOfBounds);
  EXPECT_EQ(view.u32(5).error().offset, 5u);
  EXPECT_TRUE(view.sub(0, 8));
  EXPECT_FALSE(view.sub(1, 8));
  EXPECT_TRUE(view.sub(8, 0));
  EXPECT_FALSE(view.sub(9, 0));
}

TEST(ByteView, OffsetsNearTheTopOfTheRangeDoNotWrap) {
  std::vector<uint8_t> bytes(16, 0xAA);
  ByteView view(bytes);
  constexpr uint64_t kMax32 = std::numeric_limits<uint32_t>::max();
  constexpr uint64_t kMax64 = std::numeric_limits<uint64_t>::max();
  EXPECT_FALSE(view.u16(kMax32));
  EXPECT_FALSE(view.u16(kMax64));
  EXPECT_FALSE(view.sub(4, kMax64));
  EXPECT_FALSE(view.sub(kMax64, 2));
  EXPECT_FALSE(view.sub(4, kMax32));
}

TEST(ByteView, SubViewsKeepTheirBaseForErrorOffsets) {
  std::vector<uint8_t> bytes(32, 0);
  ByteView view(bytes);
  auto inner = view.sub(10, 4);
  ASSERT_TRUE(inner);
  EXPECT_EQ(inner->base(), 10u);
  auto bad = inner->u32(2);
  ASSERT_FALSE(bad);
  EXPECT_EQ(bad.error().offset, 12u);
}

TEST(ByteView, ZeroTerminatedStringsNeedTheirTerminatorInside) {
  std::vector<uint8_t> bytes{'A', 0, 'B', 0, 0, 0, 'C', 0};
  ByteView view(bytes);
  size_t units = 0;
  auto text = ReadZString16(view, 0, 100, &units);
  ASSERT_TRUE(text);
  EXPECT_EQ(*text, u"AB");
  EXPECT_EQ(units, 3u);
  EXPECT_FALSE(ReadZString16(view, 6, 100));  // 'C' then the end
  EXPECT_FALSE(ReadZString16(view, 0, 1));    // longer than allowed
  EXPECT_FALSE(ReadZString8(view, 6, 100).ok() && false);
}

}  // namespace
}  // namespace qm
