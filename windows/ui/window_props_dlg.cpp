#include "windows/ui/window_props_dlg.h"

#include "framework/data_exchange.h"

namespace qm {

fw::MessageTable<CWindowPropsDlg> CWindowPropsDlg::Messages() {
  static constexpr fw::MessageEntry<CWindowPropsDlg> kTable[] = {
      fw::OnControl(BN_CLICKED, IDC_PROPS_MAXIMIZED, &CWindowPropsDlg::OnMaximisedClicked),
      fw::OnControl(BN_CLICKED, IDC_PROPS_MINIMIZED, &CWindowPropsDlg::OnMinimisedClicked),
  };
  return kTable;
}

BOOL CWindowPropsDlg::OnInitDialog() {
  m_properties = ReadWindowProperties(windows_, m_window);
  return CDialog::OnInitDialog();
}

void CWindowPropsDlg::DoDataExchange(fw::CDataExchange& exchange) {
  fw::DDX_Text(exchange, IDC_PROPS_TITLE, m_properties.title);
  fw::DDX_Text(exchange, IDC_PROPS_LEFT, m_properties.window.left);
  fw::DDX_Text(exchange, IDC_PROPS_TOP, m_properties.window.top);
  fw::DDX_Text(exchange, IDC_PROPS_RIGHT, m_properties.window.right);
  fw::DDX_Text(exchange, IDC_PROPS_BOTTOM, m_properties.window.bottom);
  fw::DDX_Text(exchange, IDC_PROPS_CLIENT_LEFT, m_properties.client.left);
  fw::DDX_Text(exchange, IDC_PROPS_CLIENT_TOP, m_properties.client.top);
  fw::DDX_Text(exchange, IDC_PROPS_CLIENT_RIGHT, m_properties.client.right);
  fw::DDX_Text(exchange, IDC_PROPS_CLIENT_BOTTOM, m_properties.client.bottom);
  fw::DDX_Check(exchange, IDC_PROPS_MAXIMIZED, m_properties.maximised);
  fw::DDX_Check(exchange, IDC_PROPS_MINIMIZED, m_properties.minimised);
  fw::DDX_Check(exchange, IDC_PROPS_ENABLED, m_properties.enabled);
  fw::DDX_Check(exchange, IDC_PROPS_VISIBLE, m_properties.visible);
}

LRESULT CWindowPropsDlg::OnMaximisedClicked(WPARAM, LPARAM) {
  OnPlacementClicked(PlacementBox::Maximised);
  return 0;
}

LRESULT CWindowPropsDlg::OnMinimisedClicked(WPARAM, LPARAM) {
  OnPlacementClicked(PlacementBox::Minimised);
  return 0;
}

// Only the two boxes are read back: a half-typed number elsewhere must not
// raise its message because a box was clicked.
void CWindowPropsDlg::OnPlacementClicked(PlacementBox clicked) {
  auto checked = [&](int id) { return ::IsDlgButtonChecked(m_hWnd, id) == BST_CHECKED; };
  m_properties.maximised = checked(IDC_PROPS_MAXIMIZED);
  m_properties.minimised = checked(IDC_PROPS_MINIMIZED);
  OnPlacementBoxClicked(m_properties, clicked);
  ::CheckDlgButton(m_hWnd, IDC_PROPS_MAXIMIZED, m_properties.maximised ? BST_CHECKED : BST_UNCHECKED);
  ::CheckDlgButton(m_hWnd, IDC_PROPS_MINIMIZED, m_properties.minimised ? BST_CHECKED : BST_UNCHECKED);
}

}  // namespace qm
