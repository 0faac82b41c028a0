#pragma once
// "Buscar ventana": the user asks by handle, title, class or process ID.
// One window found ends the dialog with it for capture; several are listed
// to pick one from; none, or a handle or PID that is not one, is told in a
// message box and the dialog stays for another try.

#include <vector>

#include "common/ui/list_ctrl_helper.h"
#include "framework/dialog.h"
#include "platform/platform.h"
#include "res/resource_ids.h"
#include "windows/find_window.h"

namespace qm {

class CFindWindowDlg : public fw::WithMessageTable<CFindWindowDlg, fw::CDialog> {
 public:
  // The class's own messages, answered before the base class's.
  static fw::MessageTable<CFindWindowDlg> Messages();
  // images: the program's shared small icons, not owned.
  CFindWindowDlg(Platform& platform, HIMAGELIST images) : platform_(platform), images_(images) {}
  INT_PTR DoModal(HWND parent = nullptr) { return CDialog::DoModal(IDD_FIND_WINDOW, parent); }

  // The window picked for capture after IDOK.
  WindowHandle m_hResult = 0;
  // The last search, kept for the next run.
  FindWindowRequest m_request;

 protected:
  BOOL OnInitDialog() override;
  // Enter: from the list, the selected window is picked; anywhere else the
  // search runs.
  void OnOK() override;

 private:
  void Search();
  void ReadRequest();
  void ShowMatches(const std::vector<FoundWindow>& matches);
  void Pick(WindowHandle window);
  void UpdateControls();
  WindowHandle Selected() const;
  LRESULT OnKindClicked(WPARAM, LPARAM);
  LRESULT OnCapture(WPARAM, LPARAM);
  LRESULT OnDoubleClick(NMITEMACTIVATE&);
  LRESULT OnItemChanged(NMLISTVIEW&);

  Platform& platform_;
  HIMAGELIST images_;
  CListCtrlHelper helper_;
};

}  // namespace qm
