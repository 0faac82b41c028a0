#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <optional>

#include "platform/sim/sim_system.h"
#include "resources/file_version_info.h"
#include "resources/version_block.h"
#include "tests/host/test_bytes.h"

namespace qm {
namespace {

using test::Append16;
using test::Append32;
using test::Put16;

std::vector<uint8_t> ReadFixture(const std::string& arch, const std::string& name) {
  std::ifstream in(std::string(QM_FIXTURE_DIR) + "/" + arch + "/" + name, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

// Builds version blocks node by node, with every length overridable so that
// tests can lie about them.
struct Node {
  std::u16string key;
  std::vector<uint8_t> value;
  uint16_t type = 1;
  std::vector<Node> children;
  std::optional<uint16_t> valueLength;  // default: characters for text, bytes otherwise
  std::optional<uint16_t> length;       // default: the real size

  static Node Text(std::u16string k, std::u16string v) {
    Node n{std::move(k), {}, 1, {}, {}, {}};
    v.push_back(0);
    for (char16_t c : v) Append16(n.value, c);
    return n;
  }
  static Node Binary(std::u16string k, std::vector<uint32_t> words) {
    Node n{std::move(k), {}, 0, {}, {}, {}};
    for (uint32_t w : words) Append32(n.value, w);
    return n;
  }
  static Node Parent(std::u16string k, std::vector<Node> c, uint16_t t = 1) {
    return Node{std::move(k), {}, t, std::move(c), {}, {}};
  }
};

void Align(std::vector<uint8_t>& out) {
  while (out.size() % 4) out.push_back(0);
}

void Write(const Node& node, std::vector<uint8_t>& out) {
  const size_t start = out.size();
  out.resize(start + 6);
  for (char16_t c : node.key) Append16(out, c);
  out.push_back(0);
  out.push_back(0);
  Align(out);
  out.insert(out.end(), node.value.begin(), node.value.end());
  for (const auto& child : node.children) {
    Align(out);
    Write(child, out);
  }
  const auto realLength = static_cast<uint16_t>(out.size() - start);
  const auto valueLength = static_cast<uint16_t>(node.type ? node.value.size() / 2 : node.value.size());
  Put16(out, start, node.length.value_or(realLength));
  Put16(out, start + 2, node.valueLength.value_or(valueLength));
  Put16(out, start + 4, node.type);
}

std::vector<uint8_t> Serialize(const Node& root) {
  std::vector<uint8_t> out;
  Write(root, out);
  return out;
}

Node FixedInfo() {
  return Node::Binary(u"VS_VERSION_INFO", {FixedFileInfo::kSignature, 0x00010000, 0x00050001, 0x0A280000, 0x00010002,
                                           0x00030004, 0x3F, 0, 0x40004, 1, 0, 0, 0});
}

// A well-formed block: fixed part, one string table, one translation.
Node GoodBlock() {
  Node root = FixedInfo();
  root.children = {
      Node::Parent(u"StringFileInfo", {Node::Parent(u"040904b0", {Node::Text(u"ProductName", u"Quill"),
                                                                  Node::Text(u"CompanyName", u"Karvonel")})}),
      Node::Parent(u"VarFileInfo", {Node::Binary(u"Translation", {0x04B00409})}, 0),
  };
  return root;
}

// Where a UTF-16 text first occurs in bytes (bytes.size() when it does not).
size_t Find16(const std::vector<uint8_t>& bytes, std::u16string_view text) {
  std::vector<uint8_t> pattern;
  for (char16_t c : text) Append16(pattern, c);
  return static_cast<size_t>(std::search(bytes.begin(), bytes.end(), pattern.begin(), pattern.end()) - bytes.begin());
}

std::string QueryText(const VersionBlock& block, std::string_view path) {
  auto value = block.Query(path);
  return value ? value->Text() : "<failed>";
}

// ---------------------------------------------------------------------------
// Fixture modules, built with both compilers.

class VersionFixture : public ::testing::TestWithParam<std::string> {
 protected:
  // Puts a fixture into the simulated file system under a Windows path.
  std::string Add(const std::string& name) {
    auto bytes = ReadFixture(GetParam(), name);
    EXPECT_FALSE(bytes.empty()) << name;
    std::string path = "C:\\fixtures\\" + name;
    sim.files.files[path] = std::move(bytes);
    return path;
  }
  SimSystem sim;
};

TEST_P(VersionFixture, TwoTranslationsGiveTheirStringsInOrder) {
  CFileVersionInfo info(sim.platform, Add("version_two.exe"));
  ASSERT_EQ(info.GetOpenFailure(), VersionOpenFailure::None);
  EXPECT_EQ(info.GetTranslation(), 0x04B00409u);
  EXPECT_EQ(info.GetLanguageName(), "English (United States)");
  EXPECT_EQ(info.GetField(VersionField::ProductName), "Version Fixture");
  EXPECT_EQ(info.GetField(VersionField::OriginalFilename), "version_two.exe");
  EXPECT_EQ(info.GetField(VersionField::Comments), "http://quillmar.karvonel.example/fixtures");
  EXPECT_EQ(info.GetField(VersionField::SpecialBuild), "special");
  // Missing in this table, and present with an empty value.
  EXPECT_EQ(info.GetField(VersionField::LegalTrademarks), "");
  EXPECT_EQ(info.GetField(VersionField::PrivateBuild), "");
  EXPECT_EQ(info.GetString("NoSuchKey"), "");

  ASSERT_TRUE(info.SelectTranslation(1));
  EXPECT_EQ(info.GetTranslation(), 0x04E40C0Au);
  EXPECT_EQ(info.GetLanguageName(), "Spanish (Spain, International Sort)");
  EXPECT_EQ(info.GetField(VersionField::ProductName), "Programa de versión");
  EXPECT_EQ(info.GetField(VersionField::CompanyName), "Karvonel España");
  EXPECT_EQ(info.GetField(VersionField::LegalTrademarks), "Quillmar™");
  EXPECT_EQ(info.GetField(VersionField::SpecialBuild), "");

  // Past the table or negative: refused, the current translation stays.
  EXPECT_FALSE(info.SelectTranslation(2));
  EXPECT_FALSE(info.SelectTranslation(-1));
  EXPECT_EQ(info.GetTranslation(), 0x04E40C0Au);
  ASSERT_TRUE(info.SelectTranslation(0));
  EXPECT_EQ(info.GetField(VersionField::ProductName), "Version Fixture");
}

TEST_P(VersionFixture, FixedPartOfAnApplication) {
  CFileVersionInfo info(sim.platform, Add("version_two.exe"));
  EXPECT_EQ(info.GetField(VersionField::FixedFileVersion), "v5.1.2600.0");
  EXPECT_EQ(info.GetField(VersionField::FixedProductVersion), "v1.2.3.4");
  EXPECT_EQ(info.GetField(VersionField::FixedFileFlagsMask), "0x3f");
  EXPECT_EQ(info.GetField(VersionField::FixedFileFlags), "0xa");
  EXPECT_EQ(info.GetField(VersionField::FixedFileOS), "VOS_NT_WINDOWS32");
  EXPECT_EQ(info.GetField(VersionField::FixedFileType), "VFT_APP");
  EXPECT_EQ(info.GetField(VersionField::FixedFileSubtype), "VFT2_UNKNOWN [0x00000000]");
  EXPECT_EQ(info.GetField(VersionField::FixedFileDate), "null");
  // Indexes between and beyond the two ranges hold nothing.
  for (int index : {-1, 12, 15, 19, 28, 1000}) EXPECT_EQ(info.GetField(index), "") << index;
}

TEST_P(VersionFixture, DriverWithUnknownSubtypeAndKeysInOtherCase) {
  CFileVersionInfo info(sim.platform, Add("version_driver.dll"));
  ASSERT_EQ(info.GetTranslation(), 0x04E40409u);
  EXPECT_EQ(info.GetField(VersionField::FixedFileType), "VFT_DRV");
  EXPECT_EQ(info.GetField(VersionField::FixedFileSubtype), "VFT2_UNKNOWN [0x0000000c]");
  EXPECT_EQ(info.GetField(VersionField::FixedFileOS), "VOS_UNKNOWN [0x00000000]");
  EXPECT_EQ(info.GetField(VersionField::FixedFileVersion), "v10.0.19041.1");
  EXPECT_EQ(info.GetField(VersionField::FixedFileFlags), "0x1");
  // Stored as "productname" and "FILEDESCRIPTION".
  EXPECT_EQ(info.GetField(VersionField::ProductName), "Driver Fixture");
  EXPECT_EQ(info.GetField(VersionField::FileDescription), "Driver with an unknown subtype");
  EXPECT_EQ(info.GetString("companyNAME"), "Karvonel");
}

TEST_P(VersionFixture, FontWithAFileDate) {
  CFileVersionInfo info(sim.platform, Add("version_font.dll"));
  ASSERT_EQ(info.GetOpenFailure(), VersionOpenFailure::None);
  EXPECT_EQ(info.GetField(VersionField::FixedFileType), "VFT_FONT");
  EXPECT_EQ(info.GetField(VersionField::FixedFileSubtype), "VFT2_FONT_TRUETYPE");
  EXPECT_EQ(info.GetField(VersionField::FixedFileOS), "VOS_DOS_WINDOWS16");
  EXPECT_EQ(info.GetField(VersionField::FixedFileVersion), "v3.0.0.1");
  // The simulated locale shows dates in UTC.
  EXPECT_EQ(info.GetField(VersionField::FixedFileDate), "14/07/2009 12:34:56");
  EXPECT_EQ(info.GetField(VersionField::ProductName), "Fuente de prueba");
}

TEST_P(VersionFixture, BlockWithoutTranslationAnswersNothing) {
  CFileVersionInfo info(sim.platform, Add("version_notrans.dll"));
  EXPECT_EQ(info.GetOpenFailure(), VersionOpenFailure::NoTranslation);
  EXPECT_FALSE(info.Open(info.GetPath()));
  EXPECT_EQ(info.GetTranslation(), 0u);
  EXPECT_FALSE(info.SelectTranslation(0));
  for (int index = 0; index < 30; ++index) EXPECT_EQ(info.GetField(index), "") << index;
}

TEST_P(VersionFixture, ModuleWithoutVersionResource) {
  CFileVersionInfo info(sim.platform, Add("empty.dll"));
  EXPECT_EQ(info.GetOpenFailure(), VersionOpenFailure::NoVersionResource);
  for (int index = 0; index < 30; ++index) EXPECT_EQ(info.GetField(index), "") << index;
}

TEST_P(VersionFixture, ReopeningReplacesTheBlockAndAFailureDropsIt) {
  CFileVersionInfo info(sim.platform, Add("version_two.exe"));
  ASSERT_TRUE(info.SelectTranslation(1));
  EXPECT_TRUE(info.Open(Add("version_driver.dll")));
  EXPECT_EQ(info.GetTranslation(), 0x04E40409u);
  EXPECT_EQ(info.GetField(VersionField::ProductName), "Driver Fixture");

  // A file without version data must not show the previous file's fields;
  // the translation stays, as after any failed selection.
  EXPECT_FALSE(info.Open(Add("empty.dll")));
  EXPECT_EQ(info.GetPath(), "C:\\fixtures\\empty.dll");
  EXPECT_EQ(info.GetTranslation(), 0x04E40409u);
  EXPECT_EQ(info.GetField(VersionField::ProductName), "");
  EXPECT_EQ(info.GetField(VersionField::FixedFileType), "");

  EXPECT_FALSE(info.Open("C:\\fixtures\\missing.dll"));
  EXPECT_EQ(info.GetOpenFailure(), VersionOpenFailure::CannotRead);
  EXPECT_TRUE(info.Open(Add("version_font.dll")));
  EXPECT_EQ(info.GetField(VersionField::FixedFileType), "VFT_FONT");
}

TEST_P(VersionFixture, EmptyPathReadsTheProgramItself) {
  sim.files.files[sim.files.modulePath] = ReadFixture(GetParam(), "version_two.exe");
  CFileVersionInfo info(sim.platform);
  EXPECT_EQ(info.GetPath(), sim.files.modulePath);
  EXPECT_EQ(info.GetField(VersionField::LegalCopyright), "Copyright (C) 2026 Karvonel");
  CFileVersionInfo again(sim.platform, "");
  EXPECT_EQ(again.GetField(VersionField::InternalName), "version_two");
}

TEST_P(VersionFixture, DamagedModulesAreRefusedCleanly) {
  const auto good = ReadFixture(GetParam(), "version_two.exe");
  ASSERT_FALSE(good.empty());
  // Cut at many places, from inside the headers to just short of the end:
  // every cut either still finds the block (it lies before the cut) or fails.
  for (size_t cut : {size_t{0}, size_t{2}, size_t{64}, size_t{300}, good.size() / 2, good.size() - 1}) {
    sim.files.files["C:\\cut.exe"] = std::vector<uint8_t>(good.begin(), good.begin() + static_cast<long>(cut));
    CFileVersionInfo info(sim.platform, "C:\\cut.exe");
    if (info.GetOpenFailure() == VersionOpenFailure::None) {
      EXPECT_EQ(info.GetField(VersionField::ProductName), "Version Fixture") << cut;
    } else {
      EXPECT_EQ(info.GetField(VersionField::ProductName), "") << cut;
    }
  }
  sim.files.files["C:\\text.exe"] = {'n', 'o', 't', ' ', 'a', ' ', 'P', 'E'};
  CFileVersionInfo text(sim.platform, "C:\\text.exe");
  EXPECT_EQ(text.GetOpenFailure(), VersionOpenFailure::NotAModule);
}

INSTANTIATE_TEST_SUITE_P(BothArchitectures, VersionFixture, ::testing::Values("x86_64", "i686"));

// ---------------------------------------------------------------------------
// Names of the fixed part's codes.

TEST(VersionCodeNames, KnownAndUnknownValues) {
  EXPECT_EQ(FileOsName(0x00040004), "VOS_NT_WINDOWS32");
  EXPECT_EQ(FileOsName(0x00010004), "VOS_DOS_WINDOWS32");
  EXPECT_EQ(FileOsName(0), "VOS_UNKNOWN [0x00000000]");
  EXPECT_EQ(FileOsName(0x00040001), "VOS_UNKNOWN [0x00040001]");
  EXPECT_EQ(FileTypeName(7), "VFT_STATIC_LIB");
  EXPECT_EQ(FileTypeName(0), "VFT_UNKNOWN [0x00000000]");
  EXPECT_EQ(FileTypeName(6), "VFT_UNKNOWN [0x00000006]");
  EXPECT_EQ(FileTypeName(0xFFFFFFFF), "VFT_UNKNOWN [0xffffffff]");
  // Subtypes are named only for drivers and fonts.
  EXPECT_EQ(FileSubtypeName(3, 10), "VFT2_DRV_COMM");
  EXPECT_EQ(FileSubtypeName(3, 0), "VFT2_UNKNOWN [0x00000000]");
  EXPECT_EQ(FileSubtypeName(3, 11), "VFT2_UNKNOWN [0x0000000b]");
  EXPECT_EQ(FileSubtypeName(4, 1), "VFT2_FONT_RASTER");
  EXPECT_EQ(FileSubtypeName(4, 4), "VFT2_UNKNOWN [0x00000004]");
  EXPECT_EQ(FileSubtypeName(1, 0), "VFT2_UNKNOWN [0x00000000]");
  EXPECT_EQ(FileSubtypeName(2, 3), "VFT2_UNKNOWN [0x00000003]");
  EXPECT_EQ(FileSubtypeName(5, 1), "VFT2_UNKNOWN [0x00000001]");
}

// ---------------------------------------------------------------------------
// Hand-made blocks.

TEST(VersionBlock, QueriesAWellFormedBlock) {
  const auto bytes = Serialize(GoodBlock());
  auto block = VersionBlock::Parse(ByteView(bytes));
  ASSERT_TRUE(block);
  EXPECT_EQ(QueryText(*block, "\\StringFileInfo\\040904b0\\ProductName"), "Quill");
  // Empty components are skipped and keys match in any case.
  EXPECT_EQ(QueryText(*block, "\\\\stringfileinfo\\\\040904B0\\COMPANYNAME\\"), "Karvonel");
  auto name = block->Query("\\StringFileInfo\\040904b0\\ProductName");
  ASSERT_TRUE(name);
  EXPECT_EQ(name->length, 6);  // characters with the terminator
  EXPECT_TRUE(name->isText);
  EXPECT_EQ(block->Query("\\StringFileInfo\\040904b0\\Product").error().code, ReadError::NotFound);
  EXPECT_EQ(block->Query("\\StringFileInfo\\040904b0\\ProductNameX").error().code, ReadError::NotFound);
  auto translations = block->Translations();
  ASSERT_TRUE(translations);
  EXPECT_EQ(*translations, std::vector<uint32_t>{0x04B00409});
  auto fixed = block->Fixed();
  ASSERT_TRUE(fixed);
  EXPECT_EQ(fixed->dwFileVersionMS, 0x00050001u);
  EXPECT_EQ(fixed->dwFileOS, 0x40004u);
  auto root = block->Root();
  ASSERT_TRUE(root);
  auto children = block->Children(*root);
  ASSERT_TRUE(children);
  ASSERT_EQ(children->size(), 2u);
  EXPECT_EQ((*children)[1].key, u"VarFileInfo");
}

TEST(VersionBlock, RootLengthsAreChecked) {
  auto bytes = Serialize(GoodBlock());
  // Exactly the root's length: accepted; one byte short: refused.
  EXPECT_TRUE(VersionBlock::Parse(ByteView(bytes)));
  EXPECT_EQ(VersionBlock::Parse(ByteView(bytes.data(), bytes.size() - 1)).error().code, ReadError::OutOfBounds);
  // Trailing bytes after the root are not part of the block.
  auto longer = bytes;
  longer.resize(bytes.size() + 40, 0xEE);
  auto block = VersionBlock::Parse(ByteView(longer));
  ASSERT_TRUE(block);
  EXPECT_EQ(block->bytes().size(), bytes.size());

  EXPECT_FALSE(VersionBlock::Parse(ByteView()));
  EXPECT_FALSE(VersionBlock::Parse(ByteView(bytes.data(), 1)));
  auto tiny = bytes;
  Put16(tiny, 0, 5);
  EXPECT_EQ(VersionBlock::Parse(ByteView(tiny)).error().code, ReadError::BadValue);
  Put16(tiny, 0, 0xFFFF);
  EXPECT_EQ(VersionBlock::Parse(ByteView(tiny)).error().code, ReadError::OutOfBounds);
  // A key without its terminator inside the root.
  const std::vector<uint8_t> unterminated = {12, 0, 0, 0, 0, 0, 'V', 0, 'S', 0, '_', 0};
  EXPECT_FALSE(VersionBlock::Parse(ByteView(unterminated)));
  // The 16-bit form starts its ANSI key where wType would be.
  const std::vector<uint8_t> sixteenBit = {20,  0,   0,   0,   'V', 'S', '_', 'V', 'E', 'R',
                                           'S', 'I', 'O', 'N', '_', 'I', 'N', 'F', 'O', 0};
  EXPECT_EQ(VersionBlock::Parse(ByteView(sixteenBit)).error().code, ReadError::BadSignature);
}

TEST(VersionBlock, EveryTruncationFailsOrAnswersWithinItsBytes) {
  const auto bytes = Serialize(GoodBlock());
  for (size_t cut = 0; cut < bytes.size(); ++cut) {
    // Copy so that AddressSanitizer sees a read past the cut.
    std::vector<uint8_t> prefix(bytes.begin(), bytes.begin() + static_cast<long>(cut));
    EXPECT_FALSE(VersionBlock::Parse(ByteView(prefix))) << cut;
    // The root claims its old length but the bytes stop: refused.
    auto shortened = prefix;
    if (cut >= 2) Put16(shortened, 0, static_cast<uint16_t>(cut));
    auto block = VersionBlock::Parse(ByteView(shortened));
    if (block) {
      (void)block->Query("\\StringFileInfo\\040904b0\\CompanyName");
      (void)block->Translations();
      (void)block->Fixed();
    }
  }
}

TEST(VersionBlock, ChildLengthsAreCheckedAgainstTheParent) {
  Node root = GoodBlock();
  // The string table's second entry claims more than its table holds.
  root.children[0].children[0].children[1].length = 0x400;
  auto bytes = Serialize(root);
  auto block = VersionBlock::Parse(ByteView(bytes));
  ASSERT_TRUE(block);
  EXPECT_EQ(QueryText(*block, "\\StringFileInfo\\040904b0\\ProductName"), "Quill");
  EXPECT_EQ(block->Query("\\StringFileInfo\\040904b0\\CompanyName").error().code, ReadError::OutOfBounds);
  EXPECT_TRUE(block->Translations());

  // A length below the header's size.
  root = GoodBlock();
  root.children[0].children[0].children[0].length = 4;
  bytes = Serialize(root);
  block = VersionBlock::Parse(ByteView(bytes));
  ASSERT_TRUE(block);
  EXPECT_EQ(block->Query("\\StringFileInfo\\040904b0\\CompanyName").error().code, ReadError::BadValue);

  // A zero length ends the list, as it does for the platform.
  root = GoodBlock();
  root.children[0].children[0].children[0].length = 0;
  bytes = Serialize(root);
  block = VersionBlock::Parse(ByteView(bytes));
  ASSERT_TRUE(block);
  EXPECT_EQ(block->Query("\\StringFileInfo\\040904b0\\CompanyName").error().code, ReadError::NotFound);
}

TEST(VersionBlock, ValuesAreCutAtTheirNodesEnd) {
  Node root = GoodBlock();
  // "Quill" claims 200 characters: the text stops at its terminator and the
  // bytes handed out stop at the node's end, not in the next node.
  root.children[0].children[0].children[0].valueLength = 200;
  // The translation table claims two entries but holds one.
  root.children[1].children[0].valueLength = 8;
  auto bytes = Serialize(root);
  auto block = VersionBlock::Parse(ByteView(bytes));
  ASSERT_TRUE(block);
  auto name = block->Query("\\StringFileInfo\\040904b0\\ProductName");
  ASSERT_TRUE(name);
  EXPECT_EQ(name->Text(), "Quill");
  EXPECT_EQ(name->length, 200);
  EXPECT_LE(name->bytes.size(), 12u);
  auto translations = block->Translations();
  ASSERT_TRUE(translations);
  EXPECT_EQ(translations->size(), 1u);
  EXPECT_TRUE(block->Fixed());

  // A fixed part shorter than a VS_FIXEDFILEINFO, or none at all, is not
  // read; the strings behind it still are.
  for (size_t words : {size_t{5}, size_t{0}}) {
    root = GoodBlock();
    root.value.resize(4 * words);
    bytes = Serialize(root);
    block = VersionBlock::Parse(ByteView(bytes));
    ASSERT_TRUE(block);
    EXPECT_FALSE(block->Fixed()) << words;
    EXPECT_EQ(QueryText(*block, "\\StringFileInfo\\040904b0\\ProductName"), "Quill");
  }
}

TEST(VersionBlock, KeysAndPathsAreBounded) {
  // A chain of nested nodes deeper than any real block.
  Node chain = Node::Text(u"k", u"bottom");
  std::string path;
  for (int depth = 0; depth < 12; ++depth) chain = Node::Parent(u"k", {chain});
  for (int depth = 0; depth < 13; ++depth) path += "\\k";
  auto bytes = Serialize(chain);
  auto block = VersionBlock::Parse(ByteView(bytes));
  ASSERT_TRUE(block);
  EXPECT_EQ(block->Query(path).error().code, ReadError::TooDeep);
  // Within the cap the chain is followed.
  EXPECT_TRUE(block->Query("\\k\\k\\k\\k\\k\\k\\k\\k"));

  // A key that runs to the end of its node without a terminator.
  auto good = Serialize(GoodBlock());
  const size_t at = Find16(good, u"CompanyName");
  ASSERT_NE(at, good.size());
  // Overwrite the terminator and the value with letters up to the node's end.
  const size_t nodeStart = at - 6;
  const size_t nodeLength = good[nodeStart] | size_t{good[nodeStart + 1]} << 8;
  for (size_t i = at + 2 * 11; i < nodeStart + nodeLength; ++i) good[i] = 'x';
  block = VersionBlock::Parse(ByteView(good));
  ASSERT_TRUE(block);
  EXPECT_FALSE(block->Query("\\StringFileInfo\\040904b0\\CompanyName"));
  EXPECT_EQ(QueryText(*block, "\\StringFileInfo\\040904b0\\ProductName"), "Quill");
  auto root = block->Root();
  ASSERT_TRUE(root);
  auto files = block->Children(*root);
  ASSERT_TRUE(files);
  auto tables = block->Children((*files)[0]);
  ASSERT_TRUE(tables);
  EXPECT_FALSE(block->Children((*tables)[0]));
}

TEST(VersionBlock, ReaderOverPatchedFixtureBlocks) {
  SimSystem sim;
  const auto good = ReadFixture("x86_64", "version_two.exe");
  const size_t root = Find16(good, u"VS_VERSION_INFO") - 6;
  ASSERT_LT(root, good.size());

  auto patched = good;
  // A translation table shorter than one entry selects nothing.
  Put16(patched, Find16(good, u"Translation") - 4, 2);
  sim.files.files["b.exe"] = patched;
  CFileVersionInfo none(sim.platform, "b.exe");
  EXPECT_EQ(none.GetOpenFailure(), VersionOpenFailure::NoTranslation);
  EXPECT_EQ(none.GetField(VersionField::FixedFileVersion), "");

  // The 16-bit form is refused.
  patched = good;
  Put16(patched, root + 4, 0x5356);
  sim.files.files["c.exe"] = patched;
  CFileVersionInfo old(sim.platform, "c.exe");
  EXPECT_EQ(old.GetOpenFailure(), VersionOpenFailure::DamagedBlock);
  EXPECT_EQ(old.GetOpenError().code, ReadError::BadSignature);
}

}  // namespace
}  // namespace qm
