#include "common/byte_reader.h"

#include <cstdio>

namespace qm {

std::string DescribeError(const ParseError& error) {
  const char* what = "invalid";
  switch (error.code) {
    case ReadError::OutOfBounds:
      what = "truncated or out of bounds";
      break;
    case ReadError::BadSignature:
      what = "bad signature";
      break;
    case ReadError::BadValue:
      what = "invalid value";
      break;
    case ReadError::TooDeep:
      what = "nested too deep";
      break;
    case ReadError::TooMany:
      what = "too many entries";
      break;
    case ReadError::Loop:
      what = "structure points back into itself";
      break;
    case ReadError::NotFound:
      what = "not found";
      break;
    case ReadError::Io:
      what = "cannot be read";
      break;
  }
  char offset[32];
  std::snprintf(offset, sizeof offset, "0x%llx", static_cast<unsigned long long>(error.offset));
  return std::string(what) + " at offset " + offset;
}

Result<std::u16string> ReadZString16(const ByteView& view, uint64_t offset, size_t maxChars, size_t* units) {
  std::u16string text;
  for (size_t i = 0; i <= maxChars; ++i) {
    auto unit = view.u16(offset + 2 * static_cast<uint64_t>(i));
    if (!unit) return unit.error();
    if (*unit == 0) {
      if (units) *units = i + 1;
      return text;
    }
    if (i == maxChars) break;
    text.push_back(static_cast<char16_t>(*unit));
  }
  return view.error(ReadError::TooMany, offset);
}

Result<std::string> ReadZString8(const ByteView& view, uint64_t offset, size_t maxChars) {
  std::string text;
  for (size_t i = 0; i <= maxChars; ++i) {
    auto ch = view.u8(offset + i);
    if (!ch) return ch.error();
    if (*ch == 0) return text;
    if (i == maxChars) break;
    text.push_back(static_cast<char>(*ch));
  }
  return view.error(ReadError::TooMany, offset);
}

Result<std::u16string> ReadString16(const ByteView& view, uint64_t offset, size_t count) {
  QM_TRY(units, view.sub(offset, 2 * static_cast<uint64_t>(count)));
  std::u16string text(count, u'\0');
  for (size_t i = 0; i < count; ++i) text[i] = static_cast<char16_t>(units.get<uint16_t>(2 * i));
  return text;
}

}  // namespace qm
