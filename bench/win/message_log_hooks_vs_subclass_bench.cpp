// What the message log costs a window per message under each way of
// watching it, in one thread: three hooks (WH_CALLWNDPROC,
// WH_CALLWNDPROCRET, WH_GETMESSAGE) writing records into a ring, a bare
// subclassed window procedure writing the same records, and Quillmar's log
// itself (WH_GETMESSAGE for the posted messages, its subclass for the sent
// ones, with decoding). 100,000 messages sent, then 100,000 posted and
// dispatched, each way; the rates in messages per second.
//   tools/wine-run build/win64/bench/win/qm_message_log_hooks_vs_subclass_bench.exe
#include <chrono>
#include <cstdio>
#include <vector>

#include "msglog/message_ring.h"
#include "msglog/win32/hook_message_source.h"
#include "platform/win32/win.h"

namespace qm {
namespace {

constexpr uint32_t kMessages = 100000;
constexpr uint32_t kBatch = 4000;

uint64_t Handle(HWND window) { return static_cast<uint64_t>(reinterpret_cast<uintptr_t>(window)); }

// The ring the bench's own hooks and subclass write, over ordinary memory.
struct SubclassLog {
  std::vector<uint64_t> block = std::vector<uint64_t>(RingBlockSize(kRingDefaultSlots) / 8 + 1);
  std::span<uint8_t> bytes{reinterpret_cast<uint8_t*>(block.data()), block.size() * 8};
  MessageRingReader reader = *MessageRingReader::Create(bytes, kRingDefaultSlots);
  MessageRingWriter writer = *MessageRingWriter::Attach(bytes);
  WNDPROC previous = nullptr;
};
SubclassLog* g_subclass = nullptr;

void Write(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT result, MessageKind kind) {
  MessageRecord record;
  record.timeMs = ::GetTickCount64();
  record.window = Handle(window);
  record.wParam = wParam;
  record.lParam = static_cast<uint64_t>(lParam);
  record.result = static_cast<uint64_t>(result);
  record.message = message;
  record.threadId = ::GetCurrentThreadId();
  record.kind = kind;
  g_subclass->writer.Write(record);
}

LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Write(window, message, wParam, lParam, 0, MessageKind::Sent);
  const LRESULT result = ::CallWindowProcW(g_subclass->previous, window, message, wParam, lParam);
  Write(window, message, wParam, lParam, result, MessageKind::Returned);
  return result;
}

LRESULT CALLBACK CallWndHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION) {
    const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
    Write(sent->hwnd, sent->message, sent->wParam, sent->lParam, 0, MessageKind::Sent);
  }
  return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK CallWndRetHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION) {
    const auto* done = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    Write(done->hwnd, done->message, done->wParam, done->lParam, done->lResult, MessageKind::Returned);
  }
  return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK GetMessageHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION && wParam == PM_REMOVE) {
    const auto* queued = reinterpret_cast<const MSG*>(lParam);
    Write(queued->hwnd, queued->message, queued->wParam, queued->lParam, 0, MessageKind::Posted);
  }
  return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

// Messages per second, sent or posted in batches; read drains the log
// after each batch.
template <class Read>
double Rate(HWND window, bool posted, Read read) {
  const auto start = std::chrono::steady_clock::now();
  for (uint32_t done = 0; done < kMessages; done += kBatch) {
    for (uint32_t i = 0; i < kBatch; ++i) {
      if (posted) {
        ::PostMessageW(window, WM_APP, i, 0);
      } else {
        ::SendMessageW(window, WM_APP, i, 0);
      }
    }
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&message);
    read();
  }
  return kMessages / std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

int Main() {
  HWND window = ::CreateWindowExW(0, L"STATIC", L"flood", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                                  nullptr, nullptr);
  std::vector<MessageRecord> records;
  size_t subclassRecords = 0;
  size_t logRecords = 0;
  const double plainSent = Rate(window, false, [] {});
  const double plainPosted = Rate(window, true, [] {});

  SubclassLog ring;
  g_subclass = &ring;
  size_t hookRecords = 0;
  auto readRing = [&](size_t& count) {
    records.clear();
    ring.reader.Read(records, kRingDefaultSlots);
    count += records.size();
  };
  const DWORD thread = ::GetCurrentThreadId();
  HHOOK hooks[] = {::SetWindowsHookExW(WH_CALLWNDPROC, &CallWndHook, nullptr, thread),
                   ::SetWindowsHookExW(WH_CALLWNDPROCRET, &CallWndRetHook, nullptr, thread),
                   ::SetWindowsHookExW(WH_GETMESSAGE, &GetMessageHook, nullptr, thread)};
  const double hookSent = Rate(window, false, [&] { readRing(hookRecords); });
  const double hookPosted = Rate(window, true, [&] { readRing(hookRecords); });
  for (HHOOK hook : hooks) ::UnhookWindowsHookEx(hook);
  const uint64_t hookLost = ring.reader.Lost();

  ring.previous =
      reinterpret_cast<WNDPROC>(::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SubclassProc)));
  const double subclassSent = Rate(window, false, [&] { readRing(subclassRecords); });
  const double subclassPosted = Rate(window, true, [&] { readRing(subclassRecords); });
  ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ring.previous));
  const uint64_t subclassLost = ring.reader.Lost() - hookLost;

  auto log = CreateHookMessageSource();
  if (!log->Start(Handle(window), false).ok()) return 1;
  auto readLog = [&] {
    records.clear();
    log->Poll(records, kRingDefaultSlots);
    logRecords += records.size();
  };
  const double logSent = Rate(window, false, readLog);
  const double logPosted = Rate(window, true, readLog);
  const uint64_t logLost = log->Lost();
  log->Stop();

  std::printf("messages/s      sent       posted\n");
  std::printf("no log     %9.0f  %9.0f\n", plainSent, plainPosted);
  std::printf("hooks      %9.0f  %9.0f  (%zu records, %llu lost)\n", hookSent, hookPosted, hookRecords,
              static_cast<unsigned long long>(hookLost));
  std::printf("subclass   %9.0f  %9.0f  (%zu records, %llu lost)\n", subclassSent, subclassPosted, subclassRecords,
              static_cast<unsigned long long>(subclassLost));
  std::printf("the log    %9.0f  %9.0f  (%zu records, %llu lost)\n", logSent, logPosted, logRecords,
              static_cast<unsigned long long>(logLost));
  ::DestroyWindow(window);
  return 0;
}

}  // namespace
}  // namespace qm

int main() { return qm::Main(); }
