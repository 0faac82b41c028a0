#pragma once
// The window manager as the portable core sees it: the queries and actions on
// other programs' windows, with the platform's own names. Handles and
// pointer-sized values are carried as 64-bit numbers so one core serves the
// 32-bit and the 64-bit build; 0 stands for NULL.
//
// The constants keep the platform's names and values. <windows.h> defines
// most of them as macros with the same values, so each is declared only when
// no such macro exists (write them unqualified: GWL_STYLE, never
// qm::GWL_STYLE).

#include <cstdint>
#include <functional>
#include <string>

#include "common/geometry.h"

namespace qm {

using WindowHandle = uint64_t;

// Window values (GetWindowLongPtr/SetWindowLongPtr).
#ifndef GWL_WNDPROC
constexpr int GWL_WNDPROC = -4;
#endif
#ifndef GWL_HINSTANCE
constexpr int GWL_HINSTANCE = -6;
#endif
#ifndef GWL_HWNDPARENT
constexpr int GWL_HWNDPARENT = -8;
#endif
#ifndef GWL_ID
constexpr int GWL_ID = -12;
#endif
#ifndef GWL_STYLE
constexpr int GWL_STYLE = -16;
#endif
#ifndef GWL_EXSTYLE
constexpr int GWL_EXSTYLE = -20;
#endif
#ifndef GWL_USERDATA
constexpr int GWL_USERDATA = -21;
#endif

// Class values (GetClassLongPtr).
#ifndef GCL_MENUNAME
constexpr int GCL_MENUNAME = -8;
#endif
#ifndef GCL_HBRBACKGROUND
constexpr int GCL_HBRBACKGROUND = -10;
#endif
#ifndef GCL_HCURSOR
constexpr int GCL_HCURSOR = -12;
#endif
#ifndef GCL_HICON
constexpr int GCL_HICON = -14;
#endif
#ifndef GCL_HMODULE
constexpr int GCL_HMODULE = -16;
#endif
#ifndef GCL_WNDPROC
constexpr int GCL_WNDPROC = -24;
#endif
#ifndef GCL_STYLE
constexpr int GCL_STYLE = -26;
#endif
#ifndef GCL_HICONSM
constexpr int GCL_HICONSM = -34;
#endif

// GetWindow relations.
#ifndef GW_HWNDFIRST
constexpr unsigned GW_HWNDFIRST = 0;
#endif
#ifndef GW_HWNDLAST
constexpr unsigned GW_HWNDLAST = 1;
#endif
#ifndef GW_HWNDNEXT
constexpr unsigned GW_HWNDNEXT = 2;
#endif
#ifndef GW_HWNDPREV
constexpr unsigned GW_HWNDPREV = 3;
#endif
#ifndef GW_OWNER
constexpr unsigned GW_OWNER = 4;
#endif
#ifndef GW_CHILD
constexpr unsigned GW_CHILD = 5;
#endif

// ShowWindow commands.
#ifndef SW_HIDE
constexpr int SW_HIDE = 0;
#endif
#ifndef SW_SHOWNORMAL
constexpr int SW_SHOWNORMAL = 1;
#endif
#ifndef SW_SHOWMINIMIZED
constexpr int SW_SHOWMINIMIZED = 2;
#endif
#ifndef SW_SHOWMAXIMIZED
constexpr int SW_SHOWMAXIMIZED = 3;
#endif
#ifndef SW_MAXIMIZE
constexpr int SW_MAXIMIZE = 3;
#endif
#ifndef SW_SHOWNOACTIVATE
constexpr int SW_SHOWNOACTIVATE = 4;
#endif
#ifndef SW_SHOW
constexpr int SW_SHOW = 5;
#endif
#ifndef SW_MINIMIZE
constexpr int SW_MINIMIZE = 6;
#endif
#ifndef SW_SHOWMINNOACTIVE
constexpr int SW_SHOWMINNOACTIVE = 7;
#endif
#ifndef SW_SHOWNA
constexpr int SW_SHOWNA = 8;
#endif
#ifndef SW_RESTORE
constexpr int SW_RESTORE = 9;
#endif

// Window styles.
#ifndef WS_OVERLAPPED
constexpr uint32_t WS_OVERLAPPED = 0x00000000u;
#endif
#ifndef WS_POPUP
constexpr uint32_t WS_POPUP = 0x80000000u;
#endif
#ifndef WS_CHILD
constexpr uint32_t WS_CHILD = 0x40000000u;
#endif
#ifndef WS_MINIMIZE
constexpr uint32_t WS_MINIMIZE = 0x20000000u;
#endif
#ifndef WS_VISIBLE
constexpr uint32_t WS_VISIBLE = 0x10000000u;
#endif
#ifndef WS_DISABLED
constexpr uint32_t WS_DISABLED = 0x08000000u;
#endif
#ifndef WS_MAXIMIZE
constexpr uint32_t WS_MAXIMIZE = 0x01000000u;
#endif
#ifndef WS_CAPTION
constexpr uint32_t WS_CAPTION = 0x00C00000u;
#endif
#ifndef WS_SYSMENU
constexpr uint32_t WS_SYSMENU = 0x00080000u;
#endif
#ifndef WS_THICKFRAME
constexpr uint32_t WS_THICKFRAME = 0x00040000u;
#endif
#ifndef WS_OVERLAPPEDWINDOW
constexpr uint32_t WS_OVERLAPPEDWINDOW = 0x00CF0000u;
#endif
#ifndef WS_EX_DLGMODALFRAME
constexpr uint32_t WS_EX_DLGMODALFRAME = 0x00000001u;
#endif
#ifndef WS_EX_TOPMOST
constexpr uint32_t WS_EX_TOPMOST = 0x00000008u;
#endif
#ifndef WS_EX_TOOLWINDOW
constexpr uint32_t WS_EX_TOOLWINDOW = 0x00000080u;
#endif
#ifndef WS_EX_CONTROLPARENT
constexpr uint32_t WS_EX_CONTROLPARENT = 0x00010000u;
#endif

// Messages posted to other windows.
#ifndef WM_CLOSE
constexpr uint32_t WM_CLOSE = 0x0010;
#endif
#ifndef WM_SYSCOMMAND
constexpr uint32_t WM_SYSCOMMAND = 0x0112;
#endif
#ifndef SC_CLOSE
constexpr uint32_t SC_CLOSE = 0xF060;
#endif

// Error codes the window and process calls leave behind.
#ifndef ERROR_ACCESS_DENIED
constexpr uint32_t ERROR_ACCESS_DENIED = 5;
#endif
#ifndef ERROR_NOT_ENOUGH_MEMORY
constexpr uint32_t ERROR_NOT_ENOUGH_MEMORY = 8;
#endif
#ifndef ERROR_NO_MORE_FILES
constexpr uint32_t ERROR_NO_MORE_FILES = 18;
#endif
#ifndef ERROR_INVALID_PARAMETER
constexpr uint32_t ERROR_INVALID_PARAMETER = 87;
#endif
#ifndef ERROR_INSUFFICIENT_BUFFER
constexpr uint32_t ERROR_INSUFFICIENT_BUFFER = 122;
#endif
#ifndef ERROR_MOD_NOT_FOUND
constexpr uint32_t ERROR_MOD_NOT_FOUND = 126;
#endif
#ifndef ERROR_PROC_NOT_FOUND
constexpr uint32_t ERROR_PROC_NOT_FOUND = 127;
#endif
#ifndef ERROR_PARTIAL_COPY
constexpr uint32_t ERROR_PARTIAL_COPY = 299;
#endif
#ifndef ERROR_INVALID_WINDOW_HANDLE
constexpr uint32_t ERROR_INVALID_WINDOW_HANDLE = 1400;
#endif

// The window manager. Calls on a handle that is not a window answer as the
// platform does (false, 0 or empty) and leave ERROR_INVALID_WINDOW_HANDLE as
// the last error.
class IWindowSystem {
 public:
  virtual ~IWindowSystem() = default;

