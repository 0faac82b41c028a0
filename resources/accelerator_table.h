#pragma once
// Accelerator tables (RT_ACCELERATOR) read as data, and written back as an
// ACCELERATORS statement of a resource script. A stored table is an array of
// 8-byte entries (flags, key, command ID, padding); the entry whose flags
// carry 0x80 is the last one.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/byte_reader.h"
#include "resources/resource_directory.h"

namespace qm {

// Flag bits of an entry as the platform names them.
constexpr uint16_t kAccelVirtKey = 0x01;
constexpr uint16_t kAccelNoInvert = 0x02;
constexpr uint16_t kAccelShift = 0x04;
constexpr uint16_t kAccelControl = 0x08;
constexpr uint16_t kAccelAlt = 0x10;
constexpr uint16_t kAccelLast = 0x80;

struct Accelerator {
  uint16_t flags = 0;  // without kAccelLast
  uint16_t key = 0;    // a virtual-key code with kAccelVirtKey, else a character
  uint16_t id = 0;
  bool operator==(const Accelerator&) const = default;
};

// The entries up to the one marked last. A table whose bytes end before
// that entry is refused: the platform would read past it.
Result<std::vector<Accelerator>> ParseAcceleratorTable(ByteView data);

// Why the script cannot say what the table says (flag bits it has no word
// for, Shift or Control on a character key, which the compiler refuses), or
// nullopt when it can.
std::optional<std::string> AcceleratorScriptGap(const std::vector<Accelerator>& table);

// The ACCELERATORS statement with "\n" line ends: printable ASCII character
// keys quoted, every other key (virtual keys, control characters, quotes,
// backslashes, characters past ASCII) as a number.
std::string AcceleratorScriptText(const std::vector<Accelerator>& table, const ResourceName& name);

}  // namespace qm
