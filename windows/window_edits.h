#pragma once
// What the frame writes back to the captured window after the style editor
// or the window properties editor was accepted: the confirmation, the
// still-a-window test and the platform calls, in their fixed order.

#include <cstdint>
#include <string>

#include "platform/platform.h"
#include "platform/windows.h"
#include "windows/style_dictionary.h"

namespace qm {

enum class EditOutcome {
  Applied,
  Declined,       // the user answered No
  NotAWindow,     // the window was destroyed while the editor was open
  NotApplicable,  // the word of this kind is shown only (class styles)
};

// The accepted word of the style editor: kinds 0..7 are the window style,
// 8 the extended style; other kinds are never written. Asks the style
// question only while the window still exists, then writes the word and
// has the whole window repainted.
EditOutcome ApplyStyleWord(const Platform& platform, WindowHandle window, StyleKind kind, uint32_t word);

// What the window properties editor shows and edits.
struct WindowProperties {
  std::string title;
  Rect window;  // screen coordinates
  Rect client;  // shown only, never applied
  bool maximised = false;
  bool minimised = false;
  bool enabled = false;
  bool visible = false;
  friend bool operator==(const WindowProperties&, const WindowProperties&) = default;
};

// The window's current properties; empty and zero for a handle that is not
// (or no longer) a window.
WindowProperties ReadWindowProperties(const IWindowSystem& windows, WindowHandle window);

// A click on "Maximizada" or "Minimizada" (after the boxes were read back):
// the two never stay checked together, the box just clicked wins.
enum class PlacementBox { Maximised, Minimised };
void OnPlacementBoxClicked(WindowProperties& properties, PlacementBox clicked);

// The accepted properties: the question first, then the still-a-window
// test, the title, the placement (minimised, maximised, or the rectangle
// when none of its four values is negative, else a restore), shown or
// hidden, enabled or disabled.
EditOutcome ApplyWindowProperties(const Platform& platform, WindowHandle window, const WindowProperties& properties);

}  // namespace qm
