#pragma once
// What the process information dialog shows of one process: its id and
// executable, and on two tabs the rows of its modules (with the version data
// of each module file) or of its threads (with their priorities). Portable:
// the dialog only moves these rows to its controls.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/processes.h"

namespace qm {

class CFileVersionInfo;

enum class ProcessTab { Modules = 0, Threads = 1 };

// "(%02d) Idle" and the other names of the base priority levels; a value
// without a name is only the number: "(08)", "(-7)".
std::string PriorityName(int32_t basePriority);
// "+0", "-2", "+3".
std::string PriorityDeltaText(int32_t delta);

enum ModuleColumn : size_t { kModuleName, kModuleVersion, kModuleDescription, kModuleCopyright, kModulePath };

struct ModuleRow {
  // Name, FileVersion, FileDescription, LegalCopyright, path.
  std::array<std::string, 5> cells;
  int image = -1;  // the shell's small-icon index, set by the dialog
};

struct ThreadRow {
  // "0x%08x" id, priority name, delta.
  std::array<std::string, 3> cells;
};

// One module: the name is the file's own spelling when a file is found at
// the module's path, else the record's; the version cells are empty unless
// the file's version block opens (never the values of the module read
// before with the same reader).
ModuleRow ReadModuleRow(const Platform& platform, CFileVersionInfo& version, const ModuleEntry32& module);
// Every module with one version reader, in record order.
std::vector<ModuleRow> ReadModuleRows(const Platform& platform, const std::vector<ModuleEntry32>& modules);
ThreadRow MakeThreadRow(const ThreadEntry32& thread);

// One refresh of the dialog: the process read by PSAPI, then by toolhelp
// when PSAPI fails, and the list of the tab read from the source that
// answered. A read that fails because the process has ended says so, not
// what the system answered about a PID nobody has.
struct ProcessReading {
  enum class Outcome {
    Read,         // texts and records filled
    ProcessGone,  // neither source can read the process: warn, close the dialog
    Ended,        // the process has ended: say so, close the dialog
    ListFailed,   // the process runs but its list cannot be read: warn, stay
  };
  Outcome outcome = Outcome::ProcessGone;
  std::string warning;  // the text of the warning box, when not Read
  std::string pidText;  // "%u (0x%x)"
  std::string exePath;
  std::string countText;  // "%u %s" with the count of records read, empty when none could be read
  std::vector<ModuleEntry32> modules;
  std::vector<ThreadEntry32> threads;
  // When the process started; none when it may not be queried.
  std::optional<uint64_t> startTime;
};

// knownStart: the start time an earlier reading of the same dialog found,
// so that a PID that went to a new process in between counts as ended.
ProcessReading ReadProcessForTab(Platform& platform, uint32_t processId, ProcessTab tab,
                                 std::optional<uint64_t> knownStart = std::nullopt);

// The executable file of a process, for its resources: the path of the
// first module (read through PSAPI) named as the process's executable.
// Both empty when no module has that name; a warning when a read fails.
struct ExecutableModule {
  std::string path;
  std::string warning;
};
ExecutableModule FindExecutableModule(Platform& platform, uint32_t processId);

}  // namespace qm
