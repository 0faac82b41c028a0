#pragma once
// An in-memory desktop for the host tests: windows (class, title, styles,
// rectangles, parent, owner, Z order, menu, class data, owning process and
// thread), processes with their modules and threads, and the libraries that
// hold the toolhelp and PSAPI entry points. It answers the platform's way,
// error codes included, can be told to fail any call, and records every
// action done on it.

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/processes.h"
#include "platform/windows.h"

namespace qm {

// The data of a window class.
struct SimClass {
  std::string name = "SimWindow";
  uint32_t style = 0;
  uint64_t cursor = 0;
  uint64_t background = 0;
  uint64_t icon = 0;
  uint64_t smallIcon = 0;
  uint64_t menuName = 0;
  uint64_t wndProc = 0;
  uint64_t module = 0;
};

// What a test gives to create a window. Visible, disabled, minimized and
// maximized are the WS_ bits of style, as on the platform.
struct SimWindowDesc {
  WindowHandle handle = 0;  // 0: the desktop picks the next one
  SimClass windowClass;
  std::string title;
  uint32_t style = WS_VISIBLE;
  uint32_t exStyle = 0;
  Rect window;              // screen coordinates
  Rect client;              // relative to itself; empty: the window's size
  WindowHandle parent = 0;  // for WS_CHILD windows
  WindowHandle owner = 0;   // for top-level windows
  uint64_t menu = 0;
  uint64_t wndProc = 0;  // 0: the class's
  uint64_t hInstance = 0;
  uint64_t id = 0;
  uint32_t processId = 0;
  uint32_t threadId = 0;
};

struct SimModule {
  uint64_t base = 0;
  uint32_t size = 0;
  std::string path;
  bool pathUnreadable = false;  // GetModuleFileNameEx fails for it
};

struct SimThread {
  uint32_t id = 0;
  int32_t basePriority = 8;
  int32_t deltaPriority = 0;
};

struct SimProcess {
  uint32_t id = 0;
  uint32_t parentId = 0;
  std::string exeFile;             // what the toolhelp entry holds
  std::vector<SimModule> modules;  // the first is the executable
  std::vector<SimThread> threads;
  // OpenProcess fails with this code when it is not 0 (the idle process,
  // a protected service).
  uint32_t openError = 0;
  // The rights a caller may have; asking for more fails with
  // ERROR_ACCESS_DENIED.
  uint32_t grantedAccess = ~0u;
  // STILL_ACTIVE while it runs; the code it ended with afterwards.
  uint32_t exitCode = STILL_ACTIVE;
  // What GetProcessTimes gives: a PID that is reused gets a later one.
  uint64_t creationTime = 0;
};

class SimDesktop : public IWindowSystem, public IProcessSystem {
 public:
  SimDesktop();

  // ---- building the desktop ----
  WindowHandle AddWindow(const SimWindowDesc& desc);
  // Destroys the window, its descendants and the windows it owns.
  void DestroyWindow(WindowHandle window);
  // Moves the window to the top of its siblings' Z order.
  void BringToTop(WindowHandle window);
  void AddProcess(const SimProcess& process);
  SimProcess* FindProcess(uint32_t processId);
  void SetCursor(Point point) { cursor_ = point; }
  // GetModuleFileNameEx and a module snapshot of process 0 mean this one.
  uint32_t currentProcessId = 0;

  // Libraries by lower-case name and the entry points each exports. Tests
  // remove a library or an entry point to see the core do without it.
  std::map<std::string, std::set<std::string>> libraries;

  // ---- failure injection ----
  // The named call (the platform's name: "EnumChildWindows", "OpenProcess",
  // "Process32First", "LoadLibrary", ...) fails with code, after letting
  // `skip` calls succeed; it goes on failing until ClearFailures.
  void FailCall(const std::string& call, uint32_t code, int skip = 0);
  void ClearFailures() { failures_.clear(); }

  // ---- what was done ----
  // One line per action, e.g. "ShowWindow 0x00010010 5".
  std::vector<std::string> actions;
  // Calls made, by name, for tests that count snapshots or library loads.
  mutable std::map<std::string, int> calls;
  int OpenKernelHandles() const { return static_cast<int>(kernelObjects_.size()); }
  int LoadedLibraries() const { return loadedLibraries_; }

  // ---- IWindowSystem ----
  bool IsWindow(WindowHandle window) const override;
  bool IsWindowEnabled(WindowHandle window) const override;
  bool IsWindowVisible(WindowHandle window) const override;
  bool IsIconic(WindowHandle window) const override;
  bool IsZoomed(WindowHandle window) const override;
  std::string GetClassName(WindowHandle window) const override;
  int GetWindowTextLength(WindowHandle window) const override;
  std::string GetWindowText(WindowHandle window, int maxCount) const override;
  bool GetWindowRect(WindowHandle window, Rect& rect) const override;
  bool GetClientRect(WindowHandle window, Rect& rect) const override;
  uint64_t GetWindowLongPtr(WindowHandle window, int index) const override;
  uint64_t GetClassLongPtr(WindowHandle window, int index) const override;
  WindowHandle GetWindow(WindowHandle window, unsigned relation) const override;
  WindowHandle GetParent(WindowHandle window) const override;
  WindowHandle GetTopWindow(WindowHandle window) const override;
  uint64_t GetMenu(WindowHandle window) const override;
  uint32_t GetWindowThreadProcessId(WindowHandle window, uint32_t* processId) const override;
  bool EnumChildWindows(WindowHandle parent, const std::function<bool(WindowHandle)>& callback) const override;
  bool GetCursorPos(Point& point) const override;
  WindowHandle WindowFromPoint(Point point) const override;
  bool EnableWindow(WindowHandle window, bool enable) override;
  bool ShowWindow(WindowHandle window, int command) override;
  bool InvalidateRect(WindowHandle window, const Rect* rect, bool erase) override;
  bool PostMessage(WindowHandle window, uint32_t message, uint64_t wParam, int64_t lParam) override;
  uint64_t SetWindowLongPtr(WindowHandle window, int index, uint64_t value) override;
  bool SetWindowText(WindowHandle window, const std::string& text) override;
  bool MoveWindow(WindowHandle window, int x, int y, int width, int height, bool repaint) override;
  uint32_t GetLastError() const override { return lastError_; }

