#include "resources/module_extract.h"

#include <gtest/gtest.h>

#include <fstream>

#include "resources/accelerator_table.h"
#include "resources/dialog_script.h"
#include "resources/dialog_template.h"
#include "resources/icon_file.h"
#include "resources/menu_statement.h"
#include "resources/resource_types.h"
#include "resources/string_block.h"
#include "resources/version_script.h"
#include "tests/host/rc_compiler.h"
#include "tests/host/resource_image.h"

namespace qm {
namespace {

using test::Module;
using test::OpenModule;
using test::ReadFileBytes;

// Writes the script and its files into dir and compiles them into a DLL; the
// compiler may not say a word.
std::unique_ptr<Module> CompileExtract(const test::TempDir& dir, const std::string& stem, const ModuleExtract& e) {
  std::filesystem::create_directories(dir.path() / stem / "res");
  for (const ExtractedFile& file : e.files)
    std::ofstream(dir.path() / stem / file.path, std::ios::binary)
        .write(reinterpret_cast<const char*>(file.bytes.data()), static_cast<std::streamsize>(file.bytes.size()));
  const auto script = dir.path() / stem / (stem + ".rc");
  std::ofstream(script, std::ios::binary) << e.script;
  // windres looks for the files beside the script only when run there.
  const auto cwd = std::filesystem::current_path();
  std::filesystem::current_path(dir.path() / stem);
  std::string messages;
  const std::string dll = test::CompileScriptToDll(script, &messages);
  // The other MinGW target's compiler takes the script without a word too.
  const std::string log = script.string() + ".i686.log";
  const int i686 = std::system(
      ("i686-w64-mingw32-windres '" + script.string() + "' -O coff -o '" + script.string() + ".i686.o' 2>'" + log + "'")
          .c_str());
  std::filesystem::current_path(cwd);
  EXPECT_EQ(messages, "") << stem;
  EXPECT_EQ(i686, 0) << stem;
  EXPECT_EQ(test::ReadFileText(log), "") << stem;
  if (dll.empty()) return nullptr;
  return OpenModule(ReadFileBytes(dll));
}

bool IsImageType(const ResourceName& type) { return !type.isString && (type.id == kRtIcon || type.id == kRtCursor); }

// What a reader gets from one resource: the decoded form where the script
// may lay it out differently, else the bytes.
std::string Contents(const Module& m, const ResourceName& type, const ResourceName& name, uint16_t language) {
  const ResourceItem* item = m.resources->Find(type, name);
  const ResourceLanguage* stored = nullptr;
  if (item)
    for (const ResourceLanguage& l : item->languages)
      if (l.language == language) stored = &l;
  if (!stored) return "<missing>";
  auto data = ResourceDirectory::Data(*m.image, *stored);
  if (!data) return "<unreadable>";
  if (!type.isString) {
    if (type.id == kRtGroupIcon || type.id == kRtGroupCursor) {
      // Image IDs are renumbered; the images, their order and hot spots stay.
      auto file =
          MakeIconFileFromGroup(*m.image, *m.resources,
                                type.id == kRtGroupIcon ? IconGroupKind::Icon : IconGroupKind::Cursor, name, language);
      return file ? std::string(file->begin(), file->end()) : "<group>";
    }
    if (type.id == kRtString) {
      if (auto strings = DecodeStringBlock(*data)) {
        std::string text;
        for (const std::string& s : *strings) text += s + '\0';
        return text;
      }
    }
    if (type.id == kRtAccelerator) {
      if (auto table = ParseAcceleratorTable(*data)) return AcceleratorScriptText(*table, ResourceName::Number(1));
    }
    if (type.id == kRtMenu) {
      if (auto menu = ParseMenuTemplate(*data)) return MenuStatementText(*menu, ResourceName::Number(1));
    }
    if (type.id == kRtDialog) {
      if (auto dialog = ParseDialogTemplate(*data)) {
        // The compiler upper-cases a control's class name.
        for (DialogControl& control : dialog->controls) {
          for (char& c : control.className) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
          for (char& c : control.windowClass.text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
        return DialogScriptText(*dialog, ResourceName::Number(1));
      }
    }
    if (type.id == kRtVersion) {
      if (auto block = VersionBlock::Parse(*data))
        return VersionScriptText(*block, ResourceName::Number(1)).value_or("");
    }
  }
  const auto bytes = data->bytes();
  return std::string(bytes.begin(), bytes.end());
}

// The proof: every resource the extract did not list as damaged comes back
// with the same type, name and language and the same contents, and nothing
// else comes back.
void ExpectSameResources(const Module& original, const Module& compiled, const ModuleExtract& e) {
  size_t compared = 0, originalImages = 0, compiledImages = 0, compiledOthers = 0;
  for (const ResourceType& type : original.resources->types())
    for (const ResourceItem& item : type.items)
      for (const ResourceLanguage& language : item.languages) {
        if (IsImageType(type.type)) {
          ++originalImages;
          continue;
        }
        const std::string what = DescribeExtractResource(type.type, item.name, language.language);
        const bool damaged = std::any_of(e.damaged.begin(), e.damaged.end(),
                                         [&](const ExtractNote& note) { return note.resource == what; });
        if (damaged) continue;
        EXPECT_EQ(Contents(compiled, type.type, item.name, language.language),
                  Contents(original, type.type, item.name, language.language))
            << what;
        ++compared;
      }
  for (const ResourceType& type : compiled.resources->types())
    for (const ResourceItem& item : type.items)
      (IsImageType(type.type) ? compiledImages : compiledOthers) += item.languages.size();
  EXPECT_EQ(compiledOthers, compared);
  // Images shared by several groups are written once per group.
  EXPECT_GE(compiledImages, originalImages - std::min(originalImages, e.damaged.size()));
}

std::vector<uint8_t> Bytes(std::initializer_list<uint8_t> list) { return std::vector<uint8_t>(list); }

std::vector<uint8_t> AcceleratorBytes(uint16_t flags, uint16_t key, uint16_t id) {
  std::vector<uint8_t> bytes;
  test::Append16(bytes, flags | kAccelLast);
  test::Append16(bytes, key);
  test::Append16(bytes, id);
  test::Append16(bytes, 0);
  return bytes;
}

// A plain menu whose only item carries MFS_DEFAULT, which MENU has no word for.
std::vector<uint8_t> DefaultItemMenu() {
  std::vector<uint8_t> bytes(4, 0);
  test::Append16(bytes, 0x80 | 0x1000);
  test::Append16(bytes, 7);
  test::AppendAscii16(bytes, "Open");
  test::Append16(bytes, 0);
  return bytes;
}

TEST(ModuleExtract, NamesLanguagesFallbacksAndDamageAreWrittenAndListed) {
  const auto number = [](uint16_t id) { return ResourceName::Number(id); };
  const auto text = [](const char* name) { return ResourceName::String(name); };
  std::vector<uint8_t> emptyBlock(32, 0);
  std::vector<uint8_t> group{0, 0, 1, 0, 1, 0, 16, 16, 0, 0, 1, 0, 4, 0, 0, 0, 0, 0, 99, 0};
  auto module = OpenModule(test::ImageWithSection(test::ResourceSection({
      {text("MY TYPE"), number(1), 0, Bytes({1})},
      {text("TYPELIB"), text("A/B"), 0, Bytes({2})},
      {text("TYPELIB"), text("a_b"), 0, Bytes({3})},
      {text("TYPELIB"), number(7), 0x0409, Bytes({4})},
      {text("TYPELIB"), number(7), 0x0407, Bytes({5})},
      {number(kRtCursor), number(5), 0, Bytes({0, 0, 0, 0})},
      {number(kRtMenu), number(3), 0x0c0a, DefaultItemMenu()},
      {number(kRtString), number(2), 0, emptyBlock},
      {number(kRtAccelerator), number(4), 0, AcceleratorBytes(kAccelShift, 'a', 9)},
      {number(kRtRcData), text("123"), 0x0409, Bytes({6, 7})},
      {number(kRtGroupIcon), number(8), 0, group},
  })));
  ASSERT_TRUE(module);
  const ModuleExtract e = ExtractModuleResources(*module->image, *module->resources, "hand.dll");

  std::vector<std::string> paths;
  for (const ExtractedFile& file : e.files) paths.push_back(file.path);
  // "/" and the space made safe; names equal but for case kept apart.
  EXPECT_EQ(paths,
            (std::vector<std::string>{"res/TYPELIB_A_B_0000.bin", "res/TYPELIB_a_b_0000_2.bin",
                                      "res/TYPELIB_7_0409.bin", "res/TYPELIB_7_0407.bin", "res/type4_3_0c0a.bin",
                                      "res/type6_2_0000.bin", "res/type9_4_0000.bin", "res/type10_123_0409.bin"}));
  EXPECT_NE(e.script.find("\nLANGUAGE 0x09, 0x01\n7 TYPELIB \"res/TYPELIB_7_0409.bin\"\n"), std::string::npos)
      << e.script;
  EXPECT_NE(e.script.find("\nLANGUAGE 0x07, 0x01\n7 TYPELIB \"res/TYPELIB_7_0407.bin\"\n"), std::string::npos)
      << e.script;
  // A string name that reads as a number stays quoted; custom types are bare.
  EXPECT_NE(e.script.find("\"123\" 10 \"res/type10_123_0409.bin\"\n"), std::string::npos) << e.script;
  EXPECT_NE(e.script.find("\"A/B\" TYPELIB \"res/TYPELIB_A_B_0000.bin\"\n"), std::string::npos) << e.script;
  EXPECT_NE(e.script.find("\nLANGUAGE 0x0a, 0x03\n3 4 \"res/type4_3_0c0a.bin\"\n"), std::string::npos) << e.script;

  ASSERT_EQ(e.rawFallbacks.size(), 3u);
  EXPECT_EQ(e.rawFallbacks[0].resource, "RT_MENU/#3 (0x0c0a)");
  EXPECT_EQ(e.rawFallbacks[0].reason, "item \"Open\" has state bits 0x1000 that MENU cannot write");
  EXPECT_EQ(e.rawFallbacks[1].resource, "RT_STRING/#2 (0x0000)");
  EXPECT_EQ(e.rawFallbacks[2].reason, "entry 1 has Shift or Control on a character key");
  EXPECT_EQ(e.dataFiles, 5u);
  EXPECT_EQ(e.statements, 0u);

  std::vector<std::string> damaged;
  for (const ExtractNote& note : e.damaged) damaged.push_back(note.resource + ": " + note.reason);
  EXPECT_EQ(damaged, (std::vector<std::string>{
                         "MY TYPE/#1 (0x0000): the type's name cannot be written in a script (a quoted type is a "
                         "syntax error)",
                         "RT_GROUP_ICON/#8 (0x0000): image 1 (ID 99) is missing",
                         "RT_CURSOR/#5 (0x0000): no group that could be written names this image",
                     }));
  // The script ends with what it left out.
  EXPECT_NE(e.script.find("\n// Left out, damaged:\n//   MY TYPE/#1 (0x0000): "), std::string::npos) << e.script;

  if (!test::HaveMinGw()) GTEST_SKIP() << "MinGW windres is not installed";
  test::TempDir dir("extract-hand");
  auto compiled = CompileExtract(dir, "hand", e);
  ASSERT_TRUE(compiled);
  ExpectSameResources(*module, *compiled, e);
}

TEST(ModuleExtract, FixtureAndWineModulesCompileBackToTheSameResources) {
  if (!test::HaveMinGw()) GTEST_SKIP() << "MinGW windres is not installed";
  test::TempDir dir("extract");
  const std::string wine = "/usr/lib/x86_64-linux-gnu/wine/x86_64-windows/";
  const std::string fixtures = std::string(QM_FIXTURE_DIR) + "/x86_64/";
  for (const std::string& path :
       {fixtures + "images.dll", fixtures + "resources.dll", fixtures + "version_two.exe", wine + "notepad.exe",
        wine + "regedit.exe", wine + "winecfg.exe", wine + "comdlg32.dll", wine + "comctl32.dll", wine + "user32.dll",
        wine + "shell32.dll"}) {
    if (path.rfind(wine, 0) == 0 && !std::filesystem::exists(path)) continue;
    SCOPED_TRACE(path);
    auto original = OpenModule(ReadFileBytes(path));
    ASSERT_TRUE(original);
    const std::string stem = std::filesystem::path(path).stem().string();
    const ModuleExtract e = ExtractModuleResources(*original->image, *original->resources, stem);
    auto compiled = CompileExtract(dir, stem, e);
    ASSERT_TRUE(compiled);
    ExpectSameResources(*original, *compiled, e);
    for (const ExtractNote& note : e.rawFallbacks) ADD_FAILURE() << "raw: " << note.resource << ": " << note.reason;
  }
}

}  // namespace
}  // namespace qm
