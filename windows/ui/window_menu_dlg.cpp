#include "windows/ui/window_menu_dlg.h"

#include "common/ui/menu_ex.h"
#include "framework/controls.h"
#include "framework/list_box.h"
#include "res/string_ids.h"
#include "windows/menu_item_edit.h"
#include "windows/ui/menu_item_dlg.h"

namespace qm {
namespace {
// The unreadable-menu message waits until the dialog is on screen.
constexpr UINT kShowUnreadableMenu = WM_APP + 1;
}  // namespace

fw::MessageTable<CWindowMenuDlg> CWindowMenuDlg::Messages() {
  static constexpr fw::MessageEntry<CWindowMenuDlg> kTable[] = {
      fw::OnNotify<&CWindowMenuDlg::OnSelChanged>(TVN_SELCHANGEDW, IDC_MENU_TREE),
      fw::OnCommand(IDC_MENU_INSERT, &CWindowMenuDlg::OnInsert),
      fw::OnCommand(ID_INSERT_MENU_ITEM, &CWindowMenuDlg::OnInsertItem),
      fw::OnCommand(IDC_MENU_EDIT, &CWindowMenuDlg::OnEdit),
      fw::OnCommand(IDC_MENU_DELETE, &CWindowMenuDlg::OnDelete),
      fw::OnCommand(IDC_MENU_EXECUTE, &CWindowMenuDlg::OnExecute),
      fw::OnMessage(kShowUnreadableMenu, &CWindowMenuDlg::OnUnreadableMenu),
  };
  return kTable;
}

BOOL CWindowMenuDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  tree_.m_hWnd = ::GetDlgItem(m_hWnd, IDC_MENU_TREE);
  states_.m_hWnd = ::GetDlgItem(m_hWnd, IDC_MENU_STATES);
  tree_.SetImageList(images_, TVSIL_NORMAL);
  model_.SetWindow(m_window);
  Rebuild({});
  if (model_.MenuUnreadable()) PostMessage(kShowUnreadableMenu);
  return TRUE;
}

LRESULT CWindowMenuDlg::OnUnreadableMenu(WPARAM, LPARAM) {
  // A modal dialog shows once its queue is empty; the message must not come
  // up over nothing.
  if (!::IsWindowVisible(m_hWnd)) ::ShowWindow(m_hWnd, SW_SHOW);
  platform_.messageBox->MessageBox(platform_.strings->LoadString(IDS_WINDOW_MENU_UNREADABLE), MB_ICONEXCLAMATION_);
  return 0;
}

void CWindowMenuDlg::Rebuild(const std::vector<uint32_t>& select) {
  tree_.DeleteAllItems();
  const std::vector<WindowMenuNode>& nodes = model_.Nodes().empty() ? model_.Rebuild() : model_.Nodes();
  // Parents come before their children, so each node's parent item exists.
  std::vector<HTREEITEM> items;
  items.reserve(nodes.size());
  for (size_t i = 0; i < nodes.size(); ++i) {
    const WindowMenuNode& node = nodes[i];
    HTREEITEM parent = node.parent >= 0 ? items[static_cast<size_t>(node.parent)] : TVI_ROOT;
    items.push_back(tree_.InsertItem(node.treeText, node.image, static_cast<LPARAM>(i), parent));
  }
  // The item at the same place, or its parent when it is gone.
  std::vector<uint32_t> path = select;
  while (!path.empty()) {
    if (const auto node = model_.FindNode(path)) {
      tree_.SelectItem(items[*node]);
      break;
    }
    path.pop_back();
  }
  ShowSelection();
}

std::optional<size_t> CWindowMenuDlg::SelectedNode() const {
  HTREEITEM item = tree_.GetSelectedItem();
  if (!item) return std::nullopt;
  const auto node = static_cast<size_t>(tree_.GetItemData(item));
  if (node >= model_.Nodes().size()) return std::nullopt;
  return node;
}

std::vector<uint32_t> CWindowMenuDlg::SelectedPath() const {
  const auto node = SelectedNode();
  return node ? model_.Nodes()[*node].positions : std::vector<uint32_t>{};
}

