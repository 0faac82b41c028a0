#include "windows/ui/style_edit_dlg.h"

#include <vector>

#include "framework/control_text.h"
#include "framework/list_box.h"
#include "platform/platform.h"
#include "platform/win32/win32_system.h"

namespace qm {
namespace {

// The list boxes sort the names; each line's item data is its value.
void FillStyleList(fw::CListBox& list, const std::vector<StyleName>& names) {
  list.ResetContent();
  for (const StyleName& name : names) {
    const int line = list.AddString(name.name);
    if (line >= 0) list.SetItemData(line, static_cast<LPARAM>(name.value));
  }
}

}  // namespace

// ---- the editor ----

fw::MessageTable<CStyleEditDlg> CStyleEditDlg::Messages() {
  static constexpr fw::MessageEntry<CStyleEditDlg> kTable[] = {
      fw::OnControl(EN_KILLFOCUS, IDC_STYLE_HEX, &CStyleEditDlg::OnHexKillFocus),
      fw::OnControl(BN_CLICKED, IDC_STYLE_ADD, &CStyleEditDlg::OnAdd),
      fw::OnControl(BN_CLICKED, IDC_STYLE_DELETE, &CStyleEditDlg::OnDelete),
      fw::OnControl(LBN_DBLCLK, IDC_STYLE_LIST, &CStyleEditDlg::OnDelete),
  };
  return kTable;
}

void CStyleEditDlg::SetStyle(uint32_t style, StyleKind kind) {
  model_.SetStyle(style, kind);
  if (m_hWnd) Refresh();
}

BOOL CStyleEditDlg::OnInitDialog() {
  styleList_.m_hWnd = ::GetDlgItem(m_hWnd, IDC_STYLE_LIST);
  Refresh();
  return TRUE;
}

void CStyleEditDlg::Refresh() {
  ::SetDlgItemTextW(m_hWnd, IDC_STYLE_HEX, Widen(model_.HexText()).c_str());
  EnableDlgItem(IDOK, model_.CanAccept());
  const auto title = model_.BreakdownTitleId();
  const std::string caption = title ? SystemPlatform().strings->LoadString(*title) : std::string();
  ::SetDlgItemTextW(m_hWnd, IDC_GROUP_BOX, Widen(caption).c_str());
  FillStyleList(styleList_, model_.Breakdown());
}

void CStyleEditDlg::TakeTypedWord() {
  const std::string typed = fw::DlgItemText(m_hWnd, IDC_STYLE_HEX);
  if (typed == model_.HexText()) return;
  model_.SetFromText(typed);
  Refresh();
}

LRESULT CStyleEditDlg::OnHexKillFocus(WPARAM, LPARAM) {
  TakeTypedWord();
  return 0;
}

void CStyleEditDlg::OnOK() {
  // Enter right after typing leaves the edit no focus to lose: the typed
  // word still counts.
  TakeTypedWord();
  if (!model_.CanAccept()) return;
  CDialog::OnOK();
}

LRESULT CStyleEditDlg::OnAdd(WPARAM, LPARAM) {
  CStyleListDlg list;
  list.m_style = model_.Style();
  list.m_kind = model_.Kind();
  RECT button{};
  if (::GetWindowRect(::GetDlgItem(m_hWnd, IDC_STYLE_ADD), &button)) {
    list.m_x = button.left + (button.right - button.left) / 2;
    list.m_y = button.top + (button.bottom - button.top) / 2;
  }
  if (list.DoModal(m_hWnd) != IDOK) return 0;
  model_.Add(list.m_style);
  Refresh();
  return 0;
}

LRESULT CStyleEditDlg::OnDelete(WPARAM, LPARAM) {
  const int line = styleList_.GetCurSel();
  if (line < 0) return 0;
  model_.Delete(static_cast<uint32_t>(styleList_.GetItemData(line)));
  Refresh();
  return 0;
}

// ---- the names that can still be added ----

fw::MessageTable<CStyleListDlg> CStyleListDlg::Messages() {
  static constexpr fw::MessageEntry<CStyleListDlg> kTable[] = {
      fw::OnControl(LBN_DBLCLK, IDC_STYLE_LIST, &CStyleListDlg::OnDoubleClick),
  };
  return kTable;
}

BOOL CStyleListDlg::OnInitDialog() {
  styleList_.m_hWnd = ::GetDlgItem(m_hWnd, IDC_STYLE_LIST);
  FillStyleList(styleList_, StyleEditModel(m_style, m_kind).AvailableNames());
  if (m_x != 0 || m_y != 0) ::SetWindowPos(m_hWnd, nullptr, m_x, m_y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOREDRAW);
  return TRUE;
}

void CStyleListDlg::OnOK() {
  const int line = styleList_.GetCurSel();
  m_style = line >= 0 ? static_cast<uint32_t>(styleList_.GetItemData(line)) : 0;
  EndDialog(IDOK);
}

LRESULT CStyleListDlg::OnDoubleClick(WPARAM, LPARAM) {
  OnOK();
  return 0;
}

}  // namespace qm
