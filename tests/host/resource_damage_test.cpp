// Modules whose resource directory is damaged in one place: the rest is
// listed, the damaged part is named once, and the command line warns and
// succeeds.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "platform/sim/sim_system.h"
#include "resource_image.h"
#include "resources/icon_group.h"
#include "resources/resource_module.h"
#include "resources/resource_types.h"
#include "resources/string_block.h"

namespace qm {
namespace {

using test::ImageWithSection;
using test::ResourceSection;
using test::TestResource;

std::vector<uint8_t> Bytes(std::initializer_list<int> values) {
  std::vector<uint8_t> out;
  for (int v : values) out.push_back(static_cast<uint8_t>(v));
  return out;
}

// A 40-byte DIB header of a square image (height doubled for the mask).
std::vector<uint8_t> DibHeader(uint32_t side, uint32_t bits) {
  std::vector<uint8_t> b;
  test::Append32(b, 40);
  test::Append32(b, side);
  test::Append32(b, side * 2);
  test::Append16(b, 1);
  test::Append16(b, bits);
  b.resize(40 + 8, 0);
  return b;
}

// A group directory with one 14-byte entry per (stored width, stored height, image id).
std::vector<uint8_t> GroupDirectory(uint16_t type, std::initializer_list<std::array<uint32_t, 3>> entries) {
  std::vector<uint8_t> b;
  test::Append16(b, 0);
  test::Append16(b, type);
  test::Append16(b, static_cast<uint32_t>(entries.size()));
  for (const auto& e : entries) {
    const size_t at = b.size();
    b.resize(at + 14, 0);
    if (type == 2) {
      test::Put16(b, at, e[0]);
      test::Put16(b, at + 2, e[1]);
    } else {
      b[at] = static_cast<uint8_t>(e[0]);
      b[at + 1] = static_cast<uint8_t>(e[1]);
    }
    test::Put16(b, at + 4, 1);
    test::Put16(b, at + 6, 1);
    test::Put16(b, at + 12, e[2]);
  }
  return b;
}

ResourceName N(uint16_t id) { return ResourceName::Number(id); }

// RT_ICON 1, RT_STRING blocks 1 (good) and 2 (its count runs past its data),
// RT_RCDATA 1 to 3, RT_GROUP_ICON 1 (image 1, and image 7 that is missing).
std::vector<TestResource> Resources() {
  std::vector<uint8_t> block1;
  test::Append16(block1, 2);
  test::AppendAscii16(block1, "ok");
  block1.resize(block1.size() + 15 * 2, 0);
  return {
      {N(kRtIcon), N(1), 0, DibHeader(32, 4)},
      {N(kRtString), N(1), 0, block1},
      {N(kRtString), N(2), 0, Bytes({9, 0, 'A', 0})},
      {N(kRtRcData), N(1), 0, Bytes({1})},
      {N(kRtRcData), N(2), 0, Bytes({2})},
      {N(kRtRcData), N(3), 0, Bytes({3})},
      {N(kRtGroupIcon), N(1), 0, GroupDirectory(1, {{32, 32, 1}, {16, 16, 7}})},
  };
}

uint32_t Get32(const std::vector<uint8_t>& s, size_t at) {
  return uint32_t{s[at]} | uint32_t{s[at + 1]} << 8 | uint32_t{s[at + 2]} << 16 | uint32_t{s[at + 3]} << 24;
}
// Where entry `index` of the directory at `dir` points (high bit dropped).
uint32_t Target(const std::vector<uint8_t>& s, uint32_t dir, size_t index) {
  return Get32(s, dir + 16 + 8 * index + 4) & 0x7FFFFFFFu;
}
constexpr size_t kRcDataType = 2;  // RT_RCDATA's index in the root

enum class Damage { TypeDirectory, NameDirectory, LanguageEntry };

std::vector<uint8_t> DamagedSection(Damage damage) {
  auto s = ResourceSection(Resources());
  const uint32_t typeDir = Target(s, 0, kRcDataType);
  switch (damage) {
    case Damage::TypeDirectory:  // RT_RCDATA's names run far past the section
      test::Put16(s, typeDir + 14, 0xFFFF);
      break;
    case Damage::NameDirectory:  // RT_RCDATA/#2's languages likewise
      test::Put16(s, Target(s, typeDir, 1) + 14, 0xFFFF);
      break;
    case Damage::LanguageEntry:  // RT_RCDATA/#3's data entry lies past the section
      test::Put32(s, Target(s, typeDir, 2) + 16 + 4, 0x7FFFFFF0u);
      break;
  }
  return s;
}

std::vector<std::string> EntryTexts(const CResourceModule& module) {
  std::vector<std::string> out;
  for (const auto& e : module.entries()) out.push_back(e.Type().ToText() + "/" + e.Name().ToText());
  return out;
}

TEST(ResourceDamage, OneDamagedPartIsLeftOutAndNamedTheRestIsListed) {
  struct Case {
    Damage damage;
    std::vector<std::string> rcdata;  // what is left of RT_RCDATA
    std::string named;                // in the note
  };
  const Case cases[] = {
      {Damage::TypeDirectory, {}, "type RT_RCDATA left out"},
      {Damage::NameDirectory, {"#10/#1", "#10/#3"}, "RT_RCDATA/#2 left out"},
      {Damage::LanguageEntry, {"#10/#1", "#10/#2"}, "RT_RCDATA/#3 language 0 left out"},
  };
  for (const Case& c : cases) {
    SimSystem sim;
    sim.files.files["m.dll"] = ImageWithSection(DamagedSection(c.damage));
    CResourceModule module(sim.files);
    ASSERT_TRUE(module.Enumerate("m.dll")) << c.named;
    std::vector<std::string> expected = {"#3/#1", "#6/#1", "#6/#2"};
    expected.insert(expected.end(), c.rcdata.begin(), c.rcdata.end());
    expected.push_back("#14/#1");
    EXPECT_EQ(EntryTexts(module), expected) << c.named;
    ASSERT_EQ(module.GetDamage().size(), 1u) << c.named;
    EXPECT_NE(DescribeDamage(module.GetDamage()[0]).find(c.named), std::string::npos)
        << DescribeDamage(module.GetDamage()[0]);
  }
}

TEST(ResourceDamage, TheStringListSkipsABadBlockAndTheWriterRefusesIt) {
  SimSystem sim;
  sim.files.files["m.dll"] = ImageWithSection(ResourceSection(Resources()));
  CResourceModule module(sim.files);
  ASSERT_TRUE(module.Enumerate("m.dll"));
  std::vector<SkippedStringBlock> skipped;
  auto listed = CollectStringBlocks(module, std::nullopt, &skipped);
  ASSERT_TRUE(listed);
  ASSERT_EQ(listed->size(), 1u);
  EXPECT_EQ((*listed)[0].strings[0], "ok");
  ASSERT_EQ(skipped.size(), 1u);
  EXPECT_EQ(skipped[0].number, 2);
  EXPECT_FALSE(CollectStringBlocks(module, std::nullopt));
}

// Runs the command line; its exit code, standard output and error.
struct CliRun {
  int code = -1;
  std::string out, err;
};
CliRun RunCli(const std::string& arguments, const std::filesystem::path& dir) {
  const auto errPath = dir / "stderr";
  const std::string command = std::string(QM_CLI) + " " + arguments + " 2>" + errPath.string();
  CliRun run;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) return run;
  char buffer[4096];
  size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) run.out.append(buffer, got);
  const int status = ::pclose(pipe);
  run.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  std::ifstream err(errPath);
  run.err.assign(std::istreambuf_iterator<char>(err), std::istreambuf_iterator<char>());
  return run;
}

