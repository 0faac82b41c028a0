#pragma once
// Typed access to a list box. Non-owning: the control belongs to its
// parent.

#include <string>

#include "platform/win32/win.h"

namespace qm::fw {

class CListBox {
 public:
  explicit CListBox(HWND window = nullptr) : m_hWnd(window) {}
  HWND m_hWnd;

  // The new line's index, or LB_ERR / LB_ERRSPACE.
  int AddString(const std::string& text);
  int InsertString(int index, const std::string& text);
  // The number of lines left, or LB_ERR.
  int DeleteString(int index);
  void ResetContent();
  int GetCount() const;
  // Empty for an index out of range.
  std::string GetText(int index) const;
  LPARAM GetItemData(int index) const;
  bool SetItemData(int index, LPARAM data);
  // Single-selection boxes: the selected line, LB_ERR when none.
  int GetCurSel() const;
  bool SetCurSel(int index);
  // The line whose whole text is this (case-insensitive), LB_ERR if none.
  int FindStringExact(const std::string& text, int after = -1) const;

 private:
  LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return ::SendMessageW(m_hWnd, message, wParam, lParam);
  }
};

}  // namespace qm::fw
