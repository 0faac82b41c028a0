#include "framework/screen_outline.h"

#include "platform/win32/win32_system.h"

namespace qm::fw {

namespace {

constexpr DWORD kPieceExStyle = WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE | WS_EX_TOPMOST;
// The label's text sits this far inside its one-pixel border.
constexpr int kLabelMarginX = 4;
constexpr int kLabelMarginY = 2;
constexpr COLORREF kLabelBackground = RGB(255, 255, 225);
constexpr COLORREF kLabelText = RGB(0, 0, 0);
constexpr UINT kLabelFormat = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;

HFONT LabelFont() { return static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)); }

RECT ToRECT(const Rect& r) { return {r.left, r.top, r.right, r.bottom}; }

}  // namespace

// One bar, or the label when it has a text.
class CScreenOutline::CPiece : public CWnd {
 public:
  bool Create(const Rect& place, std::wstring text) {
    text_ = std::move(text);
    if (!CreateEx(kPieceExStyle, nullptr, L"", WS_POPUP, ToRECT(place), nullptr, 0)) return false;
    // A layered window shows nothing until its attributes are set; opaque.
    ::SetLayeredWindowAttributes(m_hWnd, 0, 255, LWA_ALPHA);
    ::SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    ::UpdateWindow(m_hWnd);
    return true;
  }

  void Place(const Rect& place, std::wstring text) {
    if (text != text_) {
      text_ = std::move(text);
      ::InvalidateRect(m_hWnd, nullptr, FALSE);
    }
    ::SetWindowPos(m_hWnd, HWND_TOPMOST, place.left, place.top, place.right - place.left, place.bottom - place.top,
                   SWP_NOACTIVATE | SWP_SHOWWINDOW);
    ::UpdateWindow(m_hWnd);
  }

  bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    switch (message) {
      case WM_NCHITTEST:
        // Our own thread's WindowFromPoint asks; the answer sends it on to
        // the window below.
        result = HTTRANSPARENT;
        return true;
      case WM_MOUSEACTIVATE:
        result = MA_NOACTIVATE;
        return true;
      case WM_ERASEBKGND:
        result = 1;
        return true;
      case WM_PAINT:
        Paint();
        result = 0;
        return true;
      default:
        return CWnd::OnWndMsg(message, wParam, lParam, result);
    }
  }

 private:
  void Paint() {
    PAINTSTRUCT paint{};
    HDC dc = ::BeginPaint(m_hWnd, &paint);
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    HGDIOBJ previousBrush = ::SelectObject(dc, ::GetStockObject(DC_BRUSH));
    ::SetDCBrushColor(dc, kColour);
    ::PatBlt(dc, 0, 0, client.right, client.bottom, PATCOPY);
    if (!text_.empty()) {
      ::SetDCBrushColor(dc, kLabelBackground);
      ::PatBlt(dc, 1, 1, client.right - 2, client.bottom - 2, PATCOPY);
      HGDIOBJ previousFont = ::SelectObject(dc, LabelFont());
      ::SetBkMode(dc, TRANSPARENT);
      ::SetTextColor(dc, kLabelText);
      RECT text{kLabelMarginX, 0, client.right - kLabelMarginX, client.bottom};
      ::DrawTextW(dc, text_.c_str(), static_cast<int>(text_.size()), &text, kLabelFormat);
      ::SelectObject(dc, previousFont);
    }
    ::SelectObject(dc, previousBrush);
    ::EndPaint(m_hWnd, &paint);
  }

  std::wstring text_;
};

CScreenOutline::CScreenOutline() = default;

CScreenOutline::~CScreenOutline() { Hide(); }

bool CScreenOutline::Show(const std::array<Rect, 4>& bars, const std::string& label, const Rect& labelRect) {
  const bool created = IsShown();
  for (size_t i = 0; i < bars.size(); ++i) {
    if (created) {
      bars_[i]->Place(bars[i], {});
      continue;
    }
    bars_[i] = std::make_unique<CPiece>();
    if (!bars_[i]->Create(bars[i], {})) {
      Hide();
      return false;
    }
  }
  if (label.empty()) {
    label_.reset();
  } else if (label_) {
    label_->Place(labelRect, Widen(label));
  } else {
    label_ = std::make_unique<CPiece>();
    // Without its label the outline still shows the window.
    if (!label_->Create(labelRect, Widen(label))) label_.reset();
  }
  return true;
}

void CScreenOutline::Hide() {
  label_.reset();
  for (auto& bar : bars_) bar.reset();
}

SIZE CScreenOutline::MeasureLabel(const std::string& text) const {
  const std::wstring wide = Widen(text);
  HDC dc = ::GetDC(nullptr);
  HGDIOBJ previous = ::SelectObject(dc, LabelFont());
  RECT box{0, 0, 0, 0};
  // Measured whole: with the ellipsis flag the system would fit the text
  // into the empty box instead.
  ::DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &box, DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);
  ::SelectObject(dc, previous);
  ::ReleaseDC(nullptr, dc);
  return {box.right + 2 * kLabelMarginX + 2, box.bottom + 2 * kLabelMarginY + 2};
}

std::vector<HWND> CScreenOutline::Windows() const {
  std::vector<HWND> windows;
  for (const auto& bar : bars_)
    if (bar) windows.push_back(bar->m_hWnd);
  if (label_) windows.push_back(label_->m_hWnd);
  return windows;
}

}  // namespace qm::fw
