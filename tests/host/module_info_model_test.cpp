#include "processes/module_info_model.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/posix/posix_system.h"
#include "platform/sim/sim_system.h"

namespace qm {
namespace {

std::vector<uint8_t> ReadFixture(const std::string& name) {
  std::ifstream in(std::string(QM_FIXTURE_DIR) + "/x86_64/" + name, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

// 2026-03-04 05:06:07 UTC as a FILETIME.
constexpr uint64_t kMarch4 = (1772600767ull + 11'644'473'600ull) * 10'000'000ull;

TEST(ModuleInfoModelTest, SizesDatesAndAttributesOfTheFoundFile) {
  SimSystem sim;
  FileFindData data;
  data.name = "big.dll";
  data.size = 999;
  data.creationTime = kMarch4;
  data.lastAccessTime = kMarch4 + 864'000'000'000ull;  // a day later
  data.lastWriteTime = 0;                              // no such date
  data.attributes = FILE_ATTRIBUTE_READONLY_ | FILE_ATTRIBUTE_HIDDEN_ | 0x20;
  sim.files.findData["C:\\m\\big.dll"] = data;
  ModuleFileFields fields = ReadModuleFileFields(sim.platform, "C:\\m\\big.dll");
  EXPECT_EQ(fields.size, "999");
  EXPECT_EQ(fields.created, "04/03/2026");
  EXPECT_EQ(fields.accessed, "05/03/2026");
  EXPECT_EQ(fields.written, "");
  EXPECT_TRUE(fields.readOnly);
  EXPECT_TRUE(fields.hidden);
  EXPECT_FALSE(fields.system);
  EXPECT_FALSE(fields.compressed);

  sim.files.findData["C:\\m\\big.dll"].size = 4096;
  EXPECT_EQ(ReadModuleFileFields(sim.platform, "C:\\m\\big.dll").size, "4.096");
  // The whole 64-bit length: 5 GiB is not read as its low 32 bits (1 GiB).
  sim.files.findData["C:\\m\\big.dll"].size = 5ull << 30;
  sim.files.findData["C:\\m\\big.dll"].attributes = FILE_ATTRIBUTE_SYSTEM_ | FILE_ATTRIBUTE_COMPRESSED_;
  fields = ReadModuleFileFields(sim.platform, "C:\\m\\big.dll");
  EXPECT_EQ(fields.size, "5.368.709.120");
  EXPECT_TRUE(fields.system && fields.compressed && !fields.readOnly && !fields.hidden);

  // Deleted since: nothing of the old file is left.
  sim.files.findData.clear();
  fields = ReadModuleFileFields(sim.platform, "C:\\m\\big.dll");
  EXPECT_TRUE(fields.size.empty() && fields.created.empty() && fields.accessed.empty() && fields.written.empty());
  EXPECT_FALSE(fields.readOnly || fields.system || fields.hidden || fields.compressed);
}

TEST(ModuleInfoModelTest, ASparseFileAboveFourGibibytesOnTheFileSystem) {
  const auto path = std::filesystem::temp_directory_path() / ("qm_sparse_" + std::to_string(::getpid()) + ".dll");
  { std::ofstream(path).put('x'); }
  std::error_code error;
  std::filesystem::resize_file(path, (4ull << 30) + 999, error);
  if (error) GTEST_SKIP() << "no sparse files here: " << error.message();
  PosixFiles files;
  SimSystem sim;
  sim.platform.files = &files;
  const ModuleFileFields fields = ReadModuleFileFields(sim.platform, path.string());
  std::filesystem::remove(path);
  EXPECT_EQ(fields.size, "4.294.968.295");
  EXPECT_FALSE(fields.written.empty());
  EXPECT_FALSE(fields.readOnly);
}

TEST(ModuleInfoModelTest, TwelveVersionRowsWithOrWithoutAVersionBlock) {
  SimSystem sim;
  sim.files.files["C:\\m\\two.exe"] = ReadFixture("version_two.exe");
  sim.files.files["C:\\m\\empty.dll"] = ReadFixture("empty.dll");
  const std::vector<VersionRow> rows = ReadVersionRows(sim.platform, "C:\\m\\two.exe");
  ASSERT_EQ(rows.size(), kVersionRowCount);
  EXPECT_EQ(rows[0].cells, (std::array<std::string, 2>{"Nombre del producto", "Version Fixture"}));
  EXPECT_EQ(rows[8].cells, (std::array<std::string, 2>{"Copyright (C)", "Copyright (C) 2026 Karvonel"}));
  EXPECT_EQ(rows[9].cells[1], "");  // the first translation lacks LegalTrademarks
  EXPECT_EQ(rows[11].cells, (std::array<std::string, 2>{"Información especial", "special"}));

  for (const char* path : {"C:\\m\\empty.dll", "C:\\m\\missing.dll"}) {
    SCOPED_TRACE(path);
    const std::vector<VersionRow> bare = ReadVersionRows(sim.platform, path);
    ASSERT_EQ(bare.size(), kVersionRowCount);
    EXPECT_EQ(bare[5].cells[0], "Versión del archivo");
    for (const auto& row : bare) EXPECT_EQ(row.cells[1], "");
  }
}

}  // namespace
}  // namespace qm
