#pragma once
// The frame's outline on screen: round the window under the pointer while
// the user drags to capture, and flashed round a window picked in a list or
// asked for by "Resaltar ventana". One outline for the whole program, so a
// newer flash (or a drag) takes it over from the older one.

#include <optional>

#include "framework/screen_outline.h"
#include "platform/platform.h"
#include "windows/window_outline.h"

namespace qm {

// The flash's phases run on this timer of the window given to SetTimerWindow.
constexpr UINT_PTR IDT_OUTLINE_FLASH = 277;

class CWindowHighlighter {
 public:
  explicit CWindowHighlighter(Platform& platform) : platform_(platform) {}
  ~CWindowHighlighter();
  CWindowHighlighter(const CWindowHighlighter&) = delete;
  CWindowHighlighter& operator=(const CWindowHighlighter&) = delete;

  // The window whose timer IDT_OUTLINE_FLASH paces a flash (the frame);
  // it hands the timer's ticks to OnFlashTimer.
  void SetTimerWindow(HWND window) { timerWindow_ = window; }

  // Shows this outline, moving the one on screen; none hides it. Stops a
  // flash that runs.
  void Show(const std::optional<WindowOutline>& outline);
  // Removes the outline and stops a flash.
  void Hide();
  // Flashes the outline round the window; a window that has gone or is off
  // the screen shows nothing.
  void Flash(WindowHandle window);
  void OnFlashTimer();

  bool IsFlashing() const { return flash_.Running(); }
  const fw::CScreenOutline& Outline() const { return outline_; }

  // The whole desktop, every monitor.
  static Rect ScreenRect();

 private:
  void Draw(const WindowOutline& outline);
  void StopFlash();

  Platform& platform_;
  HWND timerWindow_ = nullptr;
  OutlineFlash flash_;
  fw::CScreenOutline outline_;
};

}  // namespace qm
