#include "processes/process_views.h"

#include <gtest/gtest.h>

#include <tuple>

#include "platform/sim/sim_system.h"
#include "processes/process_termination.h"

namespace qm {
namespace {

ProcessEntry32 Entry(uint32_t pid, uint32_t parent, const char* exe = "p.exe", uint32_t threads = 1) {
  ProcessEntry32 entry;
  entry.th32ProcessID = pid;
  entry.th32ParentProcessID = parent;
  entry.szExeFile = exe;
  entry.cntThreads = threads;
  return entry;
}

using Order = std::vector<std::pair<uint32_t, int>>;

TEST(ProcessViewsTest, LateParentsStayRootsAndTheIdleProcessAdoptsParentZero) {
  ProcessViews views;
  // 20's parent 30 comes later; 0 is its own parent; 4 and 8 name 0.
  const std::vector<ProcessEntry32> snapshot{Entry(0, 0, "[System Process]"), Entry(4, 0, "System"), Entry(20, 30),
                                             Entry(30, 4), Entry(8, 0)};
  const auto changes = views.Rebuild(snapshot);
  EXPECT_EQ(changes.count, 5);
  EXPECT_EQ(changes.appendedRows.size(), 5u);
  EXPECT_EQ(changes.appendedRows[2].second, (ProcessRowTexts{"p.exe", "20", "30", "1"}));
  ASSERT_EQ(changes.insertedItems.size(), 5u);
  EXPECT_EQ(changes.insertedItems[0].label, "[System Process] (0)");
  EXPECT_EQ(views.TreeOrder(), (Order{{0, 0}, {4, 1}, {30, 2}, {8, 1}, {20, 0}}));

  // Nothing changed: nothing to do (no item renamed, none moved).
  const auto again = views.Update(snapshot);
  EXPECT_TRUE(again.appendedRows.empty() && again.changedCells.empty() && again.insertedItems.empty() &&
              again.relabelledItems.empty() && again.removedRows.empty() && again.removedItems.empty());
  EXPECT_EQ(views.ParentItem(20), std::nullopt) << "not moved under its parent later";
}

TEST(ProcessViewsTest, NewProcessesLandUnderTheirOwnParentWhereverItSits) {
  ProcessViews views;
  std::vector<ProcessEntry32> snapshot{Entry(1, 0), Entry(2, 1), Entry(3, 1), Entry(4, 3), Entry(9, 0)};
  views.Rebuild(snapshot);
  // Parents deep in the tree and past the first branch.
  snapshot.push_back(Entry(50, 4, "nuevo.exe"));
  snapshot.push_back(Entry(51, 9));
  snapshot.push_back(Entry(52, 77));  // no such parent: a root
  const auto changes = views.Update(snapshot);
  ASSERT_EQ(changes.insertedItems.size(), 3u);
  EXPECT_EQ(changes.insertedItems[0].parent, 4u);
  EXPECT_EQ(changes.insertedItems[1].parent, 9u);
  EXPECT_EQ(changes.insertedItems[2].parent, std::nullopt);
  EXPECT_EQ(changes.appendedRows.size(), 3u);
  EXPECT_EQ(views.TreeOrder(), (Order{{1, 0}, {2, 1}, {3, 1}, {4, 2}, {50, 3}, {9, 0}, {51, 1}, {52, 0}}));
}

TEST(ProcessViewsTest, RunningProcessesUnderAnEndedOneMoveUpInTheSameUpdate) {
  ProcessViews views;
  views.Rebuild({Entry(1, 0), Entry(10, 1), Entry(11, 10), Entry(12, 11), Entry(13, 1)});
  // 10 ends; 11 and 12 run on and 13 gains a thread.
  const std::vector<ProcessEntry32> after{Entry(1, 0), Entry(11, 10), Entry(12, 11), Entry(13, 1, "p.exe", 2)};
  auto changes = views.Update(after);
  EXPECT_EQ(changes.removedRows, (std::vector<uint32_t>{10}));
  EXPECT_EQ(changes.removedItems, (std::vector<uint32_t>{10}));
  EXPECT_EQ(changes.droppedItems, (std::vector<uint32_t>{10})) << "only the ended process's item goes";
  ASSERT_EQ(changes.changedCells.size(), 1u);
  EXPECT_EQ(changes.changedCells[0].pid, 13u);
  EXPECT_EQ(changes.changedCells[0].column, 3);
  EXPECT_EQ(changes.changedCells[0].text, "2");
  // 11 with 12 under it becomes the last child of 1, remade parents first.
  ASSERT_EQ(changes.movedItems.size(), 1u);
  const auto& moved = changes.movedItems[0];
  EXPECT_EQ(moved.pid, 11u);
  EXPECT_EQ(moved.parent, 1u);
  ASSERT_EQ(moved.subtree.size(), 2u);
  EXPECT_EQ(moved.subtree[0].pid, 11u);
  EXPECT_EQ(moved.subtree[0].parent, 1u);
  EXPECT_EQ(moved.subtree[1].pid, 12u);
  EXPECT_EQ(moved.subtree[1].parent, 11u);
  EXPECT_EQ(moved.subtree[1].label, "p.exe (12)");
  EXPECT_EQ(changes.count, 4);
  EXPECT_EQ(views.TreeOrder(), (Order{{1, 0}, {13, 1}, {11, 1}, {12, 2}}));

  changes = views.Update(after);
  EXPECT_TRUE(changes.insertedItems.empty() && changes.movedItems.empty()) << "nothing comes back a second later";

  // A parent and its own parent end in one tick: the grandchild climbs past
  // both; with no item left above, it goes to the root.
  views.Rebuild({Entry(1, 0), Entry(2, 1), Entry(3, 2), Entry(4, 3), Entry(5, 0), Entry(6, 5)});
  changes = views.Update({Entry(1, 0), Entry(4, 3), Entry(6, 5)});
  EXPECT_EQ(views.ParentItem(4), 1u);
  EXPECT_EQ(views.ParentItem(6), std::nullopt);
  EXPECT_EQ(changes.droppedItems.size(), 3u);
  EXPECT_EQ(views.TreeOrder(), (Order{{1, 0}, {4, 1}, {6, 0}}));
}

TEST(ProcessViewsTest, OneSnapshotPerTickAndAnUnreadableOneChangesNothing) {
  SimSystem sim;
  sim.desktop.AddProcess({0, 0, "[System Process]", {}, {}, 0});
  sim.desktop.AddProcess({4, 0, "System", {}, {}, 0});
  for (uint32_t pid = 100; pid < 400; pid += 4) sim.desktop.AddProcess({pid, 4, "svc.exe", {}, {}, 0});
  ProcessViews views;
  sim.desktop.calls.clear();
  auto list = ReadProcessList(sim.platform);
  ASSERT_TRUE(list);
  views.Rebuild(*list);
  list = ReadProcessList(sim.platform);
  ASSERT_TRUE(list);
  views.Update(*list);
  EXPECT_EQ(sim.desktop.calls["CreateToolhelp32Snapshot"], 2) << "one per refresh, one per tick";
  EXPECT_EQ(sim.desktop.OpenKernelHandles(), 0);

  sim.desktop.FailCall("Process32First", ERROR_NO_MORE_FILES);
  EXPECT_FALSE(ReadProcessList(sim.platform)) << "the tick then leaves both views as they are";
  sim.desktop.ClearFailures();
  sim.desktop.FailCall("CreateToolhelp32Snapshot", ERROR_ACCESS_DENIED);
  EXPECT_FALSE(ReadProcessList(sim.platform));
  EXPECT_TRUE(views.HasRow(100));
}

TEST(ProcessViewsTest, TheRefreshKeepsTheSelectedProcess) {
  EXPECT_EQ(RowAfterRefresh({"0", "4", "120"}, std::string("120")), 2);
  EXPECT_EQ(RowAfterRefresh({"0", "4", "120"}, std::string("12")), 0) << "exact text, else the first row";
  EXPECT_EQ(RowAfterRefresh({"0", "4"}, std::nullopt), 0);
  EXPECT_EQ(RowAfterRefresh({}, std::string("4")), -1);
}

// 368 -> 376 -> 320, each started at its own time.
class ProcessTreeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    sim.desktop.AddProcess({4, 0, "System", {}, {}, 0});
    const std::tuple<uint32_t, uint32_t, const char*> tree[] = {
        {368, 4, "shell.exe"}, {376, 368, "cmd.exe"}, {320, 376, "hijo.exe"}, {500, 4, "otro.exe"}};
    for (const auto& [pid, parent, exe] : tree) {
      SimProcess started;
      started.id = pid;
      started.parentId = parent;
      started.exeFile = exe;
      started.creationTime = 1000 + pid;
      // Ending it is allowed, everything else refused.
      started.grantedAccess = PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION;
      sim.desktop.AddProcess(started);
    }
  }
  void End(uint32_t pid) {
    const KernelHandle process = sim.desktop.OpenProcess(PROCESS_TERMINATE, false, pid);
    ASSERT_NE(process, 0u);
    ASSERT_TRUE(sim.desktop.TerminateProcess(process, 0));
    sim.desktop.CloseHandle(process);
  }
  std::vector<ProcessEntry32> List() { return ReadProcessList(sim.platform).value_or(std::vector<ProcessEntry32>{}); }

