#include "resources/resource_directory.h"

#include <set>

#include "common/text.h"
#include "resources/resource_language.h"
#include "resources/resource_types.h"

namespace qm {

namespace {

constexpr uint32_t kHighBit = 0x80000000u;

struct RawEntry {
  ResourceName name;
  std::optional<ParseError> nameError;  // the name could not be read
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
      // A name that cannot be read costs only its own entry.
      if (nameField & kHighBit) {
        auto text = ReadName(nameField & ~kHighBit);
        if (text)
          e.name = ResourceName::String(std::move(text).value());
        else
          e.nameError = text.error();
      } else if (nameField > 0xFFFF) {
        e.nameError = section_.error(ReadError::BadValue, entries.base() + 8 * i);
      } else {
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

std::string DescribeDamage(const ResourceDamage& damage) {
  auto typeText = [](const ResourceName& type) {
    if (!type.isString)
      if (const ResourceTypeInfo* info = FindResourceType(type.id)) return std::string(info->rtName);
    return type.ToText();
  };
  std::string where;
  switch (damage.level) {
    case ResourceDamage::Level::Type:
      where = damage.type ? "type " + typeText(*damage.type) : "a resource type";
      break;
    case ResourceDamage::Level::Name:
      where = typeText(*damage.type) + "/" + (damage.name ? damage.name->ToText() : "?");
      break;
    case ResourceDamage::Level::Language:
      where = typeText(*damage.type) + "/" + damage.name->ToText() + " language " +
              (damage.language ? std::to_string(*damage.language) : "?");
      break;
  }
  return "damaged resource directory: " + where + " left out (" + DescribeError(damage.error) + ")";
}

const ResourceLanguage* ResourceItem::Preferred(uint16_t uiLanguage) const {
  return ChooseResourceLanguage(languages, uiLanguage);
}

Result<ResourceDirectory> ResourceDirectory::Parse(const PeImage& image) {
  ResourceDirectory dir;
  const ImageDataDirectory* entry = image.DirectoryEntry(IMAGE_DIRECTORY_ENTRY_RESOURCE);
  if (!entry || entry->VirtualAddress == 0) return dir;
  // Offsets inside the tree are relative to the directory's start; the tree
  // may run to the end of its section whatever the stated size.
  QM_TRY(section, image.RvaToEnd(entry->VirtualAddress));
  DirectoryWalker walker(section);
  using Level = ResourceDamage::Level;
  auto note = [&dir](Level level, const ParseError& error, std::optional<ResourceName> type,
                     std::optional<ResourceName> name = std::nullopt, std::optional<uint16_t> language = std::nullopt) {
    dir.damage_.push_back(ResourceDamage{level, std::move(type), std::move(name), language, error});
  };

  QM_TRY(typeEntries, walker.ReadDirectory(0));
  for (auto& t : typeEntries) {
    if (t.nameError) {
      note(Level::Type, *t.nameError, std::nullopt);
      continue;
    }
    if (!t.isDirectory) {
      note(Level::Type, section.error(ReadError::BadValue, t.offset), t.name);
      continue;
    }
    auto nameEntries = walker.ReadDirectory(t.offset);
    if (!nameEntries) {
      note(Level::Type, nameEntries.error(), t.name);
      continue;
    }
    ResourceType type{t.name, {}};
    for (auto& n : *nameEntries) {
      if (n.nameError || !n.isDirectory) {
        note(Level::Name, n.nameError ? *n.nameError : section.error(ReadError::BadValue, n.offset), type.type,
             n.nameError ? std::nullopt : std::optional<ResourceName>(n.name));
        continue;
      }
      auto langEntries = walker.ReadDirectory(n.offset);
      if (!langEntries) {
        note(Level::Name, langEntries.error(), type.type, n.name);
        continue;
      }
      ResourceItem item{std::move(n.name), {}};
      bool languageDamaged = false;
      for (auto& l : *langEntries) {
        const std::optional<uint16_t> language = l.nameError ? std::nullopt : std::optional<uint16_t>(l.name.id);
        // A fourth level is not part of the format.
        std::optional<ParseError> error = l.nameError;
        if (!error && (l.isDirectory || l.name.isString)) error = section.error(ReadError::TooDeep, l.offset);
        auto data = section.sub(l.offset, 16);
        if (!error && !data) error = data.error();
        if (error) {
          note(Level::Language, *error, type.type, item.name, language);
          languageDamaged = true;
          continue;
        }
        item.languages.push_back(
            ResourceLanguage{l.name.id, data->get<uint32_t>(0), data->get<uint32_t>(4), data->get<uint32_t>(8)});
      }
      // A name whose every language is damaged has nothing left to show.
      if (languageDamaged && item.languages.empty()) continue;
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
  const ResourceLanguage* language = item ? item->Preferred(uiLanguage_) : nullptr;
  if (!language) return image.file().error(ReadError::NotFound, 0);
  return Data(image, *language);
}

}  // namespace qm
