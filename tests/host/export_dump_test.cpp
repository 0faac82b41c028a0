// Exports of modules built from bytes.
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
#include "headers/module_loader.h"
#include "platform/sim/sim_system.h"
#include "tests/host/dump_tree_queries.h"
#include "tests/host/module_image.h"
#include "tests/host/test_bytes.h"

namespace qm {
namespace {

using namespace test;

// An export directory at RVA 0x1000 (40 bytes), arrays behind it.
struct ExportImage : TestImage {
  static constexpr uint32_t kDir = 0x1000, kFunctions = 0x1040, kNames = 0x1080, kOrdinals = 0x10C0, kStrings = 0x1100;
  explicit ExportImage(bool pe32Plus, uint32_t dirSize = 0x40) : TestImage(pe32Plus) {
    SetDirectory(0, kDir, dirSize);
    Put32(bytes, At(kDir + 12), kStrings);  // Name
    PutText(bytes, At(kStrings), "test.dll");
    Put32(bytes, At(kDir + 16), 1);  // Base
    Put32(bytes, At(kDir + 28), kFunctions);
    Put32(bytes, At(kDir + 32), kNames);
    Put32(bytes, At(kDir + 36), kOrdinals);
  }
  void Functions(const std::vector<uint32_t>& rvas) {
    Put32(bytes, At(kDir + 20), static_cast<uint32_t>(rvas.size()));
    for (size_t i = 0; i < rvas.size(); ++i) Put32(bytes, At(kFunctions + static_cast<uint32_t>(4 * i)), rvas[i]);
  }
  // Names in array order with the function index each points at.
  void Names(const std::vector<std::pair<std::string, uint16_t>>& names) {
    Put32(bytes, At(kDir + 24), static_cast<uint32_t>(names.size()));
    uint32_t text = kStrings + 0x20;
    for (size_t k = 0; k < names.size(); ++k) {
      Put32(bytes, At(kNames + static_cast<uint32_t>(4 * k)), text);
      Put16(bytes, At(kOrdinals + static_cast<uint32_t>(2 * k)), names[k].second);
      PutText(bytes, At(text), names[k].first);
      text += static_cast<uint32_t>(names[k].first.size() + 1);
    }
  }
};

std::vector<std::string> ExportLines(ModuleFixture& f, const std::vector<uint8_t>& bytes,
                                     std::vector<std::string>* problems = nullptr) {
  EXPECT_TRUE(f.Load(bytes));
  HeaderDump dump = BuildHeaderDump(f.loader, false, f.text);
  if (problems) *problems = dump.problems;
  const TreeNode* node = Find(dump.root, "Funciones que exporta");
  return node ? Lines(*node) : std::vector<std::string>{"<no export node>"};
}

TEST(ExportDump, NamesAttachByTheirOrdinalIndexWithGapsAndUnnamedOrdinals) {
  ModuleFixture f;
  ExportImage image(false);
  image.Functions({0x1a30, 0x1b00, 0x1c00, 0, 0x1d00});
  // Alphabetical names, so their function indexes do not ascend; index 4 has
  // two names, index 1 none, index 3 is a gap.
  image.Names({{"Alpha", 2}, {"Beta", 4}, {"Gamma", 0}, {"Zeta", 4}, {"Bad", 9}});
  EXPECT_EQ(ExportLines(f, image.bytes),
            (std::vector<std::string>{"0001 - [0x00001a30] Gamma", "0002 - [0x00001b00]", "0003 - [0x00001c00] Alpha",
                                      "0005 - [0x00001d00] Beta", "0005 - [0x00001d00] Zeta"}));
}

TEST(ExportDump, ForwardersUpToTheDirectoryEndAndTheCompleteRecord) {
  ModuleFixture f;
  ExportImage image(true, 0x140);
  const uint32_t target = ExportImage::kDir + 0x140;  // the end itself counts
  PutText(image.bytes, TestImage::At(target), "NTDLL.RtlFoo");
  image.Functions({target, 0x1141, 0x3000});
  image.Names({{"Foo", 0}});
  const auto lines = ExportLines(f, image.bytes);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], "0001 - [0x00001140:NTDLL.RtlFoo] Foo");
  EXPECT_EQ(lines[2], "0003 - [0x00003000]");

  const TreeNode root = BuildHeaderDump(f.loader, true, f.text).root;
  const TreeNode* record = Find(root, "IMAGE_EXPORT_DIRECTORY");
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(Lines(*record),
            (std::vector<std::string>{"Characteristics = 0x00000000", "TimeDateStamp = [0x00000000] 01/01/1970",
                                      "MajorVersion = 0x00", "MinorVersion = 0x00", "Name = test.dll",
                                      "Base = 0x00000001", "NumberOfFunctions = 3", "NumberOfNames = 1", "Functions"}));
  EXPECT_EQ(record->children.back().children.size(), 3u);
}

TEST(ExportDump, CountsAndArraysPastTheDataAreRefusedWithAProblemLine) {
  ModuleFixture f;
  ExportImage image(false);
  image.Functions({0x1a30});
  Put32(image.bytes, TestImage::At(ExportImage::kDir + 20), 0xFFFFFFFF);
  std::vector<std::string> problems;
  EXPECT_TRUE(ExportLines(f, image.bytes, &problems).empty());
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_NE(problems[0].find("too many"), std::string::npos);

  // The function array ending exactly at the section's end is read; one
  // entry more runs past it.
  ExportImage edge(false);
  const uint32_t room = (TestImage::kSectionRva + TestImage::kSectionSize - ExportImage::kFunctions) / 4;
  Put32(edge.bytes, TestImage::At(ExportImage::kDir + 20), room);
  for (uint32_t i = 0; i < room; ++i) Put32(edge.bytes, TestImage::At(ExportImage::kFunctions + 4 * i), 0x1100 + i);
  EXPECT_EQ(ExportLines(f, edge.bytes, &problems).size(), room);
  EXPECT_TRUE(problems.empty());
  Put32(edge.bytes, TestImage::At(ExportImage::kDir + 20), room + 1);
  EXPECT_TRUE(ExportLines(f, edge.bytes, &problems).empty());
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_NE(problems[0].find("out of bounds"), std::string::npos);

  // A directory whose RVA lies outside every section.
  ExportImage outside(false);
  outside.SetDirectory(0, 0x90000, 0x40);
  EXPECT_TRUE(ExportLines(f, outside.bytes, &problems).empty());
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_EQ(problems[0], "export directory: truncated or out of bounds at offset 0x90000");
}

}  // namespace
}  // namespace qm
