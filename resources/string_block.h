#pragma once
// String tables (RT_STRING): a block of sixteen counted UTF-16 strings per
// resource, block B holding the identifiers (B - 1) * 16 to (B - 1) * 16 + 15,
// and the two files the string page saves: a resource script with one
// STRINGTABLE per block, and plain text with one string per line.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/byte_reader.h"
#include "resources/resource_directory.h"

namespace qm {

class CResourceModule;

constexpr size_t kStringsPerBlock = 16;

// The sixteen strings as UTF-8; absent strings stay as empty ones so that
// positions match identifiers. A block shorter than its counts is refused.
Result<std::vector<std::string>> DecodeStringBlock(ByteView data);

struct StringBlock {
  uint16_t number = 0;  // the block's resource name
  std::vector<std::string> strings;

  uint32_t FirstId() const { return (uint32_t{number} - 1u) * 16u; }
};

// The identifier of string `index` of block `number` (block 0 wraps, as the
// platform's arithmetic does).
uint32_t StringIdentifier(uint16_t number, size_t index);

// The text shown in the string list: each line feed as the two characters \n.
std::string StringListText(const std::string& text);

// A block that could not be read and was left out of a listing.
struct SkippedStringBlock {
  uint16_t number = 0;
  ParseError error;
};

// One block, or with no block every numbered block of the module in
// enumeration order (blocks named by a string cannot be addressed by a
// string identifier and are left out). Without `skipped` it fails on the
// first block that cannot be read (a file must not be written incomplete);
// with it, as the string list does, such a block is left out and noted.
Result<std::vector<StringBlock>> CollectStringBlocks(const CResourceModule& module,
                                                     const std::optional<ResourceName>& block,
                                                     std::vector<SkippedStringBlock>* skipped = nullptr);

enum class StringFileForm { ResourceScript, PlainText };

// The file's text with "\n" line ends (the writer turns them into CR LF).
// The resource script starts with #pragma code_page(65001) when any string
// holds a character beyond ASCII.
std::string StringTablesText(const std::vector<StringBlock>& blocks, StringFileForm form);

// Writes the file in one step; an existing file survives any failure.
bool WriteStringTables(const CResourceModule& module, const std::optional<ResourceName>& block, const std::string& path,
                       StringFileForm form);

}  // namespace qm
