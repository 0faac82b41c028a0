#pragma once
// Typed access to a progress bar. Non-owning: the control belongs to its
// parent.

#include "platform/win32/win.h"

namespace qm::fw {

class CProgressCtrl {
 public:
  explicit CProgressCtrl(HWND window = nullptr) : m_hWnd(window) {}
  HWND m_hWnd;

  // 32-bit range, so counts above 65535 need no scaling.
  void SetRange(int lower, int upper);
  void GetRange(int& lower, int& upper) const;
  // The previous position.
  int SetPos(int position);
  int GetPos() const;
  void SetStep(int step);
  // Advances by the step; the previous position.
  int StepIt();

 private:
  LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return ::SendMessageW(m_hWnd, message, wParam, lParam);
  }
};

}  // namespace qm::fw