  SimSystem sim;
  ProcessViews views{[this](uint32_t pid) { return ReadProcessStartTime(sim.desktop, pid); }};
};

TEST_F(ProcessTreeTest, TheSelectionStaysOnItsProcessThroughAnAncestorsEndAndARefresh) {
  views.Rebuild(List());
  EXPECT_EQ(views.ParentItem(320), 376u);
  End(376);
  const auto changes = views.Update(List());
  // 320 is moved, not dropped, in this very tick, and stays selected; the
  // item that ended selects nothing rather than a neighbour.
  EXPECT_EQ(views.ItemToSelect(320), 320u);
  EXPECT_EQ(views.ParentItem(320), 368u) << "under its nearest running ancestor";
  ASSERT_EQ(changes.movedItems.size(), 1u);
  EXPECT_EQ(changes.movedItems[0].pid, 320u);
  EXPECT_EQ(views.ItemToSelect(376), std::nullopt);
  EXPECT_EQ(views.ItemToSelect(std::nullopt), std::nullopt);
  EXPECT_EQ(views.Identity(320).startTime, 1320u);

  // F5 rebuilds from the snapshot and selects the same process again.
  const auto rebuilt = views.Rebuild(List());
  std::vector<std::string> pids;
  for (const auto& row : rebuilt.appendedRows) pids.push_back(row.second[1]);
  const int row = RowAfterRefresh(pids, std::string("320"));
  ASSERT_GE(row, 0);
  EXPECT_EQ(rebuilt.appendedRows[static_cast<size_t>(row)].first, 320u);
  EXPECT_TRUE(views.HasItem(320));
}

