// The application in-process on real controls: the property tree, the
// frame's commands and their enabling, with the program's own resources
// read from quillmar.exe.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

#include "app/property_diff.h"
#include "app/ui/quillmar_app.h"
#include "framework/controls.h"
#include "platform/sim/sim_system.h"
#include "platform/win32/win.h"
#include "platform/win32/win32_system.h"
#include "res/resource_ids.h"
#include "res/string_ids.h"
#include "tests/win/app_fixture.h"

namespace qm {
namespace {

// Counts TVM_SETITEMW sent to the tree, to see which lines a refresh writes.
int g_setItemCount = 0;
WNDPROC g_treeProc = nullptr;
LRESULT CALLBACK CountingTreeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == TVM_SETITEMW) ++g_setItemCount;
  return ::CallWindowProcW(g_treeProc, window, message, wParam, lParam);
}

class MainFrameTest : public RunningAppTest {
 protected:
  void TearDown() override {
    for (HWND w : created_)
      if (::IsWindow(w)) ::DestroyWindow(w);
    RunningAppTest::TearDown();
  }

  HWND MakeWindow(const wchar_t* title, DWORD style = WS_OVERLAPPEDWINDOW | WS_VISIBLE, HWND parent = nullptr,
                  const wchar_t* cls = L"STATIC", RECT rect = {100, 100, 400, 300}) {
    HWND w = ::CreateWindowExW(0, cls, title, style, rect.left, rect.top, rect.right - rect.left,
                               rect.bottom - rect.top, parent, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    created_.push_back(w);
    return w;
  }

  fw::CTreeCtrl Tree() const { return app.m_view->GetTreeCtrl(); }
  HTREEITEM Item(int property) const { return app.m_view->FindPropertyItem(property); }
  HTREEITEM Group(uint32_t stringId) const {
    const std::string title = SystemPlatform().strings->LoadString(stringId);
    for (HTREEITEM i = Tree().GetRootItem(); i; i = Tree().GetNextSiblingItem(i))
      if (Tree().GetItemText(i) == title) return i;
    return nullptr;
  }
  void Pump() { app.PumpPending(); }

  std::vector<HWND> created_;
};

TEST_F(MainFrameTest, ToolbarLayoutComesFromTheResource) {
  const fw::ToolBarLayout layout = fw::LoadToolBarLayout(resources_, IDR_MAINFRAME);
  EXPECT_EQ(layout.width, 16);
  EXPECT_EQ(layout.height, 15);
  const std::vector<UINT> expected = {5001, 5002, 0, 5003, 5004, 0,    5171, 5110, 0,
                                      5020, 5017, 0, 5021, 5022, 5023, 5024, 0,    57664};
  EXPECT_EQ(layout.commands, expected);
  EXPECT_EQ(::ImageList_GetImageCount(app.m_imageLists.m_imageList), 30);
  EXPECT_NE(app.m_imageLists.m_systemImageList, nullptr);
}

TEST_F(MainFrameTest, WithoutCaptureTheTreeHoldsOneWarningItem) {
  ASSERT_EQ(Tree().GetCount(), 1u);
  HTREEITEM only = Tree().GetRootItem();
  EXPECT_EQ(Tree().GetItemText(only), "No se ha capturado ninguna ventana");
  int image = -1, selected = -1;
  ASSERT_TRUE(Tree().GetItemImage(only, image, selected));
  EXPECT_EQ(image, kImageNoCapture);
  EXPECT_EQ(selected, kImageNoCapture);
  EXPECT_EQ(Tree().GetItemData(only), 0);
  app.m_document->UpdateAllViews();
  EXPECT_EQ(Tree().GetRootItem(), only) << "further updates leave the item alone";
}

TEST_F(MainFrameTest, FirstCaptureBuildsTheLayoutWithHwndSelectedAndGroupsCollapsed) {
  HWND target = MakeWindow(L"Ventana ñ");
  app.m_frame->CaptureWindow(H(target));
  EXPECT_EQ(Tree().GetCount(), unsigned(kPropertyCount + 6));
  HTREEITEM first = Tree().GetRootItem();
  EXPECT_EQ(Tree().GetItemData(first), kPropHandle);
  EXPECT_EQ(Tree().GetSelectedItem(), first);
  char expected[64];
  std::snprintf(expected, sizeof expected, "HWND: [0x%08llx]", static_cast<unsigned long long>(H(target)));
  EXPECT_EQ(Tree().GetItemText(first), expected);
  EXPECT_EQ(Tree().GetItemText(Item(kPropTitle)), "Título de la ventana: Ventana ñ");

  int groups = 0;
  for (HTREEITEM i = Tree().GetRootItem(); i; i = Tree().GetNextSiblingItem(i)) {
    if (Tree().GetItemData(i) >= 0) continue;
    ++groups;
    EXPECT_FALSE(Tree().GetItemState(i, TVIS_EXPANDED) & TVIS_EXPANDED) << Tree().GetItemText(i);
    int image = 0, selected = 0;
    Tree().GetItemImage(i, image, selected);
    EXPECT_EQ(image, kImageGroup);
  }
  EXPECT_EQ(groups, 6);
  EXPECT_EQ(Tree().GetItemData(Group(4135)), kGroupVisibility);
  EXPECT_EQ(Tree().GetItemData(Group(4136)), kGroupPosition);
  EXPECT_EQ(Tree().GetItemData(Group(4140)), kGroupOther);
  int image = 0, selected = 0;
  Tree().GetItemImage(Item(kPropWndProc), image, selected);
  EXPECT_EQ(image, kImagePropertyInfo);
  Tree().GetItemImage(Item(kPropStyle), image, selected);
  EXPECT_EQ(image, kImageProperty);
  EXPECT_EQ(Tree().GetParentItem(Item(kPropClassIcon)), Group(4138));
}

TEST_F(MainFrameTest, ARefreshRewritesOnlyTheChangedLineAndKeepsExpansionAndSelection) {
  HWND target = MakeWindow(L"Antes");
  app.m_frame->CaptureWindow(H(target));
  HTREEITEM position = Group(4136);
  Tree().SelectItem(position);  // selecting a group expands it
  EXPECT_TRUE(Tree().GetItemState(position, TVIS_EXPANDED) & TVIS_EXPANDED);
  Tree().SelectItem(Item(kPropWindowRect));

  g_treeProc = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrW(app.m_view->m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CountingTreeProc)));
  g_setItemCount = 0;
  app.m_document->UpdateAllViews();
  EXPECT_EQ(g_setItemCount, 0) << "nothing changed, nothing written";
  ::SetWindowTextW(target, L"Después");
  app.m_document->UpdateAllViews();
  EXPECT_EQ(g_setItemCount, 1);
  ::SetWindowLongPtrW(app.m_view->m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_treeProc));

  EXPECT_EQ(Tree().GetItemText(Item(kPropTitle)), "Título de la ventana: Después");
  EXPECT_TRUE(Tree().GetItemState(position, TVIS_EXPANDED) & TVIS_EXPANDED);
  EXPECT_EQ(Tree().GetSelectedItem(), Item(kPropWindowRect));
  Tree().SelectItem(position);
  EXPECT_TRUE(Tree().GetItemState(position, TVIS_EXPANDED) & TVIS_EXPANDED) << "selecting again never collapses";
}

