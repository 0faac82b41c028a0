#include "processes/process_info.h"

#include <gtest/gtest.h>

#include "platform/sim/sim_system.h"

namespace qm {
namespace {

class ProcessInfoTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CProcessApi::ResetLibraryLoadReports();
    SimProcess idle;
    idle.id = 0;
    idle.exeFile = "[System Process]";
    idle.threads = {{0, 0, 0}};
    idle.openError = ERROR_INVALID_PARAMETER;
    SimProcess system;
    system.id = 4;
    system.exeFile = "System";
    system.threads = {{8, 8, 0}, {12, 13, 2}};
    system.openError = ERROR_ACCESS_DENIED;
    SimProcess editor;
    editor.id = 1234;
    editor.parentId = 4;
    editor.exeFile = "editor.exe";
    editor.modules = {{0x400000, 0x20000, "C:\\Apps\\Éditeur\\editor.exe"},
                      {0x7ff800000000, 0x1000, "C:\\Windows\\System32\\kernel32.dll"},
                      {0x10000000, 0x3000, "C:\\Temp\\gone.dll", true},
                      {0x20000000, 0x3000, "nobackslash.dll"}};
    editor.threads = {{100, 8, 0}, {104, 10, -2}};
    for (const auto& p : {idle, system, editor}) sim.desktop.AddProcess(p);
  }

  void ExpectNothingLeftOpen() {
    EXPECT_EQ(sim.desktop.OpenKernelHandles(), 0);
    EXPECT_EQ(sim.desktop.LoadedLibraries(), 0);
  }

  SimSystem sim;
};

TEST_F(ProcessInfoTest, TheSnapshotWalksEveryProcessAndEachFirstSeesANewMoment) {
  {
    CProcessSnapshot snapshot(sim.platform);
    ProcessEntry32 entry;
    std::vector<uint32_t> ids;
    for (bool more = snapshot.First(entry); more; more = snapshot.Next(entry)) {
      EXPECT_EQ(entry.dwSize, kProcessEntrySize);
      ids.push_back(entry.th32ProcessID);
      if (entry.th32ProcessID == 1234) {
        EXPECT_EQ(entry.th32ParentProcessID, 4u);
        EXPECT_EQ(entry.cntThreads, 2u);
        EXPECT_EQ(entry.szExeFile, "editor.exe");
      }
    }
    EXPECT_EQ(ids, (std::vector<uint32_t>{0, 4, 1234}));
    EXPECT_EQ(sim.desktop.GetLastError(), ERROR_NO_MORE_FILES);

    SimProcess late;
    late.id = 5000;
    sim.desktop.AddProcess(late);
    ASSERT_TRUE(snapshot.First(entry));
    int count = 1;
    while (snapshot.Next(entry)) ++count;
    EXPECT_EQ(count, 4);
    EXPECT_EQ(sim.desktop.OpenKernelHandles(), 1);  // one snapshot at a time
  }
  ExpectNothingLeftOpen();
}

TEST_F(ProcessInfoTest, ReadProcessFromEachSource) {
  {
    CProcessInfo info(sim.platform, ProcessSource::Psapi);
    EXPECT_TRUE(info.ReadProcess(1234));
    EXPECT_EQ(info.m_strExePath, "C:\\Apps\\Éditeur\\editor.exe");
    EXPECT_EQ(info.m_strExeName, "editor.exe");
    EXPECT_EQ(info.m_dwLastError, 0u);

    // The System process may not be opened, but toolhelp lists it; its name
    // has no backslash, so the name is the whole of it.
    EXPECT_FALSE(info.ReadProcess(4));
    EXPECT_EQ(info.m_dwLastError, ERROR_ACCESS_DENIED);
    EXPECT_EQ(info.m_dwProcessId, 4u);
    EXPECT_EQ(info.m_strExePath, "");
    info.SetSource(ProcessSource::Toolhelp);
    EXPECT_TRUE(info.ReadProcess(4));
    EXPECT_EQ(info.m_strExePath, "System");
    EXPECT_EQ(info.m_strExeName, "System");
    EXPECT_EQ(info.m_dwLastError, 0u);

    // An id the snapshot does not list: success, both strings empty.
    EXPECT_TRUE(info.ReadProcess(999));
    EXPECT_EQ(info.m_strExePath, "");
    EXPECT_EQ(info.m_strExeName, "");
  }
  ExpectNothingLeftOpen();
}

