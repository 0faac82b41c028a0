#include "framework/control_text.h"

#include "platform/win32/win32_system.h"

namespace qm::fw {

std::string ControlText(HWND control) {
  const int length = ::GetWindowTextLengthW(control);
  if (length <= 0) return {};
  std::wstring buffer(static_cast<size_t>(length) + 1, L'\0');
  const int copied = ::GetWindowTextW(control, buffer.data(), length + 1);
  buffer.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
  return Narrow(buffer);
}

std::string DlgItemText(HWND dialog, int controlId) { return ControlText(::GetDlgItem(dialog, controlId)); }

}  // namespace qm::fw
