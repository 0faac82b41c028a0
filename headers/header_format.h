#pragma once
// The value formatters of the header dump. 32-bit fields print as the
// platform's headers define them; 64-bit fields (PE32+ image base, stack and
// heap sizes, addresses in a 64-bit process) go through the same rules widened.

#include <cstdint>
#include <string>

#include "common/shared_icons.h"
#include "platform/system.h"

namespace qm {

// Images of the dump's items in the application's image list.
constexpr int kDumpNodeImage = kIconPlus;  // an item that groups others
constexpr int kDumpLeafImage = kIconInfo;

// The services the dump needs for its texts.
struct DumpText {
  const IStrings& strings;
  const ILocale& locale;
};

// "0x%08x"; a 64-bit value shows more digits only when it needs them.
std::string FormatValue(uint32_t value);
std::string FormatValue64(uint64_t value);
// "%d [0x%08x]": the value as a signed decimal, then in hexadecimal.
std::string FormatSigned(uint32_t value);
std::string FormatSigned64(uint64_t value);
// An address in this process, with the width of a pointer.
std::string FormatAddress(const void* address);
std::string FormatAddressSigned(const void* address);
// "TRUE" or "FALSE" from the string table.
std::string FormatBool(const DumpText& text, bool value);
// "0x%08x [%c%c%c%c]", the bytes from the lowest; 0x00004550 [PE  ].
std::string FormatSignature(uint32_t value);
// Seconds since 1970 (UTC) as local date and time text; "?" when the
// platform cannot convert the stamp.
std::string FormatTimeStamp(const DumpText& text, uint32_t seconds);
// A byte as the character it stands for in a signature: control
// characters (a zero byte included) as a blank, so a line stays one line.
std::string SignatureChar(uint8_t byte);

// Names from the platform's tables; never empty.
std::string MachineName(uint16_t machine);
std::string SubsystemName(uint16_t subsystem);
// The name of one IMAGE_FILE_ characteristics bit, or nullptr for a bit
// without a name.
const char* CharacteristicName(uint16_t bit);

}  // namespace qm
