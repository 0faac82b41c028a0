#pragma once
// What every report list of the program shares: columns fitted to their
// widest text, sorting by a column with a comparison chosen per column and
// the direction toggled from the order the column is in, finding and
// selecting a row, and exchanging two rows with all they carry.
//
// Not owning: the list belongs to its dialog.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/list_compare.h"
#include "framework/list_view.h"

namespace qm {

class CListCtrlHelper {
 public:
  explicit CListCtrlHelper(HWND list = nullptr) : m_list(list) {}
  virtual ~CListCtrlHelper() = default;
  void Attach(HWND list) { m_list = fw::CListCtrl(list); }

  void SetColumnType(int column, ColumnType type) { types_.Set(column, type); }
  int GetColumnCount() const { return m_list.GetColumnCount(); }
  void DeleteAllColumns();

  // Widens the column to its widest text (cells and header) plus 25 pixels;
  // from the minimum, it may also narrow it down to that. A hidden column
  // (width 0) stays hidden.
  bool AutoSizeColumn(int column, bool fromMinimum = false);
  bool AutoSizeColumns(bool fromMinimum = false);
  // The same for texts that the caller holds (the rows a dialog read, shown
  // or not), without reading the cells back.
  bool AutoSizeColumn(int column, const std::vector<std::string_view>& texts, bool fromMinimum = false);

  // -1, 0 or 1 for two texts of the column.
  virtual int Compare(int column, const std::string& text1, const std::string& text2) const;
  // 1 ascending, -1 descending, 0 mixed.
  int GetSortOrder(int column) const;
  // direction 1 ascending, -1 descending, anything else the opposite of the
  // current order. False for a column the list does not have. The
  // selection sort's exchanges are made on copies of the rows; each row
  // that moves is then written once.
  bool Sort(int column, int direction = 0);

  int FindText(const std::string& text, int column) const;
  int FindNumber(long long number, int column) const;
  bool SelectText(const std::string& text, int column);
  // Selects and focuses the row and scrolls it into view.
  bool SelectRow(int row);
  int GetSelectedRow() const { return m_list.GetNextSelected(-1); }
  // Exchanges every column's text, the item data, the image, the selected
  // and focused state and the check box of two rows.
  void SwapRows(int row1, int row2);

  fw::CListCtrl m_list;

 private:
  std::vector<std::string> ColumnTexts(int column) const;
  // Puts the contents of row from[i] (texts, item data, image, states) at
  // row i; knownTexts are the texts of knownColumn, already read.
  void MoveRows(const std::vector<int>& from, int knownColumn, std::vector<std::string> knownTexts);
  ColumnTypes types_;
  // Dates are read back as the user's locale writes them; learnt once.
  mutable std::optional<DateParser> dates_;
};

}  // namespace qm
