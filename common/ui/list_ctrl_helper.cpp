#include "common/ui/list_ctrl_helper.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "platform/locale_dates.h"
#include "platform/platform.h"
#include "platform/win32/win32_system.h"

namespace qm {
namespace {

constexpr int kPadding = 25;

// The width of the widest text in the list's font, measured in one call:
// the texts one a line, as DrawText sizes a block of lines.
int WidestText(HWND list, const std::vector<std::string_view>& texts) {
  std::wstring lines;
  for (std::string_view text : texts) {
    std::wstring wide = Widen(std::string(text));
    // A line break of a text's own would split it; its parts are narrower.
    lines.append(wide).push_back(L'\n');
  }
  if (lines.empty()) return 0;
  HDC dc = ::GetDC(list);
  if (!dc) return 0;
  HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageW(list, WM_GETFONT, 0, 0)));
  RECT bounds{0, 0, 0, 0};
  ::DrawTextW(dc, lines.data(), static_cast<int>(lines.size()), &bounds, DT_CALCRECT | DT_NOPREFIX | DT_NOCLIP);
  ::SelectObject(dc, old);
  ::ReleaseDC(list, dc);
  return static_cast<int>(bounds.right - bounds.left);
}

}  // namespace

void CListCtrlHelper::DeleteAllColumns() {
  for (int count = GetColumnCount(); count > 0; --count) m_list.DeleteColumn(0);
}

bool CListCtrlHelper::AutoSizeColumn(int column, bool fromMinimum) {
  const std::vector<std::string> cells = ColumnTexts(column);
  return AutoSizeColumn(column, std::vector<std::string_view>(cells.begin(), cells.end()), fromMinimum);
}

bool CListCtrlHelper::AutoSizeColumn(int column, const std::vector<std::string_view>& texts, bool fromMinimum) {
  const int current = m_list.GetColumnWidth(column);
  if (current <= 0) return true;
  wchar_t heading[81] = {};
  LVCOLUMNW info{};
  info.mask = LVCF_TEXT;
  info.pszText = heading;
  info.cchTextMax = 80;
  std::string headingText;
  if (::SendMessageW(m_list.m_hWnd, LVM_GETCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&info)))
    headingText = Narrow(heading);
  std::vector<std::string_view> measured = texts;
  measured.push_back(headingText);
  const int needed = WidestText(m_list.m_hWnd, measured) + kPadding;
  const int width = std::max(fromMinimum ? kPadding : current, needed);
  // One change at the end: the control relays out once, not once per row.
  if (width != current) m_list.SetColumnWidth(column, static_cast<int16_t>(width));
  return true;
}

bool CListCtrlHelper::AutoSizeColumns(bool fromMinimum) {
  const int columns = GetColumnCount();
  for (int column = 0; column < columns; ++column)
    if (!AutoSizeColumn(column, fromMinimum)) return false;
  return true;
}

int CListCtrlHelper::Compare(int column, const std::string& text1, const std::string& text2) const {
  const ColumnType type = types_.Of(column);
  if (type == ColumnType::DateTime && !dates_) dates_ = LocaleDateParser(*SystemPlatform().locale);
  return CompareCells(type, text1, text2, type == ColumnType::DateTime ? *dates_ : DateParser());
}

std::vector<std::string> CListCtrlHelper::ColumnTexts(int column) const {
  const int rows = m_list.GetItemCount();
  std::vector<std::string> texts;
  texts.reserve(static_cast<size_t>(rows > 0 ? rows : 0));
  for (int row = 0; row < rows; ++row) texts.push_back(m_list.GetItemText(row, column));
  return texts;
}

int CListCtrlHelper::GetSortOrder(int column) const {
  return ColumnOrder(ColumnTexts(column),
                     [&](const std::string& a, const std::string& b) { return Compare(column, a, b); });
}

bool CListCtrlHelper::Sort(int column, int direction) {
  if (column < 0 || column >= GetColumnCount()) return false;
  // The column's texts are read once and the order is decided on them.
  std::vector<std::string> texts = ColumnTexts(column);
  const auto compare = [&](const std::string& a, const std::string& b) { return Compare(column, a, b); };
  const auto resolved = SortDirection(direction, ColumnOrder(texts, compare));
  if (!resolved) return true;
  const auto swaps = SelectionSortSwaps(texts, *resolved, compare);
  if (swaps.empty()) return true;
  const std::vector<int> from = RowsAfterSwaps(texts.size(), swaps);
  MoveRows(from, column, std::move(texts));
  return true;
}

