#pragma once
// A minimal module built byte by byte for the header readers' tests, and the
// simulated system its bytes are loaded from.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "headers/header_dump.h"
#include "headers/module_loader.h"
#include "platform/sim/sim_system.h"
#include "tests/host/test_bytes.h"

namespace qm::test {

inline void PutText(std::vector<uint8_t>& b, size_t at, const std::string& text) {
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
    Put16(bytes, 0, 0x5A4D);
    Put32(bytes, 0x3C, kNt);
    Put32(bytes, kNt, 0x00004550);
    Put16(bytes, kNt + 4, plus ? 0x8664 : 0x014C);
    Put16(bytes, kNt + 6, 1);
    Put16(bytes, kNt + 20, static_cast<uint16_t>(OptionalSize()));
    Put16(bytes, kNt + 22, 0x2102);
    Put16(bytes, kOptional, plus ? 0x20B : 0x10B);
    if (plus) {
      Put64(bytes, kOptional + 24, 0x0000000140000000ull);
    } else {
      Put32(bytes, kOptional + 24, 0x2000);  // BaseOfData
      Put32(bytes, kOptional + 28, 0x10000000);
    }
    Put32(bytes, kOptional + 60, kSectionFile);  // SizeOfHeaders
    Put16(bytes, kOptional + 68, 2);             // Subsystem
    Put32(bytes, RvaCountOffset(), 16);
    const size_t section = SectionTable();
    PutText(bytes, section, ".data");
    Put32(bytes, section + 8, 0x1000);
    Put32(bytes, section + 12, kSectionRva);
    Put32(bytes, section + 16, kSectionSize);
    Put32(bytes, section + 20, kSectionFile);
  }
  size_t Fixed() const { return plus ? 112 : 96; }
  size_t OptionalSize() const { return Fixed() + 16 * 8; }
  size_t RvaCountOffset() const { return kOptional + Fixed() - 4; }
  size_t SectionTable() const { return kOptional + OptionalSize(); }
  void SetDirectory(unsigned index, uint32_t rva, uint32_t size) {
    Put32(bytes, kOptional + Fixed() + 8 * index, rva);
    Put32(bytes, kOptional + Fixed() + 8 * index + 4, size);
  }
  // File offset of an RVA inside the section.
  static size_t At(uint32_t rva) { return kSectionFile + (rva - kSectionRva); }
};

struct ModuleFixture {
  SimSystem sim;
  DumpText text{sim.strings, sim.locale};
  CModuleLoader loader{sim.files};
  bool Load(const std::vector<uint8_t>& bytes, const std::string& name = "C:\\m.dll") {
    sim.files.files[name] = bytes;
    return loader.Load(name);
  }
};

}  // namespace qm::test
