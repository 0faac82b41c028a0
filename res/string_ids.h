#pragma once
// Names of the string-table entries that the code asks for, generated from
// the one source of the texts (res/strings.inc): each
// QM_NAMED_STRING(IDS_NAME, id, "text") there becomes IDS_NAME = id here.

#include <cstdint>

namespace qm {

#define QM_STRING(id, text)
#define QM_NAMED_STRING(name, id, text) inline constexpr uint32_t name = id;
#include "res/strings.inc"
#undef QM_NAMED_STRING
#undef QM_STRING

}  // namespace qm
