#pragma once
// Answers the system's open-file dialog from inside its modal loop, as a
// user typing a path and pressing Enter.
#include <string>
#include <utility>

#include "platform/win32/win.h"

// After <windows.h>, which it needs.
#include <dlgs.h>

namespace qm {

// Answers the open-file dialog of this thread, whatever its caption (it is
// the system's): types the path into its name box and accepts.
class FileDialogAnswer {
 public:
  explicit FileDialogAnswer(std::wstring path) {
    path_ = std::move(path);
    answered_ = false;
    timer_ = ::SetTimer(nullptr, 0, 50, &FileDialogAnswer::OnTimer);
  }
  ~FileDialogAnswer() { ::KillTimer(nullptr, timer_); }
  FileDialogAnswer(const FileDialogAnswer&) = delete;
  FileDialogAnswer& operator=(const FileDialogAnswer&) = delete;
  bool Answered() const { return answered_; }

 private:
  static BOOL CALLBACK Find(HWND window, LPARAM) {
    wchar_t className[32] = {};
    ::GetClassNameW(window, className, 32);
    if (!::IsWindowVisible(window) || std::wstring(className) != L"#32770") return TRUE;
    // The name box: a combo box (cmb13) in the explorer style, an edit (edt1) in the old one.
    HWND name = ::GetDlgItem(window, cmb13);
    if (!name) name = ::GetDlgItem(window, edt1);
    if (!name) return TRUE;
    ::SetWindowTextW(name, path_.c_str());
    ::PostMessageW(window, WM_COMMAND, IDOK, 0);
    answered_ = true;
    return FALSE;
  }
  static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD) {
    if (!answered_) ::EnumThreadWindows(::GetCurrentThreadId(), &FileDialogAnswer::Find, 0);
  }
  static inline std::wstring path_;
  static inline bool answered_ = false;
  UINT_PTR timer_ = 0;
};

}  // namespace qm
