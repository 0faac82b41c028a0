#pragma once
// English names of language IDs, as the platform gives them, for the
// backends that have no language database of their own.

#include <cstdint>
#include <string>

namespace qm {

// "English (United States)" for 0x0409; "Unknown language" for an ID the
// table does not hold.
std::string EnglishLanguageName(uint16_t languageId);

}  // namespace qm
