#pragma once
// The Linux backend of quillmar-cli: real files, the built-in string table,
// English language names and local date text. No windows, no processes.

#include "platform/system.h"

namespace qm {

class PosixStrings : public IStrings {
 public:
  std::string LoadString(uint32_t id) const override;
};

class PosixLocale : public ILocale {
 public:
  std::string VerLanguageName(uint32_t languageId) const override;
  std::optional<std::string> FileTimeToText(uint64_t fileTime) const override;
};

class PosixFiles : public IFiles {
 public:
  Result<std::vector<uint8_t>> ReadFile(const std::string& path, uint64_t maxBytes) const override;
  // In posix_mapped_file.cpp.
  Result<std::unique_ptr<const MappedFile>, FileError> MapFile(const std::string& path,
                                                               uint64_t maxBytes) const override;
  std::string GetModuleFileName() const override;
  uint32_t GetLastError() const override;
};

// The reason and Windows code for an errno of open, stat or read.
FileError FileErrorFromErrno(int error);

class PosixErrorText : public IErrorText {
 public:
  std::string FormatMessage(uint32_t code) const override;
  uint32_t GetLastError() const override;
};

}  // namespace qm
