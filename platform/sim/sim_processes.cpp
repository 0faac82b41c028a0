#include "platform/sim/sim_processes.h"

#include <algorithm>
#include <cctype>

#include "common/text.h"

namespace qm {

namespace {

constexpr uint32_t kErrorInvalidHandle = 6;
constexpr uint32_t kErrorBadLength = 24;

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

}  // namespace

SimProcesses::SimProcesses(SimCallLog& log, SimWindows& windows) : log_(log), windows_(windows) {
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

void SimProcesses::AddProcess(const SimProcess& process) { processes_.push_back(process); }

SimProcess* SimProcesses::FindProcess(uint32_t processId) {
  for (auto& p : processes_)
    if (p.id == processId) return &p;
  return nullptr;
}

// ---------------------------------------------------------------- libraries

LibraryHandle SimProcesses::LoadLibrary(const std::string& name) {
  if (log_.Failing("LoadLibrary")) return 0;
  std::string key = Lower(name);
  if (key.size() > 4 && key.compare(key.size() - 4, 4, ".dll") == 0) key.resize(key.size() - 4);
  if (!libraries.count(key)) {
    log_.lastError = ERROR_MOD_NOT_FOUND;
    return 0;
  }
  // Each load gets its own handle so that unbalanced frees show.
  static_assert(sizeof(LibraryHandle) == 8);
  LibraryHandle handle = 0x7ff000000000ull + (static_cast<uint64_t>(++loadedLibraries_) << 16) +
                         static_cast<uint64_t>(log_.calls["LoadLibrary"]);
  libraryHandles_[handle] = key;
  return handle;
}

bool SimProcesses::FreeLibrary(LibraryHandle library) {
  if (log_.Failing("FreeLibrary")) return false;
  if (!libraryHandles_.erase(library)) {
    log_.lastError = ERROR_MOD_NOT_FOUND;
    return false;
  }
  --loadedLibraries_;
  return true;
}

ProcAddress SimProcesses::GetProcAddress(LibraryHandle library, const std::string& name) {
  if (log_.Failing("GetProcAddress")) return 0;
  auto lib = libraryHandles_.find(library);
  if (lib == libraryHandles_.end()) {
    log_.lastError = ERROR_MOD_NOT_FOUND;
    return 0;
  }
  auto exports = libraries.find(lib->second);
  if (exports == libraries.end() || !exports->second.count(name)) {
    log_.lastError = ERROR_PROC_NOT_FOUND;
    return 0;
  }
  auto at = std::find(procNames_.begin(), procNames_.end(), name);
  if (at == procNames_.end()) at = procNames_.insert(procNames_.end(), name);
  return static_cast<ProcAddress>(at - procNames_.begin()) + 1;
}

bool SimProcesses::Bound(ProcAddress fn, const char* name) const {
  if (fn == 0 || fn > procNames_.size()) {
    log_.lastError = ERROR_INVALID_PARAMETER;
    return false;
  }
  std::string bound = procNames_[static_cast<size_t>(fn - 1)];
  if (bound.rfind("K32", 0) == 0) bound.erase(0, 3);
  const std::string base = name;
  if (bound == base || bound == base + "W" || bound == base + "A") return true;
  log_.lastError = ERROR_INVALID_PARAMETER;
  return false;
}

// ---------------------------------------------------------------- processes

KernelHandle SimProcesses::CreateToolhelp32Snapshot(ProcAddress fn, uint32_t flags, uint32_t processId) {
  if (!Bound(fn, "CreateToolhelp32Snapshot") || log_.Failing("CreateToolhelp32Snapshot")) return kInvalidKernelHandle;
  KernelObject snapshot;
  snapshot.isSnapshot = true;
  if (flags & TH32CS_SNAPMODULE) {
    const uint32_t pid = processId ? processId : currentProcessId;
    const SimProcess* process = FindProcess(pid);
    if (!process) {
      log_.lastError = ERROR_INVALID_PARAMETER;
      return kInvalidKernelHandle;
    }
    if (process->openError) {
      log_.lastError = process->openError;
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

SimProcesses::KernelObject* SimProcesses::Snapshot(KernelHandle handle) {
  auto it = kernelObjects_.find(handle);
  if (it == kernelObjects_.end() || !it->second.isSnapshot) {
    log_.lastError = kErrorInvalidHandle;
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

bool SimProcesses::Process32First(ProcAddress fn, KernelHandle handle, ProcessEntry32& entry) {
  if (!Bound(fn, "Process32First") || log_.Failing("Process32First")) return false;
  KernelObject* s = Snapshot(handle);
  return s && Step(s->processes, s->nextProcess, true, entry, kProcessEntrySize, log_.lastError);
}

bool SimProcesses::Process32Next(ProcAddress fn, KernelHandle handle, ProcessEntry32& entry) {
  if (!Bound(fn, "Process32Next") || log_.Failing("Process32Next")) return false;
  KernelObject* s = Snapshot(handle);
  return s && Step(s->processes, s->nextProcess, false, entry, kProcessEntrySize, log_.lastError);
}

bool SimProcesses::Module32First(ProcAddress fn, KernelHandle handle, ModuleEntry32& entry) {
  if (!Bound(fn, "Module32First") || log_.Failing("Module32First")) return false;
  KernelObject* s = Snapshot(handle);
  return s && Step(s->modules, s->nextModule, true, entry, kModuleEntrySize, log_.lastError);
}

bool SimProcesses::Module32Next(ProcAddress fn, KernelHandle handle, ModuleEntry32& entry) {
  if (!Bound(fn, "Module32Next") || log_.Failing("Module32Next")) return false;
  KernelObject* s = Snapshot(handle);
  return s && Step(s->modules, s->nextModule, false, entry, kModuleEntrySize, log_.lastError);
}

bool SimProcesses::Thread32First(ProcAddress fn, KernelHandle handle, ThreadEntry32& entry) {
  if (!Bound(fn, "Thread32First") || log_.Failing("Thread32First")) return false;
  KernelObject* s = Snapshot(handle);
  return s && Step(s->threads, s->nextThread, true, entry, kThreadEntrySize, log_.lastError);
}

bool SimProcesses::Thread32Next(ProcAddress fn, KernelHandle handle, ThreadEntry32& entry) {
  if (!Bound(fn, "Thread32Next") || log_.Failing("Thread32Next")) return false;
  KernelObject* s = Snapshot(handle);
  return s && Step(s->threads, s->nextThread, false, entry, kThreadEntrySize, log_.lastError);
}

bool SimProcesses::EnumProcessModules(ProcAddress fn, KernelHandle process, uint64_t* modules, uint32_t bytes,
                                      uint32_t* bytesNeeded) {
  if (!Bound(fn, "EnumProcessModules") || log_.Failing("EnumProcessModules")) return false;
  auto it = kernelObjects_.find(process);
  if (it == kernelObjects_.end() || it->second.isSnapshot) {
    log_.lastError = kErrorInvalidHandle;
    return false;
  }
  const SimProcess* p = FindProcess(it->second.processId);
  if (!p) {  // it has ended since it was opened
    log_.lastError = ERROR_PARTIAL_COPY;
    return false;
  }
  if (bytesNeeded) *bytesNeeded = static_cast<uint32_t>(p->modules.size() * sizeof(uint64_t));
  const size_t fits = std::min<size_t>(bytes / sizeof(uint64_t), p->modules.size());
  for (size_t i = 0; i < fits && modules; ++i) modules[i] = p->modules[i].base;
  return true;
}

uint32_t SimProcesses::GetModuleFileNameEx(ProcAddress fn, KernelHandle process, uint64_t module, std::string& path,
                                           uint32_t size) {
  path.clear();
  if (!Bound(fn, "GetModuleFileNameEx") || log_.Failing("GetModuleFileNameEx")) return 0;
  auto it = kernelObjects_.find(process);
  if (it == kernelObjects_.end() || it->second.isSnapshot) {
    log_.lastError = kErrorInvalidHandle;
    return 0;
  }
  const SimProcess* p = FindProcess(it->second.processId);
  if (!p) {
    log_.lastError = ERROR_PARTIAL_COPY;
    return 0;
  }
  const SimModule* found = nullptr;
  for (const SimModule& m : p->modules)
    if (module == 0 || m.base == module) {
      found = &m;
      break;
    }
  if (!found) {
    log_.lastError = kErrorInvalidHandle;
    return 0;
  }
  if (found->pathUnreadable) {
    log_.lastError = ERROR_PARTIAL_COPY;
    return 0;
  }
  if (size == 0) {
    log_.lastError = ERROR_INSUFFICIENT_BUFFER;
    return 0;
  }
  path = TruncateUtf16(found->path, size - 1);
  return static_cast<uint32_t>(Utf8ToUtf16(path).size());
}

KernelHandle SimProcesses::OpenProcess(uint32_t access, bool inheritHandle, uint32_t processId) {
  if (log_.Failing("OpenProcess")) return 0;
  const SimProcess* p = processId ? FindProcess(processId) : nullptr;
  if (!p) {
    log_.lastError = ERROR_INVALID_PARAMETER;
    return 0;
  }
  if (p->openError) {
    log_.lastError = p->openError;
    return 0;
  }
  if (access & ~p->grantedAccess) {
    log_.lastError = ERROR_ACCESS_DENIED;
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

bool SimProcesses::CloseHandle(KernelHandle handle) {
  if (log_.Failing("CloseHandle")) return false;
  if (!kernelObjects_.erase(handle)) {
    log_.lastError = kErrorInvalidHandle;
    return false;
  }
  return true;
}

bool SimProcesses::GetExitCodeProcess(KernelHandle handle, uint32_t& exitCode) {
  if (log_.Failing("GetExitCodeProcess")) return false;
  auto it = kernelObjects_.find(handle);
  if (it == kernelObjects_.end() || it->second.isSnapshot) {
    log_.lastError = kErrorInvalidHandle;
    return false;
  }
  if (!(it->second.access & (PROCESS_QUERY_INFORMATION | PROCESS_QUERY_LIMITED_INFORMATION))) {
    log_.lastError = ERROR_ACCESS_DENIED;
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

bool SimProcesses::GetProcessTimes(KernelHandle handle, uint64_t& creationTime, uint64_t& exitTime,
                                   uint64_t& kernelTime, uint64_t& userTime) {
  if (log_.Failing("GetProcessTimes")) return false;
  auto it = kernelObjects_.find(handle);
  if (it == kernelObjects_.end() || it->second.isSnapshot) {
    log_.lastError = kErrorInvalidHandle;
    return false;
  }
  if (!(it->second.access & (PROCESS_QUERY_INFORMATION | PROCESS_QUERY_LIMITED_INFORMATION))) {
    log_.lastError = ERROR_ACCESS_DENIED;
    return false;
  }
  creationTime = it->second.creationTime;
  exitTime = kernelTime = userTime = 0;
  return true;
}

bool SimProcesses::TerminateProcess(KernelHandle handle, uint32_t exitCode) {
  if (log_.Failing("TerminateProcess")) return false;
  auto it = kernelObjects_.find(handle);
  if (it == kernelObjects_.end() || it->second.isSnapshot) {
    log_.lastError = kErrorInvalidHandle;
    return false;
  }
  if (!(it->second.access & PROCESS_TERMINATE)) {
    log_.lastError = ERROR_ACCESS_DENIED;
    return false;
  }
  const uint32_t id = it->second.processId;
  auto process = std::find_if(processes_.begin(), processes_.end(), [id](const SimProcess& p) { return p.id == id; });
  if (process == processes_.end()) {
    log_.lastError = ERROR_ACCESS_DENIED;  // as the platform answers for a process that has ended
    return false;
  }
  processes_.erase(process);
  endedProcesses[id] = exitCode;
  windows_.DestroyWindowsOfProcess(id);
  log_.Log(Format("TerminateProcess %u %u", id, exitCode));
  return true;
}

}  // namespace qm
