#pragma once
// Simulated system services for host tests: the built-in string table,
// English language names, UTC date text, files in memory, fixed error texts
// and message boxes that record what they were asked and answer from a queue.

#include <deque>
#include <map>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/sim/sim_desktop.h"
#include "platform/sim/sim_menus.h"

namespace qm {

class SimStrings : public IStrings {
 public:
  std::string LoadString(uint32_t id) const override;
};

class SimLocale : public ILocale {
 public:
  std::string VerLanguageName(uint32_t languageId) const override;
  // A user in UTC whose locale writes "dd/mm/yyyy hh:mm:ss", so that tests
  // do not depend on the machine's zone and language.
  std::optional<std::string> FileTimeToText(uint64_t fileTime) const override;
  std::optional<CalendarTime> FileTimeToLocalTime(uint64_t fileTime) const override;
  std::optional<std::string> DateToText(const CalendarTime& date) const override;
  // The user's UI language; 0 (none) unless a test sets one.
  uint16_t uiLanguage = 0;
  uint16_t GetUserDefaultUILanguage() const override { return uiLanguage; }
};

class SimFiles : public IFiles {
 public:
  std::map<std::string, std::vector<uint8_t>> files;
  std::string modulePath = "C:\\Program Files\\Quillmar\\quillmar.exe";
  mutable uint32_t lastError = 0;

  // What FindFile reports beyond a file's bytes (sizes of files too large
  // to hold, times, attributes); a path in either map is found.
  std::map<std::string, FileFindData> findData;

  Result<std::vector<uint8_t>> ReadFile(const std::string& path, uint64_t maxBytes) const override;
  std::optional<FileFindData> FindFile(const std::string& path) const override;
  std::string GetModuleFileName() const override { return modulePath; }
  uint32_t GetLastError() const override { return lastError; }
};

class SimErrorText : public IErrorText {
 public:
  mutable uint32_t lastError = 0;
  // "Error N.\r\n" for any code but those given here.
  std::map<uint32_t, std::string> messages{{5, "Access denied.\r\n"}, {87, "The parameter is incorrect.\r\n"}};
  std::string FormatMessage(uint32_t code) const override;
  uint32_t GetLastError() const override { return lastError; }
};

class SimMessageBox : public IMessageBox {
 public:
  struct Shown {
    std::string text;
    uint32_t flags;
  };
  std::vector<Shown> shown;
  std::deque<int> answers;  // empty: IDYES
  int MessageBox(const std::string& text, uint32_t flags) override;
};

// A platform of simulated services; tests add windows and processes to it.
struct SimSystem {
  SimStrings strings;
  SimLocale locale;
  SimFiles files;
  SimErrorText errors;
  SimMessageBox messageBox;
  SimDesktop desktop;
  SimMenus menus;
  Platform platform{&strings, &locale, &files, &errors, &messageBox, &desktop, &desktop, &menus};
};

}  // namespace qm
