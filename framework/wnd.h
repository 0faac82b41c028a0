#pragma once
// The window base class: binds a C++ object to its window handle, decodes
// messages through the class's message table and reflects control
// notifications to the control's own wrapper first.
//
// Ownership: a CWnd that created its window destroys it in its destructor;
// one that only attached to a handle (controls of a dialog, a foreign
// window) never does.

#include <string>
#include <string_view>

#include "framework/message_table.h"

namespace qm::fw {

// The module whose resources (menus, icons, toolbars, accelerators) the
// framework loads: the executable unless set (the win tests point it at
// the program's resources).
HINSTANCE ResourceInstance();
// Whether className is a window class this program registers (a template
// from another module must not create windows of it).
bool IsFrameworkClass(std::wstring_view className);
void SetResourceInstance(HINSTANCE instance);
// The icon resource the framework's window class carries, large and small:
// what a class icon reader finds on the program's windows. The frame sets
// it to its own before it is created, which registers the class.
void SetProgramIcon(UINT iconId);

class CWnd {
 public:
  CWnd() = default;
  CWnd(const CWnd&) = delete;
  CWnd& operator=(const CWnd&) = delete;
  virtual ~CWnd();

  HWND m_hWnd = nullptr;
  HWND GetSafeHwnd() const { return m_hWnd; }

  // The wrapper bound to a handle, or null.
  static CWnd* FromHandle(HWND window);

  // Creates a window of the framework's own class (className null) or of a
  // system class, bound to this object from WM_NCCREATE on.
  bool CreateEx(DWORD exStyle, const wchar_t* className, const std::wstring& title, DWORD style, const RECT& rect,
                HWND parent, UINT_PTR menuOrId);
  // Binds to an existing window without subclassing it: the wrapper then
  // receives the notifications its parent reflects.
  void Attach(HWND window);
  HWND Detach();
  void DestroyWindow();

  LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return ::SendMessageW(m_hWnd, message, wParam, lParam);
  }
  bool PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return ::PostMessageW(m_hWnd, message, wParam, lParam) != FALSE;
  }

  // The class's message table, chained to the base's; true when handled.
  virtual bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

 protected:
  virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  // After the window is gone (WM_NCDESTROY).
  virtual void PostNcDestroy() {}
  // Hands WM_COMMAND and WM_NOTIFY to the sending control's own wrapper
  // first; true when it handled them.
  bool Reflect(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
  void Bind(HWND window);
  void Unbind();

  bool ownsWindow_ = false;
};

}  // namespace qm::fw
