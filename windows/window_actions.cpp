#include "windows/window_actions.h"

namespace qm {

int WindowImageIndex(const IWindowSystem& windows, WindowHandle window) {
  const bool visible = windows.IsWindowVisible(window);
  if (windows.GetParent(window) == 0) return visible ? kImageWindowVisible : kImageWindowHidden;
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

}  // namespace qm
