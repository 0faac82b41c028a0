#pragma once
// The program's own resources (menus, toolbar, icons, strings) for tests
// that bring the application up in-process: read from the quillmar.exe
// built beside the tests, once, and handed to the framework.
#include <string>

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

}  // namespace qm
