#include "framework/frame_wnd.h"

#include "framework/dpi.h"
#include "platform/platform.h"
#include "platform/win32/win32_system.h"

namespace qm::fw {
namespace {

std::string CommandStringPart(UINT id, bool tooltip) {
  const std::string text = SystemPlatform().strings->LoadString(id);
  const size_t lineBreak = text.find('\n');
  if (lineBreak == std::string::npos) return tooltip ? std::string() : text;
  return tooltip ? text.substr(lineBreak + 1) : text.substr(0, lineBreak);
}

}  // namespace

std::string CommandPrompt(UINT id) { return CommandStringPart(id, false); }
std::string CommandTooltip(UINT id) { return CommandStringPart(id, true); }

MessageTable<CFrameWnd> CFrameWnd::Messages() {
  static constexpr MessageEntry<CFrameWnd> kTable[] = {
      OnMessage(WM_CREATE, &CFrameWnd::OnCreate),
      OnSizeMessage<&CFrameWnd::OnSize>(),
      OnMessage(WM_DPICHANGED, &CFrameWnd::OnDpiChanged),
      OnMessage(WM_COMMAND, &CFrameWnd::OnCommand),
      OnMessage(WM_INITMENUPOPUP, &CFrameWnd::OnInitMenuPopup),
      OnMessage(WM_MENUSELECT, &CFrameWnd::OnMenuSelect),
      OnNotify<&CFrameWnd::OnToolTipText>(TTN_GETDISPINFOW, kAny),
      OnNotify<&CFrameWnd::OnHotItemChange>(TBN_HOTITEMCHANGE, kAny),
      OnMessage(WM_SETFOCUS, &CFrameWnd::OnSetFocus),
      OnMessage(WM_TIMER, &CFrameWnd::OnTimer),
      OnMessage(WM_DESTROY, &CFrameWnd::OnDestroy),
  };
  return kTable;
}

CFrameWnd::~CFrameWnd() {
  if (m_hWnd) ::DestroyWindow(m_hWnd);
  if (bigIcon_) ::DestroyIcon(bigIcon_);
  if (smallIcon_) ::DestroyIcon(smallIcon_);
}

bool CFrameWnd::LoadFrame(UINT resourceId, DWORD style) {
  HINSTANCE resources = ResourceInstance();
  SetProgramIcon(resourceId);
  // The menu belongs to the window once created and goes with it.
  HMENU menu = ::LoadMenuW(resources, MAKEINTRESOURCEW(resourceId));
  accelerators_ = ::LoadAcceleratorsW(resources, MAKEINTRESOURCEW(resourceId));
  std::string title = SystemPlatform().strings->LoadString(resourceId);
  title = title.substr(0, title.find('\n'));
  // Default position, 640x560 at 96 DPI and as large to the eye on a
  // screen of more DPI (the primary screen's, where a new window opens).
  const UINT dpi = DpiForWindow(::GetDesktopWindow());
  const RECT placement{CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT + ScaleForDpi(640, dpi),
                       CW_USEDEFAULT + ScaleForDpi(560, dpi)};
  if (!CreateEx(0, nullptr, Widen(title), style, placement, nullptr, reinterpret_cast<UINT_PTR>(menu))) {
    if (menu) ::DestroyMenu(menu);
    return false;
  }
  bigIcon_ = static_cast<HICON>(::LoadImageW(resources, MAKEINTRESOURCEW(resourceId), IMAGE_ICON,
                                             ::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CYICON), 0));
  smallIcon_ = static_cast<HICON>(::LoadImageW(resources, MAKEINTRESOURCEW(resourceId), IMAGE_ICON,
                                               ::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON), 0));
  if (bigIcon_) SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_));
  if (smallIcon_) SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_));
  return true;
}

void CFrameWnd::SetView(CView* view) {
  view_ = view;
  RecalcLayout();
}

bool CFrameWnd::RouteCommand(UINT id, CommandUI* ui) {
  if (id == 0) return false;  // an ID the program did not give
  const CommandEntry<CFrameWnd> commands[] = {
      {ids_.viewToolBar, &CFrameWnd::OnViewToolBar, &CFrameWnd::OnUpdateViewToolBar},
      {ids_.viewStatusBar, &CFrameWnd::OnViewStatusBar, &CFrameWnd::OnUpdateViewStatusBar},
      {ids_.appExit, &CFrameWnd::OnAppExit, nullptr},
  };
  return RouteCommandTable(*this, commands, id, ui);
}

CommandUI CFrameWnd::QueryCommand(UINT id) {
  CommandUI ui;
  ui.id = id;
  if (!RouteCommand(id, &ui)) ui.enabled = false;
  return ui;
}

bool CFrameWnd::ExecuteCommand(UINT id) {
  if (InModalRun() || !QueryCommand(id).enabled) return false;
  return RouteCommand(id, nullptr);
}

LRESULT CFrameWnd::OnCreate(WPARAM, LPARAM) { return OnCreateFrame() ? 0 : -1; }

