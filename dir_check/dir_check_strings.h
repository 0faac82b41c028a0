#pragma once
// Names of the directory check's strings (dir_check/strings.inc).

#include <cstdint>

namespace qm::dircheck {

#define QM_STRING(id, text)
#define QM_NAMED_STRING(name, id, text) inline constexpr uint32_t name = id;
#include "dir_check/strings.inc"
#undef QM_NAMED_STRING
#undef QM_STRING

}  // namespace qm::dircheck
