#pragma once
// The resource directory of a PE image: types, names and languages in the
// order the directory stores them (named entries, then numbered ones), which
// is also the order in which the platform enumerates them.

#include <cstdint>
#include <optional>
#include <string>
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
// unknown when that too cannot be read.
struct ResourceDamage {
  enum class Level { Type, Name, Language };
  Level level = Level::Type;
  std::optional<ResourceName> type;
  std::optional<ResourceName> name;
  std::optional<uint16_t> language;
  ParseError error;
};

// "the RT_ICON directory", "RT_ICON/#3", "RT_ICON/#3 language 1033" and what
// is wrong, for a warning line.
std::string DescribeDamage(const ResourceDamage& damage);

class ResourceDirectory {
 public:
  // Caps: the tree has three levels; a directory holds at most 65535 entries
  // of each kind by format; all levels together at most kMaxEntries.
  static constexpr size_t kMaxEntries = 1u << 20;
  static constexpr size_t kMaxNameChars = 0xFFFF;

  // A module without a resource directory parses as empty. Only a root that
  // cannot be read fails; anything damaged below it is left out and noted.
  static Result<ResourceDirectory> Parse(const PeImage& image);

  const std::vector<ResourceType>& types() const { return types_; }
  const std::vector<ResourceDamage>& damage() const { return damage_; }
  const ResourceType* FindType(const ResourceName& type) const;
  const ResourceItem* Find(const ResourceName& type, const ResourceName& name) const;
  // The bytes of one resource (its preferred language).
  Result<ByteView> Load(const PeImage& image, const ResourceName& type, const ResourceName& name) const;
  // The user's UI language that Load prefers; 0 (the default) for none.
  void SetUiLanguage(uint16_t language) { uiLanguage_ = language; }
  uint16_t UiLanguage() const { return uiLanguage_; }
  static Result<ByteView> Data(const PeImage& image, const ResourceLanguage& language);

 private:
  std::vector<ResourceType> types_;
  std::vector<ResourceDamage> damage_;
  uint16_t uiLanguage_ = 0;
};

}  // namespace qm
