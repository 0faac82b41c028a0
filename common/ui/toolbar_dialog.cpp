#include "common/ui/toolbar_dialog.h"

#include <algorithm>
#include <iterator>
#include <optional>

#include "common/text.h"
#include "common/tooltip_text.h"
#include "platform/platform.h"
#include "platform/win32/win32_system.h"

// After <windows.h>, which it needs.
#include <commctrl.h>

namespace qm {

fw::MessageTable<CToolBarDialog> CToolBarDialog::Messages() {
  static constexpr fw::MessageEntry<CToolBarDialog> kTable[] = {
      fw::OnNotify<&CToolBarDialog::OnToolTipText>(TTN_GETDISPINFOW, fw::kAny),
  };
  return kTable;
}

bool CToolBarDialog::CreatePage(UINT templateId, HWND host, const RECT& rect, HWND follow) {
  if (!Create(templateId, host)) return false;
  ::MoveWindow(m_hWnd, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
  if (follow && ::IsWindow(follow)) {
    const auto style = static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_STYLE));
    ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, static_cast<LONG_PTR>(style | WS_TABSTOP));
    ::SetWindowPos(m_hWnd, follow, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
  }
  return true;
}

void CToolBarDialog::PostToParent(UINT command) const {
  HWND parent = ::GetParent(m_hWnd);
  if (parent && ::IsWindow(parent)) ::PostMessageW(parent, WM_COMMAND, command, 0);
}

void CToolBarDialog::OnOK() {
  if (!(::GetWindowLongPtrW(m_hWnd, GWL_STYLE) & WS_CHILD)) {
    CDialog::OnOK();
    return;
  }
  PostToParent(IDOK);
  UpdateData(true);
}

void CToolBarDialog::OnCancel() {
  if (!(::GetWindowLongPtrW(m_hWnd, GWL_STYLE) & WS_CHILD)) {
    CDialog::OnCancel();
    return;
  }
  PostToParent(IDCANCEL);
}

LRESULT CToolBarDialog::OnToolTipText(NMTTDISPINFOW& info) {
  UINT id = static_cast<UINT>(info.hdr.idFrom);
  if (info.uFlags & TTF_IDISHWND) id = static_cast<UINT>(::GetDlgCtrlID(reinterpret_cast<HWND>(info.hdr.idFrom)));
  if (id == 0) return FALSE;
  const std::optional<std::string> tip = TooltipTextOf(SystemPlatform().strings->LoadString(id));
  if (!tip) return FALSE;
  // The whole text through lpszText; szText (79 characters) gets the part
  // that fits, cut between characters, for readers of the buffer.
  tipText_ = Widen(*tip);
  const std::u16string fitted = FitTooltipText(Utf8ToUtf16(*tip), std::size(info.szText));
  std::copy(fitted.begin(), fitted.end(), info.szText);
  info.szText[fitted.size()] = L'\0';
  info.lpszText = tipText_.data();
  info.hinst = nullptr;
  return TRUE;
}

}  // namespace qm
