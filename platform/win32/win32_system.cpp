#include "platform/win32/win32_system.h"

#include <climits>

#include "common/text.h"
#include "platform/platform.h"
#include "platform/win32/win.h"
#include "res/string_table.h"

namespace qm {

std::wstring Widen(const std::string& utf8) {
  std::u16string u16 = Utf8ToUtf16(utf8);
  return std::wstring(u16.begin(), u16.end());
}

std::string Narrow(const std::wstring& wide) { return Utf16ToUtf8(std::u16string(wide.begin(), wide.end())); }

std::string Win32Strings::LoadString(uint32_t id) const {
  // The program's resources first; the CLI has none and uses the same table
  // compiled in.
  const wchar_t* text = nullptr;
  int length = ::LoadStringW(::GetModuleHandleW(nullptr), id, reinterpret_cast<LPWSTR>(&text), 0);
  if (length > 0 && text) return Narrow(std::wstring(text, static_cast<size_t>(length)));
  const char* builtin = FindBuiltinString(id);
  return builtin ? builtin : "";
}

std::string Win32Locale::VerLanguageName(uint32_t languageId) const {
  wchar_t buffer[256] = {};
  ::VerLanguageNameW(languageId & 0xFFFF, buffer, 256);
  // Wine counts the terminator in its answer; the text ends at the NUL.
  buffer[255] = L'\0';
  return Narrow(std::wstring(buffer));
}

uint16_t Win32Locale::GetUserDefaultUILanguage() const { return ::GetUserDefaultUILanguage(); }

std::string Win32Locale::LCMapLowerCase(const std::string& text) const {
  if (text.empty()) return text;
  const std::wstring wide = Widen(text);
  if (wide.size() > static_cast<size_t>(INT_MAX / 2)) return SimpleCaseFold(text);
  const DWORD flags = LCMAP_LOWERCASE | LCMAP_LINGUISTIC_CASING;
  const int length = static_cast<int>(wide.size());
  const int needed =
      ::LCMapStringEx(LOCALE_NAME_USER_DEFAULT, flags, wide.data(), length, nullptr, 0, nullptr, nullptr, 0);
  if (needed <= 0) return SimpleCaseFold(text);
  std::wstring lower(static_cast<size_t>(needed), L'\0');
  const int written =
      ::LCMapStringEx(LOCALE_NAME_USER_DEFAULT, flags, wide.data(), length, lower.data(), needed, nullptr, nullptr, 0);
  if (written <= 0) return SimpleCaseFold(text);
  lower.resize(static_cast<size_t>(written));
  return Narrow(lower);
}

namespace {

SYSTEMTIME ToSystemTime(const CalendarTime& t) {
  SYSTEMTIME st{};
  st.wYear = static_cast<WORD>(t.year);
  st.wMonth = static_cast<WORD>(t.month);
  st.wDay = static_cast<WORD>(t.day);
  st.wHour = static_cast<WORD>(t.hour);
  st.wMinute = static_cast<WORD>(t.minute);
  st.wSecond = static_cast<WORD>(t.second);
  return st;
}

std::optional<std::string> ShortDate(SYSTEMTIME st) {
  // The round trip fills in the day of the week that long date formats name.
  FILETIME asFileTime{};
  if (::SystemTimeToFileTime(&st, &asFileTime)) ::FileTimeToSystemTime(&asFileTime, &st);
  wchar_t buffer[128];
  const int n = ::GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, buffer, 128);
  if (n <= 0) return std::nullopt;
  return Narrow(std::wstring(buffer));
}

std::optional<std::string> TimeOfDay(const SYSTEMTIME& st) {
  wchar_t buffer[128];
  const int n = ::GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &st, nullptr, buffer, 128);
  if (n <= 0) return std::nullopt;
  return Narrow(std::wstring(buffer));
}

}  // namespace

