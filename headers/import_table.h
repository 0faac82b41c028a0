#pragma once
// The import directory of a module: one record per imported library with its
// descriptor fields and the functions it asks for, by name or by ordinal.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "headers/pe_image.h"

namespace qm {

struct ImportedFunction {
  bool byOrdinal = false;
  uint16_t ordinal = 0;  // when byOrdinal
  uint16_t hint = 0;     // when imported by name
  std::string name;      // when imported by name; "?" when unreadable
};

struct ImportedLibrary {
  uint32_t OriginalFirstThunk = 0, TimeDateStamp = 0, ForwarderChain = 0, Name = 0, FirstThunk = 0;
  std::string name;  // "?" when the Name RVA cannot be read
  std::vector<ImportedFunction> functions;
  // Set when the thunk array could not be read to its end; functions holds
  // those before the fault.
  std::optional<ParseError> functionsError;
};

struct ImportTable {
  ImageDataDirectory entry{};
  std::vector<ImportedLibrary> libraries;
  // Set when the descriptors ran past the data before their terminator;
  // libraries holds those before the fault.
  std::optional<ParseError> descriptorsError;
};

// Caps: no real module imports from thousands of libraries or 65536
// functions of one library.
constexpr size_t kMaxImportDescriptors = 4096;
constexpr size_t kMaxImportThunks = 65536;
// Descriptors may share one thunk array, so the whole table has its own cap.
constexpr size_t kMaxImportedFunctions = size_t{1} << 20;
constexpr size_t kImportDescriptorSize = 20;

enum class ImportDetail { Libraries, Functions };

// Descriptors up to the all-zero terminator (at most kMaxImportDescriptors),
// with each library's functions when asked; NotFound without an import
// directory.
Result<ImportTable> ReadImportTable(const PeImage& image, ImportDetail detail = ImportDetail::Functions);

}  // namespace qm