void CFrameWnd::OnSize(UINT kind, SIZE) {
  // A minimised frame keeps its layout for when it comes back.
  if (kind != SIZE_MINIMIZED) RecalcLayout();
}

namespace {

Rect ToRect(const RECT& r) { return Rect{r.left, r.top, r.right, r.bottom}; }
RECT ToRECT(const Rect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

// Whether a bar is switched on, whatever the frame's own state: a child
// of a hidden or not yet shown frame is never "visible" to the system.
bool IsShown(HWND window) {
  return window && (static_cast<DWORD>(::GetWindowLongPtrW(window, GWL_STYLE)) & WS_VISIBLE) != 0;
}

void Place(HWND window, const Rect& r) {
  ::MoveWindow(window, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
}

}  // namespace

bool CFrameWnd::CreateDockedToolBar(UINT controlId, UINT resourceId, const std::vector<UINT>& toggles) {
  if (!m_wndDockBar.Create(*this, m_hWnd, ids_.toolBarStrip)) return false;
  if (!m_wndToolBar.Create(m_wndDockBar.m_hWnd, controlId, resourceId, toggles)) return false;
  m_wndDockBar.SetToolBar(m_wndToolBar, m_hWnd);
  DockToolBar(DockSide::Top);
  return true;
}

void CFrameWnd::DockToolBar(DockSide side) {
  if (!m_wndDockBar.m_hWnd) return;
  m_wndDockBar.SetSide(side);
  RecalcLayout();
}

void CFrameWnd::ApplyDpi(UINT dpi) {
  if (m_wndToolBar.m_hWnd) m_wndToolBar.SetImagesForDpi(dpi);
  if (m_wndDockBar.m_hWnd) {
    m_wndDockBar.SetDpi(dpi);
    // Down a side strip the buttons wrap again at their new size.
    m_wndDockBar.SetSide(m_wndDockBar.Side());
  }
  if (m_wndStatusBar.m_hWnd) m_wndStatusBar.SetDpi(dpi);
  RecalcLayout();
}

LRESULT CFrameWnd::OnDpiChanged(WPARAM wParam, LPARAM lParam) {
  // The frame moved to a screen of another DPI (or the user changed it):
  // take the size and place the system suggests, then redraw at the DPI.
  const auto* suggested = reinterpret_cast<const RECT*>(lParam);
  if (suggested) {
    ::SetWindowPos(m_hWnd, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                   suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  ApplyDpi(LOWORD(wParam));
  return 0;
}

FrameLayout CFrameWnd::LayoutFor(DockSide side) const {
  RECT client{};
  ::GetClientRect(m_hWnd, &client);
  int barThickness = 0;
  if (IsShown(m_wndDockBar.m_hWnd)) barThickness = m_wndDockBar.Thickness(side);
  int statusHeight = 0;
  if (IsShown(m_wndStatusBar.m_hWnd)) {
    RECT bar{};
    ::GetWindowRect(m_wndStatusBar.m_hWnd, &bar);
    statusHeight = bar.bottom - bar.top;
  }
  return LayOutFrame(ToRect(client), side, barThickness, statusHeight);
}

void CFrameWnd::RecalcLayout() {
  if (!m_hWnd) return;
  // The status bar keeps its own height and sits at the bottom by itself.
  if (IsShown(m_wndStatusBar.m_hWnd)) m_wndStatusBar.Resize();
  const FrameLayout layout = LayoutFor(m_wndDockBar.Side());
  if (IsShown(m_wndDockBar.m_hWnd)) Place(m_wndDockBar.m_hWnd, layout.bar);
  if (view_ && view_->m_hWnd) Place(view_->m_hWnd, layout.view);
}

DockSide CFrameWnd::DockSideAt(POINT screen) {
  ::ScreenToClient(m_hWnd, &screen);
  RECT client{};
  ::GetClientRect(m_hWnd, &client);
  const DockSide current = m_wndDockBar.Side();
  // A release within twice the strip's depth of an edge docks there.
  const int band = 2 * m_wndDockBar.Thickness(current);
  return qm::DockSideAt(ToRect(client), Point{screen.x, screen.y}, band, current);
}

RECT CFrameWnd::DockedBarRect(DockSide side) { return ToRECT(LayoutFor(side).bar); }

LRESULT CFrameWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
  // Notifications of controls other than the toolbar are not commands.
  if (lParam != 0 && reinterpret_cast<HWND>(lParam) != m_wndToolBar.m_hWnd) {
    return DefWindowProc(WM_COMMAND, wParam, lParam);
  }
  ExecuteCommand(LOWORD(wParam));
  return 0;
}

LRESULT CFrameWnd::OnInitMenuPopup(WPARAM wParam, LPARAM lParam) {
  if (HIWORD(lParam)) return DefWindowProc(WM_INITMENUPOPUP, wParam, lParam);  // the system menu
  HMENU popup = reinterpret_cast<HMENU>(wParam);
  const int count = ::GetMenuItemCount(popup);
  for (int i = 0; i < count; ++i) {
    const UINT id = ::GetMenuItemID(popup, i);
    if (id == 0 || id == static_cast<UINT>(-1)) continue;  // separators and submenus
    const CommandUI ui = QueryCommand(id);
    ::EnableMenuItem(popup, static_cast<UINT>(i), MF_BYPOSITION | (ui.enabled ? MF_ENABLED : MF_GRAYED));
    ::CheckMenuItem(popup, static_cast<UINT>(i),
                    MF_BYPOSITION | (ui.checked.value_or(false) ? MF_CHECKED : MF_UNCHECKED));
  }
  return 0;
}

void CFrameWnd::ShowPrompt(UINT id) {
  if (m_wndStatusBar.m_hWnd) m_wndStatusBar.SetPaneText(0, id ? CommandPrompt(id) : std::string());
}

LRESULT CFrameWnd::OnMenuSelect(WPARAM wParam, LPARAM lParam) {
  const UINT flags = HIWORD(wParam);
  if ((flags == 0xFFFF && lParam == 0) || (flags & (MF_POPUP | MF_SEPARATOR | MF_SYSMENU))) {
    ShowPrompt(0);
  } else {
    ShowPrompt(LOWORD(wParam));
  }
  return 0;
}

LRESULT CFrameWnd::OnToolTipText(NMTTDISPINFOW& info) {
  if (info.uFlags & TTF_IDISHWND) return 0;
  tipText_ = Widen(CommandTooltip(static_cast<UINT>(info.hdr.idFrom)));
  info.lpszText = tipText_.data();
  info.hinst = nullptr;
  return 0;
}

LRESULT CFrameWnd::OnHotItemChange(NMTBHOTITEM& hot) {
  if (hot.hdr.hwndFrom != m_wndToolBar.m_hWnd) return 0;  // a toolbar of the view's, not the frame's
  if (hot.dwFlags & HICF_LEAVING) {
    ::KillTimer(m_hWnd, kPromptTimer);
    ShowPrompt(0);
  } else {
    ShowPrompt(static_cast<UINT>(hot.idNew));
    // The toolbar does not always say when the pointer has left it (under
    // Wine the prompt stayed); the frame looks for itself.
    ::SetTimer(m_hWnd, kPromptTimer, 200, nullptr);
  }
  return 0;
}

LRESULT CFrameWnd::OnTimer(WPARAM wParam, LPARAM lParam) {
  if (wParam != kPromptTimer) return DefWindowProc(WM_TIMER, wParam, lParam);
  POINT cursor{};
  ::GetCursorPos(&cursor);
  if (::WindowFromPoint(cursor) != m_wndToolBar.m_hWnd) {
    ::KillTimer(m_hWnd, kPromptTimer);
    ShowPrompt(0);
  }
  return 0;
}

LRESULT CFrameWnd::OnSetFocus(WPARAM, LPARAM) {
  if (view_ && view_->m_hWnd) ::SetFocus(view_->m_hWnd);
  return 0;
}

LRESULT CFrameWnd::OnDestroy(WPARAM, LPARAM) {
  if (quitOnDestroy_) ::PostQuitMessage(0);
  return 0;
}

void CFrameWnd::OnIdleUpdate() {
  if (m_wndToolBar.m_hWnd && ::IsWindowVisible(m_wndToolBar.m_hWnd)) {
    for (UINT id : m_wndToolBar.Commands()) {
      if (id == 0) continue;
      const CommandUI ui = QueryCommand(id);
      m_wndToolBar.SetButtonState(id, ui.enabled, ui.checked.value_or(false));
    }
  }
  if (m_wndStatusBar.m_hWnd) m_wndStatusBar.UpdateIndicators();
}

void CFrameWnd::OnViewToolBar() {
  if (!m_wndDockBar.m_hWnd) return;
  ::ShowWindow(m_wndDockBar.m_hWnd, IsShown(m_wndDockBar.m_hWnd) ? SW_HIDE : SW_SHOW);
  RecalcLayout();
}

void CFrameWnd::OnUpdateViewToolBar(CommandUI& ui) {
  ui.Enable(m_wndDockBar.m_hWnd != nullptr);
  ui.SetCheck(IsShown(m_wndDockBar.m_hWnd));
}

void CFrameWnd::OnViewStatusBar() {
  if (!m_wndStatusBar.m_hWnd) return;
  ::ShowWindow(m_wndStatusBar.m_hWnd, IsShown(m_wndStatusBar.m_hWnd) ? SW_HIDE : SW_SHOW);
  RecalcLayout();
}

void CFrameWnd::OnUpdateViewStatusBar(CommandUI& ui) {
  ui.Enable(m_wndStatusBar.m_hWnd != nullptr);
  ui.SetCheck(IsShown(m_wndStatusBar.m_hWnd));
}

void CFrameWnd::OnAppExit() { PostMessage(WM_CLOSE); }

}  // namespace qm::fw
