#include "headers/import_table.h"

#include "headers/export_table.h"

namespace qm {

namespace {

std::string ReadText(const PeImage& image, uint32_t rva, uint64_t skip = 0) {
  auto view = image.RvaToEnd(rva);
  if (!view) return "?";
  auto bytes = ReadZString8(*view, skip, kMaxExportNameLength);
  return bytes ? ModuleText(*bytes) : std::string("?");
}

Result<uint64_t> ReadThunk(const ByteView& view, uint64_t at, bool wide) {
  if (wide) return view.u64(at);
  QM_TRY(narrow, view.u32(at));
  return uint64_t{narrow};
}

// The thunk array of one library: 32-bit entries in PE32, 64-bit in PE32+,
// the top bit marking an import by ordinal; a zero entry ends it.
void ReadThunks(const PeImage& image, ImportedLibrary& library, size_t& budget) {
  const uint32_t start = library.OriginalFirstThunk ? library.OriginalFirstThunk : library.FirstThunk;
  if (start == 0) return;
  auto view = image.RvaToEnd(start);
  if (!view) {
    library.functionsError = view.error();
    return;
  }
  const bool wide = image.isPe32Plus();
  const uint64_t step = wide ? 8 : 4;
  const uint64_t ordinalFlag = wide ? uint64_t{1} << 63 : uint64_t{1} << 31;
  for (size_t i = 0;; ++i) {
    if (i == kMaxImportThunks || budget == 0) {
      library.functionsError = view->error(ReadError::TooMany, 0);
      return;
    }
    const uint64_t at = uint64_t{i} * step;
    auto thunk = ReadThunk(*view, at, wide);
    if (!thunk) {
      library.functionsError = thunk.error();
      return;
    }
    if (*thunk == 0) return;
    ImportedFunction f;
    if (*thunk & ordinalFlag) {
      f.byOrdinal = true;
      f.ordinal = static_cast<uint16_t>(*thunk & 0xFFFF);
    } else {
      // IMAGE_IMPORT_BY_NAME: a 16-bit hint, then the name.
      const auto nameRva = static_cast<uint32_t>(*thunk & 0x7FFFFFFF);
      auto hint = image.RvaView(nameRva, 2);
      f.hint = hint ? hint->get<uint16_t>(0) : 0;
      f.name = ReadText(image, nameRva, 2);
    }
    library.functions.push_back(std::move(f));
    --budget;
  }
}

}  // namespace

Result<ImportTable> ReadImportTable(const PeImage& image, ImportDetail detail) {
  const ImageDataDirectory* entry = image.DirectoryEntry(IMAGE_DIRECTORY_ENTRY_IMPORT);
  if (!entry || entry->VirtualAddress == 0) return image.file().error(ReadError::NotFound, 0);
  QM_TRY(view, image.RvaToEnd(entry->VirtualAddress));
  ImportTable table;
  table.entry = *entry;
  size_t budget = kMaxImportedFunctions;
  for (size_t i = 0;; ++i) {
    const uint64_t at = uint64_t{i} * kImportDescriptorSize;
    if (!view.has(at, kImportDescriptorSize)) {
      // A directory cut off by the end of its section: what was read stands.
      table.descriptorsError = view.error(ReadError::OutOfBounds, at);
      break;
    }
    ImportedLibrary lib;
    lib.OriginalFirstThunk = view.get<uint32_t>(at);
    lib.TimeDateStamp = view.get<uint32_t>(at + 4);
    lib.ForwarderChain = view.get<uint32_t>(at + 8);
    lib.Name = view.get<uint32_t>(at + 12);
    lib.FirstThunk = view.get<uint32_t>(at + 16);
    if (lib.OriginalFirstThunk == 0 && lib.TimeDateStamp == 0 && lib.ForwarderChain == 0 && lib.Name == 0 &&
        lib.FirstThunk == 0)
      break;
    if (i == kMaxImportDescriptors) {
      table.descriptorsError = view.error(ReadError::TooMany, at);
      break;
    }
    lib.name = lib.Name ? ReadText(image, lib.Name) : std::string("?");
    if (detail == ImportDetail::Functions) ReadThunks(image, lib, budget);
    table.libraries.push_back(std::move(lib));
  }
  return table;
}

}  // namespace qm
