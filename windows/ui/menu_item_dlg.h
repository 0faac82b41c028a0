#pragma once
// One menu item's ID, title and state boxes. The caller hands the item in
// and reads the edited item back after IDOK; the arithmetic of the boxes is
// the portable MenuItemView's.

#include "framework/dialog.h"
#include "platform/menus.h"
#include "res/resource_ids.h"

namespace qm {

class CMenuItemDlg : public fw::CDialog {
 public:
  INT_PTR DoModal(HWND parent = nullptr) { return CDialog::DoModal(IDD_MENU_ITEM, parent); }

  MenuItemInfo m_item;  // in before the run, the edited item after IDOK

 protected:
  BOOL OnInitDialog() override;
  void OnOK() override;
};

}  // namespace qm
