#include "headers/header_format.h"

#include "common/file_time.h"
#include "common/text.h"
#include "res/string_ids.h"

namespace qm {

std::string FormatValue(uint32_t value) { return Format("0x%08x", value); }

std::string FormatValue64(uint64_t value) { return Format("0x%08llx", static_cast<unsigned long long>(value)); }

std::string FormatSigned(uint32_t value) { return Format("%d [0x%08x]", static_cast<int32_t>(value), value); }

std::string FormatSigned64(uint64_t value) {
  return Format("%lld [0x%08llx]", static_cast<long long>(static_cast<int64_t>(value)),
                static_cast<unsigned long long>(value));
}

std::string FormatAddress(const void* address) {
  const auto value = reinterpret_cast<uintptr_t>(address);
  if constexpr (sizeof(uintptr_t) == 4) return FormatValue(static_cast<uint32_t>(value));
  return FormatValue64(value);
}

std::string FormatAddressSigned(const void* address) {
  const auto value = reinterpret_cast<uintptr_t>(address);
  if constexpr (sizeof(uintptr_t) == 4) return FormatSigned(static_cast<uint32_t>(value));
  return FormatSigned64(value);
}

std::string FormatBool(const DumpText& text, bool value) {
  return text.strings.LoadString(value ? IDS_TRUE : IDS_FALSE);
}

std::string SignatureChar(uint8_t byte) {
  if (byte < 0x20 || byte == 0x7F) return " ";
  return Latin1ToUtf8(std::string(1, static_cast<char>(byte)));
}

std::string FormatSignature(uint32_t value) {
  std::string out = Format("0x%08x [", value);
  for (unsigned i = 0; i < 4; ++i) out += SignatureChar(static_cast<uint8_t>(value >> (8 * i)));
  return out + "]";
}

std::string FormatTimeStamp(const DumpText& text, uint32_t seconds) {
  auto shown = text.locale.FileTimeToText(FileTimeFromUnixSeconds(seconds));
  return shown ? *shown : "?";
}

std::string MachineName(uint16_t machine) {
  switch (machine) {
    case 0x014C:
      return "IMAGE_FILE_MACHINE_I386";
    case 0x0162:
      return "IMAGE_FILE_MACHINE_R3000";
    case 0x0166:
      return "IMAGE_FILE_MACHINE_R4000";
    case 0x0168:
      return "IMAGE_FILE_MACHINE_R10000";
    case 0x0169:
      return "IMAGE_FILE_MACHINE_WCEMIPSV2";
    case 0x0184:
      return "IMAGE_FILE_MACHINE_ALPHA";
    case 0x01A2:
      return "IMAGE_FILE_MACHINE_SH3";
    case 0x01A4:
      return "IMAGE_FILE_MACHINE_SH3E";
    case 0x01A6:
      return "IMAGE_FILE_MACHINE_SH4";
    case 0x01C0:
      return "IMAGE_FILE_MACHINE_ARM";
    case 0x01C2:
      return "IMAGE_FILE_MACHINE_THUMB";
    case 0x01C4:
      return "IMAGE_FILE_MACHINE_ARMNT";
    case 0x01F0:
      return "IMAGE_FILE_MACHINE_POWERPC";
    case 0x0200:
      return "IMAGE_FILE_MACHINE_IA64";
    case 0x0266:
      return "IMAGE_FILE_MACHINE_MIPS16";
    case 0x0284:
      return "IMAGE_FILE_MACHINE_ALPHA64";
    case 0x0366:
      return "IMAGE_FILE_MACHINE_MIPSFPU";
    case 0x0466:
      return "IMAGE_FILE_MACHINE_MIPSFPU16";
    case 0x8664:
      return "IMAGE_FILE_MACHINE_AMD64";
    case 0xAA64:
      return "IMAGE_FILE_MACHINE_ARM64";
    default:
      return "IMAGE_FILE_MACHINE_UNKNOWN";
  }
}

std::string SubsystemName(uint16_t subsystem) {
  switch (subsystem) {
    case 1:
      return "IMAGE_SUBSYSTEM_NATIVE";
    case 2:
      return "IMAGE_SUBSYSTEM_WINDOWS_GUI";
    case 3:
      return "IMAGE_SUBSYSTEM_WINDOWS_CUI";
    case 7:
      return "IMAGE_SUBSYSTEM_POSIX_CUI";
    case 9:
      return "IMAGE_SUBSYSTEM_WINDOWS_CE_GUI";
    default:
      return "IMAGE_SUBSYSTEM_UNKNOWN";
  }
}

const char* CharacteristicName(uint16_t bit) {
  switch (bit) {
    case 0x0001:
      return "IMAGE_FILE_RELOCS_STRIPPED";
    case 0x0002:
      return "IMAGE_FILE_EXECUTABLE_IMAGE";
    case 0x0004:
      return "IMAGE_FILE_LINE_NUMS_STRIPPED";
    case 0x0008:
      return "IMAGE_FILE_LOCAL_SYMS_STRIPPED";
    case 0x0010:
      return "IMAGE_FILE_AGGRESIVE_WS_TRIM";
    case 0x0020:
      return "IMAGE_FILE_LARGE_ADDRESS_AWARE";
    case 0x0080:
      return "IMAGE_FILE_BYTES_REVERSED_LO";
    case 0x0100:
      return "IMAGE_FILE_32BIT_MACHINE";
    case 0x0200:
      return "IMAGE_FILE_DEBUG_STRIPPED";
    case 0x0400:
      return "IMAGE_FILE_REMOVABLE_RUN_FROM_SWAP";
    case 0x0800:
      return "IMAGE_FILE_NET_RUN_FROM_SWAP";
    case 0x1000:
      return "IMAGE_FILE_SYSTEM";
    case 0x2000:
      return "IMAGE_FILE_DLL";
    case 0x4000:
      return "IMAGE_FILE_UP_SYSTEM_ONLY";
    case 0x8000:
      return "IMAGE_FILE_BYTES_REVERSED_HI";
    default:
      return nullptr;
  }
}

}  // namespace qm
