#pragma once
// The program's string table compiled into the portable build (the Windows
// build has the same texts as resources, from the same source).

#include <cstdint>
#include <string_view>

namespace qm {

// The text of a string ID, or nullptr when the table has none.
const char* FindBuiltinString(uint32_t id);

}  // namespace qm
