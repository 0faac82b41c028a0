#pragma once
// A menu as resource-script text in the extended (MENUEX) form, the file the
// menu page's "Guardar como recurso" writes. A resource compiler reads it
// back into the same texts, identifiers, type bits and checked, grayed and
// hilite states.

#include <string>

#include "resources/menu_template.h"

namespace qm {

// The script with "\n" line ends.
std::string MenuScriptText(const Menu& menu);

// A text as a resource script quotes it ("" and \\ doubled, line breaks and
// NULs as escapes); beyondAscii is set when it holds a byte past ASCII.
std::string QuoteScriptText(const std::string& text, bool& beyondAscii);

// Writes the script with CR LF line ends in one step; an existing file
// survives any failure.
bool WriteMenuScript(const Menu& menu, const std::string& path);

}  // namespace qm
