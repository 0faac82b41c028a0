#include "framework/win_app.h"

#include <algorithm>
#include <climits>
#include <memory>
#include <optional>
#include <string_view>

#include "platform/error_text.h"
#include "framework/registry.h"
#include "platform/win32/win32_system.h"

namespace qm::fw {

bool CWinApp::OnCmdMsg(UINT, CommandUI*) { return false; }
namespace {

struct HandleCloser {
  void operator()(HANDLE handle) const { ::CloseHandle(handle); }
};
using UniqueFileHandle = std::unique_ptr<void, HandleCloser>;

// Asks a path-converting call for its answer, sizing the buffer first;
// nullopt when the call fails.
template <class Convert>
std::optional<std::wstring> ConvertPath(const std::wstring& path, Convert convert) {
  const DWORD needed = convert(path.c_str(), nullptr, 0);
  if (needed == 0) return std::nullopt;
  std::wstring converted(needed, L'\0');
  const DWORD written = convert(path.c_str(), converted.data(), needed);
  if (written == 0 || written >= needed) return std::nullopt;
  converted.resize(written);
  return converted;
}

// The absolute form of path with its long names (a drop may carry 8.3
// names, and the list must see one file once), or as much of that as the
// system can give.
std::wstring FullPath(const std::wstring& path) {
  const std::wstring full = ConvertPath(path, [](const wchar_t* in, wchar_t* out, DWORD size) {
                              return ::GetFullPathNameW(in, size, out, nullptr);
                            }).value_or(path);
  return ConvertPath(full,
                     [](const wchar_t* in, wchar_t* out, DWORD size) { return ::GetLongPathNameW(in, out, size); })
      .value_or(full);
}

// File names compare as the file system does: case folded for every
// letter, either slash.
bool IsSameWindowsPath(std::string_view a, std::string_view b) {
  std::wstring left = Widen(std::string(a));
  std::wstring right = Widen(std::string(b));
  std::replace(left.begin(), left.end(), L'/', L'\\');
  std::replace(right.begin(), right.end(), L'/', L'\\');
  if (left.size() > INT_MAX || right.size() > INT_MAX) return false;
  return ::CompareStringOrdinal(left.c_str(), static_cast<int>(left.size()), right.c_str(),
                                static_cast<int>(right.size()), TRUE) == CSTR_EQUAL;
}

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
  return CreateKey(HKEY_CURRENT_USER, m_registryKey) != nullptr;
}

void CWinApp::LoadStdProfileSettings(size_t recentCount) {
  recentFiles_ = RecentFileList(recentCount, &IsSameWindowsPath);
  if (m_registryKey.empty()) return;
  const UniqueRegKey key = OpenKeyForReading(HKEY_CURRENT_USER, m_registryKey + L"\\" + Widen(kRecentFileSection));
  if (!key) return;
  recentFiles_.Load([&](const std::string& valueName) -> std::optional<std::string> {
    const std::optional<std::wstring> value = ReadStringValue(key.get(), Widen(valueName));
    if (!value) return std::nullopt;
    return Narrow(*value);
  });
}

void CWinApp::AddToRecentFileList(const std::wstring& path) { AddFullPathToRecentFileList(FullPath(path)); }

std::vector<std::wstring> CWinApp::RecentFiles() const {
  std::vector<std::wstring> files;
  for (const std::string& entry : recentFiles_.Entries()) files.push_back(Widen(entry));
  return files;
}

void CWinApp::AddFullPathToRecentFileList(const std::wstring& fullPath) {
  recentFiles_.Add(Narrow(fullPath));
  if (m_registryKey.empty() || recentFiles_.Capacity() == 0) return;
  const UniqueRegKey key = CreateKey(HKEY_CURRENT_USER, m_registryKey + L"\\" + Widen(kRecentFileSection));
  if (!key) return;
  const std::vector<std::string>& entries = recentFiles_.Entries();
  for (size_t i = 0; i < recentFiles_.Capacity(); ++i) {
    const std::wstring name = Widen(RecentFileList::ValueName(i));
    if (i >= entries.size()) {
      ::RegDeleteValueW(key.get(), name.c_str());
      continue;
    }
    const std::wstring value = Widen(entries[i]);
    ::RegSetValueExW(key.get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                     static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  }
}

bool CWinApp::OpenDocumentFile(const std::wstring& path) {
  const std::wstring full = FullPath(path);
  const HANDLE opened = ::CreateFileW(full.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (opened == INVALID_HANDLE_VALUE) {
    const CErrorText error(*m_platform.errors, ::GetLastError());
    m_platform.messageBox->MessageBox(Narrow(full) + "\n" + error.GetText(), MB_ICONEXCLAMATION_);
    return false;
  }
  const UniqueFileHandle file(opened);
  AddFullPathToRecentFileList(full);
  return true;
}

}  // namespace qm::fw
