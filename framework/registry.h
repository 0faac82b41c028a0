#pragma once
// Registry keys closed by scope, and string values read as stored: a value
// may lack its terminating NUL, hold text after one, be of another type,
// be absurdly long or change between sizing and reading.

#include <memory>
#include <optional>
#include <string>
#include <type_traits>

#include "platform/win32/win.h"

namespace qm::fw {

struct RegKeyCloser {
  void operator()(HKEY key) const { ::RegCloseKey(key); }
};
using UniqueRegKey = std::unique_ptr<std::remove_pointer_t<HKEY>, RegKeyCloser>;

// Opens an existing key for reading; null when it is missing or refused.
UniqueRegKey OpenKeyForReading(HKEY root, const std::wstring& path);
// Opens a key for reading and writing, creating it when missing.
UniqueRegKey CreateKey(HKEY root, const std::wstring& path);

// A REG_SZ value up to the system's path limit, cut at its first NUL;
// nullopt when it is missing, of another type or longer.
std::optional<std::wstring> ReadStringValue(HKEY key, const std::wstring& name);

}  // namespace qm::fw
