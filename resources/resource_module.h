#pragma once
// One executable module read as data: every resource it holds, in the order
// the platform enumerates them (type by type as the directory stores them,
// named entries before numbered ones), and the bytes of each. The browser
// and all its pages read through one instance.

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/module_file.h"
#include "headers/pe_image.h"
#include "platform/system.h"
#include "resources/menu_template.h"
#include "resources/resource_directory.h"

namespace qm {

// The platform's error codes the model reports besides the file opener's.
constexpr uint32_t kErrorResourceDataNotFound = 1812;
constexpr uint32_t kErrorResourceTypeNotFound = 1813;
constexpr uint32_t kErrorResourceNameNotFound = 1814;

// One resource: a numeric type or name has its number and an empty string,
// a named one -1 and its text.
struct ResourceEntry {
  int32_t typeId = -1;
  int32_t nameId = -1;
  std::string typeName;
  std::string nameName;

  ResourceName Type() const;
  ResourceName Name() const;
};

class CResourceModule {
 public:
  static constexpr uint64_t kMaxFileBytes = kMaxModuleFileBytes;

  explicit CResourceModule(const IFiles& files) : files_(&files) {}
  CResourceModule(const IFiles& files, const std::string& path);
  CResourceModule(const CResourceModule&) = delete;
  CResourceModule& operator=(const CResourceModule&) = delete;
  // The image's views point into the mapped file, which a move keeps.
  CResourceModule(CResourceModule&&) = default;
  CResourceModule& operator=(CResourceModule&&) = default;

  // Reads the file and its PE headers; false with m_dwLastError set when the
  // file cannot be read or is not a module (GetFileError says why the file
  // itself was refused).
  bool Open(const std::string& path);
  // False (and m_dwLastError 0) when nothing was open.
  bool Close();
  // Lists every resource; false with ERROR_RESOURCE_DATA_NOT_FOUND for a
  // module without resources, ERROR_INVALID_DATA when the root of the
  // directory cannot be read. A damaged type, name or language below the
  // root is left out and noted in GetDamage; the rest is listed.
  bool Enumerate();
  bool Enumerate(const std::string& path);

  std::string GetPath() const { return m_strPath; }
  uint32_t GetLastError() const { return m_dwLastError; }
  // Where reading stopped when the last failure came from the file's bytes.
  const std::optional<ParseError>& GetLastParseError() const { return lastParseError_; }
  const std::optional<FileError>& GetFileError() const { return fileError_; }
  // The parts of the directory the last enumeration left out, in the order
  // met; empty for an intact module.
  const std::vector<ResourceDamage>& GetDamage() const { return directory_.damage(); }
  bool IsOpen() const { return image_.has_value(); }
  // The user's UI language, whose data a resource stored in several
  // languages gives first; 0 (the default) for none. Takes effect at the
  // next enumeration, which also sizes the entries by it.
  void SetUiLanguage(uint16_t language) { uiLanguage_ = language; }

  int GetCount() const { return static_cast<int>(m_entries.size()); }
  // Entries of one type: a number matches typeId, a string matches typeName
  // byte for byte (case-sensitive).
  int GetCount(const ResourceName& type) const;
  // The bytes of all resources (Number(0)) or of one type; wraps like the
  // platform's unsigned 32-bit sum.
  uint32_t GetTotalSize(const ResourceName& type) const;
  uint32_t GetTotalSize() const { return GetTotalSize(ResourceName::Number(0)); }
  int GetTypeCount() const;
  // Out of range: an entry with empty strings (and -1 identifiers).
  ResourceEntry GetEntry(int index) const;
  const std::vector<ResourceEntry>& entries() const { return m_entries; }
  // The size of entry index's data as the platform finds it; 0 out of range.
  uint32_t GetEntrySize(int index) const;

  // The size of a resource, 0 when it is not there.
  uint32_t ReadResource(const ResourceName& type, const ResourceName& name) const;
  // Copies min(size, destination.size()) bytes and returns the full size; 0
  // when the resource is missing or its data lies outside the file.
  uint32_t ReadResource(const ResourceName& type, const ResourceName& name, std::span<uint8_t> destination) const;
  // The bytes of a resource (the preferred language), for the typed readers.
  Result<ByteView> LoadResourceData(const ResourceName& type, const ResourceName& name) const;

  // The sixteen strings of RT_STRING block `block` (absent ones empty).
  bool LoadStringBlock(const ResourceName& block, std::vector<std::string>& strings) const;
  Result<Menu> LoadMenu(const ResourceName& name) const;
  // Strings.rc (resourceScript) or Strings.txt of one block or of every
  // numbered block; false when a block cannot be read or the file not written.
  bool WriteStringTables(const std::optional<ResourceName>& block, const std::string& path, bool resourceScript) const;

  const PeImage* image() const { return image_ ? &*image_ : nullptr; }
  const ResourceDirectory& directory() const { return directory_; }

 private:
  void Fail(uint32_t code, std::optional<ParseError> detail = std::nullopt);

  const IFiles* files_;
  std::string m_strPath;
  std::vector<ResourceEntry> m_entries;
  std::vector<uint32_t> entrySizes_;  // parallel to m_entries
  uint32_t m_dwLastError = 0;
  std::optional<ParseError> lastParseError_;
  std::optional<FileError> fileError_;
  std::unique_ptr<const MappedFile> file_;
  std::optional<PeImage> image_;
  ResourceDirectory directory_;
  uint16_t uiLanguage_ = 0;
};

// "%s bytes (<%s Kb)" style texts: the byte count and floor(n / 1024) + 1,
// both with "." thousands, into a pattern with two %s.
std::string FormatSizeText(std::string_view pattern, uint32_t bytes);

}  // namespace qm
