#pragma once
// An in-memory desktop for the host tests: the simulated windows and
// processes over one record of calls, as one platform. Tests build it,
// inject failures into any call and read back what was done.

#include "platform/sim/sim_calls.h"
#include "platform/sim/sim_processes.h"
#include "platform/sim/sim_windows.h"

namespace qm {

class SimDesktop : public SimCallLog, public SimWindows, public SimProcesses {
 public:
  SimDesktop() : SimWindows(static_cast<SimCallLog&>(*this)), SimProcesses(*this, *this) {}
  SimDesktop(const SimDesktop&) = delete;
  SimDesktop& operator=(const SimDesktop&) = delete;

  // Both halves answer with the one last error.
  uint32_t GetLastError() const override { return lastError; }
};

}  // namespace qm
