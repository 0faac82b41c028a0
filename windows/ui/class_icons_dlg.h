#pragma once
// The large and the small icon registered with a window's class. The icons
// belong to the other window's class: shown here, never destroyed.

#include "framework/dialog.h"
#include "res/resource_ids.h"

namespace qm {

class CClassIconsDlg : public fw::CDialog {
 public:
  INT_PTR DoModal(HWND parent = nullptr) { return CDialog::DoModal(IDD_CLASS_ICONS, parent); }

  HICON m_hLargeIcon = nullptr;  // may be null: that box stays empty
  HICON m_hSmallIcon = nullptr;

 protected:
  BOOL OnInitDialog() override;
};

}  // namespace qm
