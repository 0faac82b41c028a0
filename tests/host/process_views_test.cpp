#include "processes/process_views.h"

#include <gtest/gtest.h>

#include "platform/sim/sim_system.h"

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

TEST(ProcessViewsTest, AnEndedParentTakesItsSubtreeWhoseSurvivorsReturnOnTheNextUpdate) {
  ProcessViews views;
  views.Rebuild({Entry(1, 0), Entry(10, 1), Entry(11, 10), Entry(12, 11), Entry(13, 1)});
  // 10 ends; 11 and 12 run on and 13 gains a thread.
  const std::vector<ProcessEntry32> after{Entry(1, 0), Entry(11, 10), Entry(12, 11), Entry(13, 1, "p.exe", 2)};
  auto changes = views.Update(after);
  EXPECT_EQ(changes.removedRows, (std::vector<uint32_t>{10}));
  EXPECT_EQ(changes.removedItems, (std::vector<uint32_t>{10}));
  EXPECT_EQ(changes.droppedItems, (std::vector<uint32_t>{10, 11, 12}));
  ASSERT_EQ(changes.changedCells.size(), 1u);
  EXPECT_EQ(changes.changedCells[0].pid, 13u);
  EXPECT_EQ(changes.changedCells[0].column, 3);
  EXPECT_EQ(changes.changedCells[0].text, "2");
  EXPECT_TRUE(views.HasRow(11) && views.HasRow(12)) << "list rows stay";
  EXPECT_FALSE(views.HasItem(11));
  EXPECT_EQ(changes.count, 4);

  changes = views.Update(after);
  EXPECT_TRUE(changes.appendedRows.empty());
  ASSERT_EQ(changes.insertedItems.size(), 2u);
  EXPECT_EQ(changes.insertedItems[0].pid, 11u);
  EXPECT_EQ(changes.insertedItems[0].parent, std::nullopt) << "its parent has gone: at the root";
  EXPECT_EQ(changes.insertedItems[1].parent, 11u) << "under its surviving parent";
  EXPECT_EQ(views.TreeOrder(), (Order{{1, 0}, {13, 1}, {11, 0}, {12, 1}}));
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

class TerminateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SimProcess process{300, 4, "hijo.exe", {}, {}, 0};
    // Ending it is allowed, everything else refused.
    process.grantedAccess = PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION;
    sim.desktop.AddProcess(process);
  }
  SimSystem sim;
};

TEST_F(TerminateTest, YesEndsItWithExitCodeOneAndNoLeavesItRunning) {
  bool asked = false;
  auto result = TerminateAfterAsking(sim.desktop, 300, [&] {
    asked = true;
    return false;
  });
  EXPECT_TRUE(asked);
  EXPECT_EQ(result.outcome, TerminateOutcome::Declined);
  EXPECT_NE(sim.desktop.FindProcess(300), nullptr);

  result = TerminateAfterAsking(sim.desktop, 300, [] { return true; });
  EXPECT_EQ(result.outcome, TerminateOutcome::Terminated);
  EXPECT_EQ(sim.desktop.FindProcess(300), nullptr);
  EXPECT_EQ(sim.desktop.endedProcesses[300], 1u) << "not STILL_ACTIVE (259)";
  EXPECT_EQ(sim.desktop.OpenKernelHandles(), 0) << "closed on every path";
}

TEST_F(TerminateTest, FailuresCarryThePlatformsCodeAndAskNothingWhenItCannotBeOpened) {
  sim.desktop.FindProcess(300)->openError = ERROR_ACCESS_DENIED;
  bool asked = false;
  auto result = TerminateAfterAsking(sim.desktop, 300, [&] { return asked = true; });
  EXPECT_FALSE(asked);
  EXPECT_EQ(result.outcome, TerminateOutcome::OpenFailed);
  EXPECT_EQ(result.error, ERROR_ACCESS_DENIED);

  sim.desktop.FindProcess(300)->openError = 0;
  sim.desktop.FailCall("TerminateProcess", ERROR_ACCESS_DENIED);
  result = TerminateAfterAsking(sim.desktop, 300, [] { return true; });
  EXPECT_EQ(result.outcome, TerminateOutcome::Failed);
  EXPECT_EQ(result.error, ERROR_ACCESS_DENIED);
  EXPECT_NE(sim.desktop.FindProcess(300), nullptr);
  EXPECT_EQ(sim.desktop.OpenKernelHandles(), 0);
}

}  // namespace
}  // namespace qm
