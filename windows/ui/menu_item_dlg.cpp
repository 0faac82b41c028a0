#include "windows/ui/menu_item_dlg.h"

#include "framework/control_text.h"
#include "platform/win32/win32_system.h"
#include "windows/menu_item_edit.h"

namespace qm {

namespace {
void SetCheck(HWND dialog, int id, bool checked) {
  ::CheckDlgButton(dialog, id, checked ? BST_CHECKED : BST_UNCHECKED);
}
bool IsChecked(HWND dialog, int id) { return ::IsDlgButtonChecked(dialog, id) == BST_CHECKED; }
}  // namespace

BOOL CMenuItemDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  const MenuItemView view = ViewOfMenuItem(m_item);
  ::SetDlgItemTextW(m_hWnd, IDC_MENU_ITEM_ID, Widen(view.idText).c_str());
  ::SetDlgItemTextW(m_hWnd, IDC_MENU_ITEM_TITLE, Widen(view.title).c_str());
  SetCheck(m_hWnd, IDC_MENU_ITEM_SEPARATOR, view.separator);
  SetCheck(m_hWnd, IDC_MENU_ITEM_POPUP, view.popup);
  SetCheck(m_hWnd, IDC_MENU_ITEM_INACTIVE, view.inactive);
  SetCheck(m_hWnd, IDC_MENU_ITEM_CHECKED, view.checked);
  SetCheck(m_hWnd, IDC_MENU_ITEM_GRAYED, view.grayed);
  EnableDlgItem(IDC_MENU_ITEM_SEPARATOR, false);
  EnableDlgItem(IDC_MENU_ITEM_POPUP, false);
  EnableDlgItem(IDC_MENU_ITEM_ID, view.idEnabled);
  EnableDlgItem(IDC_MENU_ITEM_TITLE, view.titleEnabled);
  for (int id : {IDC_MENU_ITEM_INACTIVE, IDC_MENU_ITEM_CHECKED, IDC_MENU_ITEM_GRAYED})
    EnableDlgItem(id, view.statesEnabled);
  ::SendDlgItemMessageW(m_hWnd, IDC_MENU_ITEM_TITLE, EM_LIMITTEXT, 255, 0);
  return TRUE;
}

void CMenuItemDlg::OnOK() {
  MenuItemView view = ViewOfMenuItem(m_item);
  view.idText = fw::DlgItemText(m_hWnd, IDC_MENU_ITEM_ID);
  view.title = fw::DlgItemText(m_hWnd, IDC_MENU_ITEM_TITLE);
  view.inactive = IsChecked(m_hWnd, IDC_MENU_ITEM_INACTIVE);
  view.checked = IsChecked(m_hWnd, IDC_MENU_ITEM_CHECKED);
  view.grayed = IsChecked(m_hWnd, IDC_MENU_ITEM_GRAYED);
  m_item = ApplyMenuItemView(m_item, view);
  EndDialog(IDOK);
}

}  // namespace qm
