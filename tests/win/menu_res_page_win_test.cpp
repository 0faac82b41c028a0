// The resource browser's menu page on fixture menus of both template forms
// built by both compilers: the rows, the tree, the fields of every type and
// state bit, the menu popped up twice with its submenus still there after,
// and Menu.rc written through the save dialog.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "common/ui/toolbar_dialog.h"
#include "framework/controls.h"
#include "framework/list_view.h"
#include "platform/win32/win32_system.h"
#include "res/resource_ids.h"
#include "resources/menu_script.h"
#include "resources/ui/menu_res_page.h"
#include "tests/host/test_bytes.h"
#include "tests/win/app_fixture.h"
#include "tests/win/file_dialog_answer.h"
#include "tests/win/template_writer.h"

namespace qm {
namespace {

std::string Fixture(const std::string& arch, const char* name) {
  return std::string(QM_FIXTURE_DIR) + "\\" + arch + "\\" + name;
}

HTREEITEM ChildNamed(const fw::CTreeCtrl& tree, HTREEITEM parent, const std::string& text) {
  for (HTREEITEM item = parent ? tree.GetChildItem(parent) : tree.GetRootItem(); item;
       item = tree.GetNextSiblingItem(item))
    if (tree.GetItemText(item) == text) return item;
  return nullptr;
}

std::vector<std::string> ChildTexts(const fw::CTreeCtrl& tree, HTREEITEM parent) {
  std::vector<std::string> texts;
  for (HTREEITEM item = parent ? tree.GetChildItem(parent) : tree.GetRootItem(); item;
       item = tree.GetNextSiblingItem(item))
    texts.push_back(tree.GetItemText(item));
  return texts;
}

// The fields as the page shows them: the ID, both list choices, then the
// boxes Checked, Disabled, Grayed, Hilite, Default, Radio check, Right
// justify, Right order and Popup menu as 0/1 characters.
struct Fields {
  std::string id;
  LRESULT type = -2;
  LRESULT breakKind = -2;
  std::string boxes;
  bool operator==(const Fields&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Fields& f) {
  return out << "{" << f.id << ", " << f.type << ", " << f.breakKind << ", " << f.boxes << "}";
}

Fields ShownFields(HWND page) {
  Fields fields;
  wchar_t id[32] = {};
  ::GetDlgItemTextW(page, IDC_MENU_ITEM_ID, id, 32);
  fields.id = Narrow(id);
  fields.type = ::SendDlgItemMessageW(page, IDC_MENU_ITEM_TYPE, CB_GETCURSEL, 0, 0);
  fields.breakKind = ::SendDlgItemMessageW(page, IDC_MENU_ITEM_BREAK, CB_GETCURSEL, 0, 0);
  for (int box : {IDC_MENU_ITEM_CHECKED, IDC_MENU_ITEM_DISABLED, IDC_MENU_ITEM_GRAYED, IDC_MENU_ITEM_HILITE,
                  IDC_MENU_ITEM_DEFAULT, IDC_MENU_ITEM_RADIO_CHECK, IDC_MENU_ITEM_RIGHT_JUSTIFY,
                  IDC_MENU_ITEM_RIGHT_ORDER, IDC_MENU_ITEM_POPUP})
    fields.boxes += ::IsDlgButtonChecked(page, box) == BST_CHECKED ? '1' : '0';
  return fields;
}

// Closes the pop-up menu once it is on screen, noting that it was.
struct PopupCloser {
  static inline int seen = 0;
  static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD) {
    HWND popup = ::FindWindowW(L"#32768", nullptr);
    if (popup && ::IsWindowVisible(popup)) {
      ++seen;
      ::EndMenu();
    }
  }
};

class MenuResPageTest : public ::testing::TestWithParam<std::string> {
 protected:
  static void SetUpTestSuite() {
    LoadProgramResources();
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES | ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&controls);
  }
  void SetUp() override {
    ASSERT_TRUE(host_.CreateIndirect(TemplateWriter(L"Recursos", WS_POPUP | WS_CAPTION | WS_VISIBLE).Bytes()));
    ASSERT_TRUE(module_.Enumerate(Fixture(GetParam(), "resources.dll")));
    ASSERT_TRUE(page_.CreatePage(CMenuResPage::kTemplateId, host_.m_hWnd, area_));
    ::ShowWindow(page_.m_hWnd, SW_SHOW);
  }
  Fields Select(HTREEITEM item) {
    fw::CTreeCtrl(::GetDlgItem(page_.m_hWnd, IDC_ITEM_TREE)).SelectItem(item);
    return ShownFields(page_.m_hWnd);
  }

