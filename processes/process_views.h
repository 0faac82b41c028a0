#pragma once
// The processes of the system as the processes dialog shows them: a flat
// list (one row per process) and a parent/child tree, both brought up to
// date once a second from one process snapshot. The model keeps what the
// views show and answers what to change; the dialog only carries that out.

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/processes.h"
#include "processes/process_identity.h"

namespace qm {

// One walk over the processes (one snapshot); none when its first entry
// cannot be read.
std::optional<std::vector<ProcessEntry32>> ReadProcessList(Platform& platform);

// The list columns: executable, PID, parent PID, threads.
using ProcessRowTexts = std::array<std::string, 4>;
ProcessRowTexts ProcessTexts(const ProcessEntry32& entry);
// "name (pid)".
std::string ProcessLabel(const ProcessEntry32& entry);

class ProcessViews {
 public:
  struct Cell {
    uint32_t pid = 0;
    int column = 0;
    std::string text;
  };
  struct TreeInsert {
    uint32_t pid = 0;
    std::optional<uint32_t> parent;  // none: at the root
    std::string label;
  };
  // A running process whose parent's item goes: its item, with everything
  // under it, becomes the last child of the nearest item above that stays.
  struct MovedItem {
    uint32_t pid = 0;
    std::optional<uint32_t> parent;  // none: at the root
    // The item and every item under it, each after its parent, as the tree
    // control (which cannot move an item) makes them anew.
    std::vector<TreeInsert> subtree;
  };
  // What the views do, in this order: rows appended and cells rewritten,
  // tree items added (each as the last child of its parent's item) and
  // relabelled, subtrees moved, then rows and tree items removed (an item
  // goes with its whole subtree, which by then holds only ended processes).
  struct Changes {
    std::vector<std::pair<uint32_t, ProcessRowTexts>> appendedRows;
    std::vector<Cell> changedCells;
    std::vector<TreeInsert> insertedItems;
    std::vector<std::pair<uint32_t, std::string>> relabelledItems;
    std::vector<MovedItem> movedItems;
    std::vector<uint32_t> removedRows;
    std::vector<uint32_t> removedItems;  // the items deleted, each with its subtree
    std::vector<uint32_t> droppedItems;  // every PID whose item went, subtrees included
    int count = 0;                       // processes in the snapshot
  };

  // startTime reads when a process started, once, when its row appears
  // (none: start times are not known, and the kill check does without).
  using StartTimeReader = std::function<std::optional<uint64_t>(uint32_t pid)>;
  explicit ProcessViews(StartTimeReader startTime = {}) : startTime_(std::move(startTime)) {}

  // Everything from scratch, in snapshot order (the refresh).
  Changes Rebuild(const std::vector<ProcessEntry32>& processes);
  // The once-a-second update: new processes are appended, changed texts
  // rewritten, ended ones removed, and the running processes under an
  // ended one's item moved up, so no running process leaves the tree.
  Changes Update(const std::vector<ProcessEntry32>& processes);

  // The tree item to select after the views changed: the one selected
  // before while its process runs; none once it has ended, never a
  // neighbour that the control would pick (a kill would end that one).
  std::optional<uint32_t> ItemToSelect(std::optional<uint32_t> selectedBefore) const;
  // The process of a row as it was seen, for the kill check; only the PID
  // for a process the views do not hold.
  ProcessIdentity Identity(uint32_t pid) const;

  bool HasRow(uint32_t pid) const { return rows_.count(pid) != 0; }
  bool HasItem(uint32_t pid) const { return items_.count(pid) != 0; }
  // The PID of the item the process's item sits under; none at the root or
  // without an item.
  std::optional<uint32_t> ParentItem(uint32_t pid) const;
  // The items depth first, each followed by its subtree: (pid, depth).
  std::vector<std::pair<uint32_t, int>> TreeOrder() const;

 private:
  struct Item {
    std::optional<uint32_t> parent;
    std::string label;
    std::vector<uint32_t> children;
  };
  void InsertItem(uint32_t pid, uint32_t parentPid, std::string label, Changes& changes);
  void RemoveItem(uint32_t pid, Changes& changes);
  void MoveItem(uint32_t pid, std::optional<uint32_t> parent, Changes& changes);
  std::vector<uint32_t>& Siblings(std::optional<uint32_t> parent);
  void AddRow(uint32_t pid, ProcessRowTexts texts);

  StartTimeReader startTime_;
  std::map<uint32_t, ProcessRowTexts> rows_;
  std::map<uint32_t, std::optional<uint64_t>> startTimes_;
  std::map<uint32_t, Item> items_;
  std::vector<uint32_t> roots_;
};

// The row to select after a refresh: the one of the PID selected before
// when it is still listed, else the first (-1 for an empty list).
int RowAfterRefresh(const std::vector<std::string>& pidTexts, const std::optional<std::string>& selectedPid);

}  // namespace qm
