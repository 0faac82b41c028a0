#include "common/atomic_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "common/tree_model.h"
#include "tests/host/test_bytes.h"

namespace qm {
namespace {

using test::ReadFileText;

class AtomicFile : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() / ("qm-atomic-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override {
    std::filesystem::permissions(dir_, std::filesystem::perms::owner_all);
    std::filesystem::remove_all(dir_);
  }
  std::filesystem::path dir_;
};

TEST_F(AtomicFile, ReplacesAnExistingFileAndLeavesNoTemporary) {
  const auto target = dir_ / "Menu.rc";
  std::ofstream(target) << "old";
  ASSERT_TRUE(WriteFileAtomically(target.string(), "new contents"));
  EXPECT_EQ(ReadFileText(target), "new contents");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_), {}), 1);
}

TEST_F(AtomicFile, AFailedWriteKeepsTheOldFile) {
  const auto missing = dir_ / "no-such-folder" / "Strings.rc";
  EXPECT_FALSE(WriteFileAtomically(missing.string(), "x"));

  if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
  const auto target = dir_ / "Strings.txt";
  std::ofstream(target) << "keep me";
  std::filesystem::permissions(dir_, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  EXPECT_FALSE(WriteFileAtomically(target.string(), "lost?"));
  EXPECT_EQ(ReadFileText(target), "keep me");
}

TEST(CrLf, EveryLineEndsInCarriageReturnLineFeedOnce) {
  EXPECT_EQ(ToCrLf("a\nb\r\nc\n"), "a\r\nb\r\nc\r\n");
  EXPECT_EQ(ToCrLf("\n\n"), "\r\n\r\n");
}

TEST(TreeModel, PrintsIndentedLinesAndEscapedJson) {
  TreeNode root{"root \"q\"", 27, {}, {}};
  root.Add("child", 25).Add("grand\tchild", 25);
  root.children.front().json.emplace_back("size", "12");
  std::ostringstream text, json;
  PrintTree(text, root);
  PrintTreeJson(json, root);
  EXPECT_EQ(text.str(), "root \"q\"\n  child\n    grand\tchild\n");
  EXPECT_EQ(json.str(),
            "{\"text\": \"root \\\"q\\\"\", \"image\": 27, \"children\": [{\"text\": \"child\", \"image\": 25, "
            "\"size\": 12, \"children\": [{\"text\": \"grand\\tchild\", \"image\": 25, \"children\": []}]}]}");
}

}  // namespace
}  // namespace qm
