#include "framework/automation_registration.h"

#include "framework/registry.h"

namespace qm::fw {
namespace {

constexpr wchar_t kClasses[] = L"Software\\Classes";

DWORD SetDefaultValue(HKEY root, const std::wstring& path, const std::wstring& value) {
  HKEY key = nullptr;
  DWORD error = ::RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
  if (error != ERROR_SUCCESS) return error;
  const UniqueRegKey owned(key);
  const auto bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
  return ::RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), bytes);
}

DWORD DeleteTree(HKEY root, const std::wstring& path) {
  const LSTATUS error = ::RegDeleteTreeW(root, path.c_str());
  return error == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : static_cast<DWORD>(error);
}

// The machine's classes when this user may write them.
HKEY WritableClassesRoot() {
  HKEY key = nullptr;
  if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kClasses, 0, KEY_CREATE_SUB_KEY | KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
    ::RegCloseKey(key);
    return HKEY_LOCAL_MACHINE;
  }
  return HKEY_CURRENT_USER;
}

std::wstring Under(const std::wstring& relative) { return std::wstring(kClasses) + L"\\" + relative; }

// Removes this class's keys from one root.
DWORD UnregisterFrom(HKEY root, const AutomationClass& cls) {
  const std::wstring clsid = ClsidText(cls.clsid);
  DWORD result = ERROR_SUCCESS;
  bool progIdIsOurs = true;
  if (const auto key = OpenKeyForReading(root, Under(std::wstring(cls.progId) + L"\\CLSID"))) {
    const auto named = ReadStringValue(key.get(), L"");
    progIdIsOurs = !named || _wcsicmp(named->c_str(), clsid.c_str()) == 0;
  }
  if (progIdIsOurs) {
    if (DWORD error = DeleteTree(root, Under(cls.progId))) result = error;
  }
  if (DWORD error = DeleteTree(root, Under(L"CLSID\\" + clsid))) result = error;
  return result;
}

}  // namespace

std::wstring ClsidText(const CLSID& clsid) {
  wchar_t text[40] = {};
  ::StringFromGUID2(clsid, text, 40);
  return text;
}

std::vector<std::wstring> RegistrationKeys(const AutomationClass& cls) {
  const std::wstring progId = cls.progId;
  const std::wstring clsid = L"CLSID\\" + ClsidText(cls.clsid);
  return {progId, progId + L"\\CLSID", clsid, clsid + L"\\LocalServer32", clsid + L"\\ProgID"};
}

DWORD RegisterAutomationClass(const AutomationClass& cls, const std::wstring& serverPath) {
  const HKEY root = WritableClassesRoot();
  const std::vector<std::wstring> keys = RegistrationKeys(cls);
  const std::wstring values[] = {cls.description, ClsidText(cls.clsid), cls.description, L"\"" + serverPath + L"\"",
                                 cls.progId};
  for (size_t i = 0; i < keys.size(); ++i) {
    if (DWORD error = SetDefaultValue(root, Under(keys[i]), values[i])) {
      UnregisterFrom(root, cls);
      return error;
    }
  }
  return ERROR_SUCCESS;
}

DWORD UnregisterAutomationClass(const AutomationClass& cls) {
  DWORD result = ERROR_SUCCESS;
  for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
    // A missing key is no failure; one that exists and stays is.
    if (DWORD error = UnregisterFrom(root, cls)) result = error;
  }
  return result;
}

}  // namespace qm::fw
