// The header dump of modules built from bytes: PE32 against PE32+.
#include "headers/header_dump.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "headers/export_table.h"
#include "headers/header_format.h"
#include "headers/module_loader.h"
#include "platform/sim/sim_system.h"
#include "tests/host/dump_tree_queries.h"
#include "tests/host/module_image.h"
#include "tests/host/test_bytes.h"

namespace qm {
namespace {

using namespace test;

TEST(HeaderDump, Pe32AndPe32PlusShowTheSameNodesWithTheirOwnFields) {
  for (bool plus : {false, true}) {
    ModuleFixture f;
    TestImage image(plus);
    Put64(image.bytes, image.kOptional + (plus ? 72 : 72), plus ? 0x123456789ull : 0x100000);
    ASSERT_TRUE(f.Load(image.bytes));
    const TreeNode root = BuildHeaderDump(f.loader, true, f.text).root;
    CheckImages(root);
    EXPECT_EQ(Lines(root), (std::vector<std::string>{"LOADED_IMAGE", "IMAGE_DOS_HEADER", "IMAGE_NT_HEADERS"}));
    const TreeNode* optional = Find(root, "OptionalHeader (IMAGE_OPTIONAL_HEADER64)");
    ASSERT_NE(optional, nullptr);
    EXPECT_EQ(Lines(*optional), (std::vector<std::string>{"Standard fields", "NT additional fields",
                                                          "DataDirectory[] (IMAGE_DATA_DIRECTORY)"}));
    const TreeNode* standard = Find(root, "Standard fields");
    EXPECT_EQ(standard->children.size(), plus ? 8u : 9u);
    EXPECT_EQ(FindPrefix(root, "BaseOfData = ") != nullptr, !plus);
    EXPECT_EQ(Find(*standard, plus ? "Magic = 0x020b" : "Magic = 0x010b: Normal executable file") != nullptr, true);
    if (plus) {
      EXPECT_NE(Find(root, "ImageBase = 5368709120 [0x140000000]"), nullptr);
      EXPECT_NE(Find(root, "SizeOfStackReserve = 4886718345"), nullptr);
      EXPECT_NE(Find(root, "Machine = 0x8664 (IMAGE_FILE_MACHINE_AMD64)"), nullptr);
    } else {
      EXPECT_NE(Find(root, "ImageBase = 268435456 [0x10000000]"), nullptr);
      EXPECT_NE(Find(root, "BaseOfData = 0x00002000"), nullptr);
      EXPECT_NE(Find(root, "SizeOfStackReserve = 1048576"), nullptr);
    }
    const TreeNode* nt = Find(root, "NT additional fields");
    EXPECT_EQ(nt->children.size(), 21u);
    // Without directories: the empty export and import nodes with their entry lines.
    const TreeNode* exports = Find(root, "Export directory");
    ASSERT_NE(exports, nullptr);
    EXPECT_EQ(Lines(*exports), (std::vector<std::string>{"VirtualAddress = 0x00000000", "Size = 0 bytes"}));
  }
}

TEST(HeaderDump, SummaryCharacteristicsAndDllCharacteristics) {
  ModuleFixture f;
  TestImage image(false);
  Put16(image.bytes, TestImage::kOptional + 70, 0x2000);
  ASSERT_TRUE(f.Load(image.bytes));
  const TreeNode summary = BuildHeaderDump(f.loader, false, f.text).root;
  EXPECT_EQ(Lines(summary), (std::vector<std::string>{
                                "Firma de cabecera DOS: 0x5a4d [MZ]", "Firma de cabecera NT: 0x00004550 [PE  ]",
                                "Tipo de máquina: IMAGE_FILE_MACHINE_I386", "Subsistema: IMAGE_SUBSYSTEM_WINDOWS_GUI",
                                "Características del módulo", "Funciones que exporta", "Librerías que importa"}));
  EXPECT_EQ(Lines(summary.children[4]),
            (std::vector<std::string>{"IMAGE_FILE_EXECUTABLE_IMAGE", "IMAGE_FILE_32BIT_MACHINE", "IMAGE_FILE_DLL"}));
  const TreeNode complete = BuildHeaderDump(f.loader, true, f.text).root;
  EXPECT_NE(Find(complete, "DllCharacteristics = 0x2000: Driver is a WDM Driver"), nullptr);

  Put16(image.bytes, TestImage::kNt + 22, 0);
  Put16(image.bytes, TestImage::kOptional + 70, 0x2001);
  ASSERT_TRUE(f.Load(image.bytes));
  EXPECT_EQ(Find(BuildHeaderDump(f.loader, false, f.text).root, "Características del módulo"), nullptr);
  const TreeNode plain = BuildHeaderDump(f.loader, true, f.text).root;
  const TreeNode* flags = Find(plain, "Characteristics = 0x0000");
  ASSERT_NE(flags, nullptr);
  EXPECT_EQ(flags->image, kDumpLeafImage);
  EXPECT_TRUE(flags->children.empty());
  EXPECT_NE(Find(plain, "DllCharacteristics = 0x2001"), nullptr);
}

}  // namespace
}  // namespace qm
