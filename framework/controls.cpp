#include "framework/controls.h"
#include "framework/resource_conventions.h"

#include <algorithm>

#include "common/byte_reader.h"
#include "framework/dpi.h"
#include "platform/platform.h"
#include "platform/win32/win32_system.h"

namespace qm::fw {

// ---- tree ----

HTREEITEM CTreeCtrl::InsertItem(const std::string& text, int image, LPARAM data, HTREEITEM parent, HTREEITEM after) {
  std::wstring wide = Widen(text);
  TVINSERTSTRUCTW insert{};
  insert.hParent = parent;
  insert.hInsertAfter = after;
  insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
  insert.item.pszText = wide.data();
  insert.item.iImage = image;
  insert.item.iSelectedImage = image;
  insert.item.lParam = data;
  return reinterpret_cast<HTREEITEM>(SendMessage(TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
}

bool CTreeCtrl::DeleteAllItems() { return SendMessage(TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT)) != 0; }

bool CTreeCtrl::DeleteItem(HTREEITEM item) {
  return SendMessage(TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(item)) != 0;
}

unsigned CTreeCtrl::GetCount() const { return static_cast<unsigned>(SendMessage(TVM_GETCOUNT)); }

HIMAGELIST CTreeCtrl::SetImageList(HIMAGELIST list, int which) {
  return reinterpret_cast<HIMAGELIST>(
      SendMessage(TVM_SETIMAGELIST, static_cast<WPARAM>(which), reinterpret_cast<LPARAM>(list)));
}

std::string CTreeCtrl::GetItemText(HTREEITEM item) const {
  // Grow until the text fits: the control truncates silently.
  std::wstring buffer(256, L'\0');
  for (;;) {
    TVITEMW tv{};
    tv.mask = TVIF_TEXT;
    tv.hItem = item;
    tv.pszText = buffer.data();
    tv.cchTextMax = static_cast<int>(buffer.size());
    if (!SendMessage(TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv))) return {};
    const size_t length = std::wstring(tv.pszText).size();
    if (length + 1 < buffer.size() || buffer.size() >= (1u << 20)) return Narrow(std::wstring(tv.pszText, length));
    buffer.assign(buffer.size() * 4, L'\0');
  }
}

bool CTreeCtrl::SetItemText(HTREEITEM item, const std::string& text) {
  std::wstring wide = Widen(text);
  TVITEMW tv{};
  tv.mask = TVIF_TEXT;
  tv.hItem = item;
  tv.pszText = wide.data();
  return SendMessage(TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&tv)) != 0;
}

LPARAM CTreeCtrl::GetItemData(HTREEITEM item) const {
  TVITEMW tv{};
  tv.mask = TVIF_PARAM;
  tv.hItem = item;
  return SendMessage(TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv)) ? tv.lParam : 0;
}

bool CTreeCtrl::GetItemImage(HTREEITEM item, int& image, int& selectedImage) const {
  TVITEMW tv{};
  tv.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
  tv.hItem = item;
  if (!SendMessage(TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv))) return false;
  image = tv.iImage;
  selectedImage = tv.iSelectedImage;
  return true;
}

bool CTreeCtrl::SetItemImage(HTREEITEM item, int image, int selectedImage) {
  TVITEMW update{};
  update.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
  update.hItem = item;
  update.iImage = image;
  update.iSelectedImage = selectedImage;
  return SendMessage(TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&update)) != 0;
}

UINT CTreeCtrl::GetItemState(HTREEITEM item, UINT mask) const {
  return static_cast<UINT>(SendMessage(TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), mask)) & mask;
}

bool CTreeCtrl::SelectItem(HTREEITEM item) {
  return SendMessage(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item)) != 0;
}

bool CTreeCtrl::Expand(HTREEITEM item, UINT action) {
  return SendMessage(TVM_EXPAND, action, reinterpret_cast<LPARAM>(item)) != 0;
}

