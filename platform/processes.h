#pragma once
// Processes, modules and threads as the platform offers them: the toolhelp
// snapshot functions and the PSAPI functions, both found at run time by
// name in their libraries so that the program starts on a system lacking
// either. The core binds them through LoadLibrary/GetProcAddress exactly as
// it would on the platform and then calls them through the addresses it got;
// every call can fail and leaves its reason in GetLastError.
//
// The records keep the platform's field names; strings are UTF-8 (the real
// backend uses the wide entry points so that paths in any script survive).
// Handles and addresses are carried as 64-bit numbers.

#include <cstdint>
#include <string>

namespace qm {

using KernelHandle = uint64_t;   // a process or snapshot handle
using LibraryHandle = uint64_t;  // 0 when a library could not be loaded
using ProcAddress = uint64_t;    // 0 when an entry point was not found

// INVALID_HANDLE_VALUE: all bits set.
constexpr KernelHandle kInvalidKernelHandle = ~KernelHandle{0};

#ifndef TH32CS_SNAPHEAPLIST
constexpr uint32_t TH32CS_SNAPHEAPLIST = 0x1;
#endif
#ifndef TH32CS_SNAPPROCESS
constexpr uint32_t TH32CS_SNAPPROCESS = 0x2;
#endif
#ifndef TH32CS_SNAPTHREAD
constexpr uint32_t TH32CS_SNAPTHREAD = 0x4;
#endif
#ifndef TH32CS_SNAPMODULE
constexpr uint32_t TH32CS_SNAPMODULE = 0x8;
#endif
#ifndef PROCESS_TERMINATE
constexpr uint32_t PROCESS_TERMINATE = 0x0001;
#endif
#ifndef PROCESS_VM_READ
constexpr uint32_t PROCESS_VM_READ = 0x0010;
#endif
#ifndef PROCESS_QUERY_INFORMATION
constexpr uint32_t PROCESS_QUERY_INFORMATION = 0x0400;
#endif
#ifndef PROCESS_QUERY_LIMITED_INFORMATION
constexpr uint32_t PROCESS_QUERY_LIMITED_INFORMATION = 0x1000;
#endif
#ifndef STILL_ACTIVE
constexpr uint32_t STILL_ACTIVE = 259;
#endif

// The sizes the records have in the classic 32-bit ANSI build; the callers
// set dwSize to them before each First/Next call as the platform demands.
// The real backend sets the size of its own (wide) records.
constexpr uint32_t kProcessEntrySize = 296;
constexpr uint32_t kModuleEntrySize = 548;
constexpr uint32_t kThreadEntrySize = 28;

// PROCESSENTRY32
struct ProcessEntry32 {
  uint32_t dwSize = 0;
  uint32_t cntUsage = 0;
  uint32_t th32ProcessID = 0;
  uint64_t th32DefaultHeapID = 0;
  uint32_t th32ModuleID = 0;
  uint32_t cntThreads = 0;
  uint32_t th32ParentProcessID = 0;
  int32_t pcPriClassBase = 0;
  uint32_t dwFlags = 0;
  std::string szExeFile;
};

// MODULEENTRY32
struct ModuleEntry32 {
  uint32_t dwSize = 0;
  uint32_t th32ModuleID = 0;
  uint32_t th32ProcessID = 0;
  uint32_t GlblcntUsage = 0;
  uint32_t ProccntUsage = 0;
  uint64_t modBaseAddr = 0;
  uint32_t modBaseSize = 0;
  uint64_t hModule = 0;
  std::string szModule;
  std::string szExePath;
};

// THREADENTRY32
struct ThreadEntry32 {
  uint32_t dwSize = 0;
  uint32_t cntUsage = 0;
  uint32_t th32ThreadID = 0;
  uint32_t th32OwnerProcessID = 0;
  int32_t tpBasePri = 0;
  int32_t tpDeltaPri = 0;
  uint32_t dwFlags = 0;
};

class IProcessSystem {
 public:
  virtual ~IProcessSystem() = default;

  // Libraries and entry points by name ("Kernel32", "PSAPI";
  // "Process32FirstW", "GetModuleFileNameExW", ...).
  virtual LibraryHandle LoadLibrary(const std::string& name) = 0;
  virtual bool FreeLibrary(LibraryHandle library) = 0;
  virtual ProcAddress GetProcAddress(LibraryHandle library, const std::string& name) = 0;

  // Toolhelp, each through the address GetProcAddress gave for it.
  // CreateToolhelp32Snapshot returns kInvalidKernelHandle on failure.
  virtual KernelHandle CreateToolhelp32Snapshot(ProcAddress fn, uint32_t flags, uint32_t processId) = 0;
  virtual bool Process32First(ProcAddress fn, KernelHandle snapshot, ProcessEntry32& entry) = 0;
  virtual bool Process32Next(ProcAddress fn, KernelHandle snapshot, ProcessEntry32& entry) = 0;
  virtual bool Module32First(ProcAddress fn, KernelHandle snapshot, ModuleEntry32& entry) = 0;
  virtual bool Module32Next(ProcAddress fn, KernelHandle snapshot, ModuleEntry32& entry) = 0;
  virtual bool Thread32First(ProcAddress fn, KernelHandle snapshot, ThreadEntry32& entry) = 0;
  virtual bool Thread32Next(ProcAddress fn, KernelHandle snapshot, ThreadEntry32& entry) = 0;

  // PSAPI. Module handles are stored as 64-bit values: bytes and bytesNeeded
  // count sizeof(uint64_t) per handle whatever the platform's pointer size.
  virtual bool EnumProcessModules(ProcAddress fn, KernelHandle process, uint64_t* modules, uint32_t bytes,
                                  uint32_t* bytesNeeded) = 0;
  // Copies the module's path (module 0: the executable) into path, at most
  // size - 1 UTF-16 units of it; returns the number copied, 0 on failure.
  virtual uint32_t GetModuleFileNameEx(ProcAddress fn, KernelHandle process, uint64_t module, std::string& path,
                                       uint32_t size) = 0;

  // Processes. OpenProcess returns 0 on failure.
  virtual KernelHandle OpenProcess(uint32_t access, bool inheritHandle, uint32_t processId) = 0;
  virtual bool CloseHandle(KernelHandle handle) = 0;
  // STILL_ACTIVE while the process runs. Both need the access the handle
  // was opened with (PROCESS_QUERY_LIMITED_INFORMATION, PROCESS_TERMINATE).
  virtual bool GetExitCodeProcess(KernelHandle process, uint32_t& exitCode) = 0;
  virtual bool TerminateProcess(KernelHandle process, uint32_t exitCode) = 0;
  // FILETIMEs (100 ns ticks; creation and exit since 1601, UTC). A PID is
  // reused once its process ended; the creation time tells two processes of
  // one PID apart. Needs PROCESS_QUERY_LIMITED_INFORMATION.
  virtual bool GetProcessTimes(KernelHandle process, uint64_t& creationTime, uint64_t& exitTime, uint64_t& kernelTime,
                               uint64_t& userTime) = 0;

  virtual uint32_t GetLastError() const = 0;
};

}  // namespace qm