TEST(ResourceDamage, TheCommandLineWarnsOnceAndSucceeds) {
  const auto dir = std::filesystem::temp_directory_path() / ("qm-damage-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  const auto path = (dir / "m.dll").string();
  {
    const auto bytes = ImageWithSection(DamagedSection(Damage::NameDirectory));
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  }
  CliRun resources = RunCli("resources " + path, dir);
  EXPECT_EQ(resources.code, 0);
  EXPECT_NE(resources.out.find("Datos binarios\n    1\n    3\n"), std::string::npos) << resources.out;
  // One line, naming the part left out.
  EXPECT_EQ(resources.err.rfind(
                "quillmar-cli: " + path + ": warning: damaged resource directory: RT_RCDATA/#2 left out (", 0),
            0u)
      << resources.err;
  EXPECT_EQ(std::count(resources.err.begin(), resources.err.end(), '\n'), 1);

  CliRun strings = RunCli("strings " + path, dir);
  EXPECT_EQ(strings.code, 0);
  EXPECT_EQ(strings.out, path + "\n0\tok\n");
  EXPECT_NE(strings.err.find("damaged string table RT_STRING/#2 left out"), std::string::npos) << strings.err;

  CliRun icons = RunCli("icons " + path, dir);
  EXPECT_EQ(icons.code, 0);
  EXPECT_EQ(icons.out, path + "\n1\n  32 x 32 - 16 colors (48 bytes)\n  16 x 16 - 2 colors (0 bytes)\n");
  EXPECT_NE(icons.err.find("RT_GROUP_ICON/#1: image 7 cannot be read"), std::string::npos) << icons.err;
  std::filesystem::remove_all(dir);
}

TEST(CursorGroup, SizesComeFromTheImageWhicheverHeightTheDirectoryStores) {
  // The same 32x32 cursor image behind a directory storing the height
  // doubled (64) and one storing it as is (32); a missing image is square.
  std::vector<uint8_t> cursor = Bytes({3, 0, 4, 0});  // hot spot
  const auto dib = DibHeader(32, 1);
  cursor.insert(cursor.end(), dib.begin(), dib.end());
  std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0,  13, 'I',
                              'H',  'D', 'R', 0,   0,    0,    194,  0,    0, 1, 57, 8,  6};
  const auto section = ResourceSection({
      {N(kRtCursor), N(1), 0, cursor},
      {N(kRtIcon), N(2), 0, png},
      {N(kRtGroupCursor), N(1), 0, GroupDirectory(2, {{32, 64, 1}, {32, 32, 1}, {48, 96, 9}})},
      {N(kRtGroupIcon), N(1), 0, GroupDirectory(1, {{0, 0, 2}, {0, 0, 8}})},
  });
  const auto file = ImageWithSection(section);
  auto image = PeImage::Parse(ByteView(file));
  ASSERT_TRUE(image);
  auto resources = ResourceDirectory::Parse(*image);
  ASSERT_TRUE(resources);
  auto lines = [&](IconGroupKind kind) {
    std::vector<std::string> out;
    auto images = ReadIconGroup(*image, *resources, kind, N(1));
    if (images)
      for (const auto& info : *images) out.push_back(FormatIconImageLine(info));
    return out;
  };
  EXPECT_EQ(lines(IconGroupKind::Cursor),
            (std::vector<std::string>{"32 x 32 - 2 colors (52 bytes)", "32 x 32 - 2 colors (52 bytes)",
                                      "48 x 48 - 2 colors (0 bytes)"}));
  // A 194x313 PNG where one byte cannot hold the size; without an image, 256.
  EXPECT_EQ(lines(IconGroupKind::Icon),
            (std::vector<std::string>{"194 x 313 - 32 bits (26 bytes)", "256 x 256 - 2 colors (0 bytes)"}));
}

}  // namespace
}  // namespace qm
