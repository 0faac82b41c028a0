#include "windows/ui/child_windows_dlg.h"

#include <vector>

#include "common/ui/count_text.h"
#include "framework/controls.h"
#include "res/string_ids.h"
#include "windows/ui/window_toolbar.h"

namespace qm {

fw::MessageTable<CChildWindowsDlg> CChildWindowsDlg::Messages() {
  static constexpr fw::MessageEntry<CChildWindowsDlg> kTable[] = {
      fw::OnNotify<&CChildWindowsDlg::OnSelChanged>(TVN_SELCHANGEDW, IDC_ITEM_TREE),
      fw::OnNotify<&CChildWindowsDlg::OnDoubleClick>(NM_DBLCLK, IDC_ITEM_TREE),
      fw::OnNotify<&CChildWindowsDlg::OnKeyDown>(TVN_KEYDOWN, IDC_ITEM_TREE),
      fw::OnCommand(IDC_CAPTURE, &CChildWindowsDlg::OnCapture),
      fw::OnCommand(IDC_MESSAGES, &CChildWindowsDlg::OnMessages),
      fw::OnCommand(IDC_TOGGLE_ENABLED, &CChildWindowsDlg::OnWindowAction),
      fw::OnCommand(IDC_TOGGLE_VISIBLE, &CChildWindowsDlg::OnWindowAction),
      fw::OnCommand(IDC_MAXIMIZE, &CChildWindowsDlg::OnWindowAction),
      fw::OnCommand(IDC_MINIMIZE, &CChildWindowsDlg::OnWindowAction),
      fw::OnCommand(IDC_RESTORE, &CChildWindowsDlg::OnWindowAction),
      fw::OnCommand(IDC_CLOSE_WINDOW, &CChildWindowsDlg::OnWindowAction),
      fw::OnMessage(WM_TIMER, &CChildWindowsDlg::OnTimer),
  };
  return kTable;
}

bool CChildWindowsDlg::AddRoot(WindowHandle window) {
  if (!tree_.AddRoot(window)) return false;
  if (m_hWnd) Rebuild();
  return true;
}

bool CChildWindowsDlg::SetRootsFromProcess(uint32_t processId) {
  HCURSOR previous = ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
  const bool found = tree_.SetRootsFromProcess(processId);
  if (found && m_hWnd) Rebuild();
  ::SetCursor(previous);
  return found;
}

BOOL CChildWindowsDlg::OnInitDialog() {
  m_hResult = 0;
  treeControl_.m_hWnd = ::GetDlgItem(m_hWnd, IDC_ITEM_TREE);
  treeControl_.SetImageList(images_, TVSIL_NORMAL);
  toolbar_.SetCheckButtons({IDC_TOGGLE_ENABLED, IDC_TOGGLE_VISIBLE});
  toolbar_.CreateInPlace(m_hWnd, IDC_TOOLBAR_PLACEHOLDER, IDR_CHILD_WINDOWS_TOOLBAR);
  Rebuild();
  ::SetTimer(m_hWnd, IDT_WINDOW_BUTTONS, kWindowButtonsMs, nullptr);
  return TRUE;
}

LRESULT CChildWindowsDlg::OnTimer(WPARAM wParam, LPARAM lParam) {
  if (wParam != IDT_WINDOW_BUTTONS) return DefWindowProc(WM_TIMER, wParam, lParam);
  UpdateToolbar();
  return 0;
}

void CChildWindowsDlg::Rebuild() {
  fw::CTreeCtrl& control = treeControl_;
  control.DeleteAllItems();
  const std::vector<ChildWindowNode> nodes = tree_.Build();
  // Parents come before their children, so each node's parent item exists.
  std::vector<HTREEITEM> items;
  items.reserve(nodes.size());
  for (const ChildWindowNode& node : nodes) {
    HTREEITEM parent = node.parent >= 0 ? items[static_cast<size_t>(node.parent)] : TVI_ROOT;
    items.push_back(control.InsertItem(node.text, node.image, static_cast<LPARAM>(node.window), parent));
  }
  if (!items.empty()) {
    if (tree_.ExpandRoot()) control.Expand(items.front(), TVE_EXPAND);
    control.SelectItem(items.front());
  }
  ::SetDlgItemTextW(m_hWnd, IDC_WINDOW_COUNT,
                    CountText(static_cast<int>(control.GetCount()), IDS_WINDOWS_FOUND).c_str());
  UpdateToolbar();
}

WindowHandle CChildWindowsDlg::Selected() const {
  HTREEITEM item = treeControl_.GetSelectedItem();
  return item ? static_cast<WindowHandle>(treeControl_.GetItemData(item)) : 0;
}

void CChildWindowsDlg::UpdateToolbar() {
  ShowWindowButtons(toolbar_, WindowButtonsFor(*platform_.windows, Selected()), /*processButtons=*/false);
  toolbar_.HideButton(IDC_MESSAGES, m_pTools == nullptr);
}

LRESULT CChildWindowsDlg::OnMessages(WPARAM, LPARAM) {
  const WindowHandle window = Selected();
  if (m_pTools && platform_.windows->IsWindow(window)) m_pTools->ShowMessageLog(window);
  UpdateToolbar();
  return 0;
}

LRESULT CChildWindowsDlg::OnSelChanged(NMTREEVIEWW& change) {
  UpdateToolbar();
  // The user's choice by mouse or keyboard shows the window; a rebuild's
  // own selection does not.
  if (m_pTools && change.action != TVC_UNKNOWN) m_pTools->HighlightWindow(Selected());
  return 0;
}

LRESULT CChildWindowsDlg::OnDoubleClick(NMHDR&) {
  OnOK();
  return 0;
}

LRESULT CChildWindowsDlg::OnKeyDown(NMTVKEYDOWN& key) {
  if (key.wVKey == VK_RETURN) OnOK();
  if (key.wVKey == VK_F5) Rebuild();
  return 0;
}

void CChildWindowsDlg::OnOK() {
  if (!treeControl_.GetSelectedItem()) return;
  m_hResult = Selected();
  EndDialog(IDOK);
}

LRESULT CChildWindowsDlg::OnCapture(WPARAM, LPARAM) {
  OnOK();
  return 0;
}

LRESULT CChildWindowsDlg::OnWindowAction(WPARAM wParam, LPARAM) {
  HTREEITEM item = treeControl_.GetSelectedItem();
  const auto action = WindowActionOfCommand(LOWORD(wParam));
  if (!item || !action) return 0;
  const WindowHandle window = Selected();
  if (DoToolbarWindowAction(platform_, m_hWnd, window, *action) && *action == WindowAction::ToggleVisible) {
    const int image = WindowImageIndex(*platform_.windows, window);
    treeControl_.SetItemImage(item, image, image);
  }
  UpdateToolbar();
  return 0;
}

}  // namespace qm
