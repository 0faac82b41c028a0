#include "framework/wnd.h"

namespace qm::fw {
namespace {

constexpr wchar_t kWrapperProperty[] = L"Quillmar.CWnd";
constexpr wchar_t kFrameworkClass[] = L"QuillmarFrameworkWnd";

HINSTANCE g_resourceInstance = nullptr;

}  // namespace

HINSTANCE ResourceInstance() { return g_resourceInstance ? g_resourceInstance : ::GetModuleHandleW(nullptr); }
void SetResourceInstance(HINSTANCE instance) { g_resourceInstance = instance; }

CWnd::~CWnd() {
  if (m_hWnd && ownsWindow_) {
    ::DestroyWindow(m_hWnd);
  }
  if (m_hWnd) Unbind();
}

CWnd* CWnd::FromHandle(HWND window) {
  return window ? static_cast<CWnd*>(::GetPropW(window, kWrapperProperty)) : nullptr;
}

void CWnd::Bind(HWND window) {
  m_hWnd = window;
  ::SetPropW(window, kWrapperProperty, this);
}

void CWnd::Unbind() {
  if (m_hWnd && ::IsWindow(m_hWnd)) ::RemovePropW(m_hWnd, kWrapperProperty);
  m_hWnd = nullptr;
  ownsWindow_ = false;
}

void CWnd::Attach(HWND window) {
  Bind(window);
  ownsWindow_ = false;
}

HWND CWnd::Detach() {
  HWND window = m_hWnd;
  Unbind();
  return window;
}

void CWnd::DestroyWindow() {
  if (m_hWnd) ::DestroyWindow(m_hWnd);
}

bool CWnd::CreateEx(DWORD exStyle, const wchar_t* className, const std::wstring& title, DWORD style, const RECT& rect,
                    HWND parent, UINT_PTR menuOrId) {
  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  if (!className) {
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (!::GetClassInfoExW(instance, kFrameworkClass, &existing)) {
      WNDCLASSEXW wc{};
      wc.cbSize = sizeof wc;
      wc.style = CS_DBLCLKS;
      wc.lpfnWndProc = &CWnd::WindowProc;
      wc.hInstance = instance;
      wc.hCursor = ::LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
      wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
      wc.lpszClassName = kFrameworkClass;
      if (!::RegisterClassExW(&wc)) return false;
    }
    className = kFrameworkClass;
  }
  HWND window = ::CreateWindowExW(exStyle, className, title.c_str(), style, rect.left, rect.top, rect.right - rect.left,
                                  rect.bottom - rect.top, parent, reinterpret_cast<HMENU>(menuOrId), instance, this);
  if (!window) return false;
  // System classes never see our WM_NCCREATE binding.
  if (!m_hWnd) Bind(window);
  ownsWindow_ = true;
  return true;
}

bool CWnd::OnWndMsg(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

bool CWnd::Reflect(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  HWND control = nullptr;
  if (message == WM_COMMAND && lParam != 0) {
    control = reinterpret_cast<HWND>(lParam);
  } else if (message == WM_NOTIFY && lParam != 0) {
    control = reinterpret_cast<const NMHDR*>(lParam)->hwndFrom;
  }
  CWnd* child = FromHandle(control);
  if (!child || child == this) return false;
  return child->OnWndMsg(Reflected(message), wParam, lParam, result);
}

LRESULT CWnd::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (Reflect(message, wParam, lParam, result)) return result;
  if (OnWndMsg(message, wParam, lParam, result)) return result;
  return DefWindowProc(message, wParam, lParam);
}

LRESULT CALLBACK CWnd::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  CWnd* self = FromHandle(window);
  if (!self && message == WM_NCCREATE) {
    self = static_cast<CWnd*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    if (self) self->Bind(window);
  }
  if (!self) return ::DefWindowProcW(window, message, wParam, lParam);

  LRESULT result = 0;
  // No exception may cross into the window manager's frames.
  try {
    result = self->Dispatch(message, wParam, lParam);
  } catch (...) {
    result = ::DefWindowProcW(window, message, wParam, lParam);
  }
  if (message == WM_NCDESTROY) {
    self->Unbind();
    self->PostNcDestroy();
  }
  return result;
}

}  // namespace qm::fw
