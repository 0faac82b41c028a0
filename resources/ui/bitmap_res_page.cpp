#include "resources/ui/bitmap_res_page.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <limits>
#include <memory>
#include <span>
#include <string>

#include "framework/file_dialog.h"
#include "platform/win32/win32_system.h"
#include "res/string_ids.h"
#include "resources/bitmap_file.h"
#include "resources/bitmap_view_budget.h"
#include "resources/dialog_script.h"
#include "resources/dialog_template.h"
#include "resources/image_scroll.h"
#include "resources/resource_types.h"
#include "resources/ui/dialog_test_dlg.h"
#include "resources/ui/template_dialog.h"
#include "resources/ui/window_picture.h"

namespace qm {
namespace {

int Width(const RECT& rect) { return rect.right - rect.left; }
int Height(const RECT& rect) { return rect.bottom - rect.top; }

Rect ChildRect(HWND page, HWND child) {
  RECT rect{};
  if (child && ::GetWindowRect(child, &rect)) ::MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&rect), 2);
  return Rect{rect.left, rect.top, rect.right, rect.bottom};
}

Rect ClientRect(HWND window) {
  RECT rect{};
  ::GetClientRect(window, &rect);
  return Rect{rect.left, rect.top, rect.right, rect.bottom};
}

// The toolbar's bottom edge (or the placeholder's, before it is made): the
// view starts below it.
int32_t ToolbarBottom(HWND page, HWND toolbar) {
  return ChildRect(page, toolbar ? toolbar : ::GetDlgItem(page, IDC_TOOLBAR_PLACEHOLDER)).bottom;
}

// A 32-bit top-down section into which the program's own decoder writes
// the DIB's pixels: the system never parses the module's bytes, and the
// pixels are held once.
BitmapHandle BitmapFromDib(ByteView dib, const DibLayout& layout) {
  const auto width = static_cast<uint32_t>(layout.width);
  if (width == 0 || layout.rows == 0 || width > static_cast<uint32_t>(std::numeric_limits<LONG>::max()) ||
      layout.rows > static_cast<uint32_t>(std::numeric_limits<LONG>::max()))
    return nullptr;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = static_cast<LONG>(width);
  info.bmiHeader.biHeight = -static_cast<LONG>(layout.rows);
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  BitmapHandle bitmap(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap || !bits) return nullptr;
  // 0xAARRGGBB in memory is blue, green, red, alpha: the section's order.
  const std::span<uint32_t> pixels(static_cast<uint32_t*>(bits), size_t{width} * layout.rows);
  if (!DecodeBitmapPixels(dib, layout, pixels)) return nullptr;
  ::GdiFlush();
  return bitmap;
}

// The bitmap as a packed 24-bit DIB (header and rows), as the system reads
// it back; empty when it cannot.
std::vector<uint8_t> DibOfBitmap(HBITMAP bitmap) {
  BITMAP metrics{};
  if (!bitmap || !::GetObjectW(bitmap, sizeof metrics, &metrics) || metrics.bmWidth <= 0 || metrics.bmHeight <= 0)
    return {};
  BITMAPINFOHEADER header{};
  header.biSize = sizeof header;
  header.biWidth = metrics.bmWidth;
  header.biHeight = metrics.bmHeight;
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biCompression = BI_RGB;
  const auto pixelBytes = Dib24PixelBytes(metrics.bmWidth, metrics.bmHeight, sizeof header);
  if (!pixelBytes) return {};
  header.biSizeImage = *pixelBytes;
  std::vector<uint8_t> dib(sizeof header + size_t{*pixelBytes});
  BITMAPINFO info{};
  info.bmiHeader = header;
  ScreenDc screen;
  if (::GetDIBits(screen.get(), bitmap, 0, static_cast<UINT>(metrics.bmHeight), dib.data() + sizeof header, &info,
                  DIB_RGB_COLORS) != metrics.bmHeight)
    return {};
  std::memcpy(dib.data(), &header, sizeof header);
  return dib;
}

// A window of our own, out of sight, under which a dialog is made for its
// picture: a template with the child style (a property page) needs a
// parent. Controls draw themselves only while they are shown (Wine's do
// nothing otherwise), so the host and the dialog are shown where the
// screen does not reach.
class OutOfSightHost {
 public:
  OutOfSightHost()
      : window_(::CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, L"STATIC", L"", WS_POPUP, FarLeft(1), 0, 1, 1,
                                  nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr)) {
    if (window_) ::ShowWindow(window_, SW_SHOWNA);
  }
  ~OutOfSightHost() {
    if (window_) ::DestroyWindow(window_);
  }
  OutOfSightHost(const OutOfSightHost&) = delete;
  OutOfSightHost& operator=(const OutOfSightHost&) = delete;
  HWND get() const { return window_; }

  // Shows the dialog without activating it, a top-level one left of the
  // whole desktop.
  static void Show(HWND dialog) {
    if (::GetWindowLongPtrW(dialog, GWL_STYLE) & WS_CHILD) {
      ::ShowWindow(dialog, SW_SHOWNA);
      return;
    }
    RECT rect{};
    ::GetWindowRect(dialog, &rect);
    ::SetWindowPos(dialog, HWND_BOTTOM, FarLeft(Width(rect)), 0, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  }

 private:
  static int FarLeft(int width) { return ::GetSystemMetrics(SM_XVIRTUALSCREEN) - width - 64; }
  HWND window_;
};

}  // namespace

