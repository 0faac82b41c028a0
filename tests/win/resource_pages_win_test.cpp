// The resource browser's statistics list page and icon group page, each a
// child page of a small host dialog, on fixture modules built by both
// compilers: the rows and their tints, the groups with their images, the
// row pictures made when asked for, the picture of the selected image and
// the icons let go of.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/ui/toolbar_dialog.h"
#include "framework/controls.h"
#include "framework/list_view.h"
#include "platform/win32/win32_system.h"
#include "res/resource_ids.h"
#include "resources/ui/icon_res_page.h"
#include "resources/ui/list_res_page.h"
#include "tests/win/app_fixture.h"
#include "tests/win/template_writer.h"

namespace qm {
namespace {

std::string Fixture(const char* arch, const char* name) {
  return std::string(QM_FIXTURE_DIR) + "\\" + arch + "\\" + name;
}

struct Row {
  std::string label;
  std::string value;
  LPARAM tint = 0;
  bool operator==(const Row&) const = default;
};

std::vector<Row> ShownRows(HWND list) {
  fw::CListCtrl rows(list);
  std::vector<Row> shown;
  for (int i = 0; i < rows.GetItemCount(); ++i)
    shown.push_back({rows.GetItemText(i, 0), rows.GetItemText(i, 1), rows.GetItemData(i)});
  return shown;
}

std::vector<Row> ModelRows(const std::vector<StatisticsRow>& rows) {
  std::vector<Row> expected;
  for (const auto& row : rows) expected.push_back({row.label, row.value, row.tint});
  return expected;
}

// What the page answers the list's custom draw for one stage of a row, and
// the text background it leaves in the structure.
struct DrawReply {
  LRESULT result = 0;
  COLORREF background = 0;
};
constexpr COLORREF kUntouched = RGB(1, 2, 3);

DrawReply CustomDraw(const CListResPage& page, DWORD stage, int row) {
  NMLVCUSTOMDRAW draw{};
  draw.nmcd.hdr.hwndFrom = page.List();
  draw.nmcd.hdr.idFrom = IDC_ITEM_LIST;
  draw.nmcd.hdr.code = NM_CUSTOMDRAW;
  draw.nmcd.dwDrawStage = stage;
  draw.nmcd.dwItemSpec = static_cast<DWORD_PTR>(row);
  draw.clrTextBk = kUntouched;
  const LRESULT result = ::SendMessageW(page.m_hWnd, WM_NOTIFY, IDC_ITEM_LIST, reinterpret_cast<LPARAM>(&draw));
  return {result, draw.clrTextBk};
}

std::vector<HTREEITEM> Children(const fw::CTreeCtrl& tree, HTREEITEM parent) {
  std::vector<HTREEITEM> items;
  for (HTREEITEM item = parent ? tree.GetChildItem(parent) : tree.GetRootItem(); item;
       item = tree.GetNextSiblingItem(item))
    items.push_back(item);
  return items;
}

std::vector<std::string> Texts(const fw::CTreeCtrl& tree, const std::vector<HTREEITEM>& items) {
  std::vector<std::string> texts;
  for (HTREEITEM item : items) texts.push_back(tree.GetItemText(item));
  return texts;
}

SIZE IconSize(HICON icon) {
  ICONINFO info{};
  if (!::GetIconInfo(icon, &info)) return {0, 0};
  BITMAP colour{};
  const bool hasColour = info.hbmColor != nullptr;
  ::GetObjectW(hasColour ? info.hbmColor : info.hbmMask, sizeof colour, &colour);
  if (info.hbmColor) ::DeleteObject(info.hbmColor);
  if (info.hbmMask) ::DeleteObject(info.hbmMask);
  // A monochrome icon's mask holds both halves, one above the other.
  return {colour.bmWidth, hasColour ? colour.bmHeight : colour.bmHeight / 2};
}

bool IconAlive(HICON icon) {
  ICONINFO info{};
  if (!::GetIconInfo(icon, &info)) return false;
  if (info.hbmColor) ::DeleteObject(info.hbmColor);
  if (info.hbmMask) ::DeleteObject(info.hbmMask);
  return true;
}

// The page itself stays hidden here (its host shows it), so the picture's
// own style says whether it is shown.
bool Shown(HWND window) { return (::GetWindowLongPtrW(window, GWL_STYLE) & WS_VISIBLE) != 0; }

SIZE WindowSize(HWND window) {
  RECT rect{};
  ::GetWindowRect(window, &rect);
  return {rect.right - rect.left, rect.bottom - rect.top};
}

class ResourcePagesTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    LoadProgramResources();
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES};
    ::InitCommonControlsEx(&controls);
  }
  void SetUp() override {
    ASSERT_TRUE(host_.CreateIndirect(TemplateWriter(L"Recursos", WS_POPUP | WS_CAPTION | WS_VISIBLE).Bytes()));
  }

  CToolBarDialog host_;
  const RECT area_{4, 4, 544, 370};
};