TEST_F(ProcessInfoTest, PidZeroCannotBeOpenedButReadModulesOfZeroIsANoOp) {
  CProcessInfo info(sim.platform, ProcessSource::Psapi);
  EXPECT_FALSE(info.ReadProcess(0));
  EXPECT_EQ(info.m_dwLastError, ERROR_INVALID_PARAMETER);
  const int snapshotsBefore = sim.desktop.calls["CreateToolhelp32Snapshot"];
  const int opensBefore = sim.desktop.calls["OpenProcess"];
  info.m_dwProcessId = 77;
  EXPECT_TRUE(info.ReadModules(0));
  EXPECT_TRUE(info.m_modules.empty());
  EXPECT_EQ(info.m_dwProcessId, 77u);  // nothing is changed
  EXPECT_EQ(sim.desktop.calls["CreateToolhelp32Snapshot"], snapshotsBefore);
  EXPECT_EQ(sim.desktop.calls["OpenProcess"], opensBefore);
}

TEST_F(ProcessInfoTest, PsapiModulesAreBuiltFromHandlesAndPaths) {
  {
    CProcessInfo info(sim.platform, ProcessSource::Psapi);
    ASSERT_TRUE(info.ReadModules(1234));
    ASSERT_EQ(info.m_modules.size(), 4u);
    const ModuleEntry32& exe = info.m_modules[0];
    EXPECT_EQ(exe.dwSize, 548u);
    EXPECT_EQ(exe.th32ModuleID, 0xFFFFFFFFu);
    EXPECT_EQ(exe.th32ProcessID, 1234u);
    EXPECT_EQ(exe.GlblcntUsage, 0xFFFFFFFFu);
    EXPECT_EQ(exe.ProccntUsage, 0xFFFFFFFFu);
    EXPECT_EQ(exe.modBaseAddr, 0u);
    EXPECT_EQ(exe.modBaseSize, 0u);
    EXPECT_EQ(exe.hModule, 0x400000u);
    EXPECT_EQ(exe.szModule, "editor.exe");
    EXPECT_EQ(info.m_modules[1].hModule, 0x7ff800000000u);  // handles keep all 64 bits
    EXPECT_EQ(info.m_modules[2].szExePath, "N/A (error)");
    EXPECT_EQ(info.m_modules[2].szModule, "N/A (error)");
    EXPECT_EQ(info.m_modules[3].szModule, "nobackslash.dll");
  }
  ExpectNothingLeftOpen();
}

TEST_F(ProcessInfoTest, PsapiModuleFailuresCloseTheProcessAndKeepTheCode) {
  CProcessInfo info(sim.platform, ProcessSource::Psapi);
  EXPECT_FALSE(info.ReadModules(4));
  EXPECT_EQ(info.m_dwLastError, ERROR_ACCESS_DENIED);

  sim.desktop.FailCall("EnumProcessModules", ERROR_PARTIAL_COPY);
  EXPECT_FALSE(info.ReadModules(1234));
  EXPECT_EQ(info.m_dwLastError, ERROR_PARTIAL_COPY);
  EXPECT_EQ(sim.desktop.OpenKernelHandles(), 0);

  sim.desktop.FailCall("EnumProcessModules", ERROR_NOT_ENOUGH_MEMORY, 1);  // the second call fails
  EXPECT_FALSE(info.ReadModules(1234));
  EXPECT_EQ(info.m_dwLastError, ERROR_NOT_ENOUGH_MEMORY);
  EXPECT_TRUE(info.m_modules.empty());
  EXPECT_EQ(sim.desktop.OpenKernelHandles(), 0);
}

TEST_F(ProcessInfoTest, ToolhelpModulesComeFromTheSnapshot) {
  CProcessInfo info(sim.platform, ProcessSource::Toolhelp);
  ASSERT_TRUE(info.ReadModules(1234));
  ASSERT_EQ(info.m_modules.size(), 4u);
  EXPECT_EQ(info.m_modules[0].modBaseAddr, 0x400000u);
  EXPECT_EQ(info.m_modules[0].modBaseSize, 0x20000u);
  EXPECT_EQ(info.m_modules[2].szExePath, "C:\\Temp\\gone.dll");  // toolhelp reads it where PSAPI could not

  EXPECT_FALSE(info.ReadModules(4));
  EXPECT_EQ(info.m_dwLastError, ERROR_ACCESS_DENIED);

  sim.desktop.FailCall("Module32First", ERROR_NO_MORE_FILES);
  EXPECT_TRUE(info.ReadModules(1234));
  EXPECT_TRUE(info.m_modules.empty());
}

