#include "app/ui/window_highlighter.h"

namespace qm {

CWindowHighlighter::~CWindowHighlighter() { Hide(); }

Rect CWindowHighlighter::ScreenRect() {
  const int left = ::GetSystemMetrics(SM_XVIRTUALSCREEN);
  const int top = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
  return {left, top, left + ::GetSystemMetrics(SM_CXVIRTUALSCREEN), top + ::GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

void CWindowHighlighter::Draw(const WindowOutline& outline) {
  const SIZE size = outline_.MeasureLabel(outline.label);
  const Rect label = PlaceOutlineLabel(outline.frame, size.cx, size.cy, ScreenRect());
  if (!outline_.Show(outline.bars, outline.label, label)) outline_.Hide();
}

void CWindowHighlighter::Show(const std::optional<WindowOutline>& outline) {
  StopFlash();
  if (outline) {
    Draw(*outline);
  } else {
    outline_.Hide();
  }
}

void CWindowHighlighter::Hide() {
  StopFlash();
  outline_.Hide();
}

void CWindowHighlighter::StopFlash() {
  if (!flash_.Running()) return;
  flash_.Stop();
  if (timerWindow_ && ::IsWindow(timerWindow_)) ::KillTimer(timerWindow_, IDT_OUTLINE_FLASH);
}

void CWindowHighlighter::Flash(WindowHandle window) {
  Hide();
  const auto outline = OutlineOf(*platform_.strings, *platform_.windows, window, ScreenRect());
  if (!outline || !timerWindow_) return;
  flash_.Start(window);
  Draw(*outline);
  ::SetTimer(timerWindow_, IDT_OUTLINE_FLASH, OutlineFlash::kFlashPhaseMs, nullptr);
}

void CWindowHighlighter::OnFlashTimer() {
  // A tick queued before the flash was stopped (by a drag) leaves alone
  // the outline shown now.
  if (!flash_.Running()) {
    if (timerWindow_) ::KillTimer(timerWindow_, IDT_OUTLINE_FLASH);
    return;
  }
  if (!flash_.Advance()) {
    Hide();
    return;
  }
  if (!flash_.Visible()) {
    outline_.Hide();
    return;
  }
  // Read again at each show: the window may have moved or gone meanwhile.
  const auto outline = OutlineOf(*platform_.strings, *platform_.windows, flash_.Window(), ScreenRect());
  if (!outline) {
    Hide();
    return;
  }
  Draw(*outline);
}

}  // namespace qm