HTREEITEM CTreeCtrl::Next(HTREEITEM item, UINT relation) const {
  return reinterpret_cast<HTREEITEM>(SendMessage(TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

// ---- toolbar ----

ToolBarLayout LoadToolBarLayout(HINSTANCE instance, UINT resourceId) {
  ToolBarLayout layout;
  HRSRC found = ::FindResourceW(instance, MAKEINTRESOURCEW(resourceId), MAKEINTRESOURCEW(RT_TOOLBAR_BUTTONS));
  if (!found) return layout;
  HGLOBAL loaded = ::LoadResource(instance, found);
  const void* data = loaded ? ::LockResource(loaded) : nullptr;
  const DWORD size = ::SizeofResource(instance, found);
  if (!data) return layout;
  ByteView bytes(static_cast<const uint8_t*>(data), size);
  auto version = bytes.u16(0);
  auto width = bytes.u16(2);
  auto height = bytes.u16(4);
  auto count = bytes.u16(6);
  if (!version || *version != 1 || !width || !height || !count) return layout;
  std::vector<UINT> commands;
  for (uint32_t i = 0; i < *count; ++i) {
    auto id = bytes.u16(8 + 2 * static_cast<uint64_t>(i));
    if (!id) return layout;
    commands.push_back(*id);
  }
  layout.loaded = true;
  layout.width = *width;
  layout.height = *height;
  layout.commands = std::move(commands);
  return layout;
}

std::vector<TBBUTTON> ToolBarButtons(const std::vector<UINT>& commands, const std::vector<UINT>& checkButtons) {
  std::vector<TBBUTTON> buttons;
  int image = 0;
  for (UINT command : commands) {
    TBBUTTON button{};
    if (command == 0) {
      button.fsStyle = BTNS_SEP;
    } else {
      bool check = false;
      for (UINT c : checkButtons) check = check || c == command;
      button.iBitmap = image++;
      button.idCommand = static_cast<int>(command);
      button.fsState = TBSTATE_ENABLED;
      button.fsStyle = static_cast<BYTE>(check ? BTNS_CHECK : BTNS_BUTTON);
    }
    buttons.push_back(button);
  }
  return buttons;
}

CToolBar::~CToolBar() {
  if (images_) ::ImageList_Destroy(images_);
}

bool CToolBar::Create(HWND parent, UINT controlId, UINT resourceId, const std::vector<UINT>& toggles) {
  const ToolBarLayout layout = LoadToolBarLayout(ResourceInstance(), resourceId);
  if (layout.commands.empty()) return false;
  const DWORD style = WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_TOP | CCS_NODIVIDER;
  if (!CreateEx(0, TOOLBARCLASSNAMEW, L"", style, RECT{0, 0, 0, 0}, parent, controlId)) return false;
  SendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));

  resourceId_ = resourceId;
  if (!SetImagesForDpi(DpiForWindow(parent))) return false;

  const std::vector<TBBUTTON> buttons = ToolBarButtons(layout.commands, toggles);
  commands_ = layout.commands;
  SendMessage(TB_ADDBUTTONSW, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
  SendMessage(TB_AUTOSIZE);
  return true;
}

bool CToolBar::SetImagesForDpi(UINT dpi) {
  if (!m_hWnd) return false;
  HINSTANCE instance = ResourceInstance();
  const UINT bitmap = ToolbarBitmapFor(instance, resourceId_, dpi);
  const SIZE image = ToolbarImageSizeFor(instance, resourceId_, dpi);
  // The light grey of the strip is the transparent colour.
  HIMAGELIST images = ::ImageList_LoadImageW(instance, MAKEINTRESOURCEW(bitmap), image.cx, 1, RGB(192, 192, 192),
                                             IMAGE_BITMAP, LR_CREATEDIBSECTION);
  if (!images) return false;
  const bool replacing = images_ != nullptr;
  SendMessage(TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
  if (images_) ::ImageList_Destroy(images_);
  images_ = images;
  imageSize_ = image;
  SendMessage(TB_SETBITMAPSIZE, 0, MAKELPARAM(image.cx, image.cy));
  if (replacing) {
    // Buttons already added keep their old size unless told: the image
    // plus the toolbar's own padding round it.
    const auto padding = static_cast<DWORD>(SendMessage(TB_GETPADDING));
    SendMessage(TB_SETBUTTONSIZE, 0, MAKELPARAM(image.cx + LOWORD(padding), image.cy + HIWORD(padding)));
  }
  SendMessage(TB_AUTOSIZE);
  ::InvalidateRect(m_hWnd, nullptr, TRUE);
  return true;
}

void CToolBar::SetButtonState(UINT command, bool enabled, bool checked) {
  LRESULT state = SendMessage(TB_GETSTATE, command);
  if (state == -1) return;
  BYTE next = static_cast<BYTE>(state);
  next = static_cast<BYTE>(enabled ? (next | TBSTATE_ENABLED) : (next & ~TBSTATE_ENABLED));
  next = static_cast<BYTE>(checked ? (next | TBSTATE_CHECKED) : (next & ~TBSTATE_CHECKED));
  // Unchanged buttons are not touched, so the idle update does not flicker.
  if (next != static_cast<BYTE>(state)) SendMessage(TB_SETSTATE, command, MAKELPARAM(next, 0));
}

bool CToolBar::IsButtonEnabled(UINT command) const { return SendMessage(TB_ISBUTTONENABLED, command) != 0; }
bool CToolBar::IsButtonChecked(UINT command) const { return SendMessage(TB_ISBUTTONCHECKED, command) != 0; }

bool CToolBar::GetButtonRect(UINT command, RECT& rect) const {
  return SendMessage(TB_GETRECT, command, reinterpret_cast<LPARAM>(&rect)) != 0;
}

SIZE CToolBar::ButtonSize() const {
  const auto size = static_cast<DWORD>(SendMessage(TB_GETBUTTONSIZE));
  return SIZE{LOWORD(size), HIWORD(size)};
}

void CToolBar::SetVertical(bool vertical) {
  const auto style = static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_STYLE));
  const DWORD next = vertical ? (style | CCS_VERT) : (style & ~static_cast<DWORD>(CCS_VERT));
  if (next != style) ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, static_cast<LONG_PTR>(next));
  // Down a vertical bar every button ends its own line.
  const auto count = static_cast<int>(SendMessage(TB_BUTTONCOUNT));
  for (int i = 0; i < count; ++i) {
    TBBUTTON button{};
    if (!SendMessage(TB_GETBUTTON, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&button))) continue;
    BYTE state = button.fsState;
    state = static_cast<BYTE>(vertical ? (state | TBSTATE_WRAP) : (state & ~TBSTATE_WRAP));
    if (state == button.fsState) continue;
    // By index: the separators share command ID 0.
    TBBUTTONINFOW info{};
    info.cbSize = sizeof info;
    info.dwMask = TBIF_BYINDEX | TBIF_STATE;
    info.fsState = state;
    SendMessage(TB_SETBUTTONINFOW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&info));
  }
  SendMessage(TB_AUTOSIZE);  // lays the buttons out again
  ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

