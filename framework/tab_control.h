#pragma once
// Typed access to a tab control. Non-owning: the control belongs to its
// parent, and its image list stays with whoever made it.

#include <string>

#include "platform/win32/win.h"

// After <windows.h> (through win.h), which it needs.
#include <commctrl.h>

namespace qm::fw {

class CTabCtrl {
 public:
  explicit CTabCtrl(HWND window = nullptr) : m_hWnd(window) {}
  HWND m_hWnd;

  // The new tab's index, -1 on failure.
  int InsertItem(int index, const std::string& text, LPARAM data = 0, int image = -1);
  bool DeleteItem(int index);
  bool DeleteAllItems();
  int GetItemCount() const;
  std::string GetItemText(int index) const;
  LPARAM GetItemData(int index) const;
  // The selected tab, -1 when none.
  int GetCurSel() const;
  // Selects without sending TCN_SELCHANGING/TCN_SELCHANGE; the previous
  // selection or -1.
  int SetCurSel(int index);
  HIMAGELIST SetImageList(HIMAGELIST list);
  // The display area of the pages inside the control's client rectangle.
  RECT GetDisplayRect() const;

 private:
  LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return ::SendMessageW(m_hWnd, message, wParam, lParam);
  }
};

}  // namespace qm::fw