fw::MessageTable<CBitmapResPage> CBitmapResPage::Messages() {
  static constexpr fw::MessageEntry<CBitmapResPage> kTable[] = {
      fw::OnPaintMessage<&CBitmapResPage::OnPaint>(),
      fw::OnMessage(WM_PRINTCLIENT, &CBitmapResPage::OnPrintClient),
      fw::OnMessage(WM_ERASEBKGND, &CBitmapResPage::OnEraseBackground),
      fw::OnSizeMessage<&CBitmapResPage::OnSize>(),
      fw::OnScrollMessage<WM_HSCROLL, &CBitmapResPage::OnScroll>(),
      fw::OnScrollMessage<WM_VSCROLL, &CBitmapResPage::OnScroll>(),
      fw::OnCommand(IDC_SAVE_AS_BITMAP, &CBitmapResPage::OnSaveAsBitmap),
      fw::OnCommand(IDC_SAVE_AS_RESOURCE, &CBitmapResPage::OnSaveAsResource),
      fw::OnCommand(IDC_TEST_DIALOG, &CBitmapResPage::OnTestDialog),
  };
  return kTable;
}

CBitmapResPage::~CBitmapResPage() {
  if (m_hWnd) ::DestroyWindow(m_hWnd);
}

bool CBitmapResPage::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  // The erase handler answers "not handled" to get the default erase.
  if (message == WM_ERASEBKGND && !bitmap_) return CToolBarDialog::OnWndMsg(message, wParam, lParam, result);
  return WithMessageTable::OnWndMsg(message, wParam, lParam, result);
}

BOOL CBitmapResPage::OnInitDialog() {
  CToolBarDialog::OnInitDialog();
  horizontalBar_ = ::GetDlgItem(m_hWnd, IDC_IMAGE_HSCROLL);
  verticalBar_ = ::GetDlgItem(m_hWnd, IDC_IMAGE_VSCROLL);
  toolbar_.CreateInPlace(m_hWnd, IDC_TOOLBAR_PLACEHOLDER, IDR_BITMAP_PAGE_TOOLBAR);
  ShowDialogButtons(false);
  LayOut();
  return TRUE;
}

RECT CBitmapResPage::ViewRect() const {
  const Rect view = ImageViewRect(ClientRect(m_hWnd), ToolbarBottom(m_hWnd, toolbar_.m_hWnd),
                                  ChildRect(m_hWnd, verticalBar_), ChildRect(m_hWnd, horizontalBar_));
  return RECT{view.left, view.top, view.right, view.bottom};
}

void CBitmapResPage::Release() {
  bitmap_.reset();
  icon_.reset();
  metrics_ = BITMAP{};
  content_.Clear();
}

void CBitmapResPage::ShowBitmap(const CResourceModule& module, const ResourceName& name) {
  Release();
  content_.Select(module, name);
  auto data = module.LoadResourceData(ResourceName::Number(kRtBitmap), name);
  if (!data) {
    ShowImage(nullptr, {}, ShownImage::Nothing);
    return;
  }
  // Only a DIB that the reader accepts is shown, and saved as it is; one
  // past the budget is only saved, and the page says why it shows nothing.
  ShownBitmapPlan plan = PlanShownBitmap(*data, *platform_.strings);
  BitmapHandle bitmap = plan.layout ? BitmapFromDib(*data, *plan.layout) : nullptr;
  std::vector<uint8_t> dib = BitmapBytesToKeep(*data, bitmap != nullptr, plan);
  ShowImage(std::move(bitmap), std::move(dib), ShownImage::Bitmap);
  content_.SetNotice(std::move(plan.notice));
  if (!content_.Notice().empty()) Redraw();
}

void CBitmapResPage::SetBitmap(BitmapHandle bitmap) { ShowImage(std::move(bitmap), {}, ShownImage::Bitmap); }

void CBitmapResPage::ShowImage(BitmapHandle bitmap, std::vector<uint8_t> dib, ShownImage kind) {
  Release();
  bitmap_ = std::move(bitmap);
  if (bitmap_ && !::GetObjectW(bitmap_.get(), sizeof metrics_, &metrics_)) metrics_ = BITMAP{};
  content_.Show(kind, bitmap_ != nullptr, std::move(dib));

  SetUpBars(true);
  ShowDialogButtons(false);
  Redraw();
}

