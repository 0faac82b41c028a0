#pragma once
// A version block written back as a VERSIONINFO statement of a resource
// script: the fixed part as its FILEVERSION ... FILESUBTYPE lines, every
// string table of StringFileInfo with its values and every VarFileInfo
// value (the translations) as pairs of 16-bit numbers, in stored order.

#include <optional>
#include <string>

#include "resources/resource_directory.h"
#include "resources/version_block.h"

namespace qm {

// Why the script cannot say what the block says (a shape the statement has
// no words for: a block other than StringFileInfo and VarFileInfo, a binary
// string value, a file date, an odd-sized translation value...), or nullopt
// when it can. A block that cannot be read is a gap too.
std::optional<std::string> VersionScriptGap(const VersionBlock& block);

// The statement with "\n" line ends; what the script cannot say (see
// VersionScriptGap) is left out. Fails only when the root cannot be read.
Result<std::string> VersionScriptText(const VersionBlock& block, const ResourceName& name);

}  // namespace qm
