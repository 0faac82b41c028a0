#include "common/ui/dialog_toolbar.h"

#include <algorithm>

#include "platform/error_text.h"
#include "framework/controls.h"
#include "framework/dpi.h"
#include "platform/platform.h"
#include "res/resource_ids.h"

namespace qm {

CDialogToolBar::~CDialogToolBar() {
  // The window goes first: it must not draw with a destroyed list.
  if (m_hWnd) ::DestroyWindow(m_hWnd);
  if (images_) ::ImageList_Destroy(images_);
}

void CDialogToolBar::SetLastError() { SetLastError(::GetLastError()); }

void CDialogToolBar::SetLastError(DWORD code) { m_strLastError = CErrorText(*SystemPlatform().errors, code).GetText(); }

bool CDialogToolBar::CreateInPlace(HWND host, int placeholderId, UINT resourceId, DWORD style) {
  m_strLastError.clear();
  ::SetLastError(0);
  HWND placeholder = host ? ::GetDlgItem(host, placeholderId) : nullptr;
  if (!placeholder || !::IsWindow(placeholder)) {
    // GetDlgItem leaves no error of its own for a missing ID on every
    // system; name the fault rather than show nothing.
    const DWORD code = ::GetLastError();
    SetLastError(code != 0 ? code : ERROR_CONTROL_ID_NOT_FOUND);
    return false;
  }
  RECT rect{};
  ::GetWindowRect(placeholder, &rect);
  ::MapWindowPoints(nullptr, host, reinterpret_cast<POINT*>(&rect), 2);
  if (!CreateEx(0, TOOLBARCLASSNAMEW, L"", style, rect, host, resourceId)) {
    SetLastError();
    return false;
  }
  SendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
  // The tab order is the Z order: the toolbar takes the placeholder's turn.
  ::SetWindowPos(m_hWnd, placeholder, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  return LoadButtons(resourceId);
}

bool CDialogToolBar::LoadButtons(UINT resourceId) {
  m_strLastError.clear();
  ::SetLastError(0);
  const fw::ToolBarLayout layout = fw::LoadToolBarLayout(fw::ResourceInstance(), resourceId);
  if (!layout.loaded) {
    const DWORD code = ::GetLastError();
    SetLastError(code != 0 ? code : ERROR_RESOURCE_DATA_NOT_FOUND);
    return false;
  }
  if (!m_pButtons.empty()) {
    m_pButtons.clear();
    while (SendMessage(TB_DELETEBUTTON, 0)) {
    }
  }
  const auto images = static_cast<int>(
      std::count_if(layout.commands.begin(), layout.commands.end(), [](UINT command) { return command != 0; }));
  if (images > 0) {
    // The drawing that fits the window's DPI; the light grey of the
    // drawings is the transparent colour.
    HINSTANCE resources = fw::ResourceInstance();
    const UINT dpi = fw::DpiForWindow(m_hWnd);
    const UINT bitmap = fw::ToolbarBitmapFor(resources, resourceId, dpi);
    const SIZE size = fw::ToolbarImageSizeFor(resources, resourceId, dpi);
    HIMAGELIST list = ::ImageList_LoadImageW(resources, MAKEINTRESOURCEW(bitmap), size.cx, 1, RGB(192, 192, 192),
                                             IMAGE_BITMAP, LR_CREATEDIBSECTION);
    if (!list) {
      SetLastError();
      return false;
    }
    SendMessage(TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(list));
    if (images_) ::ImageList_Destroy(images_);
    images_ = list;
    SendMessage(TB_SETBITMAPSIZE, 0, MAKELPARAM(size.cx, size.cy));
  }
  m_pButtons = fw::ToolBarButtons(layout.commands, checkButtons_);
  SendMessage(TB_ADDBUTTONSW, m_pButtons.size(), reinterpret_cast<LPARAM>(m_pButtons.data()));
  return true;
}

void CDialogToolBar::EnableButton(UINT command, bool enable) { SendMessage(TB_ENABLEBUTTON, command, enable); }
void CDialogToolBar::CheckButton(UINT command, bool check) { SendMessage(TB_CHECKBUTTON, command, check); }
void CDialogToolBar::HideButton(UINT command, bool hide) { SendMessage(TB_HIDEBUTTON, command, hide); }
bool CDialogToolBar::IsButtonEnabled(UINT command) const { return SendMessage(TB_ISBUTTONENABLED, command) != 0; }
bool CDialogToolBar::IsButtonChecked(UINT command) const { return SendMessage(TB_ISBUTTONCHECKED, command) != 0; }
bool CDialogToolBar::IsButtonHidden(UINT command) const { return SendMessage(TB_ISBUTTONHIDDEN, command) != 0; }

bool CDialogToolBar::GetButtonRect(UINT command, RECT& rect) const {
  return SendMessage(TB_GETRECT, command, reinterpret_cast<LPARAM>(&rect)) != 0;
}

}  // namespace qm
