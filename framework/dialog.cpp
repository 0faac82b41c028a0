#include "framework/dialog.h"

#include <cstring>

#include "framework/data_exchange.h"

namespace qm::fw {
namespace {

// Messages whose dialog-procedure return value is the result itself rather
// than a handled flag with the result in DWLP_MSGRESULT.
bool ReturnsResultDirectly(UINT message) {
  switch (message) {
    case WM_INITDIALOG:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
      return true;
    default:
      return false;
  }
}

}  // namespace

MessageTable<CDialog> CDialog::Messages() {
  static constexpr MessageEntry<CDialog> kTable[] = {
      OnMessage(WM_INITDIALOG, &CDialog::OnInitDialogMessage),
      {WM_COMMAND, kAny, IDOK, &CDialog::OnOkCommand},
      {WM_COMMAND, kAny, IDCANCEL, &CDialog::OnCancelCommand},
  };
  return kTable;
}

CDialog::~CDialog() {
  // A modeless dialog dies with its object; WM_NCDESTROY unbinds it.
  if (m_hWnd && !modal_) ::DestroyWindow(m_hWnd);
}

std::vector<DWORD> CDialog::AlignedTemplate(const std::vector<uint8_t>& bytes) {
  // The smallest template: the fixed header plus empty menu, class and
  // title fields.
  if (bytes.size() < sizeof(DLGTEMPLATE) + 3 * sizeof(WORD)) return {};
  std::vector<DWORD> aligned((bytes.size() + sizeof(DWORD) - 1) / sizeof(DWORD), 0);
  std::memcpy(aligned.data(), bytes.data(), bytes.size());
  return aligned;
}

INT_PTR CDialog::DoModal(UINT templateId, HWND parent) {
  if (m_hWnd) return -1;
  modal_ = true;
  result_ = 0;
  result_ = ::DialogBoxParamW(ResourceInstance(), MAKEINTRESOURCEW(templateId), parent, &CDialog::DialogProc,
                              reinterpret_cast<LPARAM>(this));
  return result_;
}

INT_PTR CDialog::DoModalIndirect(const std::vector<uint8_t>& templateBytes, HWND parent) {
  const std::vector<DWORD> aligned = AlignedTemplate(templateBytes);
  if (aligned.empty() || m_hWnd) return -1;
  modal_ = true;
  result_ = 0;
  result_ = ::DialogBoxIndirectParamW(ResourceInstance(), reinterpret_cast<const DLGTEMPLATE*>(aligned.data()), parent,
                                      &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
  return result_;
}

bool CDialog::Create(UINT templateId, HWND parent) {
  if (m_hWnd) return false;
  modal_ = false;
  result_ = 0;
  return ::CreateDialogParamW(ResourceInstance(), MAKEINTRESOURCEW(templateId), parent, &CDialog::DialogProc,
                              reinterpret_cast<LPARAM>(this)) != nullptr;
}

bool CDialog::CreateIndirect(const std::vector<uint8_t>& templateBytes, HWND parent) {
  return CreateIndirect(templateBytes, parent, ResourceInstance());
}

bool CDialog::CreateIndirect(const std::vector<uint8_t>& templateBytes, HWND parent, HINSTANCE instance) {
  const std::vector<DWORD> aligned = AlignedTemplate(templateBytes);
  if (aligned.empty() || m_hWnd) return false;
  modal_ = false;
  result_ = 0;
  return ::CreateDialogIndirectParamW(instance, reinterpret_cast<const DLGTEMPLATE*>(aligned.data()), parent,
                                      &CDialog::DialogProc, reinterpret_cast<LPARAM>(this)) != nullptr;
}

void CDialog::EndDialog(INT_PTR result) {
  if (!m_hWnd) return;
  result_ = result;
  if (modal_) {
    ::EndDialog(m_hWnd, result);
  } else {
    ::DestroyWindow(m_hWnd);
  }
}

bool CDialog::UpdateData(bool saveAndValidate) {
  if (!m_hWnd) return false;
  CDataExchange exchange(m_hWnd, saveAndValidate, messages_);
  DoDataExchange(exchange);
  return !exchange.Failed();
}

BOOL CDialog::OnInitDialog() {
  UpdateData(false);
  return TRUE;
}

void CDialog::OnOK() {
  if (!UpdateData(true)) return;
  EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

LRESULT CDialog::OnInitDialogMessage(WPARAM, LPARAM) { return OnInitDialog(); }

LRESULT CDialog::OnOkCommand(WPARAM, LPARAM) {
  OnOK();
  return 0;
}

LRESULT CDialog::OnCancelCommand(WPARAM, LPARAM) {
  OnCancel();
  return 0;
}

INT_PTR CDialog::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  const bool handled = Reflect(message, wParam, lParam, result) || OnWndMsg(message, wParam, lParam, result);
  if (ReturnsResultDirectly(message)) return handled ? result : FALSE;
  if (!handled) return FALSE;
  ::SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, result);
  return TRUE;
}

INT_PTR CALLBACK CDialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = static_cast<CDialog*>(FromHandle(window));
  if (!self && message == WM_INITDIALOG) {
    self = reinterpret_cast<CDialog*>(lParam);
    if (self) self->Attach(window);
  }
  if (!self) return FALSE;

  INT_PTR result = FALSE;
  // No exception may cross into the dialog manager's frames.
  try {
    result = self->Dispatch(message, wParam, lParam);
  } catch (...) {
    result = FALSE;
  }
  if (message == WM_NCDESTROY) self->Detach();
  return result;
}

}  // namespace qm::fw
