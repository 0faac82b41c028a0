#include "windows/ui/class_icons_dlg.h"

#include "framework/static_control.h"

namespace qm {

BOOL CClassIconsDlg::OnInitDialog() {
  fw::CStatic(::GetDlgItem(m_hWnd, IDC_LARGE_ICON)).SetIcon(m_hLargeIcon);
  fw::CStatic(::GetDlgItem(m_hWnd, IDC_SMALL_ICON)).SetIcon(m_hSmallIcon);
  return TRUE;
}

}  // namespace qm
