#pragma once
// The message shown when a module cannot be loaded for its header dump.

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/system.h"

namespace qm {

// The system's text for the loader's error code with the path in place of
// its first insert; "No se puede cargar el módulo %s" (IDS_CANNOT_LOAD_MODULE) with the
// path when there is no code (the file was read but is not a module) or the
// system has no text for it. Trailing line breaks are dropped.
std::string ModuleLoadFailureMessage(const IStrings& strings, const IErrorText& errors, uint32_t error,
                                     const std::string& path);

// A system message with each "%1" insert (also written "%1!fmt!") replaced
// by the text. The message is never used as a format: any other insert or
// escape stays as it is written, so a message that expects more inserts
// than it is given reads nothing that was not passed.
std::string ReplaceFirstInsert(std::string_view message, std::string_view text);

}  // namespace qm
