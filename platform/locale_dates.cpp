#include "platform/locale_dates.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "common/file_time.h"

namespace qm {
namespace {

// Day, month and year all different and of two digits in any form, so the
// locale's text of it says which field comes where.
constexpr CalendarTime kProbeDate{2033, 11, 22, 0, 0, 0};

enum class Field { Day, Month, Year };

// A text as its digit runs and the rest with each run replaced by '#'.
struct Shape {
  std::vector<int> values;
  std::vector<size_t> widths;
  std::string skeleton;
};

Shape ShapeOf(const std::string& text) {
  Shape shape;
  for (size_t i = 0; i < text.size();) {
    if (text[i] < '0' || text[i] > '9') {
      shape.skeleton.push_back(text[i++]);
      continue;
    }
    const size_t start = i;
    int value = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
      // More than nine digits is no date field; stop growing the value.
      if (i - start < 9) value = value * 10 + (text[i] - '0');
      ++i;
    }
    shape.values.push_back(value);
    shape.widths.push_back(i - start);
    shape.skeleton.push_back('#');
  }
  return shape;
}

std::string Trimmed(const std::string& text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// Days since 1970-01-01 (proleptic Gregorian).
int64_t DaysFromCivil(int64_t year, int64_t month, int64_t day) {
  year -= month <= 2;
  const int64_t era = (year >= 0 ? year : year - 399) / 400;
  const int64_t yoe = year - era * 400;
  const int64_t doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

int64_t SecondsSince1601(const CalendarTime& t) {
  return DaysFromCivil(t.year, t.month, t.day) * 86400 + static_cast<int64_t>(kSecondsFrom1601To1970) + t.hour * 3600 +
         t.minute * 60 + t.second;
}

// The locale's text of a local time, through the FILETIME that it shows as
// that time; none when the zone moves its clock right then.
std::optional<std::string> LocalTimeText(const ILocale& locale, const CalendarTime& local) {
  const CalendarTime noon{local.year, local.month, local.day, 12, 0, 0};
  const auto noonAsUtc = static_cast<uint64_t>(SecondsSince1601(noon)) * kFileTimeTicksPerSecond;
  const auto noonLocal = locale.FileTimeToLocalTime(noonAsUtc);
  if (!noonLocal) return std::nullopt;
  const int64_t offset = SecondsSince1601(*noonLocal) - SecondsSince1601(noon);
  const auto fileTime = static_cast<uint64_t>(SecondsSince1601(local) - offset) * kFileTimeTicksPerSecond;
  if (locale.FileTimeToLocalTime(fileTime) != local) return std::nullopt;
  return locale.FileTimeToText(fileTime);
}

struct DateForm {
  std::array<Field, 3> order{Field::Day, Field::Month, Field::Year};
  std::string dateSkeleton;  // "#/#/#"
  // A 12-hour clock: the skeletons of a time after and before noon, and
  // what only the one after noon holds ("PM", "p").
  bool twelveHour = false;
  std::string pmSkeleton, amSkeleton, pmMark;
};

// What tells the two apart once their common start and end are set aside.
std::string Difference(const std::string& pm, const std::string& am) {
  size_t front = 0;
  while (front < pm.size() && front < am.size() && pm[front] == am[front]) ++front;
  size_t back = 0;
  while (back < pm.size() - front && back < am.size() - front && pm[pm.size() - 1 - back] == am[am.size() - 1 - back])
    ++back;
  return pm.substr(front, pm.size() - front - back);
}

// Which field of the probe date a number of its text is.
std::optional<Field> FieldOf(int value) {
  if (value == kProbeDate.day) return Field::Day;
  if (value == kProbeDate.month) return Field::Month;
  if (value == kProbeDate.year || value == kProbeDate.year % 100) return Field::Year;
  return std::nullopt;
}

std::optional<DateForm> LearnForm(const ILocale& locale) {
  const auto probe = locale.DateToText(kProbeDate);
  if (!probe) return std::nullopt;
  const Shape date = ShapeOf(Trimmed(*probe));
  if (date.values.size() != 3) return std::nullopt;
  DateForm form;
  form.dateSkeleton = date.skeleton;
  bool seen[3] = {false, false, false};
  for (size_t i = 0; i < 3; ++i) {
    const auto field = FieldOf(date.values[i]);
    if (!field || seen[static_cast<int>(*field)]) return std::nullopt;
    seen[static_cast<int>(*field)] = true;
    form.order[i] = *field;
  }
  // The clock: 13:44:55 written as 1 o'clock is a 12-hour one.
  const auto pm = LocalTimeText(locale, {kProbeDate.year, kProbeDate.month, kProbeDate.day, 13, 44, 55});
  const auto am = LocalTimeText(locale, {kProbeDate.year, kProbeDate.month, kProbeDate.day, 1, 44, 55});
  if (pm && am) {
    const Shape pmShape = ShapeOf(Trimmed(*pm)), amShape = ShapeOf(Trimmed(*am));
    if (pmShape.values.size() >= 4 && pmShape.values[3] == 1) {
      form.twelveHour = true;
      form.pmSkeleton = pmShape.skeleton;
      form.amSkeleton = amShape.skeleton;
      form.pmMark = Difference(pmShape.skeleton, amShape.skeleton);
    }
  }
  return form;
}

std::optional<CalendarTime> ReadInForm(const DateForm& form, const std::string& text) {
  const Shape shape = ShapeOf(Trimmed(text));
  if (shape.skeleton.compare(0, form.dateSkeleton.size(), form.dateSkeleton) != 0) return std::nullopt;
  const size_t runs = shape.values.size();
  // A date alone (midnight), or with hours and minutes and maybe seconds.
  if (runs != 3 && runs != 5 && runs != 6) return std::nullopt;
  if (runs == 3 && shape.skeleton.size() != form.dateSkeleton.size()) return std::nullopt;
  CalendarTime t;
  for (size_t i = 0; i < 3; ++i) {
    const int value = shape.values[i];
    switch (form.order[i]) {
      case Field::Day:
        t.day = value;
        break;
      case Field::Month:
        t.month = value;
        break;
      case Field::Year:
        // Two digits: 00-29 this century, 30-99 the last, as the platform
        // reads them.
        t.year = shape.widths[i] <= 2 ? (value < 30 ? 2000 + value : 1900 + value) : value;
        break;
    }
  }
  if (runs > 3) {
    t.hour = shape.values[3];
    t.minute = shape.values[4];
    t.second = runs == 6 ? shape.values[5] : 0;
    if (form.twelveHour) {
      if (t.hour < 1 || t.hour > 12) return std::nullopt;
      const bool pm = shape.skeleton == form.pmSkeleton ||
                      (shape.skeleton != form.amSkeleton && !form.pmMark.empty() &&
                       shape.skeleton.find(form.pmMark, form.dateSkeleton.size()) != std::string::npos);
      t.hour = t.hour % 12 + (pm ? 12 : 0);
    }
  }
  if (!IsValidCalendarTime(t)) return std::nullopt;
  return t;
}

}  // namespace

DateParser LocaleDateParser(const ILocale& locale) {
  auto form = LearnForm(locale);
  if (!form) return ParseDayFirstDate;
  return [form = std::make_shared<const DateForm>(std::move(*form))](const std::string& text) {
    return ReadInForm(*form, text);
  };
}

}  // namespace qm
