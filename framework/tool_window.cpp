#include "framework/tool_window.h"

#include "framework/automation_server.h"
#include "framework/wnd.h"

namespace qm::fw {

bool CToolWindow::Show() {
  if (!m_hWnd && !Create(templateId_)) return false;
  ::ShowWindow(m_hWnd, ::IsIconic(m_hWnd) ? SW_RESTORE : SW_SHOW);
  ::SetForegroundWindow(m_hWnd);
  return true;
}

void CToolWindow::BeginToolWindow() {
  ServerLifetime::Lock();
  const auto icon = static_cast<HICON>(
      ::LoadImageW(ResourceInstance(), MAKEINTRESOURCEW(iconId_), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
  if (icon) ::SendMessageW(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
}

void CToolWindow::EndToolWindow() { ServerLifetime::Unlock(); }

void CToolWindow::OnCancel() { ::DestroyWindow(m_hWnd); }

}  // namespace qm::fw