void CBitmapResPage::SetUpBars(bool fromStart) {
  const RECT view = ViewRect();
  const struct {
    HWND window;
    int size;
    int viewSize;
  } bars[] = {{horizontalBar_, static_cast<int>(metrics_.bmWidth), Width(view)},
              {verticalBar_, static_cast<int>(metrics_.bmHeight), Height(view)}};
  for (const auto& bar : bars) {
    HWND window = bar.window;
    if (!window) continue;
    if (!bitmap_) {
      ::ShowWindow(window, SW_HIDE);
      continue;
    }
    const ImageBarRange range = ImageScrollRange(bar.size, bar.viewSize);
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_DISABLENOSCROLL | (fromStart ? SIF_POS : 0u);
    info.nMax = range.maximum;
    info.nPage = range.page;
    ::SetScrollInfo(window, SB_CTL, &info, TRUE);
    ::ShowWindow(window, SW_SHOW);
  }
}

void CBitmapResPage::LayOut() {
  const ImagePageBars bars = LayOutImagePageBars(ClientRect(m_hWnd), ToolbarBottom(m_hWnd, toolbar_.m_hWnd),
                                                 ::GetSystemMetrics(SM_CXVSCROLL), ::GetSystemMetrics(SM_CYHSCROLL));
  for (const auto& [bar, rect] : {std::pair{horizontalBar_, bars.horizontal}, std::pair{verticalBar_, bars.vertical}})
    ::SetWindowPos(bar, nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
  if (bitmap_) SetUpBars(false);
}

void CBitmapResPage::OnSize(UINT, SIZE) {
  LayOut();
  ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CBitmapResPage::ShowIcon(const CResourceModule& module, const ResourceName& name) {
  ShowIconImage(module, name, false);
}

void CBitmapResPage::ShowCursor(const CResourceModule& module, const ResourceName& name) {
  ShowIconImage(module, name, true);
}

void CBitmapResPage::ShowIconImage(const CResourceModule& module, const ResourceName& name, bool cursor) {
  Release();
  content_.Select(module, name);
  auto data = module.LoadResourceData(ResourceName::Number(cursor ? kRtCursor : kRtIcon), name);
  if (data && data->size() > 0 && data->size() <= std::numeric_limits<DWORD>::max()) {
    // Width and height 0 without LR_DEFAULTSIZE: the image's own size. The
    // system only reads the bytes; its prototype is not const.
    icon_.reset(::CreateIconFromResourceEx(const_cast<PBYTE>(data->data()), static_cast<DWORD>(data->size()), !cursor,
                                           0x00030000, 0, 0, 0));
  }
  if (icon_) content_.Show(ShownImage::Icon, true, {});
  for (HWND bar : {horizontalBar_, verticalBar_}) ::ShowWindow(bar, SW_HIDE);
  // The dialog's commands do nothing without a dialog picture.
  ShowDialogButtons(false);
  Redraw();
}

void CBitmapResPage::ShowDialog(const CResourceModule& module, const ResourceName& name) {
  Release();
  content_.Select(module, name);
  BitmapHandle picture;
  {
    OutOfSightHost host;
    std::unique_ptr<CTemplateDialog> dialog;
    if (host.get() && CreateDialogFromTemplate(module, name, dialog, host.get()) && dialog && dialog->m_hWnd) {
      OutOfSightHost::Show(dialog->m_hWnd);
      picture = PictureOfWindow(dialog->m_hWnd);
    }
  }  // the dialog goes before its host
  const bool shown = picture != nullptr;
  ShowImage(std::move(picture), {}, ShownImage::DialogPicture);
  ShowDialogButtons(shown);
}

void CBitmapResPage::ShowDialogButtons(bool show) {
  if (!toolbar_.m_hWnd) return;
  toolbar_.HideButton(IDC_SAVE_AS_RESOURCE, !show);
  toolbar_.HideButton(IDC_TEST_DIALOG, !show);
}

void CBitmapResPage::Redraw() {
  if (m_hWnd) ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CBitmapResPage::Paint(HDC dc) {
  const RECT view = ViewRect();
  if (bitmap_) {
    const int x = ::GetScrollPos(horizontalBar_, SB_CTL);
    const int y = ::GetScrollPos(verticalBar_, SB_CTL);
    const int shownWidth = ShownImageSpan(static_cast<int>(metrics_.bmWidth), x, Width(view));
    const int shownHeight = ShownImageSpan(static_cast<int>(metrics_.bmHeight), y, Height(view));
    MemoryDc source(dc, bitmap_.get());
    if (source) ::BitBlt(dc, view.left, view.top, shownWidth, shownHeight, source.get(), x, y, SRCCOPY);
    // What the bitmap leaves of the view, right of it and below it.
    HBRUSH face = ::GetSysColorBrush(COLOR_BTNFACE);
    if (shownWidth < Width(view)) {
      RECT strip{view.left + shownWidth, view.top, view.right, view.bottom};
      ::FillRect(dc, &strip, face);
    }
    if (shownHeight < Height(view)) {
      RECT strip{view.left, view.top + shownHeight, view.right, view.bottom};
      ::FillRect(dc, &strip, face);
    }
  } else if (icon_) {
    // At its own size, which DrawIcon would change to the system's.
    ::DrawIconEx(dc, view.left, view.top, icon_.get(), 0, 0, 0, nullptr, DI_NORMAL);
  } else if (!content_.Notice().empty()) {
    // In the page's own font, inset from the view's edges.
    RECT text = view;
    ::InflateRect(&text, -8, -8);
    const std::wstring wide = Widen(content_.Notice());
    HGDIOBJ font = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(m_hWnd, WM_GETFONT, 0, 0)));
    const int mode = ::SetBkMode(dc, TRANSPARENT);
    const COLORREF colour = ::SetTextColor(dc, ::GetSysColor(COLOR_BTNTEXT));
    ::DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &text, DT_WORDBREAK | DT_NOPREFIX);
    ::SetTextColor(dc, colour);
    ::SetBkMode(dc, mode);
    ::SelectObject(dc, font);
  }
}

