#include "resources/icon_group.h"

#include <gtest/gtest.h>

#include <fstream>

#include "resources/resource_types.h"
#include "tests/host/test_bytes.h"

namespace qm {
namespace {

using test::ReadFileBytes;

std::vector<std::string> Lines(const std::vector<IconImageInfo>& images) {
  std::vector<std::string> lines;
  for (const auto& info : images) lines.push_back(FormatIconImageLine(info));
  return lines;
}

TEST(IconGroup, FixtureGroupsListEveryImageWithItsOwnSizeAndDepth) {
  for (const char* arch : {"x86_64", "i686"}) {
    const auto bytes = ReadFileBytes(std::string(QM_FIXTURE_DIR) + "/" + arch + "/images.dll");
    auto image = PeImage::Parse(ByteView(bytes));
    ASSERT_TRUE(image) << arch;
    auto resources = ResourceDirectory::Parse(*image);
    ASSERT_TRUE(resources) << arch;

    auto icons = ReadIconGroup(*image, *resources, IconGroupKind::Icon, ResourceName::Number(1));
    ASSERT_TRUE(icons) << arch;
    // 16 bits a 4-bit image, 256x256 stored as 0 in the directory, a PNG.
    EXPECT_EQ(Lines(*icons), (std::vector<std::string>{
                                 "16 x 16 - 16 colors (296 bytes)",
                                 "32 x 32 - 256 colors (2216 bytes)",
                                 "24 x 24 - 32 bits (2440 bytes)",
                                 "16 x 16 - 2 colors (176 bytes)",
                                 "256 x 256 - 32 bits (666 bytes)",
                             }))
        << arch;
    EXPECT_EQ((*icons)[4].bitsPerPixel, 32u);

    auto named = ReadIconGroup(*image, *resources, IconGroupKind::Icon, ResourceName::String("appicon"));
    ASSERT_TRUE(named) << arch;
    EXPECT_EQ(Lines(*named), std::vector<std::string>{"32 x 32 - 16 colors (744 bytes)"});

    // Cursor heights are stored doubled; the depth comes from the image (the
    // resource compiler writes 1 into the directory).
    auto cursors = ReadIconGroup(*image, *resources, IconGroupKind::Cursor, ResourceName::Number(1));
    ASSERT_TRUE(cursors) << arch;
    EXPECT_EQ(Lines(*cursors),
              (std::vector<std::string>{"32 x 32 - 2 colors (308 bytes)", "48 x 48 - 16 colors (1644 bytes)"}));
    EXPECT_EQ((*cursors)[0].hotspotX, 5);
    EXPECT_EQ((*cursors)[0].hotspotY, 7);
    EXPECT_EQ((*cursors)[1].hotspotX, 20);

    // An image the module does not hold is still listed, with 0 bytes.
    auto missing = ReadIconGroup(*image, *resources, IconGroupKind::Icon, ResourceName::Number(50));
    ASSERT_TRUE(missing) << arch;
    ASSERT_EQ(missing->size(), 1u);
    EXPECT_FALSE((*missing)[0].found);
    EXPECT_EQ((*missing)[0].imageId, 99);
    EXPECT_EQ(FormatIconImageLine((*missing)[0]), "32 x 32 - 16 colors (0 bytes)");

    EXPECT_FALSE(ReadIconGroup(*image, *resources, IconGroupKind::Cursor, ResourceName::Number(50)));
    EXPECT_EQ(FormatIconGroupName(ResourceName::Number(50)), "50");
    EXPECT_EQ(FormatIconGroupName(ResourceName::String("APPICON")), "APPICON");
  }
}

std::vector<uint8_t> Group(uint16_t type, uint16_t count, size_t entries) {
  std::vector<uint8_t> bytes{
      0, 0, static_cast<uint8_t>(type), 0, static_cast<uint8_t>(count), static_cast<uint8_t>(count >> 8)};
  for (size_t i = 0; i < entries; ++i) {
    const uint8_t entry[14] = {0, 0, 2, 0, 1, 0, 8, 0, 0x10, 0, 0, 0, static_cast<uint8_t>(i + 1), 0};
    bytes.insert(bytes.end(), entry, entry + 14);
  }
  return bytes;
}

TEST(IconGroup, DirectoriesEndingExactlyAtTheEndAreReadAndShorterOnesRefused) {
  auto three = Group(1, 3, 3);
  auto group = ParseIconGroup(ByteView(three), IconGroupKind::Icon);
  ASSERT_TRUE(group);
  ASSERT_EQ(group->entries.size(), 3u);
  EXPECT_EQ(group->entries[2].imageId, 3);
  EXPECT_EQ(group->entries[0].bitCount, 8);
  EXPECT_EQ(group->entries[0].bytesInRes, 16u);
  three.pop_back();
  EXPECT_EQ(ParseIconGroup(ByteView(three), IconGroupKind::Icon).error().code, ReadError::OutOfBounds);
  auto most = Group(1, 0xFFFF, 2);
  EXPECT_FALSE(ParseIconGroup(ByteView(most), IconGroupKind::Icon));
  std::vector<uint8_t> header{0, 0, 1, 0, 0};
  EXPECT_FALSE(ParseIconGroup(ByteView(header), IconGroupKind::Icon));
  auto empty = Group(2, 0, 0);
  ASSERT_TRUE(ParseIconGroup(ByteView(empty), IconGroupKind::Cursor));
  // The type field must say which kind of group it is.
  EXPECT_EQ(ParseIconGroup(ByteView(empty), IconGroupKind::Icon).error().code, ReadError::BadValue);
}

TEST(IconGroup, ImageHeadersGiveTheirDepth) {
  std::vector<uint8_t> dib(40, 0);
  dib[0] = 40;
  dib[12] = 1;
  dib[14] = 24;
  EXPECT_EQ(IconImageBitsPerPixel(ByteView(dib)), 24u);
  std::vector<uint8_t> png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I',
                           'H',  'D', 'R', 0,   0,    1,    0,    0,    0, 1, 0, 8,  2};
  EXPECT_EQ(IconImageBitsPerPixel(ByteView(png)), 24u);  // 8-bit RGB
  png.pop_back();
  EXPECT_EQ(IconImageBitsPerPixel(ByteView(png)), std::nullopt);
  EXPECT_EQ(IconImageBitsPerPixel(ByteView()), std::nullopt);
}

TEST(IconGroup, ImagesDeeperThanEightBitsShowTheirDepthRatherThanAColourCount) {
  auto line = [](uint32_t bits) {
    IconImageInfo info;
    info.width = info.height = 48;
    info.bitsPerPixel = bits;
    info.colorCount = bits >= 1 && bits <= 32 ? uint64_t{1} << bits : 0;
    info.byteSize = 9640;
    return FormatIconImageLine(info);
  };
  EXPECT_EQ(line(8), "48 x 48 - 256 colors (9640 bytes)");
  EXPECT_EQ(line(16), "48 x 48 - 16 bits (9640 bytes)");
  EXPECT_EQ(line(24), "48 x 48 - 24 bits (9640 bytes)");
  EXPECT_EQ(line(32), "48 x 48 - 32 bits (9640 bytes)");
  // A depth the directory gets wrong and no image corrects stays a count.
  EXPECT_EQ(line(0), "48 x 48 - 0 colors (9640 bytes)");
  EXPECT_EQ(line(64), "48 x 48 - 0 colors (9640 bytes)");
}

}  // namespace
}  // namespace qm
