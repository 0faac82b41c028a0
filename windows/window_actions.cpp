#include "windows/window_actions.h"

#include "res/string_ids.h"

namespace qm {

int WindowImageIndex(const IWindowSystem& windows, WindowHandle window) {
  return WindowImageIndex(windows.IsWindowVisible(window), windows.GetParent(window) != 0);
}

int WindowImageIndex(bool visible, bool hasParent) {
  if (!hasParent) return visible ? kImageWindowVisible : kImageWindowHidden;
  return visible ? kImageChildVisible : kImageChildHidden;
}

WindowButtons WindowButtonsFor(const IWindowSystem& windows, WindowHandle selected) {
  WindowButtons buttons;
  buttons.valid = selected != 0 && windows.IsWindow(selected);
  if (!buttons.valid) return buttons;
  buttons.enabledChecked = windows.IsWindowEnabled(selected);
  buttons.visibleChecked = windows.IsWindowVisible(selected);
  if (buttons.visibleChecked) {
    const bool zoomed = windows.IsZoomed(selected);
    const bool iconic = windows.IsIconic(selected);
    buttons.canMaximize = !zoomed;
    buttons.canMinimize = !iconic;
    buttons.canRestore = zoomed || iconic;
  }
  return buttons;
}

void DoWindowAction(IWindowSystem& windows, WindowHandle window, WindowAction action) {
  switch (action) {
    case WindowAction::ToggleEnabled:
      windows.EnableWindow(window, !windows.IsWindowEnabled(window));
      break;
    case WindowAction::ToggleVisible:
      windows.ShowWindow(window, windows.IsWindowVisible(window) ? SW_HIDE : SW_SHOW);
      break;
    case WindowAction::Maximize:
      windows.ShowWindow(window, SW_SHOWMAXIMIZED);
      break;
    case WindowAction::Minimize:
      windows.ShowWindow(window, SW_MINIMIZE);
      break;
    case WindowAction::Restore:
      windows.ShowWindow(window, SW_RESTORE);
      break;
    case WindowAction::Close:
      windows.PostMessage(window, WM_SYSCOMMAND, SC_CLOSE, 0);
      break;
  }
}

namespace {

// Whether window is uiRoot or hangs from it through parents and owners;
// the climb is bounded, as a broken chain of owners could loop.
bool HangsFrom(const IWindowSystem& windows, WindowHandle window, WindowHandle uiRoot) {
  constexpr int kMaxDepth = 256;
  for (int depth = 0; window != 0 && depth < kMaxDepth; ++depth) {
    if (window == uiRoot) return true;
    window = windows.GetParent(window);  // the owner, for a top-level window
  }
  return false;
}

}  // namespace

bool IsOwnWindowActionRefused(const IWindowSystem& windows, WindowHandle window, WindowAction action,
                              uint32_t ownProcessId, WindowHandle uiRoot) {
  if (window == 0 || uiRoot == 0 || !windows.IsWindow(window)) return false;
  uint32_t processId = 0;
  windows.GetWindowThreadProcessId(window, &processId);
  if (processId == 0 || processId != ownProcessId || !HangsFrom(windows, window, uiRoot)) return false;
  switch (action) {
    case WindowAction::ToggleEnabled:
      return windows.IsWindowEnabled(window);  // it would be disabled
    case WindowAction::ToggleVisible:
      return windows.IsWindowVisible(window);  // it would be hidden
    case WindowAction::Minimize:
    case WindowAction::Close:
      return true;
    case WindowAction::Maximize:
    case WindowAction::Restore:
      return false;
  }
  return false;
}

bool DoWindowActionFromModalDialog(Platform& platform, WindowHandle window, WindowAction action, uint32_t ownProcessId,
                                   WindowHandle uiRoot) {
  if (IsOwnWindowActionRefused(*platform.windows, window, action, ownProcessId, uiRoot)) {
    platform.messageBox->MessageBox(platform.strings->LoadString(IDS_OWN_WINDOW_ACTION_REFUSED), MB_ICONEXCLAMATION_);
    return false;
  }
  DoWindowAction(*platform.windows, window, action);
  return true;
}

}  // namespace qm
