#include "processes/process_info_model.h"

#include <algorithm>
#include <cctype>
#include <utility>

#include "platform/error_text.h"
#include "platform/string_ex.h"
#include "common/text.h"
#include "resources/file_version_info.h"
#include "processes/process_identity.h"
#include "processes/process_info.h"
#include "res/string_ids.h"

namespace qm {
namespace {

// "Error obteniendo datos del proceso %u (0x%x)", a line break and the
// system's text of the error.
std::string ReadWarning(const Platform& platform, uint32_t processId, uint32_t error) {
  CStringEx text;
  text.FormatFromId(*platform.strings, IDS_PROCESS_READ_ERROR, {Format("%u", processId), Format("%x", processId)});
  return text.m_str + "\n" + CErrorText(*platform.errors, error).GetText();
}

// "El proceso %u (0x%x) ha terminado".
std::string EndedText(const Platform& platform, uint32_t processId) {
  return CStringEx()
      .FormatFromId(*platform.strings, IDS_PROCESS_ENDED, {Format("%u", processId), Format("%x", processId)})
      .m_str;
}

}  // namespace

std::string PriorityName(int32_t basePriority) {
  const char* name = nullptr;
  switch (basePriority) {
    case -15:
      name = "Idle";
      break;
    case -2:
      name = "Lowest";
      break;
    case -1:
      name = "Below normal";
      break;
    case 0:
      name = "Normal";
      break;
    case 1:
      name = "Above Normal";
      break;
    case 2:
      name = "Highest";
      break;
    case 15:
      name = "Time critical";
      break;
    default:
      break;
  }
  const std::string number = Format("(%02d)", basePriority);
  return name ? number + " " + name : number;
}

std::string PriorityDeltaText(int32_t delta) { return Format("%+d", delta); }

ModuleRow ReadModuleRow(const Platform& platform, CFileVersionInfo& version, const ModuleEntry32& module) {
  ModuleRow row;
  row.cells[kModuleName] = module.szModule;
  row.cells[kModulePath] = module.szExePath;
  if (auto found = platform.files->FindFile(module.szExePath)) row.cells[kModuleName] = found->name;
  if (version.Open(module.szExePath)) {
    row.cells[kModuleVersion] = version.GetField(VersionField::FileVersion);
    row.cells[kModuleDescription] = version.GetField(VersionField::FileDescription);
    row.cells[kModuleCopyright] = version.GetField(VersionField::LegalCopyright);
  }
  return row;
}

std::vector<ModuleRow> ReadModuleRows(const Platform& platform, const std::vector<ModuleEntry32>& modules) {
  CFileVersionInfo version(platform, std::string());
  std::vector<ModuleRow> rows;
  rows.reserve(modules.size());
  for (const ModuleEntry32& module : modules) rows.push_back(ReadModuleRow(platform, version, module));
  return rows;
}

ThreadRow MakeThreadRow(const ThreadEntry32& thread) {
  return {
      {Format("0x%08x", thread.th32ThreadID), PriorityName(thread.tpBasePri), PriorityDeltaText(thread.tpDeltaPri)}};
}

ProcessReading ReadProcessForTab(Platform& platform, uint32_t processId, ProcessTab tab,
                                 std::optional<uint64_t> knownStart) {
  ProcessReading reading;
  const ProcessIdentity identity{processId, {}, knownStart};
  // Told apart by what the system lists now, never by the error code alone:
  // the same codes come from a process that runs but may not be read.
  const auto failed = [&](ProcessReading::Outcome outcome, std::string warning) {
    if (ProcessHasEnded(platform, identity)) {
      reading.outcome = ProcessReading::Outcome::Ended;
      reading.warning = EndedText(platform, processId);
    } else {
      reading.outcome = outcome;
      reading.warning = std::move(warning);
    }
  };
  CProcessInfo info(platform, ProcessSource::Psapi);
  if (!info.ReadProcess(processId)) {
    // Kept from the PSAPI failure: it says why the process could not be opened.
    std::string warning = ReadWarning(platform, processId, info.m_dwLastError);
    info.SetSource(ProcessSource::Toolhelp);
    // A toolhelp read of an id the snapshot no longer lists "succeeds" with
    // nothing: the process has ended, and that is a failure here.
    if (!info.ReadProcess(processId) || !info.m_bFound) {
      failed(ProcessReading::Outcome::ProcessGone, std::move(warning));
      return reading;
    }
  }
  if (platform.processes) reading.startTime = ReadProcessStartTime(*platform.processes, processId);
  if (knownStart && reading.startTime && *reading.startTime != *knownStart) {
    reading.outcome = ProcessReading::Outcome::Ended;
    reading.warning = EndedText(platform, processId);
    return reading;
  }
  reading.exePath = info.m_strExePath;
  reading.pidText = Format("%u (0x%x)", processId, processId);

  const bool modules = tab == ProcessTab::Modules;
  const bool read = modules ? info.ReadModules(processId) : info.ReadThreads(processId);
  if (!read) {
    failed(ProcessReading::Outcome::ListFailed, ReadWarning(platform, processId, info.m_dwLastError));
    return reading;
  }
  reading.outcome = ProcessReading::Outcome::Read;
  const size_t count = modules ? info.m_modules.size() : info.m_threads.size();
  const uint32_t countName = modules ? IDS_MODULES_READ : IDS_THREADS_READ;
  reading.countText = Format("%u %s", static_cast<unsigned>(count), platform.strings->LoadString(countName).c_str());
  reading.modules = std::move(info.m_modules);
  reading.threads = std::move(info.m_threads);
  return reading;
}

ExecutableModule FindExecutableModule(Platform& platform, uint32_t processId) {
  CProcessInfo info(platform, ProcessSource::Psapi);
  if (!info.ReadProcess(processId) || !info.ReadModules(processId)) {
    if (ProcessHasEnded(platform, {processId, {}, {}})) return {{}, EndedText(platform, processId)};
    return {{}, ReadWarning(platform, processId, info.m_dwLastError)};
  }
  // File names match without regard to case, as the file system finds them.
  const auto sameName = [&](const std::string& name) {
    return std::equal(name.begin(), name.end(), info.m_strExeName.begin(), info.m_strExeName.end(),
                      [](unsigned char a, unsigned char b) { return std::tolower(a) == std::tolower(b); });
  };
  for (const ModuleEntry32& module : info.m_modules) {
    if (sameName(module.szModule)) return {module.szExePath, {}};
  }
  return {};
}

}  // namespace qm