void CBitmapResPage::OnPaint(HDC dc, const PAINTSTRUCT&) { Paint(dc); }

LRESULT CBitmapResPage::OnPrintClient(WPARAM wParam, LPARAM) {
  if (wParam) Paint(reinterpret_cast<HDC>(wParam));
  return 0;
}

LRESULT CBitmapResPage::OnEraseBackground(WPARAM wParam, LPARAM) {
  // The bitmap and its strips cover the view; only the rest (the corner
  // between the bars) is erased, so scrolling does not flicker.
  HDC dc = reinterpret_cast<HDC>(wParam);
  const RECT view = ViewRect();
  RECT client{};
  ::GetClientRect(m_hWnd, &client);
  const int saved = ::SaveDC(dc);
  ::ExcludeClipRect(dc, view.left, view.top, view.right, view.bottom);
  ::FillRect(dc, &client, ::GetSysColorBrush(COLOR_BTNFACE));
  ::RestoreDC(dc, saved);
  return 1;
}

void CBitmapResPage::OnScroll(UINT request, HWND bar) {
  if (!bar || (bar != horizontalBar_ && bar != verticalBar_)) return;
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_ALL;
  if (!::GetScrollInfo(bar, SB_CTL, &info)) return;
  // The thumb's place from the bar itself: the message carries only 16 bits.
  const int next = NextScrollPosition(ScrollState{info.nMin, info.nMax, info.nPage, info.nPos},
                                      static_cast<uint16_t>(request), info.nTrackPos);
  if (next == info.nPos) return;
  ::SetScrollPos(bar, SB_CTL, next, TRUE);
  const RECT view = ViewRect();
  ::RedrawWindow(m_hWnd, &view, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

ImagePageServices CBitmapResPage::Services() {
  return ImagePageServices{*platform_.strings, *platform_.messageBox,
                           [this](const std::string& filter, const std::string& name, const std::string& ext) {
                             return fw::AskExportFileName(m_hWnd, filter, name, ext);
                           }};
}

LRESULT CBitmapResPage::OnSaveAsBitmap(WPARAM, LPARAM) {
  // A bitmap resource goes out as the module holds it; a picture as the
  // system reads it back. Without a bitmap nothing is asked or written.
  std::vector<uint8_t> dib = content_.SavedBytes();
  if (dib.empty() && bitmap_) dib = DibOfBitmap(bitmap_.get());
  SaveImageAsBitmap(dib, Services());
  return 0;
}

LRESULT CBitmapResPage::OnSaveAsResource(WPARAM, LPARAM) {
  SaveDialogAsScript(content_, Services());
  return 0;
}

LRESULT CBitmapResPage::OnTestDialog(WPARAM, LPARAM) {
  if (!content_.HasDialog()) return 0;
  CDialogTestDlg dialog(platform_);
  dialog.m_pModule = content_.Module();
  dialog.m_dialogName = *content_.Name();
  std::optional<std::string> failure;
  try {
    dialog.DoModal(m_hWnd);
  } catch (const std::exception& error) {
    failure = error.what();
  } catch (...) {
    failure = std::string();
  }
  if (failure) platform_.messageBox->MessageBox(DialogTestFailure(*platform_.strings, *failure), MB_ICONEXCLAMATION_);
  return 0;
}

}  // namespace qm
