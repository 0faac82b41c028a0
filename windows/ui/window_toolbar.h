#pragma once
// The toolbar buttons the window list and the child-window tree share:
// which command is which action on the selected window, and the buttons'
// state for that window.

#include <optional>

#include "common/ui/dialog_toolbar.h"
#include "platform/platform.h"
#include "windows/window_actions.h"

namespace qm {

// The selected window may be minimised, hidden or closed from outside at any
// time, with no input to the dialog at all: the buttons are asked again on
// this timer as well as on every selection change and action.
constexpr UINT_PTR IDT_WINDOW_BUTTONS = 2004;
constexpr UINT kWindowButtonsMs = 500;

// The action of a toolbar command (3107 to 3112); none for other commands.
std::optional<WindowAction> WindowActionOfCommand(UINT command);
// Capture, the toggles, the placement buttons and close; with
// processButtons also the child tree, modules and threads buttons.
void ShowWindowButtons(CDialogToolBar& toolbar, const WindowButtons& buttons, bool processButtons);
// The action of a toolbar command on the selected window, from a modal
// dialog of this program: refused with a message when it would take away
// a window the program's user interface (the dialog's root owner, the
// frame) stands on. False when refused.
bool DoToolbarWindowAction(Platform& platform, HWND dialog, WindowHandle window, WindowAction action);

}  // namespace qm
