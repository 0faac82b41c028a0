#include "platform/sim/sim_windows.h"

#include <algorithm>

#include "common/text.h"

namespace qm {

namespace {

constexpr uint32_t kErrorInvalidIndex = 1413;
// GetClassLongPtr's index of the class atom (GCW_ATOM).
constexpr int kClassAtom = -32;

std::string Hex(uint64_t value) { return Format("0x%08llx", static_cast<unsigned long long>(value)); }

int32_t Width(const Rect& r) { return r.right - r.left; }
int32_t Height(const Rect& r) { return r.bottom - r.top; }

}  // namespace

// ---------------------------------------------------------------- building

WindowHandle SimWindows::AddWindow(const SimWindowDesc& desc) {
  Window window{desc, {}};
  WindowHandle handle = desc.handle;
  if (handle == 0) {
    handle = nextHandle_;
    nextHandle_ += 0x10;
  }
  window.desc.handle = handle;
  if (!window.desc.wndProc) window.desc.wndProc = desc.windowClass.wndProc;
  if (Width(desc.client) == 0 && Height(desc.client) == 0)
    window.desc.client = Rect{0, 0, Width(desc.window), Height(desc.window)};
  if (desc.style & WS_CHILD) {
    window.desc.owner = 0;
    Window* parent = Find(desc.parent);
    if (parent)
      parent->children.push_back(handle);
    else
      window.desc.style &= ~WS_CHILD;  // a child needs a parent; it becomes top-level
  }
  if (!(window.desc.style & WS_CHILD)) {
    window.desc.parent = 0;
    topLevel_.push_back(handle);
  }
  windows_[handle] = std::move(window);
  return handle;
}

void SimWindows::DestroyWindow(WindowHandle handle) {
  Window* window = Find(handle);
  if (!window) return;
  const std::vector<WindowHandle> children = window->children;
  for (WindowHandle child : children) DestroyWindow(child);
  std::vector<WindowHandle> owned;
  for (const auto& [h, w] : windows_)
    if (w.desc.owner == handle) owned.push_back(h);
  for (WindowHandle h : owned) DestroyWindow(h);
  window = Find(handle);
  if (!window) return;
  auto& siblings = Siblings(*window);
  siblings.erase(std::remove(siblings.begin(), siblings.end(), handle), siblings.end());
  windows_.erase(handle);
}

void SimWindows::BringToTop(WindowHandle handle) {
  Window* window = Find(handle);
  if (!window) return;
  auto& siblings = Siblings(*window);
  siblings.erase(std::remove(siblings.begin(), siblings.end(), handle), siblings.end());
  siblings.insert(siblings.begin(), handle);
}

void SimWindows::DestroyWindowsOfProcess(uint32_t processId) {
  std::vector<WindowHandle> owned;
  for (const auto& [window, data] : windows_)
    if (data.desc.processId == processId && !(data.desc.style & WS_CHILD)) owned.push_back(window);
  for (WindowHandle window : owned)
    if (windows_.count(window)) DestroyWindow(window);
}

const SimWindows::Window* SimWindows::Find(WindowHandle handle) const {
  auto it = windows_.find(handle);
  if (it == windows_.end()) {
    log_.lastError = ERROR_INVALID_WINDOW_HANDLE;
    return nullptr;
  }
  return &it->second;
}

SimWindows::Window* SimWindows::Find(WindowHandle handle) {
  return const_cast<Window*>(static_cast<const SimWindows*>(this)->Find(handle));
}

const std::vector<WindowHandle>& SimWindows::Siblings(const Window& window) const {
  // A top-level window given WS_CHILD later keeps the desktop as its
  // parent and its place among the top-level windows, as on the platform.
  if (window.desc.style & WS_CHILD) {
    auto parent = windows_.find(window.desc.parent);
    if (parent != windows_.end()) return parent->second.children;
  }
  return topLevel_;
}

std::vector<WindowHandle>& SimWindows::Siblings(const Window& window) {
  return const_cast<std::vector<WindowHandle>&>(static_cast<const SimWindows*>(this)->Siblings(window));
}

// ---------------------------------------------------------------- queries

bool SimWindows::IsWindow(WindowHandle handle) const {
  ++log_.calls["IsWindow"];
  return windows_.count(handle) != 0;
}

bool SimWindows::IsWindowEnabled(WindowHandle handle) const {
  const Window* w = Find(handle);
  return w && !(w->desc.style & WS_DISABLED);
}

bool SimWindows::IsWindowVisible(WindowHandle handle) const {
  ++log_.calls["IsWindowVisible"];
  const Window* w = Find(handle);
  while (w) {
    if (!(w->desc.style & WS_VISIBLE)) return false;
    if (!(w->desc.style & WS_CHILD)) return true;
    w = Find(w->desc.parent);
  }
  return false;
}

bool SimWindows::IsIconic(WindowHandle handle) const {
  const Window* w = Find(handle);
  return w && (w->desc.style & WS_MINIMIZE);
}

bool SimWindows::IsZoomed(WindowHandle handle) const {
  const Window* w = Find(handle);
  return w && (w->desc.style & WS_MAXIMIZE);
}

std::string SimWindows::GetClassName(WindowHandle handle) const {
  if (log_.Failing("GetClassName")) return {};
  const Window* w = Find(handle);
  return w ? TruncateUtf16(w->desc.windowClass.name, 255) : std::string();
}

int SimWindows::GetWindowTextLength(WindowHandle handle) const {
  if (log_.Failing("GetWindowTextLength")) return 0;
  const Window* w = Find(handle);
  return w ? static_cast<int>(Utf8ToUtf16(w->desc.title).size()) : 0;
}

std::string SimWindows::GetWindowText(WindowHandle handle, int maxCount) const {
  if (log_.Failing("GetWindowText")) return {};
  const Window* w = Find(handle);
  if (!w || maxCount <= 0) return {};
  return TruncateUtf16(w->desc.title, static_cast<size_t>(maxCount - 1));
}

bool SimWindows::GetWindowRect(WindowHandle handle, Rect& rect) const {
  if (log_.Failing("GetWindowRect")) return false;
  const Window* w = Find(handle);
  if (!w) return false;
  rect = w->desc.window;
  return true;
}

bool SimWindows::GetClientRect(WindowHandle handle, Rect& rect) const {
  if (log_.Failing("GetClientRect")) return false;
  const Window* w = Find(handle);
  if (!w) return false;
  rect = Rect{0, 0, Width(w->desc.client), Height(w->desc.client)};
  return true;
}

uint64_t SimWindows::GetWindowLongPtr(WindowHandle handle, int index) const {
  if (log_.Failing("GetWindowLongPtr")) return 0;
  const Window* w = Find(handle);
  if (!w) return 0;
  switch (index) {
    case GWL_STYLE:
      return w->desc.style;
    case GWL_EXSTYLE:
      return w->desc.exStyle;
    case GWL_WNDPROC:
      return w->desc.wndProc;
    case GWL_HINSTANCE:
      return w->desc.hInstance;
    case GWL_ID:
      return w->desc.id;
    case GWL_HWNDPARENT:
      return (w->desc.style & WS_CHILD) ? w->desc.parent : w->desc.owner;
    case GWL_USERDATA:
      return 0;
    default:
      log_.lastError = kErrorInvalidIndex;
      return 0;
  }
}

uint64_t SimWindows::ClassAtom(const std::string& name) const {
  // Class names are one atom per name, whatever its case, as in the
  // platform's atom table; string atoms start at 0xC000.
  std::string key = name;
  for (char& c : key)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return atoms_.emplace(key, 0xC000 + atoms_.size()).first->second;
}

uint64_t SimWindows::GetClassLongPtr(WindowHandle handle, int index) const {
  if (log_.Failing("GetClassLongPtr")) return 0;
  const Window* w = Find(handle);
  if (!w) return 0;
  const SimClass& c = w->desc.windowClass;
  switch (index) {
    case GCL_STYLE:
      return c.style;
    case GCL_HCURSOR:
      return c.cursor;
    case GCL_HBRBACKGROUND:
      return c.background;
    case GCL_HICON:
      return c.icon;
    case GCL_HICONSM:
      return c.smallIcon;
    case GCL_MENUNAME:
      return c.menuName;
    case GCL_WNDPROC:
      return c.wndProc;
    case GCL_HMODULE:
      return c.module;
    case kClassAtom:
      return ClassAtom(c.name);
    default:
      log_.lastError = kErrorInvalidIndex;
      return 0;
  }
}

WindowHandle SimWindows::GetWindow(WindowHandle handle, unsigned relation) const {
  if (log_.Failing("GetWindow")) return 0;
  const Window* w = Find(handle);
  if (!w) return 0;
  if (relation == GW_OWNER) return (w->desc.style & WS_CHILD) ? 0 : w->desc.owner;
  if (relation == GW_CHILD) return w->children.empty() ? 0 : w->children.front();
  const auto& siblings = Siblings(*w);
  const auto at = std::find(siblings.begin(), siblings.end(), handle);
  switch (relation) {
    case GW_HWNDFIRST:
      return siblings.front();
    case GW_HWNDLAST:
      return siblings.back();
    case GW_HWNDNEXT:
      return (at + 1 != siblings.end()) ? *(at + 1) : 0;
    case GW_HWNDPREV:
      return at != siblings.begin() ? *(at - 1) : 0;
    default:
      log_.lastError = ERROR_INVALID_PARAMETER;
      return 0;
  }
}

WindowHandle SimWindows::GetParent(WindowHandle handle) const {
  if (log_.Failing("GetParent")) return 0;
  const Window* w = Find(handle);
  if (!w) return 0;
  if (w->desc.style & WS_CHILD) return w->desc.parent;
  if (w->desc.style & WS_POPUP) return w->desc.owner;
  return 0;
}

WindowHandle SimWindows::GetTopWindow(WindowHandle handle) const {
  if (log_.Failing("GetTopWindow")) return 0;
  if (handle == 0) return topLevel_.empty() ? 0 : topLevel_.front();
  const Window* w = Find(handle);
  return (w && !w->children.empty()) ? w->children.front() : 0;
}

uint64_t SimWindows::GetMenu(WindowHandle handle) const {
  if (log_.Failing("GetMenu")) return 0;
  const Window* w = Find(handle);
  return (w && !(w->desc.style & WS_CHILD)) ? w->desc.menu : 0;
}

uint32_t SimWindows::GetWindowThreadProcessId(WindowHandle handle, uint32_t* processId) const {
  if (log_.Failing("GetWindowThreadProcessId")) return 0;
  const Window* w = Find(handle);
  if (!w) return 0;
  if (processId) *processId = w->desc.processId;
  return w->desc.threadId;
}

void SimWindows::Enumerate(const std::vector<WindowHandle>& level, const std::function<bool(WindowHandle)>& callback,
                           bool& stopped) const {
  // A copy: the callback may destroy windows; those are skipped.
  const std::vector<WindowHandle> handles = level;
  for (WindowHandle h : handles) {
    auto it = windows_.find(h);
    if (it == windows_.end()) continue;
    if (!callback(h)) {
      stopped = true;
      return;
    }
    it = windows_.find(h);
    if (it != windows_.end()) Enumerate(it->second.children, callback, stopped);
    if (stopped) return;
  }
}

bool SimWindows::EnumChildWindows(WindowHandle parent, const std::function<bool(WindowHandle)>& callback) const {
  if (log_.Failing("EnumChildWindows")) return false;
  bool stopped = false;
  if (parent == 0) {
    Enumerate(topLevel_, callback, stopped);
    return true;
  }
  const Window* w = Find(parent);
  if (!w) return false;
  Enumerate(w->children, callback, stopped);
  return true;
}

bool SimWindows::GetCursorPos(Point& point) const {
  if (log_.Failing("GetCursorPos")) return false;
  point = cursor_;
  return true;
}

WindowHandle SimWindows::ChildFromPoint(const std::vector<WindowHandle>& level, Point point) const {
  for (WindowHandle h : level) {
    const Window& w = windows_.at(h);
    if ((w.desc.style & WS_VISIBLE) && !(w.desc.style & WS_DISABLED) && PtInRect(w.desc.window, point)) {
      WindowHandle deeper = ChildFromPoint(w.children, point);
      return deeper ? deeper : h;
    }
  }
  return 0;
}

WindowHandle SimWindows::WindowFromPoint(Point point) const {
  if (log_.Failing("WindowFromPoint")) return 0;
  for (WindowHandle h : topLevel_) {
    const Window& w = windows_.at(h);
    if ((w.desc.style & WS_VISIBLE) && PtInRect(w.desc.window, point)) {
      WindowHandle child = ChildFromPoint(w.children, point);
      return child ? child : h;
    }
  }
  return 0;
}

// ---------------------------------------------------------------- actions

bool SimWindows::EnableWindow(WindowHandle handle, bool enable) {
  if (log_.Failing("EnableWindow")) return false;
  Window* w = Find(handle);
  if (!w) return false;
  const bool wasDisabled = (w->desc.style & WS_DISABLED) != 0;
  if (enable)
    w->desc.style &= ~WS_DISABLED;
  else
    w->desc.style |= WS_DISABLED;
  log_.Log(Format("EnableWindow %s %d", Hex(handle).c_str(), enable ? 1 : 0));
  return wasDisabled;
}

bool SimWindows::ShowWindow(WindowHandle handle, int command) {
  if (log_.Failing("ShowWindow")) return false;
  Window* w = Find(handle);
  if (!w) return false;
  uint32_t& style = w->desc.style;
  const bool wasVisible = (style & WS_VISIBLE) != 0;
  switch (command) {
    case SW_HIDE:
      style &= ~WS_VISIBLE;
      break;
    case SW_SHOWNORMAL:
    case SW_RESTORE:
      style = (style | WS_VISIBLE) & ~(WS_MINIMIZE | WS_MAXIMIZE);
      break;
    case SW_SHOWMINIMIZED:
    case SW_SHOWMINNOACTIVE:
      style = (style | WS_VISIBLE | WS_MINIMIZE) & ~WS_MAXIMIZE;
      break;
    case SW_MINIMIZE:
      style = (style | WS_MINIMIZE) & ~WS_MAXIMIZE;
      break;
    case SW_SHOWMAXIMIZED:
      style = (style | WS_VISIBLE | WS_MAXIMIZE) & ~WS_MINIMIZE;
      break;
    default:
      style |= WS_VISIBLE;
      break;
  }
  log_.Log(Format("ShowWindow %s %d", Hex(handle).c_str(), command));
  return wasVisible;
}

bool SimWindows::InvalidateRect(WindowHandle handle, const Rect* rect, bool erase) {
  if (log_.Failing("InvalidateRect")) return false;
  if (handle != 0 && !Find(handle)) return false;
  if (rect)
    log_.Log(Format("InvalidateRect %s %d,%d,%d,%d %d", Hex(handle).c_str(), rect->left, rect->top, rect->right,
                    rect->bottom, erase ? 1 : 0));
  else
    log_.Log(Format("InvalidateRect %s all %d", Hex(handle).c_str(), erase ? 1 : 0));
  return true;
}

bool SimWindows::PostMessage(WindowHandle handle, uint32_t message, uint64_t wParam, int64_t lParam) {
  if (log_.Failing("PostMessage")) return false;
  if (!Find(handle)) return false;
  log_.Log(Format("PostMessage %s 0x%04x 0x%llx %lld", Hex(handle).c_str(), message,
                  static_cast<unsigned long long>(wParam), static_cast<long long>(lParam)));
  return true;
}

uint64_t SimWindows::SetWindowLongPtr(WindowHandle handle, int index, uint64_t value) {
  if (log_.Failing("SetWindowLongPtr")) return 0;
  Window* w = Find(handle);
  if (!w) return 0;
  uint64_t previous = 0;
  auto set32 = [&](uint32_t& field) {
    previous = field;
    field = static_cast<uint32_t>(value);
  };
  auto set64 = [&](uint64_t& field) {
    previous = field;
    field = value;
  };
  switch (index) {
    case GWL_STYLE:
      set32(w->desc.style);
      break;
    case GWL_EXSTYLE:
      set32(w->desc.exStyle);
      break;
    case GWL_WNDPROC:
      set64(w->desc.wndProc);
      break;
    case GWL_HINSTANCE:
      set64(w->desc.hInstance);
      break;
    case GWL_ID:
      set64(w->desc.id);
      break;
    default:
      log_.lastError = kErrorInvalidIndex;
      return 0;
  }
  log_.Log(Format("SetWindowLongPtr %s %d %s", Hex(handle).c_str(), index, Hex(value).c_str()));
  return previous;
}

bool SimWindows::SetWindowText(WindowHandle handle, const std::string& text) {
  if (log_.Failing("SetWindowText")) return false;
  Window* w = Find(handle);
  if (!w) return false;
  w->desc.title = text;
  log_.Log(Format("SetWindowText %s %s", Hex(handle).c_str(), text.c_str()));
  return true;
}

bool SimWindows::MoveWindow(WindowHandle handle, int x, int y, int width, int height, bool repaint) {
  if (log_.Failing("MoveWindow")) return false;
  Window* w = Find(handle);
  if (!w) return false;
  // The frame keeps its thickness; the client area takes the rest. The
  // desktop keeps screen coordinates for children too.
  const int32_t frameX = Width(w->desc.window) - Width(w->desc.client);
  const int32_t frameY = Height(w->desc.window) - Height(w->desc.client);
  w->desc.window = Rect{x, y, x + width, y + height};
  w->desc.client = Rect{0, 0, std::max(0, width - frameX), std::max(0, height - frameY)};
  log_.Log(Format("MoveWindow %s %d,%d %dx%d %d", Hex(handle).c_str(), x, y, width, height, repaint ? 1 : 0));
  return true;
}

}  // namespace qm
