#include "common/dock_layout.h"

#include <algorithm>
#include <array>
#include <climits>
#include <utility>

namespace qm {
namespace {

// Clamps a length to what is available so rectangles never turn inside out.
int32_t Fit(int32_t wanted, int32_t available) { return std::clamp(wanted, 0, std::max(available, 0)); }

}  // namespace

FrameLayout LayOutFrame(const Rect& client, DockSide side, int32_t barThickness, int32_t statusHeight) {
  FrameLayout layout;
  Rect rest = client;
  rest.right = std::max(rest.right, rest.left);
  rest.bottom = std::max(rest.bottom, rest.top);

  const int32_t status = Fit(statusHeight, rest.bottom - rest.top);
  if (status > 0) {
    layout.status = {rest.left, rest.bottom - status, rest.right, rest.bottom};
    rest.bottom -= status;
  }

  const bool vertical = IsVerticalSide(side);
  const int32_t bar = Fit(barThickness, vertical ? rest.right - rest.left : rest.bottom - rest.top);
  if (bar > 0) {
    switch (side) {
      case DockSide::Top:
        layout.bar = {rest.left, rest.top, rest.right, rest.top + bar};
        rest.top += bar;
        break;
      case DockSide::Bottom:
        layout.bar = {rest.left, rest.bottom - bar, rest.right, rest.bottom};
        rest.bottom -= bar;
        break;
      case DockSide::Left:
        layout.bar = {rest.left, rest.top, rest.left + bar, rest.bottom};
        rest.left += bar;
        break;
      case DockSide::Right:
        layout.bar = {rest.right - bar, rest.top, rest.right, rest.bottom};
        rest.right -= bar;
        break;
    }
  }
  layout.view = rest;
  return layout;
}

DockSide DockSideAt(const Rect& client, Point point, int32_t band, DockSide current) {
  // Distance inside each edge; negative beyond it.
  const std::array<std::pair<DockSide, int64_t>, 4> depth = {{
      {DockSide::Top, int64_t{point.y} - client.top},
      {DockSide::Bottom, int64_t{client.bottom} - 1 - point.y},
      {DockSide::Left, int64_t{point.x} - client.left},
      {DockSide::Right, int64_t{client.right} - 1 - point.x},
  }};
  bool found = false;
  DockSide best = current;
  int64_t bestDepth = 0;
  for (const auto& [side, inside] : depth) {
    if (inside >= band) continue;
    if (side == current) return current;
    if (!found || inside < bestDepth) {
      found = true;
      best = side;
      bestDepth = inside;
    }
  }
  return best;
}

int32_t ScaleToDpi(int32_t pixels, uint32_t dpi) {
  if (dpi == 0) dpi = kDesignDpi;
  const int64_t scaled = int64_t{pixels} * dpi;
  const int64_t half = kDesignDpi / 2;
  const int64_t rounded = (scaled >= 0 ? scaled + half : scaled - half) / int64_t{kDesignDpi};
  return static_cast<int32_t>(std::clamp<int64_t>(rounded, INT32_MIN, INT32_MAX));
}

DockMetrics DockMetricsFor(uint32_t dpi) {
  DockMetrics metrics;
  metrics.gripper = ScaleToDpi(8, dpi);
  metrics.padding = ScaleToDpi(2, dpi);
  metrics.ridge = ScaleToDpi(3, dpi);
  metrics.outline = ScaleToDpi(3, dpi);
  return metrics;
}

}  // namespace qm
