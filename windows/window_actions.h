#pragma once
// What the window list and the child-window tree share: the image a window
// shows by parent and visibility, which toolbar buttons the selected window
// allows, and the actions the toolbar does on it.

#include <cstdint>

#include "common/shared_icons.h"
#include "platform/platform.h"
#include "platform/windows.h"

namespace qm {

// The images of the program's shared small icons a window shows.
constexpr int kImageWindowVisible = kIconWindow;
constexpr int kImageChildVisible = kIconChildWindow;
constexpr int kImageWindowHidden = kIconHiddenWindow;
constexpr int kImageChildHidden = kIconHiddenChild;

// A window without parent shows kImageWindowVisible/Hidden, one with a
// parent kImageChildVisible/Hidden (for a top-level window, GetParent gives
// its owner).
int WindowImageIndex(const IWindowSystem& windows, WindowHandle window);
// The same from what the caller has read already.
int WindowImageIndex(bool visible, bool hasParent);

struct WindowButtons {
  bool valid = false;  // a window is selected and it still exists
  bool canMaximize = false;
  bool canMinimize = false;
  bool canRestore = false;
  bool enabledChecked = false;
  bool visibleChecked = false;
  friend bool operator==(const WindowButtons&, const WindowButtons&) = default;
};

// Asked live of the window: nothing is remembered between two refreshes.
WindowButtons WindowButtonsFor(const IWindowSystem& windows, WindowHandle selected);

enum class WindowAction { ToggleEnabled, ToggleVisible, Maximize, Minimize, Restore, Close };

// Does the action; a window that has gone makes the platform call fail
// quietly. Close asks the window to close (WM_SYSCOMMAND SC_CLOSE posted),
// so its owner may still ask its user.
void DoWindowAction(IWindowSystem& windows, WindowHandle window, WindowAction action);

// While one of this program's modal dialogs runs, its frame is disabled and
// the dialog is the only window the user can reach: hiding, closing,
// minimising or disabling a window of its own process (ownProcessId) that
// its user interface stands on could leave no usable window at all, so
// those actions are refused. Its user interface is uiRoot (the frame, which
// owns every modal dialog) and every window whose parents and owners lead
// up to it. Showing, enabling, maximising and restoring stay allowed.
bool IsOwnWindowActionRefused(const IWindowSystem& windows, WindowHandle window, WindowAction action,
                              uint32_t ownProcessId, WindowHandle uiRoot);

// What the window list and the child tree do from their modal runs: the
// action, or the message that it was refused (false then).
bool DoWindowActionFromModalDialog(Platform& platform, WindowHandle window, WindowAction action, uint32_t ownProcessId,
                                   WindowHandle uiRoot);

}  // namespace qm
