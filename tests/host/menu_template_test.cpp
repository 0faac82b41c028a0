#include "resources/menu_template.h"

#include <gtest/gtest.h>

#include <fstream>

#include "platform/platform.h"
#include "rc_compiler.h"
#include "resource_image.h"
#include "resources/menu_script.h"
#include "resources/menu_tree.h"
#include "resources/resource_module.h"
#include "tests/host/test_bytes.h"

namespace qm {
namespace {

using test::Append16;
using test::Append32;
using test::AppendAscii16;

using test::ReadFileText;

Menu LoadFixtureMenu(const std::string& arch, const ResourceName& name) {
  CResourceModule module(*SystemPlatform().files);
  EXPECT_TRUE(module.Enumerate(std::string(QM_FIXTURE_DIR) + "/" + arch + "/resources.dll"));
  auto menu = module.LoadMenu(name);
  EXPECT_TRUE(menu.ok());
  return menu.ok() ? *menu : Menu{};
}

class FixtureMenus : public ::testing::TestWithParam<std::string> {};

TEST_P(FixtureMenus, ThePlainFormGivesTypesStatesIdsAndTexts) {
  const Menu menu = LoadFixtureMenu(GetParam(), ResourceName::Number(100));
  EXPECT_FALSE(menu.extended);
  ASSERT_EQ(menu.items.size(), 3u);
  const MenuItem& file = menu.items[0];
  EXPECT_EQ(file.text, "&Archivo");
  ASSERT_TRUE(file.hasSubmenu);
  ASSERT_EQ(file.submenu.size(), 6u);
  EXPECT_EQ(file.submenu[0].text, "&Abrir...\tCtrl+O");
  EXPECT_EQ(file.submenu[0].id, 1001u);
  EXPECT_EQ(file.submenu[1].text, "Di \"hola\"");
  EXPECT_EQ(file.submenu[1].state, kMfsChecked);
  EXPECT_EQ(file.submenu[2].text, "C:\\dir\\");
  EXPECT_EQ(file.submenu[2].state & kMfsGrayed, 1u);
  EXPECT_EQ(file.submenu[3].type, kMftSeparator);
  const MenuItem& recent = file.submenu[4];
  ASSERT_EQ(recent.submenu.size(), 3u);
  EXPECT_EQ(recent.submenu[0].text, "Uno && dos");
  EXPECT_EQ(recent.submenu[0].state & kMfsGrayed, 2u);
  EXPECT_EQ(recent.submenu[1].type, kMftMenuBreak);
  EXPECT_EQ(recent.submenu[2].type, kMftMenuBarBreak);
  EXPECT_EQ(file.submenu[5].text, "&Salir");
  EXPECT_EQ(menu.items[1].text, "Файл 日本");
  EXPECT_EQ(menu.items[1].submenu.at(0).text, "Ελληνικά");
  EXPECT_EQ(menu.items[2].type, kMftRightJustify);
  EXPECT_FALSE(menu.items[2].hasSubmenu);
}

TEST_P(FixtureMenus, TheExtendedFormGivesRadioHiliteDefaultAndHelpIds) {
  const Menu menu = LoadFixtureMenu(GetParam(), ResourceName::Number(101));
  EXPECT_TRUE(menu.extended);
  ASSERT_EQ(menu.items.size(), 2u);
  const MenuItem& view = menu.items[0];
  EXPECT_EQ(view.id, 2000u);
  EXPECT_EQ(view.helpId, 77u);
  ASSERT_EQ(view.submenu.size(), 6u);
  EXPECT_EQ(view.submenu[0].type, kMftRadioCheck);
  EXPECT_EQ(view.submenu[0].state, kMfsChecked);
  EXPECT_EQ(view.submenu[1].state, kMfsHilite | kMfsDefault);
  EXPECT_EQ(view.submenu[2].type, kMftSeparator);
  EXPECT_EQ(view.submenu[3].state, kMfsGrayed);
  EXPECT_EQ(view.submenu[4].type, kMftRightOrder | kMftMenuBarBreak | kMftMenuBreak);
  EXPECT_EQ(view.submenu[5].submenu.at(0).text, "Señal \"€\"");
  EXPECT_EQ(menu.items[1].type, kMftRightJustify);
  EXPECT_EQ(LoadFixtureMenu(GetParam(), ResourceName::String("menu_named")).items.at(0).text, "Solo");
}

INSTANTIATE_TEST_SUITE_P(BothArchitectures, FixtureMenus, ::testing::Values("x86_64", "i686"));

// A plain template: header, then items.
std::vector<uint8_t> PlainHeader() {
  std::vector<uint8_t> b;
  Append16(b, 0);
  Append16(b, 0);
  return b;
}

void PlainItem(std::vector<uint8_t>& b, uint16_t flags, uint16_t id, const std::string& text) {
  Append16(b, flags);
  if (!(flags & 0x10)) Append16(b, id);
  AppendAscii16(b, text);
  Append16(b, 0);
}

TEST(MenuTemplate, ReadsATemplateEndingExactlyAtTheEndAndRefusesOneByteShort) {
  auto bytes = PlainHeader();
  PlainItem(bytes, 0, 5, "a");
  PlainItem(bytes, 0x80, 6, "b");
  auto menu = ParseMenuTemplate(ByteView(bytes));
  ASSERT_TRUE(menu.ok());
  EXPECT_EQ(menu->items.size(), 2u);
  bytes.pop_back();
  EXPECT_FALSE(ParseMenuTemplate(ByteView(bytes)).ok());
  // A last item without the end flag runs off the end.
  auto open = PlainHeader();
  PlainItem(open, 0, 5, "a");
  EXPECT_EQ(ParseMenuTemplate(ByteView(open)).error().code, ReadError::OutOfBounds);
  // Header sizes near the top of their range; unknown versions.
  auto far = PlainHeader();
  test::Put16(far, 2, 0xFFFF);
  PlainItem(far, 0x80, 1, "x");
  EXPECT_FALSE(ParseMenuTemplate(ByteView(far)).ok());
  auto version = PlainHeader();
  test::Put16(version, 0, 2);
  PlainItem(version, 0x80, 1, "x");
  EXPECT_EQ(ParseMenuTemplate(ByteView(version)).error().code, ReadError::BadValue);
  // Only a header: an empty menu.
  EXPECT_TRUE(ParseMenuTemplate(ByteView(PlainHeader())).value().items.empty());
}

TEST(MenuTemplate, ExtendedItemsAreAlignedAndTheirPopupsCarryAHelpId) {
  std::vector<uint8_t> b;
  Append16(b, 1);
  Append16(b, 4);
  Append32(b, 0);
  auto item = [&](uint32_t type, uint32_t state, uint32_t id, uint16_t info, const std::string& text) {
    Append32(b, type);
    Append32(b, state);
    Append32(b, id);
    Append16(b, info);
    AppendAscii16(b, text);
    Append16(b, 0);
    while (b.size() % 4) b.push_back(0);
  };
  item(0, 0, 10, 0x01, "Pop");
  Append32(b, 99);
  item(0, 0, 11, 0x80, "Uno");
  item(0, 0, 0, 0x80, "");
  auto menu = ParseMenuTemplate(ByteView(b));
  ASSERT_TRUE(menu.ok()) << DescribeError(menu.error());
  ASSERT_EQ(menu->items.size(), 2u);
  EXPECT_EQ(menu->items[0].helpId, 99u);
  EXPECT_EQ(menu->items[0].submenu.at(0).id, 11u);
  EXPECT_EQ(menu->items[1].type, kMftSeparator);
  // The helper id of the pop-up is cut off.
  std::vector<uint8_t> cut(b.begin(), b.begin() + 12 + 24);
  EXPECT_FALSE(ParseMenuTemplate(ByteView(cut)).ok());
}

TEST(MenuTemplate, NestingAndItemCountsAreCapped) {
  auto deep = PlainHeader();
  for (size_t i = 0; i < kMaxMenuDepth + 1; ++i) PlainItem(deep, 0x10 | 0x80, 0, "p");
  PlainItem(deep, 0x80, 1, "leaf");
  EXPECT_EQ(ParseMenuTemplate(ByteView(deep)).error().code, ReadError::TooDeep);
  auto many = PlainHeader();
  for (size_t i = 0; i < kMaxMenuItems; ++i) PlainItem(many, 0, 1, "");
  PlainItem(many, 0x80, 1, "");
  EXPECT_EQ(ParseMenuTemplate(ByteView(many)).error().code, ReadError::TooMany);
}

TEST(MenuScript, WritesTheExtendedFormWithEscapedTextsAndCompilableSeparators) {
  Menu menu;
  MenuItem file{0, 0, 0, 0, "File", true, {}};
  file.submenu.push_back(MenuItem{0, 0, 100, 0, "Open", false, {}});
  file.submenu.push_back(MenuItem{kMftSeparator, 0, 0, 0, "", false, {}});
  file.submenu.push_back(MenuItem{
      kMftMenuBreak | kMftMenuBarBreak | kMftRadioCheck, 2 | kMfsChecked | kMfsHilite, 7, 0, "Di \"a\\b\"", false, {}});
  file.submenu.push_back(MenuItem{kMftBitmap, 0, 8, 0, "", false, {}});
  menu.items.push_back(file);
  EXPECT_EQ(MenuScriptText(menu),
            "#include \"winuser.h\"\n\n\"MENU1\" MENUEX PRELOAD DISCARDABLE\n"
            "BEGIN\n"
            "\tPOPUP \"File\"\n"
            "\tBEGIN\n"
            "\t\tMENUITEM \"Open\",\t100, MFT_STRING, MFS_ENABLED\n"
            "\t\tMENUITEM \"\", 0, MFT_SEPARATOR\n"
            "\t\tMENUITEM \"Di \"\"a\\\\b\"\"\",\t7, MFT_STRING | MFT_MENUBREAK | MFT_MENUBARBREAK | MFT_RADIOCHECK, "
            "MFS_GRAYED | MFS_CHECKED | MFS_HILITE\n"
            "\t\tMENUITEM \"<bitmap>\",\t8, MFT_BITMAP, MFS_ENABLED\n"
            "\tEND\n"
            "END\n");
  // A menu that could not be read: header, BEGIN and END.
  EXPECT_EQ(MenuScriptText(Menu{}), "#include \"winuser.h\"\n\n\"MENU1\" MENUEX PRELOAD DISCARDABLE\nBEGIN\nEND\n");
  Menu spanish;
  spanish.items.push_back(MenuItem{0, 0, 1, 0, "Año", false, {}});
  EXPECT_EQ(MenuScriptText(spanish).rfind("#pragma code_page(65001)\n#include", 0), 0u);
}

TEST(MenuScript, AFailedWriteKeepsTheOldFile) {
  test::TempDir dir("menu-write");
  const auto path = dir.path() / "Menu.rc";
  std::ofstream(path) << "old";
  EXPECT_FALSE(WriteMenuScript(Menu{}, (dir.path() / "missing" / "Menu.rc").string()));
  ASSERT_TRUE(WriteMenuScript(Menu{}, path.string()));
  EXPECT_EQ(ReadFileText(path),
            "#include \"winuser.h\"\r\n\r\n\"MENU1\" MENUEX PRELOAD DISCARDABLE\r\nBEGIN\r\nEND\r\n");
}

// Compares what the script writes: texts of string items and pop-ups, ids,
// type bits, grayed or not, checked and hilite.
void ExpectSameWrittenFields(const std::vector<MenuItem>& a, const std::vector<MenuItem>& b, const std::string& where) {
  ASSERT_EQ(a.size(), b.size()) << where;
  constexpr uint32_t kWrittenTypes = kMftSeparator | kMftBitmap | kMftOwnerDraw | kMftMenuBreak | kMftMenuBarBreak |
                                     kMftRadioCheck | kMftRightJustify | kMftRightOrder;
  for (size_t i = 0; i < a.size(); ++i) {
    const std::string at = where + "/" + std::to_string(i);
    EXPECT_EQ(a[i].hasSubmenu, b[i].hasSubmenu) << at;
    if (a[i].hasSubmenu) {
      EXPECT_EQ(a[i].text, b[i].text) << at;
      ExpectSameWrittenFields(a[i].submenu, b[i].submenu, at);
      continue;
    }
    EXPECT_EQ(a[i].type & kWrittenTypes, b[i].type & kWrittenTypes) << at;
    if (a[i].type & kMftSeparator) continue;
    EXPECT_EQ(a[i].id, b[i].id) << at;
    if (!(a[i].type & (kMftBitmap | kMftOwnerDraw))) {
      EXPECT_EQ(a[i].text, b[i].text) << at;
    }
    EXPECT_EQ((a[i].state & kMfsGrayed) != 0, (b[i].state & kMfsGrayed) != 0) << at;
    EXPECT_EQ(a[i].state & (kMfsChecked | kMfsHilite), b[i].state & (kMfsChecked | kMfsHilite)) << at;
  }
}

TEST(MenuScript, AWrittenScriptCompilesBackToTheSameMenu) {
  if (!test::HaveMinGw()) GTEST_SKIP() << "no MinGW resource compiler";
  test::TempDir dir("menu-roundtrip");
  for (uint16_t id : {uint16_t{100}, uint16_t{101}}) {
    const Menu original = LoadFixtureMenu("x86_64", ResourceName::Number(id));
    const auto script = dir.path() / ("Menu" + std::to_string(id) + ".rc");
    ASSERT_TRUE(WriteMenuScript(original, script.string()));
    const std::string dll = test::CompileScriptToDll(script);
    ASSERT_FALSE(dll.empty()) << ReadFileText(script);
    CResourceModule back(*SystemPlatform().files);
    ASSERT_TRUE(back.Enumerate(dll));
    auto compiled = back.LoadMenu(ResourceName::String("MENU1"));
    ASSERT_TRUE(compiled.ok());
    EXPECT_TRUE(compiled->extended);
    ExpectSameWrittenFields(original.items, compiled->items, "menu " + std::to_string(id));
  }
}

TEST(MenuTree, ItemTextsAndFieldsAsThePageShowsThem) {
  const IStrings& strings = *SystemPlatform().strings;
  EXPECT_EQ(MenuItemTreeText(MenuItem{0, 0, 1, 0, "&Archivo && m\u00e1s", false, {}}, strings), "Archivo  m\u00e1s");
  EXPECT_EQ(MenuItemTreeText(MenuItem{kMftSeparator, 0, 0, 0, "", false, {}}, strings), "<separador>");
  EXPECT_EQ(MenuItemTreeText(MenuItem{kMftBitmap, 0, 3, 0, "x", false, {}}, strings), "<imágen>");

  const auto both = DescribeMenuItem(MenuItem{kMftMenuBreak | kMftMenuBarBreak, 1, 42, 0, "x", false, {}});
  EXPECT_EQ(both.breakIndex, 0);
  EXPECT_EQ(both.idText, "42");
  EXPECT_TRUE(both.disabled && both.grayed);
  EXPECT_EQ(DescribeMenuItem(MenuItem{kMftMenuBarBreak, 0, 1, 0, "x", false, {}}).breakIndex, 2);
  EXPECT_EQ(DescribeMenuItem(MenuItem{kMftMenuBreak, 0, 1, 0, "x", false, {}}).breakIndex, 1);
  const auto popup = DescribeMenuItem(MenuItem{0, 0, 9, 0, "p", true, {}});
  EXPECT_TRUE(popup.popup);
  EXPECT_EQ(popup.idText, "");
  EXPECT_EQ(DescribeMenuItem(MenuItem{kMftSeparator, 0, 0, 0, "", false, {}}).styleIndex, 3);
  EXPECT_EQ(DescribeMenuItem(MenuItem{kMftOwnerDraw, 0, 0, 0, "", false, {}}).styleIndex, 2);
  EXPECT_EQ(DescribeMenuItem(MenuItem{kMftOwnerDraw | kMftBitmap, 0, 0, 0, "", false, {}}).styleIndex, -1);
}

// The page finds a tree item's menu item by the positions on its way down:
// separators and pop-ups share identifiers, so nothing else is safe.
TEST_P(FixtureMenus, ThePageReachesItemsByPositionAndCountsTopLevelItems) {
  const Menu menu = LoadFixtureMenu(GetParam(), ResourceName::Number(100));
  const MenuItem* recent = MenuItemAtPath(menu, {0, 4});
  ASSERT_NE(recent, nullptr);
  EXPECT_EQ(recent->text, "&Recientes");
  const MenuItem* bar = MenuItemAtPath(menu, {0, 4, 2});
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(bar->id, 1012u);
  EXPECT_EQ(MenuItemAtPath(menu, {0, 3})->type, kMftSeparator);
  EXPECT_EQ(MenuItemAtPath(menu, {0, 6}), nullptr) << "past the end of a submenu";
  EXPECT_EQ(MenuItemAtPath(menu, {0, 0, 0}), nullptr) << "below an item without a submenu";
  EXPECT_EQ(MenuItemAtPath(menu, {}), nullptr);

  CResourceModule module(*SystemPlatform().files);
  ASSERT_TRUE(module.Enumerate(std::string(QM_FIXTURE_DIR) + "/" + GetParam() + "/resources.dll"));
  const IStrings& strings = *SystemPlatform().strings;
  const auto rows = MenuStatisticsRows(module, ResourceName::Number(100), menu.items.size(), strings);
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0].value, module.GetPath());
  EXPECT_EQ(rows[1].label, "Identificador");
  EXPECT_EQ(rows[1].value, "100");
  EXPECT_EQ(rows[2].value, "3");
  const auto unread = MenuStatisticsRows(module, ResourceName::String("MENU_NAMED"), std::nullopt, strings);
  EXPECT_EQ(unread[1].value, "MENU_NAMED");
  EXPECT_EQ(unread[2].value, "?");
}

}  // namespace
}  // namespace qm
