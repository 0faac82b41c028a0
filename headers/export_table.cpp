#include "headers/export_table.h"

#include "common/text.h"

namespace qm {

namespace {

constexpr uint32_t kExportDirectorySize = 40;
constexpr uint32_t kNoName = UINT32_MAX;

bool IsValidUtf8(const std::string& text) {
  for (size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    size_t extra = 0;
    if (lead < 0x80) {
      extra = 0;
    } else if (lead >= 0xC2 && lead < 0xE0) {
      extra = 1;
    } else if (lead >= 0xE0 && lead < 0xF0) {
      extra = 2;
    } else if (lead >= 0xF0 && lead < 0xF5) {
      extra = 3;
    } else {
      return false;
    }
    if (extra > text.size() - i - 1) return false;
    for (size_t k = 1; k <= extra; ++k)
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
    i += extra + 1;
  }
  return true;
}

Result<std::string> ReadName(const PeImage& image, uint32_t rva) {
  QM_TRY(view, image.RvaToEnd(rva));
  QM_TRY(bytes, ReadZString8(view, 0, kMaxExportNameLength));
  return ModuleText(bytes);
}

}  // namespace

std::string ModuleText(const std::string& bytes) {
  std::string text = IsValidUtf8(bytes) ? bytes : Latin1ToUtf8(bytes);
  for (char& c : text) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20 || u == 0x7F) c = '?';
  }
  return text;
}

Result<ExportDirectory> ReadExportDirectory(const PeImage& image) {
  const ImageDataDirectory* entry = image.DirectoryEntry(IMAGE_DIRECTORY_ENTRY_EXPORT);
  if (!entry || entry->VirtualAddress == 0) return image.file().error(ReadError::NotFound, 0);
  QM_TRY(view, image.RvaView(entry->VirtualAddress, kExportDirectorySize));
  ExportDirectory d;
  d.entry = *entry;
  d.Characteristics = view.get<uint32_t>(0);
  d.TimeDateStamp = view.get<uint32_t>(4);
  d.MajorVersion = view.get<uint16_t>(8);
  d.MinorVersion = view.get<uint16_t>(10);
  d.Name = view.get<uint32_t>(12);
  d.Base = view.get<uint32_t>(16);
  d.NumberOfFunctions = view.get<uint32_t>(20);
  d.NumberOfNames = view.get<uint32_t>(24);
  d.AddressOfFunctions = view.get<uint32_t>(28);
  d.AddressOfNames = view.get<uint32_t>(32);
  d.AddressOfNameOrdinals = view.get<uint32_t>(36);
  if (d.Name != 0) {
    auto name = ReadName(image, d.Name);
    if (name) d.name = std::move(name).value();
  }
  return d;
}

Result<std::vector<ExportedFunction>> ReadExportedFunctions(const PeImage& image, const ExportDirectory& d,
                                                            std::optional<ParseError>* namesError) {
  std::vector<ExportedFunction> functions;
  if (d.NumberOfFunctions == 0) return functions;
  if (d.NumberOfFunctions > kMaxExportedFunctions) return image.file().error(ReadError::TooMany, d.AddressOfFunctions);
  if (d.NumberOfNames > kMaxExportedNames) return image.file().error(ReadError::TooMany, d.AddressOfNames);

  // The counts are capped above, so these lengths fit in 32 bits.
  QM_TRY(addresses, image.RvaView(d.AddressOfFunctions, 4 * d.NumberOfFunctions));

  // Which names belong to which function index, looked up by the name-ordinal
  // array itself: linkers sort names alphabetically, so the ordinals do not
  // ascend along it.
  ByteView nameRvas, nameOrdinals;
  uint32_t nameCount = d.NumberOfNames;
  if (nameCount > 0) {
    // nameCount is capped at kMaxExportedNames above, so the sizes fit.
    auto rvas = image.RvaView(d.AddressOfNames, 4u * nameCount);
    auto ordinals = image.RvaView(d.AddressOfNameOrdinals, 2u * nameCount);
    if (rvas && ordinals) {
      nameRvas = *rvas;
      nameOrdinals = *ordinals;
    } else {
      const ParseError error = rvas ? ordinals.error() : rvas.error();
      // Damaged names cost the names, not the functions.
      if (!namesError) return error;
      *namesError = error;
      nameCount = 0;
    }
  }
  // Sized only after the arrays were found in the file, so a count cannot
  // ask for more memory than the file backs.
  std::vector<uint32_t> firstName(d.NumberOfFunctions, kNoName);
  std::vector<uint32_t> nextName(nameCount, kNoName);
  std::vector<uint32_t> lastName(d.NumberOfFunctions, kNoName);
  {
    for (uint32_t k = 0; k < nameCount; ++k) {
      const uint16_t index = nameOrdinals.get<uint16_t>(2 * uint64_t{k});
      if (index >= d.NumberOfFunctions) continue;
      if (firstName[index] == kNoName) {
        firstName[index] = k;
      } else {
        nextName[lastName[index]] = k;
      }
      lastName[index] = k;
    }
  }

  const uint64_t dirStart = d.entry.VirtualAddress;
  const uint64_t dirEnd = dirStart + d.entry.Size;
  for (uint32_t i = 0; i < d.NumberOfFunctions; ++i) {
    const uint32_t rva = addresses.get<uint32_t>(4 * uint64_t{i});
    if (rva == 0) continue;  // a gap in the ordinals
    ExportedFunction f;
    f.index = i;
    f.ordinal = uint64_t{d.Base} + i;
    f.rva = rva;
    for (uint32_t k = firstName[i]; k != kNoName; k = nextName[k]) {
      auto name = ReadName(image, nameRvas.get<uint32_t>(4 * uint64_t{k}));
      f.names.push_back(name ? std::move(name).value() : std::string("?"));
    }
    // An address inside the export directory itself (its end included) is
    // the text of a forward target rather than code.
    if (rva >= dirStart && rva <= dirEnd) {
      auto target = ReadName(image, rva);
      f.forwarder = target ? std::move(target).value() : std::string("?");
    }
    functions.push_back(std::move(f));
  }
  return functions;
}

}  // namespace qm
