#pragma once
// Numbers as the program shows them: thousands grouped by "." and decimals
// after ",", whatever the machine's locale.

#include <cstdint>
#include <string>

namespace qm {

// 1234567 → "1.234.567".
std::string FormatNumber(uint64_t value);
// 1234.5 with 2 decimals → "1.234,50"; rounded half away from zero.
std::string FormatNumber(double value, int decimals);

}  // namespace qm
