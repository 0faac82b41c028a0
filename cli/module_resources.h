#pragma once
// Opening a module for the resource commands: reads the file and its
// resource directory, and reports a file that cannot be used on stderr.

#include <string>

#include "cli/command.h"
#include "resources/resource_module.h"

namespace qm::cli {

// False after one line on stderr naming the file and what is wrong with it.
bool OpenModuleResources(Context& context, const std::string& path, CResourceModule& module);

// The bytes of one resource; false after reporting a missing resource or one
// whose data lies outside the file.
bool LoadResourceBytes(Context& context, const std::string& path, const CResourceModule& module,
                       const ResourceName& type, const ResourceName& name, ByteView& bytes);

// "TYPE/NAME" for messages: RT_ names for known numeric types.
std::string DescribeResource(const ResourceName& type, const ResourceName& name);

}  // namespace qm::cli
