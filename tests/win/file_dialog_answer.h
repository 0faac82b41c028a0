#pragma once
// Answers the system's open- and save-file dialogs from inside their modal
// loop, as a user typing a path and pressing Enter.
#include <chrono>
#include <string>
#include <utility>

#include "platform/win32/win.h"

// After <windows.h>, which it needs.
#include <dlgs.h>

namespace qm {

namespace file_dialog_detail {
struct Search {
  const std::wstring* path;
  bool done;
};
// A named callback, as the 32-bit calling convention needs.
inline BOOL CALLBACK AnswerIfFileDialog(HWND window, LPARAM context) {
  auto* search = reinterpret_cast<Search*>(context);
  wchar_t className[32] = {};
  ::GetClassNameW(window, className, 32);
  if (!::IsWindowVisible(window) || std::wstring(className) != L"#32770") return TRUE;
  // The name box: a combo box (cmb13) in the explorer style, an edit (edt1) in the old one.
  HWND name = ::GetDlgItem(window, cmb13);
  if (!name) name = ::GetDlgItem(window, edt1);
  if (!name) return TRUE;
  ::SetWindowTextW(name, search->path->c_str());
  ::PostMessageW(window, WM_COMMAND, IDOK, 0);
  search->done = true;
  return FALSE;
}
}  // namespace file_dialog_detail

// Answers the file dialog this thread shows now, whatever its caption (it is
// the system's); false when none is up yet.
inline bool AnswerFileDialog(const std::wstring& path) {
  file_dialog_detail::Search search{&path, false};
  ::EnumThreadWindows(::GetCurrentThreadId(), &file_dialog_detail::AnswerIfFileDialog,
                      reinterpret_cast<LPARAM>(&search));
  return search.done;
}

// Answers the next file dialog of this thread from a timer, every
// `periodMs`, while the object lives.
class FileDialogAnswer {
 public:
  explicit FileDialogAnswer(std::wstring path, UINT periodMs = 50) {
    path_ = std::move(path);
    answered_ = false;
    timer_ = ::SetTimer(nullptr, 0, periodMs, &FileDialogAnswer::OnTimer);
  }
  ~FileDialogAnswer() { ::KillTimer(nullptr, timer_); }
  FileDialogAnswer(const FileDialogAnswer&) = delete;
  FileDialogAnswer& operator=(const FileDialogAnswer&) = delete;
  bool Answered() const { return answered_; }
  // When the name was typed and OK posted.
  static std::chrono::steady_clock::time_point AnsweredAt() { return answeredAt_; }

 private:
  static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD) {
    if (answered_ || !AnswerFileDialog(path_)) return;
    answered_ = true;
    answeredAt_ = std::chrono::steady_clock::now();
  }
  static inline std::wstring path_;
  static inline bool answered_ = false;
  static inline std::chrono::steady_clock::time_point answeredAt_;
  UINT_PTR timer_ = 0;
};

}  // namespace qm
