#pragma once
// Icon and cursor groups as the .ico and .cur files every image program
// opens: a 6-byte header, one 16-byte directory entry per image and the
// images themselves, byte for byte as the module stores them. The directory
// is written from each image's own header, never copied from the group's:
// resource compilers and linkers fill the group's fields loosely (cursor
// heights doubled, depth 1 for any cursor), and the image is what gets drawn.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "resources/icon_group.h"

namespace qm {

// One image as the file holds it: a DIB (height covering both masks) or a
// PNG, without the hot spot a cursor resource stores in front of it.
struct IconFileImage {
  ByteView bytes;
  uint16_t hotspotX = 0;  // cursors only
  uint16_t hotspotY = 0;
};

// One 16-byte entry of the file's directory. In a .cur file the two 16-bit
// fields hold the hot spot instead of planes and bit count.
struct IconFileEntry {
  uint8_t width = 0;  // 0 for 256 pixels or any size the byte cannot hold
  uint8_t height = 0;
  uint8_t colorCount = 0;  // palette entries; 0 without a palette or past 255
  uint8_t reserved = 0;
  uint16_t planesOrHotspotX = 0;
  uint16_t bitCountOrHotspotY = 0;
  uint32_t bytesInRes = 0;
  uint32_t imageOffset = 0;
};

// Why a group cannot be written as a file. A file with an image left out or
// guessed would not be the group, so nothing is written instead.
struct IconFileError {
  enum class Reason {
    GroupDamaged,  // the group's own directory cannot be read
    ImageMissing,  // the module holds no image with the group's ID
    ImageDamaged,  // the image is neither a readable DIB nor a PNG
    TooLarge,      // the images together pass what 32-bit offsets reach
  };
  Reason reason = Reason::GroupDamaged;
  size_t index = 0;  // the image's place in the group
  uint16_t imageId = 0;
  ParseError detail;
};

// "image 3 (ID 7) is missing" and the like, for a message line.
std::string DescribeIconFileError(const IconFileError& error);

// The directory entry of one image, from its own header; nullopt when the
// image is neither a DIB with a sane size nor a PNG with its IHDR.
std::optional<IconFileEntry> IconFileEntryOf(IconGroupKind kind, const IconFileImage& image);

// The whole .ico (kind Icon) or .cur (kind Cursor) file, images in the given
// order.
Result<std::vector<uint8_t>, IconFileError> MakeIconFile(IconGroupKind kind, std::span<const IconFileImage> images);

// The stored language of an image that a group in groupLanguage uses: the
// same language when the module stores the image so, else the one a lookup
// prefers; nullptr when the item has none.
const ResourceLanguage* IconImageLanguage(const ResourceItem& item, uint16_t groupLanguage, uint16_t uiLanguage);

// The file of one group of a module. language picks the group's stored
// language (nullopt: the one Load prefers); each image is taken in the
// group's language when the module stores it so, else in its preferred one.
Result<std::vector<uint8_t>, IconFileError> MakeIconFileFromGroup(const PeImage& image,
                                                                  const ResourceDirectory& resources,
                                                                  IconGroupKind kind, const ResourceName& name,
                                                                  std::optional<uint16_t> language = std::nullopt);

}  // namespace qm
