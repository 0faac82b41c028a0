#pragma once
// Where the frame's pieces go: the status bar along the bottom, the docked
// toolbar strip on one of the four sides of what is left above it, the view
// in the rest. Also where a toolbar dragged by its gripper docks when the
// user lets go, and the strip's own pixel sizes at the screen's DPI.
// Portable so the arithmetic is tested without a window.

#include <cstdint>

#include "common/geometry.h"

namespace qm {

enum class DockSide { Top, Bottom, Left, Right };

constexpr bool IsVerticalSide(DockSide side) { return side == DockSide::Left || side == DockSide::Right; }

struct FrameLayout {
  Rect bar;     // empty when the bar is hidden (thickness 0)
  Rect status;  // empty when the status bar is hidden (height 0)
  Rect view;
};

// barThickness is the strip's height on the top or bottom and its width on
// the left or right; no rectangle ever has a negative size, however small
// the client area.
FrameLayout LayOutFrame(const Rect& client, DockSide side, int32_t barThickness, int32_t statusHeight);

// The side a bar docks on when released at point (client coordinates of
// the frame). Each side owns a band `band` pixels deep along its edge that
// reaches outwards without limit, so letting go beyond an edge docks there.
// In a corner, where two bands meet, the current side wins, else the nearer
// edge; a point in no band (the middle of the frame) leaves the bar on its
// current side.
DockSide DockSideAt(const Rect& client, Point point, int32_t band, DockSide current);

// The DPI at which a length in pixels is drawn as designed.
constexpr uint32_t kDesignDpi = 96;

// A length designed in 96-DPI pixels, at another DPI: rounded to the
// nearest pixel, halves away from zero (as MulDiv rounds). A DPI of 0, which
// a failed query gives, counts as 96.
int32_t ScaleToDpi(int32_t pixels, uint32_t dpi);

// What the toolbar's strip draws in pixels, at one DPI.
struct DockMetrics {
  int32_t gripper = 0;  // the gripper's depth beside or above the buttons
  int32_t padding = 0;  // round the buttons and round the gripper's ridge
  int32_t ridge = 0;    // the raised ridge's width across the gripper
  int32_t outline = 0;  // the band of the outline shown while dragging
};
DockMetrics DockMetricsFor(uint32_t dpi);

}  // namespace qm
