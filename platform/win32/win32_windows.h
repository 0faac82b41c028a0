#pragma once
// The real window manager behind platform/windows.h: wide calls, text
// converted to and from UTF-8 here.

#include "platform/windows.h"

namespace qm {

class Win32Windows : public IWindowSystem {
 public:
  bool IsWindow(WindowHandle window) const override;
  bool IsWindowEnabled(WindowHandle window) const override;
  bool IsWindowVisible(WindowHandle window) const override;
  bool IsIconic(WindowHandle window) const override;
  bool IsZoomed(WindowHandle window) const override;
  std::string GetClassName(WindowHandle window) const override;
  int GetWindowTextLength(WindowHandle window) const override;
  std::string GetWindowText(WindowHandle window, int maxCount) const override;
  bool GetWindowRect(WindowHandle window, Rect& rect) const override;
  bool GetClientRect(WindowHandle window, Rect& rect) const override;
  uint64_t GetWindowLongPtr(WindowHandle window, int index) const override;
  uint64_t GetClassLongPtr(WindowHandle window, int index) const override;
  WindowHandle GetWindow(WindowHandle window, unsigned relation) const override;
  WindowHandle GetParent(WindowHandle window) const override;
  WindowHandle GetTopWindow(WindowHandle window) const override;
  uint64_t GetMenu(WindowHandle window) const override;
  uint32_t GetWindowThreadProcessId(WindowHandle window, uint32_t* processId) const override;
  bool EnumChildWindows(WindowHandle parent, const std::function<bool(WindowHandle)>& callback) const override;
  bool GetCursorPos(Point& point) const override;
  WindowHandle WindowFromPoint(Point point) const override;
  bool EnableWindow(WindowHandle window, bool enable) override;
  bool ShowWindow(WindowHandle window, int command) override;
  bool InvalidateRect(WindowHandle window, const Rect* rect, bool erase) override;
  bool PostMessage(WindowHandle window, uint32_t message, uint64_t wParam, int64_t lParam) override;
  uint64_t SetWindowLongPtr(WindowHandle window, int index, uint64_t value) override;
  bool SetWindowText(WindowHandle window, const std::string& text) override;
  bool MoveWindow(WindowHandle window, int x, int y, int width, int height, bool repaint) override;
  uint32_t GetLastError() const override;
};

}  // namespace qm
