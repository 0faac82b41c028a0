#include "processes/ui/processes_dlg.h"

#include <cstdlib>
#include <vector>

#include "common/shared_icons.h"
#include "common/text.h"
#include "common/ui/count_text.h"
#include "framework/controls.h"
#include "framework/tab_control.h"
#include "platform/error_text.h"
#include "platform/win32/win32_system.h"
#include "processes/process_info_model.h"
#include "processes/process_termination.h"
#include "processes/ui/list_keys.h"
#include "processes/ui/process_info_dlg.h"
#include "res/string_ids.h"
#include "resources/ui/module_resources_dlg.h"

namespace qm {
namespace {

constexpr int kProcessImage = kIconComputer;
constexpr int kTreeTabImage = kIconProcessTree;
constexpr int kPidColumn = 1;

std::string PidText(uint32_t pid) { return Format("%u", pid); }

}  // namespace

fw::MessageTable<CProcessesDlg> CProcessesDlg::Messages() {
  static constexpr fw::MessageEntry<CProcessesDlg> kTable[] = {
      fw::OnMessage(WM_TIMER, &CProcessesDlg::OnTimer),
      fw::OnNotify<&CProcessesDlg::OnTabChange>(TCN_SELCHANGE, IDC_VIEW_TABS),
      fw::OnNotify<&CProcessesDlg::OnColumnClick>(LVN_COLUMNCLICK, IDC_ITEM_LIST),
      fw::OnNotify<&CProcessesDlg::OnListDoubleClick>(NM_DBLCLK, IDC_ITEM_LIST),
      fw::OnNotify<&CProcessesDlg::OnTreeDoubleClick>(NM_DBLCLK, IDC_ITEM_TREE),
      fw::OnNotify<&CProcessesDlg::OnListKey>(LVN_KEYDOWN, IDC_ITEM_LIST),
      fw::OnNotify<&CProcessesDlg::OnTreeKey>(TVN_KEYDOWN, IDC_ITEM_TREE),
      fw::OnCommand(IDC_CHILD_WINDOWS, &CProcessesDlg::OnChildWindows),
      fw::OnCommand(IDC_MODULES, &CProcessesDlg::OnProcessInfo),
      fw::OnCommand(IDC_THREADS, &CProcessesDlg::OnProcessInfo),
      fw::OnCommand(IDC_KILL_PROCESS, &CProcessesDlg::OnKillProcess),
      fw::OnCommand(IDC_RESOURCES, &CProcessesDlg::OnResources),
  };
  return kTable;
}

CProcessesDlg::~CProcessesDlg() {
  if (tabImages_) ::ImageList_Destroy(tabImages_);
}

bool CProcessesDlg::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (message == WM_DESTROY) ::KillTimer(m_hWnd, IDT_PROCESS_UPDATE);
  return WithMessageTable::OnWndMsg(message, wParam, lParam, result);
}

BOOL CProcessesDlg::OnInitDialog() {
  const IStrings& strings = *platform_.strings;
  // The tabs show the process and the tree icons of the shared list.
  tabImages_ = ::ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 24, 1);
  if (tabImages_) {
    ::ImageList_SetBkColor(tabImages_, RGB(0x80, 0x80, 0x80));
    for (int image : {kProcessImage, kTreeTabImage}) {
      if (HICON icon = images_ ? ::ImageList_GetIcon(images_, image, ILD_NORMAL) : nullptr) {
        ::ImageList_AddIcon(tabImages_, icon);
        ::DestroyIcon(icon);
      }
    }
  }
  tabs_.m_hWnd = ::GetDlgItem(m_hWnd, IDC_VIEW_TABS);
  tree_.m_hWnd = ::GetDlgItem(m_hWnd, IDC_ITEM_TREE);
  tabs_.SetImageList(tabImages_);
  tabs_.InsertItem(0, strings.LoadString(IDS_TAB_LIST), 0, 0);
  tabs_.InsertItem(1, strings.LoadString(IDS_TAB_TREE), 0, 1);

  helper_.Attach(::GetDlgItem(m_hWnd, IDC_ITEM_LIST));
  helper_.m_list.InsertColumn(0, strings.LoadString(IDS_COLUMN_FILE), LVCFMT_LEFT, 25);
  helper_.m_list.InsertColumn(1, strings.LoadString(IDS_COLUMN_PID), LVCFMT_RIGHT, 25);
  helper_.m_list.InsertColumn(2, strings.LoadString(IDS_COLUMN_PARENT), LVCFMT_RIGHT, 25);
  helper_.m_list.InsertColumn(3, strings.LoadString(IDS_THREADS), LVCFMT_RIGHT, 25);
  helper_.m_list.SetExtendedStyle(LVS_EX_FULLROWSELECT);
  helper_.m_list.SetImageList(images_, LVSIL_SMALL);
  for (int column : {1, 2, 3}) helper_.SetColumnType(column, ColumnType::Integer);
  tree_.SetImageList(images_, TVSIL_NORMAL);

  toolbar_.CreateInPlace(m_hWnd, IDC_TOOLBAR_PLACEHOLDER, IDR_PROCESSES_TOOLBAR);

  Refresh();
  tabs_.SetCurSel(m_nInitialTab);
  ShowTab(m_nInitialTab);
  ::SetTimer(m_hWnd, IDT_PROCESS_UPDATE, kProcessUpdateMs, nullptr);
  return TRUE;
}

