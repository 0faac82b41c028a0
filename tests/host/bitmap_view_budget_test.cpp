// What the image page decodes for the screen: bitmaps up to the pixel
// budget; past it a message with the claimed size, whether the bytes are
// few (RLE) or the size is past what the reader takes at all.
#include "resources/bitmap_view_budget.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/sim/sim_system.h"
#include "tests/host/test_bytes.h"

namespace qm {
namespace {

// A 40-byte header, one colour, then the RLE stream.
std::vector<uint8_t> Rle8(int32_t width, int32_t height, const std::vector<uint8_t>& stream) {
  std::vector<uint8_t> dib;
  auto put = [&dib](uint64_t value, size_t bytes) { test::PutLittleEndian(dib, dib.size(), value, bytes); };
  put(40, 4);
  put(static_cast<uint32_t>(width), 4);
  put(static_cast<uint32_t>(height), 4);
  put(1, 2);
  put(8, 2);
  put(BI_RLE8, 4);
  put(stream.size(), 4);
  put(0, 8);
  put(1, 4);  // colours used
  put(0, 4);
  put(0x00FF8040, 4);
  dib.insert(dib.end(), stream.begin(), stream.end());
  return dib;
}

// 22 bytes of runs: ten runs of 255 pixels and the end of the bitmap.
const std::vector<uint8_t> kRuns{255, 0, 255, 0, 255, 0, 255, 0, 255, 0, 255, 0, 255, 0, 255, 0, 255, 0, 255, 0, 0, 1};

TEST(BitmapViewBudget, AFewBytesClaimingAHugeBitmapAreRefusedWithTheirSizeAndStaySavable) {
  SimSystem sim;
  const auto bomb = Rle8(8192, 8192, kRuns);
  const ShownBitmapPlan plan = PlanShownBitmap(ByteView(bomb), sim.strings);
  EXPECT_FALSE(plan.layout);
  EXPECT_TRUE(plan.savable) << "the resource itself is a valid bitmap";
  EXPECT_EQ(plan.notice,
            "Este bitmap de 8.192 x 8.192 píxeles es demasiado grande para mostrarlo (como máximo 16.777.216 "
            "píxeles)\nSe puede guardar como bitmap con el botón de la barra");

  // Past the reader's own cap the size is still told, but nothing is savable.
  const auto past = Rle8(65535, 65535, kRuns);
  const ShownBitmapPlan refused = PlanShownBitmap(ByteView(past), sim.strings);
  EXPECT_FALSE(refused.layout);
  EXPECT_FALSE(refused.savable);
  EXPECT_EQ(refused.notice.find("65.535 x 65.535"), 15u) << refused.notice;
  EXPECT_EQ(refused.notice.find('\n'), std::string::npos);
}

TEST(BitmapViewBudget, TheBudgetEndsExactlyAtSixteenMegapixelsWhateverTheShape) {
  SimSystem sim;
  for (const auto& [width, height, fits] : {std::tuple{4096, 4096, true}, std::tuple{4096, 4097, false},
                                            std::tuple{16777216, 1, true}, std::tuple{1, 16777217, false}}) {
    SCOPED_TRACE(std::to_string(width) + " x " + std::to_string(height));
    const auto dib = Rle8(width, height, kRuns);
    const ShownBitmapPlan plan = PlanShownBitmap(ByteView(dib), sim.strings);
    EXPECT_EQ(plan.layout.has_value(), fits);
    EXPECT_EQ(plan.notice.empty(), fits);
    EXPECT_EQ(FitsShownBudget(BitmapSize{static_cast<uint32_t>(width), static_cast<uint32_t>(height)}), fits);
  }
  EXPECT_FALSE(FitsShownBudget(BitmapSize{0xFFFFFFFF, 0xFFFFFFFF})) << "no wrap in the product";
}

TEST(BitmapViewBudget, BrokenBytesShowNothingAndTheClaimedSizeReadsEveryHeaderKind) {
  SimSystem sim;
  auto shortStream = Rle8(16, 16, kRuns);
  shortStream.resize(shortStream.size() - 1);  // the stated size runs past the end
  const ShownBitmapPlan broken = PlanShownBitmap(ByteView(shortStream), sim.strings);
  EXPECT_FALSE(broken.layout);
  EXPECT_FALSE(broken.savable);
  EXPECT_TRUE(broken.notice.empty());
  EXPECT_TRUE(PlanShownBitmap(ByteView(), sim.strings).notice.empty());

  const auto topDown = Rle8(300, -200, kRuns);
  EXPECT_EQ(DibClaimedSize(ByteView(topDown))->height, 200u);
  const std::vector<uint8_t> core{12, 0, 0, 0, 0x10, 0x27, 0x20, 0x4E, 1, 0, 24, 0};
  EXPECT_EQ(DibClaimedSize(ByteView(core))->width, 10000u);
  EXPECT_EQ(DibClaimedSize(ByteView(core))->height, 20000u);
  const auto flat = Rle8(5, 0, kRuns);
  EXPECT_FALSE(DibClaimedSize(ByteView(flat)));
  const std::vector<uint8_t> cut{40, 0, 0, 0, 1, 0, 0, 0, 1};
  EXPECT_FALSE(DibClaimedSize(ByteView(cut)));
}

}  // namespace
}  // namespace qm
