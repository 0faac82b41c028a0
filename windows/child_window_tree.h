#pragma once
// The child-window tree: one or more root windows and, under each, the
// whole tree of its children, as the dialog shows it.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/windows.h"

namespace qm {

struct ChildWindowNode {
  WindowHandle window = 0;
  int parent = -1;  // index of the parent node; -1 for a root
  std::string text;
  int image = 0;
};

class ChildWindowTree {
 public:
  explicit ChildWindowTree(const IWindowSystem& windows) : windows_(windows) {}

  // False (and nothing changes) when the window is a root already.
  bool AddRoot(WindowHandle window);
  // The top-level windows of the process, in Z order, replace the roots;
  // false (no roots) when it has none.
  bool SetRootsFromProcess(uint32_t processId);
  const std::vector<WindowHandle>& Roots() const { return roots_; }

  // Every root that is still a window and all its descendants, depth first
  // in enumeration order: a node is followed by its whole subtree. There is
  // no depth limit.
  std::vector<ChildWindowNode> Build() const;
  // A single root is shown expanded.
  bool ExpandRoot() const { return roots_.size() == 1; }

 private:
  ChildWindowNode Node(WindowHandle window, int parent) const;

  const IWindowSystem& windows_;
  std::vector<WindowHandle> roots_;
};

// "0x%08x \"title\" [class]": the handle, the window text and the class name.
std::string ChildWindowText(const IWindowSystem& windows, WindowHandle window);

}  // namespace qm