void CProcessesDlg::ShowCount(int count) {
  ::SetDlgItemTextW(m_hWnd, IDC_PROCESS_COUNT, CountText(count, IDS_PROCESSES_FOUND).c_str());
}

int CProcessesDlg::RowOf(uint32_t pid) const { return helper_.FindText(PidText(pid), kPidColumn); }

void CProcessesDlg::Apply(const ProcessViews::Changes& changes) {
  fw::CListCtrl& list = helper_.m_list;
  for (const auto& [pid, texts] : changes.appendedRows) {
    const int row = list.InsertItem(list.GetItemCount(), texts[0], kProcessImage);
    if (row < 0) continue;
    for (int column = 1; column < 4; ++column) list.SetItemText(row, column, texts[static_cast<size_t>(column)]);
    list.SetItemData(row, static_cast<LPARAM>(pid));
  }
  for (const auto& cell : changes.changedCells) {
    const int row = RowOf(cell.pid);
    if (row >= 0) list.SetItemText(row, cell.column, cell.text);
  }
  for (const auto& insert : changes.insertedItems) {
    HTREEITEM parent = TVI_ROOT;
    if (insert.parent) {
      auto it = items_.find(*insert.parent);
      if (it != items_.end()) parent = it->second;
    }
    items_[insert.pid] = tree_.InsertItem(insert.label, kProcessImage, static_cast<LPARAM>(insert.pid), parent);
  }
  for (const auto& [pid, label] : changes.relabelledItems) {
    auto it = items_.find(pid);
    if (it != items_.end()) tree_.SetItemText(it->second, label);
  }
  for (const auto& move : changes.movedItems) MoveSubtree(move);
  for (uint32_t pid : changes.removedRows) {
    const int row = RowOf(pid);
    if (row >= 0) list.DeleteItem(row);
  }
  for (uint32_t pid : changes.removedItems) {
    auto it = items_.find(pid);
    if (it != items_.end()) tree_.DeleteItem(it->second);
  }
  for (uint32_t pid : changes.droppedItems) items_.erase(pid);
}

void CProcessesDlg::MoveSubtree(const ProcessViews::MovedItem& move) {
  auto old = items_.find(move.pid);
  if (old == items_.end()) return;
  const HTREEITEM oldRoot = old->second;
  // The control cannot move an item: the subtree is made anew under its new
  // parent, each item opened as it was, and the old one deleted.
  std::map<uint32_t, HTREEITEM> made;
  std::vector<HTREEITEM> expanded;
  for (const auto& node : move.subtree) {
    HTREEITEM parent = TVI_ROOT;
    if (node.parent) {
      if (auto it = made.find(*node.parent); it != made.end()) {
        parent = it->second;
      } else if (auto existing = items_.find(*node.parent); existing != items_.end()) {
        parent = existing->second;
      }
    }
    HTREEITEM item = tree_.InsertItem(node.label, kProcessImage, static_cast<LPARAM>(node.pid), parent);
    made[node.pid] = item;
    auto before = items_.find(node.pid);
    if (item && before != items_.end() && tree_.GetItemState(before->second, TVIS_EXPANDED) & TVIS_EXPANDED)
      expanded.push_back(item);
  }
  for (HTREEITEM item : expanded) tree_.Expand(item, TVE_EXPAND);
  tree_.DeleteItem(oldRoot);
  for (const auto& [pid, item] : made) items_[pid] = item;
}

