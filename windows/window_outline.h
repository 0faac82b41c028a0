#pragma once
// The outline that shows a window on screen without touching it: four bars
// of kOutlineWidth pixels along the inside of the window's rectangle (cut
// to the screen, so a maximised window keeps all four sides in sight), a
// label beside them with the window's handle, class and title, and the
// schedule of a flash. The windows that draw it are the user interface's;
// what they show is decided here.

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/system.h"
#include "platform/windows.h"

namespace qm {

constexpr int32_t kOutlineWidth = 3;

struct WindowOutline {
  WindowHandle window = 0;
  // The part of the window's rectangle on the screen.
  Rect frame;
  // Top, bottom, left, right; each inside frame.
  std::array<Rect, 4> bars;
  std::string label;
  friend bool operator==(const WindowOutline&, const WindowOutline&) = default;
};

// The bars inside window cut to screen; none when no pixel of the window is
// on the screen. A window thinner than two bars is covered whole.
std::optional<std::array<Rect, 4>> OutlineBars(const Rect& window, const Rect& screen);

// The label's text, from format 4481: the handle as the lists show it, the
// class and the title, with line breaks and other control characters of a
// title (an edit control's text) shown as spaces and a long title cut.
std::string OutlineLabelText(const IStrings& strings, const IWindowSystem& windows, WindowHandle window);

// The outline of a live window on the screen; none when the window has gone
// or lies wholly off the screen (a minimised top-level window).
std::optional<WindowOutline> OutlineOf(const IStrings& strings, const IWindowSystem& windows, WindowHandle window,
                                       const Rect& screen);

// Where a label of width x height goes: under the frame, from its left
// edge; above it when it does not fit below; inside its top-left corner when
// neither fits; always moved (and cut) to lie on the screen.
Rect PlaceOutlineLabel(const Rect& frame, int32_t width, int32_t height, const Rect& screen);

// A flash: the outline shown and hidden kFlashCount times, one phase of
// kFlashPhaseMs each, about a second in all. Starting again (another window
// or the same) drops the flash that runs.
class OutlineFlash {
 public:
  static constexpr int kFlashCount = 3;
  static constexpr unsigned kFlashPhaseMs = 170;

  void Start(WindowHandle window);
  // The end of a phase; false when the flash has ended.
  bool Advance();
  void Stop();

  bool Running() const { return phase_ < 2 * kFlashCount; }
  // Shown in the even phases, hidden in the odd ones.
  bool Visible() const { return Running() && phase_ % 2 == 0; }
  WindowHandle Window() const { return window_; }

 private:
  WindowHandle window_ = 0;
  int phase_ = 2 * kFlashCount;
};

}  // namespace qm
