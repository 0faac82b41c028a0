#include "resources/version_script.h"

#include "common/text.h"
#include "resources/menu_script.h"

namespace qm {

namespace {

// What the resource compiler writes into every block it makes.
constexpr uint32_t kCompilerStrucVersion = 0x00010000;
constexpr char16_t kRootKey[] = u"VS_VERSION_INFO";
constexpr char16_t kStringFileInfo[] = u"StringFileInfo";
constexpr char16_t kVarFileInfo[] = u"VarFileInfo";

class VersionWriter {
 public:
  explicit VersionWriter(const VersionBlock& block) : block_(block) {}

  Result<std::string> Write(const ResourceName& name) {
    QM_TRY(root, block_.Root());
    if (root.key != kRootKey) Gap("the root is not named VS_VERSION_INFO");
    std::string text =
        (name.isString ? QuoteScriptText(name.name, beyondAscii_) : std::to_string(name.id)) + " VERSIONINFO\n";
    text += FixedLines();
    text += "BEGIN\n";
    auto children = block_.Children(root);
    if (!children) {
      Gap("the block is damaged (" + DescribeError(children.error()) + ")");
    } else {
      for (const VersionNode& child : *children) {
        if (child.key == kStringFileInfo && child.value.empty())
          text += StringFileInfo(child);
        else if (child.key == kVarFileInfo && child.value.empty())
          text += VarFileInfo(child);
        else
          Gap("a block \"" + Utf16ToUtf8(child.key) + "\" that the script has no words for");
      }
    }
    return text + "END\n";
  }

  const std::optional<std::string>& gap() const { return gap_; }

 private:
  void Gap(std::string why) {
    if (!gap_) gap_ = std::move(why);
  }

  std::string Quoted(const std::u16string& text) { return QuoteScriptText(Utf16ToUtf8(text), beyondAscii_); }

  std::string FixedLines() {
    auto fixed = block_.Fixed();
    FixedFileInfo info;
    if (!fixed)
      Gap("the block has no fixed part");
    else
      info = *fixed;
    if (fixed && info.dwSignature != FixedFileInfo::kSignature) Gap("the fixed part's signature is not 0xFEEF04BD");
    if (fixed && info.dwStrucVersion != kCompilerStrucVersion)
      Gap(Format("the fixed part's structure version is 0x%08x", info.dwStrucVersion));
    if (info.dwFileDateMS != 0 || info.dwFileDateLS != 0) Gap("the fixed part has a file date");
    const auto version = [](uint32_t ms, uint32_t ls) {
      return Format("%u,%u,%u,%u", ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF);
    };
    return "FILEVERSION " + version(info.dwFileVersionMS, info.dwFileVersionLS) + "\nPRODUCTVERSION " +
           version(info.dwProductVersionMS, info.dwProductVersionLS) +
           Format("\nFILEFLAGSMASK 0x%x\nFILEFLAGS 0x%x\nFILEOS 0x%x\nFILETYPE 0x%x\nFILESUBTYPE 0x%x\n",
                  info.dwFileFlagsMask, info.dwFileFlags, info.dwFileOS, info.dwFileType, info.dwFileSubtype);
  }

  // Children that cannot be read are a gap; those that can are written.
  std::vector<VersionNode> ChildrenOf(const VersionNode& node) {
    auto children = block_.Children(node);
    if (children) return std::move(*children);
    Gap("\"" + Utf16ToUtf8(node.key) + "\" is damaged (" + DescribeError(children.error()) + ")");
    return {};
  }

  bool IsLeaf(const VersionNode& node) { return ChildrenOf(node).empty(); }

  std::string StringFileInfo(const VersionNode& node) {
    std::string text = "  BLOCK \"StringFileInfo\"\n  BEGIN\n";
    for (const VersionNode& table : ChildrenOf(node)) {
      if (!table.value.empty()) Gap("string table \"" + Utf16ToUtf8(table.key) + "\" has a value of its own");
      text += "    BLOCK " + Quoted(table.key) + "\n    BEGIN\n";
      for (const VersionNode& value : ChildrenOf(table)) {
        const std::string key = Utf16ToUtf8(value.key);
        if (value.wType == 0) Gap("string \"" + key + "\" is stored as binary data");
        if (!IsLeaf(value)) Gap("string \"" + key + "\" has values under it");
        const VersionValue stored{value.value, value.wValueLength, value.wType != 0};
        text += "      VALUE " + Quoted(value.key) + ", " + QuoteScriptText(stored.Text(), beyondAscii_) + "\n";
      }
      text += "    END\n";
    }
    return text + "  END\n";
  }

  std::string VarFileInfo(const VersionNode& node) {
    std::string text = "  BLOCK \"VarFileInfo\"\n  BEGIN\n";
    for (const VersionNode& value : ChildrenOf(node)) {
      const std::string key = Utf16ToUtf8(value.key);
      // The statement takes pairs of 16-bit numbers (language, code page).
      if (value.wType != 0 || value.value.size() % 4 != 0 || value.value.size() != value.wValueLength)
        Gap("\"" + key + "\" is not a list of language and code page pairs");
      if (!IsLeaf(value)) Gap("\"" + key + "\" has values under it");
      std::string line = "    VALUE " + Quoted(value.key);
      for (uint64_t at = 0; at + 4 <= value.value.size(); at += 4)
        line += Format(", 0x%04x, 0x%04x", unsigned{value.value.get<uint16_t>(at)},
                       unsigned{value.value.get<uint16_t>(at + 2)});
      text += line + "\n";
    }
    return text + "  END\n";
  }

  const VersionBlock& block_;
  std::optional<std::string> gap_;
  bool beyondAscii_ = false;
};

}  // namespace

std::optional<std::string> VersionScriptGap(const VersionBlock& block) {
  VersionWriter writer(block);
  auto text = writer.Write(ResourceName::Number(1));
  if (!text) return "the block cannot be read (" + DescribeError(text.error()) + ")";
  return writer.gap();
}

Result<std::string> VersionScriptText(const VersionBlock& block, const ResourceName& name) {
  VersionWriter writer(block);
  return writer.Write(name);
}

}  // namespace qm
