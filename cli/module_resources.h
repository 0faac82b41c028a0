#pragma once
// Opening a module for the resource commands: reads the file and its
// resource directory, and reports a file that cannot be used on stderr.

#include <string>

#include "cli/command.h"
#include "resources/resource_module.h"

namespace qm::cli {

// Reads the module and lists its resources. False after one line on stderr
// naming the file and what is wrong with it (a file that cannot be read,
// not a module, a resource directory whose root cannot be read). A module
// without resources opens as empty; each damaged directory that had entries
// left out gives one warning line on stderr (at most a few dozen lines, the
// rest counted on one more).
bool OpenModuleResources(Context& context, const std::string& path, CResourceModule& module);

// For the listing commands: true after printing "no resources" when the
// module has none, so that an empty module reads as such with exit code 0.
bool ReportNoResources(Context& context, const CResourceModule& module);

// "quillmar-cli: WHAT: warning: MESSAGE" on stderr.
void ReportWarning(Context& context, const std::string& what, const std::string& message);

// The bytes of one resource; false after reporting a missing resource or one
// whose data lies outside the file.
bool LoadResourceBytes(Context& context, const std::string& path, const CResourceModule& module,
                       const ResourceName& type, const ResourceName& name, ByteView& bytes);

// "TYPE/NAME" for messages: RT_ names for known numeric types.
std::string DescribeResource(const ResourceName& type, const ResourceName& name);

}  // namespace qm::cli