  CToolBarDialog host_;
  const RECT area_{4, 4, 544, 370};
  CResourceModule module_{*SystemPlatform().files};
  CMenuResPage page_;
};

TEST_P(MenuResPageTest, RowsTreeAndTheFieldsOfEveryTypeAndStateBit) {
  page_.ShowMenu(module_, ResourceName::Number(100));
  fw::CListCtrl rows(::GetDlgItem(page_.m_hWnd, IDC_ITEM_LIST));
  ASSERT_EQ(rows.GetItemCount(), 3);
  EXPECT_EQ(rows.GetItemText(0, 1), module_.GetPath());
  EXPECT_EQ(rows.GetItemText(1, 1), "100");
  EXPECT_EQ(rows.GetItemText(2, 0), "Número de items");
  EXPECT_EQ(rows.GetItemText(2, 1), "3");

  fw::CTreeCtrl tree(::GetDlgItem(page_.m_hWnd, IDC_ITEM_TREE));
  EXPECT_EQ(ChildTexts(tree, nullptr), (std::vector<std::string>{"Archivo", "Файл 日本", "Ayuda"}));
  HTREEITEM file = ChildNamed(tree, nullptr, "Archivo");
  EXPECT_EQ(ChildTexts(tree, file), (std::vector<std::string>{"Abrir...\tCtrl+O", "Di \"hola\"", "C:\\dir\\",
                                                              "<separador>", "Recientes", "Salir"}));
  EXPECT_TRUE(tree.GetItemState(file, TVIS_EXPANDED) & TVIS_EXPANDED);
  // The first top-level item is selected and shown: a pop-up.
  EXPECT_EQ(tree.GetSelectedItem(), file);
  EXPECT_EQ(ShownFields(page_.m_hWnd), (Fields{"", 0, 0, "000000001"}));

  EXPECT_EQ(Select(ChildNamed(tree, file, "Di \"hola\"")), (Fields{"1002", 0, 0, "100000000"}));
  EXPECT_EQ(Select(ChildNamed(tree, file, "C:\\dir\\")), (Fields{"1003", 0, 0, "011000000"}));
  EXPECT_EQ(Select(ChildNamed(tree, file, "<separador>")), (Fields{"", 3, 0, "000000000"}));
  HTREEITEM recent = ChildNamed(tree, file, "Recientes");
  EXPECT_EQ(Select(ChildNamed(tree, recent, "Columna")), (Fields{"1011", 0, 1, "000000000"}));
  EXPECT_EQ(Select(ChildNamed(tree, recent, "Barra")), (Fields{"1012", 0, 2, "000000000"}));
  EXPECT_EQ(Select(ChildNamed(tree, nullptr, "Ayuda")), (Fields{"1030", 0, 0, "000000100"}));

  page_.ShowMenu(module_, ResourceName::Number(101));
  HTREEITEM view = ChildNamed(tree, nullptr, "Ver");
  EXPECT_EQ(Select(ChildNamed(tree, view, "Lista")), (Fields{"2001", 0, 0, "100001000"}));
  EXPECT_EQ(Select(ChildNamed(tree, view, "Iconos")), (Fields{"2002", 0, 0, "000111000"}));
  // Both break bits: neither choice applies.
  EXPECT_EQ(Select(ChildNamed(tree, view, "Derecha")), (Fields{"2004", 0, 0, "000000010"}));
  EXPECT_EQ(Select(ChildNamed(tree, nullptr, "Fin")), (Fields{"2020", 0, 0, "000000100"}));

  // A menu the module lacks leaves every field blank, whatever was shown.
  page_.ShowMenu(module_, ResourceName::Number(999));
  EXPECT_EQ(tree.GetCount(), 0u);
  EXPECT_EQ(ShownFields(page_.m_hWnd), (Fields{"", CB_ERR, CB_ERR, "000000000"}));
}

// Twice in a row, and the loaded menu keeps every submenu; then Menu.rc is
// the script of the menu shown, with CR LF line ends.
TEST_P(MenuResPageTest, TheMenuPopsUpTwiceAndSavesAsAScript) {
  page_.ShowMenu(module_, ResourceName::Number(100));
  HMENU live = page_.LiveMenu();
  ASSERT_NE(live, nullptr);
  ASSERT_EQ(::GetMenuItemCount(live), 3);
  PopupCloser::seen = 0;
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 100, &PopupCloser::OnTimer);
  for (int time = 0; time < 2; ++time)
    ::SendMessageW(page_.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_SHOW_MENU, BN_CLICKED), 0);
  ::KillTimer(nullptr, timer);
  EXPECT_EQ(PopupCloser::seen, 2);
  // A notification of another control with the same number is not a click.
  ::SendMessageW(page_.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_SHOW_MENU, CBN_SELCHANGE), 0);
  EXPECT_EQ(PopupCloser::seen, 2);
  EXPECT_EQ(::GetMenuItemCount(live), 3);
  HMENU file = ::GetSubMenu(live, 0);
  ASSERT_TRUE(::IsMenu(file));
  EXPECT_EQ(::GetMenuItemCount(file), 6);
  EXPECT_TRUE(::IsMenu(::GetSubMenu(file, 4)));

  namespace fs = std::filesystem;
  const fs::path script =
      fs::path("Z:\\tmp") / ("qm-menupage-" + std::to_string(::GetCurrentProcessId()) + "-" + GetParam() + ".rc");
  fs::remove(script);
  {
    FileDialogAnswer answer(script.wstring());
    ::SendMessageW(page_.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_SAVE_AS_RESOURCE, BN_CLICKED), 0);
    EXPECT_TRUE(answer.Answered());
  }
  const std::string written = test::ReadFileText(script);
  std::string expected;
  for (char c : MenuScriptText(*page_.ShownMenu())) {
    if (c == '\n') expected += '\r';
    expected += c;
  }
  EXPECT_EQ(written, expected);
  EXPECT_NE(written.find("POPUP \"&Recientes\""), std::string::npos);
  fs::remove(script);
}

INSTANTIATE_TEST_SUITE_P(BothCompilers, MenuResPageTest, ::testing::Values("x86_64", "i686"));

}  // namespace
}  // namespace qm
