#include "processes/ui/module_info_dlg.h"

#include <shellapi.h>

#include "framework/data_exchange.h"
#include "framework/list_view.h"
#include "framework/static_control.h"
#include "headers/ui/module_headers_dlg.h"
#include "platform/win32/win32_system.h"
#include "resources/ui/module_resources_dlg.h"

namespace qm {

fw::MessageTable<CModuleInfoDlg> CModuleInfoDlg::Messages() {
  static constexpr fw::MessageEntry<CModuleInfoDlg> kTable[] = {
      fw::OnNotify<&CModuleInfoDlg::OnColumnClick>(LVN_COLUMNCLICK, IDC_ITEM_LIST),
      fw::OnNotify<&CModuleInfoDlg::OnListKey>(LVN_KEYDOWN, IDC_ITEM_LIST),
      fw::OnCommand(IDC_MODULE_HEADERS, &CModuleInfoDlg::OnHeaders),
      fw::OnCommand(IDC_MODULE_RESOURCES, &CModuleInfoDlg::OnResources),
  };
  return kTable;
}

bool CModuleInfoDlg::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  // WM_DESTROY goes on to the base as well.
  if (message == WM_DESTROY)
    OnDestroy(wParam, lParam);
  else if (WithMessageTable::OnWndMsg(message, wParam, lParam, result))
    return true;
  return CDialog::OnWndMsg(message, wParam, lParam, result);
}

void CModuleInfoDlg::SetModulePath(const std::string& path) {
  m_strPath = path;
  if (m_hWnd) Refresh();
}

BOOL CModuleInfoDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  helper_.Attach(::GetDlgItem(m_hWnd, IDC_ITEM_LIST));
  iconStatic_.m_hWnd = ::GetDlgItem(m_hWnd, IDC_MODULE_ICON);
  fw::CListCtrl& list = helper_.m_list;
  list.InsertColumn(0, "Clave", LVCFMT_LEFT, 25);
  list.InsertColumn(1, "Valor", LVCFMT_LEFT, 25);
  list.SetExtendedStyle(LVS_EX_FULLROWSELECT);
  Refresh();
  return TRUE;
}

void CModuleInfoDlg::DoDataExchange(fw::CDataExchange& exchange) {
  fw::DDX_Text(exchange, IDC_MODULE_PATH, m_strPath);
  fw::DDX_Text(exchange, IDC_MODULE_SIZE, m_fields.size);
  fw::DDX_Text(exchange, IDC_MODULE_CREATED, m_fields.created);
  fw::DDX_Text(exchange, IDC_MODULE_ACCESSED, m_fields.accessed);
  fw::DDX_Text(exchange, IDC_MODULE_WRITTEN, m_fields.written);
  fw::DDX_Check(exchange, IDC_MODULE_READ_ONLY, m_fields.readOnly);
  fw::DDX_Check(exchange, IDC_MODULE_SYSTEM, m_fields.system);
  fw::DDX_Check(exchange, IDC_MODULE_HIDDEN, m_fields.hidden);
  fw::DDX_Check(exchange, IDC_MODULE_COMPRESSED, m_fields.compressed);
}

void CModuleInfoDlg::Refresh() {
  SHFILEINFOW info{};
  HICON icon = nullptr;
  if (!m_strPath.empty() && ::SHGetFileInfoW(Widen(m_strPath).c_str(), 0, &info, sizeof info, SHGFI_ICON) != 0)
    icon = info.hIcon;
  // The static lets go of the old icon before it is destroyed.
  iconStatic_.SetIcon(icon);
  icon_.reset(icon);

  m_fields = ReadModuleFileFields(platform_, m_strPath);
  rows_ = ReadVersionRows(platform_, m_strPath);
  ShowRows();
  helper_.SelectRow(0);
  UpdateData(false);
}

void CModuleInfoDlg::ShowRows() {
  fw::CListCtrl& list = helper_.m_list;
  list.DeleteAllItems();
  for (size_t i = 0; i < rows_.size(); ++i) {
    const int row = list.InsertItem(static_cast<int>(i), std::string());
    if (row < 0) continue;
    list.SetItemText(row, 0, rows_[i].cells[0]);
    list.SetItemText(row, 1, rows_[i].cells[1]);
  }
  // Columns only grow, so a refresh never narrows what the user saw.
  helper_.AutoSizeColumns();
}

LRESULT CModuleInfoDlg::OnColumnClick(NMLISTVIEW& click) {
  if (click.iSubItem >= 0) helper_.Sort(click.iSubItem, 0);
  return 0;
}

LRESULT CModuleInfoDlg::OnListKey(NMLVKEYDOWN& key) {
  if (key.wVKey == VK_F5) Refresh();
  return 0;
}

LRESULT CModuleInfoDlg::OnDestroy(WPARAM, LPARAM) {
  iconStatic_.SetIcon(nullptr);
  icon_.reset();
  return 0;
}

LRESULT CModuleInfoDlg::OnResources(WPARAM, LPARAM) {
  if (m_strPath.empty()) return 0;
  CModuleResourcesDlg dialog(platform_, images_, m_strPath);
  dialog.DoModal(m_hWnd);
  return 0;
}

LRESULT CModuleInfoDlg::OnHeaders(WPARAM, LPARAM) {
  if (m_strPath.empty()) return 0;
  CModuleHeadersDlg dialog(platform_, images_);
  dialog.SetFileName(m_strPath);
  dialog.DoModal(m_hWnd);
  return 0;
}

}  // namespace qm
