#include "framework/wnd.h"

#include <mutex>
#include <new>
#include <unordered_map>

namespace qm::fw {
namespace {

constexpr wchar_t kWrapperProperty[] = L"Quillmar.CWnd";
constexpr wchar_t kFrameworkClass[] = L"QuillmarFrameworkWnd";

HINSTANCE g_resourceInstance = nullptr;
UINT g_programIcon = 0;

// The wrapper whose window CreateEx is creating on this thread. Only that
// window binds at WM_NCCREATE: a foreign dialog template can name our class
// and hand any creation data to CreateWindowEx, which must never be taken
// for one of our objects.
thread_local CWnd* t_creating = nullptr;

// The wrapper of each bound window. Every message a wrapper's window gets
// looks it up (a notification twice: the parent and the control), and a
// window property is a round trip to the window server under Wine; the
// property stays as well, for the window's own record.
struct Wrappers {
  std::mutex lock;
  std::unordered_map<HWND, CWnd*> of;
};
// Never destroyed: a wrapper may still unbind while the program's static
// objects go.
Wrappers& BoundWrappers() {
  alignas(Wrappers) static unsigned char storage[sizeof(Wrappers)];
  static Wrappers* const wrappers = ::new (static_cast<void*>(storage)) Wrappers;
  return *wrappers;
}

}  // namespace

bool IsFrameworkClass(std::wstring_view className) {
  const std::wstring_view own = kFrameworkClass;
  if (className.size() != own.size()) return false;
  // Class names match without regard to case, as the platform finds them.
  const auto lower = [](wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c; };
  for (size_t i = 0; i < own.size(); ++i) {
    if (lower(className[i]) != lower(own[i])) return false;
  }
  return true;
}

HINSTANCE ResourceInstance() { return g_resourceInstance ? g_resourceInstance : ::GetModuleHandleW(nullptr); }
void SetResourceInstance(HINSTANCE instance) { g_resourceInstance = instance; }
void SetProgramIcon(UINT iconId) { g_programIcon = iconId; }

CWnd::~CWnd() {
  if (m_hWnd && ownsWindow_) {
    ::DestroyWindow(m_hWnd);
  }
  if (m_hWnd) Unbind();
}

CWnd* CWnd::FromHandle(HWND window) {
  if (!window) return nullptr;
  Wrappers& wrappers = BoundWrappers();
  const std::lock_guard<std::mutex> hold(wrappers.lock);
  const auto found = wrappers.of.find(window);
  return found == wrappers.of.end() ? nullptr : found->second;
}

void CWnd::Bind(HWND window) {
  m_hWnd = window;
  ::SetPropW(window, kWrapperProperty, this);
  Wrappers& wrappers = BoundWrappers();
  const std::lock_guard<std::mutex> hold(wrappers.lock);
  wrappers.of[window] = this;
}

void CWnd::Unbind() {
  if (m_hWnd) {
    Wrappers& wrappers = BoundWrappers();
    const std::lock_guard<std::mutex> hold(wrappers.lock);
    wrappers.of.erase(m_hWnd);
  }
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
      // The program's icon, large and small, on the class as well as on
      // the frame: what a class icon reader finds on our own windows.
      HINSTANCE resources = ResourceInstance();
      wc.hIcon = static_cast<HICON>(
          ::LoadImageW(resources, MAKEINTRESOURCEW(g_programIcon), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
      wc.hIconSm =
          static_cast<HICON>(::LoadImageW(resources, MAKEINTRESOURCEW(g_programIcon), IMAGE_ICON,
                                          ::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON), LR_SHARED));
      wc.lpszClassName = kFrameworkClass;
      if (!::RegisterClassExW(&wc)) return false;
    }
    className = kFrameworkClass;
  }
  CWnd* const outer = t_creating;
  t_creating = this;
  HWND window = ::CreateWindowExW(exStyle, className, title.c_str(), style, rect.left, rect.top, rect.right - rect.left,
                                  rect.bottom - rect.top, parent, reinterpret_cast<HMENU>(menuOrId), instance, this);
  t_creating = outer;
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

namespace {

// The control a message comes from, when it is one of parent's own children.
HWND ReflectionSource(HWND parent, UINT message, WPARAM wParam, LPARAM lParam) {
  if (lParam == 0 && message != WM_DRAWITEM && message != WM_MEASUREITEM) return nullptr;
  HWND control = nullptr;
  switch (message) {
    case WM_COMMAND:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
      control = reinterpret_cast<HWND>(lParam);
      break;
    case WM_NOTIFY:
      control = reinterpret_cast<const NMHDR*>(lParam)->hwndFrom;
      break;
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      // Menus draw through the same message; they are not controls.
      if (item && item->CtlType != ODT_MENU) control = item->hwndItem;
      break;
    }
    case WM_MEASUREITEM: {
      const auto* item = reinterpret_cast<const MEASUREITEMSTRUCT*>(lParam);
      // The control may not exist yet: it is found by its ID.
      if (item && item->CtlType != ODT_MENU && wParam != 0) control = ::GetDlgItem(parent, static_cast<int>(wParam));
      break;
    }
    case WM_COMPAREITEM:
      control = reinterpret_cast<const COMPAREITEMSTRUCT*>(lParam)->hwndItem;
      break;
    case WM_DELETEITEM:
      control = reinterpret_cast<const DELETEITEMSTRUCT*>(lParam)->hwndItem;
      break;
    default:
      break;
  }
  // Only a direct child's messages go back to it: a grandchild's wrapper
  // belongs to its own parent, and a foreign window could otherwise pass a
  // handle of ours in lParam.
  if (!control || ::GetParent(control) != parent) return nullptr;
  return control;
}

}  // namespace

bool CWnd::Reflect(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  HWND control = ReflectionSource(m_hWnd, message, wParam, lParam);
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
    auto* asked = static_cast<CWnd*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    if (asked && asked == t_creating) {
      self = asked;
      t_creating = nullptr;  // one window per CreateEx
      self->Bind(window);
    }
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
