// The process information dialog on the real system: the program's own
// process after it has loaded 120 of the system's DLLs (without running
// their start-up code), captured through a window of its own. Times the
// frame's command from the moment it runs until the dialog's module list
// is filled and its modal loop answers, best of 7 runs; the first run
// warms the caches and is not counted. Run with tools/wine-run.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "app/ui/main_frame.h"
#include "app/ui/quillmar_app.h"
#include "bench/win/bench_app.h"
#include "framework/wnd.h"
#include "platform/win32/win32_system.h"
#include "processes/process_info_model.h"
#include "res/resource_ids.h"
#include "tests/win/modal_driver.h"

// After <windows.h>, which it needs.
#include <commctrl.h>
#include <shellapi.h>

namespace qm {
namespace {

constexpr size_t kExtraModules = 120;
constexpr int kRuns = 7;  // after one warming run

std::vector<HMODULE> LoadSystemDlls() {
  wchar_t system[MAX_PATH] = {};
  ::GetSystemDirectoryW(system, MAX_PATH);
  const std::wstring folder = std::wstring(system) + L"\\";
  std::vector<HMODULE> loaded;
  WIN32_FIND_DATAW found{};
  HANDLE search = ::FindFirstFileW((folder + L"*.dll").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return loaded;
  do {
    HMODULE dll = ::LoadLibraryExW((folder + found.cFileName).c_str(), nullptr, DONT_RESOLVE_DLL_REFERENCES);
    if (dll) loaded.push_back(dll);
  } while (loaded.size() < kExtraModules && ::FindNextFileW(search, &found));
  ::FindClose(search);
  return loaded;
}

int Run() {
  const std::vector<HMODULE> dlls = LoadSystemDlls();
  if (!LoadBenchResources()) return 1;
  CQuillmarApp app(SystemPlatform());
  if (!StartBenchApp(app)) return 1;
  HWND target = ::CreateWindowExW(0, L"STATIC", L"Objetivo", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 120, 130, 300, 200,
                                  nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
  app.m_frame->CaptureWindow(static_cast<WindowHandle>(reinterpret_cast<uintptr_t>(target)));

  double best = 1e9;
  int rows = 0;
  for (int run = 0; run <= kRuns; ++run) {
    const auto start = std::chrono::steady_clock::now();
    double elapsed = 0;
    ModalDriver driver;
    driver.On(L"Información sobre un proceso", [&](HWND dialog) {
      elapsed = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
      rows = static_cast<int>(::SendDlgItemMessageW(dialog, IDC_ITEM_LIST, LVM_GETITEMCOUNT, 0, 0));
      ModalDriver::Press(dialog, IDCANCEL);
    });
    app.m_frame->ExecuteCommand(ID_PROCESS_DATA);
    if (!driver.AllDone()) return 1;
    if (run > 0) best = std::min(best, elapsed);
  }
  std::printf("process information dialog, %d modules (%zu extra DLLs): best of %d runs %.0f ms\n", rows, dlls.size(),
              kRuns, best);

  // Where the time goes: the module list read through PSAPI, the rows
  // alone (file names and version data), and the shell's icon indexes.
  auto timed = [](auto&& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  };
  ProcessReading reading;
  const double listMs =
      timed([&] { reading = ReadProcessForTab(SystemPlatform(), ::GetCurrentProcessId(), ProcessTab::Modules); });
  const double rowsMs = timed([&] { ReadModuleRows(SystemPlatform(), reading.modules); });
  const double iconsMs = timed([&] {
    for (const auto& module : reading.modules) {
      SHFILEINFOW info{};
      ::SHGetFileInfoW(Widen(module.szExePath).c_str(), 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
    }
  });
  std::printf("  of which: module list %.0f ms, rows %.0f ms, shell icon indexes %.0f ms\n", listMs, rowsMs, iconsMs);
  std::fflush(stdout);
  ::DestroyWindow(target);
  ::RegDeleteTreeW(HKEY_CURRENT_USER, (L"Software\\Karvonel\\" + app.m_appName).c_str());
  for (HMODULE dll : dlls) ::FreeLibrary(dll);
  return 0;
}

}  // namespace
}  // namespace qm

int main() { return qm::Run(); }
