#pragma once
// What the icon group page shows: one icon or cursor group, or every group
// of one kind in the order the module lists them, each as a node with one
// line per image ("32 x 32 - 16 colors (744 bytes)"). The page turns the
// image bytes into icons; everything else is decided here.

#include <optional>
#include <string>
#include <vector>

#include "resources/icon_group.h"
#include "resources/resource_module.h"

namespace qm {

// The page's own small image list: a cursor group's node takes image 0, an
// icon group's image 1; the images of the groups follow from index 2.
constexpr int kCursorGroupNodeImage = 0;
constexpr int kIconGroupNodeImage = 1;
constexpr int kFirstGroupImage = 2;

struct IconGroupNode {
  ResourceName name;
  std::string text;  // the number of a numeric name, else the name
  int image = kIconGroupNodeImage;
  std::vector<IconImageInfo> images;
  std::vector<std::string> lines;  // one per image, same order
};

// RT_GROUP_ICON or RT_GROUP_CURSOR, whose statistics the page lists above
// its tree; and RT_ICON or RT_CURSOR, where the images of the groups lie.
ResourceName GroupResourceType(IconGroupKind kind);
ResourceName GroupImageResourceType(IconGroupKind kind);

// The names of every group of the kind, in enumeration order.
std::vector<ResourceName> GroupNamesOfKind(const CResourceModule& module, IconGroupKind kind);

// One group decoded for the tree; nullopt when the module is not open or
// the group is missing or does not decode (the page then adds no node).
std::optional<IconGroupNode> ReadIconGroupNode(const CResourceModule& module, IconGroupKind kind,
                                               const ResourceName& name);

// The nodes of one group (only) or of every group of the kind; groups that
// do not decode are left out.
std::vector<IconGroupNode> IconGroupNodes(const CResourceModule& module, IconGroupKind kind,
                                          const std::optional<ResourceName>& only = std::nullopt);

}  // namespace qm
