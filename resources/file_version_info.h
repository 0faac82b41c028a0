#pragma once
// The version information of one module file as ready-to-show texts,
// addressed by VersionField. The block is read from the file's bytes (its
// RT_VERSION resource) and parsed here, so every platform gives the same
// answers; the platform only names languages and turns the file date into
// text.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/module_file.h"
#include "platform/platform.h"
#include "resources/version_block.h"

namespace qm {

enum class VersionField : int {
  ProductName = 0,
  ProductVersion = 1,
  InternalName = 2,
  OriginalFilename = 3,
  FileDescription = 4,
  FileVersion = 5,
  Comments = 6,
  CompanyName = 7,
  LegalCopyright = 8,
  LegalTrademarks = 9,
  PrivateBuild = 10,
  SpecialBuild = 11,
  FixedFileVersion = 20,
  FixedProductVersion = 21,
  FixedFileFlagsMask = 22,
  FixedFileFlags = 23,
  FixedFileOS = 24,
  FixedFileType = 25,
  FixedFileSubtype = 26,
  FixedFileDate = 27,
};

// Why the last Open returned false; the reader itself never reports it, the
// command line does.
enum class VersionOpenFailure {
  None,
  CannotRead,         // the file cannot be opened or read (GetFileError says why)
  TooLarge,           // past kMaxModuleBytes
  NotAModule,         // empty, no MZ signature or no PE headers
  BadResources,       // the resource directory is damaged
  NoVersionResource,  // no RT_VERSION resource
  DamagedBlock,       // the block's root cannot be read (or is the 16-bit form)
  NoTranslation,      // no usable "\\VarFileInfo\\Translation" entry
};

// The RT_VERSION resource of a module's bytes (name 1, else the first name
// of the type), parsed. failure receives the reason when there is none.
Result<VersionBlock> LoadVersionBlock(ByteView file, VersionOpenFailure* failure = nullptr);

// The names of the fixed part's codes; unknown values as "VOS_UNKNOWN
// [0x%08x]", "VFT_UNKNOWN [0x%08x]" and "VFT2_UNKNOWN [0x%08x]".
std::string FileOsName(uint32_t dwFileOS);
std::string FileTypeName(uint32_t dwFileType);
std::string FileSubtypeName(uint32_t dwFileType, uint32_t dwFileSubtype);

class CFileVersionInfo {
 public:
  // The limit every module reader shares.
  static constexpr uint64_t kMaxModuleBytes = kMaxModuleFileBytes;

  // An empty path reads the program's own executable.
  explicit CFileVersionInfo(const Platform& platform, const std::string& path = {});
  virtual ~CFileVersionInfo();
  CFileVersionInfo(const CFileVersionInfo&) = delete;
  CFileVersionInfo& operator=(const CFileVersionInfo&) = delete;

  // Reads the block of a file and selects its first translation. A failed
  // Open drops the previous file's block (its fields would otherwise be
  // shown for this file) but, like a failed SelectTranslation, leaves the
  // current translation as it was.
  bool Open(const std::string& path);
  // Makes entry n of the translation table current.
  bool SelectTranslation(int n);
  uint32_t GetTranslation() const { return m_dwTranslation; }
  // The platform's name of the current translation's language.
  std::string GetLanguageName() const;
  // The value of a key in the current translation's string table, or empty.
  std::string GetString(std::string_view key) const;
  // The text of a field (0 to 11, 20 to 27); empty for any other index,
  // while no block is loaded or no translation is selected.
  std::string GetField(int index) const;
  std::string GetField(VersionField field) const { return GetField(static_cast<int>(field)); }

  const std::string& GetPath() const { return m_strPath; }
  VersionOpenFailure GetOpenFailure() const { return m_failure; }
  // Where in the file or block reading stopped, for the failures that have one.
  const ParseError& GetOpenError() const { return m_error; }
  // Why the file itself was refused, when it was.
  const std::optional<FileError>& GetFileError() const { return m_fileError; }

 private:
  bool Fail(VersionOpenFailure failure, const ParseError& error);

  const Platform& m_platform;
  std::string m_strPath;
  uint32_t m_dwTranslation = 0;
  std::unique_ptr<VersionBlock> m_pBlock;
  VersionOpenFailure m_failure = VersionOpenFailure::None;
  ParseError m_error{};
  std::optional<FileError> m_fileError;
};

}  // namespace qm
