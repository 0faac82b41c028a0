// Dates as the user's locale writes them, checked against the platform's
// own date-to-text conversion of automation dates (VarBstrFromDate), which
// is independent of the Win32 backend's calls.

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "platform/string_ex.h"
// clang-format off
#include "platform/win32/win.h"
#include <oleauto.h>  // needs <windows.h> first
// clang-format on
#include "platform/win32/win32_system.h"
#include "resources/file_version_info.h"

namespace qm {
namespace {

std::optional<std::string> Reference(const SYSTEMTIME& st, ULONG flags) {
  SYSTEMTIME copy = st;
  double date = 0;
  if (!::SystemTimeToVariantTime(&copy, &date)) return std::nullopt;
  BSTR text = nullptr;
  if (FAILED(::VarBstrFromDate(date, LOCALE_USER_DEFAULT, flags, &text))) return std::nullopt;
  std::wstring wide(text, ::SysStringLen(text));
  ::SysFreeString(text);
  return Narrow(wide);
}

std::optional<std::string> FileTimeReference(uint64_t fileTime) {
  FILETIME utc{static_cast<DWORD>(fileTime), static_cast<DWORD>(fileTime >> 32)}, local{};
  SYSTEMTIME st{};
  if (!::FileTimeToLocalFileTime(&utc, &local) || !::FileTimeToSystemTime(&local, &st)) return std::nullopt;
  return Reference(st, 0);
}

uint64_t ToFileTime(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second) {
  SYSTEMTIME st{year, month, 0, day, hour, minute, second, 0};
  FILETIME ft{};
  EXPECT_TRUE(::SystemTimeToFileTime(&st, &ft));
  return (uint64_t{ft.dwHighDateTime} << 32) | ft.dwLowDateTime;
}

uint64_t LocalMidnight(WORD year, WORD month, WORD day) {
  SYSTEMTIME st{year, month, 0, day, 0, 0, 0, 0};
  FILETIME local{}, utc{};
  EXPECT_TRUE(::SystemTimeToFileTime(&st, &local));
  EXPECT_TRUE(::LocalFileTimeToFileTime(&local, &utc));
  return (uint64_t{utc.dwHighDateTime} << 32) | utc.dwLowDateTime;
}

TEST(DateTextWin, FileTimesReadAsTheLocaleWritesThemWithTheTimeUnlessMidnight) {
  Win32Locale locale;
  const uint64_t times[] = {
      ToFileTime(2009, 7, 14, 12, 34, 56), ToFileTime(1999, 12, 31, 23, 59, 59),
      ToFileTime(2024, 2, 29, 8, 5, 0),    ToFileTime(1970, 1, 1, 0, 0, 1),
      LocalMidnight(2026, 3, 1),           LocalMidnight(1601, 1, 2),
  };
  for (uint64_t fileTime : times) {
    const auto reference = FileTimeReference(fileTime);
    ASSERT_TRUE(reference) << fileTime;
    EXPECT_EQ(locale.FileTimeToText(fileTime), reference) << fileTime;
  }
  // Local midnight has no time of day.
  const auto midnight = locale.FileTimeToText(LocalMidnight(2026, 3, 1));
  ASSERT_TRUE(midnight);
  EXPECT_EQ(midnight->find(':'), std::string::npos) << *midnight;
  // Past what SYSTEMTIME can hold there is no date.
  EXPECT_EQ(locale.FileTimeToText(0x8000000000000000ull), std::nullopt);

  // The version block's file date goes the same way.
  CFileVersionInfo info(SystemPlatform(), std::string(QM_FIXTURE_DIR) + "\\x86_64\\version_font.dll");
  EXPECT_EQ(info.GetField(VersionField::FixedFileDate), FileTimeReference(ToFileTime(2009, 7, 14, 12, 34, 56)));
}

TEST(DateTextWin, SetDateShowsTheDatePartAsTheLocaleWritesIt) {
  Win32Locale locale;
  const CalendarTime dates[] = {
      {2009, 7, 14, 12, 34, 56}, {2024, 2, 29, 0, 0, 0}, {1601, 1, 1, 23, 0, 0}, {9999, 12, 31, 1, 2, 3}};
  for (const CalendarTime& date : dates) {
    SYSTEMTIME st{static_cast<WORD>(date.year),
                  static_cast<WORD>(date.month),
                  0,
                  static_cast<WORD>(date.day),
                  static_cast<WORD>(date.hour),
                  static_cast<WORD>(date.minute),
                  static_cast<WORD>(date.second),
                  0};
    const auto reference = Reference(st, VAR_DATEVALUEONLY);
    ASSERT_TRUE(reference) << date.year;
    EXPECT_EQ(CStringEx().SetDate(locale, date).m_str, *reference) << date.year;
  }
  EXPECT_EQ(CStringEx("x").SetDate(locale, CalendarTime{2023, 2, 29, 0, 0, 0}).m_str, "");
  EXPECT_EQ(CStringEx("x").SetDate(locale, std::nullopt).m_str, "");
}

}  // namespace
}  // namespace qm
