#include "resources/resource_module.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <string>

#include "platform/platform.h"
#include "platform/sim/sim_system.h"
#include "resource_image.h"
#include "resources/resource_types.h"

namespace qm {
namespace {

using test::ImageWithSection;
using test::ResourceSection;
using test::TestResource;

std::string FixturePath(const std::string& arch, const std::string& name) {
  return std::string(QM_FIXTURE_DIR) + "/" + arch + "/" + name;
}

std::vector<uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

class ResourceFixture : public ::testing::TestWithParam<std::string> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(module_.Enumerate(FixturePath(GetParam(), "resources.dll"))) << module_.GetLastError();
  }
  std::string Data(uint16_t type, uint16_t name) {
    auto data = module_.LoadResourceData(ResourceName::Number(type), ResourceName::Number(name));
    if (!data) return "<missing>";
    return std::string(data->data(), data->data() + data->size());
  }
  CResourceModule module_{*SystemPlatform().files};
};

TEST_P(ResourceFixture, ListsTypesAndNamesInTheOrderTheDirectoryStoresThem) {
  struct Expected {
    int32_t typeId;
    const char* typeName;
    int32_t nameId;
    const char* nameName;
  };
  const std::array<Expected, 11> expected{{{-1, "AVI", -1, "CLIP"},
                                           {-1, "PNG", -1, "LOGO"},
                                           {4, "", -1, "MENU_NAMED"},
                                           {4, "", 100, ""},
                                           {4, "", 101, ""},
                                           {6, "", 1, ""},
                                           {6, "", 2, ""},
                                           {6, "", 5, ""},
                                           {10, "", 200, ""},
                                           {10, "", 201, ""},
                                           {10, "", 202, ""}}};
  ASSERT_EQ(module_.GetCount(), static_cast<int>(expected.size()));
  for (size_t i = 0; i < expected.size(); ++i) {
    const ResourceEntry e = module_.GetEntry(static_cast<int>(i));
    EXPECT_EQ(e.typeId, expected[i].typeId) << i;
    EXPECT_EQ(e.typeName, expected[i].typeName) << i;
    EXPECT_EQ(e.nameId, expected[i].nameId) << i;
    EXPECT_EQ(e.nameName, expected[i].nameName) << i;
  }
  const ResourceEntry outside = module_.GetEntry(static_cast<int>(expected.size()));
  EXPECT_TRUE(outside.typeName.empty() && outside.nameName.empty());
  EXPECT_TRUE(module_.GetEntry(-1).typeName.empty());
}

TEST_P(ResourceFixture, CountsNamedTypesByTheirExactNameOnly) {
  EXPECT_EQ(module_.GetCount(ResourceName::String("PNG")), 1);
  EXPECT_EQ(module_.GetCount(ResourceName::String("png")), 0);
  EXPECT_EQ(module_.GetCount(ResourceName::Number(kRtRcData)), 3);
  EXPECT_EQ(module_.GetCount(ResourceName::Number(kRtMenu)), 3);
  EXPECT_EQ(module_.GetTypeCount(), 5);
  EXPECT_EQ(module_.GetTotalSize(ResourceName::String("PNG")), 8u);
  // The named PNG is not counted as any number.
  EXPECT_EQ(module_.GetTotalSize(), module_.GetTotalSize(ResourceName::String("AVI")) + 8u +
                                        module_.GetTotalSize(ResourceName::Number(kRtMenu)) +
                                        module_.GetTotalSize(ResourceName::Number(kRtString)) +
                                        module_.GetTotalSize(ResourceName::Number(kRtRcData)));
}

TEST_P(ResourceFixture, PrefersNeutralThenUsEnglishThenTheFirstStoredLanguage) {
  EXPECT_EQ(Data(kRtRcData, 200).substr(0, 5), "en-us");
  EXPECT_EQ(Data(kRtRcData, 201).substr(0, 2), "de");
  EXPECT_EQ(Data(kRtRcData, 202).substr(0, 7), "neutral");
}

TEST_P(ResourceFixture, ReadResourceCopiesUpToTheCapacityAndReturnsTheFullSize) {
  const auto type = ResourceName::String("png");  // found case-insensitively
  const auto name = ResourceName::String("logo");
  EXPECT_EQ(module_.ReadResource(type, name), 8u);
  std::array<uint8_t, 4> small{0xEE, 0xEE, 0xEE, 0xEE};
  EXPECT_EQ(module_.ReadResource(type, name, std::span<uint8_t>(small.data(), 3)), 8u);
  EXPECT_EQ(small, (std::array<uint8_t, 4>{0x89, 0x50, 0x4E, 0xEE}));
  EXPECT_EQ(module_.ReadResource(type, ResourceName::String("missing"), small), 0u);
  EXPECT_EQ(module_.ReadResource(ResourceName::Number(kRtBitmap), name), 0u);
}

