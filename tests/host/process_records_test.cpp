#include "processes/process_records.h"

#include <gtest/gtest.h>

#include <sstream>

#include "platform/sim/sim_system.h"
#include "processes/process_info.h"

namespace qm {
namespace {

class ProcessRecordsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CProcessApi::ResetLibraryLoadReports();
    SimProcess system;
    system.id = 4;
    system.exeFile = "System";
    system.threads = {{8, 8, 0}};
    system.openError = ERROR_ACCESS_DENIED;
    SimProcess editor;
    editor.id = 1234;
    editor.parentId = 4;
    editor.exeFile = "редактор \"1\".exe";
    editor.modules = {{0x400000, 0x20000, "C:\\Apps\\редактор.exe"},
                      {0x7ff800000000, 0x1000, "C:\\Windows\\System32\\kernel32.dll"}};
    editor.threads = {{100, 8, 0}, {104, 10, -2}};
    for (const auto& p : {system, editor}) sim.desktop.AddProcess(p);
  }
  std::string Modules(uint32_t processId) {
    std::vector<ModuleEntry32> modules;
    uint32_t error = 0;
    if (!ReadModuleRecords(sim.platform, processId, modules, error)) return "error " + std::to_string(error);
    std::ostringstream out;
    WriteModulesJson(out, modules);
    return out.str();
  }

  SimSystem sim;
};

TEST_F(ProcessRecordsTest, ProcessesAndThreadsAsJsonArrays) {
  std::vector<ProcessEntry32> processes;
  CProcessSnapshot snapshot(sim.platform);
  ProcessEntry32 entry;
  for (bool more = snapshot.First(entry); more; more = snapshot.Next(entry)) processes.push_back(entry);
  std::ostringstream out;
  WriteProcessesJson(out, processes);
  EXPECT_EQ(out.str(),
            "[\n{\"pid\":4,\"parent\":0,\"threads\":1,\"exe\":\"System\"},\n"
            "{\"pid\":1234,\"parent\":4,\"threads\":2,\"exe\":\"редактор \\\"1\\\".exe\"}\n]\n");

  CProcessInfo info(sim.platform, ProcessSource::Toolhelp);
  ASSERT_TRUE(info.ReadThreads(1234));
  std::ostringstream threads;
  WriteThreadsJson(threads, info.m_threads);
  EXPECT_EQ(threads.str(),
            "[\n{\"tid\":100,\"base_priority\":8,\"delta\":0},\n{\"tid\":104,\"base_priority\":10,\"delta\":-2}\n]\n");
  std::ostringstream none;
  WriteThreadsJson(none, {});
  EXPECT_EQ(none.str(), "[]\n");
}

TEST_F(ProcessRecordsTest, ModulesReadByPsapiGetTheirSizesFromToolhelp) {
  const std::string expected =
      "[\n{\"base\":\"0x00400000\",\"size\":131072,\"name\":\"редактор.exe\",\"path\":\"C:\\\\Apps\\\\редактор.exe\"},"
      "\n"
      "{\"base\":\"0x7FF800000000\",\"size\":4096,\"name\":\"kernel32.dll\","
      "\"path\":\"C:\\\\Windows\\\\System32\\\\kernel32.dll\"}\n]\n";
  EXPECT_EQ(Modules(1234), expected);
  // Without the toolhelp walk the bases stay and the sizes are unknown.
  sim.desktop.FailCall("CreateToolhelp32Snapshot", ERROR_NOT_ENOUGH_MEMORY);
  EXPECT_EQ(
      Modules(1234),
      "[\n{\"base\":\"0x00400000\",\"size\":null,\"name\":\"редактор.exe\",\"path\":\"C:\\\\Apps\\\\редактор.exe\"},"
      "\n{\"base\":\"0x7FF800000000\",\"size\":null,\"name\":\"kernel32.dll\","
      "\"path\":\"C:\\\\Windows\\\\System32\\\\kernel32.dll\"}\n]\n");
  sim.desktop.ClearFailures();
  // A process PSAPI may not read is walked by toolhelp alone.
  sim.desktop.FindProcess(1234)->grantedAccess = PROCESS_QUERY_LIMITED_INFORMATION;
  EXPECT_EQ(Modules(1234), expected);
  EXPECT_EQ(sim.desktop.OpenKernelHandles(), 0);
}

TEST_F(ProcessRecordsTest, AProcessThatCannotBeReadIsAnError) {
  EXPECT_EQ(Modules(4), "error " + std::to_string(ERROR_ACCESS_DENIED));
  EXPECT_EQ(Modules(999), "error " + std::to_string(ERROR_INVALID_PARAMETER)) << "no such process";
}

}  // namespace
}  // namespace qm
