#include "processes/process_views.h"

#include "common/text.h"
#include "processes/process_info.h"

namespace qm {

std::optional<std::vector<ProcessEntry32>> ReadProcessList(Platform& platform) {
  CProcessSnapshot snapshot(platform);
  ProcessEntry32 entry;
  if (!snapshot.First(entry)) return std::nullopt;
  std::vector<ProcessEntry32> processes;
  do {
    processes.push_back(entry);
  } while (snapshot.Next(entry));
  return processes;
}

ProcessRowTexts ProcessTexts(const ProcessEntry32& entry) {
  // Unsigned throughout: an ID above 2^31 is not shown negative.
  return {entry.szExeFile, Format("%u", entry.th32ProcessID), Format("%u", entry.th32ParentProcessID),
          Format("%u", entry.cntThreads)};
}

std::string ProcessLabel(const ProcessEntry32& entry) {
  return Format("%s (%u)", entry.szExeFile.c_str(), entry.th32ProcessID);
}

std::optional<uint32_t> ProcessViews::ParentItem(uint32_t pid) const {
  auto it = items_.find(pid);
  return it == items_.end() ? std::nullopt : it->second.parent;
}

void ProcessViews::InsertItem(uint32_t pid, uint32_t parentPid, std::string label, Changes& changes) {
  // The parent's item if it is there right now; later arrivals never move
  // an item that exists.
  std::optional<uint32_t> parent;
  if (parentPid != pid) {
    auto it = items_.find(parentPid);
    if (it != items_.end()) {
      parent = parentPid;
      it->second.children.push_back(pid);
    }
  }
  if (!parent) roots_.push_back(pid);
  items_[pid] = Item{parent, label, {}};
  changes.insertedItems.push_back({pid, parent, std::move(label)});
}

void ProcessViews::RemoveItem(uint32_t pid, Changes& changes) {
  auto it = items_.find(pid);
  if (it == items_.end()) return;
  std::vector<uint32_t>& siblings = it->second.parent ? items_[*it->second.parent].children : roots_;
  std::erase(siblings, pid);
  changes.removedItems.push_back(pid);
  std::vector<uint32_t> pending{pid};
  while (!pending.empty()) {
    const uint32_t next = pending.back();
    pending.pop_back();
    auto item = items_.find(next);
    if (item == items_.end()) continue;
    pending.insert(pending.end(), item->second.children.begin(), item->second.children.end());
    items_.erase(item);
    changes.droppedItems.push_back(next);
  }
}

ProcessViews::Changes ProcessViews::Rebuild(const std::vector<ProcessEntry32>& processes) {
  rows_.clear();
  items_.clear();
  roots_.clear();
  Changes changes;
  for (const ProcessEntry32& entry : processes) {
    ProcessRowTexts texts = ProcessTexts(entry);
    rows_[entry.th32ProcessID] = texts;
    changes.appendedRows.emplace_back(entry.th32ProcessID, std::move(texts));
    if (!HasItem(entry.th32ProcessID))
      InsertItem(entry.th32ProcessID, entry.th32ParentProcessID, ProcessLabel(entry), changes);
  }
  changes.count = static_cast<int>(processes.size());
  return changes;
}

ProcessViews::Changes ProcessViews::Update(const std::vector<ProcessEntry32>& processes) {
  Changes changes;
  std::map<uint32_t, bool> listed;
  for (const ProcessEntry32& entry : processes) {
    const uint32_t pid = entry.th32ProcessID;
    listed[pid] = true;
    ProcessRowTexts texts = ProcessTexts(entry);
    auto row = rows_.find(pid);
    if (row == rows_.end()) {
      rows_[pid] = texts;
      changes.appendedRows.emplace_back(pid, texts);
    } else {
      for (size_t column = 0; column < texts.size(); ++column) {
        if (row->second[column] == texts[column]) continue;
        row->second[column] = texts[column];
        changes.changedCells.push_back({pid, static_cast<int>(column), texts[column]});
      }
    }
    std::string label = ProcessLabel(entry);
    auto item = items_.find(pid);
    if (item == items_.end()) {
      InsertItem(pid, entry.th32ParentProcessID, std::move(label), changes);
    } else if (item->second.label != label) {
      item->second.label = label;
      changes.relabelledItems.emplace_back(pid, std::move(label));
    }
  }
  // Removal: the same snapshot says which processes have ended.
  for (auto row = rows_.begin(); row != rows_.end();) {
    if (listed.count(row->first)) {
      ++row;
      continue;
    }
    changes.removedRows.push_back(row->first);
    RemoveItem(row->first, changes);
    row = rows_.erase(row);
  }
  changes.count = static_cast<int>(processes.size());
  return changes;
}

std::vector<std::pair<uint32_t, int>> ProcessViews::TreeOrder() const {
  std::vector<std::pair<uint32_t, int>> order;
  std::vector<std::pair<uint32_t, int>> pending;
  for (auto it = roots_.rbegin(); it != roots_.rend(); ++it) pending.emplace_back(*it, 0);
  while (!pending.empty()) {
    const auto [pid, depth] = pending.back();
    pending.pop_back();
    order.emplace_back(pid, depth);
    const auto& children = items_.at(pid).children;
    for (auto it = children.rbegin(); it != children.rend(); ++it) pending.emplace_back(*it, depth + 1);
  }
  return order;
}

int RowAfterRefresh(const std::vector<std::string>& pidTexts, const std::optional<std::string>& selectedPid) {
  if (pidTexts.empty()) return -1;
  if (selectedPid) {
    for (size_t row = 0; row < pidTexts.size(); ++row)
      if (pidTexts[row] == *selectedPid) return static_cast<int>(row);
  }
  return 0;
}

TerminateResult TerminateAfterAsking(IProcessSystem& processes, uint32_t pid, const std::function<bool()>& ask) {
  const KernelHandle process = processes.OpenProcess(PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION, false, pid);
  if (process == 0) return {TerminateOutcome::OpenFailed, processes.GetLastError()};
  struct Closer {
    IProcessSystem& processes;
    KernelHandle handle;
    ~Closer() { processes.CloseHandle(handle); }
  } closer{processes, process};
  if (!ask()) return {TerminateOutcome::Declined, 0};
  // It may have ended by itself while the question was open.
  uint32_t exitCode = 0;
  if (processes.GetExitCodeProcess(process, exitCode) && exitCode != STILL_ACTIVE)
    return {TerminateOutcome::Terminated, 0};
  if (!processes.TerminateProcess(process, kTerminatedExitCode))
    return {TerminateOutcome::Failed, processes.GetLastError()};
  return {TerminateOutcome::Terminated, 0};
}

}  // namespace qm
