// The module opener on files that cannot be modules: each refused with its
// reason and Windows code, never a hang or a crash.
#include "platform/module_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/posix/posix_system.h"
#include "platform/sim/sim_system.h"

namespace qm {
namespace {

class ModuleFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() / ("qm-opener-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  std::string Write(const std::string& name, const std::string& bytes) {
    const auto path = (dir_ / name).string();
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }
  std::optional<FileError> Refusal(const std::string& path) {
    auto file = OpenModuleFile(files_, path);
    if (file) return std::nullopt;
    return file.error();
  }

  std::filesystem::path dir_;
  PosixFiles files_;
};

std::string SmallModule() {
  std::string bytes(4096, '\0');
  bytes[0] = 'M';
  bytes[1] = 'Z';
  return bytes;
}

TEST_F(ModuleFileTest, RefusesWhatCannotBeAModuleWithOneReasonEach) {
  struct Expected {
    std::string path;
    FileFailure reason;
    uint32_t code;
  };
  const std::string fifo = (dir_ / "fifo").string();
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const Expected cases[] = {
      {(dir_ / "missing.dll").string(), FileFailure::NotFound, kErrorFileNotFound},
      {(dir_ / "missing" / "x.dll").string(), FileFailure::NotFound, kErrorFileNotFound},
      {"", FileFailure::NotFound, kErrorFileNotFound},
      {dir_.string(), FileFailure::Directory, kErrorAccessDenied},
      {fifo, FileFailure::NotAFile, kErrorInvalidFunction},  // no writer: must not wait for one
      {"/dev/null", FileFailure::NotAFile, kErrorInvalidFunction},
      {Write("empty.dll", ""), FileFailure::Empty, kErrorBadExeFormat},
      {Write("notes.txt", "Just some text, not a program.\n"), FileFailure::NotAModule, kErrorBadExeFormat},
  };
  for (const Expected& c : cases) {
    auto refusal = Refusal(c.path);
    ASSERT_TRUE(refusal.has_value()) << c.path;
    EXPECT_EQ(refusal->reason, c.reason) << c.path;
    EXPECT_EQ(refusal->code, c.code) << c.path;
  }
  // One text per reason, whichever reader asks.
  EXPECT_EQ(DescribeFileError(*Refusal(dir_.string())), "cannot be read: a folder, not a file");
  EXPECT_TRUE(OpenModuleFile(files_, Write("m.dll", SmallModule())));
}

TEST_F(ModuleFileTest, TheLimitIsTheCallersAndTheSizeIsReported) {
  const auto path = Write("m.dll", SmallModule());
  auto refused = files_.MapFile(path, 4095);
  ASSERT_FALSE(refused);
  EXPECT_EQ(refused.error().reason, FileFailure::TooLarge);
  EXPECT_EQ(refused.error().code, kErrorFileTooLarge);
  EXPECT_EQ(refused.error().size, 4096u);
  EXPECT_TRUE(files_.MapFile(path, 4096));
}

TEST_F(ModuleFileTest, AFileCutShortWhileOpenLeavesTheReaderItsBytes) {
  // A mapped file truncated underneath raises SIGBUS on the next read; the
  // opener's bytes must stay readable whatever happens to the file.
  const auto path = Write("m.dll", SmallModule() + std::string(64 * 1024, 'x'));
  auto file = OpenModuleFile(files_, path);
  ASSERT_TRUE(file);
  ASSERT_EQ(::truncate(path.c_str(), 0), 0);
  unsigned sum = 0;
  for (uint8_t byte : (*file)->bytes()) sum += byte;
  EXPECT_EQ(sum, 'M' + 'Z' + 64u * 1024u * 'x');
}

TEST_F(ModuleFileTest, AFileWithoutReadPermissionIsRefusedAsSuch) {
  if (::geteuid() == 0) GTEST_SKIP() << "root reads every file";
  const auto path = Write("locked.dll", SmallModule());
  ASSERT_EQ(::chmod(path.c_str(), 0), 0);
  auto refusal = Refusal(path);
  ASSERT_TRUE(refusal.has_value());
  EXPECT_EQ(refusal->reason, FileFailure::AccessDenied);
  EXPECT_EQ(refusal->code, kErrorAccessDenied);
}

TEST(ModuleFileSim, BackendsWithoutMappingReportTheSameReasons) {
  SimSystem sim;
  auto missing = OpenModuleFile(sim.files, "C:\\missing.dll");
  ASSERT_FALSE(missing);
  EXPECT_EQ(missing.error().reason, FileFailure::NotFound);
  EXPECT_EQ(missing.error().code, kErrorFileNotFound);
  sim.files.files["C:\\zeros.dll"] = std::vector<uint8_t>(16, 0);
  auto empty = OpenModuleFile(sim.files, "C:\\zeros.dll");
  ASSERT_FALSE(empty);
  EXPECT_EQ(empty.error().reason, FileFailure::NotAModule);
}

}  // namespace
}  // namespace qm
