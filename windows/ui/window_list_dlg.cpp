#include "windows/ui/window_list_dlg.h"

#include <algorithm>

#include "platform/win32/win32_system.h"
#include "res/string_ids.h"
#include "windows/ui/child_windows_dlg.h"
#include "windows/ui/window_toolbar.h"

namespace qm {

fw::MessageTable<CWindowListDlg> CWindowListDlg::Messages() {
  static constexpr fw::MessageEntry<CWindowListDlg> kTable[] = {
      fw::OnNotify<&CWindowListDlg::OnItemChanged>(LVN_ITEMCHANGED, IDC_ITEM_LIST),
      fw::OnNotify<&CWindowListDlg::OnDeleteAllItems>(LVN_DELETEALLITEMS, IDC_ITEM_LIST),
      fw::OnNotify<&CWindowListDlg::OnDoubleClick>(NM_DBLCLK, IDC_ITEM_LIST),
      fw::OnNotify<&CWindowListDlg::OnKeyDown>(LVN_KEYDOWN, IDC_ITEM_LIST),
      fw::OnNotify<&CWindowListDlg::OnColumnClick>(LVN_COLUMNCLICK, IDC_ITEM_LIST),
      fw::OnCommand(IDC_CAPTURE, &CWindowListDlg::OnCapture),
      fw::OnCommand(IDC_CHILD_WINDOWS, &CWindowListDlg::OnChildWindows),
      fw::OnCommand(IDC_MODULES, &CWindowListDlg::OnProcessInfo),
      fw::OnCommand(IDC_THREADS, &CWindowListDlg::OnProcessInfo),
      fw::OnCommand(IDC_MESSAGES, &CWindowListDlg::OnMessages),
      fw::OnCommand(IDC_TOGGLE_ENABLED, &CWindowListDlg::OnWindowAction),
      fw::OnCommand(IDC_TOGGLE_VISIBLE, &CWindowListDlg::OnWindowAction),
      fw::OnCommand(IDC_MAXIMIZE, &CWindowListDlg::OnWindowAction),
      fw::OnCommand(IDC_MINIMIZE, &CWindowListDlg::OnWindowAction),
      fw::OnCommand(IDC_RESTORE, &CWindowListDlg::OnWindowAction),
      fw::OnCommand(IDC_CLOSE_WINDOW, &CWindowListDlg::OnWindowAction),
      fw::OnCommand(IDC_SHOW_HIDDEN, &CWindowListDlg::OnFilter),
      fw::OnCommand(IDC_SHOW_UNNAMED, &CWindowListDlg::OnFilter),
      fw::OnCommand(IDC_SHOW_SECONDARY, &CWindowListDlg::OnFilter),
      fw::OnMessage(WM_TIMER, &CWindowListDlg::OnTimer),
      fw::OnControl(EN_CHANGE, IDC_WINDOW_SEARCH, &CWindowListDlg::OnSearchChange),
      fw::OnNotify<&CWindowListDlg::OnGetDispInfo>(LVN_GETDISPINFOW, IDC_ITEM_LIST),
  };
  return kTable;
}

bool CWindowListDlg::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  // The window's state may change under the list at any moment, so the
  // buttons are brought up to date with every key and mouse action the
  // dialog sees.
  switch (message) {
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR:
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
      if (toolbar_.m_hWnd) UpdateToolbar();
      break;
    default:
      break;
  }
  return WithMessageTable::OnWndMsg(message, wParam, lParam, result);
}