TEST_F(MainFrameTest, ActionsChangeTheRealWindow) {
  HWND target = MakeWindow(L"Objetivo");
  app.m_frame->CaptureWindow(H(target));
  EXPECT_FALSE(app.m_frame->QueryCommand(ID_SHOW_WINDOW).enabled);
  EXPECT_TRUE(app.m_frame->ExecuteCommand(ID_HIDE_WINDOW));
  EXPECT_FALSE(::IsWindowVisible(target));
  EXPECT_EQ(Tree().GetItemText(Item(kPropVisible)), "Está visible: No") << "the views are updated";
  EXPECT_TRUE(app.m_frame->ExecuteCommand(ID_SHOW_WINDOW));
  EXPECT_TRUE(::IsWindowVisible(target));
  EXPECT_TRUE(app.m_frame->ExecuteCommand(ID_DISABLE_WINDOW));
  EXPECT_FALSE(::IsWindowEnabled(target));
  EXPECT_FALSE(app.m_frame->ExecuteCommand(ID_DISABLE_WINDOW)) << "refused: already disabled";
  EXPECT_TRUE(app.m_frame->ExecuteCommand(ID_TOGGLE_ENABLED));
  EXPECT_TRUE(::IsWindowEnabled(target));
  EXPECT_TRUE(app.m_frame->ExecuteCommand(ID_MAXIMIZE_WINDOW));
  EXPECT_TRUE(::IsZoomed(target));
  EXPECT_TRUE(app.m_frame->ExecuteCommand(ID_RESTORE_WINDOW));
  EXPECT_FALSE(::IsZoomed(target));
  EXPECT_TRUE(app.m_frame->ExecuteCommand(ID_CLOSE_WINDOW));
  Pump();
  EXPECT_FALSE(::IsWindow(target)) << "closing is posted, and the window closes itself";

  // A vanished capture: every tool and capture move is greyed; the capture,
  // list and module commands stay.
  for (UINT id :
       {ID_SHOW_WINDOW, ID_HIDE_WINDOW, ID_TOGGLE_ENABLED, ID_CLOSE_WINDOW, ID_CAPTURE_PARENT, ID_CAPTURE_NEXT})
    EXPECT_FALSE(app.m_frame->QueryCommand(id).enabled) << id;
  EXPECT_TRUE(app.m_frame->QueryCommand(ID_CAPTURE_WINDOW).enabled);
  app.m_document->UpdateAllViews();
  EXPECT_EQ(Tree().GetItemText(Item(kPropIsWindow)), "Es ventana: No");
  EXPECT_EQ(Tree().GetItemText(Item(kPropEnabled)), "Está activada: ");
}