INSTANTIATE_TEST_SUITE_P(BothArchitectures, ResourceFixture, ::testing::Values("x86_64", "i686"));

TEST(ResourceModule, ReportsFilesThatCannotBeReadOrAreNotModules) {
  SimSystem sim;
  sim.files.files["C:\\text.txt"] = Bytes("just some text, not a module at all, long enough for a DOS header....");
  CResourceModule module(sim.files);
  EXPECT_FALSE(module.Enumerate("C:\\missing.dll"));
  EXPECT_NE(module.GetLastError(), 0u);
  EXPECT_FALSE(module.Enumerate("C:\\text.txt"));
  EXPECT_EQ(module.GetLastError(), kErrorBadExeFormat);
  EXPECT_TRUE(module.GetLastParseError().has_value());
  EXPECT_EQ(module.GetCount(), 0);

  CResourceModule empty(*SystemPlatform().files);
  EXPECT_FALSE(empty.Enumerate(FixturePath("x86_64", "empty.dll")));
  EXPECT_EQ(empty.GetLastError(), kErrorResourceDataNotFound);
  EXPECT_TRUE(empty.Close());
  EXPECT_FALSE(empty.Close());
  EXPECT_EQ(empty.GetLastError(), 0u);
}

TEST(ResourceModule, NumericTypesAndNamesLeaveTheStringsEmpty) {
  SimSystem sim;
  sim.files.files["a.dll"] = ImageWithSection(ResourceSection({
      {ResourceName::Number(3), ResourceName::Number(1), 0, Bytes("abc")},
      {ResourceName::Number(3), ResourceName::Number(2), 0, Bytes("de")},
      {ResourceName::Number(14), ResourceName::Number(7), 0x409, Bytes("f")},
  }));
  CResourceModule module(sim.files);
  ASSERT_TRUE(module.Enumerate("a.dll"));
  ASSERT_EQ(module.GetCount(), 3);
  for (const auto& e : module.entries()) {
    EXPECT_TRUE(e.typeName.empty() && e.nameName.empty());
    EXPECT_GT(e.typeId, 0);
    EXPECT_GT(e.nameId, 0);
  }
  EXPECT_EQ(module.GetTotalSize(ResourceName::Number(3)), 5u);
  EXPECT_EQ(module.GetTotalSize(), 6u);
  EXPECT_EQ(module.GetTypeCount(), 2);
}

// Data that ends exactly at the end of the section is read; a byte more is
// refused; sizes and offsets near UINT32_MAX never wrap.
TEST(ResourceModule, DataEntriesAreCheckedAgainstTheEndOfTheSection) {
  auto section = ResourceSection({{ResourceName::Number(10), ResourceName::Number(1), 0, Bytes("1234")}});
  // The last resource's data ends the section; its data entry is the 16
  // bytes that precede the resource name area (no names here).
  const size_t entry = section.size() - 4 - 16;
  ASSERT_EQ(section[entry + 4], 4);
  SimSystem sim;
  auto open = [&](uint32_t rva, uint32_t size) {
    auto bytes = section;
    test::Put32(bytes, entry, rva);
    test::Put32(bytes, entry + 4, size);
    sim.files.files["x.dll"] = ImageWithSection(bytes);
    CResourceModule module(sim.files);
    EXPECT_TRUE(module.Enumerate("x.dll"));
    std::array<uint8_t, 8> out{};
    return module.ReadResource(ResourceName::Number(10), ResourceName::Number(1), out);
  };
  const uint32_t dataRva = test::kSectionRva + static_cast<uint32_t>(section.size()) - 4;
  EXPECT_EQ(open(dataRva, 4), 4u);
  EXPECT_EQ(open(dataRva, 5), 0u);
  EXPECT_EQ(open(dataRva + 4, 0), 0u);  // past the section: nothing to load
  EXPECT_EQ(open(dataRva, UINT32_MAX), 0u);
  EXPECT_EQ(open(UINT32_MAX, 4), 0u);
  EXPECT_EQ(open(UINT32_MAX - 1, 2), 0u);
}

