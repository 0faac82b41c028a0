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

TEST_F(ModuleFileTest, AFileCutShortWhileOpenIsAnErrorNeverACrash) {
  // A small file is read whole at once: all its bytes stay. A large one is
  // read piecewise as readers ask: what was read stays, and a read past the
  // new end is an error value, where a mapping would raise SIGBUS.
  const auto small = Write("s.dll", SmallModule() + std::string(1024, 'x'));
  auto whole = OpenModuleFile(files_, small);
  ASSERT_TRUE(whole);
  ASSERT_EQ(::truncate(small.c_str(), 0), 0);
  unsigned sum = 0;
  for (uint8_t byte : ViewOf(**whole).bytes()) sum += byte;
  EXPECT_EQ(sum, 'M' + 'Z' + 1024u * 'x');

  const auto large = Write("l.dll", SmallModule() + std::string(256 * 1024, 'x'));
  auto piecewise = OpenModuleFile(files_, large);
  ASSERT_TRUE(piecewise);
  const ByteView view = ViewOf(**piecewise);
  ASSERT_EQ(view.size(), 4096u + 256u * 1024u);
  ASSERT_EQ(::truncate(large.c_str(), 0), 0);
  EXPECT_EQ(view.u16(0).value_or(0), 0x5A4D);
  auto last = view.u8(view.size() - 1);
  ASSERT_FALSE(last);
  EXPECT_EQ(last.error().code, ReadError::Io);
  EXPECT_FALSE(view.sub(128 * 1024, 16));
  EXPECT_TRUE(view.bytes().empty());
}

TEST_F(ModuleFileTest, ALargeFileReadPiecewiseHoldsTheSameBytesAsTheFile) {
  // A length that is no multiple of the chunks, and bytes that tell their
  // offset, read in an order that skips about and straddles chunk edges.
  std::string bytes = SmallModule();
  for (size_t i = bytes.size(); i < 200 * 1024 + 123; ++i) bytes.push_back(static_cast<char>((i * 7 + i / 251) & 0xFF));
  auto file = OpenModuleFile(files_, Write("p.dll", bytes));
  ASSERT_TRUE(file);
  const ByteView view = ViewOf(**file);
  auto expect = [&](uint64_t offset, uint64_t length) {
    auto part = view.sub(offset, length);
    ASSERT_TRUE(part) << offset;
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(part->data()), part->size()), bytes.substr(offset, length))
        << offset;
  };
  expect(150 * 1024 - 3, 10);
  expect(bytes.size() - 5, 5);
  auto window = view.window(40 * 1024, 100 * 1024);
  ASSERT_TRUE(window);
  EXPECT_EQ(window->u32(16 * 1024 - 2).value_or(0), view.u32(56 * 1024 - 2).value_or(1));
  expect(16 * 1024 - 1, 70 * 1024);
  EXPECT_FALSE(view.sub(bytes.size() - 4, 5));
  const auto all = view.bytes();
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(all.data()), all.size()), bytes);
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
