#pragma once
// Typed access to a static control. Non-owning: the control belongs to its
// parent, and the icon shown stays with whoever loaded it.

#include <string>

#include "platform/win32/win.h"

namespace qm::fw {

class CStatic {
 public:
  explicit CStatic(HWND window = nullptr) : m_hWnd(window) {}
  HWND m_hWnd;

  bool SetWindowText(const std::string& text);
  std::string GetWindowText() const;
  // Needs SS_ICON; the previous icon.
  HICON SetIcon(HICON icon);
  HICON GetIcon() const;
};

}  // namespace qm::fw