BOOL CWindowListDlg::OnInitDialog() {
  m_hResult = 0;
  helper_.Attach(::GetDlgItem(m_hWnd, IDC_ITEM_LIST));
  const auto& strings = *platform_.strings;
  int column = 0;
  for (uint32_t heading : {IDS_COLUMN_HANDLE, IDS_COLUMN_WINDOW_NAME, IDS_COLUMN_CLASS_NAME, IDS_COLUMN_EXECUTABLE})
    helper_.m_list.InsertColumn(column++, strings.LoadString(heading), LVCFMT_LEFT, 25);
  helper_.m_list.SetExtendedStyle(LVS_EX_FULLROWSELECT);
  helper_.m_list.SetImageList(images_, LVSIL_SMALL);
  toolbar_.SetCheckButtons(
      {IDC_TOGGLE_ENABLED, IDC_TOGGLE_VISIBLE, IDC_SHOW_HIDDEN, IDC_SHOW_UNNAMED, IDC_SHOW_SECONDARY});
  toolbar_.CreateInPlace(m_hWnd, IDC_TOOLBAR_PLACEHOLDER, IDR_WINDOW_LIST_TOOLBAR);
  toolbar_.CheckButton(IDC_SHOW_HIDDEN, m_filters.showHidden);
  toolbar_.CheckButton(IDC_SHOW_UNNAMED, m_filters.showUnnamed);
  toolbar_.CheckButton(IDC_SHOW_SECONDARY, m_filters.showSecondary);
  searchBox_.SubclassDlgItem(IDC_WINDOW_SEARCH, m_hWnd);
  Fill();
  ::SetTimer(m_hWnd, IDT_WINDOW_BUTTONS, kWindowButtonsMs, nullptr);
  return TRUE;
}

LRESULT CWindowListDlg::OnTimer(WPARAM wParam, LPARAM lParam) {
  if (wParam != IDT_WINDOW_BUTTONS) return DefWindowProc(WM_TIMER, wParam, lParam);
  UpdateToolbar();
  return 0;
}

void CWindowListDlg::Fill() {
  search_.emplace(*platform_.locale, FillWindowList(platform_, m_filters));
  shown_.reset();
  ShowRows();
  FitColumns();
}

void CWindowListDlg::FitColumns() {
  const std::vector<WindowListRow>& rows = search_->Rows();
  std::vector<std::string_view> texts(rows.size());
  for (size_t column = 0; column < 4; ++column) {
    for (size_t row = 0; row < rows.size(); ++row) texts[row] = rows[row].texts[column];
    helper_.AutoSizeColumn(static_cast<int>(column), texts);
  }
}

void CWindowListDlg::ShowRows() {
  const std::string text = searchBox_.GetText();
  std::vector<size_t> matches = search_->Matches(text);
  if (shown_ != matches) {
    PutRows(matches, 0);
    shown_ = std::move(matches);
  }
  const std::string count = WindowCountText(*platform_.strings, static_cast<size_t>(helper_.m_list.GetItemCount()),
                                            search_->Rows().size(), !SearchWords(text).empty());
  ::SetDlgItemTextW(m_hWnd, IDC_WINDOW_COUNT, Widen(count).c_str());
  UpdateToolbar();
}

