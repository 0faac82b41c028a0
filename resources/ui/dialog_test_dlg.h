#pragma once
// Runs one of a module's dialogs live: the dialog becomes a child placed
// where the placeholder is, and the window is sized around it so the user
// can click, type and tab through its controls.

#include <memory>

#include "framework/dialog.h"
#include "platform/platform.h"
#include "res/resource_ids.h"
#include "resources/resource_module.h"
#include "resources/ui/template_dialog.h"

namespace qm {

class CDialogTestDlg : public fw::CDialog {
 public:
  explicit CDialogTestDlg(Platform& platform) : platform_(platform) {}
  INT_PTR DoModal(HWND parent = nullptr) { return CDialog::DoModal(IDD_DIALOG_TEST, parent); }
  bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

  // Set before DoModal; the module must outlive the dialog.
  const CResourceModule* m_pModule = nullptr;
  ResourceName m_dialogName;

  // The live dialog, null when none was created.
  HWND Child() const { return child_ ? child_->m_hWnd : nullptr; }

 protected:
  BOOL OnInitDialog() override;

 private:
  LRESULT OnDestroy(WPARAM, LPARAM);
  void PlaceChild();

  Platform& platform_;
  std::unique_ptr<CTemplateDialog> child_;
};

}  // namespace qm
