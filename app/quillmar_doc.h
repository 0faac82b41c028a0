#pragma once
// The document of the application: the one captured window and the 29
// properties read from it on every refresh, each with a label, a display
// text and, where it has one, the number behind the text.

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/platform.h"
#include "platform/windows.h"

namespace qm {

struct WindowProperty {
  std::string name;
  std::string value;
  uint64_t raw = 0;  // left as it was by the refresh for the entries without one
  // The two rectangle entries' numbers; none when the rectangle could not be read.
  std::optional<Rect> rect;
};

// Property indexes, in the order of the tree's lines.
enum WindowPropertyIndex : int {
  kPropHandle = 0,
  kPropIsWindow = 1,
  kPropEnabled = 2,
  kPropVisible = 3,
  kPropIconic = 4,
  kPropZoomed = 5,
  kPropClassName = 6,
  kPropTitle = 7,
  kPropWindowRect = 8,
  kPropClientRect = 9,
  kPropStyle = 10,
  kPropExStyle = 11,
  kPropWndProc = 12,
  kPropInstance = 13,
  kPropId = 14,
  kPropOwner = 15,
  kPropParent = 16,
  kPropNext = 17,
  kPropPrevious = 18,
  kPropMenu = 19,
  kPropClassStyle = 20,
  kPropClassCursor = 21,
  kPropClassBackground = 22,
  kPropClassIcon = 23,
  kPropClassSmallIcon = 24,
  kPropClassMenuName = 25,
  kPropClassWndProc = 26,
  kPropExePath = 27,
  kPropProcessId = 28,
  kPropertyCount = 29,
};

class CQuillmarDoc {
 public:
  explicit CQuillmarDoc(Platform& platform) : m_platform(platform) {}

  // Re-reads all 29 entries for m_hCapturedWnd.
  void RefreshProperties();
  int GetPropertyCount() const { return kPropertyCount; }

  std::array<WindowProperty, kPropertyCount> m_properties;
  WindowHandle m_hCapturedWnd = 0;  // 0: nothing captured

 private:
  Platform& m_platform;
};

}  // namespace qm
