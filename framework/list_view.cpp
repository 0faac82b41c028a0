#include "framework/list_view.h"

#include "platform/win32/win32_system.h"

namespace qm::fw {

int CListCtrl::InsertColumn(int column, const std::string& heading, int format, int width) {
  std::wstring wide = Widen(heading);
  LVCOLUMNW lv{};
  lv.mask = LVCF_TEXT | LVCF_FMT | LVCF_WIDTH | LVCF_SUBITEM;
  lv.fmt = format;
  lv.cx = width;
  lv.pszText = wide.data();
  lv.iSubItem = column;
  return static_cast<int>(SendMessage(LVM_INSERTCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&lv)));
}

bool CListCtrl::DeleteColumn(int column) { return SendMessage(LVM_DELETECOLUMN, static_cast<WPARAM>(column)) != 0; }

int CListCtrl::GetColumnCount() const {
  HWND header = reinterpret_cast<HWND>(SendMessage(LVM_GETHEADER));
  return header ? static_cast<int>(::SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
}

int CListCtrl::GetColumnWidth(int column) const {
  return static_cast<int>(SendMessage(LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column)));
}

bool CListCtrl::SetColumnWidth(int column, int width) {
  return SendMessage(LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column), MAKELPARAM(width, 0)) != 0;
}

int CListCtrl::InsertItem(int row, const std::string& text, int image) {
  std::wstring wide = Widen(text);
  LVITEMW lv{};
  // Without LVIF_IMAGE a row shows image 0; I_IMAGENONE asks for none.
  lv.mask = LVIF_TEXT | (image >= 0 || image == I_IMAGENONE ? LVIF_IMAGE : 0u);
  lv.iItem = row;
  lv.pszText = wide.data();
  lv.iImage = image;
  return static_cast<int>(SendMessage(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&lv)));
}

bool CListCtrl::DeleteItem(int row) { return SendMessage(LVM_DELETEITEM, static_cast<WPARAM>(row)) != 0; }
bool CListCtrl::DeleteAllItems() { return SendMessage(LVM_DELETEALLITEMS) != 0; }

void CListCtrl::SetRedraw(bool redraw) { SendMessage(WM_SETREDRAW, redraw ? TRUE : FALSE); }
int CListCtrl::GetItemCount() const { return static_cast<int>(SendMessage(LVM_GETITEMCOUNT)); }

std::string CListCtrl::GetItemText(int row, int column) const {
  // The control truncates silently, so grow until the text fits.
  std::wstring buffer(256, L'\0');
  for (;;) {
    LVITEMW lv{};
    lv.iSubItem = column;
    lv.pszText = buffer.data();
    lv.cchTextMax = static_cast<int>(buffer.size());
    const auto length =
        static_cast<size_t>(SendMessage(LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&lv)));
    if (length + 1 < buffer.size() || buffer.size() >= (1u << 20)) {
      return Narrow(std::wstring(buffer.data(), length < buffer.size() ? length : 0));
    }
    buffer.assign(buffer.size() * 4, L'\0');
  }
}

bool CListCtrl::SetItemText(int row, int column, const std::string& text) {
  std::wstring wide = Widen(text);
  LVITEMW lv{};
  lv.iSubItem = column;
  lv.pszText = wide.data();
  return SendMessage(LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&lv)) != 0;
}

LPARAM CListCtrl::GetItemData(int row) const {
  LVITEMW lv{};
  lv.mask = LVIF_PARAM;
  lv.iItem = row;
  return SendMessage(LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&lv)) ? lv.lParam : 0;
}

bool CListCtrl::SetItemData(int row, LPARAM data) {
  LVITEMW lv{};
  lv.mask = LVIF_PARAM;
  lv.iItem = row;
  lv.lParam = data;
  return SendMessage(LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&lv)) != 0;
}

bool CListCtrl::SetItemImage(int row, int image) {
  LVITEMW lv{};
  lv.mask = LVIF_IMAGE;
  lv.iItem = row;
  lv.iImage = image;
  return SendMessage(LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&lv)) != 0;
}

int CListCtrl::GetNextSelected(int after) const {
  return static_cast<int>(SendMessage(LVM_GETNEXTITEM, static_cast<WPARAM>(after), MAKELPARAM(LVNI_SELECTED, 0)));
}

UINT CListCtrl::GetSelectedCount() const { return static_cast<UINT>(SendMessage(LVM_GETSELECTEDCOUNT)); }

bool CListCtrl::SetItemSelected(int row, bool selected) {
  LVITEMW lv{};
  lv.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  lv.state = selected ? (LVIS_SELECTED | LVIS_FOCUSED) : 0u;
  return SendMessage(LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&lv)) != 0;
}

bool CListCtrl::EnsureVisible(int row) { return SendMessage(LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE) != 0; }

HIMAGELIST CListCtrl::SetImageList(HIMAGELIST list, int which) {
  return reinterpret_cast<HIMAGELIST>(
      SendMessage(LVM_SETIMAGELIST, static_cast<WPARAM>(which), reinterpret_cast<LPARAM>(list)));
}

DWORD CListCtrl::SetExtendedStyle(DWORD style) {
  return static_cast<DWORD>(SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, static_cast<LPARAM>(style)));
}

}  // namespace qm::fw