void CWindowMenuDlg::ShowSelection() {
  states_.ResetContent();
  const auto node = SelectedNode();
  if (node)
    for (const std::string& name : model_.StateNames(*node)) states_.AddString(name);
  const WindowMenuButtons buttons = model_.ButtonsFor(node);
  EnableDlgItem(IDC_MENU_INSERT, buttons.insert);
  EnableDlgItem(IDC_MENU_EDIT, buttons.edit);
  EnableDlgItem(IDC_MENU_DELETE, buttons.remove);
  EnableDlgItem(IDC_MENU_EXECUTE, buttons.execute);
  // A button greyed under the focus would leave the keyboard nowhere.
  HWND focus = ::GetFocus();
  if (focus && ::GetParent(focus) == m_hWnd && !::IsWindowEnabled(focus))
    ::SendMessageW(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(tree_.m_hWnd), TRUE);
}

LRESULT CWindowMenuDlg::OnSelChanged(NMTREEVIEWW&) {
  ShowSelection();
  return 0;
}

// The pop-up of the Insert button, at the button's centre. Its command is
// posted so that the item dialog runs from the dialog's own loop.
LRESULT CWindowMenuDlg::OnInsert(WPARAM, LPARAM) {
  CMenuEx menu(::LoadMenuW(fw::ResourceInstance(), MAKEINTRESOURCEW(IDR_INSERT_MENU)));
  HMENU popup = menu.m_hMenu ? ::GetSubMenu(menu.m_hMenu, 0) : nullptr;
  if (!popup) return 0;
  RECT button{};
  ::GetWindowRect(::GetDlgItem(m_hWnd, IDC_MENU_INSERT), &button);
  const UINT command = static_cast<UINT>(::TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_LEFTBUTTON | TPM_RETURNCMD,
                                                          (button.left + button.right) / 2,
                                                          (button.top + button.bottom) / 2, 0, m_hWnd, nullptr));
  if (command == ID_INSERT_MENU_ITEM) ::PostMessageW(m_hWnd, WM_COMMAND, ID_INSERT_MENU_ITEM, 0);
  return 0;
}

LRESULT CWindowMenuDlg::OnInsertItem(WPARAM, LPARAM) {
  const auto node = SelectedNode();
  CMenuItemDlg dialog;  // a new command item: ID 0, no text, enabled
  if (dialog.DoModal(m_hWnd) != IDOK) return 0;
  std::vector<uint32_t> path = SelectedPath();
  if (model_.InsertAfter(node, dialog.m_item) == MenuEditOutcome::Done && !path.empty()) ++path.back();
  Rebuild(path);
  return 0;
}

LRESULT CWindowMenuDlg::OnEdit(WPARAM, LPARAM) {
  const auto node = SelectedNode();
  if (!node) return 0;
  const auto live = model_.Lookup(*node);
  const std::vector<uint32_t> path = SelectedPath();
  if (!live) {
    model_.Rebuild();
    Rebuild(path);
    return 0;
  }
  CMenuItemDlg dialog;
  dialog.m_item = *live;
  if (dialog.DoModal(m_hWnd) != IDOK) return 0;
  model_.Edit(*node, dialog.m_item);
  Rebuild(path);
  return 0;
}

LRESULT CWindowMenuDlg::OnDelete(WPARAM, LPARAM) {
  const auto node = SelectedNode();
  if (!node) return 0;
  const std::vector<uint32_t> path = SelectedPath();
  if (model_.Delete(*node) == MenuEditOutcome::Declined) return 0;
  Rebuild(path);
  return 0;
}

LRESULT CWindowMenuDlg::OnExecute(WPARAM, LPARAM) {
  const auto node = SelectedNode();
  if (!node) return 0;
  const std::vector<uint32_t> path = SelectedPath();
  if (model_.Execute(*node) == MenuEditOutcome::Stale) Rebuild(path);
  return 0;
}

}  // namespace qm
