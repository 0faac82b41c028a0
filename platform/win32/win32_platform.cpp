#include "platform/platform.h"
#include "platform/win32/win32_system.h"

namespace qm {

Platform& SystemPlatform() {
  static Win32Strings strings;
  static Win32Locale locale;
  static Win32Files files;
  static Win32ErrorText errors;
  static Win32MessageBox messageBox;
  static Platform platform{&strings, &locale, &files, &errors, &messageBox, nullptr, nullptr};
  return platform;
}

}  // namespace qm
