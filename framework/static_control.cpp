#include "framework/static_control.h"

#include "platform/win32/win32_system.h"

namespace qm::fw {

bool CStatic::SetWindowText(const std::string& text) { return ::SetWindowTextW(m_hWnd, Widen(text).c_str()) != FALSE; }

std::string CStatic::GetWindowText() const {
  const int length = ::GetWindowTextLengthW(m_hWnd);
  if (length <= 0) return {};
  std::wstring buffer(static_cast<size_t>(length) + 1, L'\0');
  const int copied = ::GetWindowTextW(m_hWnd, buffer.data(), length + 1);
  buffer.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
  return Narrow(buffer);
}

HICON CStatic::SetIcon(HICON icon) {
  return reinterpret_cast<HICON>(::SendMessageW(m_hWnd, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0));
}

HICON CStatic::GetIcon() const { return reinterpret_cast<HICON>(::SendMessageW(m_hWnd, STM_GETICON, 0, 0)); }

}  // namespace qm::fw
