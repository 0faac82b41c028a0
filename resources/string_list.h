#pragma once
// The rows of the string page: one per non-empty string of one block, or of
// every numbered block of the module, with its identifier, and the count
// line under the list.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/system.h"
#include "resources/resource_module.h"

namespace qm {

struct StringListRow {
  uint32_t identifier = 0;
  std::string idText;
  std::string text;  // line feeds shown as \n
};

struct StringListing {
  std::vector<StringListRow> rows;
  std::string countText;
};

// One block (a block that cannot be read lists nothing), or with no block
// every numbered block in enumeration order (one that cannot be read is left
// out) with the total size of all string tables after the count.
StringListing ListStrings(const CResourceModule& module, const std::optional<ResourceName>& block,
                          const IStrings& strings);

}  // namespace qm