TEST_F(ResourcePagesTest, ListPageShowsStatisticsAndVersionRowsTintedThroughCustomDraw) {
  for (const char* arch : {"x86_64", "i686"}) {
    SCOPED_TRACE(arch);
    CResourceModule module(*SystemPlatform().files);
    const std::string path = Fixture(arch, "version_two.exe");
    ASSERT_TRUE(module.Enumerate(path));
    CListResPage page;
    ASSERT_TRUE(page.CreatePage(CListResPage::kTemplateId, host_.m_hWnd, area_));
    fw::CListCtrl list(page.List());
    ASSERT_NE(list.m_hWnd, nullptr);
    EXPECT_EQ(list.GetColumnCount(), 2);

    page.ShowModuleStats(module);
    const auto moduleRows = ShownRows(list.m_hWnd);
    ASSERT_EQ(moduleRows.size(), 4u);
    EXPECT_EQ(moduleRows[0], (Row{"Estadísticas del módulo", path, 0}));
    EXPECT_EQ(moduleRows[2].label, "Número de recursos");
    EXPECT_EQ(moduleRows, ModelRows(ModuleStatisticsRows(module, *SystemPlatform().strings)));
    // Both columns fitted to their texts, from the minimum up.
    EXPECT_GT(list.GetColumnWidth(0), 25);
    EXPECT_GT(list.GetColumnWidth(1), 25);

    page.ShowTypeStats(module, ResourceName::Number(16));
    const auto typeRows = ShownRows(list.m_hWnd);
    ASSERT_EQ(typeRows.size(), 4u);
    EXPECT_EQ(typeRows[1], (Row{"Tipo de recurso", "RT_VERSION", 0}));
    EXPECT_EQ(typeRows[3], (Row{"Número de recursos", "1", 0}));

    page.ShowVersion(module);
    const auto versionRows = ShownRows(list.m_hWnd);
    ASSERT_EQ(versionRows.size(), 3u + 8u + 2u * 13u) << "both translations";
    EXPECT_EQ(versionRows[3], (Row{"Versión del archivo (cabecera)", "v5.1.2600.0", 2}));
    EXPECT_EQ(versionRows[11].label, "Lenguaje del bloque");
    EXPECT_NE(versionRows[11].value.find(" [0x040904b0]"), std::string::npos) << versionRows[11].value;
    EXPECT_EQ(versionRows[11].tint, 1);
    EXPECT_EQ(versionRows[12], (Row{"Nombre del producto", "Version Fixture", 2}));
    EXPECT_NE(versionRows[24].value.find(" [0x0c0a04e4]"), std::string::npos);

    // The custom draw: every row asked for, the tinted ones repainted.
    EXPECT_EQ(CustomDraw(page, CDDS_PREPAINT, 0).result, CDRF_NOTIFYITEMDRAW);
    const DrawReply plain = CustomDraw(page, CDDS_ITEMPREPAINT, 0);
    EXPECT_EQ(plain.result, CDRF_DODEFAULT);
    EXPECT_EQ(plain.background, kUntouched);
    const DrawReply field = CustomDraw(page, CDDS_ITEMPREPAINT, 3);
    EXPECT_EQ(field.result, CDRF_NEWFONT);
    EXPECT_EQ(field.background, RGB(240, 240, 240));
    const DrawReply language = CustomDraw(page, CDDS_ITEMPREPAINT, 11);
    EXPECT_EQ(language.result, CDRF_NEWFONT);
    EXPECT_EQ(language.background, RGB(192, 192, 192));
    EXPECT_EQ(CustomDraw(page, CDDS_ITEMPOSTPAINT, 11).result, CDRF_DODEFAULT);
    EXPECT_EQ(CustomDraw(page, CDDS_ITEMPREPAINT, 500).background, kUntouched) << "no such row";

    // Showing again replaces every row; a module without version data
    // shows no language rows.
    CResourceModule images(*SystemPlatform().files);
    ASSERT_TRUE(images.Enumerate(Fixture(arch, "images.dll")));
    page.ShowVersion(images);
    EXPECT_EQ(ShownRows(list.m_hWnd).size(), 3u + 8u);
    page.ShowModuleStats(images);
    EXPECT_EQ(ShownRows(list.m_hWnd)[0].value, Fixture(arch, "images.dll"));

    // The page and its list take the new rectangle.
    page.SetPageRect(RECT{10, 20, 310, 220});
    RECT client{};
    ::GetClientRect(page.m_hWnd, &client);
    EXPECT_EQ(WindowSize(page.m_hWnd).cx, 300);
    EXPECT_EQ(WindowSize(page.m_hWnd).cy, 200);
    RECT listRect{};
    ::GetWindowRect(list.m_hWnd, &listRect);
    ::MapWindowPoints(nullptr, page.m_hWnd, reinterpret_cast<POINT*>(&listRect), 2);
    EXPECT_EQ(listRect.left, 0);
    EXPECT_EQ(listRect.top, 0);
    EXPECT_EQ(listRect.right, client.right);
    EXPECT_EQ(listRect.bottom, client.bottom);
  }
}

