#include "services_manager/ui/services_window.h"

#include "common/number_format.h"
#include "common/text.h"
#include "framework/list_view.h"
#include "framework/resource_text.h"
#include "platform/error_text.h"
#include "platform/platform.h"
#include "platform/win32/win32_system.h"
#include "services_manager/service_strings.h"
#include "services_manager/services_ids.h"
#include "services_manager/ui/win32_services.h"

namespace qm::services {
namespace {

constexpr UINT_PTR kPendingTimer = 1;
constexpr UINT kPendingMs = 500;
// A service still on its way after this many ticks is left as it is shown.
constexpr int kMaxPendingTicks = 40;
std::string Text(uint32_t id) { return fw::ResourceText(id); }

void SelectIndex(fw::CListCtrl& list, int index) {
  list.SetItemSelected(index, true);
  list.EnsureVisible(index);
}

}  // namespace

CServicesWindow::CServicesWindow(IMessageBox* messageBox)
    : WithMessageTable(IDD_SERVICES, IDI_SERVICES), messageBox_(messageBox ? *messageBox : ownMessageBox_) {}

fw::MessageTable<CServicesWindow> CServicesWindow::Messages() {
  static constexpr fw::MessageEntry<CServicesWindow> kTable[] = {
      fw::OnCommand(IDC_SM_REFRESH, &CServicesWindow::OnRefresh),
      fw::OnCommand(IDC_SM_START, &CServicesWindow::OnStart),
      fw::OnCommand(IDC_SM_STOP, &CServicesWindow::OnStop),
      fw::OnMessage(WM_TIMER, &CServicesWindow::OnTimer),
      fw::OnMessage(WM_DESTROY, &CServicesWindow::OnDestroy),
      fw::OnNotify<&CServicesWindow::OnItemChanged>(LVN_ITEMCHANGED, IDC_SM_LIST),
  };
  return kTable;
}

BOOL CServicesWindow::OnInitDialog() {
  BeginToolWindow();
  ownMessageBox_.SetOwner(m_hWnd);
  list_.m_hWnd = ::GetDlgItem(m_hWnd, IDC_SM_LIST);
  list_.SetExtendedStyle(LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
  list_.InsertColumn(0, Text(IDS_SM_COL_NAME), LVCFMT_LEFT, 120);
  list_.InsertColumn(1, Text(IDS_SM_COL_DISPLAY), LVCFMT_LEFT, 185);
  list_.InsertColumn(2, Text(IDS_SM_COL_STATE), LVCFMT_LEFT, 95);
  list_.InsertColumn(3, Text(IDS_SM_COL_START), LVCFMT_LEFT, 85);
  list_.InsertColumn(4, Text(IDS_SM_COL_PID), LVCFMT_RIGHT, 95);
  Refresh();
  return TRUE;
}

LRESULT CServicesWindow::OnDestroy(WPARAM, LPARAM) {
  ::KillTimer(m_hWnd, kPendingTimer);
  EndToolWindow();
  return 0;
}

void CServicesWindow::Refresh() {
  const ServiceRow* selected = Selected();
  const std::string keep = selected ? selected->name : std::string();
  std::vector<ServiceRow> rows;
  const uint32_t error = ListServices(rows);
  if (error != 0) {
    const CErrorText text(*SystemPlatform().errors, error);
    messageBox_.MessageBox(Text(IDS_SM_LIST_FAILED) + "\n" + text.GetText(), MB_ICONERROR_);
  }
  rows_ = std::move(rows);
  ::SendMessageW(list_.m_hWnd, WM_SETREDRAW, FALSE, 0);
  list_.DeleteAllItems();
  int index = 0;
  bool pending = false;
  for (const ServiceRow& row : rows_) {
    list_.InsertItem(index, row.name);
    list_.SetItemText(index, 1, row.displayName);
    list_.SetItemText(index, 2, Text(StateTextId(row.state)));
    list_.SetItemText(index, 3, Text(StartTypeTextId(row.startType)));
    list_.SetItemText(index, 4, row.processId ? std::to_string(row.processId) : std::string());
    pending = pending || IsPending(row);
    ++index;
  }
  ::SendMessageW(list_.m_hWnd, WM_SETREDRAW, TRUE, 0);
  if (auto found = FindRow(rows_, keep)) SelectIndex(list_, static_cast<int>(*found));
  ::SetDlgItemTextW(m_hWnd, IDC_SM_COUNT, Widen(FormatTable(Text(IDS_SM_COUNT), {FormatNumber(rows_.size())})).c_str());
  if (pending && pendingTicks_ < kMaxPendingTicks) {
    ::SetTimer(m_hWnd, kPendingTimer, kPendingMs, nullptr);
  } else {
    ::KillTimer(m_hWnd, kPendingTimer);
    pendingTicks_ = 0;
  }
  UpdateButtons();
}

bool CServicesWindow::SelectService(const std::string& name) {
  const auto found = FindRow(rows_, name);
  if (!found) return false;
  SelectIndex(list_, static_cast<int>(*found));
  UpdateButtons();
  return true;
}

const ServiceRow* CServicesWindow::Selected() const {
  const int index = list_.GetNextSelected();
  if (index < 0 || static_cast<size_t>(index) >= rows_.size()) return nullptr;
  return &rows_[static_cast<size_t>(index)];
}

void CServicesWindow::UpdateButtons() {
  const ServiceRow* row = Selected();
  ::EnableWindow(::GetDlgItem(m_hWnd, IDC_SM_START), row && CanStart(*row));
  ::EnableWindow(::GetDlgItem(m_hWnd, IDC_SM_STOP), row && CanStop(*row));
}

LRESULT CServicesWindow::OnItemChanged(NMLISTVIEW& change) {
  if (change.uChanged & LVIF_STATE) UpdateButtons();
  return 0;
}

LRESULT CServicesWindow::OnRefresh(WPARAM, LPARAM) {
  Refresh();
  return 0;
}

LRESULT CServicesWindow::OnStart(WPARAM, LPARAM) {
  ChangeService(true);
  return 0;
}

LRESULT CServicesWindow::OnStop(WPARAM, LPARAM) {
  ChangeService(false);
  return 0;
}

void CServicesWindow::ChangeService(bool start) {
  const ServiceRow* row = Selected();
  if (!row || !(start ? CanStart(*row) : CanStop(*row))) return;
  const std::string name = row->name;
  const std::string question =
      FormatTable(Text(start ? IDS_SM_CONFIRM_START : IDS_SM_CONFIRM_STOP), {row->displayName, name});
  if (messageBox_.MessageBox(question, MB_YESNO_ | MB_ICONQUESTION_) != IDYES_) return;
  const uint32_t error = start ? StartServiceByName(name) : StopServiceByName(name);
  if (error != 0) {
    const CErrorText text(*SystemPlatform().errors, error);
    const std::string message = FormatTable(Text(start ? IDS_SM_START_FAILED : IDS_SM_STOP_FAILED), {name});
    messageBox_.MessageBox(message + "\n" + text.GetText(), MB_ICONERROR_);
  }
  pendingTicks_ = 0;
  Refresh();
}

LRESULT CServicesWindow::OnTimer(WPARAM wParam, LPARAM) {
  if (wParam != kPendingTimer) return 0;
  ++pendingTicks_;
  Refresh();
  return 0;
}

}  // namespace qm::services
