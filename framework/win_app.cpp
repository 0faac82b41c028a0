#include "framework/win_app.h"

namespace qm::fw {
namespace {

// Messages after which nothing can have changed for the enabling handlers.
bool IsIdleMessage(const MSG& message) {
  switch (message.message) {
    case WM_PAINT:
    case WM_MOUSEMOVE:
    case WM_NCMOUSEMOVE:
    case 0x0118:  // the system's caret-blink timer
      return false;
    default:
      return true;
  }
}

}  // namespace

int CWinApp::Main() {
  if (!InitInstance()) {
    ExitInstance();
    return 1;
  }
  exitCode_ = Run();
  return ExitInstance();
}

int CWinApp::Run() {
  MSG message{};
  bool idle = true;
  long idleCount = 0;
  for (;;) {
    while (idle && !::PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE)) {
      if (!OnIdle(idleCount++)) idle = false;
    }
    const BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
    if (got == 0) return static_cast<int>(message.wParam);
    if (got == -1) return -1;
    if (!PreTranslateMessage(message)) {
      ::TranslateMessage(&message);
      ::DispatchMessageW(&message);
    }
    if (IsIdleMessage(message)) {
      idle = true;
      idleCount = 0;
    }
  }
}

bool CWinApp::OnIdle(long count) {
  if (count == 0 && m_pMainWnd && m_pMainWnd->m_hWnd) m_pMainWnd->OnIdleUpdate();
  return false;
}

bool CWinApp::PreTranslateMessage(MSG& message) {
  if (!m_pMainWnd || !m_pMainWnd->m_hWnd || !m_pMainWnd->Accelerators()) return false;
  return ::TranslateAcceleratorW(m_pMainWnd->m_hWnd, m_pMainWnd->Accelerators(), &message) != 0;
}

void CWinApp::PumpPending() {
  MSG message{};
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      ::PostQuitMessage(static_cast<int>(message.wParam));
      break;
    }
    if (!PreTranslateMessage(message)) {
      ::TranslateMessage(&message);
      ::DispatchMessageW(&message);
    }
  }
  OnIdle(0);
}

bool CWinApp::SetRegistryKey(const std::wstring& company) {
  m_registryKey = L"Software\\" + company + L"\\" + m_appName;
  HKEY key = nullptr;
  if (::RegCreateKeyExW(HKEY_CURRENT_USER, m_registryKey.c_str(), 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
    return false;
  ::RegCloseKey(key);
  return true;
}

}  // namespace qm::fw
