#include "resources/string_block.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>

#include "platform/platform.h"
#include "rc_compiler.h"
#include "resource_image.h"
#include "resources/resource_module.h"
#include "resources/resource_types.h"
#include "tests/host/test_bytes.h"

namespace qm {
namespace {

std::vector<uint8_t> Block(const std::vector<std::u16string>& strings) {
  std::vector<uint8_t> bytes;
  for (size_t i = 0; i < kStringsPerBlock; ++i) {
    const std::u16string s = i < strings.size() ? strings[i] : u"";
    test::Append16(bytes, static_cast<uint32_t>(s.size()));
    for (char16_t c : s) test::Append16(bytes, c);
  }
  return bytes;
}

using test::ReadFileText;

TEST(StringBlock, DecodesSixteenStringsAsUtf8KeepingAbsentOnesInPlace) {
  const auto bytes = Block({u"cero", u"", u"", u"", u"", u"\u00e9t\u00e9 \u65e5\u672c", u"", u"", u"", u"", u"", u"",
                            u"", u"", u"", u"\U0001F600"});
  auto strings = DecodeStringBlock(ByteView(bytes));
  ASSERT_TRUE(strings.ok());
  ASSERT_EQ(strings->size(), 16u);
  EXPECT_EQ((*strings)[0], "cero");
  EXPECT_EQ((*strings)[1], "");
  // é is U+00E9: its UTF-8 form, not the narrowed byte 0xE9.
  EXPECT_EQ((*strings)[5], "\xC3\xA9t\xC3\xA9 \xE6\x97\xA5\xE6\x9C\xAC");
  EXPECT_EQ((*strings)[15], "\xF0\x9F\x98\x80");
  EXPECT_EQ(StringIdentifier(1, 5), 5u);
  EXPECT_EQ(StringIdentifier(2, 0), 16u);
  EXPECT_EQ(StringIdentifier(4096, 15), 65535u);
}

TEST(StringBlock, ABlockEndingExactlyAtTheEndIsReadAndOneUnitShortIsRefused) {
  auto bytes = Block({u"a", u"", u"", u"", u"", u"", u"", u"", u"", u"", u"", u"", u"", u"", u"", u"xyz"});
  EXPECT_TRUE(DecodeStringBlock(ByteView(bytes)).ok());
  bytes.pop_back();
  auto shortBlock = DecodeStringBlock(ByteView(bytes));
  ASSERT_FALSE(shortBlock.ok());
  EXPECT_EQ(shortBlock.error().code, ReadError::OutOfBounds);
  // A count at the top of its range with little data behind it.
  auto huge = Block({});
  test::Put16(huge, 0, 0xFFFF);
  EXPECT_FALSE(DecodeStringBlock(ByteView(huge)).ok());
  // Fewer than sixteen counts.
  std::vector<uint8_t> fifteen(30, 0);
  EXPECT_FALSE(DecodeStringBlock(ByteView(fifteen)).ok());
}

TEST(StringBlock, TheListShowsLineFeedsAsBackslashN) {
  EXPECT_EQ(StringListText("uno\ndos\n"), "uno\\ndos\\n");
  EXPECT_EQ(StringListText("a\\b\tc"), "a\\b\tc");
}

TEST(StringTablesText, EscapesSoThatACompilerReadsTheSameText) {
  StringBlock block{1, std::vector<std::string>(16)};
  block.strings[0] = "Di \"hola\"";
  block.strings[5] = "C:\\dir\nsigue\r\tfin";
  StringBlock second{2, std::vector<std::string>(16)};
  second.strings[0] = "x";
  const std::vector<StringBlock> blocks{block, second};
  EXPECT_EQ(StringTablesText(blocks, StringFileForm::ResourceScript),
            "STRINGTABLE DISCARDABLE\nBEGIN\n"
            "\t0\t\"Di \"\"hola\"\"\"\n"
            "\t5\t\"C:\\\\dir\\nsigue\\r\\tfin\"\n"
            "END\n\n"
            "STRINGTABLE DISCARDABLE\nBEGIN\n\t16\t\"x\"\nEND\n\n");
  // The plain text has no identifiers and keeps backslashes as they are.
  EXPECT_EQ(StringTablesText(blocks, StringFileForm::PlainText), "Di \"\"hola\"\"\nC:\\dir\\nsigue\\r\\tfin\nx\n");
}

TEST(StringTablesText, AnEmptyBlockStillHasItsStatementAndNonAsciiNeedsTheUtf8Pragma) {
  const std::vector<StringBlock> empty{{3, std::vector<std::string>(16)}};
  EXPECT_EQ(StringTablesText(empty, StringFileForm::ResourceScript), "STRINGTABLE DISCARDABLE\nBEGIN\nEND\n\n");
  std::vector<StringBlock> spanish{{1, std::vector<std::string>(16)}};
  spanish[0].strings[1] = "Ñandú";
  EXPECT_EQ(StringTablesText(spanish, StringFileForm::ResourceScript),
            "#pragma code_page(65001)\nSTRINGTABLE DISCARDABLE\nBEGIN\n\t1\t\"Ñandú\"\nEND\n\n");
  EXPECT_EQ(StringTablesText(spanish, StringFileForm::PlainText), "Ñandú\n");
}

class StringWriter : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(module_.Enumerate(std::string(QM_FIXTURE_DIR) + "/x86_64/resources.dll")); }
  CResourceModule module_{*SystemPlatform().files};
  test::TempDir dir_{"strings"};
};

