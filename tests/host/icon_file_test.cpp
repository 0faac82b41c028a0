#include "resources/icon_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "common/text.h"
#include "platform/sim/sim_system.h"
#include "res/string_ids.h"
#include "resources/image_page_model.h"
#include "resources/resource_types.h"
#include "tests/host/rc_compiler.h"
#include "tests/host/resource_image.h"

namespace qm {
namespace {

using test::Append16;
using test::Append32;
using test::Module;
using test::OpenModule;
using test::ReadFileBytes;

// A DIB icon image: a BITMAPINFOHEADER (height covering both masks), the
// colour table and enough pixel bytes to stand for the masks.
std::vector<uint8_t> Dib(int32_t width, int32_t height, uint16_t bits, uint32_t clrUsed = 0, size_t tableEntries = 0) {
  std::vector<uint8_t> dib;
  Append32(dib, 40);
  Append32(dib, static_cast<uint32_t>(width));
  Append32(dib, static_cast<uint32_t>(height * 2));
  Append16(dib, 1);
  Append16(dib, bits);
  for (int i = 0; i < 6; ++i) Append32(dib, i == 4 ? clrUsed : 0);
  dib.resize(dib.size() + tableEntries * 4 + 64, 0x5A);
  return dib;
}

// The signature and IHDR of a PNG: that is all the directory needs of it.
std::vector<uint8_t> Png(uint32_t width, uint32_t height, uint8_t depth, uint8_t colourType) {
  std::vector<uint8_t> png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R'};
  for (uint32_t side : {width, height})
    for (int shift = 24; shift >= 0; shift -= 8) png.push_back(static_cast<uint8_t>(side >> shift));
  png.insert(png.end(), {depth, colourType, 0, 0, 0, 1, 2, 3, 4});
  return png;
}

IconFileEntry EntryOf(IconGroupKind kind, const std::vector<uint8_t>& bytes, uint16_t hx = 0, uint16_t hy = 0) {
  auto entry = IconFileEntryOf(kind, IconFileImage{ByteView(bytes), hx, hy});
  EXPECT_TRUE(entry);
  return entry.value_or(IconFileEntry{});
}

TEST(IconFile, FixtureGroupsComeOutAsTheFilesTheyWereCompiledFrom) {
  // The generator writes each directory from its images the way a reader
  // expects it (0 for 256, palette sizes below 256, hot spots), so the
  // written files are those files byte for byte, PNG image included.
  const std::string source = std::string(QM_SOURCE_DIR) + "/tests/fixtures/images/";
  for (const char* arch : {"x86_64", "i686"}) {
    auto module = OpenModule(ReadFileBytes(std::string(QM_FIXTURE_DIR) + "/" + arch + "/images.dll"));
    ASSERT_TRUE(module) << arch;
    const struct {
      IconGroupKind kind;
      ResourceName name;
      const char* file;
    } groups[] = {
        {IconGroupKind::Icon, ResourceName::Number(1), "multi.ico"},
        {IconGroupKind::Icon, ResourceName::String("APPICON"), "small.ico"},
        {IconGroupKind::Cursor, ResourceName::Number(1), "pointer.cur"},
    };
    for (const auto& group : groups) {
      auto file = MakeIconFileFromGroup(*module->image, *module->resources, group.kind, group.name);
      ASSERT_TRUE(file) << arch << " " << group.file << ": " << DescribeIconFileError(file.error());
      EXPECT_EQ(*file, ReadFileBytes(source + group.file)) << arch << " " << group.file;
    }
  }
}

TEST(IconFile, DirectoryComesFromEachImagesOwnHeader) {
  // Sizes the byte holds, 256 and beyond it.
  auto e = EntryOf(IconGroupKind::Icon, Dib(48, 40, 32));
  EXPECT_EQ(e.width, 48);
  EXPECT_EQ(e.height, 40);
  EXPECT_EQ(e.colorCount, 0);
  EXPECT_EQ(e.planesOrHotspotX, 1);
  EXPECT_EQ(e.bitCountOrHotspotY, 32);
  e = EntryOf(IconGroupKind::Icon, Dib(256, 256, 32));
  EXPECT_EQ(e.width, 0);
  EXPECT_EQ(e.height, 0);
  e = EntryOf(IconGroupKind::Icon, Dib(255, 300, 24));
  EXPECT_EQ(e.width, 255);
  EXPECT_EQ(e.height, 0);

  // Palettes: the depth's full table, a shorter one (biClrUsed), 256 that
  // the byte cannot hold, and none past 8 bits whatever biClrUsed says.
  EXPECT_EQ(EntryOf(IconGroupKind::Icon, Dib(16, 16, 4)).colorCount, 16);
  EXPECT_EQ(EntryOf(IconGroupKind::Icon, Dib(16, 16, 8, 6, 6)).colorCount, 6);
  EXPECT_EQ(EntryOf(IconGroupKind::Icon, Dib(16, 16, 8)).colorCount, 0);
  EXPECT_EQ(EntryOf(IconGroupKind::Icon, Dib(16, 16, 24, 16, 16)).colorCount, 0);

  // The old core header: planes and depth at their own places.
  std::vector<uint8_t> core;
  Append32(core, 12);
  Append16(core, 20);
  Append16(core, 40);
  Append16(core, 1);
  Append16(core, 4);
  core.resize(core.size() + 128);
  e = EntryOf(IconGroupKind::Icon, core);
  EXPECT_EQ(e.width, 20);
  EXPECT_EQ(e.height, 20);
  EXPECT_EQ(e.colorCount, 16);
  EXPECT_EQ(e.bitCountOrHotspotY, 4);

  // PNG images: the IHDR's size (256 and past it as 0) and depth.
  e = EntryOf(IconGroupKind::Icon, Png(256, 256, 8, 6));
  EXPECT_EQ(e.width, 0);
  EXPECT_EQ(e.height, 0);
  EXPECT_EQ(e.planesOrHotspotX, 1);
  EXPECT_EQ(e.bitCountOrHotspotY, 32);
  EXPECT_EQ(e.colorCount, 0);
  e = EntryOf(IconGroupKind::Icon, Png(64, 32, 8, 2));
  EXPECT_EQ(e.width, 64);
  EXPECT_EQ(e.height, 32);
  EXPECT_EQ(e.bitCountOrHotspotY, 24);
  EXPECT_EQ(EntryOf(IconGroupKind::Icon, Png(16, 16, 2, 3)).colorCount, 4);

  // Cursors carry the hot spot where icons carry planes and depth.
  e = EntryOf(IconGroupKind::Cursor, Dib(32, 32, 1), 3, 300);
  EXPECT_EQ(e.planesOrHotspotX, 3);
  EXPECT_EQ(e.bitCountOrHotspotY, 300);
  EXPECT_EQ(e.colorCount, 2);
  EXPECT_EQ(e.height, 32);
}

std::vector<uint8_t> GroupBytes(IconGroupKind kind, std::initializer_list<uint16_t> ids) {
  std::vector<uint8_t> group;
  Append16(group, 0);
  Append16(group, kind == IconGroupKind::Icon ? 1 : 2);
  Append16(group, static_cast<uint16_t>(ids.size()));
  for (uint16_t id : ids) {
    // Fields a linker might leave wrong: the writer must not copy them.
    for (int i = 0; i < 6; ++i) Append16(group, 0x0101);
    Append16(group, id);
  }
  return group;
}

TEST(IconFile, DamagedOrMissingImagesNameTheImageAndWriteNothing) {
  const ResourceName icon = ResourceName::Number(kRtIcon), cursor = ResourceName::Number(kRtCursor);
  const ResourceName groupIcon = ResourceName::Number(kRtGroupIcon);
  const ResourceName groupCursor = ResourceName::Number(kRtGroupCursor);
  auto truncated = Dib(32, 32, 8);
  truncated.resize(20);
  const std::vector<uint8_t> shortCursor{1, 0, 2};
  auto module = OpenModule(test::ImageWithSection(test::ResourceSection({
      {cursor, ResourceName::Number(1), 0, shortCursor},
      {icon, ResourceName::Number(1), 0, Dib(16, 16, 4, 0, 16)},
      {icon, ResourceName::Number(2), 0, truncated},
      {groupCursor, ResourceName::Number(1), 0, GroupBytes(IconGroupKind::Cursor, {1})},
      {groupIcon, ResourceName::Number(1), 0, GroupBytes(IconGroupKind::Icon, {1, 2})},
      {groupIcon, ResourceName::Number(2), 0, GroupBytes(IconGroupKind::Icon, {1, 9})},
      {groupIcon, ResourceName::Number(3), 0, GroupBytes(IconGroupKind::Cursor, {1})},
  })));
  ASSERT_TRUE(module);
  auto write = [&](IconGroupKind kind, uint16_t name) {
    return MakeIconFileFromGroup(*module->image, *module->resources, kind, ResourceName::Number(name));
  };
  auto damaged = write(IconGroupKind::Icon, 1);
  ASSERT_FALSE(damaged);
  EXPECT_EQ(damaged.error().reason, IconFileError::Reason::ImageDamaged);
  EXPECT_EQ(DescribeIconFileError(damaged.error()).rfind("image 2 (ID 2) is damaged", 0), 0u);
  auto missing = write(IconGroupKind::Icon, 2);
  ASSERT_FALSE(missing);
  EXPECT_EQ(DescribeIconFileError(missing.error()), "image 2 (ID 9) is missing");
  // A cursor image too short for its hot spot; a group of the other kind.
  auto hotspot = write(IconGroupKind::Cursor, 1);
  ASSERT_FALSE(hotspot);
  EXPECT_EQ(hotspot.error().reason, IconFileError::Reason::ImageDamaged);
  EXPECT_EQ(hotspot.error().imageId, 1);
  EXPECT_EQ(write(IconGroupKind::Icon, 3).error().reason, IconFileError::Reason::GroupDamaged);
  EXPECT_EQ(write(IconGroupKind::Icon, 4).error().reason, IconFileError::Reason::GroupDamaged);
}

TEST(IconFile, EachLanguageOfAGroupTakesItsImagesInTheSameLanguage) {
  const ResourceName icon = ResourceName::Number(kRtIcon);
  const ResourceName groupIcon = ResourceName::Number(kRtGroupIcon);
  const auto english = Dib(16, 16, 4, 0, 16);
  const auto german = Dib(32, 32, 8, 0, 256);
  const auto neutral = Dib(24, 24, 32);
  auto module = OpenModule(test::ImageWithSection(test::ResourceSection({
      {icon, ResourceName::Number(1), 0x0407, german},
      {icon, ResourceName::Number(1), 0x0409, english},
      {icon, ResourceName::Number(2), 0, neutral},
      {groupIcon, ResourceName::Number(7), 0x0407, GroupBytes(IconGroupKind::Icon, {1, 2})},
      {groupIcon, ResourceName::Number(7), 0x0409, GroupBytes(IconGroupKind::Icon, {1})},
  })));
  ASSERT_TRUE(module);
  auto write = [&](std::optional<uint16_t> language) {
    return MakeIconFileFromGroup(*module->image, *module->resources, IconGroupKind::Icon, ResourceName::Number(7),
                                 language);
  };
  auto de = write(0x0407);
  ASSERT_TRUE(de);
  ASSERT_EQ(ByteView(*de).get<uint16_t>(4), 2);
  EXPECT_EQ((*de)[6], 32);       // the German image 1
  EXPECT_EQ((*de)[6 + 16], 24);  // image 2 exists only neutral
  auto en = write(0x0409);
  ASSERT_TRUE(en);
  EXPECT_EQ((*en)[6], 16);
  EXPECT_EQ(en->size(), 6 + 16 + english.size());
  // A language the group is not stored in is not silently another one.
  EXPECT_FALSE(write(0x040C));
}

// icotool (icoutils) is a reader written apart from this program: what it
// lists of each written file must be what the group page lists.
TEST(IconFile, IcotoolListsTheImagesTheGroupPageShows) {
  // tools/bootstrap installs it with the other build tools.
  ASSERT_EQ(std::system("command -v icotool >/dev/null 2>&1"), 0) << "icotool (icoutils) is not installed";
  test::TempDir dir("icon-file");
  for (const char* arch : {"x86_64", "i686"}) {
    auto module = OpenModule(ReadFileBytes(std::string(QM_FIXTURE_DIR) + "/" + arch + "/images.dll"));
    ASSERT_TRUE(module);
    for (const ResourceType& type : module->resources->types()) {
      if (type.type.isString || (type.type.id != kRtGroupIcon && type.type.id != kRtGroupCursor)) continue;
      const IconGroupKind kind = type.type.id == kRtGroupIcon ? IconGroupKind::Icon : IconGroupKind::Cursor;
      for (const ResourceItem& item : type.items) {
        auto page = ReadIconGroup(*module->image, *module->resources, kind, item.name);
        auto file = MakeIconFileFromGroup(*module->image, *module->resources, kind, item.name);
        if (!file) {
          // Only the fixture's group whose image the module lacks.
          EXPECT_EQ(file.error().reason, IconFileError::Reason::ImageMissing) << item.name.ToText();
          continue;
        }
        const auto path = dir.path() / "group.bin";
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(file->data()), static_cast<std::streamsize>(file->size()));
        const std::string listing = dir.path() / "listing.txt";
        ASSERT_EQ(std::system(("icotool -l '" + path.string() + "' >'" + listing + "' 2>&1").c_str()), 0);
        std::ostringstream expected;
        for (size_t i = 0; i < page->size(); ++i) {
          const IconImageInfo& info = (*page)[i];
          expected << (kind == IconGroupKind::Icon ? "--icon" : "--cursor") << " --index=" << i + 1
                   << " --width=" << info.width << " --height=" << info.height << " --bit-depth=" << info.bitsPerPixel;
          expected << " --palette-size=" << (info.bitsPerPixel <= 8 ? info.colorCount : 0);
          if (kind == IconGroupKind::Cursor)
            expected << " --hotspot-x=" << info.hotspotX << " --hotspot-y=" << info.hotspotY;
          expected << "\n";
        }
        EXPECT_EQ(test::ReadFileText(listing), expected.str()) << arch << " " << item.name.ToText();
      }
    }
  }
}

// The page's save: a group that cannot be a file is told before a path is
// asked for; a cancel writes nothing; the file is the writer's.
TEST(IconFile, ThePageSaveWritesTheGroupOrSaysWhyBeforeAskingWhere) {
  const ResourceName icon = ResourceName::Number(kRtIcon), groupIcon = ResourceName::Number(kRtGroupIcon);
  auto truncated = Dib(32, 32, 8);
  truncated.resize(20);
  SimSystem sim;
  sim.files.files["C:\\m\\i.dll"] = test::ImageWithSection(test::ResourceSection({
      {icon, ResourceName::Number(1), 0, Dib(16, 16, 4, 0, 16)},
      {icon, ResourceName::Number(2), 0, truncated},
      {groupIcon, ResourceName::Number(1), 0, GroupBytes(IconGroupKind::Icon, {1})},
      {groupIcon, ResourceName::Number(2), 0, GroupBytes(IconGroupKind::Icon, {1, 2})},
  }));
  CResourceModule module(sim.files);
  ASSERT_TRUE(module.Enumerate("C:\\m\\i.dll"));
  test::TempDir dir("icon-save");
  std::vector<std::string> asked;
  std::optional<std::string> answer;
  const ImagePageServices services{sim.strings, sim.messageBox,
                                   [&](const std::string&, const std::string& name, const std::string& ext) {
                                     asked.push_back(name + "|" + ext);
                                     return answer;
                                   }};
  SaveIconGroupAsFile(module, IconGroupKind::Icon, ResourceName::Number(2), services);
  EXPECT_TRUE(asked.empty());
  ASSERT_EQ(sim.messageBox.shown.size(), 1u);
  EXPECT_EQ(sim.messageBox.shown[0].text, FormatTable(sim.strings.LoadString(IDS_ICON_IMAGE_DAMAGED), {"2", "2"}));

  SaveIconGroupAsFile(module, IconGroupKind::Icon, ResourceName::Number(1), services);
  EXPECT_EQ(asked, std::vector<std::string>{"1.ico|ico"});
  answer = (dir.path() / "one.ico").string();
  SaveIconGroupAsFile(module, IconGroupKind::Icon, ResourceName::Number(1), services);
  EXPECT_EQ(ReadFileBytes(*answer),
            *MakeIconFileFromGroup(*module.image(), module.directory(), IconGroupKind::Icon, ResourceName::Number(1)));
  EXPECT_EQ(sim.messageBox.shown.size(), 1u);
  EXPECT_EQ(IconGroupFileName(IconGroupKind::Cursor, ResourceName::String("A/B:C")), "A_B_C.cur");
}

}  // namespace
}  // namespace qm
