#include "windows/ui/find_window_dlg.h"

#include "framework/control_text.h"
#include "platform/win32/win32_system.h"
#include "res/string_ids.h"
#include "windows/window_actions.h"
#include "windows/window_list_model.h"

namespace qm {
namespace {

constexpr int kKindButtons[] = {IDC_FIND_BY_HANDLE, IDC_FIND_BY_TITLE, IDC_FIND_BY_CLASS, IDC_FIND_BY_PID};
constexpr FindWindowBy kKinds[] = {FindWindowBy::Handle, FindWindowBy::Title, FindWindowBy::Class,
                                   FindWindowBy::ProcessId};

}  // namespace

fw::MessageTable<CFindWindowDlg> CFindWindowDlg::Messages() {
  static constexpr fw::MessageEntry<CFindWindowDlg> kTable[] = {
      fw::OnCommand(IDC_FIND_BY_HANDLE, &CFindWindowDlg::OnKindClicked),
      fw::OnCommand(IDC_FIND_BY_TITLE, &CFindWindowDlg::OnKindClicked),
      fw::OnCommand(IDC_FIND_BY_CLASS, &CFindWindowDlg::OnKindClicked),
      fw::OnCommand(IDC_FIND_BY_PID, &CFindWindowDlg::OnKindClicked),
      fw::OnCommand(IDC_FIND_CAPTURE, &CFindWindowDlg::OnCapture),
      fw::OnNotify<&CFindWindowDlg::OnDoubleClick>(NM_DBLCLK, IDC_FIND_RESULTS),
      fw::OnNotify<&CFindWindowDlg::OnItemChanged>(LVN_ITEMCHANGED, IDC_FIND_RESULTS),
  };
  return kTable;
}

BOOL CFindWindowDlg::OnInitDialog() {
  m_hResult = 0;
  helper_.Attach(::GetDlgItem(m_hWnd, IDC_FIND_RESULTS));
  const IStrings& strings = *platform_.strings;
  // Headings readable before the first search; the matches fit them after.
  constexpr int kWidths[] = {90, 140, 200, 60};
  int column = 0;
  for (uint32_t heading : {IDS_COLUMN_HANDLE, IDS_COLUMN_CLASS_NAME, IDS_COLUMN_WINDOW_NAME, IDS_COLUMN_PID}) {
    helper_.m_list.InsertColumn(column, strings.LoadString(heading), LVCFMT_LEFT, kWidths[column]);
    ++column;
  }
  helper_.m_list.SetExtendedStyle(LVS_EX_FULLROWSELECT);
  helper_.m_list.SetImageList(images_, LVSIL_SMALL);
  for (size_t kind = 0; kind < std::size(kKinds); ++kind)
    ::CheckDlgButton(m_hWnd, kKindButtons[kind], kKinds[kind] == m_request.by ? BST_CHECKED : BST_UNCHECKED);
  ::CheckDlgButton(m_hWnd, IDC_FIND_EXACT, m_request.exact ? BST_CHECKED : BST_UNCHECKED);
  ::SetDlgItemTextW(m_hWnd, IDC_FIND_TEXT, Widen(m_request.text).c_str());
  ::SetDlgItemTextW(m_hWnd, IDC_FIND_COUNT, L"");
  UpdateControls();
  ::SetFocus(::GetDlgItem(m_hWnd, IDC_FIND_TEXT));
  ::SendDlgItemMessageW(m_hWnd, IDC_FIND_TEXT, EM_SETSEL, 0, -1);
  return FALSE;  // the focus is set
}

void CFindWindowDlg::ReadRequest() {
  for (size_t kind = 0; kind < std::size(kKinds); ++kind)
    if (::IsDlgButtonChecked(m_hWnd, kKindButtons[kind]) == BST_CHECKED) m_request.by = kKinds[kind];
  m_request.exact = ::IsDlgButtonChecked(m_hWnd, IDC_FIND_EXACT) == BST_CHECKED;
  m_request.text = fw::DlgItemText(m_hWnd, IDC_FIND_TEXT);
}

void CFindWindowDlg::OnOK() {
  if (::GetFocus() == helper_.m_list.m_hWnd && helper_.GetSelectedRow() >= 0) {
    Pick(Selected());
    return;
  }
  Search();
}

void CFindWindowDlg::Search() {
  ReadRequest();
  const FindWindowOutcome outcome =
      FindWindows(platform_, m_request, static_cast<WindowHandle>(reinterpret_cast<uintptr_t>(m_hWnd)));
  if (!outcome.malformed.empty() || outcome.matches.empty()) {
    ShowMatches({});
    const std::string text =
        outcome.malformed.empty() ? NothingFoundText(*platform_.strings, m_request) : outcome.malformed;
    platform_.messageBox->MessageBox(text, MB_ICONEXCLAMATION_);
    ::SetFocus(::GetDlgItem(m_hWnd, IDC_FIND_TEXT));
    return;
  }
  if (outcome.matches.size() == 1) {
    Pick(outcome.matches.front().window);
    return;
  }
  ShowMatches(outcome.matches);
  ::SetFocus(helper_.m_list.m_hWnd);
}

void CFindWindowDlg::ShowMatches(const std::vector<FoundWindow>& matches) {
  fw::CListCtrl& list = helper_.m_list;
  list.SetRedraw(false);
  list.DeleteAllItems();
  const IWindowSystem& windows = *platform_.windows;
  for (const FoundWindow& match : matches) {
    const int row =
        list.InsertItem(list.GetItemCount(), ListHandleText(match.window), WindowImageIndex(windows, match.window));
    if (row < 0) continue;
    list.SetItemText(row, 1, match.className);
    list.SetItemText(row, 2, match.title);
    list.SetItemText(row, 3, std::to_string(match.processId));
    list.SetItemData(row, static_cast<LPARAM>(match.window));
  }
  list.SetRedraw(true);
  if (!matches.empty()) {
    helper_.AutoSizeColumns();
    helper_.SelectRow(0);
  }
  const std::string count =
      matches.empty() ? std::string()
                      : std::to_string(matches.size()) + " " + platform_.strings->LoadString(IDS_WINDOWS_FOUND);
  ::SetDlgItemTextW(m_hWnd, IDC_FIND_COUNT, Widen(count).c_str());
  UpdateControls();
}

void CFindWindowDlg::Pick(WindowHandle window) {
  // A window that closed since it was listed is not handed back.
  if (window == 0 || !platform_.windows->IsWindow(window)) {
    const FindWindowRequest handle{FindWindowBy::Handle, ListHandleText(window), false};
    platform_.messageBox->MessageBox(NothingFoundText(*platform_.strings, handle), MB_ICONEXCLAMATION_);
    return;
  }
  m_hResult = window;
  EndDialog(IDOK);
}

WindowHandle CFindWindowDlg::Selected() const {
  const int row = helper_.GetSelectedRow();
  return row >= 0 ? static_cast<WindowHandle>(helper_.m_list.GetItemData(row)) : 0;
}

void CFindWindowDlg::UpdateControls() {
  // Only a title or a class can be matched whole.
  const bool byText = ::IsDlgButtonChecked(m_hWnd, IDC_FIND_BY_TITLE) == BST_CHECKED ||
                      ::IsDlgButtonChecked(m_hWnd, IDC_FIND_BY_CLASS) == BST_CHECKED;
  EnableDlgItem(IDC_FIND_EXACT, byText);
  EnableDlgItem(IDC_FIND_CAPTURE, helper_.GetSelectedRow() >= 0);
}

LRESULT CFindWindowDlg::OnKindClicked(WPARAM, LPARAM) {
  UpdateControls();
  return 0;
}

LRESULT CFindWindowDlg::OnCapture(WPARAM, LPARAM) {
  if (helper_.GetSelectedRow() >= 0) Pick(Selected());
  return 0;
}

LRESULT CFindWindowDlg::OnDoubleClick(NMITEMACTIVATE& click) {
  if (click.iItem >= 0) Pick(Selected());
  return 0;
}

LRESULT CFindWindowDlg::OnItemChanged(NMLISTVIEW& change) {
  if (change.uChanged & LVIF_STATE) UpdateControls();
  return 0;
}

}  // namespace qm
