#include "windows/window_edits.h"

#include "res/string_ids.h"

namespace qm {

namespace {
bool UserAgrees(const Platform& platform, uint32_t questionId) {
  return platform.messageBox->MessageBox(platform.strings->LoadString(questionId), MB_YESNO_ | MB_ICONQUESTION_) ==
         IDYES_;
}
}  // namespace

EditOutcome ApplyStyleWord(const Platform& platform, WindowHandle window, StyleKind kind, uint32_t word) {
  int index = 0;
  if (kind >= kWindowStyles && kind <= kDialogStyles)
    index = GWL_STYLE;
  else if (kind == kExtendedStyles)
    index = GWL_EXSTYLE;
  else
    return EditOutcome::NotApplicable;
  IWindowSystem& windows = *platform.windows;
  if (window == 0 || !windows.IsWindow(window)) return EditOutcome::NotAWindow;
  if (!UserAgrees(platform, IDS_CONFIRM_STYLE_CHANGE)) return EditOutcome::Declined;
  windows.SetWindowLongPtr(window, index, word);
  // Only a repaint: the frame is not recalculated.
  windows.InvalidateRect(window, nullptr, true);
  return EditOutcome::Applied;
}

WindowProperties ReadWindowProperties(const IWindowSystem& windows, WindowHandle window) {
  WindowProperties properties;
  if (window == 0 || !windows.IsWindow(window)) return properties;
  properties.title = windows.GetWindowText(window, windows.GetWindowTextLength(window) + 1);
  if (!windows.GetWindowRect(window, properties.window)) properties.window = {};
  if (!windows.GetClientRect(window, properties.client)) properties.client = {};
  properties.maximised = windows.IsZoomed(window);
  properties.minimised = windows.IsIconic(window);
  properties.enabled = windows.IsWindowEnabled(window);
  properties.visible = windows.IsWindowVisible(window);
  return properties;
}

void OnPlacementBoxClicked(WindowProperties& properties, PlacementBox clicked) {
  if (!properties.maximised || !properties.minimised) return;
  if (clicked == PlacementBox::Maximised)
    properties.minimised = false;
  else
    properties.maximised = false;
}

EditOutcome ApplyWindowProperties(const Platform& platform, WindowHandle window, const WindowProperties& properties) {
  if (!UserAgrees(platform, IDS_CONFIRM_PROPERTIES_CHANGE)) return EditOutcome::Declined;
  IWindowSystem& windows = *platform.windows;
  if (window == 0 || !windows.IsWindow(window)) return EditOutcome::NotAWindow;
  windows.SetWindowText(window, properties.title);
  const Rect& r = properties.window;
  if (properties.minimised)
    windows.ShowWindow(window, SW_SHOWMINIMIZED);
  else if (properties.maximised)
    windows.ShowWindow(window, SW_SHOWMAXIMIZED);
  else if (r.left >= 0 && r.top >= 0 && r.right >= 0 && r.bottom >= 0)
    windows.MoveWindow(window, r.left, r.top, r.right - r.left, r.bottom - r.top, true);
  else  // a window partly off-screen or minimised: its rectangle is no place to put it
    windows.ShowWindow(window, SW_RESTORE);
  windows.ShowWindow(window, properties.visible ? SW_SHOW : SW_HIDE);
  windows.EnableWindow(window, properties.enabled);
  return EditOutcome::Applied;
}

}  // namespace qm
