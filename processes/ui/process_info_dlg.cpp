#include "processes/ui/process_info_dlg.h"

#include <shellapi.h>

#include "framework/data_exchange.h"
#include "framework/list_view.h"
#include "framework/progress.h"
#include "framework/tab_control.h"
#include "headers/ui/module_headers_dlg.h"
#include "platform/win32/win32_system.h"
#include "processes/process_info.h"
#include "processes/ui/list_keys.h"
#include "processes/ui/module_info_dlg.h"
#include "res/string_ids.h"
#include "resources/file_version_info.h"
#include "resources/ui/module_resources_dlg.h"

namespace qm {
namespace {

constexpr const char* kModuleHeadings[] = {"Module", "Version", "Description", "Copyright", "Path"};
constexpr const char* kThreadHeadings[] = {"Thread ID.", "Priority base level", "Priority delta"};

// The file's icon in the shell's small-icon list; -1 when it gives none.
int ShellIconIndex(const std::string& path) {
  SHFILEINFOW info{};
  if (::SHGetFileInfoW(Widen(path).c_str(), 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON) == 0)
    return -1;
  return info.iIcon;
}

// The shell's own small-icon list: shared, never destroyed by the list
// (LVS_SHAREIMAGELISTS in the template).
HIMAGELIST ShellSmallIcons() {
  SHFILEINFOW info{};
  return reinterpret_cast<HIMAGELIST>(
      ::SHGetFileInfoW(L"C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
}

void Repaint(HWND window) { ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW); }

}  // namespace

fw::MessageTable<CProcessInfoDlg> CProcessInfoDlg::Messages() {
  static constexpr fw::MessageEntry<CProcessInfoDlg> kTable[] = {
      fw::OnNotify<&CProcessInfoDlg::OnTabChange>(TCN_SELCHANGE, IDC_VIEW_TABS),
      fw::OnNotify<&CProcessInfoDlg::OnColumnClick>(LVN_COLUMNCLICK, IDC_ITEM_LIST),
      fw::OnNotify<&CProcessInfoDlg::OnDoubleClick>(NM_DBLCLK, IDC_ITEM_LIST),
      fw::OnNotify<&CProcessInfoDlg::OnListKey>(LVN_KEYDOWN, IDC_ITEM_LIST),
      fw::OnCommand(IDC_MODULE_ADVANCED, &CProcessInfoDlg::OnAdvanced),
      fw::OnCommand(IDC_MODULE_HEADERS, &CProcessInfoDlg::OnHeaders),
      fw::OnCommand(IDC_MODULE_RESOURCES, &CProcessInfoDlg::OnResources),
  };
  return kTable;
}

INT_PTR CProcessInfoDlg::DoModal(HWND parent) {
  const ProcessTab tab = m_nInitialTab == 1 ? ProcessTab::Threads : ProcessTab::Modules;
  ProcessReading reading = ReadProcessForTab(platform_, m_dwProcessId, tab);
  if (reading.outcome == ProcessReading::Outcome::ProcessGone || reading.outcome == ProcessReading::Outcome::Ended) {
    platform_.messageBox->MessageBox(reading.warning, MB_ICONEXCLAMATION_);
    return IDCANCEL;
  }
  startTime_ = reading.startTime;
  firstReading_ = std::move(reading);
  const INT_PTR result = CDialog::DoModal(IDD_PROCESS_INFO, parent);
  firstReading_.reset();
  return result;
}

void CProcessInfoDlg::SetProcessId(uint32_t processId) {
  if (processId != m_dwProcessId) startTime_.reset();
  m_dwProcessId = processId;
  if (m_hWnd) Refresh();
}

void CProcessInfoDlg::SetProcessWindow(WindowHandle window) {
  if (!platform_.windows || !platform_.windows->IsWindow(window)) return;
  SetProcessId(ProcessIdFromWindow(platform_, window));
}

BOOL CProcessInfoDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  helper_.Attach(::GetDlgItem(m_hWnd, IDC_ITEM_LIST));
  helper_.m_list.SetImageList(ShellSmallIcons(), LVSIL_SMALL);
  helper_.m_list.SetExtendedStyle(LVS_EX_FULLROWSELECT);
  progress_.m_hWnd = ::GetDlgItem(m_hWnd, IDC_PROCESS_PROGRESS);
  tabs_.m_hWnd = ::GetDlgItem(m_hWnd, IDC_VIEW_TABS);
  ::ShowWindow(progress_.m_hWnd, SW_HIDE);
  tabs_.InsertItem(0, platform_.strings->LoadString(IDS_MODULES_TAB));
  tabs_.InsertItem(1, platform_.strings->LoadString(IDS_THREADS));
  tabs_.SetCurSel(m_nInitialTab == 1 ? 1 : 0);
  SwitchTab();
  return TRUE;
}

void CProcessInfoDlg::DoDataExchange(fw::CDataExchange& exchange) {
  fw::DDX_Text(exchange, IDC_PROCESS_PID, m_strPid);
  fw::DDX_Text(exchange, IDC_PROCESS_EXE, m_strExe);
  fw::DDX_Text(exchange, IDC_INFO_COUNT, m_strCount);
}

ProcessTab CProcessInfoDlg::CurrentTab() const {
  return tabs_.GetCurSel() == 1 ? ProcessTab::Threads : ProcessTab::Modules;
}

void CProcessInfoDlg::SwitchTab() {
  fw::CListCtrl& list = helper_.m_list;
  list.DeleteAllItems();
  helper_.DeleteAllColumns();
  modules_.clear();
  threads_.clear();
  const bool modules = CurrentTab() == ProcessTab::Modules;
  int column = 0;
  if (modules) {
    for (const char* heading : kModuleHeadings) list.InsertColumn(column++, heading, LVCFMT_LEFT, 25);
  } else {
    for (const char* heading : kThreadHeadings) list.InsertColumn(column++, heading, LVCFMT_LEFT, 25);
  }
  for (int id : {IDC_MODULE_ADVANCED, IDC_MODULE_RESOURCES, IDC_MODULE_HEADERS})
    ::ShowWindow(::GetDlgItem(m_hWnd, id), modules ? SW_SHOW : SW_HIDE);
  Refresh();
}

void CProcessInfoDlg::Refresh() {
  const ProcessTab tab = CurrentTab();
  m_strPid.clear();
  m_strExe.clear();
  m_strCount.clear();
  modules_.clear();
  threads_.clear();
  ShowRows();
  UpdateData(false);

  ProcessReading reading;
  if (firstReading_) {
    reading = std::move(*firstReading_);
    firstReading_.reset();
  } else {
    reading = ReadProcessForTab(platform_, m_dwProcessId, tab, startTime_);
  }
  if (!startTime_) startTime_ = reading.startTime;
  ShowReading(reading, tab);
}

void CProcessInfoDlg::ShowReading(const ProcessReading& reading, ProcessTab tab) {
  if (reading.outcome == ProcessReading::Outcome::ProcessGone || reading.outcome == ProcessReading::Outcome::Ended) {
    platform_.messageBox->MessageBox(reading.warning, MB_ICONEXCLAMATION_);
    EndDialog(IDCANCEL);
    return;
  }
  m_strExe = reading.exePath;
  m_strPid = reading.pidText;
  UpdateData(false);
  // On screen while the list fills, even on the first refresh.
  ::ShowWindow(m_hWnd, SW_SHOW);
  if (reading.outcome == ProcessReading::Outcome::ListFailed) {
    // Drawn whole before the message covers it.
    ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    platform_.messageBox->MessageBox(reading.warning, MB_ICONEXCLAMATION_);
    return;
  }
  m_strCount = reading.countText;
  UpdateData(false);
  if (tab == ProcessTab::Modules) {
    FillModules(reading.modules);
  } else {
    for (const ThreadEntry32& thread : reading.threads) threads_.push_back(MakeThreadRow(thread));
  }
  ShowRows();
  helper_.SelectRow(0);
}

void CProcessInfoDlg::FillModules(const std::vector<ModuleEntry32>& modules) {
  ::ShowWindow(progress_.m_hWnd, SW_SHOW);
  progress_.SetRange(0, modules.empty() ? 0 : static_cast<int>(modules.size()) - 1);
  HCURSOR previous = ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
  Repaint(m_hWnd);
  CFileVersionInfo version(platform_, std::string());
  modules_.reserve(modules.size());
  for (size_t i = 0; i < modules.size(); ++i) {
    progress_.SetPos(static_cast<int>(i));
    Repaint(progress_.m_hWnd);
    ModuleRow row = ReadModuleRow(platform_, version, modules[i]);
    row.image = ShellIconIndex(modules[i].szExePath);
    modules_.push_back(std::move(row));
  }
  ::ShowWindow(progress_.m_hWnd, SW_HIDE);
  ::SetCursor(previous);
}

void CProcessInfoDlg::ShowRows() {
  fw::CListCtrl& list = helper_.m_list;
  list.SetRedraw(false);
  list.DeleteAllItems();
  int index = 0;
  for (const ModuleRow& module : modules_) {
    // I_IMAGENONE, not -1: a row without an image would show image 0.
    const int row = list.InsertItem(index++, std::string(), module.image >= 0 ? module.image : I_IMAGENONE);
    for (size_t column = 0; row >= 0 && column < module.cells.size(); ++column)
      list.SetItemText(row, static_cast<int>(column), module.cells[column]);
  }
  for (const ThreadRow& thread : threads_) {
    const int row = list.InsertItem(index++, std::string(), I_IMAGENONE);
    for (size_t column = 0; row >= 0 && column < thread.cells.size(); ++column)
      list.SetItemText(row, static_cast<int>(column), thread.cells[column]);
  }
  list.SetRedraw(true);
  ::InvalidateRect(list.m_hWnd, nullptr, TRUE);
  // Each column as wide as its widest text or heading, narrower ones too.
  helper_.AutoSizeColumns(/*fromMinimum=*/true);
}

std::string CProcessInfoDlg::SelectedModulePath() const {
  if (CurrentTab() != ProcessTab::Modules) return {};
  const int row = helper_.GetSelectedRow();
  if (row < 0) return {};
  return helper_.m_list.GetItemText(row, static_cast<int>(kModulePath));
}

LRESULT CProcessInfoDlg::OnTabChange(NMHDR&) {
  SwitchTab();
  return 0;
}

LRESULT CProcessInfoDlg::OnColumnClick(NMLISTVIEW& click) {
  if (click.iSubItem >= 0) helper_.Sort(click.iSubItem, 0);
  return 0;
}

LRESULT CProcessInfoDlg::OnDoubleClick(NMITEMACTIVATE& activate) {
  if (activate.iItem >= 0) OnAdvanced(0, 0);
  return 0;
}

LRESULT CProcessInfoDlg::OnListKey(NMLVKEYDOWN& key) {
  OnProcessListKey(
      key.wVKey, [this] { OnAdvanced(0, 0); }, [this] { Refresh(); });
  return 0;
}

void CProcessInfoDlg::OnOK() {
  if (::GetFocus() == helper_.m_list.m_hWnd) {
    OnAdvanced(0, 0);
    return;
  }
  EndDialog(IDCANCEL);
}

LRESULT CProcessInfoDlg::OnAdvanced(WPARAM, LPARAM) {
  const std::string path = SelectedModulePath();
  if (path.empty()) return 0;
  CModuleInfoDlg dialog(platform_, images_);
  dialog.SetModulePath(path);
  dialog.DoModal(m_hWnd);
  return 0;
}

LRESULT CProcessInfoDlg::OnResources(WPARAM, LPARAM) {
  const std::string path = SelectedModulePath();
  if (path.empty()) return 0;
  CModuleResourcesDlg dialog(platform_, images_, path);
  dialog.DoModal(m_hWnd);
  return 0;
}

LRESULT CProcessInfoDlg::OnHeaders(WPARAM, LPARAM) {
  const std::string path = SelectedModulePath();
  if (path.empty()) return 0;
  CModuleHeadersDlg dialog(platform_, images_);
  dialog.SetFileName(path);
  dialog.DoModal(m_hWnd);
  return 0;
}

}  // namespace qm
