#pragma once
// The real Windows services behind platform/system.h: wide API calls,
// converted to and from UTF-8 at this boundary.

#include <string>

#include "platform/system.h"

struct HWND__;  // HWND, without <windows.h>

namespace qm {

std::wstring Widen(const std::string& utf8);
std::string Narrow(const std::wstring& wide);

class Win32Strings : public IStrings {
 public:
  std::string LoadString(uint32_t id) const override;
};

// Dates and times as the user's default locale writes them (short date,
// time of day with seconds).
class Win32Locale : public ILocale {
 public:
  std::string VerLanguageName(uint32_t languageId) const override;
  std::optional<std::string> FileTimeToText(uint64_t fileTime) const override;
  std::optional<CalendarTime> FileTimeToLocalTime(uint64_t fileTime) const override;
  std::optional<std::string> DateToText(const CalendarTime& date) const override;
  uint16_t GetUserDefaultUILanguage() const override;
  // Unicode's simple case folding where the system refuses the mapping.
  std::string LCMapLowerCase(const std::string& text) const override;
};

class Win32Files : public IFiles {
 public:
  Result<std::vector<uint8_t>> ReadFile(const std::string& path, uint64_t maxBytes) const override;
  // A read-only view of the whole file; in win32_mapped_file.cpp.
  Result<std::unique_ptr<const MappedFile>, FileError> MapFile(const std::string& path,
                                                               uint64_t maxBytes) const override;
  std::string GetModuleFileName() const override;
  uint32_t GetLastError() const override;
  // FindFirstFile: the first match of the path (which may hold wildcards).
  std::optional<FileFindData> FindFile(const std::string& path) const override;
};

class Win32ErrorText : public IErrorText {
 public:
  std::string FormatMessage(uint32_t code) const override;
  uint32_t GetLastError() const override;
};

class Win32MessageBox : public IMessageBox {
 public:
  Win32MessageBox() = default;
  // A tool's own caption, and the window its boxes are modal to (the
  // active window until one is given).
  explicit Win32MessageBox(std::wstring title) : title_(std::move(title)) {}
  void SetOwner(HWND__* owner) { owner_ = owner; }
  int MessageBox(const std::string& text, uint32_t flags) override;

 private:
  std::wstring title_ = L"Quillmar";
  HWND__* owner_ = nullptr;
};

}  // namespace qm
