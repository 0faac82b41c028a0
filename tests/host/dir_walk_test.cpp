// The directory check's walk over real folders: totals, order, links and
// the problems it reports, and cancelling.
#include "dir_check/dir_walk.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>

#include "dir_check/posix_file_tree.h"

namespace qm::dircheck {
namespace {

namespace fs = std::filesystem;

constexpr uint64_t kBigFile = 5ULL << 30;  // beyond 32 bits, sparse on disk

class DirWalkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "qm-dirwalk-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    root_ = pattern;
    fs::create_directories(root_ / "a" / "b");
    Write(root_ / "a" / "one.txt", "hello");
    Write(root_ / "a" / "b" / "two.txt", "abc");
    Write(root_ / "big.bin", "");
    ASSERT_EQ(::truncate((root_ / "big.bin").c_str(), static_cast<off_t>(kBigFile)), 0);
    fs::create_directory_symlink("..", root_ / "a" / "up");  // a cycle, if it were entered
    fs::create_symlink("nowhere", root_ / "dangling");
  }
  void TearDown() override { fs::remove_all(root_); }

  static void Write(const fs::path& path, const std::string& bytes) { std::ofstream(path) << bytes; }

  fs::path root_;
  std::atomic<bool> noCancel_{false};
};

TEST_F(DirWalkTest, CountsEveryFileOnceAndReportsTheDanglingLink) {
  PosixFileTree tree;
  const WalkResult result = WalkTree(tree, root_.string(), noCancel_);
  EXPECT_FALSE(result.cancelled);
  EXPECT_EQ(result.totals.files, 3u);
  EXPECT_EQ(result.totals.folders, 3u) << "a, a/b and the link a/up, which is not entered";
  EXPECT_EQ(result.totals.bytes, kBigFile + 5 + 3);
  ASSERT_EQ(result.files.size(), 3u);
  // A folder's own files first, then each subfolder whole, names in order.
  EXPECT_EQ(result.files[0].path, (root_ / "big.bin").string());
  EXPECT_EQ(result.files[0].size, kBigFile);
  EXPECT_EQ(result.files[1].path, (root_ / "a" / "one.txt").string());
  EXPECT_EQ(result.files[2].path, (root_ / "a" / "b" / "two.txt").string());
  EXPECT_GT(result.files[1].modified, 1600000000);
  ASSERT_EQ(result.problems.size(), 1u);
  EXPECT_EQ(result.problems[0].kind, ProblemKind::kBrokenLink);
  EXPECT_EQ(result.problems[0].path, (root_ / "dangling").string());
}

// Refuses one folder as a permission failure would, and hides one file's
// size (the tests run as root here, whom permissions do not stop).
class RefusingTree : public PosixFileTree {
 public:
  RefusingTree(std::string refusedFolder, std::string sizeless)
      : refusedFolder_(std::move(refusedFolder)), sizeless_(std::move(sizeless)) {}
  bool ListFolder(const std::string& path, std::vector<FileEntry>& entries, uint32_t& error) override {
    if (path == refusedFolder_) {
      error = EACCES;
      return false;
    }
    if (!PosixFileTree::ListFolder(path, entries, error)) return false;
    for (FileEntry& entry : entries) {
      if (entry.name == sizeless_) {
        entry.size.reset();
        entry.sizeError = EIO;
      }
    }
    return true;
  }

 private:
  std::string refusedFolder_;
  std::string sizeless_;
};

TEST_F(DirWalkTest, AFolderThatCannotBeReadIsAProblemAndTheWalkGoesOn) {
  RefusingTree tree((root_ / "a" / "b").string(), "one.txt");
  const WalkResult result = WalkTree(tree, root_.string(), noCancel_);
  EXPECT_EQ(result.totals.files, 2u) << "one.txt counts, two.txt lay behind the refused folder";
  EXPECT_EQ(result.totals.bytes, kBigFile) << "a size that could not be read adds nothing";
  std::set<std::pair<ProblemKind, std::string>> problems;
  for (const Problem& p : result.problems) problems.insert({p.kind, p.path});
  EXPECT_EQ(problems, (std::set<std::pair<ProblemKind, std::string>>{
                          {ProblemKind::kUnreadableFolder, (root_ / "a" / "b").string()},
                          {ProblemKind::kUnreadableSize, (root_ / "a" / "one.txt").string()},
                          {ProblemKind::kBrokenLink, (root_ / "dangling").string()}}));
  for (const Problem& p : result.problems) {
    if (p.kind == ProblemKind::kUnreadableFolder) {
      EXPECT_EQ(p.detail, std::strerror(EACCES));
    }
  }
}

TEST_F(DirWalkTest, AMissingRootIsOneUnreadableFolder) {
  PosixFileTree tree;
  const WalkResult result = WalkTree(tree, (root_ / "gone").string(), noCancel_);
  EXPECT_EQ(result.totals.files + result.totals.folders, 0u);
  ASSERT_EQ(result.problems.size(), 1u);
  EXPECT_EQ(result.problems[0].kind, ProblemKind::kUnreadableFolder);
  EXPECT_EQ(result.problems[0].detail, std::strerror(ENOENT));
}

TEST_F(DirWalkTest, CancellingStopsBeforeTheNextFolder) {
  PosixFileTree tree;
  std::atomic<bool> cancel{false};
  std::vector<std::string> seen;
  const WalkResult result = WalkTree(tree, root_.string(), cancel, [&](const WalkProgress& progress) {
    seen.push_back(progress.folder);
    cancel = true;  // as the window's button does while the walk runs
  });
  EXPECT_TRUE(result.cancelled);
  EXPECT_EQ(seen, std::vector<std::string>{root_.string()});
  EXPECT_EQ(result.totals.files, 1u) << "only the root's own file was read";
}

}  // namespace
}  // namespace qm::dircheck