void CListCtrlHelper::MoveRows(const std::vector<int>& from, int knownColumn, std::vector<std::string> knownTexts) {
  constexpr UINT kStates = LVIS_SELECTED | LVIS_FOCUSED | LVIS_STATEIMAGEMASK;
  struct RowCopy {
    std::vector<std::string> cells;
    LVITEMW item{};
  };
  const int columns = GetColumnCount();
  // Copies of the rows that move, taken before any is overwritten.
  std::vector<RowCopy> copies(from.size());
  for (size_t row = 0; row < from.size(); ++row) {
    if (from[row] == static_cast<int>(row)) continue;
    RowCopy& copy = copies[row];
    copy.cells.resize(static_cast<size_t>(columns));
    for (int c = 0; c < columns; ++c) {
      copy.cells[static_cast<size_t>(c)] =
          c == knownColumn ? std::move(knownTexts[row]) : m_list.GetItemText(static_cast<int>(row), c);
    }
    copy.item.mask = LVIF_PARAM | LVIF_IMAGE | LVIF_STATE;
    copy.item.stateMask = kStates;
    copy.item.iItem = static_cast<int>(row);
    ::SendMessageW(m_list.m_hWnd, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&copy.item));
  }
  // One repaint at the end instead of one per changed cell.
  m_list.SetRedraw(false);
  for (size_t row = 0; row < from.size(); ++row) {
    if (from[row] == static_cast<int>(row)) continue;
    const RowCopy& source = copies[static_cast<size_t>(from[row])];
    const RowCopy& replaced = copies[row];
    for (int c = 0; c < columns; ++c) {
      const auto cell = static_cast<size_t>(c);
      if (source.cells[cell] != replaced.cells[cell]) m_list.SetItemText(static_cast<int>(row), c, source.cells[cell]);
    }
    LVITEMW item = source.item;
    item.iItem = static_cast<int>(row);
    item.iSubItem = 0;
    item.stateMask = kStates;
    ::SendMessageW(m_list.m_hWnd, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
  }
  m_list.SetRedraw(true);
  ::InvalidateRect(m_list.m_hWnd, nullptr, TRUE);
}

int CListCtrlHelper::FindText(const std::string& text, int column) const {
  const int rows = m_list.GetItemCount();
  for (int row = 0; row < rows; ++row)
    if (m_list.GetItemText(row, column) == text) return row;
  return -1;
}

int CListCtrlHelper::FindNumber(long long number, int column) const {
  const int rows = m_list.GetItemCount();
  for (int row = 0; row < rows; ++row)
    if (std::strtoll(m_list.GetItemText(row, column).c_str(), nullptr, 10) == number) return row;
  return -1;
}

bool CListCtrlHelper::SelectText(const std::string& text, int column) {
  const int row = FindText(text, column);
  return row >= 0 && SelectRow(row);
}

bool CListCtrlHelper::SelectRow(int row) {
  if (!m_list.SetItemSelected(row, true)) return false;
  m_list.EnsureVisible(row);
  return true;
}

void CListCtrlHelper::SwapRows(int row1, int row2) {
  if (row1 == row2) return;
  const int columns = GetColumnCount();
  for (int column = 0; column < columns; ++column) {
    const std::string text1 = m_list.GetItemText(row1, column);
    const std::string text2 = m_list.GetItemText(row2, column);
    m_list.SetItemText(row1, column, text2);
    m_list.SetItemText(row2, column, text1);
  }
  constexpr UINT kStates = LVIS_SELECTED | LVIS_FOCUSED | LVIS_STATEIMAGEMASK;
  LVITEMW item1{}, item2{};
  item1.mask = item2.mask = LVIF_PARAM | LVIF_IMAGE | LVIF_STATE;
  item1.stateMask = item2.stateMask = kStates;
  item1.iItem = row1;
  item2.iItem = row2;
  ::SendMessageW(m_list.m_hWnd, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item1));
  ::SendMessageW(m_list.m_hWnd, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item2));
  std::swap(item1.iItem, item2.iItem);
  item1.stateMask = item2.stateMask = kStates;
  ::SendMessageW(m_list.m_hWnd, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item1));
  ::SendMessageW(m_list.m_hWnd, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item2));
}

}  // namespace qm