std::optional<CalendarTime> Win32Locale::FileTimeToLocalTime(uint64_t fileTime) const {
  FILETIME utc{static_cast<DWORD>(fileTime & 0xFFFFFFFF), static_cast<DWORD>(fileTime >> 32)};
  FILETIME local{};
  SYSTEMTIME st{};
  if (!::FileTimeToLocalFileTime(&utc, &local) || !::FileTimeToSystemTime(&local, &st)) return std::nullopt;
  CalendarTime t{st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond};
  if (!IsValidCalendarTime(t)) return std::nullopt;
  return t;
}

std::optional<std::string> Win32Locale::DateToText(const CalendarTime& date) const {
  if (!IsValidCalendarTime(date)) return std::nullopt;
  return ShortDate(ToSystemTime(date));
}

std::optional<std::string> Win32Locale::FileTimeToText(uint64_t fileTime) const {
  const auto local = FileTimeToLocalTime(fileTime);
  if (!local) return std::nullopt;
  const SYSTEMTIME st = ToSystemTime(*local);
  auto text = ShortDate(st);
  if (!text || (!local->hour && !local->minute && !local->second)) return text;
  const auto time = TimeOfDay(st);
  if (!time) return std::nullopt;
  return *text + " " + *time;
}

Result<std::vector<uint8_t>> Win32Files::ReadFile(const std::string& path, uint64_t maxBytes) const {
  HANDLE file = ::CreateFileW(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return ParseError{ReadError::Io, 0};
  struct Closer {
    HANDLE h;
    ~Closer() { ::CloseHandle(h); }
  } closer{file};
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file, &size) || size.QuadPart < 0) return ParseError{ReadError::Io, 0};
  const auto total = static_cast<uint64_t>(size.QuadPart);
  if (total > maxBytes) return ParseError{ReadError::TooMany, total};
  std::vector<uint8_t> bytes(static_cast<size_t>(total));
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 30));
    DWORD got = 0;
    if (!::ReadFile(file, bytes.data() + done, chunk, &got, nullptr) || got == 0)
      return ParseError{ReadError::Io, done};
    done += got;
  }
  return bytes;
}

std::string Win32Files::GetModuleFileName() const {
  std::wstring buffer(32768, L'\0');
  DWORD n = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
  buffer.resize(n);
  return Narrow(buffer);
}

uint32_t Win32Files::GetLastError() const { return ::GetLastError(); }

std::optional<FileFindData> Win32Files::FindFile(const std::string& path) const {
  WIN32_FIND_DATAW found{};
  HANDLE search = ::FindFirstFileW(Widen(path).c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return std::nullopt;
  ::FindClose(search);
  const auto join = [](DWORD high, DWORD low) { return (static_cast<uint64_t>(high) << 32) | low; };
  FileFindData data;
  data.name = Narrow(found.cFileName);
  data.size = join(found.nFileSizeHigh, found.nFileSizeLow);
  data.creationTime = join(found.ftCreationTime.dwHighDateTime, found.ftCreationTime.dwLowDateTime);
  data.lastAccessTime = join(found.ftLastAccessTime.dwHighDateTime, found.ftLastAccessTime.dwLowDateTime);
  data.lastWriteTime = join(found.ftLastWriteTime.dwHighDateTime, found.ftLastWriteTime.dwLowDateTime);
  data.attributes = found.dwFileAttributes;
  return data;
}

std::string Win32ErrorText::FormatMessage(uint32_t code) const {
  wchar_t* message = nullptr;
  DWORD n =
      ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_ALLOCATE_BUFFER,
                       nullptr, code, 0x0400, reinterpret_cast<LPWSTR>(&message), 0, nullptr);
  std::string text;
  if (n && message) text = Narrow(std::wstring(message, n));
  if (message) ::LocalFree(message);
  return text;
}

uint32_t Win32ErrorText::GetLastError() const { return ::GetLastError(); }

int Win32MessageBox::MessageBox(const std::string& text, uint32_t flags) {
  return ::MessageBoxW(owner_ ? owner_ : ::GetActiveWindow(), Widen(text).c_str(), title_.c_str(), flags);
}

}  // namespace qm
