#include "windows/window_search.h"

#include <algorithm>
#include <numeric>

namespace qm {
namespace {

// The length of the white space at the start of text, 0 where there is none.
size_t SpaceAt(std::string_view text) {
  if (text.empty()) return 0;
  const char first = text[0];
  if (first == ' ' || first == '\t' || first == '\r' || first == '\n' || first == '\v' || first == '\f') return 1;
  if (text.substr(0, 2) == "\xC2\xA0") return 2;      // U+00A0 no-break space
  if (text.substr(0, 3) == "\xE3\x80\x80") return 3;  // U+3000 ideographic space
  return 0;
}

}  // namespace

std::vector<std::string> SearchWords(std::string_view text) {
  std::vector<std::string> words;
  std::string word;
  while (!text.empty()) {
    if (const size_t space = SpaceAt(text)) {
      if (!word.empty()) words.push_back(std::move(word));
      word.clear();
      text.remove_prefix(space);
    } else {
      word.push_back(text[0]);
      text.remove_prefix(1);
    }
  }
  if (!word.empty()) words.push_back(std::move(word));
  return words;
}

CWindowSearch::CWindowSearch(const ILocale& locale, std::vector<WindowListRow> rows)
    : locale_(locale), rows_(std::move(rows)) {
  IndexRows();
}

void CWindowSearch::IndexRows() {
  rowOfWindow_.clear();
  rowOfWindow_.reserve(rows_.size());
  for (size_t row = 0; row < rows_.size(); ++row) rowOfWindow_.emplace(rows_[row].window, row);
}

const WindowListRow* CWindowSearch::Find(WindowHandle window) const {
  const auto found = rowOfWindow_.find(window);
  return found == rowOfWindow_.end() ? nullptr : &rows_[found->second];
}

void CWindowSearch::Fold() {
  folded_.clear();
  folded_.reserve(rows_.size());
  for (const WindowListRow& row : rows_) {
    FoldedRow folded;
    std::string_view handle = row.texts[0];
    if (handle.substr(0, 2) == "0x") handle.remove_prefix(2);
    folded.handleDigits = handle;
    // One call for the three texts: words never hold a line break, so none
    // matches across two of them.
    folded.texts = locale_.LCMapLowerCase(row.texts[1] + "\n" + row.texts[2] + "\n" + row.texts[3]);
    folded_.push_back(std::move(folded));
  }
}

bool CWindowSearch::RowMatches(const FoldedRow& row, const std::string& word) {
  if (row.texts.find(word) != std::string::npos) return true;
  std::string_view digits = word;
  if (digits.substr(0, 2) == "0x") digits.remove_prefix(2);
  if (row.handleDigits.starts_with(digits)) return true;
  // The handle as the user may know it, without its leading zeros.
  std::string_view significant = row.handleDigits;
  while (significant.size() > 1 && significant[0] == '0') significant.remove_prefix(1);
  return !digits.empty() && significant.starts_with(digits);
}

std::vector<size_t> CWindowSearch::Matches(std::string_view text) {
  std::vector<std::string> words = SearchWords(text);
  std::vector<size_t> matches;
  matches.reserve(rows_.size());
  if (words.empty()) {
    for (size_t row = 0; row < rows_.size(); ++row) matches.push_back(row);
    return matches;
  }
  if (folded_.size() != rows_.size()) Fold();
  for (std::string& word : words) word = locale_.LCMapLowerCase(word);
  for (size_t row = 0; row < rows_.size(); ++row) {
    const FoldedRow& folded = folded_[row];
    if (std::all_of(words.begin(), words.end(), [&](const std::string& word) { return RowMatches(folded, word); }))
      matches.push_back(row);
  }
  return matches;
}

void CWindowSearch::SetImage(WindowHandle window, int image) {
  for (WindowListRow& row : rows_)
    if (row.window == window) row.image = image;
}

void CWindowSearch::Sort(const std::function<bool(const WindowListRow&, const WindowListRow&)>& less) {
  std::vector<size_t> order(rows_.size());
  std::iota(order.begin(), order.end(), size_t{0});
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return less(rows_[a], rows_[b]); });
  std::vector<WindowListRow> rows;
  rows.reserve(rows_.size());
  for (size_t from : order) rows.push_back(std::move(rows_[from]));
  rows_ = std::move(rows);
  IndexRows();
  if (folded_.size() == order.size()) {
    std::vector<FoldedRow> folded;
    folded.reserve(order.size());
    for (size_t from : order) folded.push_back(std::move(folded_[from]));
    folded_ = std::move(folded);
  }
}

}  // namespace qm
