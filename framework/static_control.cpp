#include "framework/static_control.h"

#include "framework/control_text.h"
#include "platform/win32/win32_system.h"

namespace qm::fw {

bool CStatic::SetWindowText(const std::string& text) { return ::SetWindowTextW(m_hWnd, Widen(text).c_str()) != FALSE; }

std::string CStatic::GetWindowText() const { return ControlText(m_hWnd); }

HICON CStatic::SetIcon(HICON icon) {
  return reinterpret_cast<HICON>(::SendMessageW(m_hWnd, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0));
}

HICON CStatic::GetIcon() const { return reinterpret_cast<HICON>(::SendMessageW(m_hWnd, STM_GETICON, 0, 0)); }

}  // namespace qm::fw
