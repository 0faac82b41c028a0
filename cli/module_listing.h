#pragma once
// Opening a module for the commands that list its resources, where a module
// without any resources is simply empty rather than an error.

#include <string>

#include "cli/command.h"
#include "resources/resource_module.h"

namespace qm::cli {

// False after one line on stderr naming the file and what is wrong with it.
bool OpenModuleForListing(Context& context, const std::string& path, CResourceModule& module);

}  // namespace qm::cli
