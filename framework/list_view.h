#pragma once
// Typed access to a report-view list control. Non-owning: the control
// belongs to its parent, and image lists stay with whoever made them.

#include <string>

#include "platform/win32/win.h"

// After <windows.h> (through win.h), which it needs.
#include <commctrl.h>

namespace qm::fw {

class CListCtrl {
 public:
  explicit CListCtrl(HWND window = nullptr) : m_hWnd(window) {}
  HWND m_hWnd;

  // The column's index, -1 on failure.
  int InsertColumn(int column, const std::string& heading, int format = LVCFMT_LEFT, int width = 100);
  bool DeleteColumn(int column);
  int GetColumnCount() const;
  int GetColumnWidth(int column) const;
  bool SetColumnWidth(int column, int width);

  // The new row's index, -1 on failure.
  int InsertItem(int row, const std::string& text, int image = -1);
  bool DeleteItem(int row);
  bool DeleteAllItems();
  int GetItemCount() const;
  std::string GetItemText(int row, int column) const;
  bool SetItemText(int row, int column, const std::string& text);
  LPARAM GetItemData(int row) const;
  bool SetItemData(int row, LPARAM data);
  bool SetItemImage(int row, int image);

  // The first selected row after `after` (-1: from the start), -1 if none.
  int GetNextSelected(int after = -1) const;
  UINT GetSelectedCount() const;
  // Selects and focuses one row, or clears the selection of all (-1).
  bool SetItemSelected(int row, bool selected);
  bool EnsureVisible(int row);
  HIMAGELIST SetImageList(HIMAGELIST list, int which);
  DWORD SetExtendedStyle(DWORD style);
  // Stops (false) or resumes (true) drawing while many rows change; the
  // caller repaints after resuming.
  void SetRedraw(bool redraw);

 private:
  LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return ::SendMessageW(m_hWnd, message, wParam, lParam);
  }
};

}  // namespace qm::fw
