#include "platform/sim/sim_desktop.h"

#include <algorithm>
#include <cctype>

#include "common/text.h"

namespace qm {

namespace {

constexpr uint32_t kErrorInvalidHandle = 6;
constexpr uint32_t kErrorBadLength = 24;
constexpr uint32_t kErrorInvalidIndex = 1413;

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

std::string Hex(uint64_t value) { return Format("0x%08llx", static_cast<unsigned long long>(value)); }

// At most `units` UTF-16 units of a UTF-8 text, as a platform buffer of that
// many characters would hold.
std::string TruncateUtf16(const std::string& text, size_t units) {
  std::u16string wide = Utf8ToUtf16(text);
  if (wide.size() <= units) return text;
  wide.resize(units);
  return Utf16ToUtf8(wide);
}

int32_t Width(const Rect& r) { return r.right - r.left; }
int32_t Height(const Rect& r) { return r.bottom - r.top; }

}  // namespace

SimDesktop::SimDesktop() {
  libraries["kernel32"] = {"CreateToolhelp32Snapshot",
                           "Process32First",
                           "Process32FirstW",
                           "Process32Next",
                           "Process32NextW",
                           "Module32First",
                           "Module32FirstW",
                           "Module32Next",
                           "Module32NextW",
                           "Thread32First",
                           "Thread32Next",
                           "K32EnumProcesses",
                           "K32EnumProcessModules",
                           "K32GetModuleFileNameExA",
                           "K32GetModuleFileNameExW"};
  libraries["psapi"] = {"EnumProcesses", "EnumProcessModules", "GetModuleFileNameExA", "GetModuleFileNameExW"};
}

// ---------------------------------------------------------------- building

WindowHandle SimDesktop::AddWindow(const SimWindowDesc& desc) {
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

void SimDesktop::DestroyWindow(WindowHandle handle) {
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

void SimDesktop::BringToTop(WindowHandle handle) {
  Window* window = Find(handle);
  if (!window) return;
  auto& siblings = Siblings(*window);
  siblings.erase(std::remove(siblings.begin(), siblings.end(), handle), siblings.end());
  siblings.insert(siblings.begin(), handle);
}

void SimDesktop::AddProcess(const SimProcess& process) { processes_.push_back(process); }

SimProcess* SimDesktop::FindProcess(uint32_t processId) {
  for (auto& p : processes_)
    if (p.id == processId) return &p;
  return nullptr;
}

void SimDesktop::FailCall(const std::string& call, uint32_t code, int skip) { failures_[call] = Failure{code, skip}; }

bool SimDesktop::Failing(const std::string& call) const {
  ++calls[call];
  auto it = failures_.find(call);
  if (it == failures_.end()) return false;
  if (it->second.skip > 0) {
    --it->second.skip;
    return false;
  }
  lastError_ = it->second.code;
  return true;
}

const SimDesktop::Window* SimDesktop::Find(WindowHandle handle) const {
  auto it = windows_.find(handle);
  if (it == windows_.end()) {
    lastError_ = ERROR_INVALID_WINDOW_HANDLE;
    return nullptr;
  }
  return &it->second;
}

SimDesktop::Window* SimDesktop::Find(WindowHandle handle) {
  return const_cast<Window*>(static_cast<const SimDesktop*>(this)->Find(handle));
}

const std::vector<WindowHandle>& SimDesktop::Siblings(const Window& window) const {
  // A top-level window given WS_CHILD later keeps the desktop as its
  // parent and its place among the top-level windows, as on the platform.
  if (window.desc.style & WS_CHILD) {
    auto parent = windows_.find(window.desc.parent);
    if (parent != windows_.end()) return parent->second.children;
  }
  return topLevel_;
}

std::vector<WindowHandle>& SimDesktop::Siblings(const Window& window) {
  return const_cast<std::vector<WindowHandle>&>(static_cast<const SimDesktop*>(this)->Siblings(window));
}

// ---------------------------------------------------------------- queries

bool SimDesktop::IsWindow(WindowHandle handle) const {
  ++calls["IsWindow"];
  return windows_.count(handle) != 0;
}

bool SimDesktop::IsWindowEnabled(WindowHandle handle) const {
  const Window* w = Find(handle);
  return w && !(w->desc.style & WS_DISABLED);
}

bool SimDesktop::IsWindowVisible(WindowHandle handle) const {
  const Window* w = Find(handle);
  while (w) {
    if (!(w->desc.style & WS_VISIBLE)) return false;
    if (!(w->desc.style & WS_CHILD)) return true;
    w = Find(w->desc.parent);
  }
  return false;
}

bool SimDesktop::IsIconic(WindowHandle handle) const {
  const Window* w = Find(handle);
  return w && (w->desc.style & WS_MINIMIZE);
}

bool SimDesktop::IsZoomed(WindowHandle handle) const {
  const Window* w = Find(handle);
  return w && (w->desc.style & WS_MAXIMIZE);
}

std::string SimDesktop::GetClassName(WindowHandle handle) const {
  if (Failing("GetClassName")) return {};
  const Window* w = Find(handle);
  return w ? TruncateUtf16(w->desc.windowClass.name, 255) : std::string();
}

int SimDesktop::GetWindowTextLength(WindowHandle handle) const {
  if (Failing("GetWindowTextLength")) return 0;
  const Window* w = Find(handle);
  return w ? static_cast<int>(Utf8ToUtf16(w->desc.title).size()) : 0;
}

std::string SimDesktop::GetWindowText(WindowHandle handle, int maxCount) const {
  if (Failing("GetWindowText")) return {};
  const Window* w = Find(handle);
  if (!w || maxCount <= 0) return {};
  return TruncateUtf16(w->desc.title, static_cast<size_t>(maxCount - 1));
}

bool SimDesktop::GetWindowRect(WindowHandle handle, Rect& rect) const {
  if (Failing("GetWindowRect")) return false;
  const Window* w = Find(handle);
  if (!w) return false;
  rect = w->desc.window;
  return true;
}

bool SimDesktop::GetClientRect(WindowHandle handle, Rect& rect) const {
  if (Failing("GetClientRect")) return false;
  const Window* w = Find(handle);
  if (!w) return false;
  rect = Rect{0, 0, Width(w->desc.client), Height(w->desc.client)};
  return true;
}

uint64_t SimDesktop::GetWindowLongPtr(WindowHandle handle, int index) const {
  if (Failing("GetWindowLongPtr")) return 0;
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
      lastError_ = kErrorInvalidIndex;
      return 0;
  }
}

uint64_t SimDesktop::GetClassLongPtr(WindowHandle handle, int index) const {
  if (Failing("GetClassLongPtr")) return 0;
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
    default:
      lastError_ = kErrorInvalidIndex;
      return 0;
  }
}

WindowHandle SimDesktop::GetWindow(WindowHandle handle, unsigned relation) const {
  if (Failing("GetWindow")) return 0;
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
      lastError_ = ERROR_INVALID_PARAMETER;
      return 0;
  }
}

