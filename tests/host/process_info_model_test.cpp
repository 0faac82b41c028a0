#include "processes/process_info_model.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "platform/sim/sim_system.h"
#include "resources/file_version_info.h"
#include "processes/process_info.h"
#include "processes/row_sort.h"

namespace qm {
namespace {

std::vector<uint8_t> ReadFixture(const std::string& name) {
  std::ifstream in(std::string(QM_FIXTURE_DIR) + "/x86_64/" + name, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

class ProcessInfoModelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CProcessApi::ResetLibraryLoadReports();
    SimProcess idle;
    idle.id = 0;
    idle.exeFile = "[System Process]";
    idle.threads = {{0, 0, 0}, {1, -15, 0}};
    idle.openError = 87;
    SimProcess editor;
    editor.id = 1234;
    editor.exeFile = "editor.exe";
    editor.modules = {{0x400000, 0x20000, "C:\\Apps\\EDITOR.EXE"},
                      {0x10000000, 0x3000, "C:\\Apps\\plain.dll"},
                      {0x20000000, 0x3000, "C:\\Apps\\second.dll"},
                      {0x30000000, 0x3000, "C:\\Temp\\gone.dll", true}};
    editor.threads = {{100, 8, 0}, {104, -2, -2}};
    SimProcess locked;
    locked.id = 4;
    locked.exeFile = "System";
    locked.openError = 5;
    for (const auto& p : {idle, editor, locked}) sim.desktop.AddProcess(p);
    // The executable spells its name otherwise on disk; plain.dll has no
    // version block; second.dll has one.
    sim.files.files["C:\\Apps\\EDITOR.EXE"] = ReadFixture("version_two.exe");
    sim.files.findData["C:\\Apps\\EDITOR.EXE"].name = "Editor.exe";
    sim.files.files["C:\\Apps\\plain.dll"] = ReadFixture("empty.dll");
    sim.files.files["C:\\Apps\\second.dll"] = ReadFixture("version_driver.dll");
    ASSERT_FALSE(sim.files.files["C:\\Apps\\plain.dll"].empty());
  }

  SimSystem sim;
};

TEST_F(ProcessInfoModelTest, PriorityNamesAndDeltas) {
  EXPECT_EQ(PriorityName(-15), "(-15) Idle");
  EXPECT_EQ(PriorityName(-2), "(-2) Lowest");
  EXPECT_EQ(PriorityName(0), "(00) Normal");
  EXPECT_EQ(PriorityName(1), "(01) Above Normal");
  EXPECT_EQ(PriorityName(8), "(08)");
  EXPECT_EQ(PriorityName(15), "(15) Time critical");
  EXPECT_EQ(PriorityName(-7), "(-7)");
  EXPECT_EQ(PriorityDeltaText(0), "+0");
  EXPECT_EQ(PriorityDeltaText(-2), "-2");
  const ThreadRow row = MakeThreadRow({28, 0, 0xABC, 1234, 2, 1, 0});
  EXPECT_EQ(row.cells, (std::array<std::string, 3>{"0x00000abc", "(02) Highest", "+1"}));
}

TEST_F(ProcessInfoModelTest, ModuleRowsNeverCarryThePreviousModulesVersion) {
  const ProcessReading reading = ReadProcessForTab(sim.platform, 1234, ProcessTab::Modules);
  ASSERT_EQ(reading.outcome, ProcessReading::Outcome::Read);
  EXPECT_EQ(reading.pidText, "1234 (0x4d2)");
  EXPECT_EQ(reading.exePath, "C:\\Apps\\EDITOR.EXE");
  EXPECT_EQ(reading.countText, "4 módulo(s) obtenido(s)");
  const std::vector<ModuleRow> rows = ReadModuleRows(sim.platform, reading.modules);
  ASSERT_EQ(rows.size(), 4u);
  // The file's own spelling of its name, and its version data.
  EXPECT_EQ(rows[0].cells, (std::array<std::string, 5>{"Editor.exe", "5.1.2600.0", "Two translations",
                                                       "Copyright (C) 2026 Karvonel", "C:\\Apps\\EDITOR.EXE"}));
  // No version block right after a module that had one: empty cells.
  EXPECT_EQ(rows[1].cells, (std::array<std::string, 5>{"plain.dll", "", "", "", "C:\\Apps\\plain.dll"}));
  // A block again after one without: read afresh.
  EXPECT_EQ(rows[2].cells[kModuleDescription], "Driver with an unknown subtype");
  // A path that could not be read: the record's own texts, nothing else.
  EXPECT_EQ(rows[3].cells, (std::array<std::string, 5>{"N/A (error)", "", "", "", "N/A (error)"}));
}

TEST_F(ProcessInfoModelTest, ThreadsOfTheProcessAndOfTheIdleProcess) {
  const ProcessReading editor = ReadProcessForTab(sim.platform, 1234, ProcessTab::Threads);
  ASSERT_EQ(editor.outcome, ProcessReading::Outcome::Read);
  EXPECT_EQ(editor.countText, "2 thread(s) obtenido(s)");
  ASSERT_EQ(editor.threads.size(), 2u);
  EXPECT_EQ(MakeThreadRow(editor.threads[1]).cells[1], "(-2) Lowest");

  // PSAPI cannot open pid 0; toolhelp lists it: no modules, its own threads.
  const ProcessReading idleModules = ReadProcessForTab(sim.platform, 0, ProcessTab::Modules);
  ASSERT_EQ(idleModules.outcome, ProcessReading::Outcome::Read);
  EXPECT_EQ(idleModules.exePath, "[System Process]");
  EXPECT_EQ(idleModules.countText, "0 módulo(s) obtenido(s)");
  const ProcessReading idleThreads = ReadProcessForTab(sim.platform, 0, ProcessTab::Threads);
  ASSERT_EQ(idleThreads.threads.size(), 2u);
  for (const auto& thread : idleThreads.threads) EXPECT_EQ(thread.th32OwnerProcessID, 0u);
  EXPECT_TRUE(sim.messageBox.shown.empty());
}

TEST_F(ProcessInfoModelTest, AProcessThatEndedIsSaidToHaveEndedNotWhatTheSystemAnswered) {
  // Not listed any more: PSAPI fails with "invalid parameter", toolhelp's
  // empty success counts as the second failure, and the snapshot decides.
  const ProcessReading gone = ReadProcessForTab(sim.platform, 777, ProcessTab::Modules);
  EXPECT_EQ(gone.outcome, ProcessReading::Outcome::Ended);
  EXPECT_EQ(gone.warning, "El proceso 777 (0x309) ha terminado");
  EXPECT_TRUE(gone.pidText.empty());

  // Both reads fail outright and nothing tells whether it ended: the PSAPI
  // error is the one reported.
  sim.desktop.FailCall("Process32First", 18);
  const ProcessReading locked = ReadProcessForTab(sim.platform, 4, ProcessTab::Threads);
  EXPECT_EQ(locked.outcome, ProcessReading::Outcome::ProcessGone);
  EXPECT_EQ(locked.warning, "Error obteniendo datos del proceso 4 (0x4)\n(#5) Access denied.\r\n");
  sim.desktop.ClearFailures();

  // It ends between reading the process and reading its modules: still
  // listed a moment, but its exit code is in.
  sim.desktop.FailCall("EnumProcessModules", 299);
  sim.desktop.FindProcess(1234)->exitCode = 0;
  const ProcessReading midway = ReadProcessForTab(sim.platform, 1234, ProcessTab::Modules);
  EXPECT_EQ(midway.outcome, ProcessReading::Outcome::Ended);
  EXPECT_EQ(midway.warning, "El proceso 1234 (0x4d2) ha terminado");
  sim.desktop.ClearFailures();
  sim.desktop.FindProcess(1234)->exitCode = STILL_ACTIVE;

  // F5 after the PID went to a new process: the start time differs.
  sim.desktop.FindProcess(1234)->creationTime = 50;
  const ProcessReading first = ReadProcessForTab(sim.platform, 1234, ProcessTab::Threads);
  ASSERT_EQ(first.outcome, ProcessReading::Outcome::Read);
  EXPECT_EQ(first.startTime, 50u);
  sim.desktop.FindProcess(1234)->creationTime = 80;
  EXPECT_EQ(ReadProcessForTab(sim.platform, 1234, ProcessTab::Threads, first.startTime).outcome,
            ProcessReading::Outcome::Ended);
  EXPECT_EQ(sim.desktop.OpenKernelHandles(), 0);
}

// The resources of a process are those of the module named as its
// executable, whatever its case on disk; a process that cannot be read is a
// warning, one without such a module nothing at all.
TEST_F(ProcessInfoModelTest, ExecutableModuleForTheResources) {
  const ExecutableModule editor = FindExecutableModule(sim.platform, 1234);
  EXPECT_EQ(editor.path, "C:\\Apps\\EDITOR.EXE");
  EXPECT_TRUE(editor.warning.empty());
  const ExecutableModule gone = FindExecutableModule(sim.platform, 777);
  EXPECT_TRUE(gone.path.empty());
  EXPECT_EQ(gone.warning, "El proceso 777 (0x309) ha terminado");
  const ExecutableModule idle = FindExecutableModule(sim.platform, 0);
  EXPECT_TRUE(idle.path.empty());
  EXPECT_FALSE(idle.warning.empty()) << "the idle process cannot be opened";
}

TEST_F(ProcessInfoModelTest, AListThatCannotBeReadKeepsTheProcessTexts) {
  sim.desktop.FailCall("EnumProcessModules", 299);
  const ProcessReading reading = ReadProcessForTab(sim.platform, 1234, ProcessTab::Modules);
  EXPECT_EQ(reading.outcome, ProcessReading::Outcome::ListFailed);
  EXPECT_EQ(reading.pidText, "1234 (0x4d2)");
  EXPECT_TRUE(reading.countText.empty());
  EXPECT_TRUE(reading.modules.empty());
  EXPECT_EQ(reading.warning, "Error obteniendo datos del proceso 1234 (0x4d2)\n(#299) Error 299.\r\n");
}

TEST_F(ProcessInfoModelTest, SortingByAColumnIsByTextAndAClickAgainReverses) {
  std::vector<ThreadRow> rows = {{{"10", "b", ""}}, {{"9", "a", ""}}, {{"10", "a", ""}}};
  SortRowsByColumn(rows, 0);
  EXPECT_EQ(rows[0].cells[0], "10");
  EXPECT_EQ(rows[1].cells[1], "a");  // equal texts keep their order
  EXPECT_EQ(rows[2].cells[0], "9");
  EXPECT_EQ(ColumnSortOrder(rows, 0), 1);
  SortRowsByColumn(rows, 0);
  EXPECT_EQ(rows[0].cells[0], "9");
  EXPECT_EQ(ColumnSortOrder(rows, 0), -1);
  // Mixed order, and a column past the cells, are handled.
  EXPECT_EQ(ColumnSortOrder(rows, 1), 0);
  SortRowsByColumn(rows, 7);
  EXPECT_EQ(rows[0].cells[0], "9");
  // Upper case sorts before lower case (byte order).
  std::vector<ThreadRow> names = {{{"b", "", ""}}, {{"B", "", ""}}, {{"a", "", ""}}};
  SortRowsByColumn(names, 0);
  EXPECT_EQ(names[0].cells[0], "B");
}

}  // namespace
}  // namespace qm
