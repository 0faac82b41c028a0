#include "resources/icon_group_page.h"

#include "resources/resource_types.h"

namespace qm {

ResourceName GroupResourceType(IconGroupKind kind) {
  return ResourceName::Number(kind == IconGroupKind::Cursor ? kRtGroupCursor : kRtGroupIcon);
}

ResourceName GroupImageResourceType(IconGroupKind kind) {
  return ResourceName::Number(kind == IconGroupKind::Cursor ? kRtCursor : kRtIcon);
}

std::vector<ResourceName> GroupNamesOfKind(const CResourceModule& module, IconGroupKind kind) {
  const int32_t type = GroupResourceType(kind).id;
  std::vector<ResourceName> names;
  for (const ResourceEntry& entry : module.entries())
    if (entry.typeId == type) names.push_back(entry.Name());
  return names;
}

std::optional<IconGroupNode> ReadIconGroupNode(const CResourceModule& module, IconGroupKind kind,
                                               const ResourceName& name) {
  const PeImage* image = module.image();
  if (!image) return std::nullopt;
  auto images = ReadIconGroup(*image, module.directory(), kind, name);
  if (!images) return std::nullopt;
  IconGroupNode node;
  node.name = name;
  node.text = FormatIconGroupName(name);
  node.image = kind == IconGroupKind::Cursor ? kCursorGroupNodeImage : kIconGroupNodeImage;
  node.images = std::move(*images);
  node.lines.reserve(node.images.size());
  for (const IconImageInfo& info : node.images) node.lines.push_back(FormatIconImageLine(info));
  return node;
}

std::vector<IconGroupNode> IconGroupNodes(const CResourceModule& module, IconGroupKind kind,
                                          const std::optional<ResourceName>& only) {
  const std::vector<ResourceName> names = only ? std::vector<ResourceName>{*only} : GroupNamesOfKind(module, kind);
  std::vector<IconGroupNode> nodes;
  for (const ResourceName& name : names)
    if (auto node = ReadIconGroupNode(module, kind, name)) nodes.push_back(std::move(*node));
  return nodes;
}

}  // namespace qm
