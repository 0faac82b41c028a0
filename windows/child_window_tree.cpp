#include "windows/child_window_tree.h"

#include <algorithm>

#include "windows/window_array.h"
#include "common/text.h"
#include "windows/window_actions.h"

namespace qm {

std::string ChildWindowText(const IWindowSystem& windows, WindowHandle window) {
  return Format("0x%08llx \"%s\" [%s]", static_cast<unsigned long long>(window),
                windows.GetWindowText(window, 256).c_str(), windows.GetClassName(window).c_str());
}

bool ChildWindowTree::AddRoot(WindowHandle window) {
  if (std::find(roots_.begin(), roots_.end(), window) != roots_.end()) return false;
  roots_.push_back(window);
  return true;
}

bool ChildWindowTree::SetRootsFromProcess(uint32_t processId) {
  roots_.clear();
  CWindowArray topLevel(windows_);
  if (topLevel.EnumTopLevelOfProcess(processId) <= 0) return false;
  for (WindowHandle window : topLevel.m_handles) AddRoot(window);
  return true;
}

ChildWindowNode ChildWindowTree::Node(WindowHandle window, int parent) const {
  return ChildWindowNode{window, parent, ChildWindowText(windows_, window), WindowImageIndex(windows_, window)};
}

std::vector<ChildWindowNode> ChildWindowTree::Build() const {
  std::vector<ChildWindowNode> nodes;
  // An explicit stack instead of recursion, so a deep tree cannot exhaust
  // the thread's stack. Each entry is a node whose children are still to
  // come, with the children left to visit in reverse order.
  struct Pending {
    int node;
    std::vector<WindowHandle> children;  // reversed: the next one at the back
  };
  std::vector<Pending> stack;
  const auto childrenOf = [&](WindowHandle window) {
    CWindowArray children(windows_, window);
    children.EnumChildren();
    std::vector<WindowHandle> reversed(children.m_handles.rbegin(), children.m_handles.rend());
    return reversed;
  };
  for (WindowHandle root : roots_) {
    if (root == 0 || !windows_.IsWindow(root)) continue;
    nodes.push_back(Node(root, -1));
    stack.push_back({static_cast<int>(nodes.size()) - 1, childrenOf(root)});
    while (!stack.empty()) {
      Pending& top = stack.back();
      if (top.children.empty()) {
        stack.pop_back();
        continue;
      }
      const WindowHandle child = top.children.back();
      top.children.pop_back();
      const int parent = top.node;
      // A child that went away since its parent was enumerated has no item.
      if (child == 0 || !windows_.IsWindow(child)) continue;
      nodes.push_back(Node(child, parent));
      // `top` may move when the stack grows: it is not used after this.
      stack.push_back({static_cast<int>(nodes.size()) - 1, childrenOf(child)});
    }
  }
  return nodes;
}

}  // namespace qm
