#pragma once
// Opens one feature's dialog from another feature's: the processes dialog
// shows a process's windows, the window list shows a window's process. The
// frame implements it, so the features' user interfaces never include each
// other.

#include <cstdint>
#include <optional>

#include "platform/win32/win.h"
#include "platform/windows.h"

namespace qm {

class IToolLauncher {
 public:
  virtual ~IToolLauncher() = default;

  // The child-window tree of a process's top-level windows, modal to
  // `owner`. None when the process has no window (the user was told); else
  // the window picked (0 when the tree was closed without a pick).
  virtual std::optional<WindowHandle> PickWindowOfProcess(HWND owner, uint32_t processId) = 0;

  // The information of the process that owns `window`, on the modules tab
  // (0) or the threads tab (1), modal to `owner`.
  virtual void ShowProcessOfWindow(HWND owner, WindowHandle window, int initialTab) = 0;

  // The message log of `window`: a window of its own that stays open after
  // the dialog that asked for it closes.
  virtual void ShowMessageLog(WindowHandle window) = 0;

  // Flashes the outline round `window` on screen: the window the user just
  // selected in a list. A newer flash replaces the older; a launcher
  // without an outline does nothing.
  virtual void HighlightWindow(WindowHandle window) { (void)window; }
};

}  // namespace qm
