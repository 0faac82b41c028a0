// The window menu editor opened through the frame's command on a window the
// test made with a menu bar: edits, an insertion, deletions and a command,
// and what ends up in the window's live menu.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/ui/menu_ex.h"
#include "framework/controls.h"
#include "platform/win32/win32_system.h"
#include "res/resource_ids.h"
#include "tests/win/app_fixture.h"
#include "tests/win/control_queries.h"
#include "tests/win/modal_driver.h"

namespace qm {
namespace {

std::vector<WPARAM> g_commands;

LRESULT CALLBACK TargetProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND) g_commands.push_back(wParam);
  return ::DefWindowProcW(window, message, wParam, lParam);
}

void Post(HWND dialog, int id) { ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }
// Selects the n-th tree item (depth first) that reads text; false if none.
bool SelectTreeItem(HWND dialog, const std::string& text, int nth = 0) {
  fw::CTreeCtrl tree(::GetDlgItem(dialog, IDC_MENU_TREE));
  std::vector<HTREEITEM> pending{tree.GetRootItem()};
  while (!pending.empty()) {
    HTREEITEM item = pending.back();
    pending.pop_back();
    if (!item) continue;
    if (tree.GetItemText(item) == text && nth-- == 0) return tree.SelectItem(item);
    pending.push_back(tree.GetNextSiblingItem(item));
    pending.push_back(tree.GetChildItem(item));
  }
  return false;
}

std::wstring ItemTextAt(HMENU menu, UINT position, UINT* id = nullptr, UINT* state = nullptr,
                        HMENU* submenu = nullptr) {
  wchar_t text[256] = {};
  MENUITEMINFOW item{};
  item.cbSize = sizeof item;
  item.fMask = MIIM_STRING | MIIM_ID | MIIM_STATE | MIIM_SUBMENU | MIIM_FTYPE;
  item.dwTypeData = text;
  item.cch = 255;
  if (!::GetMenuItemInfoW(menu, position, TRUE, &item)) return L"<none>";
  if (id) *id = item.wID;
  if (state) *state = item.fState;
  if (submenu) *submenu = item.hSubMenu;
  return (item.fType & MFT_SEPARATOR) ? L"-" : text;
}

class WindowMenuEditorTest : public RunningAppTest {
 protected:
  void SetUp() override {
    RunningAppTest::SetUp();
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = &TargetProc;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"QmMenuTarget";
    ::RegisterClassW(&windowClass);
    file_ = ::CreatePopupMenu();
    ::AppendMenuW(file_, MF_STRING, 100, L"&Abrir");
    ::AppendMenuW(file_, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuW(file_, MF_STRING, 101, L"&Salir");
    view_ = ::CreatePopupMenu();
    ::AppendMenuW(view_, MF_STRING, 100, L"Zoom");  // the same ID as "&Abrir"
    HMENU bar = ::CreateMenu();
    ::AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file_), L"&Archivo");
    ::AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(view_), L"&Ver");
    ::AppendMenuW(bar, MF_STRING, 104, L"Ay&uda");
    target_ = ::CreateWindowExW(0, L"QmMenuTarget", L"Con menú", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200,
                                nullptr, bar, ::GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(target_, nullptr);
    app.m_frame->CaptureWindow(H(target_));
    g_commands.clear();
  }
  void TearDown() override {
    if (::IsWindow(target_)) ::DestroyWindow(target_);
    RunningAppTest::TearDown();
  }

  HWND target_ = nullptr;
  HMENU file_ = nullptr, view_ = nullptr;
};

constexpr const wchar_t* kEditor = L"Modificación del menú de una ventana";
constexpr const wchar_t* kItem = L"Información sobre un item de menú";