  // State.
  virtual bool IsWindow(WindowHandle window) const = 0;
  virtual bool IsWindowEnabled(WindowHandle window) const = 0;
  // True only when the window and all its ancestors have WS_VISIBLE.
  virtual bool IsWindowVisible(WindowHandle window) const = 0;
  virtual bool IsIconic(WindowHandle window) const = 0;
  virtual bool IsZoomed(WindowHandle window) const = 0;

  // Names and text (UTF-8). The class name is read into a buffer of 256
  // characters. The title length counts UTF-16 units as the platform does;
  // GetWindowText returns at most maxCount - 1 of them.
  virtual std::string GetClassName(WindowHandle window) const = 0;
  virtual int GetWindowTextLength(WindowHandle window) const = 0;
  virtual std::string GetWindowText(WindowHandle window, int maxCount) const = 0;

  // Rectangles: the window's in screen coordinates, the client area's
  // relative to itself (left and top 0).
  virtual bool GetWindowRect(WindowHandle window, Rect& rect) const = 0;
  virtual bool GetClientRect(WindowHandle window, Rect& rect) const = 0;

  // Window and class values by GWL_* and GCL_* index. Values that are 32 bits
  // wide on every platform (styles, class style) come zero-extended; the
  // pointer-sized ones (procedures, instance, identifier, class handles) as
  // the platform holds them.
  virtual uint64_t GetWindowLongPtr(WindowHandle window, int index) const = 0;
  virtual uint64_t GetClassLongPtr(WindowHandle window, int index) const = 0;

