#pragma once
// A calendar date and time of day, field by field as the platform's
// SYSTEMTIME holds them.

#include <cstdint>

namespace qm {

struct CalendarTime {
  int year = 0;
  int month = 0;  // 1..12
  int day = 0;    // 1..31
  int hour = 0;
  int minute = 0;
  int second = 0;
  friend bool operator==(const CalendarTime&, const CalendarTime&) = default;
};

// Whether the date exists (Gregorian leap years) and lies in the range that
// SYSTEMTIME and FILETIME share, and the time of day is a real one.
constexpr bool IsValidCalendarTime(const CalendarTime& t) {
  if (t.year < 1601 || t.year > 30827 || t.month < 1 || t.month > 12 || t.day < 1) return false;
  const bool leap = (t.year % 4 == 0 && t.year % 100 != 0) || t.year % 400 == 0;
  constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const int days = kDays[t.month - 1] + (t.month == 2 && leap ? 1 : 0);
  return t.day <= days && t.hour >= 0 && t.hour < 24 && t.minute >= 0 && t.minute < 60 && t.second >= 0 &&
         t.second < 60;
}

}  // namespace qm
