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

std::vector<uint32_t>& ProcessViews::Siblings(std::optional<uint32_t> parent) {
  return parent ? items_.at(*parent).children : roots_;
}

void ProcessViews::RemoveItem(uint32_t pid, Changes& changes) {
  auto it = items_.find(pid);
  if (it == items_.end()) return;
  std::erase(Siblings(it->second.parent), pid);
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

void ProcessViews::MoveItem(uint32_t pid, std::optional<uint32_t> parent, Changes& changes) {
  Item& item = items_.at(pid);
  std::erase(Siblings(item.parent), pid);
  Siblings(parent).push_back(pid);
  item.parent = parent;
  MovedItem moved{pid, parent, {}};
  std::vector<uint32_t> pending{pid};
  while (!pending.empty()) {
    const uint32_t next = pending.back();
    pending.pop_back();
    const Item& node = items_.at(next);
    moved.subtree.push_back({next, node.parent, node.label});
    pending.insert(pending.end(), node.children.rbegin(), node.children.rend());
  }
  changes.movedItems.push_back(std::move(moved));
}

void ProcessViews::AddRow(uint32_t pid, ProcessRowTexts texts) {
  rows_[pid] = std::move(texts);
  startTimes_[pid] = startTime_ ? startTime_(pid) : std::nullopt;
}

ProcessViews::Changes ProcessViews::Rebuild(const std::vector<ProcessEntry32>& processes) {
  rows_.clear();
  startTimes_.clear();
  items_.clear();
  roots_.clear();
  Changes changes;
  for (const ProcessEntry32& entry : processes) {
    ProcessRowTexts texts = ProcessTexts(entry);
    AddRow(entry.th32ProcessID, texts);
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
      AddRow(pid, texts);
      changes.appendedRows.emplace_back(pid, texts);
    } else {
      // Another executable under the PID: another process, with its own
      // start time.
      if (row->second[0] != texts[0]) startTimes_[pid] = startTime_ ? startTime_(pid) : std::nullopt;
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
  std::set<uint32_t> ended;
  for (const auto& row : rows_)
    if (!listed.count(row.first)) ended.insert(row.first);
  // First the running processes under an ended one move up to the nearest
  // item that stays, so each item deleted below takes only ended ones.
  for (uint32_t pid : ended) {
    auto item = items_.find(pid);
    if (item == items_.end()) continue;
    std::vector<uint32_t> running;
    for (uint32_t child : item->second.children)
      if (!ended.count(child)) running.push_back(child);
    std::optional<uint32_t> above = item->second.parent;
    while (above && ended.count(*above)) above = items_.at(*above).parent;
    for (uint32_t child : running) MoveItem(child, above, changes);
  }
  for (uint32_t pid : ended) {
    changes.removedRows.push_back(pid);
    RemoveItem(pid, changes);
    rows_.erase(pid);
    startTimes_.erase(pid);
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

std::optional<uint32_t> ProcessViews::ItemToSelect(std::optional<uint32_t> selectedBefore) const {
  if (selectedBefore && HasItem(*selectedBefore)) return selectedBefore;
  return std::nullopt;
}

ProcessIdentity ProcessViews::Identity(uint32_t pid) const {
  ProcessIdentity identity{pid, {}, {}};
  if (auto row = rows_.find(pid); row != rows_.end()) identity.exeFile = row->second[0];
  if (auto start = startTimes_.find(pid); start != startTimes_.end()) identity.startTime = start->second;
  return identity;
}

int RowAfterRefresh(const std::vector<std::string>& pidTexts, const std::optional<std::string>& selectedPid) {
  if (pidTexts.empty()) return -1;
  if (selectedPid) {
    for (size_t row = 0; row < pidTexts.size(); ++row)
      if (pidTexts[row] == *selectedPid) return static_cast<int>(row);
  }
  return 0;
}

}  // namespace qm
