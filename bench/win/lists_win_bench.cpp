// The list work of the window list and the processes dialog on the real
// system under Windows (or Wine), with real controls: a window-list fill of
// 2,000 top-level windows, sorting those rows by a text and by an integer
// column, and one processes update tick. Prints the best of several runs;
// built on demand and run by hand:
//   cmake --build --preset win64 --target qm_lists_win_bench
//   tools/wine-run build/win64/bench/qm_lists_win_bench.exe
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

#include "common/text.h"
#include "common/ui/list_ctrl_helper.h"
#include "platform/platform.h"
#include "platform/win32/win32_system.h"
#include "processes/process_views.h"
#include "windows/window_list_model.h"

namespace qm {
namespace {

double BestMs(int runs, const std::function<void()>& prepare, const std::function<void()>& work) {
  double best = 1e18;
  for (int run = 0; run < runs; ++run) {
    prepare();
    const auto start = std::chrono::steady_clock::now();
    work();
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
    best = std::min(best, took.count());
  }
  return best;
}

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

int Run() {
  INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_LISTVIEW_CLASSES};
  ::InitCommonControlsEx(&controls);
  Platform& platform = SystemPlatform();
  std::vector<HWND> windows;
  for (int i = 0; i < 2000; ++i) {
    windows.push_back(::CreateWindowExW(0, L"STATIC", Widen(Format("Ventana %d", (i * 7919) % 2000)).c_str(),
                                        WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr));
  }
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
  const double fill = BestMs(
      5, [] {},
      [&] {
        rows = FillWindowList(platform, {true, true, true});
        FillList(helper, rows);
      });
  std::printf("window list fill: %zu rows in %.1f ms\n", rows.size(), fill);
  std::printf("  of which reading the windows: %.1f ms\n", BestMs(
                                                               5, [] {},
                                                               [&] {
                                                                 rows = FillWindowList(platform, {true, true, true});
                                                               }));
  std::printf("  of which fitting the columns: %.1f ms\n", BestMs(
                                                               5, [] {}, [&] { helper.AutoSizeColumns(true); }));
  // Integer keys in a column of their own, in a scrambled order.
  const auto scramble = [&] {
    FillList(helper, rows);
    const int count = helper.m_list.GetItemCount();
    for (int row = 0; row < count; ++row) helper.m_list.SetItemText(row, 3, Format("%d", (row * 7919) % 2000));
  };
  std::printf("sort %d rows by text: %.1f ms (target < 200 ms)\n", helper.m_list.GetItemCount(),
              BestMs(3, scramble, [&] { helper.Sort(1, 1); }));
  std::printf("  of which reading and deciding: %.1f ms\n", BestMs(3, scramble, [&] { helper.GetSortOrder(1); }));
  std::printf("sort %d rows by integer: %.1f ms (target < 200 ms)\n", helper.m_list.GetItemCount(),
              BestMs(3, scramble, [&] { helper.Sort(3, 1); }));

  ProcessViews views;
  volatile int sink = 0;
  size_t processes = 0;
  if (auto list = ReadProcessList(platform)) {
    processes = list->size();
    views.Rebuild(*list);
  }
  const double tick = BestMs(
      10, [] {},
      [&] {
        if (auto list = ReadProcessList(platform)) sink = views.Update(*list).count;
      });
  std::printf("processes tick (snapshot and update, %zu processes): %.2f ms\n", processes, tick);
  for (HWND window : windows) ::DestroyWindow(window);
  ::DestroyWindow(host);
  return 0;
}

}  // namespace
}  // namespace qm

int main() { return qm::Run(); }
