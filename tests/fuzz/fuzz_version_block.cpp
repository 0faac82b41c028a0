// Version blocks from arbitrary bytes: parsing, the queries the reader makes
// and a walk over every node, and writing the block as a script, must end
// without a fault.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "resources/version_block.h"
#include "resources/version_script.h"

namespace {

void Walk(const qm::VersionBlock& block, const qm::VersionNode& node, size_t depth) {
  if (depth > qm::VersionBlock::kMaxDepth) return;
  auto children = block.Children(node);
  if (!children) return;
  for (const auto& child : *children) {
    if (child.wType) (void)qm::VersionValue{child.value, child.wValueLength, true}.Text();
    Walk(block, child, depth + 1);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto block = qm::VersionBlock::Parse(qm::ByteView(data, size));
  if (!block) return 0;
  (void)block->Fixed();
  auto translations = block->Translations();
  if (translations) {
    for (uint32_t t : *translations) {
      char table[32];
      std::snprintf(table, sizeof table, "\\StringFileInfo\\%04x%04x\\", t & 0xFFFF, t >> 16);
      for (const char* key : {"ProductName", "FileVersion", "CompanyName"}) {
        auto value = block->Query(std::string(table) + key);
        if (value) (void)value->Text();
      }
    }
  }
  (void)block->Query("\\a\\b\\c\\d\\e\\f\\g\\h\\i\\j");
  auto root = block->Root();
  if (root) Walk(*block, *root, 0);
  (void)qm::VersionScriptGap(*block);
  (void)qm::VersionScriptText(*block, qm::ResourceName::Number(1));
  return 0;
}
