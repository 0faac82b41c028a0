#pragma once
// What the outline shows while the user drags to capture: the window the
// drop would capture at the pointer (CaptureCommands::FindCaptureTarget,
// so disabled and hidden children included), followed as the pointer moves
// and as that window moves, closes or is covered.

#include <optional>

#include "app/enabling.h"
#include "windows/window_outline.h"

namespace qm {

class CaptureOutlineTracker {
 public:
  // The poll runs every 10 ms; with the pointer still, the target is looked
  // for again every kRefindTicks polls (a window opened under the pointer),
  // and only its rectangle is read in between.
  static constexpr int kRefindTicks = 25;

  CaptureOutlineTracker(const CaptureCommands& commands, const IWindowSystem& windows, const IStrings& strings)
      : commands_(commands), windows_(windows), strings_(strings) {}

  // The outline for the pointer at point on screen; none when nothing lies
  // under it.
  const std::optional<WindowOutline>& Update(Point point, const Rect& screen);
  // Forgets the last answer: the next Update looks for the target again.
  void Reset();

 private:
  const CaptureCommands& commands_;
  const IWindowSystem& windows_;
  const IStrings& strings_;
  std::optional<Point> lastPoint_;
  int stillTicks_ = 0;
  std::optional<WindowOutline> outline_;
};

}  // namespace qm
