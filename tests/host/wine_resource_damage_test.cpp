// Five of Wine's modules with every byte of their resource directories
// damaged in turn (entry counts, offsets, names, data entries): the module
// fails as a whole only when the root directory itself cannot be read, and
// reading everything that is left never crashes or hangs.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "headers/pe_image.h"
#include "resources/icon_group.h"
#include "resources/resource_types.h"
#include "resources/string_block.h"

namespace qm {
namespace {

namespace fs = std::filesystem;

#if defined(__SANITIZE_ADDRESS__)
// Under AddressSanitizer a parse costs a hundred times more: one byte in
// eight, the position within each 8-byte entry moving along, so every field
// is still damaged somewhere.
constexpr size_t kStride = 8;
#else
constexpr size_t kStride = 1;
#endif

// The offsets (from the directory's start) of every byte that belongs to
// the tree: directory headers and entries, string names, data entries.
std::vector<uint32_t> TreeBytes(const ByteView& section, uint32_t& rootEnd) {
  std::set<uint32_t> bytes;
  auto add = [&](uint32_t at, uint32_t size) {
    for (uint32_t i = 0; i < size; ++i) bytes.insert(at + i);
  };
  auto walk = [&](auto&& self, uint32_t dir, int level) -> void {
    const uint32_t count = uint32_t{section.get<uint16_t>(dir + 12)} + section.get<uint16_t>(dir + 14);
    add(dir, 16 + 8 * count);
    if (level == 0) rootEnd = 16 + 8 * count;
    for (uint32_t i = 0; i < count; ++i) {
      const uint32_t name = section.get<uint32_t>(dir + 16 + 8 * i);
      const uint32_t target = section.get<uint32_t>(dir + 16 + 8 * i + 4);
      if (name & 0x80000000u) add(name & 0x7FFFFFFFu, 2 + 2u * section.get<uint16_t>(name & 0x7FFFFFFFu));
      if (target & 0x80000000u)
        self(self, target & 0x7FFFFFFFu, level + 1);
      else
        add(target, 16);
    }
  };
  walk(walk, 0, 0);
  return {bytes.begin(), bytes.end()};
}

// Reads everything the browser would read of what is left.
size_t ReadAll(const PeImage& image, const ResourceDirectory& directory) {
  size_t read = 0;
  for (const ResourceType& type : directory.types()) {
    for (const ResourceItem& item : type.items) {
      auto data = directory.Load(image, type.type, item.name);
      if (!data) continue;
      read += data->size();
      if (type.type.isString) continue;
      if (type.type.id == kRtGroupIcon || type.type.id == kRtGroupCursor) {
        const auto kind = type.type.id == kRtGroupIcon ? IconGroupKind::Icon : IconGroupKind::Cursor;
        if (auto images = ReadIconGroup(image, directory, kind, item.name)) read += images->size();
      } else if (type.type.id == kRtString) {
        if (auto strings = DecodeStringBlock(*data)) read += strings->size();
      }
    }
  }
  return read;
}

TEST(WineModules, EveryByteOfFiveResourceDirectoriesDamagedInTurn) {
  const fs::path folder = "/usr/lib/x86_64-linux-gnu/wine/x86_64-windows";
  if (!fs::is_directory(folder)) GTEST_SKIP() << "Wine is not installed";
  for (const char* name : {"notepad.exe", "comctl32.dll", "winedbg.exe", "wininet.dll", "ieframe.dll"}) {
    SCOPED_TRACE(name);
    std::ifstream in(folder / name, std::ios::binary);
    std::vector<uint8_t> file{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    auto image = PeImage::Parse(ByteView(file));
    ASSERT_TRUE(image);
    const ImageDataDirectory* entry = image->DirectoryEntry(IMAGE_DIRECTORY_ENTRY_RESOURCE);
    ASSERT_TRUE(entry && entry->VirtualAddress);
    auto section = image->RvaToEnd(entry->VirtualAddress);
    ASSERT_TRUE(section);
    const auto intact = ResourceDirectory::Parse(*image);
    ASSERT_TRUE(intact);
    ASSERT_TRUE(intact->damage().empty());

    uint32_t rootEnd = 0;
    const std::vector<uint32_t> offsets = TreeBytes(*section, rootEnd);
    const uint64_t sectionStart = section->base();
    size_t wholeFailures = 0;
    for (size_t index = 0; index < offsets.size(); ++index) {
      if (index % kStride != (index / kStride) % kStride && offsets[index] >= rootEnd) continue;
      const uint32_t offset = offsets[index];
      uint8_t& byte = file[sectionStart + offset];
      const uint8_t saved = byte;
      byte = static_cast<uint8_t>(~saved);  // flips a count high, an offset past the end or back
      auto damaged = ResourceDirectory::Parse(*image);
      if (!damaged) {
        EXPECT_LT(offset, rootEnd) << "offset " << offset;
        ++wholeFailures;
      } else {
        ReadAll(*image, *damaged);
      }
      byte = saved;
    }
    EXPECT_GT(offsets.size(), rootEnd);
    EXPECT_LE(wholeFailures, size_t{rootEnd});
  }
}

}  // namespace
}  // namespace qm
