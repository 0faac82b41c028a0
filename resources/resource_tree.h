#pragma once
// The browser's tree of a module's resources: the file name at the root, a
// node per type label in the order of each type's first resource, and each
// resource (its name, or its number in decimal) beneath its type.

#include <string>

#include "common/shared_icons.h"
#include "common/tree_model.h"
#include "platform/system.h"
#include "resources/resource_module.h"

namespace qm {

constexpr int kResourceRootImage = kIconComputer;
constexpr int kResourceTypeNodeImage = kIconClosedFolder;

// The label of a type node: the type table's text, the name of a named type.
std::string ResourceTypeLabel(const ResourceName& type, const IStrings& strings);
// The image of each resource of a type.
int ResourceTypeImage(const ResourceName& type);

// rootText is the file's name as the file system reports it (the caller
// knows whether the file exists). Each resource node carries the JSON
// members "type", "name" (number or string) and "size".
TreeNode BuildResourceTree(const CResourceModule& module, const std::string& rootText, const IStrings& strings);

}  // namespace qm
