#include "resources/extract_folder.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "common/text.h"
#include "platform/sim/sim_system.h"
#include "res/string_ids.h"
#include "resources/extract_messages.h"
#include "tests/host/rc_compiler.h"
#include "tests/host/test_bytes.h"

namespace qm {
namespace {

namespace fs = std::filesystem;

TEST(ExtractFolder, EachModuleGetsAFolderNamedWithItsExtensionAndAScriptWithout) {
  const ExtractLayout tlb = PlanExtractFolder("/out", "C:\\w\\mshtml.tlb");
  EXPECT_EQ(tlb.folder, "/out/mshtml.tlb");
  EXPECT_EQ(tlb.scriptName, "mshtml.rc");
  EXPECT_EQ(tlb.scriptPath, "/out/mshtml.tlb/mshtml.rc");
  EXPECT_EQ(PlanExtractFolder("/out", "/lib/README").scriptName, "README.rc");
  EXPECT_EQ(PlanExtractFolder("/out", ".hidden").scriptName, ".hidden.rc");
}

// The files go one at a time; a file that cannot be written stops the
// writer there and leaves what was at its place, and the messages name it.
TEST(ExtractFolder, FilesAreWrittenOneAtATimeAndAFailureStopsAtTheFileAndKeepsWhatWasThere) {
  test::TempDir dir("extract-folder");
  ModuleExtract extract;
  extract.script = "1 RCDATA \"res/a.bin\"\n";
  extract.files = {{"res/a.bin", {1, 2, 3}}, {"res/b.ico", {4}}};
  extract.statements = 0;
  extract.dataFiles = 2;
  const std::string out = dir.path().string();
  ExtractFolderWriter writer(PlanExtractFolder(out, "m.dll"), extract);
  EXPECT_EQ(writer.Count(), 3u);
  EXPECT_TRUE(writer.ExistingPaths().empty());
  ASSERT_TRUE(writer.MakeFolders());
  while (writer.WriteNext()) {
  }
  EXPECT_TRUE(writer.Done());
  EXPECT_EQ(test::ReadFileText(dir.path() / "m.dll" / "m.rc"), "1 RCDATA \"res/a.bin\"\r\n");
  EXPECT_EQ(test::ReadFileBytes(dir.path() / "m.dll" / "res" / "b.ico"), std::vector<uint8_t>{4});
  EXPECT_EQ(writer.ExistingPaths().size(), 3u);

  // b.ico's place is taken by a folder holding a file.
  ExtractFolderWriter again(PlanExtractFolder(out, "m.dll"), extract);
  fs::remove(dir.path() / "m.dll" / "res" / "b.ico");
  fs::create_directories(dir.path() / "m.dll" / "res" / "b.ico" / "kept");
  EXPECT_TRUE(again.WriteNext());
  EXPECT_TRUE(again.WriteNext());
  EXPECT_FALSE(again.WriteNext());
  EXPECT_EQ(again.Written(), 2u);
  EXPECT_TRUE(fs::is_directory(dir.path() / "m.dll" / "res" / "b.ico" / "kept"));

  SimSystem sim;
  const std::string failed = ExtractEndText(sim.strings, again, extract, ExtractEnd::Failed);
  EXPECT_EQ(failed, FormatTable(sim.strings.LoadString(IDS_EXTRACT_WRITE_FAILED), {again.PathOf(2), "2", "3"}));
  EXPECT_NE(ExtractEndText(sim.strings, writer, extract, ExtractEnd::Written).find(writer.Layout().scriptPath),
            std::string::npos);
  const std::vector<std::string> existing(7, "/x/res/f.bin");
  const std::string question = ExtractOverwriteQuestion(sim.strings, "/x", existing);
  EXPECT_NE(question.find(" 7 "), std::string::npos);
  size_t named = 0;
  for (size_t at = question.find("f.bin"); at != std::string::npos; at = question.find("f.bin", at + 1)) ++named;
  EXPECT_EQ(named, kExtractExistingNamed);
}

}  // namespace
}  // namespace qm
