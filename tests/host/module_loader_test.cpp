// The module loader: what it maps from its own copy, what it refuses and why.
#include "headers/module_loader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "headers/header_dump.h"
#include "headers/header_format.h"
#include "platform/sim/sim_system.h"
#include "tests/host/dump_tree_queries.h"
#include "tests/host/module_image.h"
#include "tests/host/test_bytes.h"

namespace qm {
namespace {

using namespace test;

TEST(ModuleLoader, FillsTheMappingRecordFromItsOwnCopy) {
  ModuleFixture f;
  TestImage image(false);
  ASSERT_TRUE(f.Load(image.bytes));
  const LoadedImage* li = f.loader.GetImage();
  ASSERT_NE(li, nullptr);
  EXPECT_EQ(li->ModuleName, "C:\\m.dll");
  EXPECT_EQ(li->hFile, 0u);
  EXPECT_EQ(li->FileHeader, li->MappedAddress + TestImage::kNt);
  EXPECT_EQ(li->Sections, li->MappedAddress + image.SectionTable());
  EXPECT_EQ(li->LastRvaSection, li->Sections);
  EXPECT_EQ(li->NumberOfSections, 1u);
  EXPECT_EQ(li->Characteristics, 0x2102u);
  EXPECT_FALSE(li->fSystemImage);
  EXPECT_FALSE(li->fDOSImage);
  EXPECT_EQ(li->SizeOfImage, image.bytes.size());
  EXPECT_EQ(li->Links.Flink, &li->Links);
  EXPECT_EQ(li->Links.Blink, &li->Links);
  EXPECT_EQ(f.loader.GetDirectoryEntry(16), nullptr);
  EXPECT_EQ(f.loader.GetDirectoryData(0).error().code, ReadError::NotFound);

  // Loading again without a path reads the same file; unloading forgets it.
  ASSERT_TRUE(f.loader.Load());
  EXPECT_EQ(f.loader.GetImage()->ModuleName, "C:\\m.dll");
  f.loader.Unload();
  EXPECT_EQ(f.loader.GetImage(), nullptr);
  EXPECT_EQ(f.loader.GetNtHeaders(), nullptr);
  EXPECT_FALSE(f.loader.Load());  // no name left
}

TEST(ModuleLoader, RefusesWhatIsNotAModuleWithAReason) {
  ModuleFixture f;
  EXPECT_FALSE(f.loader.Load("C:\\missing.dll"));
  EXPECT_EQ(f.loader.GetLoadError(), 2u);
  EXPECT_EQ(f.loader.GetParseError().code, ReadError::Io);
  EXPECT_EQ(f.loader.GetFileName(), "C:\\missing.dll");

  std::vector<uint8_t> shortDos(63, 0);
  shortDos[0] = 'M';
  shortDos[1] = 'Z';
  EXPECT_FALSE(f.Load(shortDos));  // shorter than a DOS header
  EXPECT_EQ(f.loader.GetParseError().code, ReadError::OutOfBounds);
  EXPECT_EQ(f.loader.GetLoadError(), 0u);

  std::vector<uint8_t> text(200, 'a');
  EXPECT_FALSE(f.Load(text));
  ASSERT_TRUE(f.loader.GetFileError().has_value());
  EXPECT_EQ(f.loader.GetFileError()->reason, FileFailure::NotAModule);
  EXPECT_EQ(f.loader.GetLoadError(), kErrorBadExeFormat);

  // A PE signature with broken headers behind it is refused, not shown as DOS.
  TestImage image(false);
  Put16(image.bytes, TestImage::kOptional, 0x999);
  EXPECT_FALSE(f.Load(image.bytes));
  EXPECT_EQ(f.loader.GetParseError().code, ReadError::BadSignature);
  EXPECT_EQ(f.loader.GetParseError().offset, TestImage::kOptional);
}

TEST(ModuleLoader, DosProgramsAndDamagedDosSignatures) {
  ModuleFixture f;
  std::vector<uint8_t> dos(128, 0);
  Put16(dos, 0, 0x5A4D);
  Put32(dos, 0x3C, 0x7FFFFFF0);  // e_lfanew past the end: a plain DOS program
  ASSERT_TRUE(f.Load(dos));
  EXPECT_TRUE(f.loader.GetImage()->fDOSImage);
  EXPECT_EQ(f.loader.GetNtHeaders(), nullptr);
  HeaderDump summary = BuildHeaderDump(f.loader, false, f.text);
  EXPECT_EQ(Lines(summary.root), std::vector<std::string>{"Firma de cabecera DOS: 0x5a4d [MZ]"});
  HeaderDump complete = BuildHeaderDump(f.loader, true, f.text);
  EXPECT_EQ(Lines(complete.root), (std::vector<std::string>{"LOADED_IMAGE", "IMAGE_DOS_HEADER"}));
  EXPECT_NE(Find(complete.root, "fDOSImage = TRUE"), nullptr);

  // NT headers behind a damaged "MZ" are still read; the DOS node holds only
  // its signature.
  TestImage image(false);
  Put16(image.bytes, 0, 0x4D5A);
  ASSERT_TRUE(f.Load(image.bytes));
  summary = BuildHeaderDump(f.loader, false, f.text);
  EXPECT_EQ(summary.root.children.at(0).text, "Firma de cabecera desconocida: 0x4d5a [ZM]");
  complete = BuildHeaderDump(f.loader, true, f.text);
  const TreeNode* dosNode = Find(complete.root, "IMAGE_DOS_HEADER");
  ASSERT_NE(dosNode, nullptr);
  EXPECT_EQ(Lines(*dosNode), std::vector<std::string>{"e_magic (magic number) = 0x4d5a [ZM]"});
  EXPECT_NE(Find(complete.root, "IMAGE_NT_HEADERS"), nullptr);
}

}  // namespace
}  // namespace qm
