#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "headers/export_table.h"
#include "headers/header_dump.h"
#include "headers/header_format.h"
#include "headers/import_table.h"
#include "headers/module_loader.h"
#include "platform/sim/sim_system.h"

namespace qm {
namespace {

void put16(std::vector<uint8_t>& b, size_t at, uint16_t v) {
  for (size_t i = 0; i < 2; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}
void put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  for (size_t i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}
void put64(std::vector<uint8_t>& b, size_t at, uint64_t v) {
  for (size_t i = 0; i < 8; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}
void putText(std::vector<uint8_t>& b, size_t at, const std::string& text) {
  std::copy(text.begin(), text.end(), b.begin() + static_cast<std::ptrdiff_t>(at));
  b[at + text.size()] = 0;
}

// A minimal module: DOS header, NT headers at 0x40, one section ".data" at
// RVA 0x1000 whose 0x200 bytes of file data start at offset 0x200.
struct TestImage {
  static constexpr size_t kNt = 0x40, kOptional = kNt + 24, kSectionRva = 0x1000, kSectionFile = 0x200;
  static constexpr size_t kSectionSize = 0x200;
  bool plus;
  std::vector<uint8_t> bytes = std::vector<uint8_t>(kSectionFile + kSectionSize, 0);

  explicit TestImage(bool pe32Plus) : plus(pe32Plus) {
    put16(bytes, 0, 0x5A4D);
    put32(bytes, 0x3C, kNt);
    put32(bytes, kNt, 0x00004550);
    put16(bytes, kNt + 4, plus ? 0x8664 : 0x014C);
    put16(bytes, kNt + 6, 1);
    put16(bytes, kNt + 20, static_cast<uint16_t>(OptionalSize()));
    put16(bytes, kNt + 22, 0x2102);
    put16(bytes, kOptional, plus ? 0x20B : 0x10B);
    if (plus) {
      put64(bytes, kOptional + 24, 0x0000000140000000ull);
    } else {
      put32(bytes, kOptional + 24, 0x2000);  // BaseOfData
      put32(bytes, kOptional + 28, 0x10000000);
    }
    put32(bytes, kOptional + 60, kSectionFile);  // SizeOfHeaders
    put16(bytes, kOptional + 68, 2);             // Subsystem
    put32(bytes, RvaCountOffset(), 16);
    const size_t section = SectionTable();
    putText(bytes, section, ".data");
    put32(bytes, section + 8, 0x1000);
    put32(bytes, section + 12, kSectionRva);
    put32(bytes, section + 16, kSectionSize);
    put32(bytes, section + 20, kSectionFile);
  }
  size_t Fixed() const { return plus ? 112 : 96; }
  size_t OptionalSize() const { return Fixed() + 16 * 8; }
  size_t RvaCountOffset() const { return kOptional + Fixed() - 4; }
  size_t SectionTable() const { return kOptional + OptionalSize(); }
  void SetDirectory(unsigned index, uint32_t rva, uint32_t size) {
    put32(bytes, kOptional + Fixed() + 8 * index, rva);
    put32(bytes, kOptional + Fixed() + 8 * index + 4, size);
  }
  // File offset of an RVA inside the section.
  static size_t At(uint32_t rva) { return kSectionFile + (rva - kSectionRva); }
};

struct Fixture {
  SimSystem sim;
  DumpText text{sim.strings, sim.locale};
  CModuleLoader loader{sim.files};
  bool Load(const std::vector<uint8_t>& bytes, const std::string& name = "C:\\m.dll") {
    sim.files.files[name] = bytes;
    return loader.Load(name);
  }
};

std::vector<std::string> Lines(const TreeNode& node) {
  std::vector<std::string> out;
  for (const auto& child : node.children) out.push_back(child.text);
  return out;
}

const TreeNode* Find(const TreeNode& node, const std::string& text) {
  if (node.text == text) return &node;
  for (const auto& child : node.children)
    if (const TreeNode* found = Find(child, text)) return found;
  return nullptr;
}

const TreeNode* FindPrefix(const TreeNode& node, const std::string& prefix) {
  if (node.text.rfind(prefix, 0) == 0) return &node;
  for (const auto& child : node.children)
    if (const TreeNode* found = FindPrefix(child, prefix)) return found;
  return nullptr;
}

// Items with children are nodes; leaves never have children.
void CheckImages(const TreeNode& node) {
  EXPECT_TRUE(node.image == kDumpNodeImage || node.image == kDumpLeafImage) << node.text;
  EXPECT_FALSE(node.image == kDumpLeafImage && !node.children.empty()) << node.text;
  for (const auto& child : node.children) CheckImages(child);
}

std::vector<uint8_t> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// ---- Formatters ----

TEST(HeaderFormat, ValuesSignaturesAndNames) {
  EXPECT_EQ(FormatValue(0x1a30), "0x00001a30");
  EXPECT_EQ(FormatSigned(0x80000000u), "-2147483648 [0x80000000]");
  EXPECT_EQ(FormatSigned64(0xFFFFFFFFFFFFFFFFull), "-1 [0xffffffffffffffff]");
  EXPECT_EQ(FormatValue64(0x140000000ull), "0x140000000");
  EXPECT_EQ(FormatSignature(0x00004550), "0x00004550 [PE  ]");
  EXPECT_EQ(FormatSignature(0x0A0D0041), "0x0a0d0041 [A   ]");  // control bytes never break the line
  EXPECT_EQ(MachineName(0x8664), "IMAGE_FILE_MACHINE_AMD64");
  EXPECT_EQ(MachineName(0xAA64), "IMAGE_FILE_MACHINE_ARM64");
  EXPECT_EQ(MachineName(0x01C4), "IMAGE_FILE_MACHINE_ARMNT");
  EXPECT_EQ(MachineName(0), "IMAGE_FILE_MACHINE_UNKNOWN");
  EXPECT_EQ(SubsystemName(8), "IMAGE_SUBSYSTEM_UNKNOWN");
  EXPECT_EQ(CharacteristicName(0x0040), nullptr);
  SimSystem sim;
  DumpText text{sim.strings, sim.locale};
  EXPECT_EQ(FormatBool(text, true), "TRUE");
  EXPECT_EQ(FormatTimeStamp(text, 86400), "02/01/1970");
}

// ---- The loader ----

TEST(ModuleLoader, FillsTheMappingRecordFromItsOwnCopy) {
  Fixture f;
  TestImage image(false);
  ASSERT_TRUE(f.Load(image.bytes));
  const LoadedImage* li = f.loader.GetImage();
  ASSERT_NE(li, nullptr);
  EXPECT_EQ(li->ModuleName, "C:\\m.dll");
  EXPECT_EQ(li->hFile, 0u);
  EXPECT_EQ(li->FileHeader, li->MappedAddress + TestImage::kNt);
  EXPECT_EQ(li->Sections, li->MappedAddress + image.SectionTable());
  EXPECT_EQ(li->LastRvaSection, li->Sections);
  EXPECT_EQ(li->NumberOfSections, 1u);
  EXPECT_EQ(li->Characteristics, 0x2102u);
  EXPECT_FALSE(li->fSystemImage);
  EXPECT_FALSE(li->fDOSImage);
  EXPECT_EQ(li->SizeOfImage, image.bytes.size());
  EXPECT_EQ(li->Links.Flink, &li->Links);
  EXPECT_EQ(li->Links.Blink, &li->Links);
  EXPECT_EQ(f.loader.GetDirectoryEntry(16), nullptr);
  EXPECT_EQ(f.loader.GetDirectoryData(0).error().code, ReadError::NotFound);

  // Loading again without a path reads the same file; unloading forgets it.
  ASSERT_TRUE(f.loader.Load());
  EXPECT_EQ(f.loader.GetImage()->ModuleName, "C:\\m.dll");
  f.loader.Unload();
  EXPECT_EQ(f.loader.GetImage(), nullptr);
  EXPECT_EQ(f.loader.GetNtHeaders(), nullptr);
  EXPECT_FALSE(f.loader.Load());  // no name left
}

TEST(ModuleLoader, RefusesWhatIsNotAModuleWithAReason) {
  Fixture f;
  EXPECT_FALSE(f.loader.Load("C:\\missing.dll"));
  EXPECT_EQ(f.loader.GetLoadError(), 2u);
  EXPECT_EQ(f.loader.GetParseError().code, ReadError::Io);
  EXPECT_EQ(f.loader.GetFileName(), "C:\\missing.dll");

  std::vector<uint8_t> shortDos(63, 0);
  shortDos[0] = 'M';
  shortDos[1] = 'Z';
  EXPECT_FALSE(f.Load(shortDos));  // shorter than a DOS header
  EXPECT_EQ(f.loader.GetParseError().code, ReadError::OutOfBounds);
  EXPECT_EQ(f.loader.GetLoadError(), 0u);

  std::vector<uint8_t> text(200, 'a');
  EXPECT_FALSE(f.Load(text));
  ASSERT_TRUE(f.loader.GetFileError().has_value());
  EXPECT_EQ(f.loader.GetFileError()->reason, FileFailure::NotAModule);
  EXPECT_EQ(f.loader.GetLoadError(), kErrorBadExeFormat);

  // A PE signature with broken headers behind it is refused, not shown as DOS.
  TestImage image(false);
  put16(image.bytes, TestImage::kOptional, 0x999);
  EXPECT_FALSE(f.Load(image.bytes));
  EXPECT_EQ(f.loader.GetParseError().code, ReadError::BadSignature);
  EXPECT_EQ(f.loader.GetParseError().offset, TestImage::kOptional);
}

TEST(ModuleLoader, DosProgramsAndDamagedDosSignatures) {
  Fixture f;
  std::vector<uint8_t> dos(128, 0);
  put16(dos, 0, 0x5A4D);
  put32(dos, 0x3C, 0x7FFFFFF0);  // e_lfanew past the end: a plain DOS program
  ASSERT_TRUE(f.Load(dos));
  EXPECT_TRUE(f.loader.GetImage()->fDOSImage);
  EXPECT_EQ(f.loader.GetNtHeaders(), nullptr);
  HeaderDump summary = BuildHeaderDump(f.loader, false, f.text);
  EXPECT_EQ(Lines(summary.root), std::vector<std::string>{"Firma de cabecera DOS: 0x5a4d [MZ]"});
  HeaderDump complete = BuildHeaderDump(f.loader, true, f.text);
  EXPECT_EQ(Lines(complete.root), (std::vector<std::string>{"LOADED_IMAGE", "IMAGE_DOS_HEADER"}));
  EXPECT_NE(Find(complete.root, "fDOSImage = TRUE"), nullptr);

  // NT headers behind a damaged "MZ" are still read; the DOS node holds only
  // its signature.
  TestImage image(false);
  put16(image.bytes, 0, 0x4D5A);
  ASSERT_TRUE(f.Load(image.bytes));
  summary = BuildHeaderDump(f.loader, false, f.text);
  EXPECT_EQ(summary.root.children.at(0).text, "Firma de cabecera desconocida: 0x4d5a [ZM]");
  complete = BuildHeaderDump(f.loader, true, f.text);
  const TreeNode* dosNode = Find(complete.root, "IMAGE_DOS_HEADER");
  ASSERT_NE(dosNode, nullptr);
  EXPECT_EQ(Lines(*dosNode), std::vector<std::string>{"e_magic (magic number) = 0x4d5a [ZM]"});
  EXPECT_NE(Find(complete.root, "IMAGE_NT_HEADERS"), nullptr);
}

// ---- Header boundaries, built from bytes ----

TEST(PeBoundaries, HeadersEndingAtTheEndAreReadOneByteOverIsRefused) {
  for (bool plus : {false, true}) {
    TestImage image(plus);
    put32(image.bytes, image.SectionTable() + 16, 0);  // no raw data
    put32(image.bytes, image.SectionTable() + 20, 0);
    std::vector<uint8_t> exact(image.bytes.begin(),
                               image.bytes.begin() + static_cast<std::ptrdiff_t>(image.SectionTable() + 40));
    Fixture f;
    EXPECT_TRUE(f.Load(exact)) << plus;
    exact.pop_back();
    EXPECT_FALSE(f.Load(exact)) << plus;
    EXPECT_EQ(f.loader.GetParseError().code, ReadError::OutOfBounds);
  }
}

TEST(PeBoundaries, CountsNearTheTopAreRefusedOrCapped) {
  Fixture f;
  TestImage image(false);
  put16(image.bytes, TestImage::kNt + 6, 0xFFFF);  // NumberOfSections
  EXPECT_FALSE(f.Load(image.bytes));
  EXPECT_EQ(f.loader.GetParseError().code, ReadError::TooMany);

  // NumberOfRvaAndSizes near UINT32_MAX: only the 16 directories the optional
  // header holds are read; no index past them exists.
  TestImage many(true);
  put32(many.bytes, many.RvaCountOffset(), 0xFFFFFFFF);
  many.SetDirectory(15, 0x1234, 8);
  ASSERT_TRUE(f.Load(many.bytes));
  EXPECT_EQ(f.loader.GetDirectoryEntry(15)->VirtualAddress, 0x1234u);
  EXPECT_EQ(f.loader.GetDirectoryEntry(16), nullptr);
  EXPECT_NE(Find(BuildHeaderDump(f.loader, true, f.text).root, "NumberOfRvaAndSizes = 4294967295"), nullptr);

  // An optional header too short for its own fixed part.
  TestImage shortHeader(false);
  put16(shortHeader.bytes, TestImage::kNt + 20, 95);
  EXPECT_FALSE(f.Load(shortHeader.bytes));
  EXPECT_EQ(f.loader.GetParseError().code, ReadError::BadValue);
}

// ---- The dump layout: PE32 against PE32+ ----

TEST(HeaderDump, Pe32AndPe32PlusShowTheSameNodesWithTheirOwnFields) {
  for (bool plus : {false, true}) {
    Fixture f;
    TestImage image(plus);
    put64(image.bytes, image.kOptional + (plus ? 72 : 72), plus ? 0x123456789ull : 0x100000);
    ASSERT_TRUE(f.Load(image.bytes));
    const TreeNode root = BuildHeaderDump(f.loader, true, f.text).root;
    CheckImages(root);
    EXPECT_EQ(Lines(root), (std::vector<std::string>{"LOADED_IMAGE", "IMAGE_DOS_HEADER", "IMAGE_NT_HEADERS"}));
    const TreeNode* optional = Find(root, "OptionalHeader (IMAGE_OPTIONAL_HEADER64)");
    ASSERT_NE(optional, nullptr);
    EXPECT_EQ(Lines(*optional), (std::vector<std::string>{"Standard fields", "NT additional fields",
                                                          "DataDirectory[] (IMAGE_DATA_DIRECTORY)"}));
    const TreeNode* standard = Find(root, "Standard fields");
    EXPECT_EQ(standard->children.size(), plus ? 8u : 9u);
    EXPECT_EQ(FindPrefix(root, "BaseOfData = ") != nullptr, !plus);
    EXPECT_EQ(Find(*standard, plus ? "Magic = 0x020b" : "Magic = 0x010b: Normal executable file") != nullptr, true);
    if (plus) {
      EXPECT_NE(Find(root, "ImageBase = 5368709120 [0x140000000]"), nullptr);
      EXPECT_NE(Find(root, "SizeOfStackReserve = 4886718345"), nullptr);
      EXPECT_NE(Find(root, "Machine = 0x8664 (IMAGE_FILE_MACHINE_AMD64)"), nullptr);
    } else {
      EXPECT_NE(Find(root, "ImageBase = 268435456 [0x10000000]"), nullptr);
      EXPECT_NE(Find(root, "BaseOfData = 0x00002000"), nullptr);
      EXPECT_NE(Find(root, "SizeOfStackReserve = 1048576"), nullptr);
    }
    const TreeNode* nt = Find(root, "NT additional fields");
    EXPECT_EQ(nt->children.size(), 21u);
    // Without directories: the empty export and import nodes with their entry lines.
    const TreeNode* exports = Find(root, "Export directory");
    ASSERT_NE(exports, nullptr);
    EXPECT_EQ(Lines(*exports), (std::vector<std::string>{"VirtualAddress = 0x00000000", "Size = 0 bytes"}));
  }
}

TEST(HeaderDump, SummaryCharacteristicsAndDllCharacteristics) {
  Fixture f;
  TestImage image(false);
  put16(image.bytes, TestImage::kOptional + 70, 0x2000);
  ASSERT_TRUE(f.Load(image.bytes));
  const TreeNode summary = BuildHeaderDump(f.loader, false, f.text).root;
  EXPECT_EQ(Lines(summary), (std::vector<std::string>{
                                "Firma de cabecera DOS: 0x5a4d [MZ]", "Firma de cabecera NT: 0x00004550 [PE  ]",
                                "Tipo de máquina: IMAGE_FILE_MACHINE_I386", "Subsistema: IMAGE_SUBSYSTEM_WINDOWS_GUI",
                                "Características del módulo", "Funciones que exporta", "Librerías que importa"}));
  EXPECT_EQ(Lines(summary.children[4]),
            (std::vector<std::string>{"IMAGE_FILE_EXECUTABLE_IMAGE", "IMAGE_FILE_32BIT_MACHINE", "IMAGE_FILE_DLL"}));
  const TreeNode complete = BuildHeaderDump(f.loader, true, f.text).root;
  EXPECT_NE(Find(complete, "DllCharacteristics = 0x2000: Driver is a WDM Driver"), nullptr);

  put16(image.bytes, TestImage::kNt + 22, 0);
  put16(image.bytes, TestImage::kOptional + 70, 0x2001);
  ASSERT_TRUE(f.Load(image.bytes));
  EXPECT_EQ(Find(BuildHeaderDump(f.loader, false, f.text).root, "Características del módulo"), nullptr);
  const TreeNode plain = BuildHeaderDump(f.loader, true, f.text).root;
  const TreeNode* flags = Find(plain, "Characteristics = 0x0000");
  ASSERT_NE(flags, nullptr);
  EXPECT_EQ(flags->image, kDumpLeafImage);
  EXPECT_TRUE(flags->children.empty());
  EXPECT_NE(Find(plain, "DllCharacteristics = 0x2001"), nullptr);
}

// ---- Exports built from bytes ----

// An export directory at RVA 0x1000 (40 bytes), arrays behind it.
struct ExportImage : TestImage {
  static constexpr uint32_t kDir = 0x1000, kFunctions = 0x1040, kNames = 0x1080, kOrdinals = 0x10C0, kStrings = 0x1100;
  explicit ExportImage(bool pe32Plus, uint32_t dirSize = 0x40) : TestImage(pe32Plus) {
    SetDirectory(0, kDir, dirSize);
    put32(bytes, At(kDir + 12), kStrings);  // Name
    putText(bytes, At(kStrings), "test.dll");
    put32(bytes, At(kDir + 16), 1);  // Base
    put32(bytes, At(kDir + 28), kFunctions);
    put32(bytes, At(kDir + 32), kNames);
    put32(bytes, At(kDir + 36), kOrdinals);
  }
  void Functions(const std::vector<uint32_t>& rvas) {
    put32(bytes, At(kDir + 20), static_cast<uint32_t>(rvas.size()));
    for (size_t i = 0; i < rvas.size(); ++i) put32(bytes, At(kFunctions + static_cast<uint32_t>(4 * i)), rvas[i]);
  }
  // Names in array order with the function index each points at.
  void Names(const std::vector<std::pair<std::string, uint16_t>>& names) {
    put32(bytes, At(kDir + 24), static_cast<uint32_t>(names.size()));
    uint32_t text = kStrings + 0x20;
    for (size_t k = 0; k < names.size(); ++k) {
      put32(bytes, At(kNames + static_cast<uint32_t>(4 * k)), text);
      put16(bytes, At(kOrdinals + static_cast<uint32_t>(2 * k)), names[k].second);
      putText(bytes, At(text), names[k].first);
      text += static_cast<uint32_t>(names[k].first.size() + 1);
    }
  }
};

std::vector<std::string> ExportLines(Fixture& f, const std::vector<uint8_t>& bytes,
                                     std::vector<std::string>* problems = nullptr) {
  EXPECT_TRUE(f.Load(bytes));
  HeaderDump dump = BuildHeaderDump(f.loader, false, f.text);
  if (problems) *problems = dump.problems;
  const TreeNode* node = Find(dump.root, "Funciones que exporta");
  return node ? Lines(*node) : std::vector<std::string>{"<no export node>"};
}

TEST(ExportDump, NamesAttachByTheirOrdinalIndexWithGapsAndUnnamedOrdinals) {
  Fixture f;
  ExportImage image(false);
  image.Functions({0x1a30, 0x1b00, 0x1c00, 0, 0x1d00});
  // Alphabetical names, so their function indexes do not ascend; index 4 has
  // two names, index 1 none, index 3 is a gap.
  image.Names({{"Alpha", 2}, {"Beta", 4}, {"Gamma", 0}, {"Zeta", 4}, {"Bad", 9}});
  EXPECT_EQ(ExportLines(f, image.bytes),
            (std::vector<std::string>{"0001 - [0x00001a30] Gamma", "0002 - [0x00001b00]", "0003 - [0x00001c00] Alpha",
                                      "0005 - [0x00001d00] Beta", "0005 - [0x00001d00] Zeta"}));
}

TEST(ExportDump, ForwardersUpToTheDirectoryEndAndTheCompleteRecord) {
  Fixture f;
  ExportImage image(true, 0x140);
  const uint32_t target = ExportImage::kDir + 0x140;  // the end itself counts
  putText(image.bytes, TestImage::At(target), "NTDLL.RtlFoo");
  image.Functions({target, 0x1141, 0x3000});
  image.Names({{"Foo", 0}});
  const auto lines = ExportLines(f, image.bytes);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], "0001 - [0x00001140:NTDLL.RtlFoo] Foo");
  EXPECT_EQ(lines[2], "0003 - [0x00003000]");

  const TreeNode root = BuildHeaderDump(f.loader, true, f.text).root;
  const TreeNode* record = Find(root, "IMAGE_EXPORT_DIRECTORY");
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(Lines(*record),
            (std::vector<std::string>{"Characteristics = 0x00000000", "TimeDateStamp = [0x00000000] 01/01/1970",
                                      "MajorVersion = 0x00", "MinorVersion = 0x00", "Name = test.dll",
                                      "Base = 0x00000001", "NumberOfFunctions = 3", "NumberOfNames = 1", "Functions"}));
  EXPECT_EQ(record->children.back().children.size(), 3u);
}

TEST(ExportDump, CountsAndArraysPastTheDataAreRefusedWithAProblemLine) {
  Fixture f;
  ExportImage image(false);
  image.Functions({0x1a30});
  put32(image.bytes, TestImage::At(ExportImage::kDir + 20), 0xFFFFFFFF);
  std::vector<std::string> problems;
  EXPECT_TRUE(ExportLines(f, image.bytes, &problems).empty());
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_NE(problems[0].find("too many"), std::string::npos);

  // The function array ending exactly at the section's end is read; one
  // entry more runs past it.
  ExportImage edge(false);
  const uint32_t room = (TestImage::kSectionRva + TestImage::kSectionSize - ExportImage::kFunctions) / 4;
  put32(edge.bytes, TestImage::At(ExportImage::kDir + 20), room);
  for (uint32_t i = 0; i < room; ++i) put32(edge.bytes, TestImage::At(ExportImage::kFunctions + 4 * i), 0x1100 + i);
  EXPECT_EQ(ExportLines(f, edge.bytes, &problems).size(), room);
  EXPECT_TRUE(problems.empty());
  put32(edge.bytes, TestImage::At(ExportImage::kDir + 20), room + 1);
  EXPECT_TRUE(ExportLines(f, edge.bytes, &problems).empty());
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_NE(problems[0].find("out of bounds"), std::string::npos);

  // A directory whose RVA lies outside every section.
  ExportImage outside(false);
  outside.SetDirectory(0, 0x90000, 0x40);
  EXPECT_TRUE(ExportLines(f, outside.bytes, &problems).empty());
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_EQ(problems[0], "export directory: truncated or out of bounds at offset 0x90000");
}

// ---- Imports built from bytes ----

struct ImportImage : TestImage {
  static constexpr uint32_t kDescriptors = 0x1000;
  explicit ImportImage(bool pe32Plus) : TestImage(pe32Plus) {}
  // One library whose thunks (0-terminated) sit at thunkRva.
  void Library(size_t index, const std::string& name, uint32_t originalFirstThunk, uint32_t nameRva,
               uint32_t stamp = 0) {
    const uint32_t d = kDescriptors + static_cast<uint32_t>(20 * index);
    put32(bytes, At(d), originalFirstThunk);
    put32(bytes, At(d + 4), stamp);
    put32(bytes, At(d + 12), nameRva);
    put32(bytes, At(d + 16), originalFirstThunk ? originalFirstThunk : 0x1180);
    putText(bytes, At(nameRva), name);
  }
};

TEST(ImportDump, StopsAtTheCountedSizeAndAtAMissingOriginalFirstThunk) {
  Fixture f;
  ImportImage image(false);
  image.Library(0, "ONE.dll", 0x1100, 0x1140, 0xFFFFFFFF);
  image.Library(1, "TWO.dll", 0x1100, 0x1150, 0x5f000000);
  image.Library(2, "THREE.dll", 0x1100, 0x1160);
  image.SetDirectory(1, ImportImage::kDescriptors, 2 * 20 + 19);
  ASSERT_TRUE(f.Load(image.bytes));
  HeaderDump dump = BuildHeaderDump(f.loader, false, f.text);
  EXPECT_EQ(Lines(*Find(dump.root, "Librerías que importa")), (std::vector<std::string>{"ONE.dll", "TWO.dll"}));
  const TreeNode complete = BuildHeaderDump(f.loader, true, f.text).root;
  const TreeNode* one = Find(complete, "ONE.dll");
  ASSERT_NE(one, nullptr);
  EXPECT_EQ(Lines(*one),
            (std::vector<std::string>{"OriginalFirstThunk = 4352 [0x00001100]", "FirstThunk = 4352 [0x00001100]",
                                      "ForwarderChain = 0 [0x00000000]", "TimeDateStamp = -1 [0xffffffff]"}));
  EXPECT_EQ(Find(complete, "TWO.dll")->children.back().text.rfind("TimeDateStamp = [0x5f000000] ", 0), 0u);
  EXPECT_NE(Find(complete, "IMAGE_EXPORT_DIRECTORY"), nullptr);  // the descriptors' label

  // A descriptor without OriginalFirstThunk ends the list, though a later one
  // has its thunks.
  image.Library(1, "TWO.dll", 0, 0x1150);
  image.SetDirectory(1, ImportImage::kDescriptors, 3 * 20);
  ASSERT_TRUE(f.Load(image.bytes));
  dump = BuildHeaderDump(f.loader, false, f.text);
  EXPECT_EQ(Lines(*Find(dump.root, "Librerías que importa")), std::vector<std::string>{"ONE.dll"});
  EXPECT_TRUE(dump.problems.empty());
}

TEST(ImportTable, ThunksByNameAndOrdinalInBothLayouts) {
  for (bool plus : {false, true}) {
    ImportImage image(plus);
    image.Library(0, "LIB.dll", 0x1100, 0x1140);
    const size_t width = plus ? 8 : 4;
    const uint64_t ordinalFlag = plus ? 1ull << 63 : 1ull << 31;
    auto thunk = [&](size_t i, uint64_t v) {
      if (plus) {
        put64(image.bytes, TestImage::At(0x1100) + i * width, v);
      } else {
        put32(image.bytes, TestImage::At(0x1100) + i * width, static_cast<uint32_t>(v));
      }
    };
    thunk(0, ordinalFlag | 7);
    thunk(1, 0x1160);
    put16(image.bytes, TestImage::At(0x1160), 42);
    putText(image.bytes, TestImage::At(0x1162), "Sleep");
    // In PE32 bit 31 marks an ordinal; in PE32+ it does not, only bit 63.
    thunk(2, plus ? 0x80001160ull : 0);
    image.SetDirectory(1, ImportImage::kDescriptors, 40);
    auto pe = PeImage::Parse(ByteView(image.bytes));
    ASSERT_TRUE(pe);
    auto table = ReadImportTable(*pe);
    ASSERT_TRUE(table);
    ASSERT_EQ(table->libraries.size(), 1u);
    const auto& functions = table->libraries[0].functions;
    ASSERT_EQ(functions.size(), plus ? 3u : 2u) << plus;
    EXPECT_TRUE(functions[0].byOrdinal);
    EXPECT_EQ(functions[0].ordinal, 7);
    EXPECT_FALSE(functions[1].byOrdinal);
    EXPECT_EQ(functions[1].hint, 42);
    EXPECT_EQ(functions[1].name, "Sleep");
    if (plus) {
      EXPECT_FALSE(functions[2].byOrdinal);
    }
    EXPECT_FALSE(table->libraries[0].functionsError);
  }
}

TEST(ImportTable, UnterminatedThunksAndDescriptorsStopAtTheSectionEnd) {
  ImportImage image(false);
  const uint32_t last = TestImage::kSectionRva + TestImage::kSectionSize - 8;
  image.Library(0, "LIB.dll", last, 0x1140);
  put32(image.bytes, TestImage::At(last), 0x1160);
  put32(image.bytes, TestImage::At(last + 4), 0x1160);
  putText(image.bytes, TestImage::At(0x1162), "F");
  // Descriptors that fill the section to its end without a terminator.
  image.SetDirectory(1, TestImage::kSectionRva + TestImage::kSectionSize - 40, 40);
  const size_t d = TestImage::At(TestImage::kSectionRva + TestImage::kSectionSize - 40);
  std::copy_n(image.bytes.begin() + static_cast<std::ptrdiff_t>(TestImage::At(ImportImage::kDescriptors)), 20,
              image.bytes.begin() + static_cast<std::ptrdiff_t>(d));
  std::copy_n(image.bytes.begin() + static_cast<std::ptrdiff_t>(TestImage::At(ImportImage::kDescriptors)), 20,
              image.bytes.begin() + static_cast<std::ptrdiff_t>(d + 20));
  auto pe = PeImage::Parse(ByteView(image.bytes));
  ASSERT_TRUE(pe);
  auto table = ReadImportTable(*pe);
  ASSERT_TRUE(table);
  EXPECT_EQ(table->libraries.size(), 2u);
  ASSERT_TRUE(table->descriptorsError);
  EXPECT_EQ(table->libraries[0].functions.size(), 2u);
  ASSERT_TRUE(table->libraries[0].functionsError);
  EXPECT_EQ(table->libraries[0].functionsError->code, ReadError::OutOfBounds);
}

// ---- Fixture modules of both architectures ----

TEST(FixtureModules, ExportsOfTheFixtureDllInBothArchitectures) {
  for (const char* arch : {"x86_64", "i686"}) {
    Fixture f;
    const std::string path = std::string(QM_FIXTURE_DIR) + "/" + arch + "/exports_lib.dll";
    ASSERT_TRUE(f.Load(ReadBytes(path), path)) << path;
    const bool plus = std::string(arch) == "x86_64";
    EXPECT_EQ(f.loader.GetNtHeaders()->isPe32Plus(), plus);
    const TreeNode summary = BuildHeaderDump(f.loader, false, f.text).root;
    EXPECT_NE(
        Find(summary, plus ? "Tipo de máquina: IMAGE_FILE_MACHINE_AMD64" : "Tipo de máquina: IMAGE_FILE_MACHINE_I386"),
        nullptr);
    const TreeNode* exports = Find(summary, "Funciones que exporta");
    ASSERT_NE(exports, nullptr);
    std::vector<std::string> tails;
    for (const auto& line : Lines(*exports)) {
      // "0001 - [0x00001370] Zeta": keep the ordinal and what follows the RVA.
      const size_t close = line.find(']');
      const size_t colon = line.find(':');
      tails.push_back(line.substr(0, 4) + (colon < close ? line.substr(colon, close - colon) : "") +
                      line.substr(close + 1));
    }
    EXPECT_EQ(tails, (std::vector<std::string>{"0001 Zeta", "0002 Alpha", "0005 Mid", "0007",
                                               "0008:kernel32.Sleep ForwardedSleep", "0009 Beta", "0010 AlsoBeta"}));
    CheckImages(BuildHeaderDump(f.loader, true, f.text).root);
  }
}

TEST(FixtureModules, TheExeImportsByNameAndByOrdinal) {
  for (const char* arch : {"x86_64", "i686"}) {
    const std::string path = std::string(QM_FIXTURE_DIR) + "/" + arch + "/exports_user.exe";
    const auto bytes = ReadBytes(path);
    auto pe = PeImage::Parse(ByteView(bytes));
    ASSERT_TRUE(pe) << path;
    auto table = ReadImportTable(*pe);
    ASSERT_TRUE(table);
    auto lib = std::find_if(table->libraries.begin(), table->libraries.end(),
                            [](const ImportedLibrary& l) { return l.name == "exports_lib.dll"; });
    ASSERT_NE(lib, table->libraries.end()) << arch;
    ASSERT_EQ(lib->functions.size(), 2u);
    auto byName = std::find_if(lib->functions.begin(), lib->functions.end(),
                               [](const ImportedFunction& fn) { return !fn.byOrdinal; });
    auto byOrdinal = std::find_if(lib->functions.begin(), lib->functions.end(),
                                  [](const ImportedFunction& fn) { return fn.byOrdinal; });
    ASSERT_NE(byName, lib->functions.end());
    ASSERT_NE(byOrdinal, lib->functions.end());
    EXPECT_EQ(byName->name, "Alpha");
    EXPECT_EQ(byOrdinal->ordinal, 7);
    for (const auto& other : table->libraries) EXPECT_FALSE(other.functionsError) << other.name;
  }
}

TEST(WineModules, Kernel32AttachesEveryNameToItsOrdinal) {
  const std::string path = "/usr/lib/x86_64-linux-gnu/wine/x86_64-windows/kernel32.dll";
  if (!std::filesystem::exists(path)) GTEST_SKIP() << "Wine is not installed";
  const auto bytes = ReadBytes(path);
  auto pe = PeImage::Parse(ByteView(bytes));
  ASSERT_TRUE(pe);
  auto directory = ReadExportDirectory(*pe);
  ASSERT_TRUE(directory);
  auto functions = ReadExportedFunctions(*pe, *directory);
  ASSERT_TRUE(functions);
  size_t names = 0;
  const ExportedFunction* sleep = nullptr;
  const ExportedFunction* srw = nullptr;
  for (const auto& fn : *functions) {
    names += fn.names.size();
    for (const auto& n : fn.names) {
      if (n == "Sleep") sleep = &fn;
      if (n == "AcquireSRWLockExclusive") srw = &fn;
    }
  }
  // Every name is attached, whatever the order of the name-ordinal array.
  EXPECT_EQ(names, directory->NumberOfNames);
  ASSERT_NE(sleep, nullptr);
  ASSERT_NE(srw, nullptr);
  EXPECT_EQ(srw->forwarder.value_or(""), "NTDLL.RtlAcquireSRWLockExclusive");
  EXPECT_EQ(srw->ordinal, directory->Base);
  // The name and ordinal of Sleep agree with the raw arrays.
  EXPECT_GT(sleep->ordinal, srw->ordinal);
  EXPECT_EQ(sleep->ordinal - directory->Base, sleep->index);

  // Name arrays that cannot be read cost the names, not the functions.
  ExportDirectory lostNames = *directory;
  lostNames.AddressOfNames = 0xFFFFFFF0u;
  EXPECT_FALSE(ReadExportedFunctions(*pe, lostNames));
  std::optional<ParseError> namesError;
  auto byOrdinal = ReadExportedFunctions(*pe, lostNames, &namesError);
  ASSERT_TRUE(byOrdinal);
  EXPECT_TRUE(namesError.has_value());
  EXPECT_EQ(byOrdinal->size(), functions->size());
  EXPECT_TRUE(byOrdinal->front().names.empty());
}

}  // namespace
}  // namespace qm
