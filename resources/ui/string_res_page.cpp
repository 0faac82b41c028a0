#include "resources/ui/string_res_page.h"

#include <algorithm>

#include "common/list_compare.h"
#include "common/shared_icons.h"
#include "framework/file_dialog.h"
#include "platform/win32/win32_system.h"
#include "res/string_ids.h"

namespace qm {

fw::MessageTable<CStringResPage> CStringResPage::Messages() {
  static constexpr fw::MessageEntry<CStringResPage> kTable[] = {
      fw::OnCommand(IDC_SAVE_AS_RESOURCE, &CStringResPage::OnSaveAsResource),
      fw::OnCommand(IDC_SAVE_AS_TEXT, &CStringResPage::OnSaveAsText),
      fw::OnNotify<&CStringResPage::OnColumnClick>(LVN_COLUMNCLICK, IDC_ITEM_LIST),
      fw::OnNotify<&CStringResPage::OnGetDisplayInfo>(LVN_GETDISPINFOW, IDC_ITEM_LIST),
  };
  return kTable;
}

BOOL CStringResPage::OnInitDialog() {
  CToolBarDialog::OnInitDialog();
  list_ = fw::CListCtrl(::GetDlgItem(m_hWnd, IDC_ITEM_LIST));
  list_.SetExtendedStyle(LVS_EX_FULLROWSELECT);
  list_.SetImageList(images_, LVSIL_SMALL);
  list_.InsertColumn(0, "Id", LVCFMT_RIGHT, 25);
  list_.InsertColumn(1, "Text", LVCFMT_LEFT, 25);
  FitColumns();
  toolbar_.CreateInPlace(m_hWnd, IDC_TOOLBAR_PLACEHOLDER, IDR_STRING_PAGE_TOOLBAR);
  return TRUE;
}

void CStringResPage::ShowStringBlock(const CResourceModule& module, const ResourceName& block) { Show(module, block); }

void CStringResPage::ShowAllStrings(const CResourceModule& module) { Show(module, std::nullopt); }

void CStringResPage::Show(const CResourceModule& module, const std::optional<ResourceName>& block) {
  HCURSOR previous = ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
  module_ = &module;
  block_ = block;
  StringListing listing = ListStrings(module, block, *platform_.strings);
  rows_ = std::move(listing.rows);
  sortColumn_ = -1;
  list_.SetItemSelected(-1, false);
  ::SendMessageW(list_.m_hWnd, LVM_SETITEMCOUNT, rows_.size(), 0);
  ::InvalidateRect(list_.m_hWnd, nullptr, TRUE);
  FitColumns();
  ::SetDlgItemTextW(m_hWnd, IDC_STRING_COUNT, Widen(listing.countText).c_str());
  ::SetCursor(previous);
}

void CStringResPage::FitColumns() {
  constexpr int kPadding = 25;  // as every list of the program
  // With many rows only the longest texts are measured: a text of fewer
  // characters is narrower but for rare mixes of wide and narrow letters.
  constexpr size_t kMeasured = 256;
  HDC dc = ::GetDC(list_.m_hWnd);
  HGDIOBJ font = ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageW(list_.m_hWnd, WM_GETFONT, 0, 0)));
  auto width = [&](const std::wstring& text) {
    SIZE size{};
    ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    return static_cast<int>(size.cx) + kPadding;
  };
  for (int column = 0; column < 2; ++column) {
    std::vector<std::wstring> texts;
    texts.reserve(rows_.size() + 1);
    for (const StringListRow& row : rows_) texts.push_back(Widen(column == 0 ? row.idText : row.text));
    texts.push_back(column == 0 ? L"Id" : L"Text");
    const auto longer = [](const std::wstring& a, const std::wstring& b) { return a.size() > b.size(); };
    const size_t measured = std::min(texts.size(), kMeasured);
    std::partial_sort(texts.begin(), texts.begin() + static_cast<std::ptrdiff_t>(measured), texts.end(), longer);
    int needed = list_.GetColumnWidth(column);
    for (size_t i = 0; i < measured; ++i) needed = std::max(needed, width(texts[i]));
    if (needed != list_.GetColumnWidth(column)) list_.SetColumnWidth(column, needed);
  }
  ::SelectObject(dc, font);
  ::ReleaseDC(list_.m_hWnd, dc);
}

LRESULT CStringResPage::OnGetDisplayInfo(NMLVDISPINFOW& info) {
  LVITEMW& item = info.item;
  if (item.iItem < 0 || static_cast<size_t>(item.iItem) >= rows_.size()) return 0;
  const StringListRow& row = rows_[static_cast<size_t>(item.iItem)];
  if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0) {
    cellText_ = Widen(item.iSubItem == 0 ? row.idText : row.text);
    const size_t room = static_cast<size_t>(item.cchTextMax) - 1;
    const size_t count = std::min(cellText_.size(), room);
    std::copy_n(cellText_.begin(), count, item.pszText);
    item.pszText[count] = L'\0';
  }
  if (item.mask & LVIF_IMAGE) item.iImage = kIconAbc;
  if (item.mask & LVIF_PARAM) item.lParam = static_cast<LPARAM>(row.identifier);
  return 0;
}

LRESULT CStringResPage::OnSaveAsResource(WPARAM, LPARAM) {
  Save(true);
  return 0;
}

LRESULT CStringResPage::OnSaveAsText(WPARAM, LPARAM) {
  Save(false);
  return 0;
}

void CStringResPage::Save(bool resourceScript) {
  if (!module_) return;
  const auto path = fw::AskExportFileName(
      m_hWnd, platform_.strings->LoadString(resourceScript ? IDS_RESOURCE_FILE_FILTER : IDS_TEXT_FILE_FILTER),
      resourceScript ? "Strings.rc" : "Strings.txt", resourceScript ? "rc" : "txt");
  if (!path) return;
  // The model writes beside the file and replaces it only once all is
  // written: a failure leaves the file that was there.
  if (!module_->WriteStringTables(block_, *path, resourceScript))
    platform_.messageBox->MessageBox(platform_.strings->LoadString(IDS_STRING_SAVE_FAILED), MB_ICONEXCLAMATION_);
}

LRESULT CStringResPage::OnColumnClick(NMLISTVIEW& click) {
  if (click.iSubItem < 0 || click.iSubItem > 1) return 0;
  // The same column again turns the order round; another sorts ascending.
  ascending_ = click.iSubItem == sortColumn_ ? !ascending_ : true;
  sortColumn_ = click.iSubItem;
  const bool byId = sortColumn_ == 0;
  std::stable_sort(rows_.begin(), rows_.end(), [&](const StringListRow& a, const StringListRow& b) {
    const int order = byId ? (a.identifier < b.identifier   ? -1
                              : a.identifier > b.identifier ? 1
                                                            : 0)
                           : CompareCells(ColumnType::Text, a.text, b.text);
    return ascending_ ? order < 0 : order > 0;
  });
  ::InvalidateRect(list_.m_hWnd, nullptr, TRUE);
  return 0;
}

}  // namespace qm
