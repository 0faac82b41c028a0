#include "platform/string_ex.h"

#include <algorithm>
#include <cstdarg>

#include "common/number_format.h"

namespace qm {

namespace {
constexpr std::string_view kWhiteSpace = " \t\r\n\v\f";
}

CStringEx& CStringEx::LoadString(const IStrings& strings, uint32_t id) {
  m_str = strings.LoadString(id);
  return *this;
}

CStringEx& CStringEx::FormatFromId(const IStrings& strings, uint32_t id, std::initializer_list<std::string_view> args) {
  m_str = FormatTable(strings.LoadString(id), args);
  return *this;
}

CStringEx& CStringEx::Format(const char* format, ...) {
  va_list args;
  va_start(args, format);
  m_str = FormatV(format, args);
  va_end(args);
  return *this;
}

CStringEx& CStringEx::SetDate(const ILocale& locale, const std::optional<CalendarTime>& date) {
  std::optional<std::string> text;
  if (date) text = locale.DateToText(*date);
  m_str = text.value_or(std::string());
  return *this;
}

CStringEx& CStringEx::FormatNumber(double value, int decimals) {
  m_str = qm::FormatNumber(value, decimals);
  return *this;
}

CStringEx& CStringEx::MakeLower() {
  for (size_t i = 0; i < m_str.size(); ++i) {
    char& c = m_str[i];
    if (c >= 'A' && c <= 'Z') {
      c = static_cast<char>(c - 'A' + 'a');
    } else if (static_cast<unsigned char>(c) == 0xC3 && i + 1 < m_str.size()) {
      // U+00C0..U+00DE are two bytes C3 80..C3 9E; U+00D7 (×) has no lower case.
      auto& next = reinterpret_cast<unsigned char&>(m_str[i + 1]);
      if (next >= 0x80 && next <= 0x9E && next != 0x97) next = static_cast<unsigned char>(next + 0x20);
      ++i;
    }
  }
  return *this;
}

CStringEx& CStringEx::RemoveChar(char c) {
  std::erase(m_str, c);
  return *this;
}

CStringEx& CStringEx::TrimLeft() {
  m_str.erase(0, std::min(m_str.find_first_not_of(kWhiteSpace), m_str.size()));
  return *this;
}

CStringEx& CStringEx::Trim() {
  TrimLeft();
  m_str.erase(m_str.find_last_not_of(kWhiteSpace) + 1);
  return *this;
}

}  // namespace qm
