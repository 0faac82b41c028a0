#pragma once
// The application in-process for the win tests: the program's own
// resources (menus, toolbar, icons, strings) read once from the quillmar.exe
// built beside the tests, and a fixture that starts the application on them.
#include <gtest/gtest.h>

#include <string>

#include "app/ui/quillmar_app.h"
#include "framework/wnd.h"
#include "platform/win32/win32_system.h"

namespace qm {

inline HMODULE LoadProgramResources() {
  static const HMODULE resources = [] {
    const std::wstring exe = Widen(std::string(QM_FIXTURE_DIR) + "/../quillmar.exe");
    return ::LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  }();
  fw::SetResourceInstance(resources);
  return resources;
}

// The application started on the real system, its frame shown; closing the
// frame does not end the test's message loop.
class RunningAppTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { resources_ = LoadProgramResources(); }

  void SetUp() override {
    ASSERT_NE(resources_, nullptr) << "quillmar.exe is built before the win tests";
    ASSERT_TRUE(app.InitInstance());
    app.m_frame->SetQuitOnDestroy(false);
  }

  static inline HMODULE resources_ = nullptr;
  CQuillmarApp app{SystemPlatform()};
};

}  // namespace qm