TEST_F(WindowMenuEditorTest, EditsInsertsDeletesAndExecutesOnTheLiveMenu) {
  std::string abrirId, popupId;
  bool popupIdEnabled = true, executeOnPopup = true, executeOnCommand = false;
  ModalDriver driver;
  driver
      .On(kEditor,
          [&](HWND dialog) {
            ASSERT_TRUE(SelectTreeItem(dialog, "Archivo"));
            executeOnPopup = ::IsWindowEnabled(::GetDlgItem(dialog, IDC_MENU_EXECUTE)) != FALSE;
            // "Zoom" shares ID 100 with "Abrir": the edit must reach this one.
            ASSERT_TRUE(SelectTreeItem(dialog, "Zoom"));
            executeOnCommand = ::IsWindowEnabled(::GetDlgItem(dialog, IDC_MENU_EXECUTE)) != FALSE;
            Post(dialog, IDC_MENU_EDIT);
          })
      .On(kItem,
          [&](HWND item) {
            abrirId = ItemText(item, IDC_MENU_ITEM_ID);
            ::SetDlgItemTextW(item, IDC_MENU_ITEM_TITLE, L"Zoom ñ 日本");
            ::CheckDlgButton(item, IDC_MENU_ITEM_CHECKED, BST_CHECKED);
            ::CheckDlgButton(item, IDC_MENU_ITEM_GRAYED, BST_CHECKED);
            ModalDriver::Press(item, IDOK);
          })
      .On(kEditor,
          [&](HWND dialog) {
            ASSERT_TRUE(SelectTreeItem(dialog, "Archivo"));
            Post(dialog, IDC_MENU_EDIT);
          })
      .On(kItem,
          [&](HWND item) {
            popupId = ItemText(item, IDC_MENU_ITEM_ID);
            popupIdEnabled = ::IsWindowEnabled(::GetDlgItem(item, IDC_MENU_ITEM_ID)) != FALSE;
            ::SetDlgItemTextW(item, IDC_MENU_ITEM_TITLE, L"&Fichero");
            ModalDriver::Press(item, IDOK);
          })
      .On(kEditor,
          [&](HWND dialog) {
            ASSERT_TRUE(SelectTreeItem(dialog, "Salir"));
            Command(dialog, IDC_MENU_EXECUTE);
            ASSERT_TRUE(SelectTreeItem(dialog, "<separador>"));
            Post(dialog, IDC_MENU_DELETE);
          })
      .On(L"Quillmar", [&](HWND question) { ModalDriver::Press(question, IDNO); })
      .On(kEditor, [&](HWND dialog) { Post(dialog, IDC_MENU_DELETE); })
      .On(L"Quillmar", [&](HWND question) { ModalDriver::Press(question, IDYES); })
      .On(kEditor,
          [&](HWND dialog) {
            ASSERT_TRUE(SelectTreeItem(dialog, "Abrir"));
            Post(dialog, ID_INSERT_MENU_ITEM);
          })
      .On(kItem,
          [&](HWND item) {
            ::SetDlgItemTextW(item, IDC_MENU_ITEM_ID, L"555");
            ::SetDlgItemTextW(item, IDC_MENU_ITEM_TITLE, L"&Nuevo");
            ModalDriver::Press(item, IDOK);
          })
      .On(kEditor, [&](HWND dialog) { ModalDriver::Press(dialog, IDCANCEL); });
  EXPECT_TRUE(app.m_frame->ExecuteCommand(ID_WINDOW_MENU));
  ASSERT_TRUE(driver.AllDone()) << driver.Done();
  app.PumpPending();

  EXPECT_FALSE(executeOnPopup);
  EXPECT_TRUE(executeOnCommand);
  EXPECT_EQ(abrirId, "100");
  EXPECT_EQ(popupId, "");
  EXPECT_FALSE(popupIdEnabled);
  HMENU bar = ::GetMenu(target_);
  UINT id = 0, state = 0;
  HMENU submenu = nullptr;
  // The pop-up was renamed and keeps its submenu.
  EXPECT_EQ(ItemTextAt(bar, 0, nullptr, nullptr, &submenu), L"&Fichero");
  EXPECT_EQ(submenu, file_);
  EXPECT_TRUE(::IsMenu(file_));
  // "Zoom" changed, "Abrir" with the same ID did not.
  EXPECT_EQ(ItemTextAt(view_, 0, &id, &state), L"Zoom ñ 日本");
  EXPECT_EQ(id, 100u);
  EXPECT_EQ(state & (MFS_CHECKED | MFS_GRAYED), static_cast<UINT>(MFS_CHECKED | MFS_GRAYED));
  EXPECT_EQ(ItemTextAt(file_, 0, &id, &state), L"&Abrir");
  EXPECT_EQ(state, 0u);
  // The new item after "Abrir", the separator gone after the Yes.
  EXPECT_EQ(ItemTextAt(file_, 1, &id), L"&Nuevo");
  EXPECT_EQ(id, 555u);
  EXPECT_EQ(ItemTextAt(file_, 2), L"&Salir");
  EXPECT_EQ(::GetMenuItemCount(file_), 3);
  EXPECT_EQ(g_commands, (std::vector<WPARAM>{101}));
}

