#pragma once
// Which of a resource's languages the program shows: the user's own, else
// a neutral one, else US English, else the first stored. A Spanish user of
// a module that holds Spanish and English string tables sees the Spanish.

#include <cstdint>
#include <span>

#include "resources/resource_directory.h"

namespace qm {

constexpr uint16_t kLanguageNeutral = 0x0000;
constexpr uint16_t kLanguageEnglishUs = 0x0409;

// The primary language of a LANGID: its low ten bits.
constexpr uint16_t PrimaryLanguage(uint16_t language) { return language & 0x03FF; }

// uiLanguage 0 means none is known (the command line on Linux): the choice
// then starts at the neutral language. The user's own language is matched
// exactly first, then by its primary language (Spanish of Mexico for a user
// in Spain before English). Null only for an empty list.
const ResourceLanguage* ChooseResourceLanguage(std::span<const ResourceLanguage> languages, uint16_t uiLanguage);

}  // namespace qm
