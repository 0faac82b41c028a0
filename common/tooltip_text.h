#pragma once
// The tooltip of a command or control comes from its string-table entry,
// which holds a prompt for the status bar, a line break and the tip.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace qm {

// The text after the entry's first line break, or the whole entry when it
// has none; nullopt for an empty entry (no tooltip).
std::optional<std::string> TooltipTextOf(std::string_view entry);

// The notification's own buffer (szText) holds 80 UTF-16 units with the
// terminator.
inline constexpr size_t kTooltipBufferUnits = 80;

// The longest start of the text that fits a buffer of `capacity` units with
// its terminator, cut between characters: never inside a surrogate pair.
std::u16string FitTooltipText(std::u16string_view text, size_t capacity = kTooltipBufferUnits);

}  // namespace qm
