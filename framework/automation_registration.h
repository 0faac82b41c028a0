#pragma once
// The registry keys of an out-of-process automation server: its ProgID and
// its class, with the executable as the class's local server.
//
// The keys go under HKEY_LOCAL_MACHINE\Software\Classes when that key can
// be written, else under HKEY_CURRENT_USER\Software\Classes. Windows merges
// the per-user classes into HKEY_CLASSES_ROOT; Wine does not, so a per-user
// registration there would not be found by CLSIDFromProgID.

#include <oaidl.h>
#include <objbase.h>

#include <string>
#include <vector>

#include "platform/win32/win.h"

namespace qm::fw {

struct AutomationClass {
  const wchar_t* progId;
  CLSID clsid;
  const wchar_t* description;
};

// "{xxxxxxxx-...}" as the registry writes class identifiers.
std::wstring ClsidText(const CLSID& clsid);

// The keys registration writes, relative to a Classes root, parents first.
std::vector<std::wstring> RegistrationKeys(const AutomationClass& cls);

// Writes the keys; on failure returns the system error code (0 on success)
// and removes what it had written.
DWORD RegisterAutomationClass(const AutomationClass& cls, const std::wstring& serverPath);

// Removes the ProgID and class keys from both Classes roots. A ProgID key
// that names another class is left alone. Returns 0, or the system error
// code of a key that could not be removed.
DWORD UnregisterAutomationClass(const AutomationClass& cls);

}  // namespace qm::fw
