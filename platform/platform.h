#pragma once
// All platform services in one place. Each backend fills one: the real
// Windows one (platform/win32), the Linux one of the CLI (platform/posix,
// without windows and processes) and the simulated desktop of the tests.

#include "platform/system.h"

namespace qm {

class IWindowSystem;   // platform/windows.h
class IProcessSystem;  // platform/processes.h
class IMenuSystem;     // platform/menus.h

struct Platform {
  const IStrings* strings = nullptr;
  const ILocale* locale = nullptr;
  const IFiles* files = nullptr;
  const IErrorText* errors = nullptr;
  IMessageBox* messageBox = nullptr;
  IWindowSystem* windows = nullptr;     // null where the platform has none
  IProcessSystem* processes = nullptr;  // null where the platform has none
  IMenuSystem* menus = nullptr;         // null where the platform has none
};

// The platform this program runs on (defined by the linked backend).
Platform& SystemPlatform();

}  // namespace qm
