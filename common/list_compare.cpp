#include "common/list_compare.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <numeric>
#include <tuple>

namespace qm {
namespace {

int Sign(int value) { return value < 0 ? -1 : (value > 0 ? 1 : 0); }

template <class T>
int Three(const T& a, const T& b) {
  return a < b ? -1 : (b < a ? 1 : 0);
}

// The C library's reading: leading blanks and a sign, digits while they
// last, 0 when there are none; out of range clamps.
long long ReadInteger(const std::string& text) { return std::strtoll(text.c_str(), nullptr, 10); }

double ReadDecimal(const std::string& text) {
  const double value = std::strtod(text.c_str(), nullptr);
  return value == value ? value : 0.0;  // NaN has no order: it reads as 0
}

double ReadSpanishNumber(const std::string& text) {
  std::string plain;
  plain.reserve(text.size());
  for (char c : text) {
    if (c == '.') continue;
    plain.push_back(c == ',' ? '.' : c);
  }
  return ReadDecimal(plain);
}

CalendarTime ReadDate(const std::string& text, const DateParser& dates) {
  std::optional<CalendarTime> parsed = text.empty() ? std::nullopt : (dates ? dates(text) : ParseDayFirstDate(text));
  return parsed.value_or(CalendarTime{1900, 1, 1, 0, 0, 0});
}

auto Key(const CalendarTime& t) { return std::tie(t.year, t.month, t.day, t.hour, t.minute, t.second); }

// Reads an unsigned number of at most maxDigits digits at pos.
bool ReadField(const std::string& text, size_t& pos, int maxDigits, int& value) {
  size_t start = pos;
  value = 0;
  while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9' && static_cast<int>(pos - start) < maxDigits) {
    value = value * 10 + (text[pos] - '0');
    ++pos;
  }
  return pos > start;
}

bool Expect(const std::string& text, size_t& pos, char c) {
  if (pos >= text.size() || text[pos] != c) return false;
  ++pos;
  return true;
}

}  // namespace

std::optional<CalendarTime> ParseDayFirstDate(const std::string& text) {
  CalendarTime t;
  size_t pos = 0;
  while (pos < text.size() && text[pos] == ' ') ++pos;
  if (!ReadField(text, pos, 2, t.day) || !Expect(text, pos, '/') || !ReadField(text, pos, 2, t.month) ||
      !Expect(text, pos, '/') || !ReadField(text, pos, 4, t.year))
    return std::nullopt;
  while (pos < text.size() && text[pos] == ' ') ++pos;
  if (pos < text.size()) {
    if (!ReadField(text, pos, 2, t.hour) || !Expect(text, pos, ':') || !ReadField(text, pos, 2, t.minute))
      return std::nullopt;
    if (pos < text.size() && (!Expect(text, pos, ':') || !ReadField(text, pos, 2, t.second))) return std::nullopt;
    while (pos < text.size() && text[pos] == ' ') ++pos;
    if (pos != text.size()) return std::nullopt;
  }
  if (!IsValidCalendarTime(t)) return std::nullopt;
  return t;
}

int CompareCells(ColumnType type, const std::string& a, const std::string& b, const DateParser& dates) {
  int result = 0;
  switch (type) {
    case ColumnType::Text:
      break;
    case ColumnType::Integer:
      result = Three(ReadInteger(a), ReadInteger(b));
      break;
    case ColumnType::Decimal:
      result = Three(ReadDecimal(a), ReadDecimal(b));
      break;
    case ColumnType::SpanishNumber:
      result = Three(ReadSpanishNumber(a), ReadSpanishNumber(b));
      break;
    case ColumnType::DateTime: {
      const CalendarTime da = ReadDate(a, dates), db = ReadDate(b, dates);
      result = Three(Key(da), Key(db));
      break;
    }
  }
  if (result != 0) return result;
  // Byte-wise as unsigned bytes, so UTF-8 text keeps its code point order.
  return Sign(a.compare(b));
}

int ColumnOrder(const std::vector<std::string>& texts, const TextComparison& compare) {
  int reference = 0;
  for (size_t row = 0; row + 1 < texts.size(); ++row) {
    const int result = Sign(compare(texts[row], texts[row + 1]));
    if (result == 0) continue;
    if (reference == 0) {
      reference = result;
    } else if (result != reference) {
      return 0;
    }
  }
  return reference < 0 ? 1 : -1;
}

std::optional<int> SortDirection(int direction, int currentOrder) {
  if (direction != 1 && direction != -1) return currentOrder == 1 ? -1 : 1;
  if (direction == currentOrder) return std::nullopt;
  return direction;
}

std::vector<std::pair<int, int>> SelectionSortSwaps(const std::vector<std::string>& texts, int direction,
                                                    const TextComparison& compare) {
  // Each text's rank (equal texts share one), so the quadratic selection
  // below compares integers instead of reading numbers or dates out of two
  // texts for every one of its n²/2 comparisons.
  const size_t count = texts.size();
  std::vector<size_t> byOrder(count);
  std::iota(byOrder.begin(), byOrder.end(), size_t{0});
  std::stable_sort(byOrder.begin(), byOrder.end(), [&](size_t a, size_t b) { return compare(texts[a], texts[b]) < 0; });
  std::vector<size_t> rank(count);
  for (size_t i = 0; i < count; ++i) {
    const bool tie = i > 0 && compare(texts[byOrder[i - 1]], texts[byOrder[i]]) == 0;
    rank[byOrder[i]] = tie ? rank[byOrder[i - 1]] : i;
  }

  std::vector<std::pair<int, int>> swaps;
  for (size_t position = 0; position + 1 < count; ++position) {
    size_t best = position;
    for (size_t row = position + 1; row < count; ++row) {
      if (direction > 0 ? rank[row] < rank[best] : rank[row] > rank[best]) best = row;
    }
    if (best == position) continue;
    std::swap(rank[position], rank[best]);
    swaps.emplace_back(static_cast<int>(position), static_cast<int>(best));
  }
  return swaps;
}

std::vector<int> RowsAfterSwaps(size_t count, const std::vector<std::pair<int, int>>& swaps) {
  std::vector<int> rows(count);
  std::iota(rows.begin(), rows.end(), 0);
  for (auto [position, row] : swaps) {
    if (position < 0 || row < 0 || static_cast<size_t>(position) >= count || static_cast<size_t>(row) >= count)
      continue;
    std::swap(rows[static_cast<size_t>(position)], rows[static_cast<size_t>(row)]);
  }
  return rows;
}

void ColumnTypes::Set(int column, ColumnType type) {
  const uint32_t low = static_cast<uint32_t>(column) & 0xFFFFu;
  const uint32_t word = low | (static_cast<uint32_t>(type) << 16);
  for (uint32_t& existing : words_) {
    if ((existing & 0xFFFFu) == low) {
      existing = word;
      return;
    }
  }
  words_.push_back(word);
}

ColumnType ColumnTypes::Of(int column) const {
  const uint32_t low = static_cast<uint32_t>(column) & 0xFFFFu;
  for (uint32_t word : words_)
    if ((word & 0xFFFFu) == low) return static_cast<ColumnType>(word >> 16);
  return ColumnType::Text;
}

}  // namespace qm
