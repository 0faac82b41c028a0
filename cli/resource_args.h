#pragma once
// The TYPE and NAME arguments of the resource commands: a decimal number or
// "#number" is a numeric ID, an RT_ name ("RT_MENU") is that type, anything
// else is a string name.

#include <string>

#include "resources/resource_directory.h"

namespace qm::cli {

// A number that does not fit a resource ID (above 65535) cannot name a
// numeric resource, so it is kept as a string name and simply not found.
ResourceName ParseResourceArg(const std::string& text);

}  // namespace qm::cli
