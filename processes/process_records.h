#pragma once
// The processes of the system and the modules and threads of one process as
// a script reads them: JSON arrays of the platform's records.

#include <cstdint>
#include <iosfwd>
#include <vector>

#include "platform/platform.h"
#include "platform/processes.h"

namespace qm {

// The modules of a process by the process information dialog's rule (PSAPI
// first, toolhelp when PSAPI cannot read the process). PSAPI names no base
// address or size: those come from a toolhelp walk of the same process
// where it has the module, and stay 0 where not. False with the reason in
// error when neither can read the process.
bool ReadModuleRecords(Platform& platform, uint32_t processId, std::vector<ModuleEntry32>& modules, uint32_t& error);

// [{"pid":..,"parent":..,"threads":..,"exe":".."}, ...]
void WriteProcessesJson(std::ostream& out, const std::vector<ProcessEntry32>& processes);
// [{"base":"0x..","size":..,"name":"..","path":".."}, ...]; a size that is
// not known is null.
void WriteModulesJson(std::ostream& out, const std::vector<ModuleEntry32>& modules);
// [{"tid":..,"base_priority":..,"delta":..}, ...]
void WriteThreadsJson(std::ostream& out, const std::vector<ThreadEntry32>& threads);

}  // namespace qm
