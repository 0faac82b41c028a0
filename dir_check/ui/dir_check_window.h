#pragma once
// The directory check's window: asks for a folder or drive, walks it on a
// worker thread with progress and a cancel button, then lists every file
// with its size and date, the totals and the problems found. The window
// keeps the server alive while it is open.

#include <string>

#include "dir_check/dir_walk.h"
#include "dir_check/walk_runner.h"
#include "framework/list_view.h"
#include "framework/tool_window.h"
#include "platform/win32/win32_system.h"

// After <windows.h> (through tool_window.h), which it needs.
#include <commctrl.h>

namespace qm::dircheck {

class CDirCheckWindow : public fw::WithMessageTable<CDirCheckWindow, fw::CToolWindow> {
 public:
  // The class's own messages, answered before the base class's.
  static fw::MessageTable<CDirCheckWindow> Messages();
  // Messages go to messageBox, the window's own boxes when none.
  explicit CDirCheckWindow(IMessageBox* messageBox = nullptr);
  ~CDirCheckWindow() override;

  // Starts a walk of folder (what "Comprobar" does with the edit's text).
  void StartWalk(const std::string& folder);
  bool IsWalking() const { return runner_.IsWalking(); }
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
  void SetWalking(bool walking);
  void ShowProblems();

  Win32MessageBox ownMessageBox_{L"Turmidex"};
  IMessageBox& messageBox_;
  WalkRunner runner_;
  WalkResult result_;
  fw::CListCtrl files_;
  fw::CListCtrl problems_;
  std::wstring cellText_;  // the list asks for one cell at a time
};

}  // namespace qm::dircheck