std::optional<uint32_t> CProcessesDlg::TreeSelection() const {
  HTREEITEM caret = tree_.GetSelectedItem();
  if (!caret) return std::nullopt;
  return static_cast<uint32_t>(tree_.GetItemData(caret));
}

void CProcessesDlg::SelectInTree(std::optional<uint32_t> pid) {
  HTREEITEM item = nullptr;
  if (pid) {
    if (auto it = items_.find(*pid); it != items_.end()) item = it->second;
  }
  if (tree_.GetSelectedItem() != item) tree_.SelectItem(item);
}

void CProcessesDlg::Refresh(std::optional<uint32_t> ended) {
  fw::CListCtrl& list = helper_.m_list;
  std::optional<std::string> selectedPid;
  if (const int64_t pid = GetSelectedProcessId(); pid >= 0 && static_cast<uint32_t>(pid) != ended)
    selectedPid = PidText(static_cast<uint32_t>(pid));
  ShowCount(0);
  list.DeleteAllItems();
  tree_.DeleteAllItems();
  items_.clear();
  helper_.AutoSizeColumns(true);
  const auto processes = ReadProcessList(platform_);
  if (!processes) return;
  const ProcessViews::Changes changes = views_.Rebuild(*processes);
  Apply(changes);
  helper_.AutoSizeColumns();
  ShowCount(changes.count);
  std::vector<std::string> pids;
  for (const auto& row : changes.appendedRows) pids.push_back(row.second[kPidColumn]);
  const int select = RowAfterRefresh(pids, selectedPid);
  if (select < 0) return;
  helper_.SelectRow(select);
  // The tree follows, so the commands act on the same process on either tab.
  SelectInTree(changes.appendedRows[static_cast<size_t>(select)].first);
}

void CProcessesDlg::UpdateFromSystem() {
  const auto processes = ReadProcessList(platform_);
  if (!processes) return;  // an unreadable snapshot changes nothing
  const std::optional<uint32_t> selected = TreeSelection();
  const ProcessViews::Changes changes = views_.Update(*processes);
  Apply(changes);
  // Deleting or remaking the selected item lets the control pick another.
  SelectInTree(views_.ItemToSelect(selected));
  helper_.AutoSizeColumns();
  ShowCount(changes.count);
}

LRESULT CProcessesDlg::OnTimer(WPARAM wParam, LPARAM lParam) {
  if (wParam != IDT_PROCESS_UPDATE) return DefWindowProc(WM_TIMER, wParam, lParam);
  UpdateFromSystem();
  return 0;
}

void CProcessesDlg::ShowTab(int tab) {
  if (tab == 0) {
    if (HTREEITEM caret = tree_.GetSelectedItem()) {
      const int row = helper_.FindNumber(static_cast<long long>(tree_.GetItemData(caret)), kPidColumn);
      if (row >= 0) helper_.SelectRow(row);
    }
  } else if (tab == 1) {
    if (const int row = helper_.GetSelectedRow(); row >= 0) {
      const long long pid = std::strtoll(helper_.m_list.GetItemText(row, kPidColumn).c_str(), nullptr, 10);
      auto it = items_.find(static_cast<uint32_t>(pid));
      if (it != items_.end()) {
        // Every branch closed, then the path down to the process opened by
        // selecting it.
        for (const auto& entry : items_) tree_.Expand(entry.second, TVE_COLLAPSE);
        tree_.SelectItem(it->second);
      }
    }
  }
  ::ShowWindow(helper_.m_list.m_hWnd, tab == 0 ? SW_SHOW : SW_HIDE);
  ::ShowWindow(tree_.m_hWnd, tab == 1 ? SW_SHOW : SW_HIDE);
}

