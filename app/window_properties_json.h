#pragma once
// The 29 properties of the captured window as one JSON object for a
// script: each under an English name for its line of the property tree,
// with the number, handle, rectangle or text behind the line rather than
// its display text.

#include <array>
#include <iosfwd>

#include "app/quillmar_doc.h"

namespace qm {

// The member names, in the order of the tree's lines.
extern const std::array<const char*, kPropertyCount> kPropertyJsonNames;

// {"hwnd":"0x..", "is_window":true, ...} on one line. Handles as "0x%08X"
// ("0x0" for none), styles, identifiers and the PID as numbers, rectangles
// as {"left","top","right","bottom"} (null when unreadable), the executable
// null when its process could not be read.
void WriteWindowPropertiesJson(std::ostream& out, const CQuillmarDoc& document);

}  // namespace qm
