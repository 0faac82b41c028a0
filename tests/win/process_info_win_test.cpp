#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

#include "platform/error_text.h"
#include "common/text.h"
#include "platform/platform.h"
#include "platform/win32/win.h"
#include "processes/process_info.h"

namespace qm {
namespace {

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

std::string OwnPath() { return SystemPlatform().files->GetModuleFileName(); }

TEST(RealProcesses, TheSnapshotListsThisProcess) {
  CProcessSnapshot snapshot(SystemPlatform());
  ProcessEntry32 entry;
  bool found = false;
  int count = 0;
  for (bool more = snapshot.First(entry); more; more = snapshot.Next(entry)) {
    ++count;
    if (entry.th32ProcessID == ::GetCurrentProcessId()) {
      found = true;
      EXPECT_EQ(Lower(BaseName(entry.szExeFile)), Lower(BaseName(OwnPath())));
      EXPECT_GE(entry.cntThreads, 1u);
    }
  }
  EXPECT_TRUE(found);
  EXPECT_GT(count, 1);
}

TEST(RealProcesses, ThisProcessFromBothSources) {
  const uint32_t pid = ::GetCurrentProcessId();
  CProcessInfo info(SystemPlatform(), ProcessSource::Psapi);
  ASSERT_TRUE(info.ReadProcess(pid)) << info.m_dwLastError;
  EXPECT_EQ(Lower(info.m_strExePath), Lower(OwnPath()));
  EXPECT_EQ(Lower(info.m_strExeName), Lower(BaseName(OwnPath())));

  for (ProcessSource source : {ProcessSource::Psapi, ProcessSource::Toolhelp}) {
    info.SetSource(source);
    ASSERT_TRUE(info.ReadModules(pid)) << info.m_dwLastError;
    ASSERT_FALSE(info.m_modules.empty());
    EXPECT_EQ(info.m_modules[0].hModule,
              static_cast<uint64_t>(reinterpret_cast<uintptr_t>(::GetModuleHandleW(nullptr))));
    EXPECT_EQ(Lower(info.m_modules[0].szExePath), Lower(OwnPath()));
    const bool hasKernel32 = std::any_of(info.m_modules.begin(), info.m_modules.end(),
                                         [](const ModuleEntry32& m) { return Lower(m.szModule) == "kernel32.dll"; });
    EXPECT_TRUE(hasKernel32);
  }

  ASSERT_TRUE(info.ReadThreads(pid));
  const bool hasThisThread = std::any_of(info.m_threads.begin(), info.m_threads.end(), [](const ThreadEntry32& t) {
    return t.th32ThreadID == ::GetCurrentThreadId();
  });
  EXPECT_TRUE(hasThisThread);
  for (const auto& t : info.m_threads) EXPECT_EQ(t.th32OwnerProcessID, pid);
}

TEST(RealProcesses, TheIdleProcessCannotBeOpened) {
  CProcessInfo info(SystemPlatform(), ProcessSource::Psapi);
  EXPECT_FALSE(info.ReadProcess(0));
  EXPECT_NE(info.m_dwLastError, 0u);
}

TEST(RealErrorText, AccessDeniedComesFromTheSystem) {
  const std::string message = SystemPlatform().errors->FormatMessage(ERROR_ACCESS_DENIED);
  ASSERT_FALSE(message.empty());
  EXPECT_EQ(CErrorText(*SystemPlatform().errors, 5).GetText(), "(#5) " + message);
  EXPECT_EQ(CErrorText(*SystemPlatform().errors, 0).GetText(), "");
}

}  // namespace
}  // namespace qm
