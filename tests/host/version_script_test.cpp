#include "resources/version_script.h"

#include <gtest/gtest.h>

#include <fstream>

#include "common/text.h"
#include "resources/resource_types.h"
#include "tests/host/rc_compiler.h"
#include "tests/host/test_bytes.h"

namespace qm {
namespace {

using test::ReadFileBytes;

// The version block of a module (its first one), copied out.
std::optional<VersionBlock> ModuleVersion(const std::string& path) {
  const auto bytes = ReadFileBytes(path);
  auto image = PeImage::Parse(ByteView(bytes));
  if (!image) return std::nullopt;
  auto resources = ResourceDirectory::Parse(*image);
  if (!resources) return std::nullopt;
  const ResourceType* type = resources->FindType(ResourceName::Number(kRtVersion));
  if (!type || type->items.empty()) return std::nullopt;
  auto data = ResourceDirectory::Data(*image, type->items.front().languages.front());
  if (!data) return std::nullopt;
  auto block = VersionBlock::Parse(*data);
  if (!block) return std::nullopt;
  return *block;
}

// What a reader gets from the block: every fixed field, and every node as
// its path with its text (up to the first NUL) or its bytes. Lengths and
// padding are layout, which the compiler may choose differently.
std::vector<std::string> Decoded(const VersionBlock& block) {
  std::vector<std::string> lines;
  if (auto fixed = block.Fixed()) {
    const FixedFileInfo& f = *fixed;
    lines.push_back(Format("fixed %08x %08x %08x.%08x %08x.%08x %x %x %x %x %x %08x.%08x", f.dwSignature,
                           f.dwStrucVersion, f.dwFileVersionMS, f.dwFileVersionLS, f.dwProductVersionMS,
                           f.dwProductVersionLS, f.dwFileFlagsMask, f.dwFileFlags, f.dwFileOS, f.dwFileType,
                           f.dwFileSubtype, f.dwFileDateMS, f.dwFileDateLS));
  }
  struct Walk {
    const VersionBlock& block;
    std::vector<std::string>& lines;
    void Node(const VersionNode& node, const std::string& path, size_t depth) {
      const std::string here = path + "\\" + Utf16ToUtf8(node.key);
      auto children = block.Children(node);
      if (!children) {
        lines.push_back(here + " damaged");
        return;
      }
      // A block's own type word is layout; a value's says text or bytes.
      if (depth > 0 && !children->empty()) lines.push_back(here);
      if (depth > 0 && children->empty()) {
        std::string line = here + (node.wType ? " text " : " bytes ");
        if (node.wType)
          line += VersionValue{node.value, node.wValueLength, true}.Text();
        else
          for (uint8_t byte : node.value.bytes()) line += Format("%02x", unsigned{byte});
        lines.push_back(line);
      }
      for (const VersionNode& child : *children) Node(child, here, depth + 1);
    }
  } walk{block, lines};
  if (auto root = block.Root()) walk.Node(*root, "", 0);
  return lines;
}

std::optional<VersionBlock> CompileBack(const test::TempDir& dir, const std::string& script) {
  const auto path = dir.path() / "version.rc";
  std::ofstream(path, std::ios::binary) << "#pragma code_page(65001)\n" << script;
  std::string messages;
  const std::string dll = test::CompileScriptToDll(path, &messages);
  EXPECT_FALSE(dll.empty()) << script << messages;
  EXPECT_EQ(messages, "") << script;
  if (dll.empty()) return std::nullopt;
  return ModuleVersion(dll);
}

TEST(VersionScript, TwoTranslationsCompileBackToTheSameBlock) {
  if (!test::HaveMinGw()) GTEST_SKIP() << "MinGW windres is not installed";
  test::TempDir dir("version-two");
  for (const char* arch : {"x86_64", "i686"}) {
    auto block = ModuleVersion(std::string(QM_FIXTURE_DIR) + "/" + arch + "/version_two.exe");
    ASSERT_TRUE(block) << arch;
    EXPECT_EQ(VersionScriptGap(*block), std::nullopt);
    auto script = VersionScriptText(*block, ResourceName::Number(1));
    ASSERT_TRUE(script);
    EXPECT_NE(script->find("FILEVERSION 5,1,2600,0\nPRODUCTVERSION 1,2,3,4\n"), std::string::npos) << *script;
    EXPECT_NE(script->find("VALUE \"Translation\", 0x0409, 0x04b0, 0x0c0a, 0x04e4\n"), std::string::npos) << *script;
    EXPECT_NE(script->find("VALUE \"LegalTrademarks\", \"Quillmar™\"\n"), std::string::npos) << *script;
    auto back = CompileBack(dir, *script);
    ASSERT_TRUE(back) << arch;
    EXPECT_EQ(Decoded(*back), Decoded(*block)) << arch;
    EXPECT_EQ(Decoded(*block).size(), 22u);  // the fixed part and 21 nodes
  }
}

TEST(VersionScript, TextsThatNeedEscapesAndANamedResourceCompileBack) {
  if (!test::HaveMinGw()) GTEST_SKIP() << "MinGW windres is not installed";
  test::TempDir dir("version-escapes");
  auto original = CompileBack(dir, R"(VERSIONINFO_X VERSIONINFO
FILEVERSION 1,2,3,4
PRODUCTVERSION 65535,0,1,65535
FILEFLAGSMASK 0x3f
FILEFLAGS 0x2
FILEOS 0x4
FILETYPE 0x3
FILESUBTYPE 0x7
BEGIN
  BLOCK "VarFileInfo"
  BEGIN
    VALUE "Translation", 0x0407, 1252
  END
  BLOCK "StringFileInfo"
  BEGIN
    BLOCK "040704e4"
    BEGIN
      VALUE "Comments", "Zitat ""eins"", Pfad C:\\Programme\\x, Zeile\nzwei"
      VALUE "Empty", ""
      VALUE "Straße", "Größe ✓"
    END
  END
END
)");
  ASSERT_TRUE(original);
  EXPECT_EQ(VersionScriptGap(*original), std::nullopt);
  const auto decoded = Decoded(*original);
  ASSERT_GE(decoded.size(), 6u);
  EXPECT_EQ(decoded[5],
            "\\VS_VERSION_INFO\\StringFileInfo\\040704e4\\Comments text Zitat \"eins\", Pfad "
            "C:\\Programme\\x, Zeile\nzwei");
  auto script = VersionScriptText(*original, ResourceName::String("VERSIONINFO_X"));
  ASSERT_TRUE(script);
  // VarFileInfo stays before StringFileInfo, as stored.
  EXPECT_LT(script->find("VarFileInfo"), script->find("StringFileInfo")) << *script;
  auto back = CompileBack(dir, *script);
  ASSERT_TRUE(back);
  EXPECT_EQ(Decoded(*back), decoded);
}

// A block built by hand: the root, its fixed part, then the children given.
std::vector<uint8_t> Node(const std::u16string& key, uint16_t type, const std::vector<uint8_t>& value,
                          uint16_t valueLength, const std::vector<std::vector<uint8_t>>& children) {
  std::vector<uint8_t> node(6, 0);
  for (char16_t c : key) test::Append16(node, c);
  test::Append16(node, 0);
  while (node.size() % 4) node.push_back(0);
  node.insert(node.end(), value.begin(), value.end());
  while (node.size() % 4) node.push_back(0);
  for (const auto& child : children) {
    node.insert(node.end(), child.begin(), child.end());
    while (node.size() % 4) node.push_back(0);
  }
  test::Put16(node, 0, static_cast<uint32_t>(node.size()));
  test::Put16(node, 2, valueLength);
  test::Put16(node, 4, type);
  return node;
}

std::vector<uint8_t> Fixed(uint32_t dateLs = 0) {
  std::vector<uint8_t> fixed;
  for (uint32_t field : {0xFEEF04BDu, 0x10000u, 1u, 2u, 3u, 4u, 0x3Fu, 0u, 4u, 1u, 0u, 0u, dateLs})
    test::Append32(fixed, field);
  return fixed;
}

std::optional<std::string> GapOf(const std::vector<uint8_t>& bytes) {
  auto block = VersionBlock::Parse(ByteView(bytes));
  EXPECT_TRUE(block);
  return block ? VersionScriptGap(*block) : std::optional<std::string>("unreadable");
}

TEST(VersionScript, ShapesTheStatementCannotSayAreNamed) {
  const auto translation = Node(u"Translation", 0, {9, 4, 0xB0, 4}, 4, {});
  const auto vars = Node(u"VarFileInfo", 1, {}, 0, {translation});
  EXPECT_EQ(GapOf(Node(u"VS_VERSION_INFO", 0, Fixed(), 52, {vars})), std::nullopt);
  EXPECT_EQ(GapOf(Node(u"VS_VERSION_INFO", 0, Fixed(7), 52, {vars})), "the fixed part has a file date");
  EXPECT_EQ(GapOf(Node(u"VS_VERSION_INFO", 0, {}, 0, {vars})), "the block has no fixed part");
  EXPECT_EQ(GapOf(Node(u"VS_VERSION_INFO", 0, Fixed(), 52, {vars, Node(u"Extra", 1, {}, 0, {})})),
            "a block \"Extra\" that the script has no words for");
  const auto odd = Node(u"VarFileInfo", 1, {}, 0, {Node(u"Translation", 0, {9, 4, 0xB0}, 3, {})});
  EXPECT_EQ(GapOf(Node(u"VS_VERSION_INFO", 0, Fixed(), 52, {odd})),
            "\"Translation\" is not a list of language and code page pairs");
  const auto binaryString =
      Node(u"StringFileInfo", 1, {}, 0, {Node(u"040904b0", 1, {}, 0, {Node(u"Name", 0, {'a', 0}, 2, {})})});
  EXPECT_EQ(GapOf(Node(u"VS_VERSION_INFO", 0, Fixed(), 52, {binaryString})),
            "string \"Name\" is stored as binary data");
}

}  // namespace
}  // namespace qm
