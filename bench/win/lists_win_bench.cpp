// The list work of the window list and the processes dialog on the real
// system under Windows (or Wine), with real controls: 2,000 top-level
// windows of four processes (this program started four more times, each
// making 500), the window list dialog itself filling, sorting and
// answering search keystrokes, the same rows put into a bare list, and one
// processes update tick. Prints the best and the median of several runs;
// built on demand and run by hand:
//   cmake --build --preset win64 --target qm_lists_win_bench
//   tools/wine-run build/win64/bench/win/qm_lists_win_bench.exe
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "app/ui/main_frame.h"
#include "app/ui/quillmar_app.h"
#include "bench/win/bench_app.h"
#include "common/text.h"
#include "common/ui/list_ctrl_helper.h"
#include "platform/platform.h"
#include "platform/win32/win32_system.h"
#include "processes/process_views.h"
#include "res/resource_ids.h"
#include "tests/win/modal_driver.h"
#include "windows/window_list_model.h"

namespace qm {
namespace {

constexpr int kProcesses = 4;
constexpr int kWindowsEach = 500;

struct Timing {
  double best = 0;
  double median = 0;
  int runs = 0;
};

Timing Measure(int runs, const std::function<void()>& prepare, const std::function<void()>& work) {
  std::vector<double> took;
  for (int run = 0; run < runs; ++run) {
    prepare();
    const auto start = std::chrono::steady_clock::now();
    work();
    took.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  }
  std::sort(took.begin(), took.end());
  return {took.front(), took[took.size() / 2], runs};
}

void Print(const char* what, const Timing& timing, const char* target = "") {
  std::printf("%s: best %.1f ms, median %.1f ms of %d runs%s\n", what, timing.best, timing.median, timing.runs, target);
  std::fflush(stdout);
}

// The helper processes: each makes its windows, says so and waits.
int MakeWindowsAndWait(int first, int count, const wchar_t* ready, const wchar_t* quit) {
  std::vector<HWND> windows;
  for (int i = first; i < first + count; ++i) {
    // Titles in several scripts, in an order that no column sorts by.
    const int scrambled = (i * 7919) % (kProcesses * kWindowsEach);
    const std::string title = i % 5 == 0   ? Format("Документ %d — Редактор", scrambled)
                              : i % 7 == 0 ? Format("Σημειώσεις %d", scrambled)
                                           : Format("Ventana %d de la aplicación", scrambled);
    HWND window = ::CreateWindowExW(0, L"STATIC", Widen(title).c_str(), WS_POPUP, -50, -50, 10, 10, nullptr, nullptr,
                                    nullptr, nullptr);
    // Shown without taking the activation, which would wait on the other
    // processes' windows.
    ::ShowWindow(window, SW_SHOWNA);
    windows.push_back(window);
  }
  HANDLE readyEvent = ::OpenEventW(EVENT_MODIFY_STATE, FALSE, ready);
  HANDLE quitEvent = ::OpenEventW(SYNCHRONIZE, FALSE, quit);
  if (!readyEvent || !quitEvent) {
    std::fprintf(stderr, "helper %d: the events are missing (%lu)\n", first / count, ::GetLastError());
    return 1;
  }
  ::SetEvent(readyEvent);
  // Answers what the window list asks of its windows until told to end.
  while (::MsgWaitForMultipleObjects(1, &quitEvent, FALSE, INFINITE, QS_ALLINPUT) == WAIT_OBJECT_0 + 1) {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&message);
  }
  for (HWND window : windows) ::DestroyWindow(window);
  ::CloseHandle(readyEvent);
  ::CloseHandle(quitEvent);
  return 0;
}

struct Helpers {
  std::vector<PROCESS_INFORMATION> processes;
  HANDLE quit = nullptr;
  ~Helpers() {
    if (quit) ::SetEvent(quit);
    for (const PROCESS_INFORMATION& process : processes) {
      ::WaitForSingleObject(process.hProcess, 10000);
      ::CloseHandle(process.hProcess);
      ::CloseHandle(process.hThread);
    }
    if (quit) ::CloseHandle(quit);
  }
  bool Start() {
    const std::wstring tag = std::to_wstring(::GetCurrentProcessId());
    const std::wstring quitName = L"QmListsBenchQuit" + tag;
    quit = ::CreateEventW(nullptr, TRUE, FALSE, quitName.c_str());
    const std::wstring exe = Widen(Win32Files().GetModuleFileName());
    for (int p = 0; p < kProcesses; ++p) {
      const std::wstring readyName = L"QmListsBenchReady" + tag + L"_" + std::to_wstring(p);
      HANDLE ready = ::CreateEventW(nullptr, TRUE, FALSE, readyName.c_str());
      std::wstring command = L"\"" + exe + L"\" --windows " + std::to_wstring(p * kWindowsEach) + L" " +
                             std::to_wstring(kWindowsEach) + L" " + readyName + L" " + quitName;
      STARTUPINFOW startup{};
      startup.cb = sizeof startup;
      PROCESS_INFORMATION process{};
      if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                            &process)) {
        ::CloseHandle(ready);
        return false;
      }
      processes.push_back(process);
      // Pumping meanwhile: a new window may send this process's windows a
      // message.
      bool made = false;
      const DWORD start = ::GetTickCount();
      while (!made && ::GetTickCount() - start < 300000) {
        made = ::MsgWaitForMultipleObjects(1, &ready, FALSE, 1000, QS_ALLINPUT) == WAIT_OBJECT_0;
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&message);
      }
      ::CloseHandle(ready);
      if (!made) return false;
    }
    return true;
  }
};

