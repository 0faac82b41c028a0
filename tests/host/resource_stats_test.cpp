#include "resources/resource_stats.h"

#include <gtest/gtest.h>

#include "common/number_format.h"
#include "platform/sim/sim_system.h"
#include "resource_image.h"
#include "resources/resource_tree.h"

namespace qm {
namespace {

std::vector<uint8_t> Filler(size_t size) { return std::vector<uint8_t>(size, 0xAB); }

std::vector<std::string> Lines(const std::vector<StatisticsRow>& rows) {
  std::vector<std::string> lines;
  for (const auto& r : rows) lines.push_back(r.label + ": " + r.value);
  return lines;
}

class Statistics : public ::testing::Test {
 protected:
  void Load(const std::vector<test::TestResource>& resources) {
    sim_.files.files["C:\\m\\icons.dll"] = test::ImageWithSection(test::ResourceSection(resources));
    ASSERT_TRUE(module_.Enumerate("C:\\m\\icons.dll"));
  }
  SimSystem sim_;
  CResourceModule module_{sim_.files};
};

TEST_F(Statistics, ModuleRowsCountResourcesTypesAndBytes) {
  Load({{ResourceName::Number(3), ResourceName::Number(1), 0, Filler(744)},
        {ResourceName::Number(3), ResourceName::Number(2), 0, Filler(296)},
        {ResourceName::Number(3), ResourceName::Number(3), 0, Filler(1384)}});
  EXPECT_EQ(
      Lines(ModuleStatisticsRows(module_, sim_.strings)),
      (std::vector<std::string>{"Estadísticas del módulo: C:\\m\\icons.dll", "Tamaño en disco: 2.424 bytes (<3 Kb)",
                                "Número de recursos: 3", "Tipos de recursos: 1"}));
}

TEST_F(Statistics, TypeRowsNameTheTypeByItsRtNameItsOwnNameOrAsUnknown) {
  Load({{ResourceName::String("PNG"), ResourceName::String("LOGO"), 0, Filler(10)},
        {ResourceName::Number(3), ResourceName::Number(1), 0, Filler(2048)},
        {ResourceName::Number(99), ResourceName::Number(1), 0, Filler(1)}});
  EXPECT_EQ(Lines(TypeStatisticsRows(module_, ResourceName::String("PNG"), sim_.strings)),
            (std::vector<std::string>{"Estadísticas del módulo: C:\\m\\icons.dll", "Tipo de recurso: PNG",
                                      "Tamaño en disco: 10 bytes (~1 Kb)", "Número de recursos: 1"}));
  EXPECT_EQ(Lines(TypeStatisticsRows(module_, ResourceName::Number(3), sim_.strings))[1], "Tipo de recurso: RT_ICON");
  EXPECT_EQ(Lines(TypeStatisticsRows(module_, ResourceName::Number(3), sim_.strings))[2],
            "Tamaño en disco: 2.048 bytes (~3 Kb)");
  EXPECT_EQ(Lines(TypeStatisticsRows(module_, ResourceName::Number(99), sim_.strings))[1],
            "Tipo de recurso: <desconocido>");
  // A number is never a named type's name.
  EXPECT_EQ(Lines(TypeStatisticsRows(module_, ResourceName::Number(10), sim_.strings))[3], "Número de recursos: 0");
}

TEST_F(Statistics, TheTreeGroupsByLabelInOrderOfFirstResource) {
  Load({{ResourceName::String("PNG"), ResourceName::String("LOGO"), 0, Filler(10)},
        {ResourceName::Number(3), ResourceName::Number(1), 0, Filler(20)},
        {ResourceName::Number(30), ResourceName::Number(7), 0, Filler(1)},
        {ResourceName::Number(31), ResourceName::String("X"), 0, Filler(2)},
        {ResourceName::Number(241), ResourceName::Number(5), 0, Filler(3)}});
  const TreeNode root = BuildResourceTree(module_, "icons.dll", sim_.strings);
  EXPECT_EQ(root.text, "icons.dll");
  EXPECT_EQ(root.image, kResourceRootImage);
  ASSERT_EQ(root.children.size(), 4u);
  EXPECT_EQ(root.children[0].text, "PNG");
  EXPECT_EQ(root.children[1].text, "Icon");
  // Two numbers without a row share the one "<desconocido>" node.
  EXPECT_EQ(root.children[2].text, "<desconocido>");
  ASSERT_EQ(root.children[2].children.size(), 2u);
  EXPECT_EQ(root.children[2].children[0].text, "7");
  EXPECT_EQ(root.children[2].children[1].text, "X");
  EXPECT_EQ(root.children[3].text, "Barra de herramientas");
  EXPECT_EQ(root.children[1].image, kResourceTypeNodeImage);
  EXPECT_EQ(root.children[0].children[0].image, 24);
  EXPECT_EQ(root.children[1].children[0].image, 19);
  EXPECT_EQ(root.children[3].children[0].image, 23);
  using Members = std::vector<std::pair<std::string, std::string>>;
  EXPECT_EQ(root.children[0].children[0].json, (Members{{"type", "\"PNG\""}, {"name", "\"LOGO\""}, {"size", "10"}}));
  EXPECT_EQ(root.children[2].children[1].json, (Members{{"type", "31"}, {"name", "\"X\""}, {"size", "2"}}));
}

TEST(NumberFormat, GroupsThousandsWithDotsAndDecimalsWithACommaThousands) {
  EXPECT_EQ(FormatNumber(uint64_t{0}), "0");
  EXPECT_EQ(FormatNumber(uint64_t{999}), "999");
  EXPECT_EQ(FormatNumber(uint64_t{1000}), "1.000");
  EXPECT_EQ(FormatNumber(uint64_t{123456}), "123.456");
  EXPECT_EQ(FormatNumber(UINT64_MAX), "18.446.744.073.709.551.615");
  EXPECT_EQ(FormatNumber(1234.5, 2), "1.234,50");
  EXPECT_EQ(FormatNumber(0.125, 2), "0,13");
  EXPECT_EQ(FormatNumber(-1999.96, 1), "-2.000,0");
  EXPECT_EQ(FormatNumber(-0.001, 2), "0,00");
  EXPECT_EQ(FormatNumber(1e20, 0), "100.000.000.000.000.000.000");
}

TEST(VersionPage, ModuleRowsThenFixedPartThenEachTranslationTinted) {
  Platform& platform = SystemPlatform();
  CResourceModule module(*platform.files);
  const std::string path = QM_FIXTURE_DIR "/i686/version_two.exe";
  ASSERT_TRUE(module.Enumerate(path));
  const auto rows = VersionPageRows(module, platform);
  ASSERT_EQ(rows.size(), 3u + 8u + 2u * 13u);
  const auto lines = Lines(rows);
  EXPECT_EQ(lines[0], "Estadísticas del módulo: " + path);
  EXPECT_EQ(lines[1], "Tipo de recurso: RT_VERSION");
  EXPECT_EQ(lines[2].rfind("Tamaño en disco: ", 0), 0u);
  EXPECT_EQ(lines[3], "Versión del archivo (cabecera): v5.1.2600.0");
  EXPECT_EQ(lines[7], "Sistema operativo del archivo: VOS_NT_WINDOWS32");
  EXPECT_EQ(lines[11], "Lenguaje del bloque: English (United States) [0x040904b0]");
  EXPECT_EQ(lines[12], "Nombre del producto: Version Fixture");
  EXPECT_EQ(lines[24], "Lenguaje del bloque: Spanish (Spain, International Sort) [0x0c0a04e4]");
  EXPECT_EQ(lines[25], "Nombre del producto: Programa de versión");
  EXPECT_EQ(lines[26], "Versión del producto: ");
  EXPECT_EQ(rows[0].tint, 0);
  EXPECT_EQ(rows[3].tint, 2);
  EXPECT_EQ(rows[11].tint, 1);
  EXPECT_EQ(rows[12].tint, 2);
}

TEST(VersionPage, AModuleWithoutVersionDataShowsOnlyItsModuleAndFixedRows) {
  Platform& platform = SystemPlatform();
  CResourceModule module(*platform.files);
  ASSERT_TRUE(module.Enumerate(QM_FIXTURE_DIR "/x86_64/images.dll"));
  const auto lines = Lines(VersionPageRows(module, platform));
  ASSERT_EQ(lines.size(), 3u + 8u);
  EXPECT_EQ(lines[2], "Tamaño en disco: 0 bytes (~1 Kb)");
  EXPECT_EQ(lines[10], "Fecha de creación del archivo: ");
}

}  // namespace
}  // namespace qm
