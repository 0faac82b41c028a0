#pragma once
// What the main frame's commands may do with the captured window, decided on
// the live window each time a menu opens or the toolbar is refreshed: the
// enabling and check rules, the simple actions, the capture moves and the
// choice of the window a drag drops on. Portable, so it is tested on the
// simulated desktop; the frame only adds "and a handler exists".

#include <cstdint>
#include <optional>

#include "platform/platform.h"
#include "platform/windows.h"

namespace qm {

struct CommandState {
  bool enabled = false;
  // Only the toggles carry a check mark; others leave it unset.
  std::optional<bool> checked;
};

// Whether the two automation components were found at start-up.
struct ComponentAvailability {
  bool dirCheck = false;
  bool services = false;
};

class CaptureCommands {
 public:
  explicit CaptureCommands(Platform& platform);

  // Non-zero and still a window.
  bool IsValid(WindowHandle captured) const;

  // The rule for a frame command; commands it does not know are disabled.
  CommandState Rule(uint32_t command, WindowHandle captured, const ComponentAvailability& components) const;

  // The window a capture move (parent, owner, next, previous) leads to; 0
  // when the captured window is not valid or has no such relation.
  WindowHandle RelatedWindow(uint32_t command, WindowHandle captured) const;

  // Runs an action (show, hide, enable, ..., close) when the captured window
  // is valid and the action's condition holds; returns whether it acted.
  bool Act(uint32_t command, WindowHandle captured);

  // The window a drag that ends at point captures: the window under the
  // point, narrowed to the last of its descendants (in enumeration order)
  // whose rectangle holds the point, hidden and disabled ones included.
  // Nothing when no window lies under the point.
  std::optional<WindowHandle> FindCaptureTarget(Point point) const;

 private:
  uint32_t ProcessIdOf(WindowHandle window) const;

  Platform& platform_;
  IWindowSystem& windows_;
};

}  // namespace qm
