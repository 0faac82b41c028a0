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
    // Only entries that lie in the section count towards the cap: a count
    // that runs past the end costs nothing and must not starve the rest.
    QM_TRY(entries, section_.sub(uint64_t{offset} + 16, count * 8));
    total_ += count;
    if (total_ > ResourceDirectory::kMaxEntries) return section_.error(ReadError::TooMany, offset);
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
    if (!Spend(2 * size_t{length})) return section_.error(ReadError::TooMany, offset);
    QM_TRY(units, ReadString16(section_, uint64_t{offset} + 2, length));
    return Utf16ToUtf8(units);
  }

  // Takes bytes from the budget of name text; false once it is spent.
  bool Spend(size_t bytes) {
    if (bytes > textLeft_) {
      textLeft_ = 0;
      return false;
    }
    textLeft_ -= bytes;
    return true;
  }

  const ByteView& section() const { return section_; }

 private:
  ByteView section_;
  std::set<uint32_t> visited_;
  uint64_t total_ = 0;
  size_t textLeft_ = ResourceDirectory::kMaxNameTextBytes;
};

// A name as a note carries it: strings cut to a few dozen bytes (at a
// character boundary) so that noting a damaged entry never copies a name
// the file made huge.
ResourceName NoteName(const ResourceName& name) {
  if (!name.isString || name.name.size() <= ResourceDamage::kMaxNoteNameBytes) return name;
  size_t cut = ResourceDamage::kMaxNoteNameBytes;
  while (cut > 0 && (static_cast<unsigned char>(name.name[cut]) & 0xC0) == 0x80) --cut;
  return ResourceName::String(name.name.substr(0, cut) + "...");
}

// The damage of one parse: the first damaged entry of each directory makes
// a note, the directory's later ones only count on it, and past
// kMaxDamageNotes notes damage is only counted.
class DamageLog {
 public:
  using Level = ResourceDamage::Level;

  DamageLog(std::vector<ResourceDamage>& notes, size_t& unlisted) : notes_(notes), unlisted_(unlisted) {}

  // A new directory at this level begins: its first damage makes a note.
  void Enter(Level level) { open_[Slot(level)] = kNone; }

  void Note(Level level, const ParseError& error, const ResourceName* type, const ResourceName* name = nullptr,
            std::optional<uint16_t> language = std::nullopt) {
    size_t& open = open_[Slot(level)];
    if (open == kUnlisted) {
      ++unlisted_;
      return;
    }
    if (open != kNone) {
      ++notes_[open].more;
      return;
    }
    if (notes_.size() >= ResourceDirectory::kMaxDamageNotes) {
      open = kUnlisted;
      ++unlisted_;
      return;
    }
    ResourceDamage damage{level, std::nullopt, std::nullopt, language, error, 0};
    if (type) damage.type = NoteName(*type);
    if (name) damage.name = NoteName(*name);
    notes_.push_back(std::move(damage));
    open = notes_.size() - 1;
  }

 private:
  static constexpr size_t kNone = SIZE_MAX;
  static constexpr size_t kUnlisted = SIZE_MAX - 1;
  static size_t Slot(Level level) { return static_cast<size_t>(level); }

  std::vector<ResourceDamage>& notes_;
  size_t& unlisted_;
  size_t open_[3] = {kNone, kNone, kNone};
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
  std::string directory;  // the directory that holds the damaged entry
  switch (damage.level) {
    case ResourceDamage::Level::Type:
      where = damage.type ? "type " + typeText(*damage.type) : "a resource type";
      directory = "the root directory";
      break;
    case ResourceDamage::Level::Name:
      where = typeText(*damage.type) + "/" + (damage.name ? damage.name->ToText() : "?");
      directory = "the " + typeText(*damage.type) + " directory";
      break;
    case ResourceDamage::Level::Language:
      where = typeText(*damage.type) + "/" + damage.name->ToText() + " language " +
              (damage.language ? std::to_string(*damage.language) : "?");
      directory = "the " + typeText(*damage.type) + "/" + damage.name->ToText() + " directory";
      break;
  }
  std::string text = "damaged resource directory: " + where + " left out (" + DescribeError(damage.error) + ")";
  if (damage.more == 1) text += ", and 1 more entry of " + directory;
  if (damage.more > 1) text += ", and " + std::to_string(damage.more) + " more entries of " + directory;
  return text;
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
  DamageLog damage(dir.damage_, dir.unlistedDamage_);

  QM_TRY(typeEntries, walker.ReadDirectory(0));
  damage.Enter(Level::Type);
  for (auto& t : typeEntries) {
    if (t.nameError) {
      damage.Note(Level::Type, *t.nameError, nullptr);
      continue;
    }
    if (!t.isDirectory) {
      damage.Note(Level::Type, section.error(ReadError::BadValue, t.offset), &t.name);
      continue;
    }
    auto nameEntries = walker.ReadDirectory(t.offset);
    if (!nameEntries) {
      damage.Note(Level::Type, nameEntries.error(), &t.name);
      continue;
    }
    damage.Enter(Level::Name);
    ResourceType type{std::move(t.name), {}};
    // Every resource of a type named by a string carries the type's name.
    const size_t typeText = type.type.isString ? type.type.name.size() : 0;
    for (auto& n : *nameEntries) {
      if (n.nameError || !n.isDirectory) {
        damage.Note(Level::Name, n.nameError ? *n.nameError : section.error(ReadError::BadValue, n.offset), &type.type,
                    n.nameError ? nullptr : &n.name);
        continue;
      }
      auto langEntries = walker.ReadDirectory(n.offset);
      if (!langEntries) {
        damage.Note(Level::Name, langEntries.error(), &type.type, &n.name);
        continue;
      }
      if (!walker.Spend(typeText)) {
        damage.Note(Level::Name, section.error(ReadError::TooMany, n.offset), &type.type, &n.name);
        continue;
      }
      damage.Enter(Level::Language);
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
          damage.Note(Level::Language, *error, &type.type, &item.name, language);
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
  dir.BuildIndex();
  return dir;
}

ResourceDirectory::LookupKey ResourceDirectory::KeyOf(const ResourceName& name) {
  if (!name.isString) return "#" + std::to_string(name.id);
  LookupKey key = "$" + name.name;
  for (size_t i = 1; i < key.size(); ++i)
    if (key[i] >= 'a' && key[i] <= 'z') key[i] = static_cast<char>(key[i] - 32);
  return key;
}

void ResourceDirectory::BuildIndex() {
  typeIndex_.clear();
  itemIndexes_.assign(types_.size(), {});
  for (size_t t = 0; t < types_.size(); ++t) {
    // The first of equal names wins, as a search from the start finds it.
    typeIndex_.emplace(KeyOf(types_[t].type), t);
    auto& items = itemIndexes_[t];
    items.reserve(types_[t].items.size());
    for (size_t i = 0; i < types_[t].items.size(); ++i) items.emplace(KeyOf(types_[t].items[i].name), i);
  }
}

const ResourceType* ResourceDirectory::FindType(const ResourceName& type) const {
  const auto found = typeIndex_.find(KeyOf(type));
  return found == typeIndex_.end() ? nullptr : &types_[found->second];
}

const ResourceItem* ResourceDirectory::Find(const ResourceName& type, const ResourceName& name) const {
  const auto t = typeIndex_.find(KeyOf(type));
  if (t == typeIndex_.end()) return nullptr;
  const auto& items = itemIndexes_[t->second];
  const auto found = items.find(KeyOf(name));
  return found == items.end() ? nullptr : &types_[t->second].items[found->second];
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
