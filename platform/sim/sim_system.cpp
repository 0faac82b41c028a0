#include "platform/sim/sim_system.h"

#include "common/file_time.h"
#include "common/language_names.h"
#include "common/text.h"
#include "res/string_table.h"

namespace qm {

std::string SimStrings::LoadString(uint32_t id) const {
  const char* text = FindBuiltinString(id);
  return text ? text : "";
}

std::string SimLocale::VerLanguageName(uint32_t languageId) const {
  return EnglishLanguageName(static_cast<uint16_t>(languageId & 0xFFFF));
}

std::optional<CalendarTime> SimLocale::FileTimeToLocalTime(uint64_t fileTime) const {
  const std::optional<uint64_t> unixSeconds = UnixSecondsFromFileTime(fileTime);
  if (!unixSeconds) return std::nullopt;
  const auto seconds = static_cast<int64_t>(*unixSeconds);
  // Civil date from days since 1970-01-01 (proleptic Gregorian).
  const int64_t days = seconds / 86400, secs = seconds % 86400;
  const int64_t z = days + 719468, era = z / 146097, doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100), mp = (5 * doy + 2) / 153;
  const int64_t day = doy - (153 * mp + 2) / 5 + 1, month = mp < 10 ? mp + 3 : mp - 9;
  const int64_t year = yoe + era * 400 + (month <= 2);
  CalendarTime t{static_cast<int>(year),        static_cast<int>(month),          static_cast<int>(day),
                 static_cast<int>(secs / 3600), static_cast<int>(secs / 60 % 60), static_cast<int>(secs % 60)};
  if (!IsValidCalendarTime(t)) return std::nullopt;
  return t;
}

std::optional<std::string> SimLocale::DateToText(const CalendarTime& date) const {
  if (!IsValidCalendarTime(date)) return std::nullopt;
  return Format("%02d/%02d/%04d", date.day, date.month, date.year);
}

std::optional<std::string> SimLocale::FileTimeToText(uint64_t fileTime) const {
  const auto local = FileTimeToLocalTime(fileTime);
  if (!local) return std::nullopt;
  std::string text = *DateToText(*local);
  if (local->hour || local->minute || local->second)
    text += Format(" %02d:%02d:%02d", local->hour, local->minute, local->second);
  return text;
}

Result<std::vector<uint8_t>> SimFiles::ReadFile(const std::string& path, uint64_t maxBytes) const {
  auto it = files.find(path);
  if (it == files.end()) {
    lastError = 2;  // ERROR_FILE_NOT_FOUND
    return ParseError{ReadError::Io, 0};
  }
  if (it->second.size() > maxBytes) return ParseError{ReadError::TooMany, it->second.size()};
  return it->second;
}

std::optional<FileFindData> SimFiles::FindFile(const std::string& path) const {
  if (auto it = findData.find(path); it != findData.end()) return it->second;
  auto it = files.find(path);
  if (it == files.end()) return std::nullopt;
  FileFindData data;
  const size_t slash = path.find_last_of("\\/");
  data.name = slash == std::string::npos ? path : path.substr(slash + 1);
  data.size = it->second.size();
  return data;
}

std::string SimErrorText::FormatMessage(uint32_t code) const {
  auto it = messages.find(code);
  return it != messages.end() ? it->second : Format("Error %u.\r\n", code);
}

int SimMessageBox::MessageBox(const std::string& text, uint32_t flags) {
  shown.push_back({text, flags});
  if (answers.empty()) return IDYES_;
  int answer = answers.front();
  answers.pop_front();
  return answer;
}

}  // namespace qm
