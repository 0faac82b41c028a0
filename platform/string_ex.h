#pragma once
// A string with the program's formatting operations: numbers with "." for
// thousands and "," for decimals, dates in the user's locale, and the few
// edits the dialogs make to a text. Callers read m_str directly.

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

#include "common/calendar_time.h"
#include "common/text.h"
#include "platform/system.h"

namespace qm {

class CStringEx {
 public:
  std::string m_str;

  CStringEx() = default;
  explicit CStringEx(std::string text) : m_str(std::move(text)) {}
  explicit CStringEx(const char* text) : m_str(text ? text : "") {}
  virtual ~CStringEx() = default;
  CStringEx(const CStringEx&) = default;
  CStringEx& operator=(const CStringEx&) = default;
  CStringEx& operator=(std::string text) {
    m_str = std::move(text);
    return *this;
  }

  // The string-table entry; empty when there is none.
  CStringEx& LoadString(const IStrings& strings, uint32_t id);
  // The entry with its %s, %d, %u and %x filled in order by the texts given;
  // a conversion without a text stays as it is (a table string never drives
  // printf).
  CStringEx& FormatFromId(const IStrings& strings, uint32_t id, std::initializer_list<std::string_view> args);
  CStringEx& Format(const char* format, ...) QM_PRINTF(2, 3);

  // The date part of a date and time as the user's locale writes it; empty
  // for a missing date (nullopt) or one that does not exist.
  CStringEx& SetDate(const ILocale& locale, const std::optional<CalendarTime>& date);
  // "1.234.567,89": see FormatNumber in common/number_format.h.
  CStringEx& FormatNumber(double value, int decimals);

  // ASCII and Latin-1 letters ("Ñ" → "ñ"); other text stays as it is.
  CStringEx& MakeLower();
  // Removes every occurrence of the byte.
  CStringEx& RemoveChar(char c);
  CStringEx& TrimLeft();
  CStringEx& Trim();
};

}  // namespace qm
