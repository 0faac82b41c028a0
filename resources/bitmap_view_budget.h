#pragma once
// How much of a bitmap resource the image page decodes for the screen. A
// few bytes of RLE can claim 8192 × 8192 pixels, a quarter of a gigabyte
// once decoded: past the budget the page shows why instead of the image,
// and the resource can still be saved as it is.

#include <cstdint>
#include <optional>
#include <string>

#include "common/byte_reader.h"
#include "platform/system.h"
#include "resources/bitmap_file.h"

namespace qm {

// 4096 × 4096 pixels: 64 MB as the page's 32-bit pixels.
constexpr uint64_t kMaxShownBitmapPixels = uint64_t{1} << 24;

struct BitmapSize {
  uint32_t width = 0;
  uint32_t height = 0;  // absolute: a top-down DIB stores it negative
};

// The size a DIB's header claims, whether or not the rest of it reads;
// nullopt when there is no header of a known kind to read it from.
std::optional<BitmapSize> DibClaimedSize(ByteView dib);

bool FitsShownBudget(const BitmapSize& size);

// What the page does with a bitmap resource's bytes.
struct ShownBitmapPlan {
  std::optional<DibLayout> layout;  // decode and show it
  std::string notice;               // else, when not empty, show this text
  bool savable = false;             // its bytes make a valid .bmp file
};
ShownBitmapPlan PlanShownBitmap(ByteView dib, const IStrings& strings);

}  // namespace qm
