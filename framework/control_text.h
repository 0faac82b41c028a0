#pragma once
// A control's text in UTF-8, read whole whatever its length.

#include <string>

#include "platform/win32/win.h"

namespace qm::fw {

// Empty for a window without text or one that has gone.
std::string ControlText(HWND control);
// The text of the dialog's control of that ID.
std::string DlgItemText(HWND dialog, int controlId);

}  // namespace qm::fw
