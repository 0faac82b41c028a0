#include "resources/icon_file.h"

#include <limits>

#include "common/text.h"
#include "resources/resource_types.h"

namespace qm {

namespace {

constexpr uint64_t kFileHeaderSize = 6;
constexpr uint64_t kFileEntrySize = 16;
constexpr uint64_t kHotspotSize = 4;  // in front of every RT_CURSOR image
constexpr uint32_t kCoreHeaderSize = 12;
constexpr uint32_t kInfoHeaderSize = 40;

// A side in the directory's one byte: 256 and anything it cannot hold are 0.
uint8_t SideByte(uint32_t side) { return side < 256 ? static_cast<uint8_t>(side) : 0; }

// Palette entries in the directory's one byte: 0 without a palette, and 0
// for 256 or more, which the byte cannot hold.
uint8_t PaletteByte(uint64_t entries) { return entries < 256 ? static_cast<uint8_t>(entries) : 0; }

void Put16(std::vector<uint8_t>& out, uint16_t value) {
  out.push_back(static_cast<uint8_t>(value));
  out.push_back(static_cast<uint8_t>(value >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t value) {
  Put16(out, static_cast<uint16_t>(value));
  Put16(out, static_cast<uint16_t>(value >> 16));
}

const ResourceLanguage* LanguageOf(const ResourceItem& item, std::optional<uint16_t> language, uint16_t uiLanguage) {
  if (language) {
    for (const ResourceLanguage& stored : item.languages)
      if (stored.language == *language) return &stored;
  }
  return item.Preferred(uiLanguage);
}

}  // namespace

const ResourceLanguage* IconImageLanguage(const ResourceItem& item, uint16_t groupLanguage, uint16_t uiLanguage) {
  return LanguageOf(item, groupLanguage, uiLanguage);
}

std::string DescribeIconFileError(const IconFileError& error) {
  const std::string image =
      Format("image %llu (ID %u)", static_cast<unsigned long long>(error.index + 1), unsigned{error.imageId});
  switch (error.reason) {
    case IconFileError::Reason::GroupDamaged:
      return "the group cannot be read (" + DescribeError(error.detail) + ")";
    case IconFileError::Reason::ImageMissing:
      return image + " is missing";
    case IconFileError::Reason::ImageDamaged:
      return image + " is damaged (" + DescribeError(error.detail) + ")";
    case IconFileError::Reason::TooLarge:
      return "the images are too large for one file";
  }
  return {};
}

std::optional<IconFileEntry> IconFileEntryOf(IconGroupKind kind, const IconFileImage& image) {
  const ByteView& bytes = image.bytes;
  const auto size = IconImageDimensions(bytes);
  if (!size) return std::nullopt;

  IconFileEntry entry;
  entry.width = SideByte(size->width);
  entry.height = SideByte(size->height);
  uint16_t planes = 1;
  uint16_t bitCount = 0;
  uint64_t paletteEntries = 0;
  if (IsPngImage(bytes)) {
    // A PNG has no planes; its depth is the IHDR's bits per channel times
    // the channels. Only a palette image (colour type 3) has a palette.
    const auto bits = IconImageBitsPerPixel(bytes);
    if (!bits) return std::nullopt;
    bitCount = static_cast<uint16_t>(*bits);
    if (bytes.get<uint8_t>(25) == 3 && *bits < 8) paletteEntries = uint64_t{1} << *bits;
  } else {
    const uint32_t headerSize = bytes.get<uint32_t>(0);
    if (!bytes.has(0, headerSize == kCoreHeaderSize ? kCoreHeaderSize : kInfoHeaderSize)) return std::nullopt;
    if (headerSize == kCoreHeaderSize) {
      planes = bytes.get<uint16_t>(8);
      bitCount = bytes.get<uint16_t>(10);
      if (bitCount <= 8) paletteEntries = uint64_t{1} << bitCount;
    } else {
      planes = bytes.get<uint16_t>(12);
      bitCount = bytes.get<uint16_t>(14);
      // biClrUsed: 0 means the full table of the depth; past 8 bits a
      // stored table is only a hint for display, not the image's palette.
      const uint32_t used = bytes.get<uint32_t>(32);
      if (bitCount <= 8) paletteEntries = used != 0 ? used : uint64_t{1} << bitCount;
    }
  }
  entry.colorCount = PaletteByte(paletteEntries);
  if (kind == IconGroupKind::Cursor) {
    entry.planesOrHotspotX = image.hotspotX;
    entry.bitCountOrHotspotY = image.hotspotY;
  } else {
    entry.planesOrHotspotX = planes;
    entry.bitCountOrHotspotY = bitCount;
  }
  entry.bytesInRes = static_cast<uint32_t>(bytes.size());
  return entry;
}

Result<std::vector<uint8_t>, IconFileError> MakeIconFile(IconGroupKind kind, std::span<const IconFileImage> images) {
  uint64_t total = kFileHeaderSize + kFileEntrySize * images.size();
  std::vector<IconFileEntry> entries;
  entries.reserve(images.size());
  for (size_t i = 0; i < images.size(); ++i) {
    auto entry = IconFileEntryOf(kind, images[i]);
    if (!entry)
      return IconFileError{IconFileError::Reason::ImageDamaged, i, 0, images[i].bytes.error(ReadError::BadValue, 0)};
    if (images.size() > 0xFFFF || total + images[i].bytes.size() > std::numeric_limits<uint32_t>::max())
      return IconFileError{IconFileError::Reason::TooLarge, i, 0, {ReadError::TooMany, 0}};
    entry->imageOffset = static_cast<uint32_t>(total);
    total += images[i].bytes.size();
    entries.push_back(*entry);
  }

  std::vector<uint8_t> out;
  out.reserve(static_cast<size_t>(total));
  Put16(out, 0);
  Put16(out, kind == IconGroupKind::Icon ? 1 : 2);
  Put16(out, static_cast<uint16_t>(images.size()));
  for (const IconFileEntry& entry : entries) {
    out.push_back(entry.width);
    out.push_back(entry.height);
    out.push_back(entry.colorCount);
    out.push_back(entry.reserved);
    Put16(out, entry.planesOrHotspotX);
    Put16(out, entry.bitCountOrHotspotY);
    Put32(out, entry.bytesInRes);
    Put32(out, entry.imageOffset);
  }
  for (size_t i = 0; i < images.size(); ++i) {
    const auto bytes = images[i].bytes.bytes();
    if (bytes.size() != images[i].bytes.size())
      return IconFileError{IconFileError::Reason::ImageDamaged, i, 0, images[i].bytes.error(ReadError::Io, 0)};
    out.insert(out.end(), bytes.begin(), bytes.end());
  }
  return out;
}

Result<std::vector<uint8_t>, IconFileError> MakeIconFileFromGroup(const PeImage& image,
                                                                  const ResourceDirectory& resources,
                                                                  IconGroupKind kind, const ResourceName& name,
                                                                  std::optional<uint16_t> language) {
  const bool cursor = kind == IconGroupKind::Cursor;
  const ResourceName groupType = ResourceName::Number(cursor ? kRtGroupCursor : kRtGroupIcon);
  const ResourceName imageType = ResourceName::Number(cursor ? kRtCursor : kRtIcon);
  const auto groupError = [](ParseError detail) {
    return IconFileError{IconFileError::Reason::GroupDamaged, 0, 0, detail};
  };

  const ResourceItem* groupItem = resources.Find(groupType, name);
  const ResourceLanguage* groupLanguage =
      groupItem ? LanguageOf(*groupItem, language, resources.UiLanguage()) : nullptr;
  if (!groupLanguage || (language && groupLanguage->language != *language))
    return groupError(image.file().error(ReadError::NotFound, 0));
  auto data = ResourceDirectory::Data(image, *groupLanguage);
  if (!data) return groupError(data.error());
  auto group = ParseIconGroup(*data, kind);
  if (!group) return groupError(group.error());

  std::vector<IconFileImage> images;
  images.reserve(group->entries.size());
  for (size_t i = 0; i < group->entries.size(); ++i) {
    const uint16_t id = group->entries[i].imageId;
    const auto imageError = [&](IconFileError::Reason reason, ParseError detail) {
      return IconFileError{reason, i, id, detail};
    };
    const ResourceItem* item = resources.Find(imageType, ResourceName::Number(id));
    const ResourceLanguage* stored =
        item ? LanguageOf(*item, groupLanguage->language, resources.UiLanguage()) : nullptr;
    if (!stored) return imageError(IconFileError::Reason::ImageMissing, image.file().error(ReadError::NotFound, 0));
    auto bytes = ResourceDirectory::Data(image, *stored);
    if (!bytes) return imageError(IconFileError::Reason::ImageDamaged, bytes.error());
    IconFileImage picture;
    if (cursor) {
      // The hot spot goes into the file's directory, not in front of the image.
      auto hotspot = bytes->sub(0, kHotspotSize);
      if (!hotspot) return imageError(IconFileError::Reason::ImageDamaged, hotspot.error());
      picture.hotspotX = hotspot->get<uint16_t>(0);
      picture.hotspotY = hotspot->get<uint16_t>(2);
      auto rest = bytes->sub(kHotspotSize, bytes->size() - kHotspotSize);
      if (!rest) return imageError(IconFileError::Reason::ImageDamaged, rest.error());
      picture.bytes = *rest;
    } else {
      picture.bytes = *bytes;
    }
    images.push_back(picture);
  }
  auto file = MakeIconFile(kind, images);
  if (!file) {
    IconFileError error = file.error();
    if (error.index < group->entries.size()) error.imageId = group->entries[error.index].imageId;
    return error;
  }
  return file;
}

}  // namespace qm