// The editor on the frame's own menu: "Ejecutar" on one of the frame's
// dialog commands posts it to the frame, which must refuse it while the
// editor runs (a second dialog over the first would, on closing, enable
// the frame under the editor).
class FrameMenuEditorTest : public RunningAppTest {};

TEST_F(FrameMenuEditorTest, ACommandExecutedOnTheFrameWhileItsEditorRunsIsRefused) {
  HWND frame = app.m_frame->m_hWnd;
  app.m_frame->CaptureWindow(H(frame));
  bool executeEnabled = false, propertiesOpened = true, frameEnabled = true, modalDuring = false;
  ModalDriver driver;
  driver
      .On(kEditor,
          [&](HWND dialog) {
            ASSERT_TRUE(SelectTreeItem(dialog, "Propiedades de la ventana..."));
            executeEnabled = ::IsWindowEnabled(::GetDlgItem(dialog, IDC_MENU_EXECUTE)) != FALSE;
            Command(dialog, IDC_MENU_EXECUTE);
          })
      .On(kEditor,
          [&](HWND) {
            // The posted command came before this timer tick; a dialog it
            // opened may not be shown yet.
            HWND properties = ::FindWindowW(nullptr, L"Propiedades de la ventana");
            propertiesOpened = properties != nullptr;
            if (properties) ModalDriver::Press(properties, IDCANCEL);
          })
      .On(kEditor, [&](HWND dialog) {
        frameEnabled = ::IsWindowEnabled(frame) != FALSE;
        modalDuring = app.m_frame->InModalRun();
        ModalDriver::Press(dialog, IDCANCEL);
      });
  EXPECT_TRUE(app.m_frame->ExecuteCommand(ID_WINDOW_MENU));
  ASSERT_TRUE(driver.AllDone()) << driver.Done();
  EXPECT_TRUE(executeEnabled);
  EXPECT_FALSE(propertiesOpened);
  EXPECT_FALSE(frameEnabled) << "the editor is still modal";
  EXPECT_TRUE(modalDuring);
  EXPECT_FALSE(app.m_frame->InModalRun());
  EXPECT_TRUE(::IsWindowEnabled(frame));
}

TEST(MenuExTest, ACopySharesTheSubmenusAndLeavesThemAliveWhenDestroyed) {
  HMENU source = ::CreateMenu();
  HMENU submenu = ::CreatePopupMenu();
  ::AppendMenuW(submenu, MF_STRING, 7, L"Dentro");
  ::AppendMenuW(source, MF_POPUP, reinterpret_cast<UINT_PTR>(submenu), L"Menú ñ");
  ::AppendMenuW(source, MF_SEPARATOR, 0, nullptr);
  ::AppendMenuW(source, MF_STRING | MF_GRAYED, 8, L"Gris");
  for (int round = 0; round < 2; ++round) {
    CMenuEx copy;
    ASSERT_TRUE(copy.CopyFrom(source));
    ASSERT_EQ(::GetMenuItemCount(copy.m_hMenu), 3);
    HMENU shared = nullptr;
    UINT state = 0;
    EXPECT_EQ(ItemTextAt(copy.m_hMenu, 0, nullptr, nullptr, &shared), L"Menú ñ");
    EXPECT_EQ(shared, submenu);
    EXPECT_EQ(ItemTextAt(copy.m_hMenu, 1), L"-");
    EXPECT_EQ(ItemTextAt(copy.m_hMenu, 2, nullptr, &state), L"Gris");
    EXPECT_TRUE(state & MFS_GRAYED);
  }
  EXPECT_TRUE(::IsMenu(submenu));
  EXPECT_EQ(ItemTextAt(submenu, 0), L"Dentro");
  EXPECT_EQ(::GetMenuItemCount(source), 3);
  ::DestroyMenu(source);
}

}  // namespace
}  // namespace qm
