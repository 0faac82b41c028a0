#include "app/window_format.h"

#include "common/text.h"

namespace qm {

namespace {
constexpr uint32_t kRectFormatId = 4141;  // "izquierda=%d, arriba=%d, derecha=%d, abajo=%d"
}

std::string FormatHandle(uint64_t value) {
  if (value == 0) return "NULL";
  return Format("[0x%08llx]", static_cast<unsigned long long>(value));
}

std::string FormatRect(const IStrings& strings, const Rect& rect) {
  return FormatTable(strings.LoadString(kRectFormatId), {std::to_string(rect.left), std::to_string(rect.top),
                                                         std::to_string(rect.right), std::to_string(rect.bottom)});
}

}  // namespace qm
