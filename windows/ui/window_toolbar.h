#pragma once
// The toolbar buttons the window list and the child-window tree share:
// which command is which action on the selected window, and the buttons'
// state for that window.

#include <optional>

#include "common/ui/dialog_toolbar.h"
#include "windows/window_actions.h"

namespace qm {

// The action of a toolbar command (3107 to 3112); none for other commands.
std::optional<WindowAction> WindowActionOfCommand(UINT command);
// Capture, the toggles, the placement buttons and close; with
// processButtons also the child tree, modules and threads buttons.
void ShowWindowButtons(CDialogToolBar& toolbar, const WindowButtons& buttons, bool processButtons);
// "%d %s" of a count and the string-table text after it.
std::wstring CountText(int count, uint32_t stringId);

}  // namespace qm
