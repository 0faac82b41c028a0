#pragma once
// The simulated desktop's windows: class, title, styles, rectangles,
// parent, owner, Z order, menu, class data, owning process and thread. It
// answers the platform's way, error codes included, fails any call a test
// asks it to, and records every action done on it.

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/sim/sim_calls.h"
#include "platform/windows.h"

namespace qm {

// The data of a window class.
struct SimClass {
  std::string name = "SimWindow";
  uint32_t style = 0;
  uint64_t cursor = 0;
  uint64_t background = 0;
  uint64_t icon = 0;
  uint64_t smallIcon = 0;
  uint64_t menuName = 0;
  uint64_t wndProc = 0;
  uint64_t module = 0;
};

// What a test gives to create a window. Visible, disabled, minimized and
// maximized are the WS_ bits of style, as on the platform.
struct SimWindowDesc {
  WindowHandle handle = 0;  // 0: the desktop picks the next one
  SimClass windowClass;
  std::string title;
  uint32_t style = WS_VISIBLE;
  uint32_t exStyle = 0;
  Rect window;              // screen coordinates
  Rect client;              // relative to itself; empty: the window's size
  WindowHandle parent = 0;  // for WS_CHILD windows
  WindowHandle owner = 0;   // for top-level windows
  uint64_t menu = 0;
  uint64_t wndProc = 0;  // 0: the class's
  uint64_t hInstance = 0;
  uint64_t id = 0;
  uint32_t processId = 0;
  uint32_t threadId = 0;
};

class SimWindows : public IWindowSystem {
 public:
  explicit SimWindows(SimCallLog& log) : log_(log) {}

  // ---- building the desktop ----
  WindowHandle AddWindow(const SimWindowDesc& desc);
  // Destroys the window, its descendants and the windows it owns.
  void DestroyWindow(WindowHandle window);
  // Destroys the top-level windows of a process that ended.
  void DestroyWindowsOfProcess(uint32_t processId);
  // Moves the window to the top of its siblings' Z order.
  void BringToTop(WindowHandle window);
  void SetCursor(Point point) { cursor_ = point; }

  // ---- IWindowSystem ----
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
  uint32_t GetLastError() const override { return log_.lastError; }

 private:
  struct Window {
    SimWindowDesc desc;
    std::vector<WindowHandle> children;  // Z order, top first
  };

  // The live window, or null with ERROR_INVALID_WINDOW_HANDLE.
  const Window* Find(WindowHandle window) const;
  // The atom of a class name (GetClassLongPtr with GCW_ATOM).
  uint64_t ClassAtom(const std::string& name) const;
  mutable std::map<std::string, uint64_t> atoms_;
  Window* Find(WindowHandle window);
  const std::vector<WindowHandle>& Siblings(const Window& window) const;
  std::vector<WindowHandle>& Siblings(const Window& window);
  void Enumerate(const std::vector<WindowHandle>& level, const std::function<bool(WindowHandle)>& callback,
                 bool& stopped) const;
  WindowHandle ChildFromPoint(const std::vector<WindowHandle>& level, Point point) const;

  SimCallLog& log_;
  std::map<WindowHandle, Window> windows_;
  std::vector<WindowHandle> topLevel_;  // Z order, top first
  WindowHandle nextHandle_ = 0x00010010;
  Point cursor_;
};

}  // namespace qm