TEST_F(MainFrameTest, ToolbarTogglesFollowTheWindow) {
  HWND target = MakeWindow(L"Botones");
  app.m_frame->CaptureWindow(H(target));
  app.OnIdle(0);
  EXPECT_TRUE(app.m_frame->m_wndToolBar.IsButtonChecked(ID_TOGGLE_ENABLED));
  EXPECT_TRUE(app.m_frame->m_wndToolBar.IsButtonChecked(ID_TOGGLE_VISIBLE));
  EXPECT_TRUE(app.m_frame->m_wndToolBar.IsButtonEnabled(ID_MAXIMIZE_WINDOW));
  ::EnableWindow(target, FALSE);
  ::ShowWindow(target, SW_HIDE);
  app.OnIdle(0);
  EXPECT_FALSE(app.m_frame->m_wndToolBar.IsButtonChecked(ID_TOGGLE_ENABLED));
  EXPECT_FALSE(app.m_frame->m_wndToolBar.IsButtonChecked(ID_TOGGLE_VISIBLE));
  EXPECT_FALSE(app.m_frame->m_wndToolBar.IsButtonEnabled(ID_MAXIMIZE_WINDOW));
  EXPECT_TRUE(app.m_frame->m_wndToolBar.IsButtonEnabled(ID_APP_ABOUT)) << "the application answers About";
  EXPECT_TRUE(app.m_frame->m_wndToolBar.IsButtonEnabled(ID_CAPTURE_WINDOW));
}

TEST_F(MainFrameTest, MenusAreGreyedByTheSameRulesAndDialogCommandsWaitForTheirDialogs) {
  HWND target = MakeWindow(L"Menús");
  app.m_frame->CaptureWindow(H(target));
  HMENU menu = ::GetMenu(app.m_frame->m_hWnd);
  HMENU tools = ::GetSubMenu(menu, 3);
  HMENU view = ::GetSubMenu(menu, 2);
  app.m_frame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(tools), 3);
  EXPECT_TRUE(::GetMenuState(tools, ID_SHOW_WINDOW, MF_BYCOMMAND) & MF_GRAYED);
  EXPECT_FALSE(::GetMenuState(tools, ID_HIDE_WINDOW, MF_BYCOMMAND) & MF_GRAYED);
  app.m_frame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(view), 2);
  EXPECT_TRUE(::GetMenuState(view, ID_AUTO_REFRESH, MF_BYCOMMAND) & MF_CHECKED);
  EXPECT_TRUE(::GetMenuState(view, ID_VIEW_TOOLBAR, MF_BYCOMMAND) & MF_CHECKED);
  EXPECT_FALSE(::GetMenuState(view, ID_CHILD_WINDOWS, MF_BYCOMMAND) & MF_GRAYED) << "its dialog exists";
  HMENU others = ::GetSubMenu(menu, 4);
  app.m_frame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(others), 4);
  EXPECT_FALSE(::GetMenuState(others, ID_MODULE_HEADERS, MF_BYCOMMAND) & MF_GRAYED) << "its dialog exists";
  EXPECT_FALSE(::GetMenuState(others, ID_MODULE_RESOURCES, MF_BYCOMMAND) & MF_GRAYED) << "its dialog exists";

  // A posted command passes the same rule: hiding twice acts once.
  app.m_frame->PostMessage(WM_COMMAND, ID_HIDE_WINDOW);
  app.m_frame->PostMessage(WM_COMMAND, ID_AUTO_REFRESH);
  Pump();
  EXPECT_FALSE(::IsWindowVisible(target));
  EXPECT_FALSE(app.m_frame->m_bAutoRefresh);
  EXPECT_FALSE(app.m_frame->ExecuteCommand(ID_HIDE_WINDOW));
}

