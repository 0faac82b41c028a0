#include "platform/platform.h"
#include "platform/win32/win32_menus.h"
#include "platform/win32/win32_processes.h"
#include "platform/win32/win32_system.h"
#include "platform/win32/win32_windows.h"

namespace qm {

Platform& SystemPlatform() {
  static Win32Strings strings;
  static Win32Locale locale;
  static Win32Files files;
  static Win32ErrorText errors;
  static Win32MessageBox messageBox;
  static Win32Windows windows;
  static Win32Processes processes;
  static Win32Menus menus;
  static Platform platform{&strings, &locale, &files, &errors, &messageBox, &windows, &processes, &menus};
  return platform;
}

}  // namespace qm
