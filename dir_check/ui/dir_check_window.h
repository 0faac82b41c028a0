#pragma once
// The directory check's window: asks for a folder or drive, walks it on a
// worker thread with progress and a cancel button, then lists every file
// with its size and date, the totals and the problems found. The window
// keeps the server alive while it is open.

#include <atomic>
#include <mutex>
#include <thread>

#include "dir_check/dir_walk.h"
#include "framework/tool_window.h"

// After <windows.h> (through tool_window.h), which it needs.
#include <commctrl.h>

namespace qm::dircheck {

class CDirCheckWindow : public fw::WithMessageTable<CDirCheckWindow, fw::CToolWindow> {
 public:
  // The class's own messages, answered before the base class's.
  static fw::MessageTable<CDirCheckWindow> Messages();
  CDirCheckWindow();
  ~CDirCheckWindow() override;

  // Starts a walk of folder (what "Comprobar" does with the edit's text).
  void StartWalk(const std::string& folder);
  bool IsWalking() const { return worker_.joinable(); }
  // The last finished walk.
  const WalkResult& Result() const { return result_; }

 protected:
  BOOL OnInitDialog() override;
  void OnOK() override;

 private:
  LRESULT OnBrowse(WPARAM, LPARAM);
  LRESULT OnStop(WPARAM, LPARAM);
  LRESULT OnProgress(WPARAM, LPARAM);
  LRESULT OnDone(WPARAM, LPARAM);
  LRESULT OnDestroy(WPARAM, LPARAM);
  LRESULT OnFileText(NMLVDISPINFOW& info);
  void StopWalk();
  void SetWalking(bool walking);
  void ShowProblems();

  std::thread worker_;
  std::atomic<bool> cancel_{false};
  std::atomic<bool> progressPosted_{false};
  std::mutex mutex_;
  WalkProgress progress_;  // under mutex_
  WalkResult walked_;      // under mutex_, handed over when the walk ends
  WalkResult result_;
  std::wstring cellText_;  // the list asks for one cell at a time
};

}  // namespace qm::dircheck