TEST_F(MainFrameTest, DoubleClickOnParentCapturesTheParentAndKeepsTheTree) {
  HWND dialog = MakeWindow(L"Diálogo");
  HWND button = MakeWindow(L"Aceptar", WS_CHILD | WS_VISIBLE, dialog, L"BUTTON", {10, 10, 90, 40});
  app.m_frame->CaptureWindow(H(button));
  HTREEITEM associated = Group(4139);
  Tree().SelectItem(associated);
  Tree().SelectItem(Item(kPropParent));

  NMHDR header{app.m_view->m_hWnd, AFX_IDW_PANE_FIRST, static_cast<UINT>(NM_DBLCLK)};
  app.m_frame->SendMessage(WM_NOTIFY, AFX_IDW_PANE_FIRST, reinterpret_cast<LPARAM>(&header));
  EXPECT_EQ(app.m_frame->Captured(), H(button)) << "posted, not run inside the notification";
  Pump();
  EXPECT_EQ(app.m_frame->Captured(), H(dialog));
  EXPECT_TRUE(Tree().GetItemState(associated, TVIS_EXPANDED) & TVIS_EXPANDED);
  EXPECT_EQ(Tree().GetSelectedItem(), Item(kPropParent));

  // On a top-level window without a parent the same double click is refused.
  Pump();
  app.m_frame->SendMessage(WM_NOTIFY, AFX_IDW_PANE_FIRST, reinterpret_cast<LPARAM>(&header));
  Pump();
  EXPECT_EQ(app.m_frame->Captured(), H(dialog));
}

TEST_F(MainFrameTest, ADragEndingOnADisabledButtonCapturesTheButton) {
  HWND dialog = MakeWindow(L"Con botón", WS_POPUP | WS_VISIBLE | WS_CAPTION, nullptr, L"STATIC", {300, 300, 600, 500});
  HWND button = MakeWindow(L"Apagado", WS_CHILD | WS_VISIBLE | WS_DISABLED, dialog, L"BUTTON", {20, 20, 120, 60});
  ::SetWindowPos(dialog, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  RECT rect{};
  ::GetWindowRect(button, &rect);
  ASSERT_TRUE(::SetCursorPos(rect.left + 10, rect.top + 10));
  ASSERT_TRUE(app.m_frame->ExecuteCommand(ID_CAPTURE_WINDOW));
  EXPECT_TRUE(app.m_frame->IsDragging());
  app.m_frame->FinishDrag();
  EXPECT_FALSE(app.m_frame->IsDragging());
  EXPECT_EQ(app.m_frame->Captured(), H(button));
  EXPECT_FALSE(::IsIconic(app.m_frame->m_hWnd)) << "the frame is shown again";
}

TEST(QuillmarAppStartUp, FailingOleShowsMessage4308AndNoWindow) {
  SimMessageBox box;
  Platform platform = SystemPlatform();
  platform.messageBox = &box;
  CQuillmarApp app(platform);
  app.m_initializeOle = [] { return E_FAIL; };
  EXPECT_FALSE(app.InitInstance());
  ASSERT_EQ(box.shown.size(), 1u);
  EXPECT_EQ(box.shown[0].text, platform.strings->LoadString(IDS_OLE_INIT_FAILED));
  EXPECT_EQ(box.shown[0].flags, uint32_t{MB_ICONERROR_});
  EXPECT_EQ(app.m_frame, nullptr);
}

}  // namespace
}  // namespace qm

