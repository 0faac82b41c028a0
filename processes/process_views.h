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
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/processes.h"

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
  // What the views do, in this order: rows appended and cells rewritten,
  // tree items added (each as the last child of its parent's item) and
  // relabelled, then rows and tree items removed (an item goes with its
  // whole subtree).
  struct Changes {
    std::vector<std::pair<uint32_t, ProcessRowTexts>> appendedRows;
    std::vector<Cell> changedCells;
    std::vector<TreeInsert> insertedItems;
    std::vector<std::pair<uint32_t, std::string>> relabelledItems;
    std::vector<uint32_t> removedRows;
    std::vector<uint32_t> removedItems;  // the items deleted, each with its subtree
    std::vector<uint32_t> droppedItems;  // every PID whose item went, subtrees included
    int count = 0;                       // processes in the snapshot
  };

  // Everything from scratch, in snapshot order (the refresh).
  Changes Rebuild(const std::vector<ProcessEntry32>& processes);
  // The once-a-second update: new processes are appended, changed texts
  // rewritten, ended ones removed. A process whose item went with its
  // parent's subtree comes back on the next update, under its parent's
  // item if that exists, else at the root.
  Changes Update(const std::vector<ProcessEntry32>& processes);

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

  std::map<uint32_t, ProcessRowTexts> rows_;
  std::map<uint32_t, Item> items_;
  std::vector<uint32_t> roots_;
};

// The row to select after a refresh: the one of the PID selected before
// when it is still listed, else the first (-1 for an empty list).
int RowAfterRefresh(const std::vector<std::string>& pidTexts, const std::optional<std::string>& selectedPid);

// Ends a process after the user agreed. Opened with only the rights this
// needs, so a process the user may end is not refused for want of others;
// it ends with exit code 1 so whoever waits on it reads a failure, not
// "still running".
enum class TerminateOutcome { OpenFailed, Declined, Failed, Terminated };
struct TerminateResult {
  TerminateOutcome outcome = TerminateOutcome::OpenFailed;
  uint32_t error = 0;  // the platform's code for OpenFailed and Failed
};
constexpr uint32_t kTerminatedExitCode = 1;
// ask shows the question and returns whether the user said Yes.
TerminateResult TerminateAfterAsking(IProcessSystem& processes, uint32_t pid, const std::function<bool()>& ask);

}  // namespace qm
