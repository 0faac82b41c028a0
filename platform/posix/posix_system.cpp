#include "platform/posix/posix_system.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fstream>

#include "common/file_time.h"
#include "common/language_names.h"
#include "common/text.h"
#include "platform/platform.h"
#include "res/string_table.h"

namespace qm {

std::string PosixStrings::LoadString(uint32_t id) const {
  const char* text = FindBuiltinString(id);
  return text ? text : "";
}

std::string PosixLocale::VerLanguageName(uint32_t languageId) const {
  return EnglishLanguageName(static_cast<uint16_t>(languageId & 0xFFFF));
}

PosixLocale::PosixLocale() {
  locale_t user = newlocale(LC_TIME_MASK, "", nullptr);
  if (!user) user = newlocale(LC_TIME_MASK, "C", nullptr);
  m_timeLocale.reset(user);
}

std::optional<CalendarTime> PosixLocale::FileTimeToLocalTime(uint64_t fileTime) const {
  const std::optional<uint64_t> seconds = UnixSecondsFromFileTime(fileTime);
  if (!seconds) return std::nullopt;
  const auto unixTime = static_cast<time_t>(*seconds);
  std::tm local{};
  if (!localtime_r(&unixTime, &local)) return std::nullopt;
  CalendarTime t{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec};
  if (!IsValidCalendarTime(t)) return std::nullopt;
  return t;
}

std::optional<std::string> PosixLocale::Strftime(const char* format, const CalendarTime& time) const {
  if (!IsValidCalendarTime(time) || !m_timeLocale) return std::nullopt;
  std::tm tm{};
  tm.tm_year = time.year - 1900;
  tm.tm_mon = time.month - 1;
  tm.tm_mday = time.day;
  tm.tm_hour = time.hour;
  tm.tm_min = time.minute;
  tm.tm_sec = time.second;
  // Week and year day, which some locales' date formats name.
  std::tm normalised = tm;
  if (timegm(&normalised) != static_cast<time_t>(-1)) {
    tm.tm_wday = normalised.tm_wday;
    tm.tm_yday = normalised.tm_yday;
  }
  char buffer[256];
  const size_t n = strftime_l(buffer, sizeof buffer, format, &tm, m_timeLocale.get());
  if (n == 0) return std::nullopt;
  return std::string(buffer, n);
}

std::optional<std::string> PosixLocale::DateToText(const CalendarTime& date) const { return Strftime("%x", date); }

std::optional<std::string> PosixLocale::FileTimeToText(uint64_t fileTime) const {
  const auto local = FileTimeToLocalTime(fileTime);
  if (!local) return std::nullopt;
  const bool midnight = !local->hour && !local->minute && !local->second;
  return Strftime(midnight ? "%x" : "%x %X", *local);
}

Result<std::vector<uint8_t>> PosixFiles::ReadFile(const std::string& path, uint64_t maxBytes) const {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  if (!in) return ParseError{ReadError::Io, 0};
  const auto end = in.tellg();
  if (end < 0) return ParseError{ReadError::Io, 0};
  const auto size = static_cast<uint64_t>(end);
  if (size > maxBytes) return ParseError{ReadError::TooMany, size};
  std::vector<uint8_t> bytes(static_cast<size_t>(size));
  in.seekg(0);
  if (size && !in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size)))
    return ParseError{ReadError::Io, 0};
  return bytes;
}

std::string PosixFiles::GetModuleFileName() const {
  char buffer[4096];
  ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  return n > 0 ? std::string(buffer, static_cast<size_t>(n)) : std::string();
}

uint32_t PosixFiles::GetLastError() const { return static_cast<uint32_t>(errno); }

std::optional<FileFindData> PosixFiles::FindFile(const std::string& path) const {
  if (path.find_first_of("*?") != std::string::npos) return std::nullopt;
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
  const auto fileTime = [](const timespec& t) -> uint64_t {
    if (t.tv_sec < 0) return 0;
    return FileTimeFromUnixSeconds(static_cast<uint64_t>(t.tv_sec)) + static_cast<uint64_t>(t.tv_nsec) / 100;
  };
  FileFindData data;
  const size_t slash = path.find_last_of('/');
  data.name = slash == std::string::npos ? path : path.substr(slash + 1);
  data.size = static_cast<uint64_t>(info.st_size);
  data.lastAccessTime = fileTime(info.st_atim);
  data.lastWriteTime = fileTime(info.st_mtim);
  if (!(info.st_mode & S_IWUSR)) data.attributes |= FILE_ATTRIBUTE_READONLY_;
  return data;
}

std::string PosixErrorText::FormatMessage(uint32_t code) const {
  return std::string(std::strerror(static_cast<int>(code))) + "\r\n";
}

uint32_t PosixErrorText::GetLastError() const { return static_cast<uint32_t>(errno); }

}  // namespace qm

namespace qm {

namespace {
class PosixMessageBox : public IMessageBox {
 public:
  // The CLI has no one to ask: the message goes to stderr and the answer is No.
  int MessageBox(const std::string& text, uint32_t) override {
    std::fprintf(stderr, "%s\n", text.c_str());
    return 7;  // IDNO
  }
};
}  // namespace

Platform& SystemPlatform() {
  static PosixStrings strings;
  static PosixLocale locale;
  static PosixFiles files;
  static PosixErrorText errors;
  static PosixMessageBox messageBox;
  static Platform platform{&strings, &locale, &files, &errors, &messageBox, nullptr, nullptr};
  return platform;
}

}  // namespace qm
