#include "resources/bitmap_view_budget.h"

#include "common/number_format.h"
#include "common/text.h"
#include "res/string_ids.h"

namespace qm {

std::optional<BitmapSize> DibClaimedSize(ByteView dib) {
  auto headerSize = dib.u32(0);
  if (!headerSize) return std::nullopt;
  if (*headerSize == 12) {
    auto width = dib.u16(4), height = dib.u16(6);
    if (!width || !height) return std::nullopt;
    return BitmapSize{*width, *height};
  }
  if (*headerSize < 40) return std::nullopt;
  auto width = dib.u32(4), height = dib.u32(8);
  if (!width || !height) return std::nullopt;
  const auto signedHeight = static_cast<int32_t>(*height);
  const auto signedWidth = static_cast<int32_t>(*width);
  if (signedWidth <= 0 || signedHeight == 0 || signedHeight == INT32_MIN) return std::nullopt;
  return BitmapSize{static_cast<uint32_t>(signedWidth),
                    static_cast<uint32_t>(signedHeight < 0 ? -signedHeight : signedHeight)};
}

bool FitsShownBudget(const BitmapSize& size) { return uint64_t{size.width} * size.height <= kMaxShownBitmapPixels; }

ShownBitmapPlan PlanShownBitmap(ByteView dib, const IStrings& strings) {
  ShownBitmapPlan plan;
  auto layout = ParseDib(dib);
  plan.savable = layout.ok();
  std::optional<BitmapSize> size;
  if (layout) {
    size = BitmapSize{static_cast<uint32_t>(layout->width), layout->rows};
    if (FitsShownBudget(*size)) {
      plan.layout = std::move(layout).value();
      return plan;
    }
  } else if (layout.error().code == ReadError::TooMany) {
    // Past what the reader takes at all: still a size the user can be told.
    size = DibClaimedSize(dib);
  }
  if (!size) return plan;
  plan.notice = FormatTable(
      strings.LoadString(IDS_BITMAP_TOO_LARGE),
      {FormatNumber(uint64_t{size->width}), FormatNumber(uint64_t{size->height}), FormatNumber(kMaxShownBitmapPixels)});
  if (plan.savable) plan.notice += "\n" + strings.LoadString(IDS_BITMAP_TOO_LARGE_SAVABLE);
  return plan;
}

}  // namespace qm