SIZE CToolBar::ButtonsExtent() const {
  SIZE extent{0, 0};
  const auto count = static_cast<int>(SendMessage(TB_BUTTONCOUNT));
  for (int i = 0; i < count; ++i) {
    RECT item{};
    if (!SendMessage(TB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item))) continue;
    if (item.right > extent.cx) extent.cx = item.right;
    if (item.bottom > extent.cy) extent.cy = item.bottom;
  }
  return extent;
}

// ---- status bar ----

bool CStatusBar::Create(HWND parent, UINT controlId, const std::vector<StatusIndicator>& indicators) {
  if (!CreateEx(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, RECT{0, 0, 0, 0}, parent, controlId))
    return false;
  indicators_ = indicators;
  dpi_ = DpiForWindow(parent);
  texts_.clear();
  for (const StatusIndicator& indicator : indicators)
    texts_.push_back(SystemPlatform().strings->LoadString(indicator.textId));
  Resize();
  return true;
}

void CStatusBar::Resize() {
  if (!m_hWnd) return;
  SendMessage(WM_SIZE);
  RECT client{};
  ::GetClientRect(m_hWnd, &client);
  const std::vector<int> widths = IndicatorWidths();
  std::vector<int> edges(indicators_.size() + 1);
  int right = client.right - ScaleForDpi(kGripWidth, dpi_);  // room for the size grip
  for (size_t i = indicators_.size(); i > 0; --i) {
    edges[i] = right;
    right -= widths[i - 1];
  }
  edges[0] = right > 0 ? right : 0;
  SendMessage(SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
}

std::vector<int> CStatusBar::IndicatorWidths() const {
  std::vector<int> widths(texts_.size(), ScaleForDpi(kIndicatorWidth, dpi_));
  // The bar's own font, whatever the DPI made of it: a pane never cuts
  // its text, shown or not, so the panes do not move when a key toggles.
  HDC dc = ::GetDC(m_hWnd);
  if (!dc) return widths;
  HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessage(WM_GETFONT));
  HGDIOBJ previous = font ? ::SelectObject(dc, font) : nullptr;
  for (size_t i = 0; i < texts_.size(); ++i) {
    const std::wstring wide = Widen(texts_[i]);
    SIZE extent{};
    if (::GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &extent))
      widths[i] = std::max(widths[i], static_cast<int>(extent.cx) + ScaleForDpi(kIndicatorMargins, dpi_));
  }
  if (previous) ::SelectObject(dc, previous);
  ::ReleaseDC(m_hWnd, dc);
  return widths;
}

void CStatusBar::SetPaneText(int pane, const std::string& text) {
  std::wstring wide = Widen(text);
  SendMessage(SB_SETTEXTW, static_cast<WPARAM>(pane), reinterpret_cast<LPARAM>(wide.c_str()));
}

std::string CStatusBar::GetPaneText(int pane) const {
  const auto length = LOWORD(SendMessage(SB_GETTEXTLENGTHW, static_cast<WPARAM>(pane)));
  std::wstring buffer(static_cast<size_t>(length) + 1, L'\0');
  SendMessage(SB_GETTEXTW, static_cast<WPARAM>(pane), reinterpret_cast<LPARAM>(buffer.data()));
  return Narrow(std::wstring(buffer.c_str()));
}

void CStatusBar::UpdateIndicators() {
  for (size_t i = 0; i < indicators_.size(); ++i) {
    const int key = indicators_[i].virtualKey;
    const bool on = key != 0 && (::GetKeyState(key) & 1) != 0;
    const std::string wanted = on ? texts_[i] : std::string();
    if (GetPaneText(static_cast<int>(i) + 1) != wanted) SetPaneText(static_cast<int>(i) + 1, wanted);
  }
}

}  // namespace qm::fw
