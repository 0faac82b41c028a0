#include "common/case_fold.h"

#include <algorithm>
#include <iterator>

#include "common/text.h"

namespace qm {
namespace {

struct FoldRun {
  char32_t first;
  char32_t last;
  int32_t distance;
  uint32_t step;  // 1: every character of the run moves; 2: every other one
};

constexpr FoldRun kRuns[] = {
#include "common/case_fold_table.inc"
};

}  // namespace

char32_t SimpleCaseFold(char32_t c) {
  if (c < 0x80) return c >= 'A' && c <= 'Z' ? c + 32 : c;
  // The last run that starts at or before c.
  const auto after = std::upper_bound(std::begin(kRuns), std::end(kRuns), c,
                                      [](char32_t value, const FoldRun& run) { return value < run.first; });
  if (after == std::begin(kRuns)) return c;
  const FoldRun& run = *std::prev(after);
  if (c > run.last || (c - run.first) % run.step != 0) return c;
  return static_cast<char32_t>(static_cast<int64_t>(c) + run.distance);
}

std::string SimpleCaseFold(std::string_view utf8) {
  if (std::all_of(utf8.begin(), utf8.end(), [](char byte) { return static_cast<unsigned char>(byte) < 0x80; })) {
    std::string folded(utf8);
    for (char& byte : folded)
      if (byte >= 'A' && byte <= 'Z') byte = static_cast<char>(byte + 32);
    return folded;
  }
  std::u16string wide = Utf8ToUtf16(utf8);
  std::u16string folded;
  folded.reserve(wide.size());
  for (size_t i = 0; i < wide.size(); ++i) {
    char32_t c = wide[i];
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < wide.size() && wide[i + 1] >= 0xDC00 && wide[i + 1] < 0xE000) {
      c = 0x10000 + ((c - 0xD800) << 10) + (wide[i + 1] - 0xDC00);
      ++i;
    }
    c = SimpleCaseFold(c);
    if (c >= 0x10000) {
      folded.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
      folded.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
    } else {
      folded.push_back(static_cast<char16_t>(c));
    }
  }
  return Utf16ToUtf8(folded);
}

}  // namespace qm
