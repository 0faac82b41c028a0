// quillmar-cli processes | modules PID | threads PID [--json]: the processes
// of the system, and the modules and threads of one process, one
// tab-separated line per record or a JSON array.
#include <charconv>
#include <optional>
#include <ostream>

#include "cli/arguments.h"
#include "cli/command.h"
#include "common/text.h"
#include "platform/error_text.h"
#include "processes/process_info.h"
#include "processes/process_records.h"

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

int RunProcesses(Context& context, const std::vector<std::string>& arguments) {
  const bool json = TakeFlag(arguments, "--json");
  if (!WithoutFlag(arguments, "--json").empty()) {
    context.err << "usage: quillmar-cli processes [--json]\n";
    return kExitUsage;
  }
  if (!NeedsProcesses(context, "processes")) return kExitFailure;
  CProcessSnapshot snapshot(context.platform);
  ProcessEntry32 entry;
  if (!snapshot.First(entry)) {
    ReportError(context, "processes", ErrorText(context, context.platform.processes->GetLastError()));
    return kExitFailure;
  }
  std::vector<ProcessEntry32> processes;
  do processes.push_back(entry);
  while (snapshot.Next(entry));
  if (json) {
    WriteProcessesJson(context.out, processes);
    return kExitOk;
  }
  for (const ProcessEntry32& p : processes)
    context.out << p.th32ProcessID << '\t' << p.th32ParentProcessID << '\t' << p.cntThreads << '\t' << p.szExeFile
                << '\n';
  return kExitOk;
}

int RunModules(Context& context, const std::vector<std::string>& arguments) {
  const bool json = TakeFlag(arguments, "--json");
  const std::vector<std::string> args = WithoutFlag(arguments, "--json");
  const auto pid = args.size() == 1 ? ParseProcessId(args[0]) : std::nullopt;
  if (!pid) {
    context.err << "usage: quillmar-cli modules PID [--json]\n";
    return kExitUsage;
  }
  if (!NeedsProcesses(context, "modules")) return kExitFailure;
  std::vector<ModuleEntry32> modules;
  uint32_t error = 0;
  if (!ReadModuleRecords(context.platform, *pid, modules, error)) {
    ReportError(context, "process " + args[0], ErrorText(context, error));
    return kExitFailure;
  }
  if (json) {
    WriteModulesJson(context.out, modules);
    return kExitOk;
  }
  for (const ModuleEntry32& m : modules)
    context.out << Format("0x%08llx", static_cast<unsigned long long>(m.hModule)) << '\t' << m.szModule << '\t'
                << m.szExePath << '\n';
  return kExitOk;
}

int RunThreads(Context& context, const std::vector<std::string>& arguments) {
  const bool json = TakeFlag(arguments, "--json");
  const std::vector<std::string> args = WithoutFlag(arguments, "--json");
  const auto pid = args.size() == 1 ? ParseProcessId(args[0]) : std::nullopt;
  if (!pid) {
    context.err << "usage: quillmar-cli threads PID [--json]\n";
    return kExitUsage;
  }
  if (!NeedsProcesses(context, "threads")) return kExitFailure;
  CProcessInfo info(context.platform, ProcessSource::Toolhelp);
  if (!info.ReadThreads(*pid)) {
    ReportError(context, "process " + args[0], ErrorText(context, info.m_dwLastError));
    return kExitFailure;
  }
  if (json) {
    WriteThreadsJson(context.out, info.m_threads);
    return kExitOk;
  }
  for (const ThreadEntry32& t : info.m_threads)
    context.out << t.th32ThreadID << '\t' << t.tpBasePri << '\t' << t.tpDeltaPri << '\n';
  return kExitOk;
}

}  // namespace

QM_CLI_COMMAND("processes",
               "processes [--json]  pid, parent pid, threads and executable of every process (Windows only)",
               &RunProcesses);
QM_CLI_COMMAND("modules", "modules PID [--json]  handle, name and path of each module of a process (Windows only)",
               &RunModules);
QM_CLI_COMMAND("threads",
               "threads PID [--json]  id, base priority and delta of each thread of a process (Windows only)",
               &RunThreads);

}  // namespace qm::cli
