#include "resources/resource_directory.h"

#include <set>

#include "common/text.h"

namespace qm {

namespace {

constexpr uint32_t kHighBit = 0x80000000u;

struct RawEntry {
  ResourceName name;
  bool isDirectory;
  uint32_t offset;  // from the start of the resource section
};

class DirectoryWalker {
 public:
  explicit DirectoryWalker(ByteView section) : section_(section) {}

  Result<std::vector<RawEntry>> ReadDirectory(uint32_t offset) {
    if (!visited_.insert(offset).second) return section_.error(ReadError::Loop, offset);
    QM_TRY(header, section_.sub(offset, 16));
    const uint32_t named = header.get<uint16_t>(12);
    const uint32_t numbered = header.get<uint16_t>(14);
    const uint64_t count = uint64_t{named} + numbered;
    total_ += count;
    if (total_ > ResourceDirectory::kMaxEntries) return section_.error(ReadError::TooMany, offset);
    QM_TRY(entries, section_.sub(uint64_t{offset} + 16, count * 8));
    std::vector<RawEntry> out;
    out.reserve(static_cast<size_t>(count));
    for (uint64_t i = 0; i < count; ++i) {
      const uint32_t nameField = entries.get<uint32_t>(8 * i);
      const uint32_t target = entries.get<uint32_t>(8 * i + 4);
      RawEntry e{};
      if (nameField & kHighBit) {
        QM_TRY(text, ReadName(nameField & ~kHighBit));
        e.name = ResourceName::String(std::move(text));
      } else {
        if (nameField > 0xFFFF) return section_.error(ReadError::BadValue, entries.base() + 8 * i);
        e.name = ResourceName::Number(static_cast<uint16_t>(nameField));
      }
      e.isDirectory = (target & kHighBit) != 0;
      e.offset = target & ~kHighBit;
      out.push_back(std::move(e));
    }
    return out;
  }

  Result<std::string> ReadName(uint32_t offset) {
    QM_TRY(length, section_.u16(offset));
    QM_TRY(units, ReadString16(section_, uint64_t{offset} + 2, length));
    return Utf16ToUtf8(units);
  }

  const ByteView& section() const { return section_; }

 private:
  ByteView section_;
  std::set<uint32_t> visited_;
  uint64_t total_ = 0;
};

}  // namespace

bool ResourceName::Matches(const ResourceName& other) const {
  if (isString != other.isString) return false;
  if (!isString) return id == other.id;
  if (name.size() != other.name.size()) return false;
  for (size_t i = 0; i < name.size(); ++i) {
    auto a = static_cast<unsigned char>(name[i]), b = static_cast<unsigned char>(other.name[i]);
    if (a >= 'a' && a <= 'z') a = static_cast<unsigned char>(a - 32);
    if (b >= 'a' && b <= 'z') b = static_cast<unsigned char>(b - 32);
    if (a != b) return false;
  }
  return true;
}

std::string ResourceName::ToText() const { return isString ? name : "#" + std::to_string(id); }

const ResourceLanguage* ResourceItem::Preferred() const {
  if (languages.empty()) return nullptr;
  for (uint16_t wanted : {uint16_t{0}, uint16_t{0x0409}})
    for (const auto& l : languages)
      if (l.language == wanted) return &l;
  return &languages.front();
}

Result<ResourceDirectory> ResourceDirectory::Parse(const PeImage& image) {
  ResourceDirectory dir;
  const ImageDataDirectory* entry = image.DirectoryEntry(IMAGE_DIRECTORY_ENTRY_RESOURCE);
  if (!entry || entry->VirtualAddress == 0) return dir;
  // Offsets inside the tree are relative to the directory's start; the tree
  // may run to the end of its section whatever the stated size.
  QM_TRY(section, image.RvaToEnd(entry->VirtualAddress));
  DirectoryWalker walker(section);

  QM_TRY(typeEntries, walker.ReadDirectory(0));
  for (auto& t : typeEntries) {
    if (!t.isDirectory) return section.error(ReadError::BadValue, t.offset);
    ResourceType type{std::move(t.name), {}};
    QM_TRY(nameEntries, walker.ReadDirectory(t.offset));
    for (auto& n : nameEntries) {
      if (!n.isDirectory) return section.error(ReadError::BadValue, n.offset);
      ResourceItem item{std::move(n.name), {}};
      QM_TRY(langEntries, walker.ReadDirectory(n.offset));
      for (auto& l : langEntries) {
        // A fourth level is not part of the format.
        if (l.isDirectory || l.name.isString) return section.error(ReadError::TooDeep, l.offset);
        QM_TRY(data, section.sub(l.offset, 16));
        item.languages.push_back(
            ResourceLanguage{l.name.id, data.get<uint32_t>(0), data.get<uint32_t>(4), data.get<uint32_t>(8)});
      }
      type.items.push_back(std::move(item));
    }
    dir.types_.push_back(std::move(type));
  }
  return dir;
}

const ResourceType* ResourceDirectory::FindType(const ResourceName& type) const {
  for (const auto& t : types_)
    if (t.type.Matches(type)) return &t;
  return nullptr;
}

const ResourceItem* ResourceDirectory::Find(const ResourceName& type, const ResourceName& name) const {
  const ResourceType* t = FindType(type);
  if (!t) return nullptr;
  for (const auto& item : t->items)
    if (item.name.Matches(name)) return &item;
  return nullptr;
}

Result<ByteView> ResourceDirectory::Data(const PeImage& image, const ResourceLanguage& language) {
  return image.RvaView(language.dataRva, language.size);
}

Result<ByteView> ResourceDirectory::Load(const PeImage& image, const ResourceName& type,
                                         const ResourceName& name) const {
  const ResourceItem* item = Find(type, name);
  const ResourceLanguage* language = item ? item->Preferred() : nullptr;
  if (!language) return image.file().error(ReadError::NotFound, 0);
  return Data(image, *language);
}

}  // namespace qm
