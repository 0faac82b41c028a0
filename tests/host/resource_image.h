#pragma once
// Minimal PE32+ images built byte by byte for the resource reader's tests:
// one section (.rsrc at RVA 0x1000, file offset 0x200) holding a resource
// directory laid out as a resource compiler lays it out.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "headers/pe_image.h"
#include "resources/resource_directory.h"
#include "tests/host/test_bytes.h"

namespace qm::test {

constexpr uint32_t kSectionRva = 0x1000;
constexpr size_t kSectionFileOffset = 0x200;

// The headers of an image whose only section holds `section`.
inline std::vector<uint8_t> ImageWithSection(const std::vector<uint8_t>& section) {
  std::vector<uint8_t> file(kSectionFileOffset, 0);
  Put16(file, 0, 0x5A4D);
  Put32(file, 0x3C, 0x40);
  Put32(file, 0x40, 0x00004550);
  const size_t fh = 0x44;
  Put16(file, fh, 0x8664);
  Put16(file, fh + 2, 1);
  Put16(file, fh + 16, 112 + 16 * 8);
  Put16(file, fh + 18, 0x2022);
  const size_t oh = fh + 20;
  Put16(file, oh, 0x20B);
  Put32(file, oh + 32, 0x1000);
  Put32(file, oh + 36, 0x200);
  Put32(file, oh + 56, kSectionRva + static_cast<uint32_t>((section.size() + 0xFFF) & ~size_t{0xFFF}));
  Put32(file, oh + 60, 0x200);
  Put32(file, oh + 108, 16);
  Put32(file, oh + 112 + 8 * 2, kSectionRva);
  Put32(file, oh + 112 + 8 * 2 + 4, static_cast<uint32_t>(section.size()));
  const size_t st = oh + 112 + 16 * 8;
  const char name[] = ".rsrc";
  for (size_t i = 0; i < 5; ++i) file[st + i] = static_cast<uint8_t>(name[i]);
  Put32(file, st + 8, static_cast<uint32_t>(section.size()));
  Put32(file, st + 12, kSectionRva);
  Put32(file, st + 16, static_cast<uint32_t>(section.size()));
  Put32(file, st + 20, static_cast<uint32_t>(kSectionFileOffset));
  file.insert(file.end(), section.begin(), section.end());
  return file;
}

struct TestResource {
  ResourceName type;
  ResourceName name;
  uint16_t language = 0;
  std::vector<uint8_t> data;
};

// A resource section for resources given grouped by type and name, in the
// order the directory is to store them (named entries first, as compilers do).
inline std::vector<uint8_t> ResourceSection(const std::vector<TestResource>& resources) {
  struct Lang {
    uint16_t id;
    size_t resource;
  };
  struct Name {
    ResourceName name;
    std::vector<Lang> langs;
  };
  struct Type {
    ResourceName type;
    std::vector<Name> names;
  };
  std::vector<Type> types;
  for (size_t i = 0; i < resources.size(); ++i) {
    const auto& r = resources[i];
    if (types.empty() || !types.back().type.Matches(r.type)) types.push_back({r.type, {}});
    auto& names = types.back().names;
    if (names.empty() || !names.back().name.Matches(r.name)) names.push_back({r.name, {}});
    names.back().langs.push_back({r.language, i});
  }
  // Directories first, then data entries, then names, then data.
  size_t dirBytes = 16 + 8 * types.size();
  for (const auto& t : types) {
    dirBytes += 16 + 8 * t.names.size();
    for (const auto& n : t.names) dirBytes += 16 + 8 * n.langs.size();
  }
  const size_t dataEntries = dirBytes;
  size_t namesAt = dataEntries + 16 * resources.size();
  std::vector<uint8_t> s(namesAt, 0);
  auto nameField = [&](const ResourceName& name) -> uint32_t {
    if (!name.isString) return name.id;
    const uint32_t at = static_cast<uint32_t>(s.size());
    Append16(s, static_cast<uint32_t>(name.name.size()));
    AppendAscii16(s, name.name);
    return 0x80000000u | at;
  };
  auto directory = [&](size_t at, size_t named, size_t numbered) {
    Put16(s, at + 12, static_cast<uint32_t>(named));
    Put16(s, at + 14, static_cast<uint32_t>(numbered));
  };
  auto countNamed = [](const auto& list, auto key) {
    size_t n = 0;
    for (const auto& e : list) n += key(e).isString ? 1 : 0;
    return n;
  };
  size_t next = 16 + 8 * types.size();
  directory(0, countNamed(types, [](const Type& t) { return t.type; }),
            types.size() - countNamed(types, [](const Type& t) { return t.type; }));
  for (size_t ti = 0; ti < types.size(); ++ti) {
    const auto& t = types[ti];
    const size_t typeDir = next;
    next += 16 + 8 * t.names.size();
    Put32(s, 16 + 8 * ti, nameField(t.type));
    Put32(s, 16 + 8 * ti + 4, 0x80000000u | static_cast<uint32_t>(typeDir));
    const size_t namedNames = countNamed(t.names, [](const Name& n) { return n.name; });
    directory(typeDir, namedNames, t.names.size() - namedNames);
    for (size_t ni = 0; ni < t.names.size(); ++ni) {
      const auto& n = t.names[ni];
      const size_t nameDir = next;
      next += 16 + 8 * n.langs.size();
      Put32(s, typeDir + 16 + 8 * ni, nameField(n.name));
      Put32(s, typeDir + 16 + 8 * ni + 4, 0x80000000u | static_cast<uint32_t>(nameDir));
      directory(nameDir, 0, n.langs.size());
      for (size_t li = 0; li < n.langs.size(); ++li) {
        Put32(s, nameDir + 16 + 8 * li, n.langs[li].id);
        Put32(s, nameDir + 16 + 8 * li + 4, static_cast<uint32_t>(dataEntries + 16 * n.langs[li].resource));
      }
    }
  }
  for (size_t i = 0; i < resources.size(); ++i) {
    while (s.size() % 4) s.push_back(0);
    Put32(s, dataEntries + 16 * i, kSectionRva + static_cast<uint32_t>(s.size()));
    Put32(s, dataEntries + 16 * i + 4, static_cast<uint32_t>(resources[i].data.size()));
    s.insert(s.end(), resources[i].data.begin(), resources[i].data.end());
  }
  return s;
}

// A module's bytes with its headers and resource directory read from them
// (they point into the bytes, so the three live together); null when
// either does not parse.
struct Module {
  std::vector<uint8_t> bytes;
  std::optional<PeImage> image;
  std::optional<ResourceDirectory> resources;
};

inline std::unique_ptr<Module> OpenModule(std::vector<uint8_t> bytes) {
  auto module = std::make_unique<Module>();
  module->bytes = std::move(bytes);
  auto image = PeImage::Parse(ByteView(module->bytes));
  if (!image) return nullptr;
  module->image = *image;
  auto resources = ResourceDirectory::Parse(*module->image);
  if (!resources) return nullptr;
  module->resources = *resources;
  return module;
}

}  // namespace qm::test
