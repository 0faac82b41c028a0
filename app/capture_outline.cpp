#include "app/capture_outline.h"

namespace qm {

const std::optional<WindowOutline>& CaptureOutlineTracker::Update(Point point, const Rect& screen) {
  bool refind = lastPoint_ != point || ++stillTicks_ >= kRefindTicks || !outline_;
  if (!refind) {
    // The pointer is still: the same window, unless it has gone or moved
    // (a moved window may no longer lie under the pointer).
    Rect rect;
    refind = !windows_.IsWindow(outline_->window) || !windows_.GetWindowRect(outline_->window, rect) ||
             !OutlineBars(rect, screen) || *OutlineBars(rect, screen) != outline_->bars;
  }
  if (!refind) return outline_;
  lastPoint_ = point;
  stillTicks_ = 0;
  const std::optional<WindowHandle> target = commands_.FindCaptureTarget(point);
  outline_ = target ? OutlineOf(strings_, windows_, *target, screen) : std::nullopt;
  return outline_;
}

void CaptureOutlineTracker::Reset() {
  lastPoint_.reset();
  stillTicks_ = 0;
  outline_.reset();
}

}  // namespace qm
