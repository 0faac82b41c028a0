#include "processes/process_info.h"

#include <algorithm>
#include <atomic>
#include <new>

#include "platform/error_text.h"
#include "common/text.h"
#include "processes/process_handle.h"

namespace qm {

namespace {

// The processes dialog builds a snapshot every second; a library that cannot
// be loaded is reported on the first attempt of the run only. The flag is
// set before the message box opens, so the ticks that arrive while it is
// open do not stack up more boxes.
std::atomic<bool> g_kernel32Reported{false};
std::atomic<bool> g_psapiReported{false};

constexpr uint32_t kErrorNotSupported = 50;
// Paths longer than the classic 260 characters are read whole.
constexpr uint32_t kPathRoom = 32768;
constexpr const char* kUnreadablePath = "N/A (error)";

template <class T>
void AppendDroppingOnNoMemory(std::vector<T>& list, const T& record) {
  try {
    list.push_back(record);
  } catch (const std::bad_alloc&) {
    // The record is dropped and the walk goes on.
  }
}

}  // namespace

// ---------------------------------------------------------------- CProcessApi

CProcessApi::CProcessApi(Platform& platform) : m_platform(platform), m_system(platform.processes) {
  if (!m_system) return;
  bool reported = g_kernel32Reported.load();
  m_hKernel32 = Load("Kernel32", reported);
  g_kernel32Reported = reported;
  if (m_hKernel32) {
    // The wide entry points, so that paths in any script survive.
    m_pfnCreateToolhelp32Snapshot = m_system->GetProcAddress(m_hKernel32, "CreateToolhelp32Snapshot");
    m_pfnProcess32First = m_system->GetProcAddress(m_hKernel32, "Process32FirstW");
    m_pfnProcess32Next = m_system->GetProcAddress(m_hKernel32, "Process32NextW");
    m_pfnModule32First = m_system->GetProcAddress(m_hKernel32, "Module32FirstW");
    m_pfnModule32Next = m_system->GetProcAddress(m_hKernel32, "Module32NextW");
    m_pfnThread32First = m_system->GetProcAddress(m_hKernel32, "Thread32First");
    m_pfnThread32Next = m_system->GetProcAddress(m_hKernel32, "Thread32Next");
  }
  reported = g_psapiReported.load();
  m_hPsapi = Load("PSAPI", reported);
  g_psapiReported = reported;
  if (m_hPsapi) {
    m_pfnEnumProcesses = m_system->GetProcAddress(m_hPsapi, "EnumProcesses");
    m_pfnEnumProcessModules = m_system->GetProcAddress(m_hPsapi, "EnumProcessModules");
    m_pfnGetModuleFileNameEx = m_system->GetProcAddress(m_hPsapi, "GetModuleFileNameExW");
  }
}

LibraryHandle CProcessApi::Load(const char* name, bool& reported) {
  const LibraryHandle library = m_system->LoadLibrary(name);
  if (!library && !reported) {
    reported = true;
    const uint32_t code = m_system->GetLastError();
    if (m_platform.messageBox && m_platform.errors)
      m_platform.messageBox->MessageBox(CErrorText(*m_platform.errors, code).GetText(), MB_ICONEXCLAMATION_);
  }
  return library;
}

CProcessApi::~CProcessApi() {
  if (!m_system) return;
  CloseSnapshot();
  if (m_hKernel32) m_system->FreeLibrary(m_hKernel32);
  if (m_hPsapi) m_system->FreeLibrary(m_hPsapi);
}

void CProcessApi::ResetLibraryLoadReports() {
  g_kernel32Reported = false;
  g_psapiReported = false;
}

uint32_t CProcessApi::LastError() const { return m_system ? m_system->GetLastError() : kErrorNotSupported; }

void CProcessApi::CloseSnapshot() {
  if (m_hSnapshot != kInvalidKernelHandle) m_system->CloseHandle(m_hSnapshot);
  m_hSnapshot = kInvalidKernelHandle;
}

bool CProcessApi::TakeSnapshot(uint32_t flags, uint32_t processId) {
  if (!m_hKernel32 || !m_pfnCreateToolhelp32Snapshot) return false;
  CloseSnapshot();
  m_hSnapshot = m_system->CreateToolhelp32Snapshot(m_pfnCreateToolhelp32Snapshot, flags, processId);
  return m_hSnapshot != kInvalidKernelHandle;
}

bool CProcessApi::Process32First(ProcessEntry32& entry) {
  if (!m_hKernel32 || m_hSnapshot == kInvalidKernelHandle || !m_pfnProcess32First) return false;
  return m_system->Process32First(m_pfnProcess32First, m_hSnapshot, entry);
}

bool CProcessApi::Process32Next(ProcessEntry32& entry) {
  if (!m_hKernel32 || m_hSnapshot == kInvalidKernelHandle || !m_pfnProcess32Next) return false;
  return m_system->Process32Next(m_pfnProcess32Next, m_hSnapshot, entry);
}

bool CProcessApi::Module32First(ModuleEntry32& entry) {
  if (!m_hKernel32 || m_hSnapshot == kInvalidKernelHandle || !m_pfnModule32First) return false;
  return m_system->Module32First(m_pfnModule32First, m_hSnapshot, entry);
}

bool CProcessApi::Module32Next(ModuleEntry32& entry) {
  if (!m_hKernel32 || m_hSnapshot == kInvalidKernelHandle || !m_pfnModule32Next) return false;
  return m_system->Module32Next(m_pfnModule32Next, m_hSnapshot, entry);
}

bool CProcessApi::Thread32First(ThreadEntry32& entry) {
  if (!m_hKernel32 || m_hSnapshot == kInvalidKernelHandle || !m_pfnThread32First) return false;
  return m_system->Thread32First(m_pfnThread32First, m_hSnapshot, entry);
}

bool CProcessApi::Thread32Next(ThreadEntry32& entry) {
  if (!m_hKernel32 || m_hSnapshot == kInvalidKernelHandle || !m_pfnThread32Next) return false;
  return m_system->Thread32Next(m_pfnThread32Next, m_hSnapshot, entry);
}

bool CProcessApi::EnumProcessModules(KernelHandle process, uint64_t* modules, uint32_t bytes, uint32_t* bytesNeeded) {
  if (!m_hPsapi || !m_pfnEnumProcessModules) return false;
  return m_system->EnumProcessModules(m_pfnEnumProcessModules, process, modules, bytes, bytesNeeded);
}

uint32_t CProcessApi::GetModuleFileNameEx(KernelHandle process, uint64_t module, std::string& path, uint32_t size) {
  path.clear();
  if (!m_hPsapi || !m_pfnGetModuleFileNameEx) return 0;
  return m_system->GetModuleFileNameEx(m_pfnGetModuleFileNameEx, process, module, path, size);
}

// ---------------------------------------------------------------- CProcessSnapshot

bool CProcessSnapshot::First(ProcessEntry32& entry) {
  if (!TakeSnapshot(TH32CS_SNAPPROCESS, 0)) return false;
  entry.dwSize = kProcessEntrySize;
  return Process32First(entry);
}

bool CProcessSnapshot::Next(ProcessEntry32& entry) {
  entry.dwSize = kProcessEntrySize;
  return Process32Next(entry);
}

// ---------------------------------------------------------------- CProcessInfo

CProcessInfo::CProcessInfo(Platform& platform, ProcessSource source) : CProcessApi(platform), m_nSource(source) {}

bool CProcessInfo::Fail() {
  m_dwLastError = LastError();
  // A failure must never read as success to the caller's error report.
  if (m_dwLastError == 0) m_dwLastError = kErrorNotSupported;
  return false;
}

bool CProcessInfo::ReadProcess(uint32_t processId) {
  m_dwProcessId = processId;
  m_dwLastError = 0;
  m_strExeName.clear();
  m_strExePath.clear();
  m_bFound = false;
  return m_nSource == ProcessSource::Psapi ? ReadProcessPsapi() : ReadProcessToolhelp();
}

bool CProcessInfo::ReadProcessPsapi() {
  if (!m_system) return Fail();
  ProcessHandle process(*m_system,
                        m_system->OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, false, m_dwProcessId));
  if (!process) return Fail();
  std::string path;
  if (GetModuleFileNameEx(process.get(), 0, path, kPathRoom) == 0) return Fail();
  m_strExePath = path;
  m_strExeName = BaseName(m_strExePath);
  m_bFound = true;
  return true;
}

