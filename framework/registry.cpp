#include "framework/registry.h"

#include <algorithm>
#include <cwchar>

namespace qm::fw {
namespace {

// No path is longer than the system's 32767 characters, so a longer value
// is not a file name and is skipped rather than read.
constexpr DWORD kMaxStoredChars = 32768;

}  // namespace

UniqueRegKey OpenKeyForReading(HKEY root, const std::wstring& path) {
  HKEY opened = nullptr;
  if (::RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) return nullptr;
  return UniqueRegKey(opened);
}

UniqueRegKey CreateKey(HKEY root, const std::wstring& path) {
  HKEY created = nullptr;
  if (::RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &created, nullptr) !=
      ERROR_SUCCESS)
    return nullptr;
  return UniqueRegKey(created);
}

std::optional<std::wstring> ReadStringValue(HKEY key, const std::wstring& name) {
  DWORD type = 0;
  DWORD bytes = 0;
  if (::RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS || type != REG_SZ)
    return std::nullopt;
  if (bytes > kMaxStoredChars * sizeof(wchar_t)) return std::nullopt;
  // One spare character so that an unterminated value still ends in NUL.
  std::wstring value(bytes / sizeof(wchar_t) + 1, L'\0');
  DWORD got = static_cast<DWORD>(value.size() * sizeof(wchar_t));
  if (::RegQueryValueExW(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(value.data()), &got) !=
          ERROR_SUCCESS ||
      type != REG_SZ)
    return std::nullopt;
  value.resize(std::min<size_t>(got / sizeof(wchar_t), value.size()));
  value.resize(::wcsnlen(value.c_str(), value.size()));
  return value;
}

}  // namespace qm::fw