TEST_F(ResourcePagesTest, IconPageListsGroupsDrawsRowPicturesOnDemandAndShowsTheSelectedImage) {
  for (const char* arch : {"x86_64", "i686"}) {
    SCOPED_TRACE(arch);
    CResourceModule module(*SystemPlatform().files);
    ASSERT_TRUE(module.Enumerate(Fixture(arch, "images.dll")));
    std::vector<HICON> shownIcons;
    {
      CIconResPage page;
      ASSERT_TRUE(page.CreatePage(CIconResPage::kTemplateId, host_.m_hWnd, area_));
      fw::CTreeCtrl tree(::GetDlgItem(page.m_hWnd, IDC_ITEM_TREE));
      HWND picture = ::GetDlgItem(page.m_hWnd, IDC_RESOURCE_PICTURE);
      ASSERT_NE(page.Images(), nullptr);
      EXPECT_EQ(::ImageList_GetImageCount(page.Images()), 2) << "the two node pictures";

      // The embedded list page fills the placeholder and follows it.
      CListResPage& stats = page.ListPage();
      ASSERT_NE(stats.m_hWnd, nullptr);
      EXPECT_EQ(::GetParent(stats.m_hWnd), page.m_hWnd);
      EXPECT_TRUE(::GetWindowLongPtrW(stats.m_hWnd, GWL_STYLE) & WS_VISIBLE);
      HWND placeholder = ::GetDlgItem(page.m_hWnd, IDC_PAGE_PLACEHOLDER);
      EXPECT_EQ(::GetWindow(placeholder, GW_HWNDNEXT), stats.m_hWnd);
      EXPECT_EQ(WindowSize(stats.m_hWnd).cx, WindowSize(placeholder).cx);
      EXPECT_EQ(WindowSize(stats.m_hWnd).cy, WindowSize(placeholder).cy);

      page.ShowAllIconGroups(module);
      const auto groups = Children(tree, nullptr);
      ASSERT_EQ(Texts(tree, groups), (std::vector<std::string>{"APPICON", "1", "50"}));
      int image = 0, selectedImage = 0;
      ASSERT_TRUE(tree.GetItemImage(groups[1], image, selectedImage));
      EXPECT_EQ(image, kIconGroupNodeImage);
      EXPECT_EQ(tree.GetItemData(groups[1]), -1);
      const auto images = Children(tree, groups[1]);
      ASSERT_EQ(images.size(), 5u);
      EXPECT_EQ(tree.GetItemText(images[0]), "16 x 16 - 16 colors (296 bytes)");
      EXPECT_EQ(tree.GetItemText(images[1]), "32 x 32 - 256 colors (2216 bytes)");
      EXPECT_EQ(tree.GetItemText(images[2]), "24 x 24 - 32 bits (2440 bytes)");
      EXPECT_TRUE(tree.GetItemState(groups[1], TVIS_EXPANDED) & TVIS_EXPANDED);
      EXPECT_EQ(page.ImageRowCount(), 7u);
      // The first group is selected; a group shows no picture.
      EXPECT_EQ(tree.GetSelectedItem(), groups[0]);
      EXPECT_FALSE(Shown(picture));
      EXPECT_EQ(page.ShownIcon(), nullptr);
      EXPECT_EQ(ShownRows(stats.List())[1].value, "RT_GROUP_ICON");
      EXPECT_EQ(ShownRows(stats.List())[3].value, "3");

      // A row's picture is made when the tree asks for it (as it does to draw
      // the row), once: asked again, it keeps its place in the list.
      ASSERT_TRUE(tree.GetItemImage(images[1], image, selectedImage));
      EXPECT_EQ(image, kFirstGroupImage);
      EXPECT_EQ(selectedImage, kFirstGroupImage);
      ASSERT_TRUE(tree.GetItemImage(images[0], image, selectedImage));
      EXPECT_EQ(image, kFirstGroupImage + 1);
      ASSERT_TRUE(tree.GetItemImage(images[1], image, selectedImage));
      EXPECT_EQ(image, kFirstGroupImage);
      EXPECT_LE(::ImageList_GetImageCount(page.Images()), kFirstGroupImage + 2);
      // The image the module lacks has no picture, and its row no data to show.
      const auto missing = Children(tree, groups[2]);
      ASSERT_EQ(missing.size(), 1u);
      EXPECT_EQ(tree.GetItemText(missing[0]), "32 x 32 - 16 colors (0 bytes)");
      ASSERT_TRUE(tree.GetItemImage(missing[0], image, selectedImage));
      EXPECT_EQ(image, I_IMAGENONE);
      // Every row asked for: never more pictures than the page keeps.
      for (HTREEITEM group : groups)
        for (HTREEITEM row : Children(tree, group)) tree.GetItemImage(row, image, selectedImage);
      EXPECT_LE(::ImageList_GetImageCount(page.Images()),
                kFirstGroupImage + static_cast<int>(std::min(page.ImageRowCount(), CIconResPage::kPictureSlots)));

      // Selecting an image shows it at its own size, the one icon the page
      // holds; the group hides it and lets it go.
      for (size_t i : {size_t{0}, size_t{1}}) {
        ASSERT_TRUE(tree.SelectItem(images[i]));
        HICON shown = reinterpret_cast<HICON>(::SendMessageW(picture, STM_GETICON, 0, 0));
        EXPECT_EQ(shown, page.ShownIcon());
        EXPECT_TRUE(Shown(picture));
        const LONG side = i == 0 ? 16 : 32;
        EXPECT_EQ(IconSize(shown).cx, side);
        EXPECT_EQ(IconSize(shown).cy, side);
        EXPECT_EQ(WindowSize(picture).cx, side);
        EXPECT_EQ(WindowSize(picture).cy, side);
        shownIcons.push_back(shown);
      }
      EXPECT_FALSE(IconAlive(shownIcons[0])) << "the next selection destroyed it";
      ASSERT_TRUE(tree.SelectItem(groups[1]));
      EXPECT_FALSE(Shown(picture));
      EXPECT_FALSE(IconAlive(shownIcons[1]));
      ASSERT_TRUE(tree.SelectItem(missing[0]));
      EXPECT_FALSE(Shown(picture));

      // A new show starts the list over.
      page.ShowCursorGroup(module, ResourceName::Number(1));
      const auto cursors = Children(tree, nullptr);
      ASSERT_EQ(Texts(tree, cursors), std::vector<std::string>{"1"});
      ASSERT_TRUE(tree.GetItemImage(cursors[0], image, selectedImage));
      EXPECT_EQ(image, kCursorGroupNodeImage);
      EXPECT_EQ(Texts(tree, Children(tree, cursors[0])),
                (std::vector<std::string>{"32 x 32 - 2 colors (308 bytes)", "48 x 48 - 16 colors (1644 bytes)"}));
      EXPECT_EQ(page.ImageRowCount(), 2u);
      EXPECT_EQ(::ImageList_GetImageCount(page.Images()), 2);
      ASSERT_TRUE(tree.GetItemImage(Children(tree, cursors[0])[1], image, selectedImage));
      EXPECT_EQ(image, kFirstGroupImage);
      EXPECT_EQ(ShownRows(stats.List())[1].value, "RT_GROUP_CURSOR");
      ASSERT_TRUE(tree.SelectItem(Children(tree, cursors[0])[1]));
      EXPECT_EQ(WindowSize(picture).cx, 48);
      EXPECT_EQ(WindowSize(picture).cy, 48);
      shownIcons.push_back(page.ShownIcon());

      page.ShowAllCursorGroups(module);
      EXPECT_EQ(Texts(tree, Children(tree, nullptr)), std::vector<std::string>{"1"});
      EXPECT_FALSE(Shown(picture)) << "the group is selected again";
      EXPECT_FALSE(IconAlive(shownIcons.back()));
      page.ShowIconGroup(module, ResourceName::String("APPICON"));
      const auto one = Children(tree, nullptr);
      ASSERT_EQ(Texts(tree, one), std::vector<std::string>{"APPICON"});
      EXPECT_EQ(Texts(tree, Children(tree, one[0])), std::vector<std::string>{"32 x 32 - 16 colors (744 bytes)"});
      page.ShowIconGroup(module, ResourceName::Number(77));
      EXPECT_EQ(tree.GetCount(), 0u) << "a group the module lacks adds nothing";
      page.ShowAllIconGroups(module);
      ASSERT_TRUE(tree.SelectItem(Children(tree, Children(tree, nullptr)[0])[0]));
      shownIcons.push_back(page.ShownIcon());
      ASSERT_NE(shownIcons.back(), nullptr);
    }
    // The page took its icon with it.
    EXPECT_FALSE(IconAlive(shownIcons.back()));
  }
}

}  // namespace
}  // namespace qm
