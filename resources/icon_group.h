#pragma once
// Icon and cursor groups (RT_GROUP_ICON, RT_GROUP_CURSOR): the directory of a
// group, and each image's size, colour count and byte count as the group
// page lists them, with the image bytes found among RT_ICON or RT_CURSOR.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "resources/resource_directory.h"

namespace qm {

enum class IconGroupKind { Icon, Cursor };

// One 14-byte entry of a group directory, as stored.
struct IconGroupEntry {
  // Icons: 8-bit width and height (0 stands for 256), colour count, reserved.
  // Cursors: 16-bit width and 16-bit height of both masks (twice the
  // image's height); the two 8-bit fields below are then 0.
  uint16_t width = 0;
  uint16_t height = 0;
  uint8_t colorCount = 0;
  uint8_t reserved = 0;
  uint16_t planes = 0;
  uint16_t bitCount = 0;
  uint32_t bytesInRes = 0;  // as the directory says; the resource's own size is what counts
  uint16_t imageId = 0;
};

struct IconGroupDirectory {
  IconGroupKind kind = IconGroupKind::Icon;
  uint16_t reserved = 0;
  uint16_t type = 0;  // 1 icons, 2 cursors
  std::vector<IconGroupEntry> entries;
};

// Reads a group directory: a 6-byte header and as many 14-byte entries as
// its count says, all inside the data; the type field must match the kind.
Result<IconGroupDirectory> ParseIconGroup(ByteView data, IconGroupKind kind);

// One image of a group as the group page shows it.
struct IconImageInfo {
  uint32_t width = 0;
  uint32_t height = 0;
  uint32_t bitsPerPixel = 0;
  uint64_t colorCount = 0;  // 2 to the power of the bits per pixel (0 when unknown)
  uint16_t imageId = 0;
  bool found = false;     // the RT_ICON or RT_CURSOR resource exists
  uint32_t byteSize = 0;  // its size, 0 when it does not exist
  // Cursors: the hot spot stored in front of the image.
  uint16_t hotspotX = 0;
  uint16_t hotspotY = 0;
};

// Decodes the group (type RT_GROUP_ICON or RT_GROUP_CURSOR) of that name and
// looks each image up by its ID; an image that is missing is still listed.
Result<std::vector<IconImageInfo>> ReadIconGroup(const PeImage& image, const ResourceDirectory& resources,
                                                 IconGroupKind kind, const ResourceName& name);

// "%d x %d - %d colors (%u bytes)" of one image up to 8 bits per pixel;
// deeper images give their depth instead: "32 x 32 - 32 bits (4264 bytes)".
std::string FormatIconImageLine(const IconImageInfo& info);
// The group node's text: the number of a numeric name, else the name.
std::string FormatIconGroupName(const ResourceName& name);

struct IconImageSize {
  uint32_t width = 0;
  uint32_t height = 0;
};

// Width and height of an icon or cursor image's own header (a PNG's, or a
// DIB's with the mask's half of the height taken off); nullopt when it is
// neither or the size is absurd. Cursor images start after their hot spot.
std::optional<IconImageSize> IconImageDimensions(ByteView image);

// Whether an icon or cursor image is a PNG (its signature first) rather
// than a DIB.
bool IsPngImage(ByteView image);

// Bits per pixel of an icon or cursor image's own header (a DIB or a PNG);
// nullopt when it is neither. Cursor images start after their hot spot.
std::optional<uint32_t> IconImageBitsPerPixel(ByteView image);

}  // namespace qm
