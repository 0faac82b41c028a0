#pragma once
// The resource directory of a PE image: types, names and languages in the
// order the directory stores them (named entries, then numbered ones), which
// is also the order in which the platform enumerates them.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "headers/pe_image.h"

namespace qm {

// A resource type or name: a number below 0x10000, or a string.
struct ResourceName {
  bool isString = false;
  uint16_t id = 0;
  std::string name;  // UTF-8

  static ResourceName Number(uint16_t value) { return {false, value, {}}; }
  static ResourceName String(std::string text) { return {true, 0, std::move(text)}; }
  // Names compare case-insensitively in ASCII, as the platform's lookup does.
  bool Matches(const ResourceName& other) const;
  // "#12" style for numbers, the text for strings.
  std::string ToText() const;
};

struct ResourceLanguage {
  uint16_t language = 0;
  uint32_t dataRva = 0;
  uint32_t size = 0;
  uint32_t codePage = 0;
};

struct ResourceItem {
  ResourceName name;
  std::vector<ResourceLanguage> languages;
  // The data used for this name: the user's UI language (0: none known),
  // else neutral, else 0x0409, else the first stored (resource_language.h).
  const ResourceLanguage* Preferred(uint16_t uiLanguage = 0) const;
};

struct ResourceType {
  ResourceName type;
  std::vector<ResourceItem> items;
};

// A part of the tree that could not be read and is left out: one type (its
// directory of names), one name (its directory of languages) or one
// language (its data entry). The parts above it are known; its own name is
// unknown when that too cannot be read. A damaged directory often holds
// thousands of bad entries: the first one is noted, the others of the same
// directory only counted in `more`. Names in a note are cut to
// kMaxNoteNameBytes so a note stays small whatever the file holds.
struct ResourceDamage {
  enum class Level { Type, Name, Language };
  static constexpr size_t kMaxNoteNameBytes = 64;

  Level level = Level::Type;
  std::optional<ResourceName> type;
  std::optional<ResourceName> name;
  std::optional<uint16_t> language;
  ParseError error;
  size_t more = 0;  // further entries of the same directory left out
};

// "type RT_ICON", "RT_ICON/#3", "RT_ICON/#3 language 1033" and what is
// wrong, with the count of the directory's other damaged entries, for a
// warning line.
std::string DescribeDamage(const ResourceDamage& damage);

class ResourceDirectory {
 public:
  // Caps: the tree has three levels; a directory holds at most 65535 entries
  // of each kind by format; all levels together at most kMaxEntries. The
  // largest real modules hold a few thousand; a damaged count in a large
  // section can claim millions, and walking each costs time.
  static constexpr size_t kMaxEntries = 1u << 18;
  static constexpr size_t kMaxNameChars = 0xFFFF;
  // The text of names read, and carried by every resource of a type named
  // by a string, all together. Real modules hold a few kilobytes; past this
  // a name is refused as damaged, so a file whose entries all point at one
  // long name costs no more than this.
  static constexpr size_t kMaxNameTextBytes = size_t{1} << 22;
  // Notes past this many are only counted (unlistedDamage).
  static constexpr size_t kMaxDamageNotes = 32;

  // A module without a resource directory parses as empty. Only a root that
  // cannot be read fails; anything damaged below it is left out and noted.
  static Result<ResourceDirectory> Parse(const PeImage& image);

  const std::vector<ResourceType>& types() const { return types_; }
  const std::vector<ResourceDamage>& damage() const { return damage_; }
  // Damaged entries left out beyond the notes in damage(), named nowhere.
  size_t unlistedDamage() const { return unlistedDamage_; }
  // The first type (and within it the first name) that matches, as the
  // platform's lookup finds it; constant time whatever the directory holds.
  const ResourceType* FindType(const ResourceName& type) const;
  const ResourceItem* Find(const ResourceName& type, const ResourceName& name) const;
  // The bytes of one resource (its preferred language).
  Result<ByteView> Load(const PeImage& image, const ResourceName& type, const ResourceName& name) const;
  // The user's UI language that Load prefers; 0 (the default) for none.
  void SetUiLanguage(uint16_t language) { uiLanguage_ = language; }
  uint16_t UiLanguage() const { return uiLanguage_; }
  static Result<ByteView> Data(const PeImage& image, const ResourceLanguage& language);

 private:
  // A name as the lookup compares it: numbers by value, strings with ASCII
  // letters upper-cased.
  using LookupKey = std::string;
  static LookupKey KeyOf(const ResourceName& name);
  void BuildIndex();

  std::vector<ResourceType> types_;
  std::vector<ResourceDamage> damage_;
  size_t unlistedDamage_ = 0;
  std::unordered_map<LookupKey, size_t> typeIndex_;                 // key -> index in types_
  std::vector<std::unordered_map<LookupKey, size_t>> itemIndexes_;  // per type: key -> index in items
  uint16_t uiLanguage_ = 0;
};

}  // namespace qm