TEST_F(StringWriter, WritesEveryNumberedBlockWithCrLfLineEnds) {
  const auto path = dir_.path() / "Strings.txt";
  ASSERT_TRUE(module_.WriteStringTables(std::nullopt, path.string(), false));
  EXPECT_EQ(ReadFileText(path),
            "Primero\r\nComillas \"\"dentro\"\" y \\barra\\\r\nLínea uno\\nLínea dos\\ttab\\rfin\r\n"
            "Segundo bloque\r\nÑandú 日本語 Ελληνικά\r\n");
  const auto one = dir_.path() / "One.rc";
  ASSERT_TRUE(module_.WriteStringTables(ResourceName::Number(2), one.string(), true));
  EXPECT_EQ(ReadFileText(one), "STRINGTABLE DISCARDABLE\r\nBEGIN\r\n\t16\t\"Segundo bloque\"\r\nEND\r\n\r\n");
  EXPECT_FALSE(module_.WriteStringTables(ResourceName::Number(9), one.string(), true));
}

TEST_F(StringWriter, AFailedWriteLeavesTheExistingFileUntouched) {
  const auto path = dir_.path() / "Strings.rc";
  std::ofstream(path) << "old";
  // A missing block fails before anything is written.
  EXPECT_FALSE(module_.WriteStringTables(ResourceName::Number(9), path.string(), true));
  EXPECT_EQ(ReadFileText(path), "old");
  EXPECT_FALSE(module_.WriteStringTables(std::nullopt, (dir_.path() / "missing" / "Strings.rc").string(), true));
  if (::geteuid() != 0) {
    ::chmod(dir_.path().c_str(), 0555);
    EXPECT_FALSE(module_.WriteStringTables(std::nullopt, path.string(), true));
    ::chmod(dir_.path().c_str(), 0755);
    EXPECT_EQ(ReadFileText(path), "old");
  }
}

TEST_F(StringWriter, AWrittenScriptCompilesBackToTheSameStrings) {
  if (!test::HaveMinGw()) GTEST_SKIP() << "no MinGW resource compiler";
  const auto script = dir_.path() / "Strings.rc";
  ASSERT_TRUE(module_.WriteStringTables(std::nullopt, script.string(), true));
  const std::string dll = test::CompileScriptToDll(script);
  ASSERT_FALSE(dll.empty()) << ReadFileText(script);
  CResourceModule back(*SystemPlatform().files);
  ASSERT_TRUE(back.Enumerate(dll));
  auto original = CollectStringBlocks(module_, std::nullopt);
  auto compiled = CollectStringBlocks(back, std::nullopt);
  ASSERT_TRUE(original.ok() && compiled.ok());
  ASSERT_EQ(original->size(), compiled->size());
  for (size_t b = 0; b < original->size(); ++b) {
    EXPECT_EQ((*original)[b].number, (*compiled)[b].number);
    EXPECT_EQ((*original)[b].strings, (*compiled)[b].strings);
  }
}

}  // namespace
}  // namespace qm
