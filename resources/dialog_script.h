#pragma once
// A dialog template as resource-script text: DIALOG for a plain template,
// DIALOGEX for an extended one, with its caption, font, styles, menu, class
// and every control as a CONTROL statement. A resource compiler reads it
// back into the same template field by field.

#include <string>

#include "resources/dialog_template.h"
#include "resources/resource_directory.h"

namespace qm {

// The script with "\n" line ends; name is the resource's own name.
std::string DialogScriptText(const DialogTemplate& dialog, const ResourceName& name);

// Writes the script with CR LF line ends in one step; an existing file
// survives any failure.
bool WriteDialogScript(const DialogTemplate& dialog, const ResourceName& name, const std::string& path);

}  // namespace qm
