#include "cli/resource_args.h"

#include <optional>
#include <string_view>

#include "resources/resource_types.h"

namespace qm::cli {
namespace {

std::optional<uint16_t> ParseDecimalId(std::string_view digits) {
  if (digits.empty() || digits.size() > 5) return std::nullopt;
  uint32_t value = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<uint32_t>(c - '0');
  }
  if (value > 0xFFFF) return std::nullopt;
  return static_cast<uint16_t>(value);
}

}  // namespace

ResourceName ParseResourceArg(const std::string& text) {
  std::string_view view = text;
  if (!view.empty() && view.front() == '#') view.remove_prefix(1);
  if (auto id = ParseDecimalId(view)) return ResourceName::Number(*id);
  if (auto type = ResourceTypeFromRtName(text)) return ResourceName::Number(*type);
  return ResourceName::String(text);
}

}  // namespace qm::cli
