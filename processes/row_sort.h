#pragma once
// Sorting report rows by the text of one column, the way a click on a
// column header sorts: byte order, case-sensitive, so "10" comes before
// "9"; a column already in ascending order is reversed, any other order
// becomes ascending. Rows carry their cells in `cells`.

#include <algorithm>
#include <cstddef>
#include <string>
#include <vector>

namespace qm {

// 1 when the rows are in ascending order by the column, -1 when descending
// or when no two rows differ (fewer than two rows included), 0 when mixed.
template <class Row>
int ColumnSortOrder(const std::vector<Row>& rows, size_t column) {
  int reference = 0;
  for (size_t i = 1; i < rows.size(); ++i) {
    const int result = rows[i - 1].cells[column].compare(rows[i].cells[column]);
    if (result == 0) continue;
    const int sign = result < 0 ? -1 : 1;
    if (reference == 0) {
      reference = sign;
    } else if (sign != reference) {
      return 0;
    }
  }
  return reference < 0 ? 1 : -1;
}

// Sorts by the column as a header click does; equal texts keep their order.
// A column past the row's cells leaves the rows as they are.
template <class Row>
void SortRowsByColumn(std::vector<Row>& rows, size_t column) {
  if (rows.empty() || column >= rows.front().cells.size()) return;
  const bool descending = ColumnSortOrder(rows, column) == 1;
  std::stable_sort(rows.begin(), rows.end(), [&](const Row& a, const Row& b) {
    return descending ? b.cells[column] < a.cells[column] : a.cells[column] < b.cells[column];
  });
}

}  // namespace qm
