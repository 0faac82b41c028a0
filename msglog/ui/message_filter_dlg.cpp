#include "msglog/ui/message_filter_dlg.h"

#include "framework/list_box.h"
#include "msglog/message_names.h"
#include "platform/win32/win32_system.h"
#include "res/resource_ids.h"

namespace qm {
namespace {

static_assert(IDC_FILTER_GROUP_LAST - IDC_FILTER_GROUP_FIRST + 1 == kMessageGroupCount);

std::string ItemText(HWND dialog, int id) {
  HWND item = ::GetDlgItem(dialog, id);
  std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(item)) + 1, L'\0');
  text.resize(static_cast<size_t>(::GetWindowTextW(item, text.data(), static_cast<int>(text.size()))));
  return Narrow(text);
}

std::string Trimmed(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

}  // namespace

fw::MessageTable<CMessageFilterDlg> CMessageFilterDlg::Messages() {
  static constexpr fw::MessageEntry<CMessageFilterDlg> kTable[] = {
      fw::OnControl(BN_CLICKED, IDC_FILTER_ADD, &CMessageFilterDlg::OnAdd),
      fw::OnControl(BN_CLICKED, IDC_FILTER_REMOVE, &CMessageFilterDlg::OnRemove),
  };
  return kTable;
}

INT_PTR CMessageFilterDlg::DoModal(HWND parent) { return CDialog::DoModal(IDD_MESSAGE_FILTER, parent); }

BOOL CMessageFilterDlg::OnInitDialog() {
  for (size_t group = 0; group < kMessageGroupCount; ++group) {
    const int id = IDC_FILTER_GROUP_FIRST + static_cast<int>(group);
    const auto which = static_cast<MessageGroup>(group);
    ::SetDlgItemTextW(m_hWnd, id, Widen(strings_.LoadString(GroupNameId(which))).c_str());
    ::CheckDlgButton(m_hWnd, id, m_filter.GroupShown(which) ? BST_CHECKED : BST_UNCHECKED);
  }
  HWND names = ::GetDlgItem(m_hWnd, IDC_FILTER_MESSAGE);
  const std::vector<std::string> all = AllMessageNames();
  ::SendMessageW(names, CB_INITSTORAGE, all.size(), all.size() * 24);
  for (const std::string& name : all)
    ::SendMessageW(names, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(name).c_str()));
  ::CheckRadioButton(m_hWnd, IDC_FILTER_INCLUDE, IDC_FILTER_EXCLUDE, IDC_FILTER_EXCLUDE);
  FillRules();
  return TRUE;
}

// A line per rule: the name, then the rule as its radio button says it.
void CMessageFilterDlg::FillRules() {
  fw::CListBox rules(::GetDlgItem(m_hWnd, IDC_FILTER_RULES));
  rules.ResetContent();
  const std::string include = ItemText(m_hWnd, IDC_FILTER_INCLUDE);
  const std::string exclude = ItemText(m_hWnd, IDC_FILTER_EXCLUDE);
  for (const auto& [name, rule] : m_filter.Rules()) {
    if (rule == MessageRule::None) continue;
    rules.AddString(name + "  [" + (rule == MessageRule::Include ? include : exclude) + "]");
  }
}

LRESULT CMessageFilterDlg::OnAdd(WPARAM, LPARAM) {
  // Any name: a registered message or a number is shown by its own.
  const std::string name = Trimmed(ItemText(m_hWnd, IDC_FILTER_MESSAGE));
  if (name.empty()) return 0;
  const bool include = ::IsDlgButtonChecked(m_hWnd, IDC_FILTER_INCLUDE) == BST_CHECKED;
  m_filter.SetRule(name, include ? MessageRule::Include : MessageRule::Exclude);
  FillRules();
  return 0;
}

LRESULT CMessageFilterDlg::OnRemove(WPARAM, LPARAM) {
  fw::CListBox rules(::GetDlgItem(m_hWnd, IDC_FILTER_RULES));
  const int line = rules.GetCurSel();
  if (line < 0) return 0;
  const std::string text = rules.GetText(line);
  const size_t end = text.rfind("  [");
  m_filter.SetRule(text.substr(0, end), MessageRule::None);
  FillRules();
  return 0;
}

void CMessageFilterDlg::OnOK() {
  for (size_t group = 0; group < kMessageGroupCount; ++group)
    m_filter.SetGroupShown(
        static_cast<MessageGroup>(group),
        ::IsDlgButtonChecked(m_hWnd, IDC_FILTER_GROUP_FIRST + static_cast<int>(group)) == BST_CHECKED);
  EndDialog(IDOK);
}

}  // namespace qm