TEST(ResourceModule, RefusesDirectoriesThatOverrunLoopOrNestTooDeep) {
  SimSystem sim;
  // What went wrong: the failure of the whole module (a root that cannot be
  // read), else the first part left out; nullopt for an intact directory.
  struct Outcome {
    bool whole = false;
    std::optional<ReadError> code;
    bool operator==(const Outcome&) const = default;
  };
  auto enumerate = [&](const std::vector<uint8_t>& section) {
    sim.files.files["x.dll"] = ImageWithSection(section);
    CResourceModule module(sim.files);
    if (!module.Enumerate("x.dll")) return Outcome{true, module.GetLastParseError()->code};
    if (module.GetDamage().empty()) return Outcome{};
    return Outcome{false, module.GetDamage().front().error.code};
  };
  const auto good = ResourceSection({{ResourceName::Number(10), ResourceName::Number(1), 0, Bytes("1234")}});
  EXPECT_EQ(enumerate(good), Outcome{});

  // Entry counts near the top of their range run past the section.
  auto counts = good;
  test::Put16(counts, 12, 0xFFFF);
  test::Put16(counts, 14, 0xFFFF);
  EXPECT_EQ(enumerate(counts), (Outcome{true, ReadError::OutOfBounds}));

  // The type's subdirectory is the root itself: that type is left out.
  auto loop = good;
  test::Put32(loop, 20, 0x80000000u);
  EXPECT_EQ(enumerate(loop), (Outcome{false, ReadError::Loop}));

  // A subdirectory offset near UINT32_MAX (the high bit marks a directory).
  auto far = good;
  test::Put32(far, 20, 0xFFFFFFFFu);
  EXPECT_EQ(enumerate(far), (Outcome{false, ReadError::OutOfBounds}));

  // The language level points at a further directory.
  auto deep = good;
  const uint32_t nameDir = 16 + 8 + 16 + 8;
  const uint32_t langEntry = nameDir + 16;
  test::Put32(deep, langEntry + 4, 0x80000000u | nameDir);
  EXPECT_EQ(enumerate(deep), (Outcome{false, ReadError::TooDeep}));

  // A directory that ends exactly at the end of the section is read; one
  // byte less and it is refused.
  std::vector<uint8_t> onlyRoot(16, 0);
  EXPECT_EQ(enumerate(onlyRoot), Outcome{});
  onlyRoot.pop_back();
  EXPECT_EQ(enumerate(onlyRoot), (Outcome{true, ReadError::OutOfBounds}));
}

TEST(SizeText, ShowsBytesAndTheKilobyteCountRoundedUpByOne) {
  EXPECT_EQ(FormatSizeText("%s bytes (<%s Kb)", 0), "0 bytes (<1 Kb)");
  EXPECT_EQ(FormatSizeText("%s bytes (~%s Kb)", 1023), "1.023 bytes (~1 Kb)");
  EXPECT_EQ(FormatSizeText("%s bytes (~%s Kb)", 1024), "1.024 bytes (~2 Kb)");
  EXPECT_EQ(FormatSizeText("%s bytes (~%s Kb)", 2048), "2.048 bytes (~3 Kb)");
  EXPECT_EQ(FormatSizeText("%s bytes (~%s Kb)", 1234567), "1.234.567 bytes (~1.206 Kb)");
  EXPECT_EQ(FormatSizeText("%s bytes (~%s Kb)", UINT32_MAX), "4.294.967.295 bytes (~4.194.304 Kb)");
}

// Real modules of every kind: Wine's own and MinGW's 32-bit runtime DLLs.
TEST(ResourceModule, ReadsEveryWineAndMinGwModuleWithoutFailing) {
  namespace fs = std::filesystem;
  std::vector<fs::path> modules;
  for (const char* dir : {"/usr/lib/x86_64-linux-gnu/wine/x86_64-windows", "/usr/i686-w64-mingw32/lib"}) {
    std::error_code error;
    for (const auto& file : fs::directory_iterator(dir, error)) {
      const auto ext = file.path().extension().string();
      if (ext == ".dll" || ext == ".exe") modules.push_back(file.path());
    }
  }
  if (modules.empty()) GTEST_SKIP() << "no Wine or MinGW modules on this machine";
  size_t withResources = 0;
  CResourceModule module(*SystemPlatform().files);
  for (const auto& path : modules) {
    if (!module.Enumerate(path.string())) {
      EXPECT_EQ(module.GetLastError(), kErrorResourceDataNotFound) << path;
      continue;
    }
    ++withResources;
    std::vector<std::string> strings;
    for (const auto& e : module.entries()) {
      if (e.typeId == kRtString && e.nameId >= 0) {
        EXPECT_TRUE(module.LoadStringBlock(e.Name(), strings)) << path;
      }
      if (e.typeId == kRtMenu) {
        EXPECT_TRUE(module.LoadMenu(e.Name()).ok()) << path << " menu " << e.Name().ToText();
      }
    }
  }
  EXPECT_GT(withResources, modules.size() / 2);
}

}  // namespace
}  // namespace qm
