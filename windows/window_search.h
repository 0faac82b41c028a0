#pragma once
// The search of the window list. Every word typed must match somewhere in a
// row: in its handle from the start (hex, with or without "0x" and its
// leading zeros), or anywhere in its title, class or executable, ignoring
// case as the user's locale does in any script. It looks only at the rows
// already read, in the order they are kept.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/system.h"
#include "windows/window_list_model.h"

namespace qm {

// The words of a search text, split at white space (the ASCII spaces, the
// no-break space and the ideographic space).
std::vector<std::string> SearchWords(std::string_view text);

class CWindowSearch {
 public:
  // locale: folds the texts; outlives the search. rows: as FillWindowList
  // gave them, every row the filters allow.
  CWindowSearch(const ILocale& locale, std::vector<WindowListRow> rows);

  const std::vector<WindowListRow>& Rows() const { return rows_; }
  // The row of a window; null for a window that is not one of the rows.
  const WindowListRow* Find(WindowHandle window) const;
  // The indices of the rows that match every word of text, in the rows'
  // order; all of them for a text without words.
  std::vector<size_t> Matches(std::string_view text);
  // A window's new image (shown or hidden since the fill).
  void SetImage(WindowHandle window, int image);
  // Puts the rows in the order of less, rows that compare equal keeping
  // theirs, so that the rows a search hides follow the list's sort.
  void Sort(const std::function<bool(const WindowListRow&, const WindowListRow&)>& less);

 private:
  struct FoldedRow {
    std::string handleDigits;  // the handle's hex digits, leading zeros kept
    std::string texts;         // title, class and executable, one a line
  };
  static bool RowMatches(const FoldedRow& row, const std::string& word);
  void Fold();
  void IndexRows();

  const ILocale& locale_;
  std::vector<WindowListRow> rows_;
  std::unordered_map<WindowHandle, size_t> rowOfWindow_;
  // Folded once, on the first search: a fill that nobody searches folds
  // nothing; empty, or one for each row.
  std::vector<FoldedRow> folded_;
};

}  // namespace qm
