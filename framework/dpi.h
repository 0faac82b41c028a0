#pragma once
// What the program draws in pixels follows the DPI of the window it draws
// in: the manifest declares per-monitor awareness (an inspector must see
// other programs' true rectangles), so nothing is scaled for us.

#include "framework/wnd.h"

namespace qm::fw {

// The DPI of a window: GetDpiForWindow where user32 has it (bound
// at run time), else the screen's LOGPIXELSX; 96 for a null window.
UINT DpiForWindow(HWND window);
// A length in 96-DPI pixels at that DPI (MulDiv, rounded).
int ScaleForDpi(int pixels, UINT dpi);
// The BITMAP resource to use for a toolbar at that DPI: the 200%
// drawing from 192 DPI, the 150% one from 144, else id itself —
// falling back to id when the module lacks the larger one.
UINT ToolbarBitmapFor(HINSTANCE instance, UINT id, UINT dpi);
// The button image size for that choice (16x15, 24x22, 32x30...).
SIZE ToolbarImageSizeFor(HINSTANCE instance, UINT id, UINT dpi);

}  // namespace qm::fw
