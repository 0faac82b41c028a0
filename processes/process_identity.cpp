#include "processes/process_identity.h"

#include "processes/process_handle.h"
#include "processes/process_info.h"

namespace qm {

std::optional<uint64_t> ReadProcessStartTime(IProcessSystem& processes, uint32_t pid) {
  ProcessHandle process(processes, processes.OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, false, pid));
  if (!process) return std::nullopt;
  uint64_t created = 0, exited = 0, kernel = 0, user = 0;
  if (!processes.GetProcessTimes(process.get(), created, exited, kernel, user)) return std::nullopt;
  return created;
}

bool HandleIsStillTheProcess(IProcessSystem& processes, KernelHandle process, const ProcessIdentity& identity) {
  uint32_t exitCode = 0;
  if (processes.GetExitCodeProcess(process, exitCode) && exitCode != STILL_ACTIVE) return false;
  uint64_t created = 0, exited = 0, kernel = 0, user = 0;
  if (identity.startTime && processes.GetProcessTimes(process, created, exited, kernel, user))
    return created == *identity.startTime;
  return true;
}

bool ProcessHasEnded(Platform& platform, const ProcessIdentity& identity) {
  if (!platform.processes) return false;
  {
    CProcessSnapshot snapshot(platform);
    ProcessEntry32 entry;
    if (!snapshot.First(entry)) return false;
    bool listed = false;
    do {
      if (entry.th32ProcessID != identity.pid) continue;
      if (!identity.exeFile.empty() && entry.szExeFile != identity.exeFile) return true;
      listed = true;
      break;
    } while (snapshot.Next(entry));
    if (!listed) return true;
  }
  IProcessSystem& processes = *platform.processes;
  ProcessHandle process(processes, processes.OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, false, identity.pid));
  return process && !HandleIsStillTheProcess(processes, process.get(), identity);
}

}  // namespace qm
