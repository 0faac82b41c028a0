#pragma once
// Small reads and moves on controls the win tests share: a window's handle
// as the platform names it, texts in UTF-8, list rows and tree items.
#include <cstdint>
#include <string>

#include "platform/win32/win.h"
#include "platform/win32/win32_system.h"
#include "platform/windows.h"

// After <windows.h>, which it needs.
#include <commctrl.h>

namespace qm {

inline WindowHandle H(HWND window) { return static_cast<WindowHandle>(reinterpret_cast<uintptr_t>(window)); }

inline std::string WindowText(HWND window) {
  std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<size_t>(::GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return Narrow(text);
}

// The text of a dialog's control.
inline std::string ItemText(HWND dialog, int id) { return WindowText(::GetDlgItem(dialog, id)); }

// A button's notification, as a click sends it to its dialog.
inline void Command(HWND dialog, int id) { ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }

// Selects a tab as a click does: the control changes, the dialog hears of it.
inline void SelectTab(HWND dialog, int tabsId, int tab) {
  HWND tabs = ::GetDlgItem(dialog, tabsId);
  ::SendMessageW(tabs, TCM_SETCURSEL, static_cast<WPARAM>(tab), 0);
  NMHDR header{tabs, static_cast<UINT_PTR>(tabsId), static_cast<UINT>(TCN_SELCHANGE)};
  ::SendMessageW(dialog, WM_NOTIFY, static_cast<WPARAM>(tabsId), reinterpret_cast<LPARAM>(&header));
}

inline int RowCount(HWND list) { return static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)); }

inline std::string CellText(HWND list, int row, int column) {
  wchar_t buffer[1024] = {};
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = buffer;
  item.cchTextMax = 1024;
  ::SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  return Narrow(buffer);
}

inline void SelectRow(HWND list, int row) {
  LVITEMW item{};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = LVIS_SELECTED | LVIS_FOCUSED;
  ::SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

inline HTREEITEM NextItem(HWND tree, HTREEITEM item, UINT relation) {
  return reinterpret_cast<HTREEITEM>(::SendMessageW(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

inline LPARAM ItemData(HWND tree, HTREEITEM item) {
  TVITEMW info{};
  info.mask = TVIF_PARAM;
  info.hItem = item;
  ::SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&info));
  return info.lParam;
}

inline std::string TreeText(HWND tree, HTREEITEM item) {
  wchar_t buffer[256] = {};
  TVITEMW info{};
  info.mask = TVIF_TEXT;
  info.hItem = item;
  info.pszText = buffer;
  info.cchTextMax = 256;
  ::SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&info));
  return Narrow(buffer);
}

// The tree item whose data is `data`, searched depth first from `item`.
inline HTREEITEM FindItem(HWND tree, HTREEITEM item, LPARAM data) {
  for (; item; item = NextItem(tree, item, TVGN_NEXT)) {
    if (ItemData(tree, item) == data) return item;
    if (HTREEITEM found = FindItem(tree, NextItem(tree, item, TVGN_CHILD), data)) return found;
  }
  return nullptr;
}

// Selects an item as a click does: the tree tells its dialog.
inline void SelectTreeItem(HWND tree, HTREEITEM item) {
  ::SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
}

}  // namespace qm