TEST_F(ProcessInfoTest, ThreadsAreFilteredByOwnerWhateverTheSource) {
  CProcessInfo info(sim.platform, ProcessSource::Psapi);
  ASSERT_TRUE(info.ReadThreads(1234));
  ASSERT_EQ(info.m_threads.size(), 2u);
  EXPECT_EQ(info.m_threads[0].th32ThreadID, 100u);
  EXPECT_EQ(info.m_threads[1].tpBasePri, 10);
  EXPECT_EQ(info.m_threads[1].tpDeltaPri, -2);
  for (const auto& t : info.m_threads) EXPECT_EQ(t.th32OwnerProcessID, 1234u);

  EXPECT_TRUE(info.ReadThreads(999));
  EXPECT_TRUE(info.m_threads.empty());

  sim.desktop.FailCall("CreateToolhelp32Snapshot", ERROR_NOT_ENOUGH_MEMORY);
  EXPECT_FALSE(info.ReadThreads(1234));
  EXPECT_EQ(info.m_dwLastError, ERROR_NOT_ENOUGH_MEMORY);
}

TEST_F(ProcessInfoTest, AMissingLibraryIsReportedOncePerRunAndItsQuestionsFail) {
  sim.desktop.libraries.erase("psapi");
  for (int tick = 0; tick < 3; ++tick) {
    CProcessInfo info(sim.platform, ProcessSource::Psapi);
    EXPECT_FALSE(info.ReadProcess(1234));
    EXPECT_NE(info.m_dwLastError, 0u);
    info.SetSource(ProcessSource::Toolhelp);
    EXPECT_TRUE(info.ReadProcess(1234));  // toolhelp still answers
    EXPECT_EQ(info.m_strExeName, "editor.exe");
  }
  ASSERT_EQ(sim.messageBox.shown.size(), 1u);
  EXPECT_EQ(sim.messageBox.shown[0].text, "(#126) Error 126.\r\n");
  EXPECT_EQ(sim.messageBox.shown[0].flags, static_cast<uint32_t>(MB_ICONEXCLAMATION_));
  ExpectNothingLeftOpen();

  // Kernel32 failing too is its own report.
  sim.desktop.libraries.erase("kernel32");
  CProcessSnapshot snapshot(sim.platform);
  ProcessEntry32 entry;
  EXPECT_FALSE(snapshot.First(entry));
  EXPECT_EQ(sim.messageBox.shown.size(), 2u);
}

TEST_F(ProcessInfoTest, AMissingEntryPointFailsQuietly) {
  sim.desktop.libraries["kernel32"].erase("Process32FirstW");
  sim.desktop.libraries["psapi"].erase("GetModuleFileNameExW");
  {
    CProcessSnapshot snapshot(sim.platform);
    ProcessEntry32 entry;
    EXPECT_FALSE(snapshot.First(entry));
    CProcessInfo info(sim.platform, ProcessSource::Psapi);
    EXPECT_FALSE(info.ReadProcess(1234));
    ASSERT_TRUE(info.ReadModules(1234));
    EXPECT_EQ(info.m_modules[0].szExePath, "N/A (error)");
  }
  EXPECT_TRUE(sim.messageBox.shown.empty());
  ExpectNothingLeftOpen();
}

TEST_F(ProcessInfoTest, ProcessIdFromWindow) {
  SimWindowDesc desc;
  desc.processId = 1234;
  const WindowHandle window = sim.desktop.AddWindow(desc);
  EXPECT_EQ(ProcessIdFromWindow(sim.platform, window), 1234u);
  EXPECT_EQ(ProcessIdFromWindow(sim.platform, 0), 0u);
  sim.desktop.DestroyWindow(window);
  EXPECT_EQ(ProcessIdFromWindow(sim.platform, window), 0u);
}

}  // namespace
}  // namespace qm
