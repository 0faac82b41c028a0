#include "common/ui/animated_icon.h"

// After <windows.h>, which it needs.
#include <commctrl.h>

namespace qm {

CAnimatedIcon::~CAnimatedIcon() { Release(); }

void CAnimatedIcon::Release() {
  if (!m_hWnd) return;
  ::KillTimer(m_hWnd, IDT_ANIMATION);
  ::RemoveWindowSubclass(m_hWnd, &CAnimatedIcon::SubclassProc, IDT_ANIMATION);
  m_hWnd = nullptr;
}

bool CAnimatedIcon::SubclassDlgItem(int controlId, HWND dialog) {
  Release();
  HWND control = ::GetDlgItem(dialog, controlId);
  if (!control) return false;
  if (!::SetWindowSubclass(control, &CAnimatedIcon::SubclassProc, IDT_ANIMATION, reinterpret_cast<DWORD_PTR>(this)))
    return false;
  m_hWnd = control;
  return true;
}

int CAnimatedIcon::AddIcon(HICON icon) {
  m_icons.push_back(icon);
  return static_cast<int>(m_icons.size()) - 1;
}

void CAnimatedIcon::Start(int periodMs) {
  m_clock.SetPeriod(static_cast<uint32_t>(periodMs));
  if (m_hWnd) ::SetTimer(m_hWnd, IDT_ANIMATION, kAnimationTickMs, nullptr);
}

void CAnimatedIcon::OnTick(DWORD now) {
  const std::optional<int> frame = m_clock.Tick(now, static_cast<int>(m_icons.size()));
  if (frame && m_hWnd)
    ::SendMessageW(m_hWnd, STM_SETICON, reinterpret_cast<WPARAM>(m_icons[static_cast<size_t>(*frame)]), 0);
}

LRESULT CALLBACK CAnimatedIcon::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                             DWORD_PTR data) {
  auto* self = reinterpret_cast<CAnimatedIcon*>(data);
  if (message == WM_TIMER && wParam == IDT_ANIMATION && !self->m_icons.empty()) {
    self->OnTick(::GetTickCount());
    return 0;
  }
  if (message == WM_NCDESTROY) {
    // The window goes first; the object must not act on it afterwards.
    self->Release();
  }
  return ::DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace qm