TEST_F(ProcessTreeTest, TheQuestionNamesTheProcessAndNoOnlyLeavesItRunning) {
  views.Rebuild(List());
  const ProcessIdentity target = views.Identity(320);
  std::string question;
  auto result = TerminateAfterAsking(sim.platform, target, [&] {
    question = TerminateQuestion(*sim.platform.strings, target);
    return false;
  });
  EXPECT_EQ(result.outcome, TerminateOutcome::Declined);
  EXPECT_NE(question.find("\nProceso: hijo.exe (PID 320)\n"), std::string::npos) << question;
  EXPECT_NE(sim.desktop.FindProcess(320), nullptr);

  result = TerminateAfterAsking(sim.platform, target, [] { return true; });
  EXPECT_EQ(result.outcome, TerminateOutcome::Terminated);
  EXPECT_EQ(sim.desktop.FindProcess(320), nullptr);
  EXPECT_EQ(sim.desktop.endedProcesses[320], kTerminatedExitCode) << "not STILL_ACTIVE (259)";
  EXPECT_NE(sim.desktop.FindProcess(376), nullptr) << "its parent runs on";
  EXPECT_EQ(sim.desktop.OpenKernelHandles(), 0) << "closed on every path";
}

TEST_F(ProcessTreeTest, AReusedPidIsNeverEnded) {
  views.Rebuild(List());
  const ProcessIdentity target = views.Identity(320);
  // 320 ends; the system gives its PID to a new process of the same name.
  End(320);
  SimProcess reused;
  reused.id = 320;
  reused.parentId = 4;
  reused.exeFile = "hijo.exe";
  reused.creationTime = 9000;
  sim.desktop.AddProcess(reused);
  bool asked = false;
  auto result = TerminateAfterAsking(sim.platform, target, [&] { return asked = true; });
  EXPECT_EQ(result.outcome, TerminateOutcome::Ended);
  EXPECT_FALSE(asked) << "no question about another process";
  EXPECT_NE(sim.desktop.FindProcess(320), nullptr);
  EXPECT_EQ(sim.desktop.calls["TerminateProcess"], 1) << "only the test's own";
  EXPECT_EQ(AlreadyEndedText(*sim.platform.strings, target),
            "El proceso hijo.exe (PID 320) ya había terminado\nNo se ha terminado ningún proceso");

  // Gone altogether: the same answer, not "(#87) Invalid parameter".
  End(320);
  result = TerminateAfterAsking(sim.platform, target, [&] { return asked = true; });
  EXPECT_EQ(result.outcome, TerminateOutcome::Ended);
  EXPECT_FALSE(asked);

  // It ends by itself while the question is open: nothing else is ended.
  const ProcessIdentity other = views.Identity(500);
  result = TerminateAfterAsking(sim.platform, other, [&] {
    sim.desktop.FindProcess(500)->exitCode = 0;
    return true;
  });
  EXPECT_EQ(result.outcome, TerminateOutcome::Ended);
  EXPECT_EQ(sim.desktop.calls["TerminateProcess"], 2);
  EXPECT_EQ(sim.desktop.OpenKernelHandles(), 0);
}

TEST_F(ProcessTreeTest, FailuresCarryThePlatformsCodeAndAskNothingWhenItCannotBeOpened) {
  views.Rebuild(List());
  const ProcessIdentity target = views.Identity(320);
  sim.desktop.FindProcess(320)->openError = ERROR_ACCESS_DENIED;
  bool asked = false;
  auto result = TerminateAfterAsking(sim.platform, target, [&] { return asked = true; });
  EXPECT_FALSE(asked);
  EXPECT_EQ(result.outcome, TerminateOutcome::OpenFailed);
  EXPECT_EQ(result.error, ERROR_ACCESS_DENIED);

  sim.desktop.FindProcess(320)->openError = 0;
  sim.desktop.FailCall("TerminateProcess", ERROR_ACCESS_DENIED);
  result = TerminateAfterAsking(sim.platform, target, [] { return true; });
  EXPECT_EQ(result.outcome, TerminateOutcome::Failed);
  EXPECT_EQ(result.error, ERROR_ACCESS_DENIED);
  EXPECT_NE(sim.desktop.FindProcess(320), nullptr);
  EXPECT_EQ(sim.desktop.OpenKernelHandles(), 0);
}

}  // namespace
}  // namespace qm
