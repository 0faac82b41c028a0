#include "windows/ui/search_box.h"

#include <commctrl.h>

#include "framework/control_text.h"

namespace qm {
namespace {

constexpr UINT_PTR kSubclassId = 5170;

bool IsEscapeKey(const MSG* message) {
  return message && message->message == WM_KEYDOWN && message->wParam == VK_ESCAPE;
}

}  // namespace

CSearchBox::~CSearchBox() { Release(); }

void CSearchBox::Release() {
  if (m_hWnd) ::RemoveWindowSubclass(m_hWnd, &CSearchBox::SubclassProc, kSubclassId);
  m_hWnd = nullptr;
}

bool CSearchBox::SubclassDlgItem(int controlId, HWND dialog) {
  Release();
  HWND control = ::GetDlgItem(dialog, controlId);
  if (!control) return false;
  if (!::SetWindowSubclass(control, &CSearchBox::SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this)))
    return false;
  m_hWnd = control;
  return true;
}

std::string CSearchBox::GetText() const { return fw::ControlText(m_hWnd); }

LRESULT CALLBACK CSearchBox::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                          DWORD_PTR data) {
  auto* self = reinterpret_cast<CSearchBox*>(data);
  switch (message) {
    case WM_GETDLGCODE:
      // The dialog's loop asks before it turns Escape into IDCANCEL: the box
      // keeps the key while it has text to clear.
      if (IsEscapeKey(reinterpret_cast<const MSG*>(lParam)) && !self->IsEmpty())
        return ::DefSubclassProc(window, message, wParam, lParam) | DLGC_WANTMESSAGE;
      break;
    case WM_KEYDOWN:
      if (wParam == VK_ESCAPE) {
        // A single-line edit tells its parent of this change (EN_CHANGE).
        ::SetWindowTextW(window, L"");
        return 0;
      }
      break;
    case WM_CHAR:
      if (wParam == VK_ESCAPE) return 0;  // no beep for the key already handled
      break;
    case WM_NCDESTROY:
      self->Release();
      break;
    default:
      break;
  }
  return ::DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace qm
