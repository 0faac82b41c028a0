#include "resources/hex_dump.h"

#include <algorithm>

#include "res/string_ids.h"
#include "resources/resource_module.h"

namespace qm {

namespace {

// The character 0x01 stands in for bytes that would break the row.
constexpr char kLineBreakMark = '\x01';

void AppendCharacter(std::string& out, uint8_t byte) {
  if (byte == 0) {
    out.push_back(' ');
  } else if (byte == 9 || byte == 10 || byte == 13) {
    out.push_back(kLineBreakMark);
  } else if (byte < 0x80) {
    out.push_back(static_cast<char>(byte));
  } else {
    // Latin-1 as UTF-8: two bytes for U+0080 to U+00FF.
    out.push_back(static_cast<char>(0xC0 | (byte >> 6)));
    out.push_back(static_cast<char>(0x80 | (byte & 0x3F)));
  }
}

}  // namespace

std::string FormatHexDump(std::span<const uint8_t> bytes, std::string_view lineEnd) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  const size_t count = std::min(bytes.size(), kHexDumpMaxBytes);
  std::string out;
  const size_t rows = (count + kHexDumpBytesPerRow - 1) / kHexDumpBytesPerRow;
  out.reserve(rows * (4 * kHexDumpBytesPerRow + 16 + lineEnd.size()));
  for (size_t row = 0; row < count; row += kHexDumpBytesPerRow) {
    for (size_t column = 0; column < kHexDumpBytesPerRow; ++column) {
      if (row + column < count) {
        const uint8_t byte = bytes[row + column];
        out.push_back(kDigits[byte >> 4]);
        out.push_back(kDigits[byte & 0x0F]);
        out.push_back(' ');
      } else {
        out.append(3, ' ');
      }
    }
    for (size_t column = 0; column < kHexDumpBytesPerRow; ++column) {
      if (row + column < count)
        AppendCharacter(out, bytes[row + column]);
      else
        out.push_back(' ');
    }
    out.append(lineEnd);
  }
  return out;
}

std::string FormatHexDumpTotal(const IStrings& strings, uint32_t size) {
  return FormatSizeText(strings.LoadString(IDS_SIZE_TOTAL), size);
}

}  // namespace qm
