// Feeds arbitrary bytes to the resource directory (as the resource section
// of a small image) and to the whole-module extract over it, to the
// string-block decoder, the menu parser and the accelerator table reader.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "headers/pe_image.h"
#include "resources/accelerator_table.h"
#include "resources/menu_script.h"
#include "resources/menu_statement.h"
#include "resources/menu_template.h"
#include "resources/module_extract.h"
#include "resources/resource_directory.h"
#include "resources/string_block.h"
#include "tests/host/test_bytes.h"

namespace {

void Put(std::vector<uint8_t>& b, size_t at, uint32_t value, size_t width) {
  qm::test::PutLittleEndian(b, at, value, width);
}

// A PE32+ header whose one section, at RVA 0x1000, holds the input.
std::vector<uint8_t> ImageAround(const uint8_t* data, size_t size) {
  std::vector<uint8_t> file(0x200, 0);
  Put(file, 0, 0x5A4D, 2);
  Put(file, 0x3C, 0x40, 4);
  Put(file, 0x40, 0x4550, 4);
  Put(file, 0x44, 0x8664, 2);
  Put(file, 0x46, 1, 2);
  Put(file, 0x54, 240, 2);
  Put(file, 0x58, 0x20B, 2);
  Put(file, 0x58 + 60, 0x200, 4);
  Put(file, 0x58 + 108, 16, 4);
  Put(file, 0x58 + 128, 0x1000, 4);
  Put(file, 0x58 + 132, static_cast<uint32_t>(size), 4);
  const size_t section = 0x58 + 240;
  Put(file, section + 8, static_cast<uint32_t>(size), 4);
  Put(file, section + 12, 0x1000, 4);
  Put(file, section + 16, static_cast<uint32_t>(size), 4);
  Put(file, section + 20, 0x200, 4);
  file.insert(file.end(), data, data + size);
  return file;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const qm::ByteView input(data, size);
  (void)qm::DecodeStringBlock(input);
  if (auto menu = qm::ParseMenuTemplate(input)) {
    (void)qm::MenuScriptText(*menu);
    (void)qm::MenuStatementGap(*menu);
    (void)qm::MenuStatementText(*menu, qm::ResourceName::Number(1));
  }
  if (auto table = qm::ParseAcceleratorTable(input)) {
    (void)qm::AcceleratorScriptGap(*table);
    (void)qm::AcceleratorScriptText(*table, qm::ResourceName::String("KEYS"));
  }

  const std::vector<uint8_t> file = ImageAround(data, size);
  auto image = qm::PeImage::Parse(qm::ByteView(file));
  if (!image) return 0;
  auto directory = qm::ResourceDirectory::Parse(*image);
  if (!directory) return 0;
  (void)qm::ExtractModuleResources(*image, *directory, "fuzz.dll");
  for (const auto& type : directory->types()) {
    for (const auto& item : type.items) {
      auto bytes = directory->Load(*image, type.type, item.name);
      if (!bytes) continue;
      (void)qm::DecodeStringBlock(*bytes);
      (void)qm::ParseMenuTemplate(*bytes);
    }
  }
  return 0;
}
