// The fixture modules of both architectures, and Wine's kernel32.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "headers/export_table.h"
#include "headers/header_dump.h"
#include "headers/header_format.h"
#include "headers/import_table.h"
#include "headers/module_loader.h"
#include "platform/sim/sim_system.h"
#include "tests/host/dump_tree_queries.h"
#include "tests/host/module_image.h"
#include "tests/host/test_bytes.h"

namespace qm {
namespace {

using namespace test;

TEST(FixtureModules, ExportsOfTheFixtureDllInBothArchitectures) {
  for (const char* arch : {"x86_64", "i686"}) {
    ModuleFixture f;
    const std::string path = std::string(QM_FIXTURE_DIR) + "/" + arch + "/exports_lib.dll";
    ASSERT_TRUE(f.Load(ReadFileBytes(path), path)) << path;
    const bool plus = std::string(arch) == "x86_64";
    EXPECT_EQ(f.loader.GetNtHeaders()->isPe32Plus(), plus);
    const TreeNode summary = BuildHeaderDump(f.loader, false, f.text).root;
    EXPECT_NE(
        Find(summary, plus ? "Tipo de máquina: IMAGE_FILE_MACHINE_AMD64" : "Tipo de máquina: IMAGE_FILE_MACHINE_I386"),
        nullptr);
    const TreeNode* exports = Find(summary, "Funciones que exporta");
    ASSERT_NE(exports, nullptr);
    std::vector<std::string> tails;
    for (const auto& line : Lines(*exports)) {
      // "0001 - [0x00001370] Zeta": keep the ordinal and what follows the RVA.
      const size_t close = line.find(']');
      const size_t colon = line.find(':');
      tails.push_back(line.substr(0, 4) + (colon < close ? line.substr(colon, close - colon) : "") +
                      line.substr(close + 1));
    }
    EXPECT_EQ(tails, (std::vector<std::string>{"0001 Zeta", "0002 Alpha", "0005 Mid", "0007",
                                               "0008:kernel32.Sleep ForwardedSleep", "0009 Beta", "0010 AlsoBeta"}));
    CheckImages(BuildHeaderDump(f.loader, true, f.text).root);
  }
}

TEST(FixtureModules, TheExeImportsByNameAndByOrdinal) {
  for (const char* arch : {"x86_64", "i686"}) {
    const std::string path = std::string(QM_FIXTURE_DIR) + "/" + arch + "/exports_user.exe";
    const auto bytes = ReadFileBytes(path);
    auto pe = PeImage::Parse(ByteView(bytes));
    ASSERT_TRUE(pe) << path;
    auto table = ReadImportTable(*pe);
    ASSERT_TRUE(table);
    auto lib = std::find_if(table->libraries.begin(), table->libraries.end(),
                            [](const ImportedLibrary& l) { return l.name == "exports_lib.dll"; });
    ASSERT_NE(lib, table->libraries.end()) << arch;
    ASSERT_EQ(lib->functions.size(), 2u);
    auto byName = std::find_if(lib->functions.begin(), lib->functions.end(),
                               [](const ImportedFunction& fn) { return !fn.byOrdinal; });
    auto byOrdinal = std::find_if(lib->functions.begin(), lib->functions.end(),
                                  [](const ImportedFunction& fn) { return fn.byOrdinal; });
    ASSERT_NE(byName, lib->functions.end());
    ASSERT_NE(byOrdinal, lib->functions.end());
    EXPECT_EQ(byName->name, "Alpha");
    EXPECT_EQ(byOrdinal->ordinal, 7);
    for (const auto& other : table->libraries) EXPECT_FALSE(other.functionsError) << other.name;
  }
}

TEST(WineModules, Kernel32AttachesEveryNameToItsOrdinal) {
  const std::string path = "/usr/lib/x86_64-linux-gnu/wine/x86_64-windows/kernel32.dll";
  if (!std::filesystem::exists(path)) GTEST_SKIP() << "Wine is not installed";
  const auto bytes = ReadFileBytes(path);
  auto pe = PeImage::Parse(ByteView(bytes));
  ASSERT_TRUE(pe);
  auto directory = ReadExportDirectory(*pe);
  ASSERT_TRUE(directory);
  auto functions = ReadExportedFunctions(*pe, *directory);
  ASSERT_TRUE(functions);
  size_t names = 0;
  const ExportedFunction* sleep = nullptr;
  const ExportedFunction* srw = nullptr;
  for (const auto& fn : *functions) {
    names += fn.names.size();
    for (const auto& n : fn.names) {
      if (n == "Sleep") sleep = &fn;
      if (n == "AcquireSRWLockExclusive") srw = &fn;
    }
  }
  // Every name is attached, whatever the order of the name-ordinal array.
  EXPECT_EQ(names, directory->NumberOfNames);
  ASSERT_NE(sleep, nullptr);
  ASSERT_NE(srw, nullptr);
  EXPECT_EQ(srw->forwarder.value_or(""), "NTDLL.RtlAcquireSRWLockExclusive");
  EXPECT_EQ(srw->ordinal, directory->Base);
  // The name and ordinal of Sleep agree with the raw arrays.
  EXPECT_GT(sleep->ordinal, srw->ordinal);
  EXPECT_EQ(sleep->ordinal - directory->Base, sleep->index);

  // Name arrays that cannot be read cost the names, not the functions.
  ExportDirectory lostNames = *directory;
  lostNames.AddressOfNames = 0xFFFFFFF0u;
  EXPECT_FALSE(ReadExportedFunctions(*pe, lostNames));
  std::optional<ParseError> namesError;
  auto byOrdinal = ReadExportedFunctions(*pe, lostNames, &namesError);
  ASSERT_TRUE(byOrdinal);
  EXPECT_TRUE(namesError.has_value());
  EXPECT_EQ(byOrdinal->size(), functions->size());
  EXPECT_TRUE(byOrdinal->front().names.empty());
}

}  // namespace
}  // namespace qm
