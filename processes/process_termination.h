#pragma once
// Ending the process the user chose, and only that one: the question names
// it, and right before it is ended its PID is checked to still belong to
// the process that was chosen (a PID goes to a new process once the old
// one ended).

#include <cstdint>
#include <functional>
#include <string>

#include "platform/platform.h"
#include "processes/process_identity.h"

namespace qm {

enum class TerminateOutcome {
  OpenFailed,  // the process may not be opened; error says why
  Declined,    // the user said No
  Ended,       // it had ended (or its PID went to another process): nothing done
  Failed,      // TerminateProcess failed; error says why
  Terminated,
};
struct TerminateResult {
  TerminateOutcome outcome = TerminateOutcome::OpenFailed;
  uint32_t error = 0;  // the platform's code for OpenFailed and Failed
};

// It ends with exit code 1 so whoever waits on it reads a failure, not
// "still running".
constexpr uint32_t kTerminatedExitCode = 1;

// Opened with only the rights this needs, so a process the user may end is
// not refused for want of others. ask shows the question and returns
// whether the user said Yes; it is not asked about a process that has
// already ended.
TerminateResult TerminateAfterAsking(Platform& platform, const ProcessIdentity& target,
                                     const std::function<bool()>& ask);

// The confirmation, naming the executable and PID it will end.
std::string TerminateQuestion(const IStrings& strings, const ProcessIdentity& target);
// What the user is told when the process had ended before it could be.
std::string AlreadyEndedText(const IStrings& strings, const ProcessIdentity& target);

}  // namespace qm
