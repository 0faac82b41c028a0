#pragma once
// The system services that the portable core needs besides windows and
// processes: the string table, language names and dates, files, error texts
// and message boxes. Method names are the platform's own.

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "common/byte_reader.h"
#include "common/calendar_time.h"
#include "common/case_fold.h"
#include "common/result.h"

namespace qm {

class IStrings {
 public:
  virtual ~IStrings() = default;
  // The string-table entry, empty when there is none.
  virtual std::string LoadString(uint32_t id) const = 0;
};

class ILocale {
 public:
  virtual ~ILocale() = default;
  // The platform's name of a language ID ("English (United States)").
  virtual std::string VerLanguageName(uint32_t languageId) const = 0;
  // A FILETIME (100 ns ticks since 1601, UTC) in local time, as the user's
  // locale writes a date and a time of day (the time left out at exactly
  // midnight); nullopt when a conversion fails.
  virtual std::optional<std::string> FileTimeToText(uint64_t fileTime) const = 0;
  // A FILETIME (UTC) as the local calendar time; nullopt when it has none.
  virtual std::optional<CalendarTime> FileTimeToLocalTime(uint64_t fileTime) const = 0;
  // The date part only, as the user's locale writes a short date; nullopt
  // for a date that does not exist.
  virtual std::optional<std::string> DateToText(const CalendarTime& date) const = 0;
  // The LANGID of the user's interface language; 0 where the platform has
  // no such notion (resources then fall back to their neutral language).
  virtual uint16_t GetUserDefaultUILanguage() const { return 0; }
  // The text in lower case by the user's locale, linguistically
  // (LCMapStringEx with LCMAP_LOWERCASE | LCMAP_LINGUISTIC_CASING), so that
  // a search ignores case in any script; where the platform has no such
  // mapping, Unicode's simple case folding.
  virtual std::string LCMapLowerCase(const std::string& text) const { return SimpleCaseFold(text); }
};

// The bytes of a whole file, held read-only for as long as the object lives.
// A backend may read the file piecewise (partial()): its bytes are then
// there only once loaded, which views made by ViewOf do before each read.
class MappedFile : public ByteSource {
 public:
  virtual std::span<const uint8_t> bytes() const = 0;
  virtual bool partial() const { return false; }
  bool Load(uint64_t offset, uint64_t length) const override {
    (void)offset;
    (void)length;
    return true;
  }
};

// Why a file could not be opened for reading. Every platform reports the
// same reasons, each with the Windows error code whose system text a dialog
// shows (2, 5, 223...), so one bad file reads the same everywhere.
enum class FileFailure {
  NotFound,      // no such file or path
  AccessDenied,  // no permission to read it
  Directory,     // a folder
  NotAFile,      // a pipe, socket or device
  TooLarge,      // past the caller's limit
  ReadFailed,    // opened, but its bytes could not all be read (it shrank, a disk error)
  Empty,         // no bytes at all (the module opener's reason)
  NotAModule,    // does not start as an executable does (the module opener's reason)
};

struct FileError {
  FileFailure reason = FileFailure::NotFound;
  uint32_t code = 0;  // the platform's error code, Windows numbering
  uint64_t size = 0;  // the file's size where it is known
};

// Windows error codes the readers report, whatever the platform.
constexpr uint32_t kErrorFileNotFound = 2;
constexpr uint32_t kErrorPathNotFound = 3;
constexpr uint32_t kErrorAccessDenied = 5;
constexpr uint32_t kErrorInvalidData = 13;
constexpr uint32_t kErrorReadFault = 30;
constexpr uint32_t kErrorHandleEof = 38;
constexpr uint32_t kErrorBadExeFormat = 193;
constexpr uint32_t kErrorFileTooLarge = 223;
constexpr uint32_t kErrorInvalidFunction = 1;

// What the file system says of one file, as FindFirstFile gives it.
struct FileFindData {
  std::string name;  // name and extension as the file system spells them
  uint64_t size = 0;
  uint64_t creationTime = 0;  // FILETIME values: 100 ns ticks since 1601, UTC
  uint64_t lastAccessTime = 0;
  uint64_t lastWriteTime = 0;
  uint32_t attributes = 0;  // FILE_ATTRIBUTE_* bits
};

// The FILE_ATTRIBUTE_* bits the program shows.
enum FileAttributeFlags : uint32_t {
  FILE_ATTRIBUTE_READONLY_ = 0x1,
  FILE_ATTRIBUTE_HIDDEN_ = 0x2,
  FILE_ATTRIBUTE_SYSTEM_ = 0x4,
  FILE_ATTRIBUTE_COMPRESSED_ = 0x800,
};

class IFiles {
 public:
  virtual ~IFiles() = default;
  // The first file that matches the path; nullopt when there is none (a
  // backend that cannot look files up finds none).
  virtual std::optional<FileFindData> FindFile(const std::string& path) const {
    (void)path;
    return std::nullopt;
  }
  // The whole file without copying it where the backend can map it (readers
  // that look at a few pages of large modules stay fast); otherwise read
  // whole. Refuses anything but a regular file; the bytes never change or
  // vanish under the reader, even when the file is cut short meanwhile.
  virtual Result<std::unique_ptr<const MappedFile>, FileError> MapFile(const std::string& path,
                                                                       uint64_t maxBytes) const {
    struct Owned final : MappedFile {
      std::vector<uint8_t> data;
      std::span<const uint8_t> bytes() const override { return data; }
    };
    auto read = ReadFile(path, maxBytes);
    if (!read) {
      if (read.error().code == ReadError::TooMany)
        return FileError{FileFailure::TooLarge, kErrorFileTooLarge, read.error().offset};
      const uint32_t code = GetLastError();
      if (code == kErrorFileNotFound || code == kErrorPathNotFound) return FileError{FileFailure::NotFound, code};
      if (code == kErrorAccessDenied) return FileError{FileFailure::AccessDenied, code};
      return FileError{FileFailure::ReadFailed, code != 0 ? code : kErrorReadFault};
    }
    auto owned = std::make_unique<Owned>();
    owned->data = std::move(read).value();
    return std::unique_ptr<const MappedFile>(std::move(owned));
  }
  // The whole file, refused with ReadError::TooMany past maxBytes and
  // ReadError::Io (offset 0) when it cannot be opened or read.
  virtual Result<std::vector<uint8_t>> ReadFile(const std::string& path, uint64_t maxBytes) const = 0;
  // The full path of the running program's executable.
  virtual std::string GetModuleFileName() const = 0;
  // The last error of the platform after a failed call (errno or GetLastError).
  virtual uint32_t GetLastError() const = 0;
};

class IErrorText {
 public:
  virtual ~IErrorText() = default;
  // The system's message for an error code, as FormatMessage returns it
  // (normally ending in a line break); empty when it has none.
  virtual std::string FormatMessage(uint32_t code) const = 0;
  virtual uint32_t GetLastError() const = 0;
};

// Icon flags of a message box, as the platform numbers them.
enum MessageBoxFlags : uint32_t {
  MB_OK_ = 0x0,
  MB_YESNO_ = 0x4,
  MB_ICONERROR_ = 0x10,
  MB_ICONQUESTION_ = 0x20,
  MB_ICONEXCLAMATION_ = 0x30,
  MB_ICONINFORMATION_ = 0x40,
};
constexpr int IDYES_ = 6;

class IMessageBox {
 public:
  virtual ~IMessageBox() = default;
  // Shows a modal message box and returns the button chosen.
  virtual int MessageBox(const std::string& text, uint32_t flags) = 0;
};

}  // namespace qm
