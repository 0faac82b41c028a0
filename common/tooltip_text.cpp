#include "common/tooltip_text.h"

namespace qm {

std::optional<std::string> TooltipTextOf(std::string_view entry) {
  if (entry.empty()) return std::nullopt;
  const size_t lineBreak = entry.find('\n');
  return std::string(lineBreak == std::string_view::npos ? entry : entry.substr(lineBreak + 1));
}

std::u16string FitTooltipText(std::u16string_view text, size_t capacity) {
  if (capacity == 0) return {};
  size_t length = text.size() < capacity ? text.size() : capacity - 1;
  // A high surrogate as the last unit kept would lose its partner.
  if (length > 0 && length < text.size() && text[length - 1] >= 0xD800 && text[length - 1] <= 0xDBFF) --length;
  return std::u16string(text.substr(0, length));
}

}  // namespace qm
