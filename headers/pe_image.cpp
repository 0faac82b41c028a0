#include "headers/pe_image.h"

#include <algorithm>

namespace qm {

Result<ImageDosHeader> PeImage::ReadDosHeader(const ByteView& file) {
  if (!file.has(0, 64)) return file.error(ReadError::OutOfBounds, 0);
  ImageDosHeader h{};
  h.e_magic = file.get<uint16_t>(0);
  uint16_t* words[] = {&h.e_cblp, &h.e_cp,   &h.e_crlc, &h.e_cparhdr, &h.e_minalloc, &h.e_maxalloc, &h.e_ss,
                       &h.e_sp,   &h.e_csum, &h.e_ip,   &h.e_cs,      &h.e_lfarlc,   &h.e_ovno};
  uint64_t at = 2;
  for (uint16_t* w : words) {
    *w = file.get<uint16_t>(at);
    at += 2;
  }
  for (auto& w : h.e_res) {
    w = file.get<uint16_t>(at);
    at += 2;
  }
  h.e_oemid = file.get<uint16_t>(at);
  h.e_oeminfo = file.get<uint16_t>(at + 2);
  at += 4;
  for (auto& w : h.e_res2) {
    w = file.get<uint16_t>(at);
    at += 2;
  }
  h.e_lfanew = file.get<uint32_t>(0x3C);
  return h;
}

namespace {

constexpr uint64_t kFileHeaderBytes = 20;
constexpr uint64_t kSectionHeaderBytes = 40;

// The "PE\0\0" that e_lfanew points at.
Result<bool> ReadNtSignature(const ByteView& file, uint64_t nt) {
  QM_TRY(signature, file.u32(nt));
  if (signature != IMAGE_NT_SIGNATURE) return file.error(ReadError::BadSignature, nt);
  return true;
}

Result<ImageFileHeader> ReadFileHeader(const ByteView& file, uint64_t fh) {
  if (!file.has(fh, kFileHeaderBytes)) return file.error(ReadError::OutOfBounds, fh);
  ImageFileHeader f{};
  f.Machine = file.get<uint16_t>(fh);
  f.NumberOfSections = file.get<uint16_t>(fh + 2);
  f.TimeDateStamp = file.get<uint32_t>(fh + 4);
  f.PointerToSymbolTable = file.get<uint32_t>(fh + 8);
  f.NumberOfSymbols = file.get<uint32_t>(fh + 12);
  f.SizeOfOptionalHeader = file.get<uint16_t>(fh + 16);
  f.Characteristics = file.get<uint16_t>(fh + 18);
  return f;
}

// The optional header's fields before the data directories (checked to be
// there); returns where the directories start.
uint64_t ReadOptionalFixedPart(const ByteView& file, uint64_t oh, bool plus, ImageOptionalHeader& o) {
  o.MajorLinkerVersion = file.get<uint8_t>(oh + 2);
  o.MinorLinkerVersion = file.get<uint8_t>(oh + 3);
  o.SizeOfCode = file.get<uint32_t>(oh + 4);
  o.SizeOfInitializedData = file.get<uint32_t>(oh + 8);
  o.SizeOfUninitializedData = file.get<uint32_t>(oh + 12);
  o.AddressOfEntryPoint = file.get<uint32_t>(oh + 16);
  o.BaseOfCode = file.get<uint32_t>(oh + 20);
  o.hasBaseOfData = !plus;
  o.BaseOfData = plus ? 0 : file.get<uint32_t>(oh + 24);
  o.ImageBase = plus ? file.get<uint64_t>(oh + 24) : file.get<uint32_t>(oh + 28);
  o.SectionAlignment = file.get<uint32_t>(oh + 32);
  o.FileAlignment = file.get<uint32_t>(oh + 36);
  o.MajorOperatingSystemVersion = file.get<uint16_t>(oh + 40);
  o.MinorOperatingSystemVersion = file.get<uint16_t>(oh + 42);
  o.MajorImageVersion = file.get<uint16_t>(oh + 44);
  o.MinorImageVersion = file.get<uint16_t>(oh + 46);
  o.MajorSubsystemVersion = file.get<uint16_t>(oh + 48);
  o.MinorSubsystemVersion = file.get<uint16_t>(oh + 50);
  o.Win32VersionValue = file.get<uint32_t>(oh + 52);
  o.SizeOfImage = file.get<uint32_t>(oh + 56);
  o.SizeOfHeaders = file.get<uint32_t>(oh + 60);
  o.CheckSum = file.get<uint32_t>(oh + 64);
  o.Subsystem = file.get<uint16_t>(oh + 68);
  o.DllCharacteristics = file.get<uint16_t>(oh + 70);
  uint64_t at = oh + 72;
  // The stack and heap sizes are 8 bytes wide in PE32+, 4 in PE32.
  auto wide = [&](uint64_t& out) {
    out = plus ? file.get<uint64_t>(at) : file.get<uint32_t>(at);
    at += plus ? 8 : 4;
  };
  wide(o.SizeOfStackReserve);
  wide(o.SizeOfStackCommit);
  wide(o.SizeOfHeapReserve);
  wide(o.SizeOfHeapCommit);
  o.LoaderFlags = file.get<uint32_t>(at);
  o.NumberOfRvaAndSizes = file.get<uint32_t>(at + 4);
  return at + 8;
}

// Directories past the optional header's stated size (room), or past 16,
// are not there and read as zero.
Result<bool> ReadDataDirectories(const ByteView& file, uint64_t at, uint64_t room, ImageOptionalHeader& o) {
  const uint64_t dirs = std::min<uint64_t>({o.NumberOfRvaAndSizes, IMAGE_NUMBEROF_DIRECTORY_ENTRIES, room});
  if (!file.has(at, dirs * 8)) return file.error(ReadError::OutOfBounds, at);
  for (uint64_t i = 0; i < IMAGE_NUMBEROF_DIRECTORY_ENTRIES; ++i) {
    o.DataDirectory[static_cast<size_t>(i)] =
        i < dirs ? ImageDataDirectory{file.get<uint32_t>(at + 8 * i), file.get<uint32_t>(at + 8 * i + 4)}
                 : ImageDataDirectory{0, 0};
  }
  return true;
}

// The optional header that follows the file header at fh, with its data
// directories.
Result<ImageOptionalHeader> ReadOptionalHeader(const ByteView& file, uint64_t fh, const ImageFileHeader& f) {
  const uint64_t oh = fh + kFileHeaderBytes;
  QM_TRY(magic, file.u16(oh));
  ImageOptionalHeader o{};
  o.Magic = magic;
  const bool plus = magic == IMAGE_NT_OPTIONAL_HDR64_MAGIC;
  if (!plus && magic != IMAGE_NT_OPTIONAL_HDR32_MAGIC) return file.error(ReadError::BadSignature, oh);
  // The fixed part: 96 bytes (PE32) or 112 (PE32+) before the directories.
  const uint64_t fixed = plus ? 112 : 96;
  if (f.SizeOfOptionalHeader < fixed) return file.error(ReadError::BadValue, fh + 16);
  if (!file.has(oh, fixed)) return file.error(ReadError::OutOfBounds, oh);
  const uint64_t directories = ReadOptionalFixedPart(file, oh, plus, o);
  if (auto read = ReadDataDirectories(file, directories, (f.SizeOfOptionalHeader - fixed) / 8, o); !read)
    return read.error();
  return o;
}

ImageSectionHeader ReadSectionHeader(const ByteView& file, uint64_t s) {
  ImageSectionHeader sec{};
  for (uint64_t k = 0; k < 8; ++k) {
    char c = static_cast<char>(file.get<uint8_t>(s + k));
    if (c == 0) break;
    sec.Name.push_back(c);
  }
  sec.VirtualSize = file.get<uint32_t>(s + 8);
  sec.VirtualAddress = file.get<uint32_t>(s + 12);
  sec.SizeOfRawData = file.get<uint32_t>(s + 16);
  sec.PointerToRawData = file.get<uint32_t>(s + 20);
  sec.PointerToRelocations = file.get<uint32_t>(s + 24);
  sec.PointerToLinenumbers = file.get<uint32_t>(s + 28);
  sec.NumberOfRelocations = file.get<uint16_t>(s + 32);
  sec.NumberOfLinenumbers = file.get<uint16_t>(s + 34);
  sec.Characteristics = file.get<uint32_t>(s + 36);
  return sec;
}

// The section table at st; a count past the cap is refused at the file
// header's count field (fh + 2).
Result<std::vector<ImageSectionHeader>> ReadSectionTable(const ByteView& file, uint64_t st, uint64_t fh, uint16_t count,
                                                         size_t maxSections) {
  if (count > maxSections) return file.error(ReadError::TooMany, fh + 2);
  if (!file.has(st, kSectionHeaderBytes * count)) return file.error(ReadError::OutOfBounds, st);
  std::vector<ImageSectionHeader> sections;
  sections.reserve(count);
  for (uint64_t i = 0; i < count; ++i) sections.push_back(ReadSectionHeader(file, st + kSectionHeaderBytes * i));
  return sections;
}

}  // namespace

Result<PeImage> PeImage::Parse(ByteView file, DosSignature dosSignature) {
  PeImage image;
  image.file_ = file;
  QM_TRY(dos, ReadDosHeader(file));
  if (dosSignature == DosSignature::Required && dos.e_magic != IMAGE_DOS_SIGNATURE)
    return file.error(ReadError::BadSignature, 0);
  image.dos_ = dos;

  const uint64_t nt = dos.e_lfanew;
  if (auto signature = ReadNtSignature(file, nt); !signature) return signature.error();
  const uint64_t fh = nt + 4;
  QM_TRY(fileHeader, ReadFileHeader(file, fh));
  image.fileHeader_ = fileHeader;
  QM_TRY(optional, ReadOptionalHeader(file, fh, fileHeader));
  image.optional_ = optional;

  image.sectionTableOffset_ = fh + kFileHeaderBytes + fileHeader.SizeOfOptionalHeader;
  QM_TRY(sections, ReadSectionTable(file, image.sectionTableOffset_, fh, fileHeader.NumberOfSections, kMaxSections));
  image.sections_ = std::move(sections);
  return image;
}

Result<PeImage::Span> PeImage::Locate(uint32_t rva) const {
  for (const auto& s : sections_) {
    const uint64_t start = s.VirtualAddress;
    const uint64_t extent = std::max(s.VirtualSize, s.SizeOfRawData);
    if (rva < start || rva >= start + extent) continue;
    const uint64_t delta = rva - start;
    if (delta >= s.SizeOfRawData) break;  // in memory only (zero-filled), not in the file
    const uint64_t offset = uint64_t{s.PointerToRawData} + delta;
    if (offset >= file_.size()) break;
    const uint64_t inSection = uint64_t{s.SizeOfRawData} - delta;
    return Span{offset, std::min<uint64_t>(inSection, file_.size() - offset)};
  }
  // The headers are mapped at RVA 0 as they stand in the file.
  if (rva < optional_.SizeOfHeaders && rva < file_.size()) {
    const uint64_t end = std::min<uint64_t>(optional_.SizeOfHeaders, file_.size());
    return Span{rva, end - rva};
  }
  return file_.error(ReadError::OutOfBounds, rva);
}

Result<uint64_t> PeImage::RvaToOffset(uint32_t rva, uint32_t length) const {
  QM_TRY(span, Locate(rva));
  if (length > span.available) return file_.error(ReadError::OutOfBounds, span.offset);
  return span.offset;
}

Result<ByteView> PeImage::RvaView(uint32_t rva, uint32_t length) const {
  QM_TRY(offset, RvaToOffset(rva, length));
  return file_.sub(offset, length);
}

Result<ByteView> PeImage::RvaToEnd(uint32_t rva) const {
  QM_TRY(span, Locate(rva));
  // Readers walk it a few bytes at a time (a resource tree, a name): what
  // they touch is read, not the rest of the section.
  return file_.window(span.offset, span.available);
}

const ImageDataDirectory* PeImage::DirectoryEntry(unsigned index) const {
  if (index >= IMAGE_NUMBEROF_DIRECTORY_ENTRIES) return nullptr;
  return &optional_.DataDirectory[index];
}

Result<ByteView> PeImage::Directory(unsigned index) const {
  const ImageDataDirectory* d = DirectoryEntry(index);
  if (!d || d->VirtualAddress == 0 || d->Size == 0) return file_.error(ReadError::NotFound, 0);
  return RvaView(d->VirtualAddress, d->Size);
}

}  // namespace qm