void CWindowListDlg::PutRows(const std::vector<size_t>& matches, WindowHandle window) {
  fw::CListCtrl& list = helper_.m_list;
  const std::vector<WindowListRow>& rows = search_->Rows();
  puttingRows_ = true;
  // Without repainting until the end: the control would otherwise redraw
  // for every row it takes.
  list.SetRedraw(false);
  if (static_cast<size_t>(list.GetItemCount()) == matches.size()) {
    // The texts are callbacks: a row becomes another window's by its item
    // data and image alone.
    const int selected = helper_.GetSelectedRow();
    if (selected >= 0) list.SetItemSelected(selected, false);
    for (size_t position = 0; position < matches.size(); ++position) {
      const WindowListRow& row = rows[matches[position]];
      LVITEMW item{};
      item.mask = LVIF_PARAM | LVIF_IMAGE;
      item.iItem = static_cast<int>(position);
      item.iImage = row.image;
      item.lParam = static_cast<LPARAM>(row.window);
      ::SendMessageW(list.m_hWnd, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }
  } else {
    list.DeleteAllItems();
    ::SendMessageW(list.m_hWnd, LVM_SETITEMCOUNT, matches.size(), 0);
    int next = 0;
    for (size_t match : matches) {
      const WindowListRow& row = rows[match];
      LVITEMW item{};
      item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
      item.iItem = next;
      item.pszText = LPSTR_TEXTCALLBACKW;
      item.iImage = row.image;
      item.lParam = static_cast<LPARAM>(row.window);
      const auto index = ::SendMessageW(list.m_hWnd, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
      if (index < 0) continue;
      ++next;
      for (int column = 1; column < 4; ++column) {
        LVITEMW cell{};
        cell.iSubItem = column;
        cell.pszText = LPSTR_TEXTCALLBACKW;
        ::SendMessageW(list.m_hWnd, LVM_SETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&cell));
      }
    }
  }
  if (list.GetItemCount() > 0) {
    const auto found = std::find_if(matches.begin(), matches.end(),
                                    [&](size_t match) { return window != 0 && rows[match].window == window; });
    helper_.SelectRow(found == matches.end() ? 0 : static_cast<int>(found - matches.begin()));
  }
  list.SetRedraw(true);
  ::InvalidateRect(list.m_hWnd, nullptr, TRUE);
  puttingRows_ = false;
}

LRESULT CWindowListDlg::OnSearchChange(WPARAM, LPARAM) {
  if (search_) ShowRows();
  return 0;
}

LRESULT CWindowListDlg::OnGetDispInfo(NMLVDISPINFOW& info) {
  LVITEMW& item = info.item;
  if (!(item.mask & LVIF_TEXT) || !item.pszText || item.cchTextMax <= 0 || item.iSubItem < 0 || item.iSubItem > 3)
    return 0;
  item.pszText[0] = L'\0';
  const LPARAM window = item.lParam ? item.lParam : helper_.m_list.GetItemData(item.iItem);
  const WindowListRow* row = search_ ? search_->Find(static_cast<WindowHandle>(window)) : nullptr;
  if (!row) return 0;
  const std::wstring text = Widen(row->texts[static_cast<size_t>(item.iSubItem)]);
  const size_t length = std::min(text.size(), static_cast<size_t>(item.cchTextMax - 1));
  text.copy(item.pszText, length);
  item.pszText[length] = L'\0';
  return 0;
}

WindowHandle CWindowListDlg::Selected() const {
  const int row = helper_.GetSelectedRow();
  return row >= 0 ? static_cast<WindowHandle>(helper_.m_list.GetItemData(row)) : 0;
}

void CWindowListDlg::UpdateToolbar() {
  ShowWindowButtons(toolbar_, WindowButtonsFor(*platform_.windows, Selected()), /*processButtons=*/true);
}

LRESULT CWindowListDlg::OnItemChanged(NMLISTVIEW& change) {
  if ((change.uChanged & LVIF_STATE) && !puttingRows_) UpdateToolbar();
  // A row the user selects (not one a fill selects) shows its window.
  if ((change.uChanged & LVIF_STATE) && !puttingRows_ && (change.uNewState & LVIS_SELECTED) &&
      !(change.uOldState & LVIS_SELECTED))
    tools_.HighlightWindow(static_cast<WindowHandle>(helper_.m_list.GetItemData(change.iItem)));
  return 0;
}

LRESULT CWindowListDlg::OnDeleteAllItems(NMLISTVIEW&) { return TRUE; }

LRESULT CWindowListDlg::OnDoubleClick(NMITEMACTIVATE& click) {
  if (click.iItem >= 0) OnOK();
  return 0;
}

LRESULT CWindowListDlg::OnKeyDown(NMLVKEYDOWN& key) {
  if (key.wVKey == VK_F5) Fill();
  return 0;
}

LRESULT CWindowListDlg::OnColumnClick(NMLISTVIEW& click) {
  const int column = click.iSubItem;
  if (!search_ || !shown_ || column < 0 || column >= 4) return 0;
  const auto cell = static_cast<size_t>(column);
  const auto compare = [&](const std::string& a, const std::string& b) { return helper_.Compare(column, a, b); };
  // The rows are sorted where they are kept, not on the control: the
  // order the list is in comes from the rows shown, and the rows the search
  // hides take the same order, for when they show again.
  std::vector<std::string> texts;
  texts.reserve(shown_->size());
  for (size_t shown : *shown_) texts.push_back(search_->Rows()[shown].texts[cell]);
  const std::optional<int> direction = SortDirection(0, ColumnOrder(texts, compare));
  if (!direction) return 0;
  const WindowHandle selected = Selected();
  search_->Sort([&](const WindowListRow& a, const WindowListRow& b) {
    return compare(a.texts[cell], b.texts[cell]) * *direction < 0;
  });
  std::vector<size_t> matches = search_->Matches(searchBox_.GetText());
  PutRows(matches, selected);
  shown_ = std::move(matches);
  UpdateToolbar();
  return 0;
}

void CWindowListDlg::OnOK() {
  if (::GetFocus() == searchBox_.m_hWnd) {
    // The first match: the user picks it with Enter again, from the list.
    if (helper_.m_list.GetItemCount() > 0) {
      helper_.SelectRow(0);
      ::SetFocus(helper_.m_list.m_hWnd);
    }
    return;
  }
  if (helper_.GetSelectedRow() < 0) return;
  m_hResult = Selected();
  EndDialog(IDOK);
}

LRESULT CWindowListDlg::OnCapture(WPARAM, LPARAM) {
  OnOK();
  return 0;
}

LRESULT CWindowListDlg::OnChildWindows(WPARAM, LPARAM) {
  if (helper_.GetSelectedRow() < 0) return 0;
  CChildWindowsDlg children(platform_, images_);
  children.m_pTools = &tools_;
  children.AddRoot(Selected());
  if (children.DoModal(m_hWnd) == IDOK && children.m_hResult != 0) {
    m_hResult = children.m_hResult;
    EndDialog(IDOK);
    return 0;
  }
  UpdateToolbar();
  return 0;
}

LRESULT CWindowListDlg::OnMessages(WPARAM, LPARAM) {
  const WindowHandle window = Selected();
  if (helper_.GetSelectedRow() >= 0 && platform_.windows->IsWindow(window)) tools_.ShowMessageLog(window);
  UpdateToolbar();
  return 0;
}

LRESULT CWindowListDlg::OnProcessInfo(WPARAM wParam, LPARAM) {
  const WindowHandle window = Selected();
  // A window that closed since the list was filled has no process to show.
  if (helper_.GetSelectedRow() < 0 || !platform_.windows->IsWindow(window)) {
    UpdateToolbar();
    return 0;
  }
  tools_.ShowProcessOfWindow(m_hWnd, window, LOWORD(wParam) == IDC_THREADS ? 1 : 0);
  UpdateToolbar();
  return 0;
}

LRESULT CWindowListDlg::OnWindowAction(WPARAM wParam, LPARAM) {
  const int row = helper_.GetSelectedRow();
  const auto action = WindowActionOfCommand(LOWORD(wParam));
  if (row < 0 || !action) return 0;
  const WindowHandle window = Selected();
  if (DoToolbarWindowAction(platform_, m_hWnd, window, *action) && *action == WindowAction::ToggleVisible) {
    const int image = WindowImageIndex(*platform_.windows, window);
    helper_.m_list.SetItemImage(row, image);
    search_->SetImage(window, image);
  }
  UpdateToolbar();
  return 0;
}

LRESULT CWindowListDlg::OnFilter(WPARAM wParam, LPARAM) {
  const UINT command = LOWORD(wParam);
  bool& flag = command == IDC_SHOW_HIDDEN    ? m_filters.showHidden
               : command == IDC_SHOW_UNNAMED ? m_filters.showUnnamed
                                             : m_filters.showSecondary;
  flag = !flag;
  toolbar_.CheckButton(command, flag);
  Fill();
  return 0;
}

}  // namespace qm