void FillList(CListCtrlHelper& helper, const std::vector<WindowListRow>& rows) {
  // As the dialog fills: without repainting until the end.
  fw::CListCtrl& list = helper.m_list;
  ::SendMessageW(list.m_hWnd, WM_SETREDRAW, FALSE, 0);
  list.DeleteAllItems();
  for (const WindowListRow& row : rows) {
    const int index = list.InsertItem(list.GetItemCount(), row.texts[0], row.image);
    for (int column = 1; column < 4; ++column) list.SetItemText(index, column, row.texts[static_cast<size_t>(column)]);
    list.SetItemData(index, static_cast<LPARAM>(row.window));
  }
  ::SendMessageW(list.m_hWnd, WM_SETREDRAW, TRUE, 0);
  helper.AutoSizeColumns();
}

int Rows(HWND dialog) { return static_cast<int>(::SendDlgItemMessageW(dialog, IDC_ITEM_LIST, LVM_GETITEMCOUNT, 0, 0)); }

void Type(HWND box, wchar_t c) { ::SendMessageW(box, WM_CHAR, c, 1); }

void ClickColumn(HWND dialog, int column) {
  NMLISTVIEW click{};
  click.hdr.hwndFrom = ::GetDlgItem(dialog, IDC_ITEM_LIST);
  click.hdr.idFrom = IDC_ITEM_LIST;
  click.hdr.code = LVN_COLUMNCLICK;
  click.iItem = -1;
  click.iSubItem = column;
  ::SendMessageW(dialog, WM_NOTIFY, IDC_ITEM_LIST, reinterpret_cast<LPARAM>(&click));
}

