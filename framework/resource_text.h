#pragma once
// A string of the string table of the module the windows' resources come
// from (ResourceInstance), in UTF-8; empty when it has none.

#include <cstdint>
#include <string>

namespace qm::fw {

std::string ResourceText(uint32_t id);

}  // namespace qm::fw
