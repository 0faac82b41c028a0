#include "res/string_table.h"

#include <algorithm>
#include <array>
#include <iterator>

namespace qm {
namespace {

struct Entry {
  uint32_t id;
  const char* text;
};

constexpr Entry kStrings[] = {
#define QM_STRING(id, text) {id, text},
#define QM_NAMED_STRING(name, id, text) {id, text},
#include "res/strings.inc"
#undef QM_NAMED_STRING
#undef QM_STRING
};

constexpr auto kSorted = [] {
  std::array<Entry, std::size(kStrings)> sorted{};
  std::copy(std::begin(kStrings), std::end(kStrings), sorted.begin());
  std::sort(sorted.begin(), sorted.end(), [](const Entry& a, const Entry& b) { return a.id < b.id; });
  return sorted;
}();

constexpr bool IdsAreUnique() {
  for (size_t i = 1; i < kSorted.size(); ++i)
    if (kSorted[i].id == kSorted[i - 1].id) return false;
  return true;
}
static_assert(IdsAreUnique(), "res/strings.inc holds a string ID twice");

}  // namespace

const char* FindBuiltinString(uint32_t id) {
  auto it = std::lower_bound(kSorted.begin(), kSorted.end(), id, [](const Entry& e, uint32_t v) { return e.id < v; });
  return it != kSorted.end() && it->id == id ? it->text : nullptr;
}

}  // namespace qm
