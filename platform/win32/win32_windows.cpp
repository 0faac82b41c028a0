#include "platform/win32/win32_windows.h"

#include <cstdint>

#include "platform/win32/win.h"
#include "platform/win32/win32_system.h"

namespace qm {

namespace {

// A handle that does not fit this build's pointers names no window here.
HWND ToHwnd(WindowHandle handle) {
  if (handle > UINTPTR_MAX) return nullptr;
  return reinterpret_cast<HWND>(static_cast<uintptr_t>(handle));
}

WindowHandle FromHwnd(HWND hwnd) { return static_cast<WindowHandle>(reinterpret_cast<uintptr_t>(hwnd)); }

uint64_t FromPointer(ULONG_PTR value) { return static_cast<uint64_t>(value); }

// Styles are 32-bit words on every platform; they are read as such so that a
// set high bit does not come back sign-extended in a 64-bit build.
bool Is32BitWindowValue(int index) { return index == GWL_STYLE || index == GWL_EXSTYLE; }

BOOL CALLBACK EnumChildTrampoline(HWND child, LPARAM context) {
  auto* callback = reinterpret_cast<const std::function<bool(WindowHandle)>*>(context);
  try {
    return (*callback)(FromHwnd(child)) ? TRUE : FALSE;
  } catch (...) {
    return FALSE;  // nothing may unwind through the system's enumeration
  }
}

}  // namespace

bool Win32Windows::IsWindow(WindowHandle window) const { return window && ::IsWindow(ToHwnd(window)); }
bool Win32Windows::IsWindowEnabled(WindowHandle window) const { return ::IsWindowEnabled(ToHwnd(window)); }
bool Win32Windows::IsWindowVisible(WindowHandle window) const { return ::IsWindowVisible(ToHwnd(window)); }
bool Win32Windows::IsIconic(WindowHandle window) const { return ::IsIconic(ToHwnd(window)); }
bool Win32Windows::IsZoomed(WindowHandle window) const { return ::IsZoomed(ToHwnd(window)); }

std::string Win32Windows::GetClassName(WindowHandle window) const {
  wchar_t buffer[256] = {};
  const int n = ::GetClassNameW(ToHwnd(window), buffer, 256);
  return n > 0 ? Narrow(std::wstring(buffer, static_cast<size_t>(n))) : std::string();
}

int Win32Windows::GetWindowTextLength(WindowHandle window) const { return ::GetWindowTextLengthW(ToHwnd(window)); }

std::string Win32Windows::GetWindowText(WindowHandle window, int maxCount) const {
  if (maxCount <= 0) return {};
  std::wstring buffer(static_cast<size_t>(maxCount), L'\0');
  const int n = ::GetWindowTextW(ToHwnd(window), buffer.data(), maxCount);
  buffer.resize(n > 0 && n < maxCount ? static_cast<size_t>(n) : 0);
  return Narrow(buffer);
}

bool Win32Windows::GetWindowRect(WindowHandle window, Rect& rect) const {
  RECT r{};
  if (!::GetWindowRect(ToHwnd(window), &r)) return false;
  rect = Rect{r.left, r.top, r.right, r.bottom};
  return true;
}

bool Win32Windows::GetClientRect(WindowHandle window, Rect& rect) const {
  RECT r{};
  if (!::GetClientRect(ToHwnd(window), &r)) return false;
  rect = Rect{r.left, r.top, r.right, r.bottom};
  return true;
}

uint64_t Win32Windows::GetWindowLongPtr(WindowHandle window, int index) const {
  if (Is32BitWindowValue(index)) return static_cast<uint32_t>(::GetWindowLongW(ToHwnd(window), index));
  return FromPointer(static_cast<ULONG_PTR>(::GetWindowLongPtrW(ToHwnd(window), index)));
}

uint64_t Win32Windows::GetClassLongPtr(WindowHandle window, int index) const {
  if (index == GCL_STYLE) return ::GetClassLongW(ToHwnd(window), index);
  return FromPointer(::GetClassLongPtrW(ToHwnd(window), index));
}

WindowHandle Win32Windows::GetWindow(WindowHandle window, unsigned relation) const {
  return FromHwnd(::GetWindow(ToHwnd(window), relation));
}

WindowHandle Win32Windows::GetParent(WindowHandle window) const { return FromHwnd(::GetParent(ToHwnd(window))); }

WindowHandle Win32Windows::GetTopWindow(WindowHandle window) const { return FromHwnd(::GetTopWindow(ToHwnd(window))); }

uint64_t Win32Windows::GetMenu(WindowHandle window) const {
  return static_cast<uint64_t>(reinterpret_cast<uintptr_t>(::GetMenu(ToHwnd(window))));
}

uint32_t Win32Windows::GetWindowThreadProcessId(WindowHandle window, uint32_t* processId) const {
  DWORD pid = 0;
  const DWORD thread = ::GetWindowThreadProcessId(ToHwnd(window), &pid);
  if (processId && thread) *processId = pid;
  return thread;
}

bool Win32Windows::EnumChildWindows(WindowHandle parent, const std::function<bool(WindowHandle)>& callback) const {
  // The platform's result is not a failure report by itself (it is FALSE
  // for a window without children, or when the callback stops the walk);
  // only a FALSE with an error set is one.
  ::SetLastError(0);
  const BOOL ok = ::EnumChildWindows(ToHwnd(parent), EnumChildTrampoline, reinterpret_cast<LPARAM>(&callback));
  return ok || ::GetLastError() == 0;
}

bool Win32Windows::GetCursorPos(Point& point) const {
  POINT p{};
  if (!::GetCursorPos(&p)) return false;
  point = Point{p.x, p.y};
  return true;
}

WindowHandle Win32Windows::WindowFromPoint(Point point) const {
  return FromHwnd(::WindowFromPoint(POINT{point.x, point.y}));
}

bool Win32Windows::EnableWindow(WindowHandle window, bool enable) {
  return ::EnableWindow(ToHwnd(window), enable ? TRUE : FALSE);
}

bool Win32Windows::ShowWindow(WindowHandle window, int command) { return ::ShowWindow(ToHwnd(window), command); }

bool Win32Windows::InvalidateRect(WindowHandle window, const Rect* rect, bool erase) {
  RECT r{};
  if (rect) r = RECT{rect->left, rect->top, rect->right, rect->bottom};
  return ::InvalidateRect(ToHwnd(window), rect ? &r : nullptr, erase ? TRUE : FALSE);
}

bool Win32Windows::PostMessage(WindowHandle window, uint32_t message, uint64_t wParam, int64_t lParam) {
  return ::PostMessageW(ToHwnd(window), message, static_cast<WPARAM>(wParam), static_cast<LPARAM>(lParam));
}

uint64_t Win32Windows::SetWindowLongPtr(WindowHandle window, int index, uint64_t value) {
  if (Is32BitWindowValue(index))
    return static_cast<uint32_t>(
        ::SetWindowLongW(ToHwnd(window), index, static_cast<LONG>(static_cast<uint32_t>(value))));
  return FromPointer(static_cast<ULONG_PTR>(
      ::SetWindowLongPtrW(ToHwnd(window), index, static_cast<LONG_PTR>(static_cast<ULONG_PTR>(value)))));
}

bool Win32Windows::SetWindowText(WindowHandle window, const std::string& text) {
  return ::SetWindowTextW(ToHwnd(window), Widen(text).c_str());
}

bool Win32Windows::MoveWindow(WindowHandle window, int x, int y, int width, int height, bool repaint) {
  return ::MoveWindow(ToHwnd(window), x, y, width, height, repaint ? TRUE : FALSE);
}

uint32_t Win32Windows::GetLastError() const { return ::GetLastError(); }

}  // namespace qm
