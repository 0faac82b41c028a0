#include "resources/string_block.h"

#include "common/atomic_file.h"
#include "common/text.h"
#include "resources/resource_module.h"
#include "resources/resource_types.h"

namespace qm {

namespace {

bool HasNonAscii(const std::string& text) {
  for (char c : text)
    if (static_cast<unsigned char>(c) >= 0x80) return true;
  return false;
}

// Control characters as C escapes and the double quote doubled, as a
// resource compiler reads them back. Inside the script's quoted texts a
// backslash is doubled too; the plain text keeps it as it is.
std::string EscapeString(const std::string& text, StringFileForm form) {
  std::string out;
  out.reserve(text.size() + 8);
  for (char c : text) {
    switch (c) {
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      case '"':
        out += "\"\"";
        break;
      case '\0':
        out += "\\000";
        break;  // three octal digits: a digit after it stays a digit
      case '\\':
        out += form == StringFileForm::ResourceScript ? "\\\\" : "\\";
        break;
      default:
        out.push_back(c);
    }
  }
  return out;
}

}  // namespace

Result<std::vector<std::string>> DecodeStringBlock(ByteView data) {
  std::vector<std::string> strings;
  strings.reserve(kStringsPerBlock);
  uint64_t at = 0;
  for (size_t i = 0; i < kStringsPerBlock; ++i) {
    QM_TRY(count, data.u16(at));
    at += 2;
    QM_TRY(units, ReadString16(data, at, count));
    at += 2 * uint64_t{count};
    strings.push_back(Utf16ToUtf8(units));
  }
  return strings;
}

uint32_t StringIdentifier(uint16_t number, size_t index) {
  return (uint32_t{number} - 1u) * 16u + static_cast<uint32_t>(index);
}

std::string StringListText(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    if (c == '\n')
      out += "\\n";
    else
      out.push_back(c);
  }
  return out;
}

Result<std::vector<StringBlock>> CollectStringBlocks(const CResourceModule& module,
                                                     const std::optional<ResourceName>& block,
                                                     std::vector<SkippedStringBlock>* skipped) {
  std::vector<StringBlock> blocks;
  auto decode = [&](const ResourceName& name) -> Result<bool> {
    QM_TRY(data, module.LoadResourceData(ResourceName::Number(kRtString), name));
    QM_TRY(strings, DecodeStringBlock(data));
    blocks.push_back(StringBlock{name.isString ? uint16_t{0} : name.id, std::move(strings)});
    return true;
  };
  if (block) {
    QM_TRY(done, decode(*block));
    (void)done;
    return blocks;
  }
  for (const auto& entry : module.entries()) {
    if (entry.typeId != kRtString || entry.nameId < 0) continue;
    auto done = decode(entry.Name());
    if (done) continue;
    if (!skipped) return done.error();
    skipped->push_back(SkippedStringBlock{static_cast<uint16_t>(entry.nameId), done.error()});
  }
  return blocks;
}

std::string StringTablesText(const std::vector<StringBlock>& blocks, StringFileForm form) {
  std::string text;
  bool beyondAscii = false;
  for (const auto& block : blocks) {
    if (form == StringFileForm::ResourceScript) text += "STRINGTABLE DISCARDABLE\nBEGIN\n";
    for (size_t i = 0; i < block.strings.size(); ++i) {
      const std::string& s = block.strings[i];
      if (s.empty()) continue;
      beyondAscii = beyondAscii || HasNonAscii(s);
      if (form == StringFileForm::ResourceScript)
        text += "\t" + std::to_string(StringIdentifier(block.number, i)) + "\t\"" + EscapeString(s, form) + "\"\n";
      else
        text += EscapeString(s, form) + "\n";
    }
    if (form == StringFileForm::ResourceScript) text += "END\n\n";
  }
  // The compiler reads the script in the system's code page unless told it
  // is UTF-8.
  if (beyondAscii && form == StringFileForm::ResourceScript) text.insert(0, "#pragma code_page(65001)\n");
  return text;
}

bool WriteStringTables(const CResourceModule& module, const std::optional<ResourceName>& block, const std::string& path,
                       StringFileForm form) {
  auto blocks = CollectStringBlocks(module, block);
  if (!blocks) return false;
  return WriteFileAtomically(path, ToCrLf(StringTablesText(*blocks, form)));
}

}  // namespace qm
