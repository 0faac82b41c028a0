#pragma once
// The application in-process for the win tests: the program's own
// resources (menus, toolbar, icons, strings) read once from the quillmar.exe
// built beside the tests, and a fixture that starts the application on them.
#include <gtest/gtest.h>

#include <string>

#include "app/ui/quillmar_app.h"
#include "framework/wnd.h"
#include "platform/win32/win32_system.h"
#include "tests/win/control_queries.h"

namespace qm {

inline HMODULE LoadProgramResources() {
  static const HMODULE resources = [] {
    const std::wstring exe = Widen(std::string(QM_FIXTURE_DIR) + "/../quillmar.exe");
    return ::LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  }();
  fw::SetResourceInstance(resources);
  return resources;
}

// Settings of a test's application live under a name of the test
// process's own, so tests running side by side, or the real program's
// recent files, never meet.
inline std::wstring TestAppName() { return L"Quillmar-test-" + std::to_wstring(::GetCurrentProcessId()); }
inline std::wstring TestAppKey() { return L"Software\\Karvonel\\" + TestAppName(); }

// The application started on the real system with no file on its command
// line, its frame shown; closing the frame does not end the test's message
// loop.
class RunningAppTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { resources_ = LoadProgramResources(); }

  void SetUp() override {
    ASSERT_NE(resources_, nullptr) << "quillmar.exe is built before the win tests";
    app.m_appName = TestAppName();
    app.m_commandLine = L"quillmar.exe";
    ASSERT_TRUE(app.InitInstance());
    app.m_frame->SetQuitOnDestroy(false);
  }

  void TearDown() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, TestAppKey().c_str()); }

  static inline HMODULE resources_ = nullptr;
  CQuillmarApp app{SystemPlatform()};
};

}  // namespace qm
