#include "windows/ui/window_toolbar.h"

#include "platform/platform.h"
#include "res/resource_ids.h"

namespace qm {

std::optional<WindowAction> WindowActionOfCommand(UINT command) {
  switch (command) {
    case IDC_TOGGLE_ENABLED:
      return WindowAction::ToggleEnabled;
    case IDC_TOGGLE_VISIBLE:
      return WindowAction::ToggleVisible;
    case IDC_MAXIMIZE:
      return WindowAction::Maximize;
    case IDC_MINIMIZE:
      return WindowAction::Minimize;
    case IDC_RESTORE:
      return WindowAction::Restore;
    case IDC_CLOSE_WINDOW:
      return WindowAction::Close;
    default:
      return std::nullopt;
  }
}

void ShowWindowButtons(CDialogToolBar& toolbar, const WindowButtons& buttons, bool processButtons) {
  for (UINT command : {IDC_CAPTURE, IDC_MESSAGES, IDC_TOGGLE_ENABLED, IDC_TOGGLE_VISIBLE, IDC_CLOSE_WINDOW})
    toolbar.EnableButton(command, buttons.valid);
  if (processButtons) {
    for (UINT command : {IDC_CHILD_WINDOWS, IDC_MODULES, IDC_THREADS}) toolbar.EnableButton(command, buttons.valid);
  }
  toolbar.EnableButton(IDC_MAXIMIZE, buttons.canMaximize);
  toolbar.EnableButton(IDC_MINIMIZE, buttons.canMinimize);
  toolbar.EnableButton(IDC_RESTORE, buttons.canRestore);
  toolbar.CheckButton(IDC_TOGGLE_ENABLED, buttons.enabledChecked);
  toolbar.CheckButton(IDC_TOGGLE_VISIBLE, buttons.visibleChecked);
}

bool DoToolbarWindowAction(Platform& platform, HWND dialog, WindowHandle window, WindowAction action) {
  HWND root = ::GetAncestor(dialog, GA_ROOTOWNER);
  return DoWindowActionFromModalDialog(platform, window, action, static_cast<uint32_t>(::GetCurrentProcessId()),
                                       static_cast<WindowHandle>(reinterpret_cast<uintptr_t>(root)));
}

}  // namespace qm
