#include "app/ui/frame_tool_launcher.h"

#include "processes/ui/process_info_dlg.h"
#include "res/string_ids.h"
#include "windows/ui/child_windows_dlg.h"

namespace qm {

std::optional<WindowHandle> CFrameToolLauncher::PickWindowOfProcess(HWND owner, uint32_t processId) {
  CChildWindowsDlg children(platform_, images_);
  children.m_pTools = this;
  if (!children.SetRootsFromProcess(processId)) {
    platform_.messageBox->MessageBox(platform_.strings->LoadString(IDS_PROCESS_HAS_NO_WINDOW), MB_ICONEXCLAMATION_);
    return std::nullopt;
  }
  if (children.DoModal(owner) != IDOK) return WindowHandle{0};
  return children.m_hResult;
}

void CFrameToolLauncher::ShowProcessOfWindow(HWND owner, WindowHandle window, int initialTab) {
  CProcessInfoDlg info(platform_, images_);
  info.m_nInitialTab = initialTab;
  info.SetProcessWindow(window);
  info.DoModal(owner);
}

void CFrameToolLauncher::ShowMessageLog(WindowHandle window) {
  if (openMessageLog_) openMessageLog_(window);
}

void CFrameToolLauncher::HighlightWindow(WindowHandle window) {
  if (highlightWindow_) highlightWindow_(window);
}

}  // namespace qm
