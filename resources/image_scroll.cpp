#include "resources/image_scroll.h"

#include <algorithm>

namespace qm {

int LastScrollPosition(const ScrollState& state) {
  // In 64 bits: the platform's range may span the whole of int.
  int64_t last = int64_t{state.maximum};
  if (state.page > 0) last -= int64_t{state.page} - 1;
  return static_cast<int>(std::max<int64_t>(last, state.minimum));
}

int NextScrollPosition(const ScrollState& state, uint16_t request, int thumb) {
  const int64_t first = state.minimum;
  const int64_t last = LastScrollPosition(state);
  const int64_t position = state.position;
  int64_t next = position;
  switch (static_cast<ScrollRequest>(request)) {
    case ScrollRequest::LineBack:
      next = position - 1;
      break;
    case ScrollRequest::LineForward:
      next = position + 1;
      break;
    case ScrollRequest::PageBack:
      next = position - int64_t{state.page};
      break;
    case ScrollRequest::PageForward:
      next = position + int64_t{state.page};
      break;
    case ScrollRequest::ThumbPosition:
    case ScrollRequest::ThumbTrack:
      next = thumb;
      break;
    case ScrollRequest::First:
      next = first;
      break;
    case ScrollRequest::Last:
      next = last;
      break;
    default:
      break;
  }
  return static_cast<int>(std::clamp(next, first, std::max(first, last)));
}

}  // namespace qm
