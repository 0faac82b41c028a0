#pragma once
// The PE headers of a module read as data: DOS header, NT signature, file
// header, optional header (PE32 or PE32+, each with its own layout), data
// directories and section table, and the mapping of RVAs to file offsets.
// Only the bytes given are read; nothing is executed or mapped.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "common/byte_reader.h"

namespace qm {

// The platform's names and values; <windows.h> may already define them as
// macros with the same values.
#ifndef IMAGE_DOS_SIGNATURE
constexpr uint16_t IMAGE_DOS_SIGNATURE = 0x5A4D;
constexpr uint32_t IMAGE_NT_SIGNATURE = 0x00004550;
constexpr uint16_t IMAGE_NT_OPTIONAL_HDR32_MAGIC = 0x10B;
constexpr uint16_t IMAGE_NT_OPTIONAL_HDR64_MAGIC = 0x20B;
constexpr size_t IMAGE_NUMBEROF_DIRECTORY_ENTRIES = 16;
#endif
#ifndef IMAGE_DIRECTORY_ENTRY_EXPORT
constexpr unsigned IMAGE_DIRECTORY_ENTRY_EXPORT = 0;
constexpr unsigned IMAGE_DIRECTORY_ENTRY_IMPORT = 1;
constexpr unsigned IMAGE_DIRECTORY_ENTRY_RESOURCE = 2;
constexpr unsigned IMAGE_DIRECTORY_ENTRY_EXCEPTION = 3;
constexpr unsigned IMAGE_DIRECTORY_ENTRY_SECURITY = 4;
constexpr unsigned IMAGE_DIRECTORY_ENTRY_BASERELOC = 5;
constexpr unsigned IMAGE_DIRECTORY_ENTRY_DEBUG = 6;
constexpr unsigned IMAGE_DIRECTORY_ENTRY_ARCHITECTURE = 7;
constexpr unsigned IMAGE_DIRECTORY_ENTRY_GLOBALPTR = 8;
constexpr unsigned IMAGE_DIRECTORY_ENTRY_TLS = 9;
constexpr unsigned IMAGE_DIRECTORY_ENTRY_LOAD_CONFIG = 10;
constexpr unsigned IMAGE_DIRECTORY_ENTRY_BOUND_IMPORT = 11;
constexpr unsigned IMAGE_DIRECTORY_ENTRY_IAT = 12;
constexpr unsigned IMAGE_DIRECTORY_ENTRY_DELAY_IMPORT = 13;
constexpr unsigned IMAGE_DIRECTORY_ENTRY_COM_DESCRIPTOR = 14;
#endif

struct ImageDosHeader {
  uint16_t e_magic, e_cblp, e_cp, e_crlc, e_cparhdr, e_minalloc, e_maxalloc, e_ss, e_sp, e_csum, e_ip, e_cs, e_lfarlc,
      e_ovno;
  std::array<uint16_t, 4> e_res;
  uint16_t e_oemid, e_oeminfo;
  std::array<uint16_t, 10> e_res2;
  uint32_t e_lfanew;
};

struct ImageFileHeader {
  uint16_t Machine;
  uint16_t NumberOfSections;
  uint32_t TimeDateStamp;
  uint32_t PointerToSymbolTable;
  uint32_t NumberOfSymbols;
  uint16_t SizeOfOptionalHeader;
  uint16_t Characteristics;
};

struct ImageDataDirectory {
  uint32_t VirtualAddress;
  uint32_t Size;
};

// Both optional header layouts in one record; 64-bit fields are widened for
// PE32, and BaseOfData exists only in PE32 (hasBaseOfData).
struct ImageOptionalHeader {
  uint16_t Magic;
  uint8_t MajorLinkerVersion, MinorLinkerVersion;
  uint32_t SizeOfCode, SizeOfInitializedData, SizeOfUninitializedData, AddressOfEntryPoint, BaseOfCode;
  bool hasBaseOfData;
  uint32_t BaseOfData;
  uint64_t ImageBase;
  uint32_t SectionAlignment, FileAlignment;
  uint16_t MajorOperatingSystemVersion, MinorOperatingSystemVersion, MajorImageVersion, MinorImageVersion,
      MajorSubsystemVersion, MinorSubsystemVersion;
  uint32_t Win32VersionValue, SizeOfImage, SizeOfHeaders, CheckSum;
  uint16_t Subsystem, DllCharacteristics;
  uint64_t SizeOfStackReserve, SizeOfStackCommit, SizeOfHeapReserve, SizeOfHeapCommit;
  uint32_t LoaderFlags, NumberOfRvaAndSizes;
  std::array<ImageDataDirectory, IMAGE_NUMBEROF_DIRECTORY_ENTRIES> DataDirectory;
};

struct ImageSectionHeader {
  std::string Name;  // up to 8 bytes, NUL padding dropped
  uint32_t VirtualSize, VirtualAddress, SizeOfRawData, PointerToRawData, PointerToRelocations, PointerToLinenumbers;
  uint16_t NumberOfRelocations, NumberOfLinenumbers;
  uint32_t Characteristics;
};

class PeImage {
 public:
  // Sections are capped well above what linkers emit (the format allows 96
  // for loaders, 65535 in the field).
  static constexpr size_t kMaxSections = 4096;

  // Whether a DOS header without "MZ" is refused. The header dump still reads
  // the NT headers of a module whose DOS signature was damaged.
  enum class DosSignature { Required, Ignored };

  // Reads the headers of a file's bytes; the bytes must outlive the image.
  static Result<PeImage> Parse(ByteView file, DosSignature dosSignature = DosSignature::Required);
  // The 64-byte DOS header alone, whatever its signature.
  static Result<ImageDosHeader> ReadDosHeader(const ByteView& file);

  const ByteView& file() const { return file_; }
  const ImageDosHeader& dos() const { return dos_; }
  bool isPe32Plus() const { return optional_.Magic == IMAGE_NT_OPTIONAL_HDR64_MAGIC; }
  uint32_t ntHeadersOffset() const { return dos_.e_lfanew; }
  const ImageFileHeader& fileHeader() const { return fileHeader_; }
  const ImageOptionalHeader& optionalHeader() const { return optional_; }
  uint64_t sectionTableOffset() const { return sectionTableOffset_; }
  const std::vector<ImageSectionHeader>& sections() const { return sections_; }

  // The file offset of an RVA, with length bytes available in the file from
  // there inside one section (or inside the headers).
  Result<uint64_t> RvaToOffset(uint32_t rva, uint32_t length = 1) const;
  // The bytes at an RVA, length long.
  Result<ByteView> RvaView(uint32_t rva, uint32_t length) const;
  // From an RVA to the end of what its section holds in the file.
  Result<ByteView> RvaToEnd(uint32_t rva) const;
  // The data directory's bytes; NotFound when it is empty or absent.
  Result<ByteView> Directory(unsigned index) const;
  const ImageDataDirectory* DirectoryEntry(unsigned index) const;

 private:
  struct Span {
    uint64_t offset;
    uint64_t available;  // bytes of the file from offset to the end of the section's data
  };
  Result<Span> Locate(uint32_t rva) const;

  ByteView file_;
  ImageDosHeader dos_{};
  ImageFileHeader fileHeader_{};
  ImageOptionalHeader optional_{};
  uint64_t sectionTableOffset_ = 0;
  std::vector<ImageSectionHeader> sections_;
};

}  // namespace qm
