#pragma once
// The frame's way of opening one feature's dialog from another's: it alone
// knows both the window tools and the process tools.

#include <functional>

#include "common/ui/tool_launcher.h"
#include "platform/platform.h"
#include "platform/win32/win.h"

// After <windows.h>, which it needs.
#include <commctrl.h>

namespace qm {

class CFrameToolLauncher : public IToolLauncher {
 public:
  // images: the program's shared small icons, not owned; openMessageLog
  // opens the frame's log window on a window, highlightWindow flashes the
  // frame's outline round one.
  CFrameToolLauncher(Platform& platform, HIMAGELIST images, std::function<void(WindowHandle)> openMessageLog = {},
                     std::function<void(WindowHandle)> highlightWindow = {})
      : platform_(platform),
        images_(images),
        openMessageLog_(std::move(openMessageLog)),
        highlightWindow_(std::move(highlightWindow)) {}

  std::optional<WindowHandle> PickWindowOfProcess(HWND owner, uint32_t processId) override;
  void ShowProcessOfWindow(HWND owner, WindowHandle window, int initialTab) override;
  void ShowMessageLog(WindowHandle window) override;
  void HighlightWindow(WindowHandle window) override;

 private:
  Platform& platform_;
  HIMAGELIST images_;
  std::function<void(WindowHandle)> openMessageLog_;
  std::function<void(WindowHandle)> highlightWindow_;
};

}  // namespace qm
