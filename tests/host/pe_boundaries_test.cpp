// Header boundaries in modules built from bytes: one byte short or over.
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

TEST(PeBoundaries, HeadersEndingAtTheEndAreReadOneByteOverIsRefused) {
  for (bool plus : {false, true}) {
    TestImage image(plus);
    Put32(image.bytes, image.SectionTable() + 16, 0);  // no raw data
    Put32(image.bytes, image.SectionTable() + 20, 0);
    std::vector<uint8_t> exact(image.bytes.begin(),
                               image.bytes.begin() + static_cast<std::ptrdiff_t>(image.SectionTable() + 40));
    ModuleFixture f;
    EXPECT_TRUE(f.Load(exact)) << plus;
    exact.pop_back();
    EXPECT_FALSE(f.Load(exact)) << plus;
    EXPECT_EQ(f.loader.GetParseError().code, ReadError::OutOfBounds);
  }
}

TEST(PeBoundaries, CountsNearTheTopAreRefusedOrCapped) {
  ModuleFixture f;
  TestImage image(false);
  Put16(image.bytes, TestImage::kNt + 6, 0xFFFF);  // NumberOfSections
  EXPECT_FALSE(f.Load(image.bytes));
  EXPECT_EQ(f.loader.GetParseError().code, ReadError::TooMany);

  // NumberOfRvaAndSizes near UINT32_MAX: only the 16 directories the optional
  // header holds are read; no index past them exists.
  TestImage many(true);
  Put32(many.bytes, many.RvaCountOffset(), 0xFFFFFFFF);
  many.SetDirectory(15, 0x1234, 8);
  ASSERT_TRUE(f.Load(many.bytes));
  EXPECT_EQ(f.loader.GetDirectoryEntry(15)->VirtualAddress, 0x1234u);
  EXPECT_EQ(f.loader.GetDirectoryEntry(16), nullptr);
  EXPECT_NE(Find(BuildHeaderDump(f.loader, true, f.text).root, "NumberOfRvaAndSizes = 4294967295"), nullptr);

  // An optional header too short for its own fixed part.
  TestImage shortHeader(false);
  Put16(shortHeader.bytes, TestImage::kNt + 20, 95);
  EXPECT_FALSE(f.Load(shortHeader.bytes));
  EXPECT_EQ(f.loader.GetParseError().code, ReadError::BadValue);
}

}  // namespace
}  // namespace qm
