// What the message log costs a window per message under each way of
// watching it, in one thread: the three hooks the log uses
// (WH_CALLWNDPROC, WH_CALLWNDPROCRET, WH_GETMESSAGE), and a subclassed
// window procedure writing the same records into a ring. 100,000 messages
// sent, then 100,000 posted and dispatched, each way; the rates in messages
// per second.
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

// The subclass's ring, over ordinary memory.
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
  size_t hookRecords = 0;
  size_t subclassRecords = 0;
  const double plainSent = Rate(window, false, [] {});
  const double plainPosted = Rate(window, true, [] {});

  auto hooks = CreateHookMessageSource();
  if (!hooks->Start(Handle(window), false).ok()) return 1;
  auto readHooks = [&] {
    records.clear();
    hooks->Poll(records, kRingDefaultSlots);
    hookRecords += records.size();
  };
  const double hookSent = Rate(window, false, readHooks);
  const double hookPosted = Rate(window, true, readHooks);
  const uint64_t hookLost = hooks->Lost();
  hooks->Stop();

  SubclassLog subclass;
  g_subclass = &subclass;
  subclass.previous =
      reinterpret_cast<WNDPROC>(::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SubclassProc)));
  auto readSubclass = [&] {
    records.clear();
    subclass.reader.Read(records, kRingDefaultSlots);
    subclassRecords += records.size();
  };
  const double subclassSent = Rate(window, false, readSubclass);
  const double subclassPosted = Rate(window, true, readSubclass);
  ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(subclass.previous));

  std::printf("messages/s      sent       posted\n");
  std::printf("no log     %9.0f  %9.0f\n", plainSent, plainPosted);
  std::printf("hooks      %9.0f  %9.0f  (%zu records, %llu lost)\n", hookSent, hookPosted, hookRecords,
              static_cast<unsigned long long>(hookLost));
  std::printf("subclass   %9.0f  %9.0f  (%zu records, %llu lost)\n", subclassSent, subclassPosted, subclassRecords,
              static_cast<unsigned long long>(subclass.reader.Lost()));
  ::DestroyWindow(window);
  return 0;
}

}  // namespace
}  // namespace qm

int main() { return qm::Main(); }
