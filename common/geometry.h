#pragma once
// Rectangles and points in pixels, as the window system measures them: the
// values every layer passes around, from the frame's layout arithmetic to
// the window queries.

#include <cstdint>

namespace qm {

struct Rect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;
  friend bool operator==(const Rect&, const Rect&) = default;
};

struct Point {
  int32_t x = 0;
  int32_t y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

// Left and top inclusive, right and bottom exclusive, as the platform tests.
inline bool PtInRect(const Rect& rect, Point point) {
  return point.x >= rect.left && point.x < rect.right && point.y >= rect.top && point.y < rect.bottom;
}

}  // namespace qm
