// "Buscar ventana...": the window found (or picked among several) is
// captured as a drop on it would be.

#include "app/ui/main_frame.h"
#include "windows/ui/find_window_dlg.h"

namespace qm {

void CMainFrame::OnFindWindow() {
  CFindWindowDlg dialog(platform_, m_hImageList);
  dialog.m_request = lastFindRequest_;
  bool accepted = false;
  {
    ModalScope scope(*this, /*hideMain=*/false, /*stopTimer=*/true);
    accepted = dialog.DoModal(m_hWnd) == IDOK;
  }
  lastFindRequest_ = dialog.m_request;
  if (accepted && dialog.m_hResult != 0) CaptureWindow(dialog.m_hResult);
}

}  // namespace qm
