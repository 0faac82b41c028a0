// Every module of Wine's x86_64 directory and of MinGW's i686 runtime is read
// whole: both dumps, the export functions and the imports with their thunks.
// Real-world modules are what the crafted boundary tests cannot foresee.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "headers/export_table.h"
#include "headers/header_dump.h"
#include "headers/import_table.h"
#include "headers/module_loader.h"
#include "platform/posix/posix_system.h"
#include "platform/sim/sim_system.h"

namespace qm {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> ModulesUnder(const fs::path& folder, bool dllsOnly) {
  std::vector<std::string> paths;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(folder, error)) {
    if (!entry.is_regular_file()) continue;
    const std::string ext = entry.path().extension().string();
    if (ext == ".dll" || (!dllsOnly && (ext == ".exe" || ext == ".drv" || ext == ".ocx" || ext == ".cpl")))
      paths.push_back(entry.path().string());
  }
  return paths;
}

void ReadEveryModule(const std::vector<std::string>& paths) {
  SimSystem sim;  // strings and dates
  PosixFiles files;
  const DumpText text{sim.strings, sim.locale};
  CModuleLoader loader(files);
  size_t withExports = 0, withImports = 0;
  for (const auto& path : paths) {
    SCOPED_TRACE(path);
    ASSERT_TRUE(loader.Load(path)) << DescribeError(loader.GetParseError());
    const HeaderDump complete = BuildHeaderDump(loader, true, text);
    const HeaderDump summary = BuildHeaderDump(loader, false, text);
    EXPECT_TRUE(complete.problems.empty()) << complete.problems.front();
    EXPECT_EQ(summary.root.text, path);
    const PeImage* pe = loader.GetNtHeaders();
    ASSERT_NE(pe, nullptr);
    if (auto directory = ReadExportDirectory(*pe)) {
      auto functions = ReadExportedFunctions(*pe, *directory);
      ASSERT_TRUE(functions) << DescribeError(functions.error());
      size_t names = 0;
      for (const auto& f : *functions) names += f.names.size();
      EXPECT_EQ(names, directory->NumberOfNames);
      ++withExports;
    }
    if (auto imports = ReadImportTable(*pe)) {
      EXPECT_FALSE(imports->descriptorsError);
      for (const auto& lib : imports->libraries) {
        EXPECT_FALSE(lib.functionsError) << lib.name;
        EXPECT_NE(lib.name, "?");
      }
      ++withImports;
    }
  }
  EXPECT_GT(withExports, 0u);
  EXPECT_GT(withImports, 0u);
}

TEST(WineModules, EveryWineX64ModuleReads) {
  const fs::path folder = "/usr/lib/x86_64-linux-gnu/wine/x86_64-windows";
  if (!fs::is_directory(folder)) GTEST_SKIP() << "Wine is not installed";
  const auto paths = ModulesUnder(folder, false);
  EXPECT_GT(paths.size(), 100u);
  ReadEveryModule(paths);
}

TEST(WineModules, EveryMingwI686RuntimeDllReads) {
  std::vector<std::string> paths;
  const fs::path root = "/usr/lib/gcc/i686-w64-mingw32";
  std::error_code error;
  for (const auto& version : fs::directory_iterator(root, error)) {
    auto more = ModulesUnder(version.path(), true);
    paths.insert(paths.end(), more.begin(), more.end());
  }
  if (paths.empty()) GTEST_SKIP() << "MinGW's i686 runtime is not installed";
  ReadEveryModule(paths);
}

}  // namespace
}  // namespace qm