// The window list dialog as the frame opens it: opening (the command until
// the modal loop runs), a refill (F5), sorts and search keystrokes.
bool BenchDialog() {
  CQuillmarApp app(SystemPlatform());
  if (!StartBenchApp(app)) return false;
  constexpr int kRuns = 7;
  std::vector<double> opened;
  for (int run = 0; run <= kRuns; ++run) {
    const auto start = std::chrono::steady_clock::now();
    ModalDriver driver;
    driver.On(L"Lista de ventanas en el sistema", [&](HWND dialog) {
      opened.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
      if (run < kRuns) {
        ModalDriver::Press(dialog, IDCANCEL);
        return;
      }
      HWND list = ::GetDlgItem(dialog, IDC_ITEM_LIST);
      HWND box = ::GetDlgItem(dialog, IDC_WINDOW_SEARCH);
      const int all = Rows(dialog);
      std::printf("window list dialog: %d rows\n", all);
      Print("  refill (F5)",
            Measure(
                kRuns, [] {}, [&] { ::SendMessageW(list, WM_KEYDOWN, VK_F5, 0); }),
            " (target < 100 ms)");
      Print("  sort by title",
            Measure(
                kRuns, [] {}, [&] { ClickColumn(dialog, 1); }),
            " (about 30 ms before)");
      Print("  sort by handle", Measure(
                                    kRuns, [] {}, [&] { ClickColumn(dialog, 0); }));
      const auto clear = [&] { ::SetWindowTextW(box, L""); };
      // The first keystroke after a fill also folds the rows' texts.
      Print("  first keystroke \"v\" after a refill",
            Measure(
                kRuns,
                [&] {
                  clear();
                  ::SendMessageW(list, WM_KEYDOWN, VK_F5, 0);
                },
                [&] { Type(box, L'v'); }),
            " (target < 50 ms)");
      std::printf("    %d rows match\n", Rows(dialog));
      Print("  keystroke \"v\"", Measure(kRuns, clear, [&] { Type(box, L'v'); }), " (target < 50 ms)");
      Print("  keystroke narrowing \"ventana 1\" to \"ventana 12\"",
            Measure(
                kRuns,
                [&] {
                  clear();
                  for (wchar_t c : std::wstring(L"ventana 1")) Type(box, c);
                },
                [&] { Type(box, L'2'); }),
            " (target < 50 ms)");
      std::printf("    %d rows match\n", Rows(dialog));
      Print("  backspace widening \"v\" to every row",
            Measure(
                kRuns,
                [&] {
                  clear();
                  Type(box, L'v');
                },
                [&] { Type(box, L'\b'); }),
            " (target < 50 ms)");
      ModalDriver::Press(dialog, IDCANCEL);
    });
    app.m_frame->ExecuteCommand(ID_WINDOW_LIST);
    if (!driver.AllDone()) return false;
  }
  opened.erase(opened.begin());  // the first run warms the caches
  std::sort(opened.begin(), opened.end());
  Print("  opening (command until the dialog runs)", {opened.front(), opened[opened.size() / 2], kRuns});
  ::RegDeleteTreeW(HKEY_CURRENT_USER, (L"Software\\Karvonel\\" + app.m_appName).c_str());
  return true;
}

BOOL CALLBACK CollectWindow(HWND window, LPARAM context) {
  reinterpret_cast<std::vector<HWND>*>(context)->push_back(window);
  return TRUE;
}

// What one question about each of the helpers' windows costs, asked of
// every top-level window: the fill asks a few of them per window.
void BenchQuestions() {
  std::vector<HWND> windows;
  ::EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&windows));
  std::printf("one question of each of %zu top-level windows:\n", windows.size());
  volatile uintptr_t sink = 0;
  const auto each = [&](const char* what, const std::function<uintptr_t(HWND)>& ask) {
    Print(what, Measure(
                    3, [] {},
                    [&] {
                      for (HWND window : windows) sink = sink + ask(window);
                    }));
  };
  each("  GetWindow(GW_HWNDNEXT)", [](HWND w) { return reinterpret_cast<uintptr_t>(::GetWindow(w, GW_HWNDNEXT)); });
  each("  GetWindowLongW(GWL_STYLE)", [](HWND w) { return static_cast<uintptr_t>(::GetWindowLongW(w, GWL_STYLE)); });
  each("  GetWindowTextW", [](HWND w) {
    wchar_t text[256];
    return static_cast<uintptr_t>(::GetWindowTextW(w, text, 256));
  });
  each("  GetWindow(GW_OWNER)", [](HWND w) { return reinterpret_cast<uintptr_t>(::GetWindow(w, GW_OWNER)); });
  each("  GetClassNameW", [](HWND w) {
    wchar_t name[256];
    return static_cast<uintptr_t>(::GetClassNameW(w, name, 256));
  });
  each("  GetClassWord(GCW_ATOM)", [](HWND w) { return static_cast<uintptr_t>(::GetClassWord(w, GCW_ATOM)); });
  each("  GetWindowThreadProcessId", [](HWND w) {
    DWORD pid = 0;
    return static_cast<uintptr_t>(::GetWindowThreadProcessId(w, &pid) + pid);
  });
  Print("  EnumWindows (the whole walk)", Measure(
                                              3, [] {},
                                              [&] {
                                                std::vector<HWND> again;
                                                ::EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&again));
                                                sink = sink + again.size();
                                              }));
}

