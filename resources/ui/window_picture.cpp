#include "resources/ui/window_picture.h"

#include <algorithm>

namespace qm {
namespace {

// Controls inside controls inside a dialog rarely go deeper than three; a
// foreign dialog gets no more than this.
constexpr int kMaxDepth = 16;
// Painted into the frame before a window prints itself: still there after,
// the system did not paint the frame.
constexpr COLORREF kUnpainted = RGB(1, 254, 3);

int Width(const RECT& rect) { return rect.right - rect.left; }
int Height(const RECT& rect) { return rect.bottom - rect.top; }

// The client area within the window rectangle, both from the window's
// top-left corner.
RECT ClientWithinWindow(HWND window) {
  RECT outer{}, client{};
  ::GetWindowRect(window, &outer);
  ::GetClientRect(window, &client);
  ::MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
  return RECT{client.left - outer.left, client.top - outer.top, client.right - outer.left, client.bottom - outer.top};
}

// A pixel of the frame, or none when the client fills the window.
bool FramePixel(const RECT& client, int width, int height, POINT& pixel) {
  if (client.left > 0 || client.top > 0) {
    pixel = POINT{0, 0};
    return true;
  }
  if (client.right < width || client.bottom < height) {
    pixel = POINT{width - 1, height - 1};
    return true;
  }
  return false;
}

// The top-level items of the window's menu bar, as text on the menu colour.
void DrawMenuBar(HWND window, HDC dc, RECT bar) {
  ::FillRect(dc, &bar, ::GetSysColorBrush(COLOR_MENU));
  HMENU menu = ::GetMenu(window);
  if (!menu) return;
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  HFONT font = nullptr;
  if (::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
    font = ::CreateFontIndirectW(&metrics.lfMenuFont);
  HGDIOBJ previous = font ? ::SelectObject(dc, font) : nullptr;
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, ::GetSysColor(COLOR_MENUTEXT));
  int x = bar.left + 6;
  const int count = ::GetMenuItemCount(menu);
  for (int i = 0; i < count && x < bar.right; ++i) {
    wchar_t text[128] = {};
    if (::GetMenuStringW(menu, static_cast<UINT>(i), text, 128, MF_BYPOSITION) <= 0) continue;
    RECT item{x, bar.top, bar.right, bar.bottom};
    ::DrawTextW(dc, text, -1, &item, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
    RECT measured = item;
    ::DrawTextW(dc, text, -1, &measured, DT_SINGLELINE | DT_CALCRECT);
    x += Width(measured) + 12;
  }
  if (previous) ::SelectObject(dc, previous);
  if (font) ::DeleteObject(font);
}

// The frame as its styles describe it: border, caption and menu bar.
void DrawFrame(HWND window, HDC dc, int width, int height, const RECT& client) {
  const auto style = static_cast<DWORD>(::GetWindowLongPtrW(window, GWL_STYLE));
  const auto exStyle = static_cast<DWORD>(::GetWindowLongPtrW(window, GWL_EXSTYLE));
  // The whole frame in the face colour first, then what lies on it.
  const int saved = ::SaveDC(dc);
  ::ExcludeClipRect(dc, client.left, client.top, client.right, client.bottom);
  RECT all{0, 0, width, height};
  ::FillRect(dc, &all, ::GetSysColorBrush(COLOR_BTNFACE));
  ::RestoreDC(dc, saved);

  RECT inner = all;
  if ((style & WS_DLGFRAME) || (style & WS_THICKFRAME) || (exStyle & WS_EX_DLGMODALFRAME) ||
      (exStyle & WS_EX_WINDOWEDGE))
    ::DrawEdge(dc, &inner, EDGE_RAISED, BF_RECT | BF_ADJUST);
  else if (style & WS_BORDER)
    ::FrameRect(dc, &inner, ::GetSysColorBrush(COLOR_WINDOWFRAME));
  if (exStyle & WS_EX_CLIENTEDGE) {
    RECT edge{client.left - 2, client.top - 2, client.right + 2, client.bottom + 2};
    ::DrawEdge(dc, &edge, EDGE_SUNKEN, BF_RECT);
  } else if (exStyle & WS_EX_STATICEDGE) {
    RECT edge{client.left - 1, client.top - 1, client.right + 1, client.bottom + 1};
    ::DrawEdge(dc, &edge, BDR_SUNKENOUTER, BF_RECT);
  }
  if ((style & WS_CAPTION) == WS_CAPTION) {
    const bool toolWindow = (exStyle & WS_EX_TOOLWINDOW) != 0;
    const int captionHeight = ::GetSystemMetrics(toolWindow ? SM_CYSMCAPTION : SM_CYCAPTION);
    // The frame's inner edge, to the client's top less the menu bar.
    const int frame = std::max(1, static_cast<int>(client.left));
    RECT caption{frame, frame, width - frame, frame + captionHeight - 1};
    UINT flags = DC_ACTIVE | DC_TEXT | DC_GRADIENT | (toolWindow ? DC_SMALLCAP : 0u);
    if ((style & WS_SYSMENU) && !toolWindow) flags |= DC_ICON;
    ::DrawCaption(window, dc, &caption, flags);
    if (!(style & WS_CHILD) && ::GetMenu(window) && client.top > caption.bottom + 1)
      DrawMenuBar(window, dc, RECT{frame, caption.bottom + 1, width - frame, client.top});
  }
}

// One window into a bitmap of its own size at its place in the picture:
// its frame, then its client area, each asked for alone and each at the
// origin of its own context (some controls clip themselves to their client
// rectangle taken in device coordinates, and Wine's printing of a whole
// window draws the client area over the frame).
void PrintOne(HWND window, HDC picture, POINT origin) {
  RECT rect{};
  if (!::GetWindowRect(window, &rect) || Width(rect) <= 0 || Height(rect) <= 0) return;
  const int x = rect.left - origin.x, y = rect.top - origin.y, width = Width(rect), height = Height(rect);
  BitmapHandle piece(::CreateCompatibleBitmap(picture, width, height));
  if (!piece) return;
  MemoryDc dc(picture, piece.get());
  if (!dc) return;
  // What lies below shows through where the window does not paint (a group
  // box, a transparent text).
  ::BitBlt(dc.get(), 0, 0, width, height, picture, x, y, SRCCOPY);

  const RECT client = ClientWithinWindow(window);
  POINT framePixel{};
  if (FramePixel(client, width, height, framePixel)) {
    // A mark that is still there afterwards: the system painted no frame.
    ::SetPixel(dc.get(), framePixel.x, framePixel.y, kUnpainted);
    ::SendMessageW(window, WM_PRINT, reinterpret_cast<WPARAM>(dc.get()), PRF_NONCLIENT);
    if (::GetPixel(dc.get(), framePixel.x, framePixel.y) == kUnpainted)
      DrawFrame(window, dc.get(), width, height, client);
  }

  const int clientWidth = Width(client), clientHeight = Height(client);
  if (clientWidth > 0 && clientHeight > 0) {
    BitmapHandle inside(::CreateCompatibleBitmap(picture, clientWidth, clientHeight));
    MemoryDc clientDc(picture, inside.get());
    if (inside && clientDc) {
      ::BitBlt(clientDc.get(), 0, 0, clientWidth, clientHeight, dc.get(), client.left, client.top, SRCCOPY);
      ::SendMessageW(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(clientDc.get()), 0);
      ::SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(clientDc.get()), PRF_CLIENT | PRF_ERASEBKGND);
      ::BitBlt(dc.get(), client.left, client.top, clientWidth, clientHeight, clientDc.get(), 0, 0, SRCCOPY);
    }
  }
  ::BitBlt(picture, x, y, width, height, dc.get(), 0, 0, SRCCOPY);
}

// The children from the bottom of the Z order up, so that the top ends up
// in front, each followed by its own children.
void PrintWindowAndChildren(HWND window, HDC picture, POINT origin, int depth) {
  PrintOne(window, picture, origin);
  if (depth >= kMaxDepth) return;
  HWND first = ::GetWindow(window, GW_CHILD);
  for (HWND child = first ? ::GetWindow(first, GW_HWNDLAST) : nullptr; child; child = ::GetWindow(child, GW_HWNDPREV)) {
    if (::IsWindowVisible(child)) PrintWindowAndChildren(child, picture, origin, depth + 1);
  }
}

}  // namespace

BitmapHandle PictureOfWindow(HWND window) {
  RECT rect{};
  if (!::GetWindowRect(window, &rect) || Width(rect) <= 0 || Height(rect) <= 0) return nullptr;
  ScreenDc screen;
  BitmapHandle picture(::CreateCompatibleBitmap(screen.get(), Width(rect), Height(rect)));
  if (!picture) return nullptr;
  {
    MemoryDc dc(screen.get(), picture.get());
    if (!dc) return nullptr;
    RECT all{0, 0, Width(rect), Height(rect)};
    ::FillRect(dc.get(), &all, ::GetSysColorBrush(COLOR_BTNFACE));
    PrintWindowAndChildren(window, dc.get(), POINT{rect.left, rect.top}, 0);
  }
  return picture;
}

}  // namespace qm
