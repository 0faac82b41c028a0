#include "resources/accelerator_table.h"

#include <gtest/gtest.h>

#include <fstream>

#include "resources/resource_types.h"
#include "tests/host/rc_compiler.h"
#include "tests/host/test_bytes.h"

namespace qm {
namespace {

using test::Append16;
using test::ReadFileBytes;

std::vector<uint8_t> TableBytes(const std::vector<Accelerator>& table, bool markLast = true) {
  std::vector<uint8_t> bytes;
  for (size_t i = 0; i < table.size(); ++i) {
    const bool last = markLast && i + 1 == table.size();
    Append16(bytes, table[i].flags | (last ? kAccelLast : 0));
    Append16(bytes, table[i].key);
    Append16(bytes, table[i].id);
    Append16(bytes, 0);
  }
  return bytes;
}

struct NamedTable {
  ResourceName name;
  uint16_t language = 0;
  std::vector<Accelerator> table;
};

// Every accelerator table of the compiled module, by name, in stored order.
struct CompiledTables {
  std::vector<uint8_t> bytes;
  std::vector<NamedTable> tables;
};

CompiledTables ReadTables(const std::string& path) {
  CompiledTables out;
  out.bytes = ReadFileBytes(path);
  auto image = PeImage::Parse(ByteView(out.bytes));
  if (!image) return out;
  auto resources = ResourceDirectory::Parse(*image);
  if (!resources) return out;
  const ResourceType* type = resources->FindType(ResourceName::Number(kRtAccelerator));
  if (!type) return out;
  for (const ResourceItem& item : type->items) {
    for (const ResourceLanguage& language : item.languages) {
      auto data = ResourceDirectory::Data(*image, language);
      auto table = data ? ParseAcceleratorTable(*data) : Result<std::vector<Accelerator>>(data.error());
      EXPECT_TRUE(table) << path << " " << item.name.ToText();
      if (table) out.tables.push_back({item.name, language.language, *table});
    }
  }
  return out;
}

// Writes the script, compiles it with windres (no message allowed) and
// returns the tables the DLL holds.
std::vector<NamedTable> CompileBack(const test::TempDir& dir, const std::string& name, const std::string& script) {
  const auto path = dir.path() / (name + ".rc");
  std::ofstream(path, std::ios::binary) << script;
  std::string messages;
  const std::string dll = test::CompileScriptToDll(path, &messages);
  EXPECT_FALSE(dll.empty()) << script << messages;
  EXPECT_EQ(messages, "") << script;
  return dll.empty() ? decltype(CompiledTables::tables){} : ReadTables(dll).tables;
}

TEST(AcceleratorTable, EntriesEndAtTheOneMarkedLast) {
  const std::vector<Accelerator> table{{kAccelVirtKey | kAccelControl, 'S', 100}, {0, 'a', 101}};
  auto bytes = TableBytes(table);
  // Bytes after the last entry are not part of the table.
  auto longer = bytes;
  longer.insert(longer.end(), {1, 2, 3, 4, 5, 6, 7, 8, 9});
  for (const auto& data : {bytes, longer}) {
    auto parsed = ParseAcceleratorTable(ByteView(data));
    ASSERT_TRUE(parsed);
    EXPECT_EQ(*parsed, table);
  }
  // Without the last entry's mark, or cut inside an entry, the table runs
  // past its bytes.
  auto unmarked = TableBytes(table, false);
  EXPECT_EQ(ParseAcceleratorTable(ByteView(unmarked)).error().code, ReadError::OutOfBounds);
  bytes.pop_back();
  EXPECT_EQ(ParseAcceleratorTable(ByteView(bytes)).error().code, ReadError::OutOfBounds);
  EXPECT_FALSE(ParseAcceleratorTable(ByteView()));
}

TEST(AcceleratorTable, EveryFlagAndKeyFormCompilesBackToTheSameTable) {
  if (!test::HaveMinGw()) GTEST_SKIP() << "MinGW windres is not installed";
  std::vector<Accelerator> table;
  uint16_t id = 1;
  // Virtual keys with every combination of the four modifiers.
  for (uint16_t modifiers = 0; modifiers < 16; ++modifiers) {
    const uint16_t flags = static_cast<uint16_t>(
        kAccelVirtKey | ((modifiers & 1) ? kAccelNoInvert : 0) | ((modifiers & 2) ? kAccelShift : 0) |
        ((modifiers & 4) ? kAccelControl : 0) | ((modifiers & 8) ? kAccelAlt : 0));
    table.push_back({flags, static_cast<uint16_t>(0x70 + modifiers), id++});
  }
  // Character keys: letters of both cases, the characters a quoted key
  // cannot hold (quote, backslash, caret, space), control characters (a
  // quoted "^B" would be a virtual key with Control), DEL and past ASCII.
  for (uint16_t key : {u'a', u'Z', u'0', u'"', u'\\', u'^', u' ', u'\x02', u'\x1b', u'\x7f', u'\xe9', u'\x20ac'})
    table.push_back({0, key, id++});
  table.push_back({kAccelAlt, 'x', id++});
  table.push_back({kAccelNoInvert | kAccelAlt, 'y', id++});
  table.push_back({kAccelVirtKey, 'A', 0});
  table.push_back({kAccelVirtKey, 0xFFFF, 0xFFFF});
  ASSERT_EQ(AcceleratorScriptGap(table), std::nullopt);

  test::TempDir dir("accelerators");
  const std::string script = AcceleratorScriptText(table, ResourceName::Number(7)) +
                             AcceleratorScriptText({{0, 'k', 9}}, ResourceName::String("KEYS"));
  const auto compiled = CompileBack(dir, "every_form", script);
  ASSERT_EQ(compiled.size(), 2u);
  EXPECT_EQ(compiled[0].name.ToText(), "KEYS");
  EXPECT_EQ(compiled[0].table, (std::vector<Accelerator>{{0, 'k', 9}}));
  EXPECT_EQ(compiled[1].name.ToText(), "#7");
  EXPECT_EQ(compiled[1].table, table);
  // Control characters are numbers, printable keys quoted.
  EXPECT_NE(script.find("\n  2, 24, ASCII\n"), std::string::npos) << script;
  EXPECT_NE(script.find("\n  \"a\", 17, ASCII\n"), std::string::npos) << script;
  EXPECT_NE(script.find("\n  34, 20, ASCII\n"), std::string::npos) << script;
  EXPECT_NE(script.find("\n  127, 16, VIRTKEY, NOINVERT, ALT, SHIFT, CONTROL\n"), std::string::npos) << script;
}

TEST(AcceleratorTable, WhatTheScriptCannotSayIsNamed) {
  EXPECT_EQ(AcceleratorScriptGap({{kAccelVirtKey, 'A', 1}, {kAccelAlt, 'a', 2}}), std::nullopt);
  EXPECT_EQ(AcceleratorScriptGap({{kAccelVirtKey, 'A', 1}, {0x20 | kAccelVirtKey, 'B', 2}}),
            "entry 2 has flags 0x0021 that the script cannot write");
  // The compiler warns of Shift and Control on a character key.
  EXPECT_EQ(AcceleratorScriptGap({{kAccelShift, 'a', 1}}), "entry 1 has Shift or Control on a character key");
  EXPECT_TRUE(AcceleratorScriptGap({{kAccelControl, 'a', 1}}));
}

TEST(AcceleratorTable, AHandWrittenTableSurvivesAWriteAndACompile) {
  if (!test::HaveMinGw()) GTEST_SKIP() << "MinGW windres is not installed";
  test::TempDir dir("accelerators-back");
  // A script in the usual hand-written forms: "^C" is Control with the
  // virtual key C, a quoted letter with VIRTKEY is that key's code.
  const auto original = CompileBack(dir, "hand", R"(#include <windows.h>
MAINKEYS ACCELERATORS
BEGIN
  "^C", 100
  "a", 101
  "N", 102, VIRTKEY, CONTROL, SHIFT
  VK_F5, 103, VIRTKEY, NOINVERT
  VK_DELETE, 104, VIRTKEY, ALT
  "?", 105, ASCII, ALT
END
)");
  ASSERT_EQ(original.size(), 1u);
  EXPECT_EQ(original[0].table[0], (Accelerator{kAccelVirtKey | kAccelControl, 'C', 100}));
  const auto again = CompileBack(dir, "again", AcceleratorScriptText(original[0].table, original[0].name));
  ASSERT_EQ(again.size(), 1u);
  EXPECT_EQ(again[0].table, original[0].table);
}

}  // namespace
}  // namespace qm
