#pragma once
// Device-independent bitmaps as a module stores them (RT_BITMAP: a header, the
// colour masks, the colour table and the pixels, without a file header) and
// as .bmp files. The layout of a DIB is validated once; the writer puts a
// BITMAPFILEHEADER in front of it, and the decoder turns it into pixels.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "common/byte_reader.h"

namespace qm {

// Compression values of a DIB header; <windows.h> may define them as macros
// with the same values.
#ifndef BI_RGB
constexpr uint32_t BI_RGB = 0;
constexpr uint32_t BI_RLE8 = 1;
constexpr uint32_t BI_RLE4 = 2;
constexpr uint32_t BI_BITFIELDS = 3;
#endif

struct DibLayout {
  uint32_t headerSize = 0;  // 12 (core), 40, 52, 56, 108 or 124
  int32_t width = 0;
  int32_t height = 0;  // as stored: negative for top-down rows
  uint32_t rows = 0;   // the absolute height
  bool topDown = false;
  uint16_t bitCount = 0;
  uint32_t compression = BI_RGB;
  // Red, green, blue and alpha masks of 16- and 32-bit pixels (the defaults
  // of BI_RGB when the DIB stores none).
  uint32_t masks[4] = {0, 0, 0, 0};
  uint32_t maskBytes = 0;   // masks stored after a 40-byte header
  uint32_t colorCount = 0;  // colour-table entries
  uint32_t colorEntrySize = 4;
  uint64_t stride = 0;  // bytes per uncompressed row, a multiple of 4
  uint64_t colorTableOffset = 0;
  uint64_t pixelOffset = 0;  // from the start of the DIB
  uint64_t pixelBytes = 0;   // stride × rows, or the stored size of RLE data
  uint64_t usedBytes = 0;    // what the bitmap needs of the DIB (with an embedded profile)
};

// Caps: the pixel count bounds what the RLE decoder may allocate from a few
// bytes; 256 colour entries are the most any depth uses.
constexpr uint64_t kMaxBitmapPixels = uint64_t{1} << 26;
constexpr uint32_t kMaxBitmapColors = 256;

// Validates a packed DIB. pixelOffset, when given, is where the pixels are (a
// .bmp file's bfOffBits less the file header); else they follow the table.
Result<DibLayout> ParseDib(ByteView dib, std::optional<uint64_t> pixelOffset = std::nullopt);

// The complete .bmp file of a packed DIB: the 14-byte file header with
// bfSize and bfOffBits, then the DIB's header (biSizeImage set to the pixel
// bytes), masks, colour table and pixels. Bytes past what the bitmap uses
// are left out.
Result<std::vector<uint8_t>> MakeBitmapFile(ByteView dib);

// Writes MakeBitmapFile's bytes to path (UTF-8) through a temporary file, so
// a failure leaves an existing file untouched. The result is the byte count;
// a bad DIB gives its parse error, a failed write ReadError::Io.
Result<uint64_t> WriteBitmapFile(ByteView dib, const std::string& path);

// Pixels as 0xAARRGGBB, rows from the top; alpha is what the DIB stores for
// 32 bits (0 elsewhere).
struct BitmapPixels {
  uint32_t width = 0;
  uint32_t height = 0;
  std::vector<uint32_t> argb;
  uint32_t at(uint32_t x, uint32_t y) const { return argb[size_t{y} * width + x]; }
};

// Decodes every depth, BI_BITFIELDS and RLE4/RLE8. An index past the colour
// table is black, as are pixels an RLE stream leaves out.
Result<BitmapPixels> ReadBitmapPixels(ByteView dib);
// The same into memory the caller holds (a DIB section's bits): out must
// hold exactly width × rows pixels of the layout ParseDib gave for dib.
Result<bool> DecodeBitmapPixels(ByteView dib, const DibLayout& layout, std::span<uint32_t> out);
// The same for a whole .bmp file (BITMAPFILEHEADER first).
Result<BitmapPixels> ReadBitmapFilePixels(ByteView file);

}  // namespace qm
