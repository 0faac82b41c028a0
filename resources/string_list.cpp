#include "resources/string_list.h"

#include "common/text.h"
#include "res/string_ids.h"
#include "resources/resource_types.h"
#include "resources/string_block.h"

namespace qm {

StringListing ListStrings(const CResourceModule& module, const std::optional<ResourceName>& block,
                          const IStrings& strings) {
  StringListing listing;
  std::vector<SkippedStringBlock> skipped;
  auto blocks = CollectStringBlocks(module, block, &skipped);
  if (blocks) {
    for (const StringBlock& b : *blocks) {
      for (size_t i = 0; i < b.strings.size(); ++i) {
        if (b.strings[i].empty()) continue;
        const uint32_t id = StringIdentifier(b.number, i);
        listing.rows.push_back(StringListRow{id, std::to_string(id), StringListText(b.strings[i])});
      }
    }
  }
  listing.countText = FormatTable(strings.LoadString(IDS_STRING_COUNT), {std::to_string(listing.rows.size())});
  if (!block) {
    listing.countText += " - " + FormatSizeText(strings.LoadString(IDS_SIZE_TOTAL),
                                                module.GetTotalSize(ResourceName::Number(kRtString)));
  }
  return listing;
}

}  // namespace qm