int Run() {
  INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_LISTVIEW_CLASSES};
  ::InitCommonControlsEx(&controls);
  Platform& platform = SystemPlatform();
  Helpers helpers;
  if (!helpers.Start()) {
    std::fprintf(stderr, "the helper processes did not make their windows\n");
    return 1;
  }
  BenchQuestions();
  if (!LoadBenchResources() || !BenchDialog()) return 1;

  HWND host = ::CreateWindowExW(0, L"STATIC", L"bench", WS_OVERLAPPEDWINDOW, 0, 0, 600, 400, nullptr, nullptr, nullptr,
                                nullptr);
  HWND listWindow = ::CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, 0, 600, 400, host,
                                      nullptr, nullptr, nullptr);
  CListCtrlHelper helper(listWindow);
  helper.m_list.InsertColumn(0, "Handle", LVCFMT_LEFT, 25);
  helper.m_list.InsertColumn(1, "Nombre", LVCFMT_LEFT, 25);
  helper.m_list.InsertColumn(2, "Clase", LVCFMT_LEFT, 25);
  helper.m_list.InsertColumn(3, "Archivo", LVCFMT_LEFT, 25);
  // The handle column read as integers stands for the processes' PID sort.
  helper.SetColumnType(3, ColumnType::Integer);

  std::vector<WindowListRow> rows;
  Print("bare list fill (read and put in)", Measure(
                                                5, [] {},
                                                [&] {
                                                  rows = FillWindowList(platform, {true, true, true});
                                                  FillList(helper, rows);
                                                }));
  std::printf("  %zu rows\n", rows.size());
  Print("  of which reading the windows", Measure(
                                              5, [] {},
                                              [&] {
                                                rows = FillWindowList(platform, {true, true, true});
                                              }));
  Print("  of which fitting the columns", Measure(
                                              5, [] {}, [&] { helper.AutoSizeColumns(true); }));
  // Integer keys in a column of their own, in a scrambled order.
  const auto scramble = [&] {
    FillList(helper, rows);
    const int count = helper.m_list.GetItemCount();
    for (int row = 0; row < count; ++row) helper.m_list.SetItemText(row, 3, Format("%d", (row * 7919) % 2000));
  };
  Print("bare list sort by text", Measure(3, scramble, [&] { helper.Sort(1, 1); }), " (target < 200 ms)");
  Print("  of which reading and deciding", Measure(3, scramble, [&] { helper.GetSortOrder(1); }));
  Print("bare list sort by integer", Measure(3, scramble, [&] { helper.Sort(3, 1); }), " (target < 200 ms)");

  ProcessViews views;
  volatile int sink = 0;
  size_t processes = 0;
  if (auto list = ReadProcessList(platform)) {
    processes = list->size();
    views.Rebuild(*list);
  }
  const Timing tick = Measure(
      10, [] {},
      [&] {
        if (auto list = ReadProcessList(platform)) sink = views.Update(*list).count;
      });
  std::printf("processes tick (snapshot and update, %zu processes): best %.2f ms, median %.2f ms\n", processes,
              tick.best, tick.median);
  ::DestroyWindow(host);
  return 0;
}

}  // namespace
}  // namespace qm

int main(int argc, char** argv) {
  if (argc == 6 && std::strcmp(argv[1], "--windows") == 0) {
    return qm::MakeWindowsAndWait(std::atoi(argv[2]), std::atoi(argv[3]), qm::Widen(argv[4]).c_str(),
                                  qm::Widen(argv[5]).c_str());
  }
  return qm::Run();
}
