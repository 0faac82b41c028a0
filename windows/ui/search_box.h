#pragma once
// The search box of the window list: an edit control that Escape empties
// while it holds text, so the dialog closes on Escape only from an empty
// box (or from anywhere else). The subclass goes with the window.

#include <string>

#include "platform/win32/win.h"

namespace qm {

class CSearchBox {
 public:
  CSearchBox() = default;
  CSearchBox(const CSearchBox&) = delete;
  CSearchBox& operator=(const CSearchBox&) = delete;
  ~CSearchBox();

  // Takes over an edit control of a dialog; false when it is missing.
  bool SubclassDlgItem(int controlId, HWND dialog);
  std::string GetText() const;
  bool IsEmpty() const { return !m_hWnd || ::GetWindowTextLengthW(m_hWnd) == 0; }

  HWND m_hWnd = nullptr;

 private:
  static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                       DWORD_PTR data);
  void Release();
};

}  // namespace qm
