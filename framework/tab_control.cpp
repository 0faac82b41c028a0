#include "framework/tab_control.h"

#include "platform/win32/win32_system.h"

namespace qm::fw {

int CTabCtrl::InsertItem(int index, const std::string& text, LPARAM data, int image) {
  std::wstring wide = Widen(text);
  TCITEMW tc{};
  tc.mask = TCIF_TEXT | TCIF_PARAM | (image >= 0 ? TCIF_IMAGE : 0u);
  tc.pszText = wide.data();
  tc.iImage = image;
  tc.lParam = data;
  return static_cast<int>(SendMessage(TCM_INSERTITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&tc)));
}

bool CTabCtrl::DeleteItem(int index) { return SendMessage(TCM_DELETEITEM, static_cast<WPARAM>(index)) != 0; }
bool CTabCtrl::DeleteAllItems() { return SendMessage(TCM_DELETEALLITEMS) != 0; }
int CTabCtrl::GetItemCount() const { return static_cast<int>(SendMessage(TCM_GETITEMCOUNT)); }

std::string CTabCtrl::GetItemText(int index) const {
  // Tab captions are short; a tab whose text fills the buffer is cut there.
  std::wstring buffer(512, L'\0');
  TCITEMW tc{};
  tc.mask = TCIF_TEXT;
  tc.pszText = buffer.data();
  tc.cchTextMax = static_cast<int>(buffer.size());
  if (!SendMessage(TCM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&tc))) return {};
  return Narrow(std::wstring(tc.pszText));
}

LPARAM CTabCtrl::GetItemData(int index) const {
  TCITEMW tc{};
  tc.mask = TCIF_PARAM;
  return SendMessage(TCM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&tc)) ? tc.lParam : 0;
}

int CTabCtrl::GetCurSel() const { return static_cast<int>(SendMessage(TCM_GETCURSEL)); }

int CTabCtrl::SetCurSel(int index) { return static_cast<int>(SendMessage(TCM_SETCURSEL, static_cast<WPARAM>(index))); }

HIMAGELIST CTabCtrl::SetImageList(HIMAGELIST list) {
  return reinterpret_cast<HIMAGELIST>(SendMessage(TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(list)));
}

RECT CTabCtrl::GetDisplayRect() const {
  RECT rect{};
  ::GetClientRect(m_hWnd, &rect);
  SendMessage(TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&rect));
  return rect;
}

}  // namespace qm::fw
