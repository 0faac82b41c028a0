#pragma once
// The counts the list dialogs show under their lists.

#include <cstdint>
#include <string>

namespace qm {

// "%d %s" of a count and the string-table text after it.
std::wstring CountText(int count, uint32_t stringId);

}  // namespace qm