bool CProcessInfo::ReadProcessToolhelp() {
  if (!TakeSnapshot(TH32CS_SNAPPROCESS, 0)) return Fail();
  ProcessEntry32 entry;
  entry.dwSize = kProcessEntrySize;
  for (bool more = Process32First(entry); more; more = Process32Next(entry)) {
    if (entry.th32ProcessID == m_dwProcessId) {
      m_strExePath = entry.szExeFile;
      m_strExeName = BaseName(m_strExePath);
      m_bFound = true;
      return true;
    }
    entry.dwSize = kProcessEntrySize;
  }
  // Not listed: success with both strings empty.
  return true;
}

bool CProcessInfo::ReadModules(uint32_t processId) {
  if (processId == 0) return true;
  m_dwProcessId = processId;
  m_dwLastError = 0;
  m_modules.clear();
  return m_nSource == ProcessSource::Psapi ? ReadModulesPsapi() : ReadModulesToolhelp();
}

bool CProcessInfo::ReadModulesPsapi() {
  if (!m_system) return Fail();
  ProcessHandle process(*m_system,
                        m_system->OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, false, m_dwProcessId));
  if (!process) return Fail();
  uint32_t needed = 0;
  if (!EnumProcessModules(process.get(), nullptr, 0, &needed)) return Fail();
  size_t count = needed / sizeof(uint64_t);
  std::vector<uint64_t> handles;
  try {
    handles.resize(count);
  } catch (const std::bad_alloc&) {
    m_dwLastError = ERROR_NOT_ENOUGH_MEMORY;
    return false;
  }
  uint32_t neededNow = 0;
  if (!EnumProcessModules(process.get(), handles.data(), static_cast<uint32_t>(count * sizeof(uint64_t)), &neededNow))
    return Fail();
  // Modules may have been unloaded between the two calls: only the handles
  // the second call wrote are read.
  count = std::min<size_t>(count, neededNow / sizeof(uint64_t));
  for (size_t i = 0; i < count; ++i) {
    std::string path;
    if (GetModuleFileNameEx(process.get(), handles[i], path, kPathRoom) == 0) path = kUnreadablePath;
    ModuleEntry32 record;
    record.dwSize = kModuleEntrySize;
    record.th32ModuleID = 0xFFFFFFFF;
    record.th32ProcessID = m_dwProcessId;
    record.GlblcntUsage = 0xFFFFFFFF;
    record.ProccntUsage = 0xFFFFFFFF;
    record.modBaseAddr = 0;
    record.modBaseSize = 0;
    record.hModule = handles[i];
    record.szModule = BaseName(path);
    record.szExePath = path;
    AppendDroppingOnNoMemory(m_modules, record);
  }
  return true;
}

