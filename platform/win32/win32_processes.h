#pragma once
// The real toolhelp and PSAPI behind platform/processes.h. Entry points are
// found by name at run time; PSAPI's functions are also looked for in
// Kernel32 under their "K32" names, where newer systems keep them.

#include "platform/processes.h"

namespace qm {

class Win32Processes : public IProcessSystem {
 public:
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
  bool TerminateProcess(KernelHandle process, uint32_t exitCode) override;
  bool GetProcessTimes(KernelHandle process, uint64_t& creationTime, uint64_t& exitTime, uint64_t& kernelTime,
                       uint64_t& userTime) override;
  uint32_t GetLastError() const override;
};

}  // namespace qm
