// quillmar-cli processes | modules PID | threads PID: the processes of the
// system, and the modules and threads of one process, one tab-separated
// line per record.
#include <charconv>
#include <optional>
#include <ostream>

#include "cli/command.h"
#include "platform/error_text.h"
#include "common/text.h"
#include "processes/process_info.h"

namespace qm::cli {

namespace {

std::optional<uint32_t> ParseProcessId(const std::string& text) {
  uint32_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 10);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

bool NeedsProcesses(Context& context, const char* command) {
  if (context.platform.processes) return true;
  ReportError(context, command, "reading processes needs Windows");
  return false;
}

std::string ErrorText(Context& context, uint32_t code) {
  std::string text = CErrorText(*context.platform.errors, code).GetText();
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) text.pop_back();
  return text;
}

int RunProcesses(Context& context, const std::vector<std::string>& args) {
  if (!args.empty()) {
    context.err << "usage: quillmar-cli processes\n";
    return kExitUsage;
  }
  if (!NeedsProcesses(context, "processes")) return kExitFailure;
  CProcessSnapshot snapshot(context.platform);
  ProcessEntry32 entry;
  if (!snapshot.First(entry)) {
    ReportError(context, "processes", ErrorText(context, context.platform.processes->GetLastError()));
    return kExitFailure;
  }
  do {
    context.out << entry.th32ProcessID << '\t' << entry.th32ParentProcessID << '\t' << entry.cntThreads << '\t'
                << entry.szExeFile << '\n';
  } while (snapshot.Next(entry));
  return kExitOk;
}

// The process information dialog's rule: PSAPI first, toolhelp when PSAPI
// cannot read the process.
int RunModules(Context& context, const std::vector<std::string>& args) {
  const auto pid = args.size() == 1 ? ParseProcessId(args[0]) : std::nullopt;
  if (!pid) {
    context.err << "usage: quillmar-cli modules PID\n";
    return kExitUsage;
  }
  if (!NeedsProcesses(context, "modules")) return kExitFailure;
  CProcessInfo info(context.platform, ProcessSource::Psapi);
  if (!info.ReadProcess(*pid)) info.SetSource(ProcessSource::Toolhelp);
  if (!info.ReadModules(*pid)) {
    ReportError(context, "process " + args[0], ErrorText(context, info.m_dwLastError));
    return kExitFailure;
  }
  for (const ModuleEntry32& m : info.m_modules)
    context.out << Format("0x%08llx", static_cast<unsigned long long>(m.hModule)) << '\t' << m.szModule << '\t'
                << m.szExePath << '\n';
  return kExitOk;
}

int RunThreads(Context& context, const std::vector<std::string>& args) {
  const auto pid = args.size() == 1 ? ParseProcessId(args[0]) : std::nullopt;
  if (!pid) {
    context.err << "usage: quillmar-cli threads PID\n";
    return kExitUsage;
  }
  if (!NeedsProcesses(context, "threads")) return kExitFailure;
  CProcessInfo info(context.platform, ProcessSource::Toolhelp);
  if (!info.ReadThreads(*pid)) {
    ReportError(context, "process " + args[0], ErrorText(context, info.m_dwLastError));
    return kExitFailure;
  }
  for (const ThreadEntry32& t : info.m_threads)
    context.out << t.th32ThreadID << '\t' << t.tpBasePri << '\t' << t.tpDeltaPri << '\n';
  return kExitOk;
}

}  // namespace

QM_CLI_COMMAND("processes", "processes  pid, parent pid, threads and executable of every process (Windows only)",
               &RunProcesses);
QM_CLI_COMMAND("modules", "modules PID  handle, name and path of each module of a process (Windows only)", &RunModules);
QM_CLI_COMMAND("threads", "threads PID  id, base priority and delta of each thread of a process (Windows only)",
               &RunThreads);

}  // namespace qm::cli
