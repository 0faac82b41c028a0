#pragma once
// Where a scroll request moves the image page's view. The scroll bars of
// that page span the picture (minimum 0, maximum its size less one) and
// their page is the view's size, so the last position that still fills the
// view with picture is maximum - page + 1; every position returned stays
// between the minimum and that one, as the system would keep it.

#include <cstdint>

namespace qm {

// The requests of WM_HSCROLL and WM_VSCROLL, numbered as the platform
// numbers them (SB_LINEUP ... SB_ENDSCROLL).
enum class ScrollRequest : uint16_t {
  LineBack = 0,       // SB_LINELEFT, SB_LINEUP
  LineForward = 1,    // SB_LINERIGHT, SB_LINEDOWN
  PageBack = 2,       // SB_PAGELEFT, SB_PAGEUP
  PageForward = 3,    // SB_PAGERIGHT, SB_PAGEDOWN
  ThumbPosition = 4,  // SB_THUMBPOSITION
  ThumbTrack = 5,     // SB_THUMBTRACK
  First = 6,          // SB_LEFT, SB_TOP
  Last = 7,           // SB_RIGHT, SB_BOTTOM
  EndScroll = 8,      // SB_ENDSCROLL
};

struct ScrollState {
  int minimum = 0;
  int maximum = 0;
  unsigned page = 0;
  int position = 0;
};

// The highest position the bar can take: maximum - page + 1 when the page
// is not empty, never below the minimum.
int LastScrollPosition(const ScrollState& state);

// The new position for a request; thumb is where the thumb was dragged to
// (read only for the two thumb requests). Lines move by 1, pages by the
// page size; an unknown request keeps the position.
int NextScrollPosition(const ScrollState& state, uint16_t request, int thumb);

}  // namespace qm
