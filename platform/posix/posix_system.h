#pragma once
// The Linux backend of quillmar-cli: real files, the built-in string table,
// English language names and local date text. No windows, no processes.

#include <locale.h>

#include <memory>
#include <type_traits>

#include "platform/system.h"

namespace qm {

class PosixStrings : public IStrings {
 public:
  std::string LoadString(uint32_t id) const override;
};

// Dates and times in the C library's locale of the user (LC_ALL, LC_TIME,
// LANG), read once without touching the program's global locale; the "C"
// locale when the named one is not installed.
class PosixLocale : public ILocale {
 public:
  PosixLocale();
  std::string VerLanguageName(uint32_t languageId) const override;
  std::optional<std::string> FileTimeToText(uint64_t fileTime) const override;
  std::optional<CalendarTime> FileTimeToLocalTime(uint64_t fileTime) const override;
  std::optional<std::string> DateToText(const CalendarTime& date) const override;

 private:
  struct FreeLocale {
    void operator()(std::remove_pointer_t<locale_t>* locale) const { freelocale(locale); }
  };
  std::optional<std::string> Strftime(const char* format, const CalendarTime& time) const;

  std::unique_ptr<std::remove_pointer_t<locale_t>, FreeLocale> m_timeLocale;
};

class PosixFiles : public IFiles {
 public:
  Result<std::vector<uint8_t>> ReadFile(const std::string& path, uint64_t maxBytes) const override;
  // In posix_mapped_file.cpp.
  Result<std::unique_ptr<const MappedFile>, FileError> MapFile(const std::string& path,
                                                               uint64_t maxBytes) const override;
  std::string GetModuleFileName() const override;
  uint32_t GetLastError() const override;
  // stat(): no creation time (0) and no attribute bits but read-only for a
  // file its owner cannot write; a name with a wildcard finds nothing.
  std::optional<FileFindData> FindFile(const std::string& path) const override;
};

// The reason and Windows code for an errno of open, stat or read.
FileError FileErrorFromErrno(int error);

class PosixErrorText : public IErrorText {
 public:
  std::string FormatMessage(uint32_t code) const override;
  uint32_t GetLastError() const override;
};

}  // namespace qm
