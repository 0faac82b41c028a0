#include "app/window_format.h"

#include "common/text.h"
#include "res/string_ids.h"

namespace qm {

std::string FormatHandle(uint64_t value) {
  if (value == 0) return "NULL";
  return Format("[0x%08llx]", static_cast<unsigned long long>(value));
}

std::string FormatRect(const IStrings& strings, const Rect& rect) {
  return FormatTable(strings.LoadString(IDS_RECT_FORMAT), {std::to_string(rect.left), std::to_string(rect.top),
                                                           std::to_string(rect.right), std::to_string(rect.bottom)});
}

}  // namespace qm