bool CProcessInfo::ReadModulesToolhelp() {
  if (!TakeSnapshot(TH32CS_SNAPMODULE, m_dwProcessId)) return Fail();
  ModuleEntry32 entry;
  entry.dwSize = kModuleEntrySize;
  for (bool more = Module32First(entry); more; more = Module32Next(entry)) {
    AppendDroppingOnNoMemory(m_modules, entry);
    entry.dwSize = kModuleEntrySize;
  }
  return true;
}

bool CProcessInfo::ReadThreads(uint32_t processId) {
  m_dwProcessId = processId;
  m_dwLastError = 0;
  m_threads.clear();
  if (!TakeSnapshot(TH32CS_SNAPTHREAD, processId)) return Fail();
  ThreadEntry32 entry;
  entry.dwSize = kThreadEntrySize;
  // The snapshot holds the threads of every process.
  for (bool more = Thread32First(entry); more; more = Thread32Next(entry)) {
    if (entry.th32OwnerProcessID == processId) AppendDroppingOnNoMemory(m_threads, entry);
    entry.dwSize = kThreadEntrySize;
  }
  return true;
}

// ---------------------------------------------------------------- windows

uint32_t ProcessIdFromWindow(const Platform& platform, WindowHandle window) {
  if (!platform.windows || !platform.windows->IsWindow(window)) return 0;
  uint32_t processId = 0;
  platform.windows->GetWindowThreadProcessId(window, &processId);
  return processId;
}

}  // namespace qm
