#include "platform/locale_dates.h"

#include <gtest/gtest.h>

#include "common/text.h"
#include "platform/sim/sim_system.h"

namespace qm {
namespace {

// A user five hours behind UTC whose locale writes "M/d/yyyy h:mm:ss AM",
// as the United States one does.
class MonthFirstLocale : public SimLocale {
 public:
  std::optional<CalendarTime> FileTimeToLocalTime(uint64_t fileTime) const override {
    return SimLocale::FileTimeToLocalTime(fileTime - 5ull * 3600 * 10'000'000);
  }
  std::optional<std::string> DateToText(const CalendarTime& date) const override {
    if (!IsValidCalendarTime(date)) return std::nullopt;
    return Format("%d/%d/%04d", date.month, date.day, date.year);
  }
  std::optional<std::string> FileTimeToText(uint64_t fileTime) const override {
    const auto local = FileTimeToLocalTime(fileTime);
    if (!local) return std::nullopt;
    std::string text = *DateToText(*local);
    if (local->hour || local->minute || local->second) {
      const int hour = local->hour % 12 == 0 ? 12 : local->hour % 12;
      text += Format(" %d:%02d:%02d %s", hour, local->minute, local->second, local->hour < 12 ? "AM" : "PM");
    }
    return text;
  }
};

// "yy.MM.dd" with a 24-hour clock and the year first.
class YearFirstLocale : public SimLocale {
 public:
  std::optional<std::string> DateToText(const CalendarTime& date) const override {
    if (!IsValidCalendarTime(date)) return std::nullopt;
    return Format("%02d.%02d.%02d", date.year % 100, date.month, date.day);
  }
};

// A locale whose short date names the month in words.
class WordsLocale : public SimLocale {
 public:
  std::optional<std::string> DateToText(const CalendarTime&) const override { return "noviembre"; }
};

int Compare(const DateParser& dates, const std::string& a, const std::string& b) {
  return CompareCells(ColumnType::DateTime, a, b, dates);
}

TEST(LocaleDatesTest, AMonthFirstTwelveHourLocaleReadsItsOwnTexts) {
  const MonthFirstLocale locale;
  const DateParser dates = LocaleDateParser(locale);
  EXPECT_EQ(dates("2/1/2024"), (CalendarTime{2024, 2, 1, 0, 0, 0}));
  EXPECT_EQ(dates("12/31/2023 11:59:58 PM"), (CalendarTime{2023, 12, 31, 23, 59, 58}));
  EXPECT_EQ(dates("1/2/2024 12:30:00 AM"), (CalendarTime{2024, 1, 2, 0, 30, 0}));
  EXPECT_EQ(dates("1/2/2024 12:30:00 PM"), (CalendarTime{2024, 1, 2, 12, 30, 0}));
  EXPECT_FALSE(dates("13/1/2024")) << "no month 13";
  EXPECT_FALSE(dates("1/2/2024 13:00:00 PM"));
  // January the 2nd comes before February the 1st, and the afternoon after
  // the morning of the same day; day first would have it the other way.
  EXPECT_EQ(Compare(dates, "1/2/2024", "2/1/2024"), -1);
  EXPECT_EQ(Compare(dates, "3/4/2024 1:00:00 PM", "3/4/2024 11:00:00 AM"), 1);
  // What it writes it reads back, seconds included.
  const uint64_t fileTime = 133'500'000'000'000'000ull + 7 * 10'000'000ull;
  EXPECT_EQ(dates(*locale.FileTimeToText(fileTime)), locale.FileTimeToLocalTime(fileTime));
}

TEST(LocaleDatesTest, OtherOrdersTwoDigitYearsAndUnlearnableLocales) {
  const DateParser yearFirst = LocaleDateParser(YearFirstLocale());
  EXPECT_EQ(yearFirst("24.01.02 09:05:00"), (CalendarTime{2024, 1, 2, 9, 5, 0}));
  EXPECT_EQ(yearFirst("99.12.31"), (CalendarTime{1999, 12, 31, 0, 0, 0}));
  EXPECT_FALSE(yearFirst("02/01/2024")) << "another locale's form";

  // The simulated user writes day first with a 24-hour clock.
  const DateParser dayFirst = LocaleDateParser(SimLocale());
  EXPECT_EQ(dayFirst("02/01/2024 13:44:00"), (CalendarTime{2024, 1, 2, 13, 44, 0}));
  EXPECT_EQ(Compare(dayFirst, "02/01/2024", "31/12/2023"), 1);
  EXPECT_EQ(Compare(dayFirst, "", "01/01/1901"), -1) << "empty reads as 1900";

  // Nothing to learn from: day first, as before.
  const DateParser words = LocaleDateParser(WordsLocale());
  EXPECT_EQ(words("7/3/2021"), (CalendarTime{2021, 3, 7, 0, 0, 0}));
}

}  // namespace
}  // namespace qm