  // ---- IProcessSystem ----
  LibraryHandle LoadLibrary(const std::string& name) override;
  bool FreeLibrary(LibraryHandle library) override;
  ProcAddress GetProcAddress(LibraryHandle library, const std::string& name) override;
  KernelHandle CreateToolhelp32Snapshot(ProcAddress fn, uint32_t flags, uint32_t processId) override;
  bool Process32First(ProcAddress fn, KernelHandle snapshot, ProcessEntry32& entry) override;
  bool Process32Next(ProcAddress fn, KernelHandle snapshot, ProcessEntry32& entry) override;
  bool Module32First(ProcAddress fn, KernelHandle snapshot, ModuleEntry32& entry) override;
  bool Module32Next(ProcAddress fn, KernelHandle snapshot, ModuleEntry32& entry) override;
  bool Thread32First(ProcAddress fn, KernelHandle snapshot, ThreadEntry32& entry) override;
  bool Thread32Next(ProcAddress fn, KernelHandle snapshot, ThreadEntry32& entry) override;
  bool EnumProcessModules(ProcAddress fn, KernelHandle process, uint64_t* modules, uint32_t bytes,
                          uint32_t* bytesNeeded) override;
  uint32_t GetModuleFileNameEx(ProcAddress fn, KernelHandle process, uint64_t module, std::string& path,
                               uint32_t size) override;
  KernelHandle OpenProcess(uint32_t access, bool inheritHandle, uint32_t processId) override;
  bool CloseHandle(KernelHandle handle) override;
  bool GetExitCodeProcess(KernelHandle process, uint32_t& exitCode) override;
  // Ends the process: it leaves the process list, its windows are
  // destroyed, and its handles still read its exit code.
  bool TerminateProcess(KernelHandle process, uint32_t exitCode) override;
  // The creation time of the process the handle was opened on, even after
  // its PID went to another one.
  bool GetProcessTimes(KernelHandle process, uint64_t& creationTime, uint64_t& exitTime, uint64_t& kernelTime,
                       uint64_t& userTime) override;
  // Processes that ended, with their exit codes.
  std::map<uint32_t, uint32_t> endedProcesses;

 private:
  struct Window {
    SimWindowDesc desc;
    std::vector<WindowHandle> children;  // Z order, top first
  };
  struct Failure {
    uint32_t code = 0;
    int skip = 0;
  };
  // A snapshot copies what it was asked for at the moment it is taken.
  struct KernelObject {
    bool isSnapshot = false;
    uint32_t processId = 0;  // the process opened
    uint32_t access = 0;     // the rights it was opened with
    uint64_t creationTime = 0;
    std::vector<ProcessEntry32> processes;
    std::vector<ModuleEntry32> modules;
    std::vector<ThreadEntry32> threads;
    size_t nextProcess = 0, nextModule = 0, nextThread = 0;
  };

  // Counts the call and answers whether an injected failure applies (then
  // the last error is set).
  bool Failing(const std::string& call) const;
  // The live window, or null with ERROR_INVALID_WINDOW_HANDLE.
  const Window* Find(WindowHandle window) const;
  Window* Find(WindowHandle window);
  const std::vector<WindowHandle>& Siblings(const Window& window) const;
  std::vector<WindowHandle>& Siblings(const Window& window);
  void Enumerate(const std::vector<WindowHandle>& level, const std::function<bool(WindowHandle)>& callback,
                 bool& stopped) const;
  WindowHandle ChildFromPoint(const std::vector<WindowHandle>& level, Point point) const;
  void Log(const std::string& line) { actions.push_back(line); }
  // The entry point `name` if fn is its address; sets the last error if not.
  bool Bound(ProcAddress fn, const char* name) const;
  KernelObject* Snapshot(KernelHandle handle);

  std::map<WindowHandle, Window> windows_;
  std::vector<WindowHandle> topLevel_;  // Z order, top first
  WindowHandle nextHandle_ = 0x00010010;
  Point cursor_;
  std::vector<SimProcess> processes_;
  mutable std::map<std::string, Failure> failures_;
  mutable uint32_t lastError_ = 0;
  std::map<KernelHandle, KernelObject> kernelObjects_;
  KernelHandle nextKernelHandle_ = 0x100;
  std::map<LibraryHandle, std::string> libraryHandles_;
  int loadedLibraries_ = 0;
  std::vector<std::string> procNames_;  // ProcAddress n is procNames_[n - 1]
};

}  // namespace qm
