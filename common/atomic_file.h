#pragma once
// Writing an export file without ever losing what was there: the bytes go to
// a temporary file beside the target, which then replaces the target in one
// step. A failed write leaves an existing file untouched.

#include <cstdint>
#include <string>
#include <string_view>

namespace qm {

// path is UTF-8. Returns false (and removes the temporary) on any failure.
bool WriteFileAtomically(const std::string& path, std::string_view bytes);

// Text files of the program end every line in CR LF on every platform:
// turns each "\n" (not already preceded by "\r") into "\r\n".
std::string ToCrLf(std::string_view text);

}  // namespace qm