int64_t CProcessesDlg::GetSelectedProcessId() const {
  const int tab = tabs_.GetCurSel();
  if (tab == 0) {
    const int row = helper_.GetSelectedRow();
    return row >= 0 ? static_cast<int64_t>(static_cast<uint32_t>(helper_.m_list.GetItemData(row))) : -1;
  }
  if (tab == 1) {
    HTREEITEM caret = tree_.GetSelectedItem();
    return caret ? static_cast<int64_t>(static_cast<uint32_t>(tree_.GetItemData(caret))) : -1;
  }
  return -1;
}

LRESULT CProcessesDlg::OnTabChange(NMHDR&) {
  ShowTab(tabs_.GetCurSel());
  return 0;
}

LRESULT CProcessesDlg::OnColumnClick(NMLISTVIEW& click) {
  if (click.iSubItem >= 0) helper_.Sort(click.iSubItem, 0);
  return 0;
}

LRESULT CProcessesDlg::OnListDoubleClick(NMITEMACTIVATE& click) {
  if (click.iItem >= 0) OnChildWindows(0, 0);
  return 0;
}

LRESULT CProcessesDlg::OnTreeDoubleClick(NMHDR&) {
  OnChildWindows(0, 0);
  return 0;
}

void CProcessesDlg::OnKey(WORD key) {
  OnProcessListKey(
      key, [this] { OnChildWindows(0, 0); }, [this] { Refresh(); });
}

LRESULT CProcessesDlg::OnListKey(NMLVKEYDOWN& key) {
  OnKey(key.wVKey);
  return 0;
}

LRESULT CProcessesDlg::OnTreeKey(NMTVKEYDOWN& key) {
  OnKey(key.wVKey);
  return 0;
}

void CProcessesDlg::OnOK() { OnChildWindows(0, 0); }

LRESULT CProcessesDlg::OnChildWindows(WPARAM, LPARAM) {
  const int64_t pid = GetSelectedProcessId();
  if (pid < 0) return 0;
  const std::optional<WindowHandle> picked = tools_.PickWindowOfProcess(m_hWnd, static_cast<uint32_t>(pid));
  if (picked && *picked != 0) {
    m_hSelectedWnd = *picked;
    EndDialog(IDOK);
  }
  return 0;
}

LRESULT CProcessesDlg::OnProcessInfo(WPARAM wParam, LPARAM) {
  const int64_t pid = GetSelectedProcessId();
  if (pid < 0) return 0;
  CProcessInfoDlg info(platform_, images_);
  info.m_nInitialTab = LOWORD(wParam) == IDC_THREADS ? 1 : 0;
  info.SetProcessId(static_cast<uint32_t>(pid));
  info.DoModal(m_hWnd);
  return 0;
}

LRESULT CProcessesDlg::OnResources(WPARAM, LPARAM) {
  const int64_t pid = GetSelectedProcessId();
  if (pid < 0) return 0;
  const ExecutableModule executable = FindExecutableModule(platform_, static_cast<uint32_t>(pid));
  if (!executable.warning.empty()) {
    platform_.messageBox->MessageBox(executable.warning, MB_ICONEXCLAMATION_);
  } else if (!executable.path.empty()) {
    CModuleResourcesDlg dialog(platform_, images_, executable.path);
    dialog.DoModal(m_hWnd);
  }
  return 0;
}

LRESULT CProcessesDlg::OnKillProcess(WPARAM, LPARAM) {
  const int64_t pid = GetSelectedProcessId();
  if (pid < 0 || !platform_.processes) return 0;
  const IStrings& strings = *platform_.strings;
  const ProcessIdentity target = views_.Identity(static_cast<uint32_t>(pid));
  const TerminateResult result = TerminateAfterAsking(platform_, target, [&] {
    return platform_.messageBox->MessageBox(TerminateQuestion(strings, target), MB_YESNO_ | MB_ICONQUESTION_) == IDYES_;
  });
  switch (result.outcome) {
    case TerminateOutcome::OpenFailed:
    case TerminateOutcome::Failed:
      platform_.messageBox->MessageBox(CErrorText(*platform_.errors, result.error).GetText(), MB_ICONEXCLAMATION_);
      break;
    case TerminateOutcome::Ended:
      platform_.messageBox->MessageBox(AlreadyEndedText(strings, target), MB_ICONEXCLAMATION_);
      break;
    case TerminateOutcome::Terminated:
      Refresh(target.pid);
      break;
    case TerminateOutcome::Declined:
      break;
  }
  return 0;
}

}  // namespace qm
