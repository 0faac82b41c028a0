// The message log window with 1,000,000 records from a source that makes
// them up (mouse, paint, size, text and command messages mixed as a busy
// window receives them), opened through the frame's command: how long the
// records take to reach the list, scrolling (pages and long jumps, each
// painted), and a filter change through the filter dialog, whose target is
// under 1 s: timed from the dialog's "Aceptar" to the list painted, with
// the model's and the list's shares apart (under Wine most of the whole
// goes to the dialog closing). Built on demand and run by hand:
//   cmake --build --preset win64 --target qm_message_log_win_bench
//   tools/wine-run build/win64/bench/win/qm_message_log_win_bench.exe
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <vector>

#include "app/ui/main_frame.h"
#include "app/ui/quillmar_app.h"
#include "bench/win/bench_app.h"
#include "msglog/ui/message_log_wnd.h"
#include "platform/win32/win32_system.h"
#include "res/resource_ids.h"
#include "tests/win/modal_driver.h"

// After <windows.h>, which it needs.
#include <commctrl.h>

namespace qm {
namespace {

constexpr uint64_t kRecords = 1000000;

class MadeUpSource : public IMessageSource {
 public:
  explicit MadeUpSource(uint64_t window) : window_(window) {}
  AttachOutcome Start(uint64_t, bool) override {
    running_ = true;
    return {};
  }
  void Stop() override { running_ = false; }
  bool Running() const override { return running_; }
  void Poll(std::vector<MessageRecord>& out, size_t maxRecords) override {
    static constexpr uint32_t kMessages[] = {WM_MOUSEMOVE, WM_MOUSEMOVE, WM_NCHITTEST, WM_SETCURSOR, WM_PAINT,
                                             WM_SIZE,      WM_COMMAND,   WM_SETTEXT,   WM_TIMER,     WM_KEYDOWN};
    static constexpr char16_t kText[] = u"Documento sin título — Editor";
    for (size_t i = 0; i < maxRecords && made_ < kRecords; ++i, ++made_) {
      MessageRecord record;
      record.sequence = made_ + 1;
      record.timeMs = 1000 + made_ / 50;
      record.window = window_;
      record.message = kMessages[made_ % std::size(kMessages)];
      record.kind = static_cast<MessageKind>(made_ % kMessageKindCount);
      record.wParam = made_ & 0xFFFF;
      record.lParam = (made_ * 7) & 0x03FF03FF;
      if (record.message == WM_SETTEXT) SetRecordText(record, kText, std::size(kText) - 1);
      out.push_back(record);
    }
  }
  uint64_t Lost() const override { return 0; }
  uint64_t NowMs() const override { return 1000; }

