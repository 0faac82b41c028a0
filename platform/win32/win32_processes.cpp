#include "platform/win32/win32_processes.h"

#include <cstdint>
#include <vector>

// <windows.h> must come before the toolhelp and PSAPI headers.
// clang-format off
#include "platform/win32/win.h"
#include <psapi.h>
#include <tlhelp32.h>
// clang-format on

#include "platform/win32/win32_system.h"

// tlhelp32.h maps these names to their W forms and psapi.h to their K32
// forms; the interface's methods carry the plain names.
#undef EnumProcessModules
#undef EnumProcesses
#undef Process32First
#undef Process32Next
#undef Module32First
#undef Module32Next
#undef GetModuleFileNameEx
#undef LoadLibrary

namespace qm {

namespace {

using CreateSnapshotFn = HANDLE(WINAPI*)(DWORD, DWORD);
using ProcessWalkFn = BOOL(WINAPI*)(HANDLE, PROCESSENTRY32W*);
using ModuleWalkFn = BOOL(WINAPI*)(HANDLE, MODULEENTRY32W*);
using ThreadWalkFn = BOOL(WINAPI*)(HANDLE, THREADENTRY32*);
using EnumModulesFn = BOOL(WINAPI*)(HANDLE, HMODULE*, DWORD, DWORD*);
using ModuleFileNameFn = DWORD(WINAPI*)(HANDLE, HMODULE, LPWSTR, DWORD);

template <class Fn>
Fn As(ProcAddress fn) {
  return reinterpret_cast<Fn>(static_cast<uintptr_t>(fn));
}

HANDLE ToHandle(KernelHandle handle) {
  if (handle == kInvalidKernelHandle) return INVALID_HANDLE_VALUE;
  if (handle > UINTPTR_MAX) return nullptr;
  return reinterpret_cast<HANDLE>(static_cast<uintptr_t>(handle));
}

KernelHandle FromHandle(HANDLE handle) {
  if (handle == INVALID_HANDLE_VALUE) return kInvalidKernelHandle;
  return static_cast<KernelHandle>(reinterpret_cast<uintptr_t>(handle));
}

template <class T>
uint64_t FromPointer(T* pointer) {
  return static_cast<uint64_t>(reinterpret_cast<uintptr_t>(pointer));
}

// The platform refuses a record whose size field is too small; so do we,
// with the same error, whatever size the wide record really has.
bool SizeAccepted(uint32_t given, uint32_t minimum) {
  if (given >= minimum) return true;
  ::SetLastError(ERROR_BAD_LENGTH);
  return false;
}

bool WalkProcess(ProcAddress fn, KernelHandle snapshot, ProcessEntry32& entry) {
  if (!fn || !SizeAccepted(entry.dwSize, kProcessEntrySize)) return false;
  PROCESSENTRY32W record{};
  record.dwSize = sizeof(record);
  if (!As<ProcessWalkFn>(fn)(ToHandle(snapshot), &record)) return false;
  entry.cntUsage = record.cntUsage;
  entry.th32ProcessID = record.th32ProcessID;
  entry.th32DefaultHeapID = static_cast<uint64_t>(record.th32DefaultHeapID);
  entry.th32ModuleID = record.th32ModuleID;
  entry.cntThreads = record.cntThreads;
  entry.th32ParentProcessID = record.th32ParentProcessID;
  entry.pcPriClassBase = record.pcPriClassBase;
  entry.dwFlags = record.dwFlags;
  entry.szExeFile = Narrow(record.szExeFile);
  return true;
}

bool WalkModule(ProcAddress fn, KernelHandle snapshot, ModuleEntry32& entry) {
  if (!fn || !SizeAccepted(entry.dwSize, kModuleEntrySize)) return false;
  MODULEENTRY32W record{};
  record.dwSize = sizeof(record);
  if (!As<ModuleWalkFn>(fn)(ToHandle(snapshot), &record)) return false;
  entry.th32ModuleID = record.th32ModuleID;
  entry.th32ProcessID = record.th32ProcessID;
  entry.GlblcntUsage = record.GlblcntUsage;
  entry.ProccntUsage = record.ProccntUsage;
  entry.modBaseAddr = FromPointer(record.modBaseAddr);
  entry.modBaseSize = record.modBaseSize;
  entry.hModule = FromPointer(record.hModule);
  entry.szModule = Narrow(record.szModule);
  entry.szExePath = Narrow(record.szExePath);
  return true;
}

bool WalkThread(ProcAddress fn, KernelHandle snapshot, ThreadEntry32& entry) {
  if (!fn || !SizeAccepted(entry.dwSize, kThreadEntrySize)) return false;
  THREADENTRY32 record{};
  record.dwSize = sizeof(record);
  if (!As<ThreadWalkFn>(fn)(ToHandle(snapshot), &record)) return false;
  entry.cntUsage = record.cntUsage;
  entry.th32ThreadID = record.th32ThreadID;
  entry.th32OwnerProcessID = record.th32OwnerProcessID;
  entry.tpBasePri = record.tpBasePri;
  entry.tpDeltaPri = record.tpDeltaPri;
  entry.dwFlags = record.dwFlags;
  return true;
}

bool IsPsapiName(const std::string& name) {
  return name == "EnumProcesses" || name == "EnumProcessModules" || name == "GetModuleFileNameExW" ||
         name == "GetModuleFileNameExA";
}

}  // namespace

LibraryHandle Win32Processes::LoadLibrary(const std::string& name) {
  return FromPointer(::LoadLibraryW(Widen(name).c_str()));
}

bool Win32Processes::FreeLibrary(LibraryHandle library) {
  return ::FreeLibrary(reinterpret_cast<HMODULE>(static_cast<uintptr_t>(library)));
}

ProcAddress Win32Processes::GetProcAddress(LibraryHandle library, const std::string& name) {
  FARPROC proc = ::GetProcAddress(reinterpret_cast<HMODULE>(static_cast<uintptr_t>(library)), name.c_str());
  if (!proc && IsPsapiName(name)) {
    // Kernel32 is always loaded, so its handle needs no reference of ours.
    const DWORD error = ::GetLastError();
    if (HMODULE kernel32 = ::GetModuleHandleW(L"kernel32.dll"))
      proc = ::GetProcAddress(kernel32, ("K32" + name).c_str());
    if (!proc) ::SetLastError(error);
  }
  return static_cast<ProcAddress>(reinterpret_cast<uintptr_t>(proc));
}

KernelHandle Win32Processes::CreateToolhelp32Snapshot(ProcAddress fn, uint32_t flags, uint32_t processId) {
  if (!fn) return kInvalidKernelHandle;
  return FromHandle(As<CreateSnapshotFn>(fn)(flags, processId));
}

bool Win32Processes::Process32First(ProcAddress fn, KernelHandle snapshot, ProcessEntry32& entry) {
  return WalkProcess(fn, snapshot, entry);
}
bool Win32Processes::Process32Next(ProcAddress fn, KernelHandle snapshot, ProcessEntry32& entry) {
  return WalkProcess(fn, snapshot, entry);
}
bool Win32Processes::Module32First(ProcAddress fn, KernelHandle snapshot, ModuleEntry32& entry) {
  return WalkModule(fn, snapshot, entry);
}
bool Win32Processes::Module32Next(ProcAddress fn, KernelHandle snapshot, ModuleEntry32& entry) {
  return WalkModule(fn, snapshot, entry);
}
bool Win32Processes::Thread32First(ProcAddress fn, KernelHandle snapshot, ThreadEntry32& entry) {
  return WalkThread(fn, snapshot, entry);
}
bool Win32Processes::Thread32Next(ProcAddress fn, KernelHandle snapshot, ThreadEntry32& entry) {
  return WalkThread(fn, snapshot, entry);
}

bool Win32Processes::EnumProcessModules(ProcAddress fn, KernelHandle process, uint64_t* modules, uint32_t bytes,
                                        uint32_t* bytesNeeded) {
  if (!fn) return false;
  // The caller counts 8 bytes per handle; the platform counts its own size.
  const size_t count = modules ? bytes / sizeof(uint64_t) : 0;
  std::vector<HMODULE> native(count);
  DWORD needed = 0;
  if (!As<EnumModulesFn>(fn)(ToHandle(process), count ? native.data() : nullptr,
                             static_cast<DWORD>(count * sizeof(HMODULE)), &needed))
    return false;
  const size_t available = needed / sizeof(HMODULE);
  for (size_t i = 0; i < count && i < available; ++i) modules[i] = FromPointer(native[i]);
  if (bytesNeeded) *bytesNeeded = static_cast<uint32_t>(available * sizeof(uint64_t));
  return true;
}

uint32_t Win32Processes::GetModuleFileNameEx(ProcAddress fn, KernelHandle process, uint64_t module, std::string& path,
                                             uint32_t size) {
  path.clear();
  if (!fn || size == 0) return 0;
  std::wstring buffer(size, L'\0');
  const DWORD n = As<ModuleFileNameFn>(fn)(ToHandle(process), reinterpret_cast<HMODULE>(static_cast<uintptr_t>(module)),
                                           buffer.data(), size);
  if (n == 0) return 0;
  buffer.resize(n < size ? n : size - 1);
  path = Narrow(buffer);
  return static_cast<uint32_t>(buffer.size());
}

KernelHandle Win32Processes::OpenProcess(uint32_t access, bool inheritHandle, uint32_t processId) {
  return FromHandle(::OpenProcess(access, inheritHandle ? TRUE : FALSE, processId));
}

bool Win32Processes::CloseHandle(KernelHandle handle) { return ::CloseHandle(ToHandle(handle)); }

bool Win32Processes::GetExitCodeProcess(KernelHandle process, uint32_t& exitCode) {
  DWORD code = 0;
  if (!::GetExitCodeProcess(ToHandle(process), &code)) return false;
  exitCode = code;
  return true;
}

bool Win32Processes::TerminateProcess(KernelHandle process, uint32_t exitCode) {
  return ::TerminateProcess(ToHandle(process), exitCode) != FALSE;
}

bool Win32Processes::GetProcessTimes(KernelHandle process, uint64_t& creationTime, uint64_t& exitTime,
                                     uint64_t& kernelTime, uint64_t& userTime) {
  FILETIME times[4]{};
  if (!::GetProcessTimes(ToHandle(process), &times[0], &times[1], &times[2], &times[3])) return false;
  const auto ticks = [](const FILETIME& time) { return (uint64_t{time.dwHighDateTime} << 32) | time.dwLowDateTime; };
  creationTime = ticks(times[0]);
  exitTime = ticks(times[1]);
  kernelTime = ticks(times[2]);
  userTime = ticks(times[3]);
  return true;
}

uint32_t Win32Processes::GetLastError() const { return ::GetLastError(); }

}  // namespace qm
