#include "processes/process_records.h"

#include <ostream>
#include <unordered_map>

#include "common/tree_model.h"
#include "processes/process_info.h"

namespace qm {

namespace {

// One record a line between the brackets of the array.
template <class Record, class WriteOne>
void WriteArray(std::ostream& out, const std::vector<Record>& records, WriteOne writeOne) {
  out << "[";
  for (size_t i = 0; i < records.size(); ++i) {
    out << (i == 0 ? "\n" : ",\n");
    writeOne(records[i]);
  }
  out << (records.empty() ? "]\n" : "\n]\n");
}

}  // namespace

bool ReadModuleRecords(Platform& platform, uint32_t processId, std::vector<ModuleEntry32>& modules, uint32_t& error) {
  CProcessInfo info(platform, ProcessSource::Psapi);
  if (!info.ReadProcess(processId)) info.SetSource(ProcessSource::Toolhelp);
  if (!info.ReadModules(processId)) {
    error = info.m_dwLastError;
    return false;
  }
  modules = std::move(info.m_modules);
  if (info.m_nSource == ProcessSource::Psapi && !modules.empty()) {
    CProcessInfo walk(platform, ProcessSource::Toolhelp);
    if (walk.ReadModules(processId)) {
      std::unordered_map<uint64_t, const ModuleEntry32*> byHandle;
      for (const ModuleEntry32& m : walk.m_modules) byHandle.emplace(m.hModule, &m);
      for (ModuleEntry32& m : modules) {
        const auto found = byHandle.find(m.hModule);
        if (found == byHandle.end()) continue;
        m.modBaseAddr = found->second->modBaseAddr;
        m.modBaseSize = found->second->modBaseSize;
      }
    }
  }
  return true;
}

void WriteProcessesJson(std::ostream& out, const std::vector<ProcessEntry32>& processes) {
  WriteArray(out, processes, [&](const ProcessEntry32& p) {
    out << "{\"pid\":" << p.th32ProcessID << ",\"parent\":" << p.th32ParentProcessID << ",\"threads\":" << p.cntThreads
        << ",\"exe\":" << JsonString(p.szExeFile) << "}";
  });
}

void WriteModulesJson(std::ostream& out, const std::vector<ModuleEntry32>& modules) {
  WriteArray(out, modules, [&](const ModuleEntry32& m) {
    // A module's handle is its base address.
    out << "{\"base\":" << JsonHandle(m.modBaseAddr != 0 ? m.modBaseAddr : m.hModule) << ",\"size\":";
    if (m.modBaseSize != 0)
      out << m.modBaseSize;
    else
      out << "null";
    out << ",\"name\":" << JsonString(m.szModule) << ",\"path\":" << JsonString(m.szExePath) << "}";
  });
}

void WriteThreadsJson(std::ostream& out, const std::vector<ThreadEntry32>& threads) {
  WriteArray(out, threads, [&](const ThreadEntry32& t) {
    out << "{\"tid\":" << t.th32ThreadID << ",\"base_priority\":" << t.tpBasePri << ",\"delta\":" << t.tpDeltaPri
        << "}";
  });
}

}  // namespace qm
