#include "windows/window_array.h"

#include <new>
#include <unordered_set>

namespace qm {

namespace {
// The Z order can change under a walk (a window brought to the top moves
// behind the cursor), so a walk stops after this many steps instead of
// circling for ever.
constexpr int kMaxTopLevelSteps = 1 << 20;
}  // namespace

int CWindowArray::EnumChildren(bool allDescendants) {
  m_handles.clear();
  m_bAllDescendants = allDescendants;
  m_dwLastError = 0;
  if (!m_windows.IsWindow(m_hWnd)) return -1;
  const bool ok = m_windows.EnumChildWindows(m_hWnd, [this](WindowHandle child) {
    if (!m_bAllDescendants && m_windows.GetParent(child) != m_hWnd) return true;
    try {
      m_handles.push_back(child);
    } catch (const std::bad_alloc&) {
      return false;  // out of memory: keep what was collected and stop
    }
    return true;
  });
  if (!ok) {
    m_dwLastError = m_windows.GetLastError();
    return -1;
  }
  return GetCount();
}

template <class Keep>
int CWindowArray::WalkTopLevel(Keep keep, std::vector<uint64_t>* styles) {
  int steps = 0;
  // A handle met twice means the walk has come round again: the rest would
  // only repeat what is already in the array.
  std::unordered_set<WindowHandle> seen;
  for (WindowHandle h = m_windows.GetTopWindow(0); h != 0 && steps < kMaxTopLevelSteps && seen.insert(h).second;
       h = m_windows.GetWindow(h, GW_HWNDNEXT), ++steps) {
    const uint64_t style = m_windows.GetWindowLongPtr(h, GWL_STYLE);
    if ((style & WS_CHILD) != 0 || !keep(h)) continue;
    m_handles.push_back(h);
    if (styles) styles->push_back(style);
  }
  return GetCount();
}

int CWindowArray::EnumTopLevel(std::vector<uint64_t>* styles) {
  return WalkTopLevel([](WindowHandle) { return true; }, styles);
}

int CWindowArray::EnumTopLevelOfProcess(uint32_t processId) {
  return WalkTopLevel([&](WindowHandle h) {
    uint32_t owner = 0;  // stays 0 for a handle that is no longer a window
    if (m_windows.IsWindow(h)) m_windows.GetWindowThreadProcessId(h, &owner);
    return owner == processId;
  });
}

std::optional<WindowHandle> CWindowArray::GetWindowAt(int index) const {
  if (index < 0 || index >= GetCount()) return std::nullopt;
  return m_handles[static_cast<size_t>(index)];
}

}  // namespace qm
