// The user's real locale writes dates and times, and the lists read them
// back in its own order, whichever it is.

#include <gtest/gtest.h>

#include "platform/locale_dates.h"
#include "common/ui/list_ctrl_helper.h"
#include "platform/win32/win32_system.h"

namespace qm {
namespace {

uint64_t ToFileTime(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second) {
  SYSTEMTIME st{year, month, 0, day, hour, minute, second, 0};
  FILETIME ft{};
  EXPECT_TRUE(::SystemTimeToFileTime(&st, &ft));
  return (uint64_t{ft.dwHighDateTime} << 32) | ft.dwLowDateTime;
}

TEST(LocaleDatesWin, TheLocalesTextsReadBackAndSortInTimeOrder) {
  Win32Locale locale;
  const DateParser dates = LocaleDateParser(locale);
  // Day and month both below 13, so only the right order reads them back;
  // one time before noon and one after.
  const uint64_t times[] = {ToFileTime(2024, 1, 2, 9, 5, 7), ToFileTime(2024, 2, 1, 15, 30, 59),
                            ToFileTime(2023, 12, 11, 0, 0, 1)};
  for (uint64_t time : times) {
    const auto text = locale.FileTimeToText(time);
    ASSERT_TRUE(text);
    EXPECT_EQ(dates(*text), locale.FileTimeToLocalTime(time)) << *text;
  }
  CListCtrlHelper helper;
  helper.SetColumnType(0, ColumnType::DateTime);
  const std::string january = *locale.FileTimeToText(times[0]), february = *locale.FileTimeToText(times[1]);
  EXPECT_EQ(helper.Compare(0, january, february), -1) << january << " / " << february;
  EXPECT_EQ(helper.Compare(0, february, january), 1);
}

}  // namespace
}  // namespace qm
