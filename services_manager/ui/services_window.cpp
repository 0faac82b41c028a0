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
constexpr wchar_t kCaption[] = L"Palvexi";

std::string Text(uint32_t id) { return fw::ResourceText(id); }

void AddColumn(HWND list, int index, uint32_t title, int width, int format = LVCFMT_LEFT) {
  fw::CListCtrl(list).InsertColumn(index, Text(title), format, width);
}

// Column 0 makes the row, the others fill it.
void SetCell(HWND list, int row, int column, const std::string& text) {
  fw::CListCtrl cells(list);
  if (column == 0) {
    cells.InsertItem(row, text);
  } else {
    cells.SetItemText(row, column, text);
  }
}

int SelectedIndex(HWND list) {
  return static_cast<int>(::SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void SelectIndex(HWND list, int index) {
  LVITEMW item{};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = LVIS_SELECTED | LVIS_FOCUSED;
  ::SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
  ::SendMessageW(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(index), FALSE);
}

}  // namespace

CServicesWindow::CServicesWindow() : WithMessageTable(IDD_SERVICES, IDI_SERVICES) {}

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
  HWND list = ::GetDlgItem(m_hWnd, IDC_SM_LIST);
  ::SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
  AddColumn(list, 0, IDS_SM_COL_NAME, 120);
  AddColumn(list, 1, IDS_SM_COL_DISPLAY, 185);
  AddColumn(list, 2, IDS_SM_COL_STATE, 95);
  AddColumn(list, 3, IDS_SM_COL_START, 85);
  AddColumn(list, 4, IDS_SM_COL_PID, 95, LVCFMT_RIGHT);
  Refresh();
  return TRUE;
}

LRESULT CServicesWindow::OnDestroy(WPARAM, LPARAM) {
  ::KillTimer(m_hWnd, kPendingTimer);
  EndToolWindow();
  return 0;
}

void CServicesWindow::Refresh() {
  HWND list = ::GetDlgItem(m_hWnd, IDC_SM_LIST);
  const ServiceRow* selected = Selected();
  const std::string keep = selected ? selected->name : std::string();
  std::vector<ServiceRow> rows;
  const uint32_t error = ListServices(rows);
  if (error != 0) {
    const CErrorText text(*SystemPlatform().errors, error);
    ::MessageBoxW(m_hWnd, Widen(Text(IDS_SM_LIST_FAILED) + "\n" + text.GetText()).c_str(), kCaption, MB_ICONERROR);
  }
  rows_ = std::move(rows);
  ::SendMessageW(list, WM_SETREDRAW, FALSE, 0);
  ::SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
  int index = 0;
  bool pending = false;
  for (const ServiceRow& row : rows_) {
    SetCell(list, index, 0, row.name);
    SetCell(list, index, 1, row.displayName);
    SetCell(list, index, 2, Text(StateTextId(row.state)));
    SetCell(list, index, 3, Text(StartTypeTextId(row.startType)));
    SetCell(list, index, 4, row.processId ? std::to_string(row.processId) : std::string());
    pending = pending || IsPending(row);
    ++index;
  }
  ::SendMessageW(list, WM_SETREDRAW, TRUE, 0);
  if (auto found = FindRow(rows_, keep)) SelectIndex(list, static_cast<int>(*found));
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
  SelectIndex(::GetDlgItem(m_hWnd, IDC_SM_LIST), static_cast<int>(*found));
  UpdateButtons();
  return true;
}

const ServiceRow* CServicesWindow::Selected() const {
  const int index = SelectedIndex(::GetDlgItem(m_hWnd, IDC_SM_LIST));
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
  if (::MessageBoxW(m_hWnd, Widen(question).c_str(), kCaption, MB_YESNO | MB_ICONQUESTION) != IDYES) return;
  const uint32_t error = start ? StartServiceByName(name) : StopServiceByName(name);
  if (error != 0) {
    const CErrorText text(*SystemPlatform().errors, error);
    const std::string message = FormatTable(Text(start ? IDS_SM_START_FAILED : IDS_SM_STOP_FAILED), {name});
    ::MessageBoxW(m_hWnd, Widen(message + "\n" + text.GetText()).c_str(), kCaption, MB_ICONERROR);
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