WindowHandle SimDesktop::GetParent(WindowHandle handle) const {
  if (Failing("GetParent")) return 0;
  const Window* w = Find(handle);
  if (!w) return 0;
  if (w->desc.style & WS_CHILD) return w->desc.parent;
  if (w->desc.style & WS_POPUP) return w->desc.owner;
  return 0;
}

WindowHandle SimDesktop::GetTopWindow(WindowHandle handle) const {
  if (Failing("GetTopWindow")) return 0;
  if (handle == 0) return topLevel_.empty() ? 0 : topLevel_.front();
  const Window* w = Find(handle);
  return (w && !w->children.empty()) ? w->children.front() : 0;
}

uint64_t SimDesktop::GetMenu(WindowHandle handle) const {
  if (Failing("GetMenu")) return 0;
  const Window* w = Find(handle);
  return (w && !(w->desc.style & WS_CHILD)) ? w->desc.menu : 0;
}

uint32_t SimDesktop::GetWindowThreadProcessId(WindowHandle handle, uint32_t* processId) const {
  if (Failing("GetWindowThreadProcessId")) return 0;
  const Window* w = Find(handle);
  if (!w) return 0;
  if (processId) *processId = w->desc.processId;
  return w->desc.threadId;
}

void SimDesktop::Enumerate(const std::vector<WindowHandle>& level, const std::function<bool(WindowHandle)>& callback,
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

bool SimDesktop::EnumChildWindows(WindowHandle parent, const std::function<bool(WindowHandle)>& callback) const {
  if (Failing("EnumChildWindows")) return false;
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

bool SimDesktop::GetCursorPos(Point& point) const {
  if (Failing("GetCursorPos")) return false;
  point = cursor_;
  return true;
}

WindowHandle SimDesktop::ChildFromPoint(const std::vector<WindowHandle>& level, Point point) const {
  for (WindowHandle h : level) {
    const Window& w = windows_.at(h);
    if ((w.desc.style & WS_VISIBLE) && !(w.desc.style & WS_DISABLED) && PtInRect(w.desc.window, point)) {
      WindowHandle deeper = ChildFromPoint(w.children, point);
      return deeper ? deeper : h;
    }
  }
  return 0;
}

WindowHandle SimDesktop::WindowFromPoint(Point point) const {
  if (Failing("WindowFromPoint")) return 0;
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

bool SimDesktop::EnableWindow(WindowHandle handle, bool enable) {
  if (Failing("EnableWindow")) return false;
  Window* w = Find(handle);
  if (!w) return false;
  const bool wasDisabled = (w->desc.style & WS_DISABLED) != 0;
  if (enable)
    w->desc.style &= ~WS_DISABLED;
  else
    w->desc.style |= WS_DISABLED;
  Log(Format("EnableWindow %s %d", Hex(handle).c_str(), enable ? 1 : 0));
  return wasDisabled;
}

bool SimDesktop::ShowWindow(WindowHandle handle, int command) {
  if (Failing("ShowWindow")) return false;
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
  Log(Format("ShowWindow %s %d", Hex(handle).c_str(), command));
  return wasVisible;
}

bool SimDesktop::InvalidateRect(WindowHandle handle, const Rect* rect, bool erase) {
  if (Failing("InvalidateRect")) return false;
  if (handle != 0 && !Find(handle)) return false;
  if (rect)
    Log(Format("InvalidateRect %s %d,%d,%d,%d %d", Hex(handle).c_str(), rect->left, rect->top, rect->right,
               rect->bottom, erase ? 1 : 0));
  else
    Log(Format("InvalidateRect %s all %d", Hex(handle).c_str(), erase ? 1 : 0));
  return true;
}

bool SimDesktop::PostMessage(WindowHandle handle, uint32_t message, uint64_t wParam, int64_t lParam) {
  if (Failing("PostMessage")) return false;
  if (!Find(handle)) return false;
  Log(Format("PostMessage %s 0x%04x 0x%llx %lld", Hex(handle).c_str(), message, static_cast<unsigned long long>(wParam),
             static_cast<long long>(lParam)));
  return true;
}

uint64_t SimDesktop::SetWindowLongPtr(WindowHandle handle, int index, uint64_t value) {
  if (Failing("SetWindowLongPtr")) return 0;
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
      lastError_ = kErrorInvalidIndex;
      return 0;
  }
  Log(Format("SetWindowLongPtr %s %d %s", Hex(handle).c_str(), index, Hex(value).c_str()));
  return previous;
}

bool SimDesktop::SetWindowText(WindowHandle handle, const std::string& text) {
  if (Failing("SetWindowText")) return false;
  Window* w = Find(handle);
  if (!w) return false;
  w->desc.title = text;
  Log(Format("SetWindowText %s %s", Hex(handle).c_str(), text.c_str()));
  return true;
}

bool SimDesktop::MoveWindow(WindowHandle handle, int x, int y, int width, int height, bool repaint) {
  if (Failing("MoveWindow")) return false;
  Window* w = Find(handle);
  if (!w) return false;
  // The frame keeps its thickness; the client area takes the rest. The
  // desktop keeps screen coordinates for children too.
  const int32_t frameX = Width(w->desc.window) - Width(w->desc.client);
  const int32_t frameY = Height(w->desc.window) - Height(w->desc.client);
  w->desc.window = Rect{x, y, x + width, y + height};
  w->desc.client = Rect{0, 0, std::max(0, width - frameX), std::max(0, height - frameY)};
  Log(Format("MoveWindow %s %d,%d %dx%d %d", Hex(handle).c_str(), x, y, width, height, repaint ? 1 : 0));
  return true;
}

// ---------------------------------------------------------------- libraries

LibraryHandle SimDesktop::LoadLibrary(const std::string& name) {
  if (Failing("LoadLibrary")) return 0;
  std::string key = Lower(name);
  if (key.size() > 4 && key.compare(key.size() - 4, 4, ".dll") == 0) key.resize(key.size() - 4);
  if (!libraries.count(key)) {
    lastError_ = ERROR_MOD_NOT_FOUND;
    return 0;
  }
  // Each load gets its own handle so that unbalanced frees show.
  static_assert(sizeof(LibraryHandle) == 8);
  LibraryHandle handle = 0x7ff000000000ull + (static_cast<uint64_t>(++loadedLibraries_) << 16) +
                         static_cast<uint64_t>(calls["LoadLibrary"]);
  libraryHandles_[handle] = key;
  return handle;
}

bool SimDesktop::FreeLibrary(LibraryHandle library) {
  if (Failing("FreeLibrary")) return false;
  if (!libraryHandles_.erase(library)) {
    lastError_ = ERROR_MOD_NOT_FOUND;
    return false;
  }
  --loadedLibraries_;
  return true;
}

ProcAddress SimDesktop::GetProcAddress(LibraryHandle library, const std::string& name) {
  if (Failing("GetProcAddress")) return 0;
  auto lib = libraryHandles_.find(library);
  if (lib == libraryHandles_.end()) {
    lastError_ = ERROR_MOD_NOT_FOUND;
    return 0;
  }
  auto exports = libraries.find(lib->second);
  if (exports == libraries.end() || !exports->second.count(name)) {
    lastError_ = ERROR_PROC_NOT_FOUND;
    return 0;
  }
  auto at = std::find(procNames_.begin(), procNames_.end(), name);
  if (at == procNames_.end()) at = procNames_.insert(procNames_.end(), name);
  return static_cast<ProcAddress>(at - procNames_.begin()) + 1;
}

bool SimDesktop::Bound(ProcAddress fn, const char* name) const {
  if (fn == 0 || fn > procNames_.size()) {
    lastError_ = ERROR_INVALID_PARAMETER;
    return false;
  }
  std::string bound = procNames_[static_cast<size_t>(fn - 1)];
  if (bound.rfind("K32", 0) == 0) bound.erase(0, 3);
  const std::string base = name;
  if (bound == base || bound == base + "W" || bound == base + "A") return true;
  lastError_ = ERROR_INVALID_PARAMETER;
  return false;
}

// ---------------------------------------------------------------- processes

KernelHandle SimDesktop::CreateToolhelp32Snapshot(ProcAddress fn, uint32_t flags, uint32_t processId) {
  if (!Bound(fn, "CreateToolhelp32Snapshot") || Failing("CreateToolhelp32Snapshot")) return kInvalidKernelHandle;
  KernelObject snapshot;
  snapshot.isSnapshot = true;
  if (flags & TH32CS_SNAPMODULE) {
    const uint32_t pid = processId ? processId : currentProcessId;
    const SimProcess* process = FindProcess(pid);
    if (!process) {
      lastError_ = ERROR_INVALID_PARAMETER;
      return kInvalidKernelHandle;
    }
    if (process->openError) {
      lastError_ = process->openError;
      return kInvalidKernelHandle;
    }
    for (const SimModule& m : process->modules) {
      ModuleEntry32 e;
      e.dwSize = kModuleEntrySize;
      e.th32ModuleID = 1;
      e.th32ProcessID = pid;
      e.GlblcntUsage = 0xFFFF;
      e.ProccntUsage = 0xFFFF;
      e.modBaseAddr = m.base;
      e.modBaseSize = m.size;
      e.hModule = m.base;
      e.szModule = BaseName(m.path);
      e.szExePath = m.path;
      snapshot.modules.push_back(e);
    }
  }
  if (flags & TH32CS_SNAPPROCESS) {
    for (const SimProcess& p : processes_) {
      ProcessEntry32 e;
      e.dwSize = kProcessEntrySize;
      e.th32ProcessID = p.id;
      e.cntThreads = static_cast<uint32_t>(p.threads.size());
      e.th32ParentProcessID = p.parentId;
      e.pcPriClassBase = 8;
      e.szExeFile = p.exeFile;
      snapshot.processes.push_back(e);
    }
  }
  if (flags & TH32CS_SNAPTHREAD) {
    // The platform lists the threads of every process whatever id is given.
    for (const SimProcess& p : processes_)
      for (const SimThread& t : p.threads) {
        ThreadEntry32 e;
        e.dwSize = kThreadEntrySize;
        e.th32ThreadID = t.id;
        e.th32OwnerProcessID = p.id;
        e.tpBasePri = t.basePriority;
        e.tpDeltaPri = t.deltaPriority;
        snapshot.threads.push_back(e);
      }
  }
  const KernelHandle handle = nextKernelHandle_;
  nextKernelHandle_ += 4;
  kernelObjects_[handle] = std::move(snapshot);
  return handle;
}

SimDesktop::KernelObject* SimDesktop::Snapshot(KernelHandle handle) {
  auto it = kernelObjects_.find(handle);
  if (it == kernelObjects_.end() || !it->second.isSnapshot) {
    lastError_ = kErrorInvalidHandle;
    return nullptr;
  }
  return &it->second;
}

namespace {

// One step of a snapshot walk: the platform checks the record's size first
// and says ERROR_NO_MORE_FILES at the end.
template <class Entry>
bool Step(const std::vector<Entry>& list, size_t& next, bool first, Entry& entry, uint32_t minimumSize,
          uint32_t& lastError) {
  if (entry.dwSize < minimumSize) {
    lastError = kErrorBadLength;
    return false;
  }
  if (first) next = 0;
  if (next >= list.size()) {
    lastError = ERROR_NO_MORE_FILES;
    return false;
  }
  const uint32_t size = entry.dwSize;
  entry = list[next++];
  entry.dwSize = size;
  return true;
}

}  // namespace

bool SimDesktop::Process32First(ProcAddress fn, KernelHandle handle, ProcessEntry32& entry) {
  if (!Bound(fn, "Process32First") || Failing("Process32First")) return false;
  KernelObject* s = Snapshot(handle);
  return s && Step(s->processes, s->nextProcess, true, entry, kProcessEntrySize, lastError_);
}

bool SimDesktop::Process32Next(ProcAddress fn, KernelHandle handle, ProcessEntry32& entry) {
  if (!Bound(fn, "Process32Next") || Failing("Process32Next")) return false;
  KernelObject* s = Snapshot(handle);
  return s && Step(s->processes, s->nextProcess, false, entry, kProcessEntrySize, lastError_);
}

bool SimDesktop::Module32First(ProcAddress fn, KernelHandle handle, ModuleEntry32& entry) {
  if (!Bound(fn, "Module32First") || Failing("Module32First")) return false;
  KernelObject* s = Snapshot(handle);
  return s && Step(s->modules, s->nextModule, true, entry, kModuleEntrySize, lastError_);
}

bool SimDesktop::Module32Next(ProcAddress fn, KernelHandle handle, ModuleEntry32& entry) {
  if (!Bound(fn, "Module32Next") || Failing("Module32Next")) return false;
  KernelObject* s = Snapshot(handle);
  return s && Step(s->modules, s->nextModule, false, entry, kModuleEntrySize, lastError_);
}

bool SimDesktop::Thread32First(ProcAddress fn, KernelHandle handle, ThreadEntry32& entry) {
  if (!Bound(fn, "Thread32First") || Failing("Thread32First")) return false;
  KernelObject* s = Snapshot(handle);
  return s && Step(s->threads, s->nextThread, true, entry, kThreadEntrySize, lastError_);
}

bool SimDesktop::Thread32Next(ProcAddress fn, KernelHandle handle, ThreadEntry32& entry) {
  if (!Bound(fn, "Thread32Next") || Failing("Thread32Next")) return false;
  KernelObject* s = Snapshot(handle);
  return s && Step(s->threads, s->nextThread, false, entry, kThreadEntrySize, lastError_);
}

bool SimDesktop::EnumProcessModules(ProcAddress fn, KernelHandle process, uint64_t* modules, uint32_t bytes,
                                    uint32_t* bytesNeeded) {
  if (!Bound(fn, "EnumProcessModules") || Failing("EnumProcessModules")) return false;
  auto it = kernelObjects_.find(process);
  if (it == kernelObjects_.end() || it->second.isSnapshot) {
    lastError_ = kErrorInvalidHandle;
    return false;
  }
  const SimProcess* p = FindProcess(it->second.processId);
  if (!p) {  // it has ended since it was opened
    lastError_ = ERROR_PARTIAL_COPY;
    return false;
  }
  if (bytesNeeded) *bytesNeeded = static_cast<uint32_t>(p->modules.size() * sizeof(uint64_t));
  const size_t fits = std::min<size_t>(bytes / sizeof(uint64_t), p->modules.size());
  for (size_t i = 0; i < fits && modules; ++i) modules[i] = p->modules[i].base;
  return true;
}

uint32_t SimDesktop::GetModuleFileNameEx(ProcAddress fn, KernelHandle process, uint64_t module, std::string& path,
                                         uint32_t size) {
  path.clear();
  if (!Bound(fn, "GetModuleFileNameEx") || Failing("GetModuleFileNameEx")) return 0;
  auto it = kernelObjects_.find(process);
  if (it == kernelObjects_.end() || it->second.isSnapshot) {
    lastError_ = kErrorInvalidHandle;
    return 0;
  }
  const SimProcess* p = FindProcess(it->second.processId);
  if (!p) {
    lastError_ = ERROR_PARTIAL_COPY;
    return 0;
  }
  const SimModule* found = nullptr;
  for (const SimModule& m : p->modules)
    if (module == 0 || m.base == module) {
      found = &m;
      break;
    }
  if (!found) {
    lastError_ = kErrorInvalidHandle;
    return 0;
  }
  if (found->pathUnreadable) {
    lastError_ = ERROR_PARTIAL_COPY;
    return 0;
  }
  if (size == 0) {
    lastError_ = ERROR_INSUFFICIENT_BUFFER;
    return 0;
  }
  path = TruncateUtf16(found->path, size - 1);
  return static_cast<uint32_t>(Utf8ToUtf16(path).size());
}

KernelHandle SimDesktop::OpenProcess(uint32_t access, bool inheritHandle, uint32_t processId) {
  if (Failing("OpenProcess")) return 0;
  const SimProcess* p = processId ? FindProcess(processId) : nullptr;
  if (!p) {
    lastError_ = ERROR_INVALID_PARAMETER;
    return 0;
  }
  if (p->openError) {
    lastError_ = p->openError;
    return 0;
  }
  if (access & ~p->grantedAccess) {
    lastError_ = ERROR_ACCESS_DENIED;
    return 0;
  }
  KernelObject object;
  object.processId = processId;
  object.access = access;
  object.creationTime = p->creationTime;
  const KernelHandle handle = nextKernelHandle_;
  nextKernelHandle_ += 4;
  kernelObjects_[handle] = std::move(object);
  (void)inheritHandle;
  return handle;
}

bool SimDesktop::CloseHandle(KernelHandle handle) {
  if (Failing("CloseHandle")) return false;
  if (!kernelObjects_.erase(handle)) {
    lastError_ = kErrorInvalidHandle;
    return false;
  }
  return true;
}

bool SimDesktop::GetExitCodeProcess(KernelHandle handle, uint32_t& exitCode) {
  if (Failing("GetExitCodeProcess")) return false;
  auto it = kernelObjects_.find(handle);
  if (it == kernelObjects_.end() || it->second.isSnapshot) {
    lastError_ = kErrorInvalidHandle;
    return false;
  }
  if (!(it->second.access & (PROCESS_QUERY_INFORMATION | PROCESS_QUERY_LIMITED_INFORMATION))) {
    lastError_ = ERROR_ACCESS_DENIED;
    return false;
  }
  const uint32_t id = it->second.processId;
  if (const SimProcess* p = FindProcess(id)) {
    exitCode = p->exitCode;
  } else {
    auto ended = endedProcesses.find(id);
    exitCode = ended != endedProcesses.end() ? ended->second : 0;
  }
  return true;
}

bool SimDesktop::GetProcessTimes(KernelHandle handle, uint64_t& creationTime, uint64_t& exitTime, uint64_t& kernelTime,
                                 uint64_t& userTime) {
  if (Failing("GetProcessTimes")) return false;
  auto it = kernelObjects_.find(handle);
  if (it == kernelObjects_.end() || it->second.isSnapshot) {
    lastError_ = kErrorInvalidHandle;
    return false;
  }
  if (!(it->second.access & (PROCESS_QUERY_INFORMATION | PROCESS_QUERY_LIMITED_INFORMATION))) {
    lastError_ = ERROR_ACCESS_DENIED;
    return false;
  }
  creationTime = it->second.creationTime;
  exitTime = kernelTime = userTime = 0;
  return true;
}

bool SimDesktop::TerminateProcess(KernelHandle handle, uint32_t exitCode) {
  if (Failing("TerminateProcess")) return false;
  auto it = kernelObjects_.find(handle);
  if (it == kernelObjects_.end() || it->second.isSnapshot) {
    lastError_ = kErrorInvalidHandle;
    return false;
  }
  if (!(it->second.access & PROCESS_TERMINATE)) {
    lastError_ = ERROR_ACCESS_DENIED;
    return false;
  }
  const uint32_t id = it->second.processId;
  auto process = std::find_if(processes_.begin(), processes_.end(), [id](const SimProcess& p) { return p.id == id; });
  if (process == processes_.end()) {
    lastError_ = ERROR_ACCESS_DENIED;  // as the platform answers for a process that has ended
    return false;
  }
  processes_.erase(process);
  endedProcesses[id] = exitCode;
  std::vector<WindowHandle> owned;
  for (const auto& [window, data] : windows_)
    if (data.desc.processId == id && !(data.desc.style & WS_CHILD)) owned.push_back(window);
  for (WindowHandle window : owned)
    if (windows_.count(window)) DestroyWindow(window);
  Log(Format("TerminateProcess %u %u", id, exitCode));
  return true;
}

}  // namespace qm
