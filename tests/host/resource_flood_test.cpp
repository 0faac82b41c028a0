// A resource directory made hostile by one bad byte: a type named by a
// 56 KB string whose directory claims tens of thousands of entries, names
// that all point at that string, and a hundred damaged language
// directories. Whatever the file claims, the notes stay few and small,
// every damaged entry is counted, and the intact resources are listed.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "platform/sim/sim_system.h"
#include "resource_image.h"
#include "resources/resource_browser.h"
#include "resources/resource_module.h"
#include "resources/resource_types.h"

namespace qm {
namespace {

using test::Append16;
using test::Put16;
using test::Put32;

constexpr uint32_t kDir = 0x80000000u;
constexpr size_t kLongNameChars = 28 * 1024;  // 56 KB of UTF-16
constexpr size_t kFloodEntries = 40000;       // claimed by the long-named type
constexpr size_t kSharedNameEntries = 20000;  // RT_RCDATA names, all the long one
constexpr size_t kBadLanguageDirectories = 100;
constexpr uint16_t kHtmlType = 23;

// Root: [the long-named type], RT_STRING (block 1: "ok"), RT_RCDATA, RT_HTML.
std::vector<uint8_t> HostileSection() {
  std::vector<uint8_t> s(16 + 8 * 4, 0);
  Put16(s, 12, 1);
  Put16(s, 14, 3);
  auto reserve = [&s](size_t bytes) {
    while (s.size() % 4) s.push_back(0);
    const size_t at = s.size();
    s.resize(at + bytes, 0);
    return static_cast<uint32_t>(at);
  };
  auto directory = [&](size_t numbered, size_t named = 0) {
    const uint32_t at = reserve(16 + 8 * (numbered + named));
    Put16(s, at + 12, static_cast<uint32_t>(named));
    Put16(s, at + 14, static_cast<uint32_t>(numbered));
    return at;
  };
  auto entry = [&s](uint32_t dir, size_t index, uint32_t name, uint32_t target) {
    Put32(s, dir + 16 + 8 * index, name);
    Put32(s, dir + 16 + 8 * index + 4, target);
  };
  auto dataEntry = [&](size_t size) {
    const uint32_t at = reserve(16);
    Put32(s, at, test::kSectionRva + static_cast<uint32_t>(s.size()));
    Put32(s, at + 4, static_cast<uint32_t>(size));
    return at;
  };

  const uint32_t longName = reserve(2 + 2 * kLongNameChars);
  Put16(s, longName, static_cast<uint32_t>(kLongNameChars));
  for (size_t i = 0; i < kLongNameChars; ++i) Put16(s, longName + 2 + 2 * i, 'A' + static_cast<uint32_t>(i % 26));

  // Every entry of the long-named type points at a data entry where a
  // directory belongs.
  const uint32_t strayData = dataEntry(0);
  const uint32_t flood = directory(kFloodEntries);
  for (size_t i = 0; i < kFloodEntries; ++i) entry(flood, i, static_cast<uint32_t>(i + 1), strayData);
  entry(0, 0, kDir | longName, kDir | flood);

  const uint32_t strings = directory(1);
  const uint32_t block = directory(1);
  entry(strings, 0, 1, kDir | block);
  const uint32_t blockData = dataEntry(2 + 4 + 15 * 2);
  entry(block, 0, 0, blockData);
  Append16(s, 2);
  test::AppendAscii16(s, "ok");
  s.resize(s.size() + 15 * 2, 0);
  entry(0, 1, kRtString, kDir | strings);

  const uint32_t rcdata = directory(0, kSharedNameEntries);
  const uint32_t rcdataBytes = dataEntry(1);
  s.push_back(7);
  for (size_t i = 0; i < kSharedNameEntries; ++i) {
    const uint32_t languages = directory(1);
    entry(languages, 0, 0, rcdataBytes);
    entry(rcdata, i, kDir | longName, kDir | languages);
  }
  entry(0, 2, kRtRcData, kDir | rcdata);

  // Each HTML resource's only language has its data entry past the section.
  const uint32_t html = directory(kBadLanguageDirectories);
  for (size_t i = 0; i < kBadLanguageDirectories; ++i) {
    const uint32_t languages = directory(1);
    entry(languages, 0, 0x0409, 0x7FFFFFF0u);
    entry(html, i, static_cast<uint32_t>(i + 1), kDir | languages);
  }
  entry(0, 3, kHtmlType, kDir | html);
  return s;
}

TEST(ResourceFlood, DamageNotesStayFewAndSmallAndEveryDamagedEntryIsCounted) {
  SimSystem sim;
  sim.files.files["m.dll"] = test::ImageWithSection(HostileSection());
  CResourceModule module(sim.files);
  ASSERT_TRUE(module.Enumerate("m.dll"));

  // The intact block reads; of the names that share the long string only as
  // many as the budget of name text allows are kept.
  std::vector<std::string> block;
  ASSERT_TRUE(module.LoadStringBlock(ResourceName::Number(1), block));
  EXPECT_EQ(block[0], "ok");
  const int kept = module.GetCount(ResourceName::Number(kRtRcData));
  EXPECT_GT(kept, 0);
  EXPECT_LT(static_cast<size_t>(kept), kSharedNameEntries);
  size_t carried = 0;
  for (const ResourceEntry& e : module.entries()) carried += e.typeName.size() + e.nameName.size();
  EXPECT_LE(carried, ResourceDirectory::kMaxNameTextBytes);
  EXPECT_EQ(module.GetCount(ResourceName::Number(kHtmlType)), 0);
  EXPECT_EQ(module.GetTypeCount(), 2);

  const auto& notes = module.GetDamage();
  ASSERT_EQ(notes.size(), ResourceDirectory::kMaxDamageNotes);
  // The flood is one note that carries a cut name and the count.
  EXPECT_EQ(notes[0].level, ResourceDamage::Level::Name);
  ASSERT_TRUE(notes[0].type && notes[0].type->isString);
  EXPECT_EQ(notes[0].type->name.rfind("ABCDEFGH", 0), 0u);
  EXPECT_LE(notes[0].type->name.size(), ResourceDamage::kMaxNoteNameBytes + 3);
  EXPECT_EQ(notes[0].more, kFloodEntries - 1);
  EXPECT_NE(DescribeDamage(notes[0]).find("and 39999 more entries of the ABCDEFGH"), std::string::npos)
      << DescribeDamage(notes[0]);
  EXPECT_EQ(notes[1].error.code, ReadError::TooMany);
  EXPECT_EQ(notes[1].more + 1 + static_cast<size_t>(kept), kSharedNameEntries);
  for (const auto& note : notes) EXPECT_LT(DescribeDamage(note).size(), 400u);
  // One note per damaged language directory until the cap; the rest counted.
  size_t damaged = module.directory().unlistedDamage();
  for (const auto& note : notes) damaged += 1 + note.more;
  EXPECT_EQ(damaged, kFloodEntries + (kSharedNameEntries - static_cast<size_t>(kept)) + kBadLanguageDirectories);

  // The browser opens it with its one warning and a node per type left.
  CResourceModule browsed(sim.files);
  const ResourceBrowserOpening opening = OpenForBrowsing(browsed, "m.dll", sim.platform);
  EXPECT_TRUE(opening.opened);
  EXPECT_FALSE(opening.damageWarning.empty());
  const ResourceBrowserTree tree = BuildResourceBrowserTree(browsed, sim.files, *sim.platform.strings);
  ASSERT_EQ(tree.resources.size(), 2u);
  EXPECT_EQ(tree.resources[1].size(), static_cast<size_t>(kept));
}

TEST(ResourceFlood, TheCommandLineWarnsInAFewShortLines) {
  const auto dir = std::filesystem::temp_directory_path() / ("qm-flood-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  const auto path = (dir / "m.dll").string();
  {
    const auto bytes = test::ImageWithSection(HostileSection());
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  }
  const std::string errPath = (dir / "stderr").string();
  FILE* pipe = ::popen((std::string(QM_CLI) + " strings " + path + " 2>" + errPath).c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::string out;
  char buffer[4096];
  for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, got);
  const int status = ::pclose(pipe);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_EQ(out, path + "\n0\tok\n");
  std::ifstream errFile(errPath);
  const std::string err{std::istreambuf_iterator<char>(errFile), std::istreambuf_iterator<char>()};
  // The notes, then one line for the damage past them.
  EXPECT_EQ(static_cast<size_t>(std::count(err.begin(), err.end(), '\n')), ResourceDirectory::kMaxDamageNotes + 1);
  EXPECT_LT(err.size(), 16u * 1024u);
  EXPECT_NE(err.find("70 more damaged entries left out"), std::string::npos) << err.substr(0, 2000);
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace qm
