#pragma once
// Drives modal dialogs and message boxes from inside their own modal loop:
// each step waits for a visible top-level window of this thread with the
// given caption, then acts on it (reads it, clicks, closes it). A thread
// timer runs the steps, so the code under test calls DoModal or
// MessageBox exactly as the program does.
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/win32/win.h"

namespace qm {

class ModalDriver {
 public:
  using Action = std::function<void(HWND)>;

  ModalDriver() {
    current_ = this;
    timer_ = ::SetTimer(nullptr, 0, 20, &ModalDriver::OnTimer);
  }
  ~ModalDriver() {
    ::KillTimer(nullptr, timer_);
    current_ = nullptr;
  }
  ModalDriver(const ModalDriver&) = delete;
  ModalDriver& operator=(const ModalDriver&) = delete;

  // Adds a step: when a window titled caption shows, act on it.
  ModalDriver& On(std::wstring caption, Action action) {
    steps_.push_back({std::move(caption), std::move(action)});
    return *this;
  }
  // Steps done so far.
  size_t Done() const { return done_; }
  bool AllDone() const { return done_ == steps_.size(); }

  // Ends a dialog or message box as its button would.
  static void Press(HWND window, int button) { ::PostMessageW(window, WM_COMMAND, static_cast<WPARAM>(button), 0); }

 private:
  struct Step {
    std::wstring caption;
    Action action;
  };

  static BOOL CALLBACK FindCaption(HWND window, LPARAM context) {
    auto* found = reinterpret_cast<std::pair<const std::wstring*, HWND>*>(context);
    wchar_t text[256] = {};
    ::GetWindowTextW(window, text, 256);
    if (::IsWindowVisible(window) && *found->first == text) {
      found->second = window;
      return FALSE;
    }
    return TRUE;
  }

  static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD) {
    ModalDriver* self = current_;
    if (!self || self->busy_ || self->done_ >= self->steps_.size()) return;
    std::pair<const std::wstring*, HWND> found{&self->steps_[self->done_].caption, nullptr};
    ::EnumThreadWindows(::GetCurrentThreadId(), &ModalDriver::FindCaption, reinterpret_cast<LPARAM>(&found));
    if (!found.second) return;
    // An action that pumps messages (a nested modal run) would starve the
    // later steps: actions post what opens another dialog.
    self->busy_ = true;
    const size_t step = self->done_++;
    self->steps_[step].action(found.second);
    self->busy_ = false;
  }

  static inline ModalDriver* current_ = nullptr;
  std::vector<Step> steps_;
  size_t done_ = 0;
  bool busy_ = false;
  UINT_PTR timer_ = 0;
};

}  // namespace qm
