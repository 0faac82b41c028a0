#include "resources/resource_tree.h"

#include <unordered_map>

#include "res/string_ids.h"
#include "resources/resource_types.h"

namespace qm {

namespace {
std::string JsonOfName(const ResourceName& name) {
  return name.isString ? JsonString(name.name) : std::to_string(name.id);
}
}  // namespace

std::string ResourceTypeLabel(const ResourceName& type, const IStrings& strings) {
  if (type.isString) return type.name;
  const ResourceTypeInfo* info = FindResourceType(type.id);
  return strings.LoadString(info ? info->labelStringId : IDS_UNKNOWN_TYPE);
}

int ResourceTypeImage(const ResourceName& type) {
  if (type.isString) return kNamedTypeImage;
  const ResourceTypeInfo* info = FindResourceType(type.id);
  return info ? info->image : kUnknownTypeImage;
}

TreeNode BuildResourceTree(const CResourceModule& module, const std::string& rootText, const IStrings& strings) {
  TreeNode root{rootText, kResourceRootImage, {}, {}};
  const auto& entries = module.entries();
  // Entries come type by type, so the node of the previous entry is usually
  // the one wanted; only a change of type looks the label up. A damaged
  // directory can hold thousands of types, so the lookup is by hash.
  std::unordered_map<std::string, size_t> nodeOfLabel;
  size_t current = SIZE_MAX;
  ResourceName currentType;
  for (size_t i = 0; i < entries.size(); ++i) {
    const ResourceEntry& entry = entries[i];
    const ResourceName type = entry.Type();
    if (current == SIZE_MAX || type.isString != currentType.isString || type.id != currentType.id ||
        type.name != currentType.name) {
      std::string label = ResourceTypeLabel(type, strings);
      const auto [node, added] = nodeOfLabel.try_emplace(label, root.children.size());
      if (added) root.Add(std::move(label), kResourceTypeNodeImage);
      current = node->second;
      currentType = type;
    }
    const ResourceName name = entry.Name();
    TreeNode& node =
        root.children[current].Add(name.isString ? name.name : std::to_string(name.id), ResourceTypeImage(type));
    node.json = {{"type", JsonOfName(type)},
                 {"name", JsonOfName(name)},
                 {"size", std::to_string(module.GetEntrySize(static_cast<int>(i)))}};
  }
  return root;
}

}  // namespace qm