  // Relations. GetParent answers as the platform does: the parent of a child
  // window, the owner of a pop-up window, 0 otherwise.
  virtual WindowHandle GetWindow(WindowHandle window, unsigned relation) const = 0;
  virtual WindowHandle GetParent(WindowHandle window) const = 0;
  // The first child of the window in Z order; the topmost top-level window
  // for 0.
  virtual WindowHandle GetTopWindow(WindowHandle window) const = 0;
  virtual uint64_t GetMenu(WindowHandle window) const = 0;
  // The thread that created the window (0 when it is not a window); the
  // process ID goes to processId when it is given.
  virtual uint32_t GetWindowThreadProcessId(WindowHandle window, uint32_t* processId) const = 0;

  // Every descendant of parent, depth first in Z order (each child followed
  // by its own descendants), until the callback returns false. False when the
  // enumeration failed, with the reason in GetLastError.
  virtual bool EnumChildWindows(WindowHandle parent, const std::function<bool(WindowHandle)>& callback) const = 0;

  // The pointer and what lies under it.
  virtual bool GetCursorPos(Point& point) const = 0;
  // The deepest visible, enabled window under the point (hidden and disabled
  // children are passed over); 0 when there is none.
  virtual WindowHandle WindowFromPoint(Point point) const = 0;

  // Actions on another program's window.
  // Returns whether the window was disabled before the call.
  virtual bool EnableWindow(WindowHandle window, bool enable) = 0;
  // Returns whether the window was visible before the call.
  virtual bool ShowWindow(WindowHandle window, int command) = 0;
  // rect null: the whole client area.
  virtual bool InvalidateRect(WindowHandle window, const Rect* rect, bool erase) = 0;
  virtual bool PostMessage(WindowHandle window, uint32_t message, uint64_t wParam, int64_t lParam) = 0;
  // Returns the previous value (0 on failure).
  virtual uint64_t SetWindowLongPtr(WindowHandle window, int index, uint64_t value) = 0;
  virtual bool SetWindowText(WindowHandle window, const std::string& text) = 0;
  virtual bool MoveWindow(WindowHandle window, int x, int y, int width, int height, bool repaint) = 0;

  // The error code of the last failed call on this thread.
  virtual uint32_t GetLastError() const = 0;
};

}  // namespace qm
