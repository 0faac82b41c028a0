#pragma once
// The simulated desktop's processes, with their modules and threads, and
// the libraries that hold the toolhelp and PSAPI entry points. A process
// that is terminated takes its top-level windows with it.

#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/processes.h"
#include "platform/sim/sim_calls.h"
#include "platform/sim/sim_windows.h"

namespace qm {

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

class SimProcesses : public IProcessSystem {
 public:
  SimProcesses(SimCallLog& log, SimWindows& windows);

  void AddProcess(const SimProcess& process);
  SimProcess* FindProcess(uint32_t processId);
  // GetModuleFileNameEx and a module snapshot of process 0 mean this one.
  uint32_t currentProcessId = 0;

  // Libraries by lower-case name and the entry points each exports. Tests
  // remove a library or an entry point to see the core do without it.
  std::map<std::string, std::set<std::string>> libraries;

  int OpenKernelHandles() const { return static_cast<int>(kernelObjects_.size()); }
  int LoadedLibraries() const { return loadedLibraries_; }

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
  uint32_t GetLastError() const override { return log_.lastError; }

 private:
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

  // The entry point `name` if fn is its address; sets the last error if not.
  bool Bound(ProcAddress fn, const char* name) const;
  KernelObject* Snapshot(KernelHandle handle);

  SimCallLog& log_;
  SimWindows& windows_;
  std::vector<SimProcess> processes_;
  std::map<KernelHandle, KernelObject> kernelObjects_;
  KernelHandle nextKernelHandle_ = 0x100;
  std::map<LibraryHandle, std::string> libraryHandles_;
  int loadedLibraries_ = 0;
  std::vector<std::string> procNames_;  // ProcAddress n is procNames_[n - 1]
};

}  // namespace qm
