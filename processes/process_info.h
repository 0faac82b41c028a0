#pragma once
// Reading the processes of the system, the modules of one process and its
// threads. The toolhelp functions (library "Kernel32") and the PSAPI
// functions (library "PSAPI") are bound by name when an object is built, so
// the program runs on a system lacking either; the caller chooses which of
// them answers the executable path and the modules.
//
// Each object lives for one operation: built, asked once, read, destroyed.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/processes.h"
#include "platform/windows.h"

namespace qm {

enum class ProcessSource { Toolhelp = 0, Psapi = 1 };

// The bound entry points and one snapshot handle.
class CProcessApi {
 public:
  explicit CProcessApi(Platform& platform);
  virtual ~CProcessApi();
  CProcessApi(const CProcessApi&) = delete;
  CProcessApi& operator=(const CProcessApi&) = delete;

  // Closes the previous snapshot and opens a new one; false when toolhelp is
  // not available or the snapshot cannot be taken.
  bool TakeSnapshot(uint32_t flags, uint32_t processId);
  bool Process32First(ProcessEntry32& entry);
  bool Process32Next(ProcessEntry32& entry);
  bool Module32First(ModuleEntry32& entry);
  bool Module32Next(ModuleEntry32& entry);
  bool Thread32First(ThreadEntry32& entry);
  bool Thread32Next(ThreadEntry32& entry);
  bool EnumProcessModules(KernelHandle process, uint64_t* modules, uint32_t bytes, uint32_t* bytesNeeded);
  uint32_t GetModuleFileNameEx(KernelHandle process, uint64_t module, std::string& path, uint32_t size);

  // The next failure to load a library is reported again (a new run, as far
  // as the reports go).
  static void ResetLibraryLoadReports();

 protected:
  uint32_t LastError() const;

  Platform& m_platform;
  IProcessSystem* m_system;  // null where the platform has no processes

  ProcAddress m_pfnCreateToolhelp32Snapshot = 0;
  ProcAddress m_pfnProcess32First = 0;
  ProcAddress m_pfnProcess32Next = 0;
  ProcAddress m_pfnModule32First = 0;
  ProcAddress m_pfnModule32Next = 0;
  ProcAddress m_pfnThread32First = 0;
  ProcAddress m_pfnThread32Next = 0;
  ProcAddress m_pfnEnumProcesses = 0;  // bound, never called
  ProcAddress m_pfnEnumProcessModules = 0;
  ProcAddress m_pfnGetModuleFileNameEx = 0;
  LibraryHandle m_hKernel32 = 0;
  KernelHandle m_hSnapshot = kInvalidKernelHandle;
  LibraryHandle m_hPsapi = 0;

 private:
  LibraryHandle Load(const char* name, bool& reported);
  void CloseSnapshot();
};

// The walk over all processes; every First takes a new snapshot.
class CProcessSnapshot : public CProcessApi {
 public:
  using CProcessApi::CProcessApi;
  bool First(ProcessEntry32& entry);
  bool Next(ProcessEntry32& entry);
};

// The executable, modules and threads of one process.
class CProcessInfo : public CProcessApi {
 public:
  CProcessInfo(Platform& platform, ProcessSource source);

  void SetSource(ProcessSource source) { m_nSource = source; }
  bool ReadProcess(uint32_t processId);
  bool ReadModules(uint32_t processId);
  bool ReadThreads(uint32_t processId);

  ProcessSource m_nSource;
  uint32_t m_dwProcessId = 0;
  std::string m_strExeName;
  std::string m_strExePath;
  // Whether the last ReadProcess found the process: a toolhelp read of an id
  // that the snapshot does not list succeeds with empty texts, and callers
  // that must tell an ended process apart look here.
  bool m_bFound = false;
  std::vector<ModuleEntry32> m_modules;
  std::vector<ThreadEntry32> m_threads;
  uint32_t m_dwLastError = 0;

 private:
  bool ReadProcessPsapi();
  bool ReadProcessToolhelp();
  bool ReadModulesPsapi();
  bool ReadModulesToolhelp();
  bool Fail();
};

// The process of a window; 0 when the handle is not a window.
uint32_t ProcessIdFromWindow(const Platform& platform, WindowHandle window);

}  // namespace qm
