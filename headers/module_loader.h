#pragma once
// A module file held in memory (mapped read-only where the platform can) and
// its PE headers located, with a
// record laid out like the platform's image-help mapping record so the
// header dump can show the same fields. Nothing is mapped or executed; every
// view into the bytes is bounds-checked through PeImage and ByteView.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/byte_reader.h"
#include "platform/module_file.h"
#include "headers/pe_image.h"
#include "platform/system.h"

namespace qm {

// The platform's doubly linked list head; an empty list points at itself.
struct ListEntry {
  const ListEntry* Flink = nullptr;
  const ListEntry* Blink = nullptr;
};

// The fields of the platform's LOADED_IMAGE, filled from our own copy of the
// file: addresses are those of the bytes in memory.
struct LoadedImage {
  std::string ModuleName;
  uintptr_t hFile = 0;  // 0: the file is closed once its bytes are held
  const uint8_t* MappedAddress = nullptr;
  const uint8_t* FileHeader = nullptr;  // the NT headers; null for a DOS image
  const uint8_t* LastRvaSection = nullptr;
  uint32_t NumberOfSections = 0;
  const uint8_t* Sections = nullptr;
  uint32_t Characteristics = 0;
  bool fSystemImage = false;
  bool fDOSImage = false;
  bool fReadOnly = true;
  ListEntry Links;
  uint32_t SizeOfImage = 0;  // the file's size
};

class CModuleLoader {
 public:
  static constexpr uint64_t kMaxFileBytes = kMaxModuleFileBytes;

  explicit CModuleLoader(const IFiles& files) : files_(files) {}
  // The record points into itself (Links), so the loader stays where it is.
  CModuleLoader(const CModuleLoader&) = delete;
  CModuleLoader& operator=(const CModuleLoader&) = delete;
  ~CModuleLoader() { Unload(); }

  // Reads the module at path (or at the path of the last load when none is
  // given). False when the file cannot be read or is not a module; then
  // GetLoadError holds the platform's error code (0 when the file was read
  // but its headers are wrong), GetFileError why the file was refused and
  // GetParseError where its headers went wrong.
  bool Load(std::optional<std::string> path = std::nullopt);
  void Unload();

  bool IsLoaded() const { return loaded_; }
  const std::string& GetFileName() const { return fileName_; }
  uint32_t GetLoadError() const { return lastError_; }
  const ParseError& GetParseError() const { return parseError_; }
  const std::optional<FileError>& GetFileError() const { return fileError_; }

  // Null while nothing is loaded.
  const LoadedImage* GetImage() const { return loaded_ ? &image_ : nullptr; }
  const ImageDosHeader* GetDosHeader() const { return loaded_ ? &dos_ : nullptr; }
  // Null for a DOS image (no NT headers) or while nothing is loaded.
  const PeImage* GetNtHeaders() const { return loaded_ && pe_ ? &*pe_ : nullptr; }
  const ByteView& GetFileBytes() const { return view_; }

  // The data directory entry at index, null without NT headers or past the
  // directories the optional header holds.
  const ImageDataDirectory* GetDirectoryEntry(unsigned index) const;
  // The bytes from a directory's start to the end of its section in the
  // file; NotFound when the entry is missing or its address is 0.
  Result<ByteView> GetDirectoryData(unsigned index) const;
  // The bytes from an RVA to the end of its section in the file.
  Result<ByteView> RvaToPointer(uint32_t rva) const;

 private:
  bool Fail(uint32_t platformError, ParseError error);

  const IFiles& files_;
  uint32_t lastError_ = 0;
  ParseError parseError_{};
  std::optional<FileError> fileError_;
  std::string fileName_;
  bool loaded_ = false;
  std::unique_ptr<const MappedFile> file_;
  ByteView view_;
  ImageDosHeader dos_{};
  std::optional<PeImage> pe_;
  LoadedImage image_;
};

}  // namespace qm
