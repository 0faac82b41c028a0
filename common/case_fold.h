#pragma once
// Unicode's simple case folding: each character to the one it matches
// case-insensitively, whatever its script (Latin, Greek, Cyrillic,
// Armenian, Georgian, Cherokee, Deseret, full-width forms...). The same on
// every platform, so that searches behave alike wherever no locale-aware
// folding of the system is at hand.

#include <cstdint>
#include <string>
#include <string_view>

namespace qm {

char32_t SimpleCaseFold(char32_t c);
// Invalid UTF-8 becomes U+FFFD, as the other conversions do.
std::string SimpleCaseFold(std::string_view utf8);

}  // namespace qm
