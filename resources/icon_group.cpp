#include "resources/icon_group.h"

#include "common/text.h"
#include "resources/resource_types.h"

namespace qm {

namespace {

constexpr uint64_t kGroupHeaderSize = 6;
constexpr uint64_t kGroupEntrySize = 14;
constexpr uint64_t kHotspotSize = 4;  // in front of every RT_CURSOR image
constexpr uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

bool StartsWithPng(const ByteView& image) {
  for (uint64_t i = 0; i < sizeof kPngSignature; ++i) {
    auto byte = image.u8(i);
    if (!byte || *byte != kPngSignature[i]) return false;
  }
  return true;
}

uint32_t BigEndian32(const ByteView& view, uint64_t at) {
  uint32_t value = 0;
  for (uint64_t i = 0; i < 4; ++i) value = (value << 8) | view.u8(at + i).value_or(0);
  return value;
}

}  // namespace

bool IsPngImage(ByteView image) { return StartsWithPng(image); }

Result<IconGroupDirectory> ParseIconGroup(ByteView data, IconGroupKind kind) {
  IconGroupDirectory group;
  group.kind = kind;
  QM_TRY(header, data.sub(0, kGroupHeaderSize));
  group.reserved = header.get<uint16_t>(0);
  group.type = header.get<uint16_t>(2);
  const uint16_t expected = kind == IconGroupKind::Icon ? 1 : 2;
  if (group.type != expected) return data.error(ReadError::BadValue, 2);
  const uint64_t count = header.get<uint16_t>(4);
  QM_TRY(entries, data.sub(kGroupHeaderSize, count * kGroupEntrySize));
  group.entries.reserve(static_cast<size_t>(count));
  for (uint64_t i = 0; i < count; ++i) {
    const uint64_t at = i * kGroupEntrySize;
    IconGroupEntry entry;
    if (kind == IconGroupKind::Icon) {
      entry.width = entries.get<uint8_t>(at);
      entry.height = entries.get<uint8_t>(at + 1);
      entry.colorCount = entries.get<uint8_t>(at + 2);
      entry.reserved = entries.get<uint8_t>(at + 3);
    } else {
      entry.width = entries.get<uint16_t>(at);
      entry.height = entries.get<uint16_t>(at + 2);
    }
    entry.planes = entries.get<uint16_t>(at + 4);
    entry.bitCount = entries.get<uint16_t>(at + 6);
    entry.bytesInRes = entries.get<uint32_t>(at + 8);
    entry.imageId = entries.get<uint16_t>(at + 12);
    group.entries.push_back(entry);
  }
  return group;
}

std::optional<uint32_t> IconImageBitsPerPixel(ByteView image) {
  if (StartsWithPng(image)) {
    // IHDR follows the signature: length, "IHDR", width, height, depth, colour type.
    auto depth = image.u8(24);
    auto colorType = image.u8(25);
    if (!depth || !colorType) return std::nullopt;
    uint32_t channels = 0;
    switch (*colorType) {
      case 0:
        channels = 1;
        break;  // grey
      case 2:
        channels = 3;
        break;  // RGB
      case 3:
        channels = 1;
        break;  // palette
      case 4:
        channels = 2;
        break;  // grey and alpha
      case 6:
        channels = 4;
        break;  // RGBA
      default:
        return std::nullopt;
    }
    return uint32_t{*depth} * channels;
  }
  auto headerSize = image.u32(0);
  if (!headerSize) return std::nullopt;
  if (*headerSize == 12) {
    auto planes = image.u16(8), bits = image.u16(10);
    if (!planes || !bits) return std::nullopt;
    return uint32_t{*planes} * *bits;
  }
  if (*headerSize < 40) return std::nullopt;
  auto planes = image.u16(12), bits = image.u16(14);
  if (!planes || !bits) return std::nullopt;
  return uint32_t{*planes} * *bits;
}

std::optional<IconImageSize> IconImageDimensions(ByteView image) {
  // Sizes past this are not images anyone draws; they are damage.
  constexpr uint32_t kMaxSide = 0x10000;
  IconImageSize size;
  if (StartsWithPng(image)) {
    if (!image.has(16, 8)) return std::nullopt;
    size = {BigEndian32(image, 16), BigEndian32(image, 20)};
  } else {
    auto headerSize = image.u32(0);
    if (!headerSize) return std::nullopt;
    if (*headerSize == 12) {
      if (!image.has(4, 4)) return std::nullopt;
      size = {image.get<uint16_t>(4), image.get<uint16_t>(6) / 2u};
    } else if (*headerSize >= 40) {
      if (!image.has(4, 8)) return std::nullopt;
      const auto width = static_cast<int32_t>(image.get<uint32_t>(4));
      const auto height = static_cast<int32_t>(image.get<uint32_t>(8));
      // The height covers the colour bitmap and the mask; a top-down DIB
      // gives it negative.
      if (width <= 0 || height == 0 || height == INT32_MIN) return std::nullopt;
      size = {static_cast<uint32_t>(width), static_cast<uint32_t>(height < 0 ? -height : height) / 2u};
    } else {
      return std::nullopt;
    }
  }
  if (size.width == 0 || size.height == 0 || size.width > kMaxSide || size.height > kMaxSide) return std::nullopt;
  return size;
}

Result<std::vector<IconImageInfo>> ReadIconGroup(const PeImage& image, const ResourceDirectory& resources,
                                                 IconGroupKind kind, const ResourceName& name) {
  const bool cursor = kind == IconGroupKind::Cursor;
  const ResourceName groupType = ResourceName::Number(cursor ? kRtGroupCursor : kRtGroupIcon);
  const ResourceName imageType = ResourceName::Number(cursor ? kRtCursor : kRtIcon);
  QM_TRY(data, resources.Load(image, groupType, name));
  QM_TRY(group, ParseIconGroup(data, kind));

  std::vector<IconImageInfo> images;
  images.reserve(group.entries.size());
  for (const IconGroupEntry& entry : group.entries) {
    IconImageInfo info;
    info.imageId = entry.imageId;
    info.bitsPerPixel = entry.bitCount;
    std::optional<IconImageSize> own;

    auto bytes = resources.Load(image, imageType, ResourceName::Number(entry.imageId));
    if (bytes) {
      info.found = true;
      info.byteSize = static_cast<uint32_t>(bytes->size());
      ByteView picture = *bytes;
      if (cursor) {
        info.hotspotX = bytes->u16(0).value_or(0);
        info.hotspotY = bytes->u16(2).value_or(0);
        picture = bytes->from(kHotspotSize).value_or(ByteView());
      }
      // The image's own header is what gets drawn; resource compilers do not
      // always copy the depth into the directory (cursors often say 1).
      if (auto bits = IconImageBitsPerPixel(picture); bits && *bits != 0) info.bitsPerPixel = *bits;
      own = IconImageDimensions(picture);
    }
    if (cursor) {
      // Linkers disagree on whether the stored height covers both masks, so
      // the image's own header decides; without one the cursor is square.
      info.width = own ? own->width : entry.width;
      info.height = own ? own->height : entry.width;
    } else if ((entry.width == 0 || entry.height == 0) && own) {
      // One byte cannot hold 256 or more (0 stands for it): the image says.
      info.width = own->width;
      info.height = own->height;
    } else {
      info.width = entry.width == 0 ? 256u : entry.width;
      info.height = entry.height == 0 ? info.width : entry.height;
    }
    if (info.height == 0) info.height = info.width;
    const bool knownDepth = info.bitsPerPixel >= 1 && info.bitsPerPixel <= 32;
    info.colorCount = knownDepth ? uint64_t{1} << info.bitsPerPixel : 0;
    images.push_back(info);
  }
  return images;
}

std::string FormatIconImageLine(const IconImageInfo& info) {
  // Past 8 bits a colour count says nothing useful (2^32 for an image with
  // alpha): the depth itself is what a reader recognises.
  if (info.bitsPerPixel > 8 && info.bitsPerPixel <= 32)
    return Format("%u x %u - %u bits (%u bytes)", info.width, info.height, info.bitsPerPixel, info.byteSize);
  return Format("%u x %u - %llu colors (%u bytes)", info.width, info.height,
                static_cast<unsigned long long>(info.colorCount), info.byteSize);
}

std::string FormatIconGroupName(const ResourceName& name) {
  return name.isString ? name.name : Format("%u", unsigned{name.id});
}

}  // namespace qm
