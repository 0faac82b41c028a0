#pragma once
// The window of a tool served through automation: a modeless dialog that
// keeps the server process alive from its start to its destruction, shows
// again (restored, in front) when asked a second time, and closes on Escape
// and on its close box.

#include "framework/dialog.h"

namespace qm::fw {

class CToolWindow : public CDialog {
 public:
  CToolWindow(UINT templateId, UINT iconId) : templateId_(templateId), iconId_(iconId) {}

  // Opens the window, or brings it forward when it is open.
  bool Show();

 protected:
  // Holds the server and sets the window's icon; derived windows call it
  // first from OnInitDialog, and EndToolWindow from their WM_DESTROY.
  void BeginToolWindow();
  void EndToolWindow();
  void OnCancel() override;

 private:
  UINT templateId_;
  UINT iconId_;
};

}  // namespace qm::fw
