// Imports of modules built from bytes.
#include "headers/import_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

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

struct ImportImage : TestImage {
  static constexpr uint32_t kDescriptors = 0x1000;
  explicit ImportImage(bool pe32Plus) : TestImage(pe32Plus) {}
  // One library whose thunks (0-terminated) sit at thunkRva.
  void Library(size_t index, const std::string& name, uint32_t originalFirstThunk, uint32_t nameRva,
               uint32_t stamp = 0) {
    const uint32_t d = kDescriptors + static_cast<uint32_t>(20 * index);
    Put32(bytes, At(d), originalFirstThunk);
    Put32(bytes, At(d + 4), stamp);
    Put32(bytes, At(d + 12), nameRva);
    Put32(bytes, At(d + 16), originalFirstThunk ? originalFirstThunk : 0x1180);
    PutText(bytes, At(nameRva), name);
  }
};

TEST(ImportDump, StopsAtTheCountedSizeAndAtAMissingOriginalFirstThunk) {
  ModuleFixture f;
  ImportImage image(false);
  image.Library(0, "ONE.dll", 0x1100, 0x1140, 0xFFFFFFFF);
  image.Library(1, "TWO.dll", 0x1100, 0x1150, 0x5f000000);
  image.Library(2, "THREE.dll", 0x1100, 0x1160);
  image.SetDirectory(1, ImportImage::kDescriptors, 2 * 20 + 19);
  ASSERT_TRUE(f.Load(image.bytes));
  HeaderDump dump = BuildHeaderDump(f.loader, false, f.text);
  EXPECT_EQ(Lines(*Find(dump.root, "Librerías que importa")), (std::vector<std::string>{"ONE.dll", "TWO.dll"}));
  const TreeNode complete = BuildHeaderDump(f.loader, true, f.text).root;
  const TreeNode* one = Find(complete, "ONE.dll");
  ASSERT_NE(one, nullptr);
  EXPECT_EQ(Lines(*one),
            (std::vector<std::string>{"OriginalFirstThunk = 4352 [0x00001100]", "FirstThunk = 4352 [0x00001100]",
                                      "ForwarderChain = 0 [0x00000000]", "TimeDateStamp = -1 [0xffffffff]"}));
  EXPECT_EQ(Find(complete, "TWO.dll")->children.back().text.rfind("TimeDateStamp = [0x5f000000] ", 0), 0u);
  EXPECT_NE(Find(complete, "IMAGE_EXPORT_DIRECTORY"), nullptr);  // the descriptors' label

  // A descriptor without OriginalFirstThunk ends the list, though a later one
  // has its thunks.
  image.Library(1, "TWO.dll", 0, 0x1150);
  image.SetDirectory(1, ImportImage::kDescriptors, 3 * 20);
  ASSERT_TRUE(f.Load(image.bytes));
  dump = BuildHeaderDump(f.loader, false, f.text);
  EXPECT_EQ(Lines(*Find(dump.root, "Librerías que importa")), std::vector<std::string>{"ONE.dll"});
  EXPECT_TRUE(dump.problems.empty());
}

TEST(ImportTable, ThunksByNameAndOrdinalInBothLayouts) {
  for (bool plus : {false, true}) {
    ImportImage image(plus);
    image.Library(0, "LIB.dll", 0x1100, 0x1140);
    const size_t width = plus ? 8 : 4;
    const uint64_t ordinalFlag = plus ? 1ull << 63 : 1ull << 31;
    auto thunk = [&](size_t i, uint64_t v) {
      if (plus) {
        Put64(image.bytes, TestImage::At(0x1100) + i * width, v);
      } else {
        Put32(image.bytes, TestImage::At(0x1100) + i * width, static_cast<uint32_t>(v));
      }
    };
    thunk(0, ordinalFlag | 7);
    thunk(1, 0x1160);
    Put16(image.bytes, TestImage::At(0x1160), 42);
    PutText(image.bytes, TestImage::At(0x1162), "Sleep");
    // In PE32 bit 31 marks an ordinal; in PE32+ it does not, only bit 63.
    thunk(2, plus ? 0x80001160ull : 0);
    image.SetDirectory(1, ImportImage::kDescriptors, 40);
    auto pe = PeImage::Parse(ByteView(image.bytes));
    ASSERT_TRUE(pe);
    auto table = ReadImportTable(*pe);
    ASSERT_TRUE(table);
    ASSERT_EQ(table->libraries.size(), 1u);
    const auto& functions = table->libraries[0].functions;
    ASSERT_EQ(functions.size(), plus ? 3u : 2u) << plus;
    EXPECT_TRUE(functions[0].byOrdinal);
    EXPECT_EQ(functions[0].ordinal, 7);
    EXPECT_FALSE(functions[1].byOrdinal);
    EXPECT_EQ(functions[1].hint, 42);
    EXPECT_EQ(functions[1].name, "Sleep");
    if (plus) {
      EXPECT_FALSE(functions[2].byOrdinal);
    }
    EXPECT_FALSE(table->libraries[0].functionsError);
  }
}

TEST(ImportTable, UnterminatedThunksAndDescriptorsStopAtTheSectionEnd) {
  ImportImage image(false);
  const uint32_t last = TestImage::kSectionRva + TestImage::kSectionSize - 8;
  image.Library(0, "LIB.dll", last, 0x1140);
  Put32(image.bytes, TestImage::At(last), 0x1160);
  Put32(image.bytes, TestImage::At(last + 4), 0x1160);
  PutText(image.bytes, TestImage::At(0x1162), "F");
  // Descriptors that fill the section to its end without a terminator.
  image.SetDirectory(1, TestImage::kSectionRva + TestImage::kSectionSize - 40, 40);
  const size_t d = TestImage::At(TestImage::kSectionRva + TestImage::kSectionSize - 40);
  std::copy_n(image.bytes.begin() + static_cast<std::ptrdiff_t>(TestImage::At(ImportImage::kDescriptors)), 20,
              image.bytes.begin() + static_cast<std::ptrdiff_t>(d));
  std::copy_n(image.bytes.begin() + static_cast<std::ptrdiff_t>(TestImage::At(ImportImage::kDescriptors)), 20,
              image.bytes.begin() + static_cast<std::ptrdiff_t>(d + 20));
  auto pe = PeImage::Parse(ByteView(image.bytes));
  ASSERT_TRUE(pe);
  auto table = ReadImportTable(*pe);
  ASSERT_TRUE(table);
  EXPECT_EQ(table->libraries.size(), 2u);
  ASSERT_TRUE(table->descriptorsError);
  EXPECT_EQ(table->libraries[0].functions.size(), 2u);
  ASSERT_TRUE(table->libraries[0].functionsError);
  EXPECT_EQ(table->libraries[0].functionsError->code, ReadError::OutOfBounds);
}

}  // namespace
}  // namespace qm
