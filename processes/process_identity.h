#pragma once
// Which process a PID names. The system hands a PID to a new process once
// the old one ended, so a PID seen a while ago may name another process
// now; the executable and the creation time tell them apart.

#include <cstdint>
#include <optional>
#include <string>

#include "platform/platform.h"
#include "platform/processes.h"

namespace qm {

// A process as it was seen when the user chose it.
struct ProcessIdentity {
  uint32_t pid = 0;
  std::string exeFile;                // the snapshot's name; empty when not known
  std::optional<uint64_t> startTime;  // creation time; none when it could not be read
};

// The creation time of the process that has the PID now; none when it may
// not be queried (or there is none).
std::optional<uint64_t> ReadProcessStartTime(IProcessSystem& processes, uint32_t pid);

// Whether the process behind an open handle is still running and is the
// one identified (its start time, when both are known).
bool HandleIsStillTheProcess(IProcessSystem& processes, KernelHandle process, const ProcessIdentity& identity);

// Whether the identified process has ended: a new snapshot does not list
// its PID or lists another executable under it, or the process with that
// PID started at another time or no longer runs. False when it cannot be
// told (the snapshot cannot be read, the process may not be queried), so
// the caller reports its own error instead.
bool ProcessHasEnded(Platform& platform, const ProcessIdentity& identity);

}  // namespace qm
