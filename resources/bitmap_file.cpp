#include "resources/bitmap_file.h"

#include <algorithm>
#include <bit>

#include "common/atomic_file.h"

namespace qm {

namespace {

constexpr uint32_t kCoreHeaderSize = 12;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kV5HeaderSize = 124;
constexpr uint64_t kFileHeaderSize = 14;
constexpr uint16_t kBitmapSignature = 0x4D42;  // "BM"
// bV5CSType values that mean a colour profile follows the bitmap.
constexpr uint32_t kProfileEmbedded = 0x4D424544;  // 'MBED'
constexpr uint32_t kProfileLinked = 0x4C494E4B;    // 'LINK'

bool IsKnownHeaderSize(uint32_t size) {
  return size == kCoreHeaderSize || size == kInfoHeaderSize || size == 52 || size == 56 || size == 108 ||
         size == kV5HeaderSize;
}

bool IsDibDepth(uint16_t bits) { return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32; }

void SetDefaultMasks(DibLayout& layout) {
  if (layout.bitCount == 16) {
    layout.masks[0] = 0x7C00;
    layout.masks[1] = 0x03E0;
    layout.masks[2] = 0x001F;
  } else if (layout.bitCount == 32) {
    layout.masks[0] = 0x00FF0000;
    layout.masks[1] = 0x0000FF00;
    layout.masks[2] = 0x000000FF;
    layout.masks[3] = 0xFF000000;
  }
}

// Reads the fields of a core header (12 bytes, 16-bit unsigned sizes).
Result<DibLayout> ReadCoreHeader(const ByteView& header) {
  DibLayout layout;
  layout.headerSize = kCoreHeaderSize;
  layout.width = header.get<uint16_t>(4);
  layout.height = header.get<uint16_t>(6);
  if (header.get<uint16_t>(8) != 1) return header.error(ReadError::BadValue, 8);
  layout.bitCount = header.get<uint16_t>(10);
  if (layout.bitCount != 1 && layout.bitCount != 4 && layout.bitCount != 8 && layout.bitCount != 24)
    return header.error(ReadError::BadValue, 10);
  layout.colorEntrySize = 3;
  layout.colorCount = layout.bitCount <= 8 ? 1u << layout.bitCount : 0;
  return layout;
}

Result<DibLayout> ReadInfoHeader(const ByteView& dib, const ByteView& header) {
  DibLayout layout;
  layout.headerSize = static_cast<uint32_t>(header.size());
  layout.width = header.get<int32_t>(4);
  layout.height = header.get<int32_t>(8);
  if (header.get<uint16_t>(12) != 1) return header.error(ReadError::BadValue, 12);
  layout.bitCount = header.get<uint16_t>(14);
  if (!IsDibDepth(layout.bitCount)) return header.error(ReadError::BadValue, 14);
  layout.compression = header.get<uint32_t>(16);
  const bool topDown = layout.height < 0;
  switch (layout.compression) {
    case BI_RGB:
      break;
    // Compressed bitmaps are always stored bottom-up.
    case BI_RLE8:
      if (layout.bitCount != 8 || topDown) return header.error(ReadError::BadValue, 16);
      break;
    case BI_RLE4:
      if (layout.bitCount != 4 || topDown) return header.error(ReadError::BadValue, 16);
      break;
    case BI_BITFIELDS:
      if (layout.bitCount != 16 && layout.bitCount != 32) return header.error(ReadError::BadValue, 16);
      break;
    default:
      return header.error(ReadError::BadValue, 16);
  }

  SetDefaultMasks(layout);
  if (layout.compression == BI_BITFIELDS) {
    // A 40-byte header is followed by three masks; later headers hold them.
    const ByteView* source = &header;
    Result<ByteView> following = dib.sub(kInfoHeaderSize, 12);
    if (layout.headerSize == kInfoHeaderSize) {
      if (!following) return following.error();
      source = &following.value();
      layout.maskBytes = 12;
    }
    const uint64_t first = layout.headerSize == kInfoHeaderSize ? 0 : 40;
    for (uint64_t i = 0; i < 3; ++i) layout.masks[i] = source->get<uint32_t>(first + 4 * i);
    layout.masks[3] = layout.headerSize >= 56 ? header.get<uint32_t>(52) : 0;
  }

  const uint32_t clrUsed = header.get<uint32_t>(32);
  if (layout.bitCount <= 8) {
    const uint32_t full = 1u << layout.bitCount;
    if (clrUsed > full) return header.error(ReadError::BadValue, 32);
    layout.colorCount = clrUsed == 0 ? full : clrUsed;
  } else {
    // Deeper bitmaps may carry an optional table for palette devices.
    if (clrUsed > kMaxBitmapColors) return header.error(ReadError::BadValue, 32);
    layout.colorCount = clrUsed;
  }
  return layout;
}

}  // namespace

Result<DibLayout> ParseDib(ByteView dib, std::optional<uint64_t> pixelOffset) {
  QM_TRY(headerSize, dib.u32(0));
  if (!IsKnownHeaderSize(headerSize)) return dib.error(ReadError::BadValue, 0);
  QM_TRY(header, dib.sub(0, headerSize));
  auto read = headerSize == kCoreHeaderSize ? ReadCoreHeader(header) : ReadInfoHeader(dib, header);
  if (!read) return read.error();
  DibLayout layout = std::move(read).value();

  if (layout.width <= 0) return dib.error(ReadError::BadValue, 4);
  const uint64_t heightOffset = headerSize == kCoreHeaderSize ? 6 : 8;
  if (layout.height == 0 || layout.height == INT32_MIN) return dib.error(ReadError::BadValue, heightOffset);
  layout.topDown = layout.height < 0;
  layout.rows = static_cast<uint32_t>(layout.topDown ? -static_cast<int64_t>(layout.height) : layout.height);
  if (uint64_t{static_cast<uint32_t>(layout.width)} * layout.rows > kMaxBitmapPixels)
    return dib.error(ReadError::TooMany, 4);
  layout.stride = (uint64_t{static_cast<uint32_t>(layout.width)} * layout.bitCount + 31) / 32 * 4;

  layout.colorTableOffset = uint64_t{headerSize} + layout.maskBytes;
  const uint64_t tableEnd = layout.colorTableOffset + uint64_t{layout.colorCount} * layout.colorEntrySize;
  if (!dib.has(0, tableEnd)) return dib.error(ReadError::OutOfBounds, dib.size());
  if (pixelOffset && *pixelOffset < tableEnd) return dib.error(ReadError::BadValue, *pixelOffset);
  layout.pixelOffset = pixelOffset.value_or(tableEnd);

  if (layout.compression == BI_RLE8 || layout.compression == BI_RLE4) {
    // Only the stored size says where compressed data ends.
    layout.pixelBytes = header.get<uint32_t>(20);
    if (layout.pixelBytes == 0) return dib.error(ReadError::BadValue, 20);
  } else {
    layout.pixelBytes = layout.stride * layout.rows;
  }
  if (!dib.has(layout.pixelOffset, layout.pixelBytes))
    return dib.error(ReadError::OutOfBounds, std::min<uint64_t>(layout.pixelOffset, dib.size()));
  layout.usedBytes = layout.pixelOffset + layout.pixelBytes;

  if (headerSize == kV5HeaderSize) {
    const uint32_t csType = header.get<uint32_t>(56);
    const uint64_t profileEnd = uint64_t{header.get<uint32_t>(112)} + header.get<uint32_t>(116);
    if ((csType == kProfileEmbedded || csType == kProfileLinked) && profileEnd <= dib.size())
      layout.usedBytes = std::max(layout.usedBytes, profileEnd);
  }
  return layout;
}

Result<std::vector<uint8_t>> MakeBitmapFile(ByteView dib) {
  QM_TRY(layout, ParseDib(dib));
  const uint64_t fileSize = kFileHeaderSize + layout.usedBytes;
  if (fileSize > UINT32_MAX) return dib.error(ReadError::TooMany, 0);
  std::vector<uint8_t> out;
  out.reserve(static_cast<size_t>(fileSize));
  auto put16 = [&out](uint32_t value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
  };
  auto put32 = [&put16](uint64_t value) {
    put16(static_cast<uint32_t>(value & 0xFFFF));
    put16(static_cast<uint32_t>((value >> 16) & 0xFFFF));
  };
  put16(kBitmapSignature);
  put32(fileSize);
  put16(0);
  put16(0);
  put32(kFileHeaderSize + layout.pixelOffset);
  const auto bytes = dib.bytes().first(static_cast<size_t>(layout.usedBytes));
  out.insert(out.end(), bytes.begin(), bytes.end());
  if (layout.headerSize >= kInfoHeaderSize) {
    // biSizeImage may be 0 for uncompressed pixels; the file states it.
    const size_t at = kFileHeaderSize + 20;
    for (size_t i = 0; i < 4; ++i) out[at + i] = static_cast<uint8_t>(layout.pixelBytes >> (8 * i));
  }
  return out;
}

Result<uint64_t> WriteBitmapFile(ByteView dib, const std::string& path) {
  QM_TRY(bytes, MakeBitmapFile(dib));
  const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  if (!WriteFileAtomically(path, text)) return ParseError{ReadError::Io, 0};
  return uint64_t{bytes.size()};
}

namespace {

// A masked channel scaled to 8 bits.
uint32_t Channel(uint32_t pixel, uint32_t mask) {
  if (mask == 0) return 0;
  const int shift = std::countr_zero(mask);
  const uint64_t value = (pixel & mask) >> shift;
  const int bits = static_cast<int>(std::bit_width(mask >> shift));
  if (bits >= 8) return static_cast<uint32_t>(value >> (bits - 8));
  return static_cast<uint32_t>(value * 255 / ((uint64_t{1} << bits) - 1));
}

class PixelDecoder {
 public:
  // out holds width × rows pixels.
  PixelDecoder(const ByteView& dib, const DibLayout& layout, std::span<uint32_t> out)
      : dib_(dib), layout_(layout), out_(out), width_(static_cast<uint32_t>(layout.width)), height_(layout.rows) {
    palette_.resize(layout.colorCount);
    for (uint32_t i = 0; i < layout.colorCount; ++i) {
      const uint64_t at = layout.colorTableOffset + uint64_t{i} * layout.colorEntrySize;
      palette_[i] = uint32_t{dib.get<uint8_t>(at)} | uint32_t{dib.get<uint8_t>(at + 1)} << 8 |
                    uint32_t{dib.get<uint8_t>(at + 2)} << 16;
    }
  }

