#include "framework/dock_bar.h"

#include <cstdlib>

#include "framework/dpi.h"

namespace qm::fw {
namespace {

POINT PointOf(LPARAM lParam) { return POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))}; }

// The outline is a band `band` pixels wide, drawn inverted over the frame
// and its children.
void InvertOutline(HWND window, const RECT& r, int band) {
  HDC dc = ::GetDCEx(window, nullptr, DCX_CACHE);  // not clipped to the children
  if (!dc) return;
  HGDIOBJ previous = ::SelectObject(dc, ::GetStockObject(GRAY_BRUSH));
  const int width = r.right - r.left;
  const int height = r.bottom - r.top;
  ::PatBlt(dc, r.left, r.top, width, band, PATINVERT);
  ::PatBlt(dc, r.left, r.bottom - band, width, band, PATINVERT);
  ::PatBlt(dc, r.left, r.top + band, band, height - 2 * band, PATINVERT);
  ::PatBlt(dc, r.right - band, r.top + band, band, height - 2 * band, PATINVERT);
  ::SelectObject(dc, previous);
  ::ReleaseDC(window, dc);
}

// Erases an outline by having what lies under it painted again, not by
// inverting it back: the tree or the toolbar may have repainted under it
// meanwhile (the auto-refresh runs every second), and inverting those
// fresh pixels would leave grey bands behind.
void EraseOutline(HWND window, const RECT& r) {
  ::RedrawWindow(window, &r, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

}  // namespace

MessageTable<CDockBar> CDockBar::Messages() {
  static constexpr MessageEntry<CDockBar> kTable[] = {
      OnPaintMessage<&CDockBar::OnPaint>(),
      OnSizeMessage<&CDockBar::OnSize>(),
      OnMessage(WM_SETCURSOR, &CDockBar::OnSetCursor),
      OnMessage(WM_LBUTTONDOWN, &CDockBar::OnLButtonDown),
      // The class takes double-clicks: a quick second press is a press too.
      OnMessage(WM_LBUTTONDBLCLK, &CDockBar::OnLButtonDown),
      OnMessage(WM_MOUSEMOVE, &CDockBar::OnMouseMove),
      OnMessage(WM_LBUTTONUP, &CDockBar::OnLButtonUp),
      OnMessage(WM_KEYDOWN, &CDockBar::OnKeyDown),
      OnMessage(WM_CAPTURECHANGED, &CDockBar::OnCaptureChanged),
  };
  return kTable;
}

bool CDockBar::Create(IDockSite& site, HWND parent, UINT controlId) {
  site_ = &site;
  metrics_ = DockMetricsFor(DpiForWindow(parent));
  return CreateEx(0, nullptr, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, RECT{0, 0, 0, 0}, parent,
                  controlId);
}

void CDockBar::SetToolBar(CToolBar& toolBar, HWND notify) {
  toolBar_ = &toolBar;
  // The strip places the toolbar itself; the toolbar must not snap to its
  // parent's top edge or size itself to the parent's width.
  const auto style = static_cast<DWORD>(::GetWindowLongPtrW(toolBar.m_hWnd, GWL_STYLE));
  const DWORD docked = (style & ~static_cast<DWORD>(CCS_TOP)) | CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER;
  ::SetWindowLongPtrW(toolBar.m_hWnd, GWL_STYLE, static_cast<LONG_PTR>(docked));
  toolBar.SendMessage(TB_SETPARENT, reinterpret_cast<WPARAM>(notify));
  SetSide(side_);
}

void CDockBar::SetDpi(UINT dpi) {
  metrics_ = DockMetricsFor(dpi);
  PlaceToolBar();
  ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CDockBar::SetSide(DockSide side) {
  side_ = side;
  if (toolBar_) toolBar_->SetVertical(IsVerticalSide(side));
  PlaceToolBar();
  ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

int CDockBar::Thickness(DockSide side) const {
  if (!toolBar_) return 0;
  const SIZE button = toolBar_->ButtonSize();
  return static_cast<int>(IsVerticalSide(side) ? button.cx : button.cy) + 2 * metrics_.padding;
}

RECT CDockBar::GripperRect() const {
  RECT client{};
  ::GetClientRect(m_hWnd, &client);
  if (IsVerticalSide(side_)) {
    client.bottom = client.top + metrics_.gripper;
  } else {
    client.right = client.left + metrics_.gripper;
  }
  return client;
}

void CDockBar::PlaceToolBar() {
  if (!toolBar_ || !toolBar_->m_hWnd) return;
  const SIZE extent = toolBar_->ButtonsExtent();
  const int x = IsVerticalSide(side_) ? metrics_.padding : metrics_.gripper + metrics_.padding;
  const int y = IsVerticalSide(side_) ? metrics_.gripper + metrics_.padding : metrics_.padding;
  ::MoveWindow(toolBar_->m_hWnd, x, y, extent.cx, extent.cy, TRUE);
}

void CDockBar::OnPaint(HDC dc, const PAINTSTRUCT&) {
  // One raised ridge across the gripper's depth, as classic grippers look.
  RECT ridge = GripperRect();
  const int pad = metrics_.padding;
  if (IsVerticalSide(side_)) {
    ridge = RECT{ridge.left + pad, ridge.top + pad, ridge.right - pad, ridge.top + pad + metrics_.ridge};
  } else {
    ridge = RECT{ridge.left + pad, ridge.top + pad, ridge.left + pad + metrics_.ridge, ridge.bottom - pad};
  }
  if (ridge.right > ridge.left && ridge.bottom > ridge.top) ::DrawEdge(dc, &ridge, BDR_RAISEDINNER, BF_RECT);
}

void CDockBar::OnSize(UINT, SIZE) {
  PlaceToolBar();
  ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

LRESULT CDockBar::OnSetCursor(WPARAM wParam, LPARAM lParam) {
  POINT cursor{};
  ::GetCursorPos(&cursor);
  ::ScreenToClient(m_hWnd, &cursor);
  const RECT gripper = GripperRect();
  if (LOWORD(lParam) == HTCLIENT && ::PtInRect(&gripper, cursor)) {
    ::SetCursor(::LoadCursorW(nullptr, MAKEINTRESOURCEW(32646)));  // IDC_SIZEALL
    return TRUE;
  }
  return DefWindowProc(WM_SETCURSOR, wParam, lParam);
}

LRESULT CDockBar::OnLButtonDown(WPARAM, LPARAM lParam) {
  const POINT at = PointOf(lParam);
  const RECT gripper = GripperRect();
  if (!site_ || tracking_ || !::PtInRect(&gripper, at)) return 0;
  tracking_ = true;
  dragging_ = false;
  start_ = at;
  ::ClientToScreen(m_hWnd, &start_);
  target_ = side_;
  ::SetCapture(m_hWnd);
  // Escape reaches the focus window, not the capture: take the focus for
  // the drag and give it back afterwards.
  previousFocus_ = ::SetFocus(m_hWnd);
  return 0;
}

LRESULT CDockBar::OnMouseMove(WPARAM, LPARAM lParam) {
  if (!tracking_) return 0;
  POINT at = PointOf(lParam);
  ::ClientToScreen(m_hWnd, &at);
  // A click on the gripper, or a nudge within the drag threshold, is no drag.
  if (!dragging_ && std::abs(at.x - start_.x) <= ::GetSystemMetrics(SM_CXDRAG) &&
      std::abs(at.y - start_.y) <= ::GetSystemMetrics(SM_CYDRAG))
    return 0;
  dragging_ = true;
  target_ = site_->DockSideAt(at);
  ShowOutline(site_->DockedBarRect(target_));
  return 0;
}

LRESULT CDockBar::OnLButtonUp(WPARAM, LPARAM) {
  if (!tracking_) return 0;
  const bool dock = dragging_;
  const DockSide target = target_;
  EndTracking();
  if (dock && site_) site_->DockToolBar(target);
  return 0;
}

LRESULT CDockBar::OnKeyDown(WPARAM wParam, LPARAM lParam) {
  if (tracking_ && wParam == VK_ESCAPE) {
    EndTracking();
    return 0;
  }
  return DefWindowProc(WM_KEYDOWN, wParam, lParam);
}

LRESULT CDockBar::OnCaptureChanged(WPARAM, LPARAM lParam) {
  // Another window took the mouse (a menu, a message box): the drag is over.
  if (tracking_ && reinterpret_cast<HWND>(lParam) != m_hWnd) EndTracking();
  return 0;
}

void CDockBar::ShowOutline(std::optional<RECT> outline) {
  HWND frame = ::GetParent(m_hWnd);
  const auto same = [](const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
  };
  if (outline_ && outline && same(*outline_, *outline)) return;
  if (outline_) EraseOutline(frame, *outline_);
  outline_ = outline;
  if (outline_) InvertOutline(frame, *outline_, metrics_.outline);
}

void CDockBar::EndTracking() {
  if (!tracking_) return;
  // Cleared first: releasing the capture sends WM_CAPTURECHANGED back here.
  tracking_ = false;
  dragging_ = false;
  ShowOutline(std::nullopt);
  if (::GetCapture() == m_hWnd) ::ReleaseCapture();
  HWND focus = previousFocus_;
  previousFocus_ = nullptr;
  if (focus && ::IsWindow(focus) && ::GetFocus() == m_hWnd) ::SetFocus(focus);
}

}  // namespace qm::fw
