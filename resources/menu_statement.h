#pragma once
// A menu template as a MENU or MENUEX statement of a whole-module script,
// under the resource's own name and in the template's own form: a plain
// template as MENU with its option words, an extended one as MENUEX with its
// type, state and help identifier as numbers, so that the compiler stores
// the same items again. (The menu page's export, menu_script.h, always
// writes MENUEX under a fixed name, for a file of its own.)

#include <optional>
#include <string>

#include "resources/menu_template.h"
#include "resources/resource_directory.h"

namespace qm {

// Why the statement cannot say what the template says (a bit of a plain
// template that has no option word), or nullopt when it can.
std::optional<std::string> MenuStatementGap(const Menu& menu);

// The statement with "\n" line ends.
std::string MenuStatementText(const Menu& menu, const ResourceName& name);

}  // namespace qm
