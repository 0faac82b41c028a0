#include "resources/ui/dialog_test_dlg.h"

#include "res/string_ids.h"

namespace qm {

namespace {

// Centres window over its owner (the screen's work area when it has none).
void CentreOverOwner(HWND window) {
  RECT area{};
  HWND owner = ::GetWindow(window, GW_OWNER);
  if (!owner || !::GetWindowRect(owner, &area)) ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  RECT own{};
  ::GetWindowRect(window, &own);
  const int width = own.right - own.left, height = own.bottom - own.top;
  ::SetWindowPos(window, nullptr, area.left + (area.right - area.left - width) / 2,
                 area.top + (area.bottom - area.top - height) / 2, 0, 0, SWP_NOZORDER | SWP_NOSIZE | SWP_NOACTIVATE);
}

}  // namespace

bool CDialogTestDlg::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  // WM_DESTROY goes on to the base as well.
  if (message == WM_DESTROY) OnDestroy(wParam, lParam);
  return CDialog::OnWndMsg(message, wParam, lParam, result);
}

BOOL CDialogTestDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  child_.reset();
  if (!m_pModule || !CreateDialogFromTemplate(*m_pModule, m_dialogName, child_, m_hWnd) || !child_->m_hWnd) {
    child_.reset();
    platform_.messageBox->MessageBox(platform_.strings->LoadString(IDS_DIALOG_LOAD_FAILED), MB_ICONEXCLAMATION_);
    EndDialog(IDCANCEL);
    return TRUE;
  }
  PlaceChild();
  return TRUE;
}

void CDialogTestDlg::PlaceChild() {
  HWND child = child_->m_hWnd;
  ::SetParent(child, m_hWnd);
  ::ShowWindow(child, SW_HIDE);
  // A child of ours from here on; caption, system menu, border and every
  // other bit of the template stay.
  LONG_PTR style = ::GetWindowLongPtrW(child, GWL_STYLE);
  style &= ~static_cast<LONG_PTR>(WS_POPUP | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_MINIMIZE | WS_MAXIMIZE);
  style |= WS_CHILD;
  ::SetWindowLongPtrW(child, GWL_STYLE, style);

  RECT window{}, childRect{}, placeholder{};
  ::GetWindowRect(m_hWnd, &window);
  ::GetWindowRect(child, &childRect);
  ::GetWindowRect(::GetDlgItem(m_hWnd, IDC_PAGE_PLACEHOLDER), &placeholder);
  POINT corner{placeholder.left, placeholder.top};
  ::ScreenToClient(m_hWnd, &corner);
  const int childWidth = childRect.right - childRect.left;
  const int childHeight = childRect.bottom - childRect.top;
  ::SetWindowPos(child, nullptr, corner.x, corner.y, childWidth, childHeight, SWP_NOZORDER | SWP_NOREDRAW);
  ::ShowWindow(child, SW_SHOW);

  const int width = (window.right - window.left) + childWidth - (placeholder.right - placeholder.left);
  const int height = (window.bottom - window.top) + childHeight - (placeholder.bottom - placeholder.top);
  ::SetWindowPos(m_hWnd, nullptr, 0, 0, width, height, SWP_NOZORDER | SWP_NOREDRAW);
  CentreOverOwner(m_hWnd);
}

LRESULT CDialogTestDlg::OnDestroy(WPARAM, LPARAM) {
  child_.reset();  // destroys the child's window, then unmaps the module
  return 0;
}

}  // namespace qm