 private:
  uint64_t window_;
  uint64_t made_ = 0;
  bool running_ = false;
};

double Since(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

void Print(const char* what, double ms, const char* target = "") {
  std::printf("%s: %.1f ms%s\n", what, ms, target);
  std::fflush(stdout);
}

// Changes the filter through the dialog: the mouse group off (or on).
double ChangeFilter(HWND log, bool mouseShown) {
  ModalDriver driver;
  double shownAt = 0;
  auto start = std::chrono::steady_clock::now();
  driver.On(L"Filtro de mensajes", [&](HWND filter) {
    ::CheckDlgButton(filter, IDC_FILTER_GROUP_FIRST, mouseShown ? BST_CHECKED : BST_UNCHECKED);
    // Timed from the press of "Aceptar": the dialog's own opening and the
    // driver's polling are not the filter's work.
    start = std::chrono::steady_clock::now();
    ModalDriver::Press(filter, IDOK);
  });
  ::SendMessageW(log, WM_COMMAND, MAKEWPARAM(IDC_LOG_FILTER, BN_CLICKED), 0);
  HWND list = ::GetDlgItem(log, IDC_LOG_LIST);
  ::UpdateWindow(list);
  shownAt = Since(start);
  return driver.AllDone() ? shownAt : -1;
}

int Run() {
  if (!LoadBenchResources()) return 1;
  CQuillmarApp app(SystemPlatform());
  if (!StartBenchApp(app)) return 1;
  HWND target = ::CreateWindowExW(0, L"STATIC", L"Objetivo", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 120, 130, 300, 200,
                                  nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
  const auto window = static_cast<WindowHandle>(reinterpret_cast<uintptr_t>(target));
  app.m_frame->CaptureWindow(window);
  app.m_frame->m_messageSourceFactory = [window] { return std::make_unique<MadeUpSource>(window); };
  {
    ModalDriver driver;
    driver.On(L"Quillmar", [](HWND question) { ModalDriver::Press(question, IDYES); });
    app.m_frame->ExecuteCommand(ID_MESSAGE_LOG);
    if (!driver.AllDone() || app.m_frame->MessageLogs().empty()) return 1;
  }
  auto* log = const_cast<CMessageLogWnd*>(app.m_frame->MessageLogs().back());
  HWND list = ::GetDlgItem(log->m_hWnd, IDC_LOG_LIST);
  ::MoveWindow(log->m_hWnd, 0, 0, 1200, 800, TRUE);

  // As the timer would: a tick's worth of records, the list following.
  auto start = std::chrono::steady_clock::now();
  int ticks = 0;
  while (log->Model().RecordedCount() < kRecords) {
    log->PollNow();
    ::UpdateWindow(list);
    ++ticks;
  }
  const double loadMs = Since(start);
  std::printf("1,000,000 records in %d ticks: %.0f ms (%.2f ms a tick of %zu)\n", ticks, loadMs, loadMs / ticks,
              kMessageLogRecordsPerTick);
  std::printf("rows on the list: %d\n", static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)));

  // The model's share: the cells of 1,000 rows, and picking the rows of a
  // filter alone.
  start = std::chrono::steady_clock::now();
  size_t characters = 0;
  for (size_t row = 0; row < 1000; ++row)
    for (size_t column = 0; column < kLogColumnCount; ++column)
      characters += log->Model().CellText(row * 997, static_cast<LogColumn>(column)).size();
  const double cellsMs = Since(start);
  std::printf("the model's cells of 1,000 rows (%zu bytes): %.1f ms\n", characters, cellsMs);
  {
    MessageLogModel model(*SystemPlatform().strings);
    MadeUpSource source(window);
    std::vector<MessageRecord> records;
    source.Poll(records, kRecords);
    model.Append(records);
    MessageFilter noMouse;
    noMouse.SetGroupShown(MessageGroup::Mouse, false);
    start = std::chrono::steady_clock::now();
    model.SetFilter(noMouse);
    Print("the model's rows for a filter without the mouse group", Since(start));
    start = std::chrono::steady_clock::now();
    model.SetFilter(MessageFilter());
    Print("the model's rows for the empty filter", Since(start));
  }

  // A page down, painted, from the top.
  log->StopLogging();
  ::SendMessageW(list, LVM_ENSUREVISIBLE, 0, FALSE);
  ::UpdateWindow(list);
  constexpr int kPages = 200;
  start = std::chrono::steady_clock::now();
  for (int i = 0; i < kPages; ++i) {
    ::SendMessageW(list, WM_VSCROLL, SB_PAGEDOWN, 0);
    ::UpdateWindow(list);
  }
  Print("page down, painted (mean of 200)", Since(start) / kPages, " (target: under 1 s)");

  // Long jumps across the whole log, each painted.
  constexpr int kJumps = 50;
  double worst = 0;
  start = std::chrono::steady_clock::now();
  for (int i = 0; i < kJumps; ++i) {
    const auto one = std::chrono::steady_clock::now();
    const auto row = static_cast<WPARAM>((static_cast<uint64_t>(i) * 7919 * 127) % kRecords);
    ::SendMessageW(list, LVM_ENSUREVISIBLE, row, FALSE);
    ::UpdateWindow(list);
    worst = std::max(worst, Since(one));
  }
  Print("jump to a row anywhere, painted (mean of 50)", Since(start) / kJumps);
  Print("  the slowest jump", worst, " (target: under 1 s)");

  const double hide = ChangeFilter(log->m_hWnd, false);
  std::printf("shown after hiding the mouse group: %zu of %zu\n", log->Model().ShownCount(),
              log->Model().RecordedCount());
  Print("filter change: mouse group hidden", hide, " (target: under 1 s)");
  Print("filter change: mouse group shown again", ChangeFilter(log->m_hWnd, true), " (target: under 1 s)");

  // The list's share: emptied, filled to the count again, shown at its end.
  const auto count = static_cast<WPARAM>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  start = std::chrono::steady_clock::now();
  ::SendMessageW(list, LVM_SETITEMCOUNT, 0, 0);
  Print("  list emptied", Since(start));
  ::SendMessageW(list, LVM_SETITEMCOUNT, count, LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
  Print("  list refilled", Since(start));
  ::SendMessageW(list, LVM_ENSUREVISIBLE, count - 1, FALSE);
  Print("  list at its end", Since(start));
  ::UpdateWindow(list);
  Print("  list painted", Since(start));

  ::DestroyWindow(target);
  ::RegDeleteTreeW(HKEY_CURRENT_USER, (L"Software\\Karvonel\\" + app.m_appName).c_str());
  return 0;
}

}  // namespace
}  // namespace qm

int main() { return qm::Run(); }