  Result<bool> Decode() {
    QM_TRY(pixels, dib_.sub(layout_.pixelOffset, layout_.pixelBytes));
    if (layout_.compression == BI_RLE8 || layout_.compression == BI_RLE4) {
      // What the stream leaves out is black.
      std::fill(out_.begin(), out_.end(), 0u);
      return DecodeRle(pixels);
    }
    DecodeRows(pixels);
    return true;
  }

 private:
  uint32_t Color(uint32_t index) const { return index < palette_.size() ? palette_[index] : 0; }

  // row counts stored rows: from the bottom unless the DIB is top-down.
  void Put(uint64_t x, uint64_t storedRow, uint32_t color) {
    if (x >= width_ || storedRow >= height_) return;
    const uint64_t y = layout_.topDown ? storedRow : height_ - 1 - storedRow;
    out_[static_cast<size_t>(y * width_ + x)] = color;
  }

  uint32_t DirectColor(uint32_t value) const {
    if (layout_.bitCount == 32 && layout_.compression == BI_RGB) return value;
    return Channel(value, layout_.masks[3]) << 24 | Channel(value, layout_.masks[0]) << 16 |
           Channel(value, layout_.masks[1]) << 8 | Channel(value, layout_.masks[2]);
  }

  void DecodeRows(const ByteView& pixels) {
    const uint32_t bits = layout_.bitCount;
    for (uint64_t row = 0; row < height_; ++row) {
      const uint64_t base = row * layout_.stride;
      for (uint64_t x = 0; x < width_; ++x) {
        uint32_t color = 0;
        if (bits <= 8) {
          const uint64_t bit = x * bits;
          const uint32_t byte = pixels.get<uint8_t>(base + bit / 8);
          const uint32_t index = (byte >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
          color = Color(index);
        } else if (bits == 16) {
          color = DirectColor(pixels.get<uint16_t>(base + 2 * x));
        } else if (bits == 24) {
          const uint64_t at = base + 3 * x;
          color = uint32_t{pixels.get<uint8_t>(at)} | uint32_t{pixels.get<uint8_t>(at + 1)} << 8 |
                  uint32_t{pixels.get<uint8_t>(at + 2)} << 16;
        } else {
          color = DirectColor(pixels.get<uint32_t>(base + 4 * x));
        }
        Put(x, row, color);
      }
    }
  }

  // Runs of (count, value), and escapes after a zero count: 0 end of line,
  // 1 end of bitmap, 2 a move by (dx, dy), 3 and up that many literal
  // pixels padded to a 16-bit boundary.
  Result<bool> DecodeRle(const ByteView& data) {
    const bool rle8 = layout_.compression == BI_RLE8;
    uint64_t x = 0, row = 0, pos = 0;
    auto index = [rle8](uint32_t byte, uint64_t i) { return rle8 ? byte : (i % 2 == 0 ? byte >> 4 : byte & 0x0F); };
    while (row < height_ && data.has(pos, 2)) {
      const uint32_t count = data.get<uint8_t>(pos);
      const uint32_t value = data.get<uint8_t>(pos + 1);
      pos += 2;
      if (count > 0) {
        for (uint32_t i = 0; i < count; ++i) Put(x + i, row, Color(index(value, i)));
        x += count;
      } else if (value == 0) {
        x = 0;
        ++row;
      } else if (value == 1) {
        break;
      } else if (value == 2) {
        if (!data.has(pos, 2)) return data.error(ReadError::OutOfBounds, pos);
        x += data.get<uint8_t>(pos);
        row += data.get<uint8_t>(pos + 1);
        pos += 2;
      } else {
        const uint64_t bytes = rle8 ? value : (uint64_t{value} + 1) / 2;
        if (!data.has(pos, bytes)) return data.error(ReadError::OutOfBounds, pos);
        for (uint32_t i = 0; i < value; ++i) {
          const uint32_t byte = data.get<uint8_t>(pos + (rle8 ? i : i / 2));
          Put(x + i, row, Color(index(byte, i)));
        }
        x += value;
        pos += (bytes + 1) & ~uint64_t{1};
      }
    }
    return true;
  }

  const ByteView& dib_;
  const DibLayout& layout_;
  std::vector<uint32_t> palette_;
  std::span<uint32_t> out_;
  uint32_t width_;
  uint32_t height_;
};

Result<BitmapPixels> DecodeToPixels(const ByteView& dib, const DibLayout& layout) {
  BitmapPixels pixels;
  pixels.width = static_cast<uint32_t>(layout.width);
  pixels.height = layout.rows;
  pixels.argb.resize(size_t{pixels.width} * pixels.height);
  QM_TRY(done, PixelDecoder(dib, layout, pixels.argb).Decode());
  (void)done;
  return pixels;
}

}  // namespace

Result<bool> DecodeBitmapPixels(ByteView dib, const DibLayout& layout, std::span<uint32_t> out) {
  if (layout.width <= 0 || out.size() != uint64_t{static_cast<uint32_t>(layout.width)} * layout.rows)
    return dib.error(ReadError::BadValue, 4);
  return PixelDecoder(dib, layout, out).Decode();
}

Result<BitmapPixels> ReadBitmapPixels(ByteView dib) {
  QM_TRY(layout, ParseDib(dib));
  return DecodeToPixels(dib, layout);
}

Result<BitmapPixels> ReadBitmapFilePixels(ByteView file) {
  QM_TRY(signature, file.u16(0));
  if (signature != kBitmapSignature) return file.error(ReadError::BadSignature, 0);
  QM_TRY(offBits, file.u32(10));
  if (offBits < kFileHeaderSize) return file.error(ReadError::BadValue, 10);
  QM_TRY(dib, file.from(kFileHeaderSize));
  QM_TRY(layout, ParseDib(dib, uint64_t{offBits} - kFileHeaderSize));
  return DecodeToPixels(dib, layout);
}

}  // namespace qm
