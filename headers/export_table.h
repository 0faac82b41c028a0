#pragma once
// The export directory of a module: the directory record and the exported
// functions with their ordinals, names and forward targets.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "headers/pe_image.h"

namespace qm {

struct ExportDirectory {
  ImageDataDirectory entry{};  // where the data directory says it lies
  uint32_t Characteristics = 0, TimeDateStamp = 0;
  uint16_t MajorVersion = 0, MinorVersion = 0;
  uint32_t Name = 0, Base = 0, NumberOfFunctions = 0, NumberOfNames = 0;
  uint32_t AddressOfFunctions = 0, AddressOfNames = 0, AddressOfNameOrdinals = 0;
  // The module's own name, nullopt when the Name RVA is 0 or unreadable.
  std::optional<std::string> name;
};

struct ExportedFunction {
  uint32_t index = 0;    // in the function address array
  uint64_t ordinal = 0;  // Base + index, never wrapped
  uint32_t rva = 0;
  // Every name whose name-ordinal is this index, in the order of the name
  // array (alphabetical in linkers' output); empty for an export by ordinal.
  std::vector<std::string> names;
  std::optional<std::string> forwarder;  // "DLL.Function" for a forwarded export
};

// Counts past these are refused: no module has more than 65536 ordinals, so
// four times that leaves room for odd linkers without reading gigabytes.
constexpr uint32_t kMaxExportedFunctions = 65536 * 4;
constexpr uint32_t kMaxExportedNames = 65536 * 4;
// Names and forward targets longer than this are refused.
constexpr size_t kMaxExportNameLength = 4096;

// The directory record; NotFound when the module has no export directory.
Result<ExportDirectory> ReadExportDirectory(const PeImage& image);

// The functions with a non-zero RVA in index order. Names whose name-ordinal
// points past the function array are dropped. When the name arrays cannot
// be read and namesError is given, the functions are still listed (by
// ordinal) and namesError says what was wrong; without it that fails.
Result<std::vector<ExportedFunction>> ReadExportedFunctions(const PeImage& image, const ExportDirectory& directory,
                                                            std::optional<ParseError>* namesError = nullptr);

// An 8-bit name from a module as UTF-8 text: kept when it is valid UTF-8,
// read as Latin-1 otherwise; control characters become '?' so a name stays
// on one line.
std::string ModuleText(const std::string& bytes);

}  // namespace qm
