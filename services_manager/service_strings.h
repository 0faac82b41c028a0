#pragma once
// Names of the services manager's strings (services_manager/strings.inc).

#include <cstdint>

namespace qm::services {

#define QM_STRING(id, text)
#define QM_NAMED_STRING(name, id, text) inline constexpr uint32_t name = id;
#include "services_manager/strings.inc"
#undef QM_NAMED_STRING
#undef QM_STRING

}  // namespace qm::services
