#include "resources/accelerator_table.h"

#include "common/text.h"
#include "resources/menu_script.h"

namespace qm {

namespace {

constexpr uint64_t kEntrySize = 8;
constexpr uint16_t kScriptFlags = kAccelVirtKey | kAccelNoInvert | kAccelShift | kAccelControl | kAccelAlt;

// A key the compiler reads back as itself from a one-character string: a
// quote or backslash would start an escape, "^" a Control combination, and
// anything outside printable ASCII depends on code pages.
bool QuotableKey(uint16_t key) { return key > 0x20 && key < 0x7F && key != '"' && key != '\\' && key != '^'; }

}  // namespace

Result<std::vector<Accelerator>> ParseAcceleratorTable(ByteView data) {
  std::vector<Accelerator> table;
  // One entry per 8 bytes: the data's size caps the loop.
  for (uint64_t at = 0;; at += kEntrySize) {
    QM_TRY(entry, data.sub(at, kEntrySize));
    const uint16_t flags = entry.get<uint16_t>(0);
    table.push_back({static_cast<uint16_t>(flags & ~kAccelLast), entry.get<uint16_t>(2), entry.get<uint16_t>(4)});
    if (flags & kAccelLast) return table;
  }
}

std::optional<std::string> AcceleratorScriptGap(const std::vector<Accelerator>& table) {
  for (size_t i = 0; i < table.size(); ++i) {
    const Accelerator& entry = table[i];
    if (entry.flags & ~kScriptFlags)
      return Format("entry %llu has flags 0x%04x that the script cannot write", static_cast<unsigned long long>(i + 1),
                    unsigned{entry.flags});
    if (!(entry.flags & kAccelVirtKey) && (entry.flags & (kAccelShift | kAccelControl)))
      return Format("entry %llu has Shift or Control on a character key", static_cast<unsigned long long>(i + 1));
  }
  return std::nullopt;
}

std::string AcceleratorScriptText(const std::vector<Accelerator>& table, const ResourceName& name) {
  bool beyondAscii = false;
  std::string text =
      (name.isString ? QuoteScriptText(name.name, beyondAscii) : std::to_string(name.id)) + " ACCELERATORS\nBEGIN\n";
  for (const Accelerator& entry : table) {
    const bool virtKey = entry.flags & kAccelVirtKey;
    // A number names a character key unless VIRTKEY follows.
    std::string line = "  ";
    if (!virtKey && QuotableKey(entry.key))
      line += std::string("\"") + static_cast<char>(entry.key) + "\"";
    else
      line += std::to_string(entry.key);
    line += ", " + std::to_string(entry.id) + (virtKey ? ", VIRTKEY" : ", ASCII");
    if (entry.flags & kAccelNoInvert) line += ", NOINVERT";
    if (entry.flags & kAccelAlt) line += ", ALT";
    if (entry.flags & kAccelShift) line += ", SHIFT";
    if (entry.flags & kAccelControl) line += ", CONTROL";
    text += line + "\n";
  }
  return text + "END\n";
}

}  // namespace qm
