#pragma once
// The rules every report list of the program sorts by: how two cell texts
// compare for a column's type, which order a column is in already, and the
// exchanges a selection sort makes. The list control only carries out the
// exchanges, so the order is decided on plain texts.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "common/calendar_time.h"

namespace qm {

enum class ColumnType : uint16_t {
  Text = 0,           // byte by byte, case-sensitive
  Integer = 1,        // decimal integers; not a number reads as 0
  Decimal = 2,        // "." as decimal point
  SpanishNumber = 3,  // "." between thousands, "," as decimal point
  DateTime = 4,       // in the user's locale; unreadable reads as 1900-01-01 00:00:00
};

// Reads a date and time as the user's locale writes it; none when the text
// is not one.
using DateParser = std::function<std::optional<CalendarTime>(const std::string&)>;
// Day first, as the Spanish locale writes dates: "d/m/yyyy" optionally
// followed by "h:mm" or "h:mm:ss".
std::optional<CalendarTime> ParseDayFirstDate(const std::string& text);

// -1, 0 or 1. Typed columns that read equal values fall back to the texts,
// so "007" and "7" still have an order.
int CompareCells(ColumnType type, const std::string& a, const std::string& b, const DateParser& dates = {});

// The order a column's texts are in: 1 ascending, -1 descending, 0 mixed.
// The first unequal neighbours decide; a column whose texts are all equal
// (or that has fewer than two rows) counts as descending.
using TextComparison = std::function<int(const std::string&, const std::string&)>;
int ColumnOrder(const std::vector<std::string>& texts, const TextComparison& compare);

// The direction a sort asked with `direction` goes: 1 or -1 as given,
// anything else the opposite of the current order (descending when it is
// ascending, ascending otherwise). None when the column already is in the
// asked order and nothing needs to move.
std::optional<int> SortDirection(int direction, int currentOrder);

// A selection sort over the rows: for each position from the top, the
// smallest (ascending) or largest (descending) of the rows left, the
// earliest winning ties, is exchanged into place. Returns those exchanges,
// each (position, row), in the order they are to be made. The comparison
// must be a consistent order (as CompareCells is): it is asked
// O(n log n) times to rank the texts, and the sort then runs on the ranks.
std::vector<std::pair<int, int>> SelectionSortSwaps(const std::vector<std::string>& texts, int direction,
                                                    const TextComparison& compare);

// The rows once the exchanges are made: result[position] is the row whose
// contents end up at position.
std::vector<int> RowsAfterSwaps(size_t count, const std::vector<std::pair<int, int>>& swaps);

// The comparison type of each column that has one; the others are text.
class ColumnTypes {
 public:
  void Set(int column, ColumnType type);
  ColumnType Of(int column) const;

 private:
  // Low 16 bits the column, high 16 bits the type, one word per column.
  std::vector<uint32_t> words_;
};

}  // namespace qm
