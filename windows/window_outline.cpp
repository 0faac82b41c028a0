#include "windows/window_outline.h"

#include <algorithm>

#include "common/text.h"
#include "res/string_ids.h"
#include "windows/window_list_model.h"

namespace qm {

namespace {

// The label is one short line: a title past this many characters (code
// points) is cut and ends in an ellipsis.
constexpr size_t kLabelTitleMax = 80;

Rect Intersect(const Rect& a, const Rect& b) {
  return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
}

bool IsEmpty(const Rect& r) { return r.right <= r.left || r.bottom <= r.top; }

std::string LabelTitle(std::string title) {
  for (char& c : title)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
  size_t points = 0;
  for (size_t i = 0; i < title.size(); ++i) {
    // A code point starts at every byte that is not a continuation byte.
    if ((static_cast<unsigned char>(title[i]) & 0xC0) == 0x80) continue;
    if (points++ == kLabelTitleMax) {
      title.resize(i);
      title += "\xE2\x80\xA6";  // "…"
      break;
    }
  }
  return title;
}

}  // namespace

std::optional<std::array<Rect, 4>> OutlineBars(const Rect& window, const Rect& screen) {
  const Rect f = Intersect(window, screen);
  if (IsEmpty(f)) return std::nullopt;
  // Each bar stays inside the frame: in a window thinner than two bars the
  // top and bottom (or left and right) bars meet and cover it.
  const int32_t across = std::min(kOutlineWidth, f.bottom - f.top);
  const int32_t down = std::min(kOutlineWidth, f.right - f.left);
  return std::array<Rect, 4>{
      Rect{f.left, f.top, f.right, f.top + across}, Rect{f.left, f.bottom - across, f.right, f.bottom},
      Rect{f.left, f.top, f.left + down, f.bottom}, Rect{f.right - down, f.top, f.right, f.bottom}};
}

std::string OutlineLabelText(const IStrings& strings, const IWindowSystem& windows, WindowHandle window) {
  return FormatTable(strings.LoadString(IDS_OUTLINE_LABEL), {ListHandleText(window), windows.GetClassName(window),
                                                             LabelTitle(windows.GetWindowText(window, 256))});
}

std::optional<WindowOutline> OutlineOf(const IStrings& strings, const IWindowSystem& windows, WindowHandle window,
                                       const Rect& screen) {
  Rect rect;
  if (window == 0 || !windows.IsWindow(window) || !windows.GetWindowRect(window, rect)) return std::nullopt;
  const auto bars = OutlineBars(rect, screen);
  if (!bars) return std::nullopt;
  return WindowOutline{window, Intersect(rect, screen), *bars, OutlineLabelText(strings, windows, window)};
}

Rect PlaceOutlineLabel(const Rect& frame, int32_t width, int32_t height, const Rect& screen) {
  width = std::clamp(width, 0, screen.right - screen.left);
  height = std::clamp(height, 0, screen.bottom - screen.top);
  int32_t top = frame.bottom;
  if (top + height > screen.bottom) top = frame.top - height;
  if (top < screen.top) top = frame.top;
  top = std::clamp(top, screen.top, screen.bottom - height);
  const int32_t left = std::clamp(frame.left, screen.left, screen.right - width);
  return {left, top, left + width, top + height};
}

void OutlineFlash::Start(WindowHandle window) {
  window_ = window;
  phase_ = 0;
}

bool OutlineFlash::Advance() {
  if (Running()) ++phase_;
  return Running();
}

void OutlineFlash::Stop() { phase_ = 2 * kFlashCount; }

}  // namespace qm
