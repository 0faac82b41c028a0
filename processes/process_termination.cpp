#include "processes/process_termination.h"

#include "platform/string_ex.h"
#include "common/text.h"
#include "processes/process_handle.h"
#include "res/string_ids.h"

namespace qm {

TerminateResult TerminateAfterAsking(Platform& platform, const ProcessIdentity& target,
                                     const std::function<bool()>& ask) {
  if (!platform.processes) return {TerminateOutcome::OpenFailed, 0};
  IProcessSystem& processes = *platform.processes;
  ProcessHandle process(
      processes, processes.OpenProcess(PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION, false, target.pid));
  if (!process) {
    const uint32_t error = processes.GetLastError();
    // "Invalid parameter" for a PID nobody has any more says nothing useful.
    if (ProcessHasEnded(platform, target)) return {TerminateOutcome::Ended, 0};
    return {TerminateOutcome::OpenFailed, error};
  }
  // The open handle keeps the PID from going to another process from here
  // on; it may still have gone to one before the open.
  if (ProcessHasEnded(platform, target) || !HandleIsStillTheProcess(processes, process.get(), target))
    return {TerminateOutcome::Ended, 0};
  if (!ask()) return {TerminateOutcome::Declined, 0};
  // It may have ended by itself while the question was open.
  if (!HandleIsStillTheProcess(processes, process.get(), target)) return {TerminateOutcome::Ended, 0};
  if (!processes.TerminateProcess(process.get(), kTerminatedExitCode)) {
    const uint32_t error = processes.GetLastError();
    if (!HandleIsStillTheProcess(processes, process.get(), target)) return {TerminateOutcome::Ended, 0};
    return {TerminateOutcome::Failed, error};
  }
  return {TerminateOutcome::Terminated, 0};
}

std::string TerminateQuestion(const IStrings& strings, const ProcessIdentity& target) {
  return CStringEx().FormatFromId(strings, IDS_CONFIRM_TERMINATE, {target.exeFile, Format("%u", target.pid)}).m_str;
}

std::string AlreadyEndedText(const IStrings& strings, const ProcessIdentity& target) {
  return CStringEx()
      .FormatFromId(strings, IDS_TERMINATE_TARGET_ENDED, {target.exeFile, Format("%u", target.pid)})
      .m_str;
}

}  // namespace qm
