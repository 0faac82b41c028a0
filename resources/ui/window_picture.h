#pragma once
// A picture of a window and its controls as they would show on the screen,
// taken without copying from the screen (the window may lie outside it).
// Each window prints itself into a bitmap of its own size, its children one
// by one after it; a frame that the system leaves unpainted when asked to
// print (Wine paints no frames, captions or borders) is drawn here from the
// window's styles.

#include "platform/win32/win.h"
#include "resources/ui/gdi_handles.h"

namespace qm {

// A bitmap compatible with the screen, as large as the window; null when
// the window has no size or a bitmap cannot be made. The window and its
// children should be shown (off the screen will do): hidden controls draw
// nothing on some systems.
BitmapHandle PictureOfWindow(HWND window);

}  // namespace qm
