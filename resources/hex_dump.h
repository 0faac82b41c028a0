#pragma once
// The hex dump of a resource without a page of its own: 16 bytes a row, the
// hexadecimal pairs and then the characters, and the total size underneath.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "platform/system.h"

namespace qm {

// Only the first 16 KB are dumped (1024 rows); the total gives the full size.
constexpr size_t kHexDumpMaxBytes = 0x4000;
constexpr size_t kHexDumpBytesPerRow = 16;

// Each row: "%02X " per byte (three spaces past the end), then one character
// per byte (a space past the end): a space for 0, the character 0x01 for
// tab, line feed and carriage return, else the Latin-1 character of the
// byte's value in UTF-8. Rows end in lineEnd (CR LF for the edit control).
std::string FormatHexDump(std::span<const uint8_t> bytes, std::string_view lineEnd = "\r\n");

// The line under the dump: "Tamaño: %s bytes (~%s Kb)" with the size text of the full size.
std::string FormatHexDumpTotal(const IStrings& strings, uint32_t size);

}  // namespace qm
