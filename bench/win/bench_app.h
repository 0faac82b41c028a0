#pragma once
// The real program started inside a benchmark: its resources read from the
// quillmar.exe built beside bench/, and an application of its own name, so
// that it shares nothing with a Quillmar that may be running.
#include <cstdio>
#include <string>

#include "app/ui/main_frame.h"
#include "app/ui/quillmar_app.h"
#include "framework/wnd.h"
#include "platform/win32/win32_system.h"

namespace qm {

// A file beside the benchmark's executable.
inline std::wstring Beside(const std::wstring& relative) {
  const std::wstring exe = Widen(Win32Files().GetModuleFileName());
  return exe.substr(0, exe.find_last_of(L"\\/") + 1) + relative;
}

// Call before the application object is made.
inline bool LoadBenchResources() {
  HMODULE resources = ::LoadLibraryExW(Beside(L"..\\..\\quillmar.exe").c_str(), nullptr,
                                       LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  if (!resources) {
    std::fprintf(stderr, "quillmar.exe is built beside bench/\n");
    return false;
  }
  fw::SetResourceInstance(resources);
  return true;
}

// Starts the frame; closing it does not end the benchmark's thread.
inline bool StartBenchApp(CQuillmarApp& app) {
  app.m_appName = L"Quillmar-bench-" + std::to_wstring(::GetCurrentProcessId());
  app.m_commandLine = L"quillmar.exe";
  if (!app.InitInstance()) return false;
  app.m_frame->SetQuitOnDestroy(false);
  return true;
}

}  // namespace qm