namespace qm {
namespace {

class StatusBarTest : public RunningAppTest {};

TEST_F(StatusBarTest, IndicatorsNameTheKeysThatAreOn) {
  BYTE keys[256] = {};
  ASSERT_TRUE(::GetKeyboardState(keys));
  BYTE changed[256];
  std::copy(std::begin(keys), std::end(keys), std::begin(changed));
  changed[VK_CAPITAL] |= 1;
  changed[VK_NUMLOCK] &= static_cast<BYTE>(~1);
  changed[VK_SCROLL] |= 1;
  ASSERT_TRUE(::SetKeyboardState(changed));
  fw::CStatusBar& bar = app.m_frame->m_wndStatusBar;
  bar.UpdateIndicators();
  EXPECT_EQ(bar.GetPaneText(1), "MAYÚS");
  EXPECT_EQ(bar.GetPaneText(2), "");
  EXPECT_EQ(bar.GetPaneText(3), "DESPL");
  changed[VK_CAPITAL] &= static_cast<BYTE>(~1);
  changed[VK_NUMLOCK] |= 1;
  ASSERT_TRUE(::SetKeyboardState(changed));
  bar.UpdateIndicators();
  EXPECT_EQ(bar.GetPaneText(1), "");
  EXPECT_EQ(bar.GetPaneText(2), "NÚM");
  ::SetKeyboardState(keys);
}

// The indicator panes' widths and the room left for the size grip, from
// the bar's parts.
struct StatusPanes {
  std::vector<int> indicators;
  int grip = 0;
};
StatusPanes ReadPanes(fw::CStatusBar& bar) {
  int edges[8] = {};
  const auto parts = static_cast<int>(bar.SendMessage(SB_GETPARTS, 8, reinterpret_cast<LPARAM>(edges)));
  StatusPanes panes;
  for (int i = 1; i < parts; ++i) panes.indicators.push_back(edges[i] - edges[i - 1]);
  RECT client{};
  ::GetClientRect(bar.m_hWnd, &client);
  panes.grip = parts > 0 ? client.right - edges[parts - 1] : 0;
  return panes;
}

int TextWidth(HWND window, const std::wstring& text) {
  HDC dc = ::GetDC(window);
  HGDIOBJ previous = ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageW(window, WM_GETFONT, 0, 0)));
  SIZE extent{};
  ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
  ::SelectObject(dc, previous);
  ::ReleaseDC(window, dc);
  return extent.cx;
}

TEST_F(StatusBarTest, IndicatorPanesScaleWithTheDpiAndHoldTheirTexts) {
  fw::CFrameWnd& frame = *app.m_frame;
  fw::CStatusBar& bar = frame.m_wndStatusBar;
  RECT suggested{40, 30, 40 + 960, 30 + 840};
  frame.SendMessage(WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
  StatusPanes at144 = ReadPanes(bar);
  ASSERT_EQ(at144.indicators.size(), 3u);
  for (int width : at144.indicators) EXPECT_GE(width, 84) << "56 pixels at 96 DPI";
  EXPECT_EQ(at144.grip, 24);

  // A font much larger than the DPI's: each pane widens to its text.
  HFONT big = ::CreateFontW(-40, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma");
  ASSERT_NE(big, nullptr);
  HGDIOBJ font = reinterpret_cast<HGDIOBJ>(bar.SendMessage(WM_GETFONT));
  bar.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(big), FALSE);
  bar.Resize();
  const StatusPanes large = ReadPanes(bar);
  const int caps = TextWidth(bar.m_hWnd, L"MAYÚS");
  ASSERT_EQ(large.indicators.size(), 3u);
  EXPECT_GT(caps, 84);
  EXPECT_GT(large.indicators[0], caps);
  EXPECT_GT(large.indicators[1], TextWidth(bar.m_hWnd, L"NÚM"));
  EXPECT_GT(large.indicators[2], TextWidth(bar.m_hWnd, L"DESPL"));
  bar.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  ::DeleteObject(big);

  frame.SendMessage(WM_DPICHANGED, MAKEWPARAM(96, 96), reinterpret_cast<LPARAM>(&suggested));
  const StatusPanes at96 = ReadPanes(bar);
  ASSERT_EQ(at96.indicators.size(), 3u);
  EXPECT_GE(at96.indicators[0], 56);
  EXPECT_LT(at96.indicators[0], at144.indicators[0]);
  EXPECT_EQ(at96.grip, 16);
}

}  // namespace
}  // namespace qm
