#include "app/enabling.h"

#include "processes/process_info.h"
#include "res/resource_ids.h"
#include "windows/window_array.h"

namespace qm {

CaptureCommands::CaptureCommands(Platform& platform) : platform_(platform), windows_(*platform.windows) {}

bool CaptureCommands::IsValid(WindowHandle captured) const { return captured != 0 && windows_.IsWindow(captured); }

uint32_t CaptureCommands::ProcessIdOf(WindowHandle window) const {
  // The process is read as the document reads it; its ID is the one asked
  // for even when the process cannot be opened.
  CProcessInfo process(platform_, ProcessSource::Psapi);
  process.ReadProcess(ProcessIdFromWindow(platform_, window));
  return process.m_dwProcessId;
}

CommandState CaptureCommands::Rule(uint32_t command, WindowHandle captured,
                                   const ComponentAvailability& components) const {
  switch (command) {
    case ID_CAPTURE_WINDOW:
    case ID_WINDOW_LIST:
    case ID_FIND_WINDOW:
    case ID_PROCESS_LIST:
    case ID_PROCESS_TREE:
    case ID_MODULE_GENERAL_DATA:
    case ID_MODULE_HEADERS:
    case ID_MODULE_RESOURCES:
      return {true, {}};
    case ID_DIRECTORY_CHECK:
      return {components.dirCheck, {}};
    case ID_SERVICES_MANAGER:
      return {components.services, {}};
    default:
      break;
  }

  const bool valid = IsValid(captured);
  // Each query below runs only on a live window, so a vanished one never
  // reaches the window system with a stale handle.
  auto enabled = [&] { return windows_.IsWindowEnabled(captured); };
  auto visible = [&] { return windows_.IsWindowVisible(captured); };
  switch (command) {
    case ID_ENABLE_WINDOW:
      return {valid && !enabled(), {}};
    case ID_DISABLE_WINDOW:
      return {valid && enabled(), {}};
    case ID_TOGGLE_ENABLED:
      return {valid, valid && enabled()};
    case ID_SHOW_WINDOW:
      return {valid && !visible(), {}};
    case ID_HIDE_WINDOW:
    case ID_REPAINT_WINDOW:
      return {valid && visible(), {}};
    case ID_TOGGLE_VISIBLE:
      return {valid, valid && visible()};
    case ID_MAXIMIZE_WINDOW:
      return {valid && visible() && !windows_.IsZoomed(captured), {}};
    case ID_MINIMIZE_WINDOW:
      return {valid && visible() && !windows_.IsIconic(captured), {}};
    case ID_RESTORE_WINDOW:
      return {valid && visible() && (windows_.IsZoomed(captured) || windows_.IsIconic(captured)), {}};
    case ID_CLOSE_WINDOW:
    case ID_WINDOW_PROPERTIES:
    case ID_EDIT_STYLES:
    case ID_EDIT_EXSTYLES:
    case ID_CLASS_STYLES:
    case ID_CHILD_WINDOWS:
    case ID_MESSAGE_LOG:
    case ID_HIGHLIGHT_WINDOW:
      return {valid, {}};
    case ID_CAPTURE_PARENT:
    case ID_CAPTURE_OWNER:
    case ID_CAPTURE_NEXT:
    case ID_CAPTURE_PREVIOUS:
      return {RelatedWindow(command, captured) != 0, {}};
    case ID_WINDOW_MENU:
      return {valid && windows_.GetMenu(captured) != 0, {}};
    case ID_PROCESS_DATA:
      return {valid && ProcessIdOf(captured) != 0, {}};
    case ID_CLASS_ICONS:
      return {valid && (windows_.GetClassLongPtr(captured, GCL_HICON) != 0 ||
                        windows_.GetClassLongPtr(captured, GCL_HICONSM) != 0),
              {}};
    default:
      return {false, {}};
  }
}

WindowHandle CaptureCommands::RelatedWindow(uint32_t command, WindowHandle captured) const {
  if (!IsValid(captured)) return 0;
  switch (command) {
    case ID_CAPTURE_PARENT:
      return windows_.GetParent(captured);
    case ID_CAPTURE_OWNER:
      return windows_.GetWindow(captured, GW_OWNER);
    case ID_CAPTURE_NEXT:
      return windows_.GetWindow(captured, GW_HWNDNEXT);
    case ID_CAPTURE_PREVIOUS:
      return windows_.GetWindow(captured, GW_HWNDPREV);
    default:
      return 0;
  }
}

bool CaptureCommands::Act(uint32_t command, WindowHandle captured) {
  if (!IsValid(captured)) return false;
  const WindowHandle h = captured;
  switch (command) {
    case ID_ENABLE_WINDOW:
      if (windows_.IsWindowEnabled(h)) return false;
      windows_.EnableWindow(h, true);
      return true;
    case ID_DISABLE_WINDOW:
      if (!windows_.IsWindowEnabled(h)) return false;
      windows_.EnableWindow(h, false);
      return true;
    case ID_TOGGLE_ENABLED:
      windows_.EnableWindow(h, !windows_.IsWindowEnabled(h));
      return true;
    case ID_SHOW_WINDOW:
      if (windows_.IsWindowVisible(h)) return false;
      windows_.ShowWindow(h, SW_SHOW);
      return true;
    case ID_HIDE_WINDOW:
      if (!windows_.IsWindowVisible(h)) return false;
      windows_.ShowWindow(h, SW_HIDE);
      return true;
    case ID_TOGGLE_VISIBLE:
      windows_.ShowWindow(h, windows_.IsWindowVisible(h) ? SW_HIDE : SW_SHOW);
      return true;
    case ID_REPAINT_WINDOW:
      if (!windows_.IsWindowVisible(h)) return false;
      windows_.InvalidateRect(h, nullptr, true);
      return true;
    case ID_MAXIMIZE_WINDOW:
      if (!windows_.IsWindowVisible(h) || windows_.IsZoomed(h)) return false;
      windows_.ShowWindow(h, SW_SHOWMAXIMIZED);
      return true;
    case ID_MINIMIZE_WINDOW:
      if (!windows_.IsWindowVisible(h) || windows_.IsIconic(h)) return false;
      windows_.ShowWindow(h, SW_MINIMIZE);
      return true;
    case ID_RESTORE_WINDOW:
      if (!windows_.IsWindowVisible(h) || !(windows_.IsIconic(h) || windows_.IsZoomed(h))) return false;
      windows_.ShowWindow(h, SW_RESTORE);
      return true;
    case ID_CLOSE_WINDOW:
      // Posted, so a window that asks its user does not block the frame.
      windows_.PostMessage(h, WM_SYSCOMMAND, SC_CLOSE, 0);
      return true;
    default:
      return false;
  }
}

std::optional<WindowHandle> CaptureCommands::FindCaptureTarget(Point point) const {
  const WindowHandle under = windows_.WindowFromPoint(point);
  if (under == 0) return std::nullopt;
  WindowHandle target = under;
  // WindowFromPoint passes over disabled and hidden children (a disabled
  // button answers for its dialog), so the descendants are tested by
  // rectangle alone; the last one holding the point is the deepest or the
  // topmost-drawn in the platform's order.
  CWindowArray descendants(windows_, under);
  const int count = descendants.EnumChildren(true);
  for (int i = 0; i < count; ++i) {
    Rect rect;
    const WindowHandle child = descendants.m_handles[static_cast<size_t>(i)];
    if (windows_.GetWindowRect(child, rect) && PtInRect(rect, point)) target = child;
  }
  return target;
}

}  // namespace qm
