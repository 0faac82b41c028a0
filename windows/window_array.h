#pragma once
// A list of window handles filled by one of three walks: the children (or
// all descendants) of a window, the top-level windows of the desktop, and
// the top-level windows of one process.

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/windows.h"

namespace qm {

class CWindowArray {
 public:
  explicit CWindowArray(const IWindowSystem& windows, WindowHandle window = 0) : m_windows(windows), m_hWnd(window) {}

  // Clears the list and collects the children of m_hWnd in the platform's
  // order: only direct children unless allDescendants is set. Returns the
  // count, or -1 when m_hWnd is not a window (m_dwLastError 0) or the
  // enumeration failed (m_dwLastError holds why); -1 reads as no children
  // in a loop bound.
  int EnumChildren(bool allDescendants = false);
  // Appends the top-level windows (those without WS_CHILD), top of the Z
  // order first; returns the count of the whole list. styles, when given,
  // gets the style word the walk read of each window appended, beside
  // m_handles: a caller that needs it asks no second time.
  int EnumTopLevel(std::vector<uint64_t>* styles = nullptr);
  // The same walk, keeping the windows of one process.
  int EnumTopLevelOfProcess(uint32_t processId);

  // The handle at index, or none when index is out of range.
  std::optional<WindowHandle> GetWindowAt(int index) const;
  int GetCount() const { return static_cast<int>(m_handles.size()); }

  const IWindowSystem& m_windows;
  WindowHandle m_hWnd = 0;
  bool m_bAllDescendants = false;
  std::vector<WindowHandle> m_handles;
  uint32_t m_dwLastError = 0;

 private:
  template <class Keep>
  int WalkTopLevel(Keep keep, std::vector<uint64_t>* styles = nullptr);
};

}  // namespace qm
