#include "resources/resource_language.h"

namespace qm {

namespace {

template <typename Matches>
const ResourceLanguage* FirstWhere(std::span<const ResourceLanguage> languages, Matches matches) {
  for (const ResourceLanguage& language : languages)
    if (matches(language.language)) return &language;
  return nullptr;
}

}  // namespace

const ResourceLanguage* ChooseResourceLanguage(std::span<const ResourceLanguage> languages, uint16_t uiLanguage) {
  if (languages.empty()) return nullptr;
  const uint16_t uiPrimary = PrimaryLanguage(uiLanguage);
  if (uiPrimary != kLanguageNeutral) {
    if (auto* own = FirstWhere(languages, [&](uint16_t id) { return id == uiLanguage; })) return own;
    if (auto* kin = FirstWhere(languages, [&](uint16_t id) { return PrimaryLanguage(id) == uiPrimary; })) return kin;
  }
  // Neutral with any sublanguage (user default, system default) counts.
  if (auto* neutral = FirstWhere(languages, [](uint16_t id) { return id == kLanguageNeutral; })) return neutral;
  if (auto* neutral = FirstWhere(languages, [](uint16_t id) { return PrimaryLanguage(id) == kLanguageNeutral; }))
    return neutral;
  if (auto* english = FirstWhere(languages, [](uint16_t id) { return id == kLanguageEnglishUs; })) return english;
  return &languages.front();
}

}  // namespace qm
