// The resource browser's decisions: which page each selection shows and
// with what, what every tree item stands for (each resource its own type and
// name, also under a shared node), and the messages of opening a module.
#include "resources/resource_browser.h"

#include <gtest/gtest.h>

#include "platform/sim/sim_system.h"
#include "resource_image.h"
#include "resources/resource_types.h"
#include "resources/string_list.h"

namespace qm {
namespace {

using Kind = ResourceSelection::Kind;
using test::TestResource;

ResourceName N(uint16_t id) { return ResourceName::Number(id); }
ResourceName S(const char* text) { return ResourceName::String(text); }
std::vector<uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

std::string Describe(const PageChoice& c) {
  std::string page = c.page ? std::to_string(static_cast<int>(*c.page)) : "none";
  return page + "/" + std::to_string(static_cast<int>(c.content)) + "/" + c.type.ToText() + "/" + c.name.ToText();
}
std::string Expect(std::optional<ResourcePage> page, PageContent content, ResourceName type = {},
                   ResourceName name = {}) {
  return Describe(PageChoice{page, content, type, name});
}

TEST(ResourcePageChoice, EverySelectionShowsItsPageWithWhatItReads) {
  using P = ResourcePage;
  using C = PageContent;
  struct Case {
    ResourceSelection selection;
    std::string expected;
  };
  const Case cases[] = {
      {{Kind::Nothing, {}, {}}, Expect(P::List, C::ModuleStatistics)},
      {{Kind::Root, {}, {}}, Expect(P::List, C::ModuleStatistics)},
      // Type nodes.
      {{Kind::TypeNode, N(6), {}}, Expect(P::String, C::AllStrings, N(6))},
      {{Kind::TypeNode, N(12), {}}, Expect(P::IconGroup, C::AllCursorGroups, N(12))},
      {{Kind::TypeNode, N(14), {}}, Expect(P::IconGroup, C::AllIconGroups, N(14))},
      {{Kind::TypeNode, N(21), {}}, Expect(P::List, C::TypeStatistics, N(21))},
      {{Kind::TypeNode, N(22), {}}, Expect(P::List, C::TypeStatistics, N(22))},
      {{Kind::TypeNode, N(16), {}}, Expect(P::List, C::TypeStatistics, N(16))},
      {{Kind::TypeNode, S("PNG"), {}}, Expect(P::List, C::TypeStatistics, S("PNG"))},
      // Resources.
      {{Kind::Resource, N(1), N(3)}, Expect(P::Bitmap, C::CursorImage, N(1), N(3))},
      {{Kind::Resource, N(2), S("LOGO")}, Expect(P::Bitmap, C::Bitmap, N(2), S("LOGO"))},
      {{Kind::Resource, N(3), N(1)}, Expect(P::Bitmap, C::IconImage, N(3), N(1))},
      {{Kind::Resource, N(4), N(100)}, Expect(P::Menu, C::Menu, N(4), N(100))},
      {{Kind::Resource, N(5), N(2001)}, Expect(P::Bitmap, C::DialogPicture, N(5), N(2001))},
      {{Kind::Resource, N(6), N(5)}, Expect(P::String, C::StringBlock, N(6), N(5))},
      {{Kind::Resource, N(6), S("X")}, Expect(P::Hex, C::HexDump, N(6), S("X"))},
      {{Kind::Resource, N(12), N(7)}, Expect(P::IconGroup, C::CursorGroup, N(12), N(7))},
      {{Kind::Resource, N(14), S("APP")}, Expect(P::IconGroup, C::IconGroup, N(14), S("APP"))},
      {{Kind::Resource, N(16), N(1)}, Expect(P::List, C::Version, N(16), N(1))},
      {{Kind::Resource, N(21), N(1)}, Expect(P::Hex, C::HexDump, N(21), N(1))},
      {{Kind::Resource, N(22), N(1)}, Expect(P::Hex, C::HexDump, N(22), N(1))},
      {{Kind::Resource, N(9), N(1)}, Expect(P::Hex, C::HexDump, N(9), N(1))},
      {{Kind::Resource, N(240), N(1)}, Expect(P::Hex, C::HexDump, N(240), N(1))},
      // A named type is never a numbered one, whatever its name says.
      {{Kind::Resource, S("Icon"), N(1)}, Expect(P::Hex, C::HexDump, S("Icon"), N(1))},
      // A resource named 0 is a resource, not the root.
      {{Kind::Resource, N(10), N(0)}, Expect(P::Hex, C::HexDump, N(10), N(0))},
  };
  for (const Case& c : cases) EXPECT_EQ(Describe(ChooseResourcePage(c.selection)), c.expected) << c.expected;
}

TEST(ResourcePageChoice, WithOnlyTheHexAndStringPagesResourcesFallBackToTheirBytes) {
  using P = ResourcePage;
  using C = PageContent;
  BuiltPages built{};
  built[static_cast<size_t>(P::Hex)] = true;
  built[static_cast<size_t>(P::String)] = true;
  struct Case {
    ResourceSelection selection;
    std::string expected;
  };
  const Case cases[] = {
      {{Kind::Root, {}, {}}, Expect(std::nullopt, C::Nothing)},
      {{Kind::TypeNode, N(3), {}}, Expect(std::nullopt, C::Nothing)},
      {{Kind::TypeNode, N(14), {}}, Expect(std::nullopt, C::Nothing)},
      {{Kind::TypeNode, N(6), {}}, Expect(P::String, C::AllStrings, N(6))},
      {{Kind::Resource, N(16), N(1)}, Expect(std::nullopt, C::Nothing)},
      {{Kind::Resource, N(6), N(2)}, Expect(P::String, C::StringBlock, N(6), N(2))},
      {{Kind::Resource, N(4), S("MENU_NAMED")}, Expect(P::Hex, C::HexDump, N(4), S("MENU_NAMED"))},
      {{Kind::Resource, N(14), N(1)}, Expect(P::Hex, C::HexDump, N(14), N(1))},
      {{Kind::Resource, N(5), N(1)}, Expect(P::Hex, C::HexDump, N(5), N(1))},
      {{Kind::Resource, S("PNG"), S("LOGO")}, Expect(P::Hex, C::HexDump, S("PNG"), S("LOGO"))},
  };
  for (const Case& c : cases) EXPECT_EQ(Describe(ChooseResourcePage(c.selection, built)), c.expected) << c.expected;
  BuiltPages all;
  all.fill(true);
  EXPECT_EQ(Describe(ChooseResourcePage({Kind::Resource, N(16), N(1)}, all)), Expect(P::List, C::Version, N(16), N(1)));
}

class BrowserTree : public ::testing::Test {
 protected:
  void Load(const std::vector<TestResource>& resources) {
    sim_.files.files["C:\\m\\mixed.dll"] = test::ImageWithSection(test::ResourceSection(resources));
    ASSERT_TRUE(module_.Enumerate("C:\\m\\mixed.dll"));
  }
  std::string Bytes(const ResourceSelection& s) {
    std::vector<uint8_t> data(16);
    const uint32_t size = module_.ReadResource(s.type, s.name, data);
    return std::string(data.begin(), data.begin() + std::min<uint32_t>(size, 16));
  }
  SimSystem sim_;
  CResourceModule module_{sim_.files};
};

// Two numbers without a row of their own share one "<desconocido>" node, and
// a type named "Icon" joins the RT_ICON node; every item still reads its own
// resource.
TEST_F(BrowserTree, ItemsUnderASharedNodeKeepTheirOwnTypeAndReadTheirOwnBytes) {
  Load({{S("Icon"), N(1), 0, qm::Bytes("named icon")},
        {N(3), N(1), 0, qm::Bytes("real icon")},
        {N(30), N(1), 0, qm::Bytes("thirty")},
        {N(31), N(1), 0, qm::Bytes("thirty-one")}});
  const ResourceBrowserTree tree = BuildResourceBrowserTree(module_, sim_.files, sim_.strings);
  EXPECT_EQ(tree.root.text, "mixed.dll");
  ASSERT_EQ(tree.root.children.size(), 2u);
  ASSERT_EQ(tree.typeNodes.size(), 2u);
  ASSERT_EQ(tree.resources.size(), 2u);
  EXPECT_EQ(tree.root.children[0].text, "Icon");
  EXPECT_EQ(tree.root.children[1].text, "<desconocido>");
  // The node keeps the type of its first resource.
  EXPECT_EQ(tree.typeNodes[0].type.ToText(), "Icon");
  EXPECT_EQ(tree.typeNodes[1].type.ToText(), "#30");
  ASSERT_EQ(tree.resources[0].size(), tree.root.children[0].children.size());
  ASSERT_EQ(tree.resources[1].size(), tree.root.children[1].children.size());
  std::vector<std::string> read;
  for (const auto& items : tree.resources) {
    for (const auto& item : items) {
      const PageChoice choice = ChooseResourcePage(item);
      EXPECT_EQ(choice.content,
                item.type.isString || item.type.id != kRtIcon ? PageContent::HexDump : PageContent::IconImage);
      read.push_back(Bytes(ResourceSelection{Kind::Resource, choice.type, choice.name}));
    }
  }
  EXPECT_EQ(read, (std::vector<std::string>{"named icon", "real icon", "thirty", "thirty-one"}));
}

TEST_F(BrowserTree, TheRootIsModuloWhenTheFileIsGoneAfterOpening) {
  Load({{N(10), N(1), 0, qm::Bytes("x")}});
  sim_.files.files.clear();
  EXPECT_EQ(BuildResourceBrowserTree(module_, sim_.files, sim_.strings).root.text, "Módulo");
}

class FixtureBrowser : public ::testing::TestWithParam<std::string> {};

TEST_P(FixtureBrowser, TypesInOrderOfFirstResourceAndEveryItemIsItsEntry) {
  CResourceModule module(*SystemPlatform().files);
  const std::string path = std::string(QM_FIXTURE_DIR) + "/" + GetParam() + "/resources.dll";
  ASSERT_TRUE(module.Enumerate(path));
  const ResourceBrowserTree tree = BuildResourceBrowserTree(module, *SystemPlatform().files, *SystemPlatform().strings);
  EXPECT_EQ(tree.root.text, "resources.dll");
  std::vector<std::string> types;
  for (const auto& node : tree.root.children) types.push_back(node.text);
  EXPECT_EQ(types, (std::vector<std::string>{"AVI", "PNG", "Menu", "String table", "Datos binarios"}));
  size_t entry = 0;
  for (size_t i = 0; i < tree.resources.size(); ++i) {
    for (size_t j = 0; j < tree.resources[i].size(); ++j, ++entry) {
      const ResourceEntry e = module.GetEntry(static_cast<int>(entry));
      EXPECT_EQ(tree.resources[i][j].type.ToText(), e.Type().ToText());
      EXPECT_EQ(tree.resources[i][j].name.ToText(), e.Name().ToText());
      EXPECT_EQ(tree.root.children[i].children[j].text, e.Name().isString ? e.nameName : std::to_string(e.nameId));
    }
  }
  EXPECT_EQ(entry, module.entries().size());
}

TEST_P(FixtureBrowser, TheStringListShowsIdentifiersEscapedLineFeedsAndTheCount) {
  CResourceModule module(*SystemPlatform().files);
  ASSERT_TRUE(module.Enumerate(std::string(QM_FIXTURE_DIR) + "/" + GetParam() + "/resources.dll"));
  const IStrings& strings = *SystemPlatform().strings;
  const StringListing block1 = ListStrings(module, N(1), strings);
  ASSERT_EQ(block1.rows.size(), 3u);
  EXPECT_EQ(block1.rows[0].idText, "0");
  EXPECT_EQ(block1.rows[1].idText, "5");
  EXPECT_EQ(block1.rows[2].identifier, 7u);
  EXPECT_EQ(block1.rows[2].text, "Línea uno\\nLínea dos\ttab\rfin");
  EXPECT_EQ(block1.countText, "Número de strings: 3");

  const StringListing all = ListStrings(module, std::nullopt, strings);
  std::vector<std::string> ids;
  for (const auto& row : all.rows) ids.push_back(row.idText);
  EXPECT_EQ(ids, (std::vector<std::string>{"0", "5", "7", "16", "70"}));
  EXPECT_EQ(all.countText, "Número de strings: 5 - Tamaño: 282 bytes (~1 Kb)");

  const StringListing missing = ListStrings(module, N(3), strings);
  EXPECT_TRUE(missing.rows.empty());
  EXPECT_EQ(missing.countText, "Número de strings: 0");
}

TEST_P(FixtureBrowser, AThousandFullStringTablesListEveryString) {
  CResourceModule module(*SystemPlatform().files);
  ASSERT_TRUE(module.Enumerate(std::string(QM_FIXTURE_DIR) + "/" + GetParam() + "/strings_1024.dll"));
  const StringListing all = ListStrings(module, std::nullopt, *SystemPlatform().strings);
  ASSERT_EQ(all.rows.size(), 16384u);
  EXPECT_EQ(all.rows.back().identifier, 16383u);
  EXPECT_EQ(all.rows.back().text, "Cadena de prueba 15360 + 768 + 192 + 48 + 12 + 3 del módulo");
  EXPECT_EQ(all.countText.rfind("Número de strings: 16384 - Tamaño: ", 0), 0u) << all.countText;
}

INSTANTIATE_TEST_SUITE_P(BothCompilers, FixtureBrowser, ::testing::Values("x86_64", "i686"));

TEST(ResourceBrowserOpening, FailuresPutThePathInTheSystemTextWithoutFormattingIt) {
  SimSystem sim;
  sim.errors.messages[kErrorBadExeFormat] = "%1 no es una aplicación válida (%2, %10).\r\n";
  sim.files.files["C:\\docs\\notes%2.txt"] = qm::Bytes("just some text, not a module");
  CResourceModule module(sim.files);
  const ResourceBrowserOpening notModule = OpenForBrowsing(module, "C:\\docs\\notes%2.txt", sim.platform);
  EXPECT_FALSE(notModule.opened);
  EXPECT_EQ(notModule.failure, "(#193) C:\\docs\\notes%2.txt no es una aplicación válida (%2, %10).\r\n");

  CResourceModule missing(sim.files);
  const ResourceBrowserOpening gone = OpenForBrowsing(missing, "C:\\nada.dll", sim.platform);
  EXPECT_FALSE(gone.opened);
  EXPECT_EQ(gone.failure.rfind("(#2) ", 0), 0u) << gone.failure;

  EXPECT_EQ(ReplaceFirstInsert("%1 y %1%", "P"), "P y P%");
}

TEST(ResourceBrowserOpening, ADamagedDirectoryIsBrowsedWithOneWarning) {
  SimSystem sim;
  auto section = test::ResourceSection({{N(3), N(1), 0, Bytes("icon")}, {N(10), N(1), 0, Bytes("data")}});
  const std::vector<uint8_t> intact = section;
  // The RT_RCDATA directory claims far more names than the section holds.
  const uint32_t rcdataDir = (uint32_t{section[16 + 8 + 4]} | uint32_t{section[16 + 8 + 5]} << 8) & 0x7FFF;
  test::Put16(section, rcdataDir + 14, 0xFFFF);
  sim.files.files["C:\\damaged.dll"] = test::ImageWithSection(section);
  sim.files.files["C:\\intact.dll"] = test::ImageWithSection(intact);

  CResourceModule damaged(sim.files);
  const ResourceBrowserOpening opening = OpenForBrowsing(damaged, "C:\\damaged.dll", sim.platform);
  EXPECT_TRUE(opening.opened);
  EXPECT_EQ(opening.damageWarning,
            "Una parte de los recursos del módulo C:\\damaged.dll está dañada y no se ha podido leer\n"
            "Se muestran los recursos que se han podido leer");
  EXPECT_EQ(damaged.GetCount(), 1);

  CResourceModule whole(sim.files);
  const ResourceBrowserOpening fine = OpenForBrowsing(whole, "C:\\intact.dll", sim.platform);
  EXPECT_TRUE(fine.opened);
  EXPECT_TRUE(fine.damageWarning.empty());
  EXPECT_TRUE(fine.failure.empty());
}

}  // namespace
}  // namespace qm
