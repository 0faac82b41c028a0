#pragma once
// The table of resource types shared by the resources tree and the list
// page: the node label (a string-table ID), the symbolic RT_ name and the
// image given to each resource of the type.

#include <cstdint>
#include <optional>
#include <string_view>

#include "common/shared_icons.h"

namespace qm {

struct ResourceTypeInfo {
  uint16_t id;
  const char* rtName;      // "RT_MENU"
  uint32_t labelStringId;  // string-table text of the tree node
  int image;               // index into the shared small image list
};

// The image of numbers the table does not know (their label is
// IDS_UNKNOWN_TYPE).
constexpr int kUnknownTypeImage = kIconQuestionMark;
constexpr int kNamedTypeImage = kIconQuestionMark;

// The row of a numeric type, nullptr for numbers the table does not hold.
const ResourceTypeInfo* FindResourceType(uint32_t typeId);
// The number of an RT_ name (case-insensitive), nullopt when it is none of
// the platform's. Knows every RT_ name of the platform, also those the table
// above gives no label of their own (RT_MANIFEST and friends).
std::optional<uint16_t> ResourceTypeFromRtName(std::string_view rtName);

// Resource type numbers the model itself reads.
constexpr uint16_t kRtCursor = 1;
constexpr uint16_t kRtBitmap = 2;
constexpr uint16_t kRtIcon = 3;
constexpr uint16_t kRtMenu = 4;
constexpr uint16_t kRtDialog = 5;
constexpr uint16_t kRtString = 6;
constexpr uint16_t kRtAccelerator = 9;
constexpr uint16_t kRtRcData = 10;
constexpr uint16_t kRtGroupCursor = 12;
constexpr uint16_t kRtGroupIcon = 14;
constexpr uint16_t kRtVersion = 16;

}  // namespace qm
