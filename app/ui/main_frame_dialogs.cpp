// The main frame's commands that open dialogs: what each hands in, what it
// does with the result, and whether the frame hides and the property
// refresh stops while the dialog runs.

#include "app/ui/main_frame.h"
#include "res/resource_ids.h"
#include "windows/ui/class_icons_dlg.h"

namespace qm {

CMainFrame::ModalScope::ModalScope(CMainFrame& frame, bool hideMain, bool stopTimer)
    : frame_(frame), hideMain_(hideMain), stopTimer_(stopTimer) {
  if (stopTimer_) ::KillTimer(frame_.m_hWnd, IDT_AUTO_REFRESH);
  if (hideMain_ && ::IsWindow(frame_.m_hWnd)) ::ShowWindow(frame_.m_hWnd, SW_SHOWMINNOACTIVE);
}

CMainFrame::ModalScope::~ModalScope() {
  if (hideMain_ && ::IsWindow(frame_.m_hWnd)) ::ShowWindow(frame_.m_hWnd, SW_RESTORE);
  if (stopTimer_) frame_.StartAutoRefresh();
}

// The class's icons are read when the command runs; the refresh goes on.
void CMainFrame::OnClassIcons() {
  const WindowHandle window = Captured();
  CClassIconsDlg dialog;
  dialog.m_hLargeIcon = reinterpret_cast<HICON>(platform_.windows->GetClassLongPtr(window, GCL_HICON));
  dialog.m_hSmallIcon = reinterpret_cast<HICON>(platform_.windows->GetClassLongPtr(window, GCL_HICONSM));
  dialog.DoModal(m_hWnd);
}

}  // namespace qm
