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

using test::ReadFileBytes;

struct Module {
  std::vector<uint8_t> bytes;
  std::optional<PeImage> image;
  std::optional<ResourceDirectory> resources;
};

std::unique_ptr<Module> OpenModule(std::vector<uint8_t> bytes) {
  auto module = std::make_unique<Module>();
  module->bytes = std::move(bytes);
  auto image = PeImage::Parse(ByteView(module->bytes));
  if (!image) return nullptr;
  module->image = *image;
  auto resources = ResourceDirectory::Parse(*module->image);
  if (!resources) return nullptr;
  module->resources = *resources;
  return module;
}

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
  std::filesystem::current_path(cwd);
  EXPECT_EQ(messages, "") << stem;
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
