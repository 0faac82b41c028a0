#pragma once
// The frame's way of opening one feature's dialog from another's: it alone
// knows both the window tools and the process tools.

#include "common/ui/tool_launcher.h"
#include "platform/platform.h"
#include "platform/win32/win.h"

// After <windows.h>, which it needs.
#include <commctrl.h>

namespace qm {

class CFrameToolLauncher : public IToolLauncher {
 public:
  // images: the program's shared small icons, not owned.
  CFrameToolLauncher(Platform& platform, HIMAGELIST images) : platform_(platform), images_(images) {}

  std::optional<WindowHandle> PickWindowOfProcess(HWND owner, uint32_t processId) override;
  void ShowProcessOfWindow(HWND owner, WindowHandle window, int initialTab) override;

 private:
  Platform& platform_;
  HIMAGELIST images_;
};

}  // namespace qm
