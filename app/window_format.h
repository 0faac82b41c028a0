#pragma once
// How window values read in the property tree: handles and pointer-sized
// values as "[0x%08x]" (more digits only when a 64-bit value needs them),
// "NULL" for 0; rectangles with the string-table format of their four edges.

#include <cstdint>
#include <string>

#include "platform/system.h"
#include "platform/windows.h"

namespace qm {

std::string FormatHandle(uint64_t value);
std::string FormatRect(const IStrings& strings, const Rect& rect);

}  // namespace qm
