#include "headers/header_dump.h"

#include "common/text.h"
#include "headers/directory_dump.h"
#include "res/string_ids.h"

namespace qm {

namespace {

// The characteristics bits in the order the dump lists them.
void AddCharacteristicLines(TreeNode& node, uint16_t characteristics) {
  for (unsigned bit = 0; bit < 16; ++bit) {
    const auto mask = static_cast<uint16_t>(1u << bit);
    if (!(characteristics & mask)) continue;
    if (const char* name = CharacteristicName(mask)) node.Add(name, kDumpLeafImage);
  }
}

// The table's signature texts carry "0x%02x [%c%c]"; the arguments are
// formatted here and put in place of each conversion in turn.
std::string DosSignatureText(const std::string& format, uint16_t magic) {
  const std::string args[] = {Format("%02x", magic), SignatureChar(static_cast<uint8_t>(magic & 0xFF)),
                              SignatureChar(static_cast<uint8_t>(magic >> 8))};
  std::string out;
  size_t next = 0;
  for (size_t i = 0; i < format.size(); ++i) {
    if (format[i] == '%' && i + 1 < format.size() && format[i + 1] == '%') {
      out.push_back('%');
      ++i;
      continue;
    }
    if (format[i] != '%' || next == std::size(args)) {
      out.push_back(format[i]);
      continue;
    }
    size_t end = i + 1;
    while (end < format.size() && format[end] >= '0' && format[end] <= '9') ++end;
    if (end < format.size() && (format[end] == 'x' || format[end] == 'c')) {
      out += args[next++];
      i = end;
    } else {
      out.push_back('%');
    }
  }
  return out;
}

std::string MagicLine(const char* label, uint16_t magic) {
  return Format("%s = 0x%02x [", label, magic) + SignatureChar(static_cast<uint8_t>(magic & 0xFF)) +
         SignatureChar(static_cast<uint8_t>(magic >> 8)) + "]";
}

void AddSummary(TreeNode& root, const CModuleLoader& loader, const DumpText& text, std::vector<std::string>& problems) {
  const ImageDosHeader& dos = *loader.GetDosHeader();
  const uint32_t line = dos.e_magic == IMAGE_DOS_SIGNATURE ? IDS_DOS_SIGNATURE_LINE : IDS_UNKNOWN_SIGNATURE_LINE;
  root.Add(DosSignatureText(text.strings.LoadString(line), dos.e_magic), kDumpLeafImage);
  const PeImage* pe = loader.GetNtHeaders();
  if (!pe) return;
  root.Add(text.strings.LoadString(IDS_NT_SIGNATURE_LINE) + FormatSignature(IMAGE_NT_SIGNATURE), kDumpLeafImage);
  root.Add(text.strings.LoadString(IDS_MACHINE_LINE) + MachineName(pe->fileHeader().Machine), kDumpLeafImage);
  root.Add(text.strings.LoadString(IDS_SUBSYSTEM_LINE) + SubsystemName(pe->optionalHeader().Subsystem), kDumpLeafImage);
  if (pe->fileHeader().Characteristics != 0) {
    TreeNode& node = root.Add(text.strings.LoadString(IDS_MODULE_CHARACTERISTICS), kDumpNodeImage);
    AddCharacteristicLines(node, pe->fileHeader().Characteristics);
  }
  AddExportDirectory(root, loader, false, text, problems);
  AddImportDirectory(root, loader, false, text, problems);
}

void AddMappingRecord(TreeNode& root, const LoadedImage& image, const DumpText& text) {
  TreeNode& node = root.Add("LOADED_IMAGE", kDumpNodeImage);
  auto leaf = [&](std::string line) { node.Add(std::move(line), kDumpLeafImage); };
  leaf("hFile = " + FormatAddress(reinterpret_cast<const void*>(image.hFile)));
  leaf("MappedAddress = " + FormatAddress(image.MappedAddress));
  leaf("FileHeader = " + FormatAddress(image.FileHeader));
  leaf("LastRvaSection = " + FormatAddress(image.LastRvaSection));
  leaf("Sections = " + FormatAddress(image.Sections));
  leaf(Format("NumberOfSections = %u", image.NumberOfSections));
  leaf("Characteristics = " + FormatValue(image.Characteristics));
  leaf("fSystemImage = " + FormatBool(text, image.fSystemImage));
  leaf("fDOSImage = " + FormatBool(text, image.fDOSImage));
  leaf(Format("SizeOfImage = %u", image.SizeOfImage));
  TreeNode& links = node.Add("Links (LIST_ENTRY)", kDumpNodeImage);
  links.Add("Blink = " + FormatAddressSigned(image.Links.Blink), kDumpLeafImage);
  links.Add("Flink = " + FormatAddressSigned(image.Links.Flink), kDumpLeafImage);
}

void AddDosHeader(TreeNode& root, const ImageDosHeader& h) {
  TreeNode& node = root.Add("IMAGE_DOS_HEADER", kDumpNodeImage);
  node.Add(MagicLine("e_magic (magic number)", h.e_magic), kDumpLeafImage);
  if (h.e_magic != IMAGE_DOS_SIGNATURE) return;
  auto word = [&](const char* label, uint16_t value) { node.Add(Format("%s = %hu", label, value), kDumpLeafImage); };
  word("e_cp (pages in file)", h.e_cp);
  word("e_cblp (bytes on last page of file)", h.e_cblp);
  word("e_crlc (relocations)", h.e_crlc);
  word("e_cparhdr (size of header in paragraphs)", h.e_cparhdr);
  word("e_minalloc (minimum extra paragraphs needed)", h.e_minalloc);
  word("e_maxalloc (maximum extra paragraphs needed)", h.e_maxalloc);
  word("e_csum (checksum)", h.e_csum);
  word("e_ss (initial SS value)", h.e_ss);
  word("e_sp (initial SP value)", h.e_sp);
  word("e_ip (initial IP value)", h.e_ip);
  word("e_cs (initial CS value)", h.e_cs);
  word("e_lfarlc (file address of relocation table)", h.e_lfarlc);
  TreeNode& res = node.Add("e_res[4] (reserved words)", kDumpNodeImage);
  for (size_t i = 0; i < h.e_res.size(); ++i)
    res.Add(Format("e_res[%d] = [0x%04x] %d", static_cast<int>(i), h.e_res[i], h.e_res[i]), kDumpLeafImage);
  word("e_ovno (overlay number)", h.e_ovno);
  // The missing blank before "=" is how this line has always read.
  node.Add(Format("e_oemid (OEM identifier for e_oeminfo)= %hu", h.e_oemid), kDumpLeafImage);
  word("e_oeminfo (OEM information; e_oemid specific)", h.e_oeminfo);
  TreeNode& res2 = node.Add("e_res2[10] (reserved words)", kDumpNodeImage);
  for (size_t i = 0; i < h.e_res2.size(); ++i)
    res2.Add(Format("e_res2[%d] = [0x%04x] %d", static_cast<int>(i), h.e_res2[i], h.e_res2[i]), kDumpLeafImage);
  node.Add(Format("e_lfanew (file address of new exe header) = %d", static_cast<int32_t>(h.e_lfanew)), kDumpLeafImage);
}

void AddFileHeader(TreeNode& nt, const ImageFileHeader& f, const DumpText& text) {
  TreeNode& node = nt.Add("FileHeader (IMAGE_FILE_HEADER)", kDumpNodeImage);
  auto leaf = [&](std::string line) { node.Add(std::move(line), kDumpLeafImage); };
  leaf(Format("Machine = 0x%04x (%s)", f.Machine, MachineName(f.Machine).c_str()));
  leaf(Format("NumberOfSections = %hu", f.NumberOfSections));
  leaf(Format("TimeDateStamp = [%s] %s", FormatValue(f.TimeDateStamp).c_str(),
              FormatTimeStamp(text, f.TimeDateStamp).c_str()));
  leaf(Format("NumberOfSymbols = %u", f.NumberOfSymbols));
  leaf(Format("SizeOfOptionalHeader = %hu", f.SizeOfOptionalHeader));
  TreeNode& flags = node.Add(Format("Characteristics = 0x%04x", f.Characteristics),
                             f.Characteristics ? kDumpNodeImage : kDumpLeafImage);
  AddCharacteristicLines(flags, f.Characteristics);
}

std::string MagicSuffix(uint16_t magic) {
  if (magic == 0x107) return ": ROM image";
  if (magic == IMAGE_NT_OPTIONAL_HDR32_MAGIC) return ": Normal executable file";
  return "";
}

std::string DllCharacteristicsSuffix(uint16_t value) {
  if (value == 0x1 || value == 0x2 || value == 0x4 || value == 0x8) return ": Reserved";
  if (value == 0x2000) return ": Driver is a WDM Driver";
  return "";
}

void AddOptionalHeader(TreeNode& nt, const PeImage& pe, const CModuleLoader& loader, const DumpText& text,
                       std::vector<std::string>& problems) {
  const ImageOptionalHeader& o = pe.optionalHeader();
  const bool wide = pe.isPe32Plus();
  // PE32 keeps its 32-bit fields' formats; PE32+ shows the widened ones whole.
  auto sized = [wide](uint64_t value) {
    return wide ? Format("%llu", static_cast<unsigned long long>(value)) : Format("%u", static_cast<uint32_t>(value));
  };
  auto signedSized = [wide](uint64_t value) {
    return wide ? FormatSigned64(value) : FormatSigned(static_cast<uint32_t>(value));
  };

  // The label names the 64-bit record for both layouts, as it always has.
  TreeNode& node = nt.Add("OptionalHeader (IMAGE_OPTIONAL_HEADER64)", kDumpNodeImage);
  TreeNode& standard = node.Add("Standard fields", kDumpNodeImage);
  auto std_leaf = [&](std::string line) { standard.Add(std::move(line), kDumpLeafImage); };
  std_leaf(Format("Magic = 0x%04x", o.Magic) + MagicSuffix(o.Magic));
  std_leaf(Format("MajorLinkerVersion = 0x%02x", o.MajorLinkerVersion));
  std_leaf(Format("MinorLinkerVersion = 0x%02x", o.MinorLinkerVersion));
  std_leaf(Format("SizeOfCode = %u", o.SizeOfCode));
  std_leaf(Format("SizeOfInitializedData = %u", o.SizeOfInitializedData));
  std_leaf(Format("SizeOfUninitializedData = %u", o.SizeOfUninitializedData));
  std_leaf("AddressOfEntryPoint = " + FormatValue(o.AddressOfEntryPoint));
  std_leaf("BaseOfCode = " + FormatValue(o.BaseOfCode));
  if (o.hasBaseOfData) std_leaf("BaseOfData = " + FormatValue(o.BaseOfData));

  TreeNode& nt_fields = node.Add("NT additional fields", kDumpNodeImage);
  auto leaf = [&](std::string line) { nt_fields.Add(std::move(line), kDumpLeafImage); };
  leaf("ImageBase = " + signedSized(o.ImageBase));
  leaf("SectionAlignment = " + FormatSigned(o.SectionAlignment));
  leaf("FileAlignment = " + FormatSigned(o.FileAlignment));
  leaf(Format("MajorOperatingSystemVersion = 0x%04x", o.MajorOperatingSystemVersion));
  leaf(Format("MinorOperatingSystemVersion = 0x%04x", o.MinorOperatingSystemVersion));
  leaf(Format("MajorImageVersion = 0x%04x", o.MajorImageVersion));
  leaf(Format("MinorImageVersion = 0x%04x", o.MinorImageVersion));
  leaf(Format("MajorSubsystemVersion = 0x%04x", o.MajorSubsystemVersion));
  leaf(Format("MinorSubsystemVersion = 0x%04x", o.MinorSubsystemVersion));
  leaf(Format("Win32VersionValue = 0x%08x", o.Win32VersionValue));
  leaf(Format("SizeOfImage = %u", o.SizeOfImage));
  leaf(Format("SizeOfHeaders = %u", o.SizeOfHeaders));
  leaf("CheckSum = " + FormatSigned(o.CheckSum));
  leaf(Format("Subsystem = 0x%02x: %s", o.Subsystem, SubsystemName(o.Subsystem).c_str()));
  leaf(Format("DllCharacteristics = 0x%02x", o.DllCharacteristics) + DllCharacteristicsSuffix(o.DllCharacteristics));
  leaf("SizeOfStackReserve = " + sized(o.SizeOfStackReserve));
  leaf("SizeOfStackCommit = " + sized(o.SizeOfStackCommit));
  leaf("SizeOfHeapReserve = " + sized(o.SizeOfHeapReserve));
  leaf("SizeOfHeapCommit = " + sized(o.SizeOfHeapCommit));
  leaf("LoaderFlags = " + FormatSigned(o.LoaderFlags));
  leaf(Format("NumberOfRvaAndSizes = %u", o.NumberOfRvaAndSizes));

  TreeNode& directories = node.Add("DataDirectory[] (IMAGE_DATA_DIRECTORY)", kDumpNodeImage);
  AddExportDirectory(directories, loader, true, text, problems);
  AddImportDirectory(directories, loader, true, text, problems);
}

void AddComplete(TreeNode& root, const CModuleLoader& loader, const DumpText& text,
                 std::vector<std::string>& problems) {
  AddMappingRecord(root, *loader.GetImage(), text);
  AddDosHeader(root, *loader.GetDosHeader());
  const PeImage* pe = loader.GetNtHeaders();
  if (!pe) return;
  TreeNode& nt = root.Add("IMAGE_NT_HEADERS", kDumpNodeImage);
  nt.Add("Signature = " + FormatSignature(IMAGE_NT_SIGNATURE), kDumpLeafImage);
  AddFileHeader(nt, pe->fileHeader(), text);
  AddOptionalHeader(nt, *pe, loader, text, problems);
}

}  // namespace

HeaderDump BuildHeaderDump(const CModuleLoader& loader, bool complete, const DumpText& text) {
  HeaderDump dump;
  const LoadedImage* image = loader.GetImage();
  if (!image) return dump;
  dump.root = TreeNode{image->ModuleName, kDumpNodeImage, {}, {}};
  if (complete) {
    AddComplete(dump.root, loader, text, dump.problems);
  } else {
    AddSummary(dump.root, loader, text, dump.problems);
  }
  return dump;
}

}  // namespace qm
