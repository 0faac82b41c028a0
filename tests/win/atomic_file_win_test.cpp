#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "common/atomic_file.h"
#include "platform/win32/win.h"
#include "tests/host/test_bytes.h"

namespace qm {
namespace {

TEST(AtomicFileOnWindows, ReplacesAnExistingFileWithANonLatinName) {
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path() / L"qm-atomic-\u00f1";
  fs::create_directories(dir);
  const fs::path target = dir / L"Men\u00fa.rc";
  std::ofstream(target) << "old";
  const auto u8 = target.u8string();
  ASSERT_TRUE(WriteFileAtomically(std::string(u8.begin(), u8.end()), "new"));
  EXPECT_EQ(test::ReadFileText(target), "new");
  std::error_code ignored;
  fs::remove_all(dir, ignored);
}

}  // namespace
}  // namespace qm
