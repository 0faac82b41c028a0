// The message log under a flood: 100,000 messages posted to a window of
// another process, in bursts of 5,000 (a thread's queue holds 10,000 by
// default on Windows), first without the log, then logged. Reports the
// target's drain rate both ways and checks that the log got every message,
// in order, with none lost. The ring holds kRingDefaultSlots records.
//   tools/wine-run build/win64/bench/win/qm_message_log_flood_bench.exe
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "msglog/message_ring.h"
#include "msglog/win32/hook_message_source.h"
#include "platform/win32/win.h"

namespace qm {
namespace {

constexpr uint32_t kMessages = 100000;
constexpr uint32_t kBurst = 5000;

std::wstring Beside(const std::wstring& relative) {
  wchar_t path[MAX_PATH];
  const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring exe(path, length);
  return exe.substr(0, exe.find_last_of(L"\\/") + 1) + relative;
}

struct Target {
  PROCESS_INFORMATION info{};
  HWND window = nullptr;
  bool Start() {
    std::wstring command =
        L"\"" + Beside(L"..\\..\\fixtures\\x86_64\\message_target.exe") + L"\" qm-flood-bench 600000";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                          &startup, &info))
      return false;
    for (int i = 0; i < 2000 && !window; ++i) {
      window = ::FindWindowW(L"QuillmarMessageTarget", L"qm-flood-bench");
      ::Sleep(10);
    }
    return window != nullptr;
  }
  LRESULT Counted() const { return ::SendMessageW(window, WM_APP + 2, 0, 0); }
  ~Target() {
    if (info.hProcess) {
      ::TerminateProcess(info.hProcess, 0);
      ::CloseHandle(info.hProcess);
      ::CloseHandle(info.hThread);
    }
  }
};

struct Flood {
  double seconds = 0;
  bool complete = false;
};

// Posts the flood, each message numbered in wParam, and waits for the
// target to have taken each burst before the next; meanwhile reads the log.
Flood Run(Target& target, IMessageSource* log, std::vector<MessageRecord>& records) {
  const LRESULT before = target.Counted();
  const auto start = std::chrono::steady_clock::now();
  for (uint32_t sent = 0; sent < kMessages;) {
    for (uint32_t i = 0; i < kBurst; ++i, ++sent) {
      if (!::PostMessageW(target.window, WM_APP, sent, 0)) return {};
      // The log window reads on a timer while the target runs.
      if (log && i % 1000 == 999) log->Poll(records, kRingDefaultSlots);
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (target.Counted() - before < static_cast<LRESULT>(sent)) {
      if (log) log->Poll(records, kRingDefaultSlots);
      if (std::chrono::steady_clock::now() > deadline) return {};
      ::Sleep(5);
    }
  }
  Flood flood;
  flood.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  flood.complete = true;
  if (log) log->Poll(records, kRingDefaultSlots);
  return flood;
}

int Main() {
  Target target;
  if (!target.Start()) {
    std::fprintf(stderr, "message_target.exe did not start (build the fixtures)\n");
    return 1;
  }
  std::vector<MessageRecord> records;
  const Flood plain = Run(target, nullptr, records);

  auto log = CreateHookMessageSource(Beside(L"..\\..\\" + HookLibraryName()));
  const AttachOutcome outcome = log->Start(static_cast<uint64_t>(reinterpret_cast<uintptr_t>(target.window)), false);
  if (!outcome.ok()) {
    std::fprintf(stderr, "the log did not start (failure %d, error %u)\n", static_cast<int>(outcome.failure),
                 outcome.systemError);
    return 1;
  }
  const Flood logged = Run(target, log.get(), records);
  log->Stop();
  log->Poll(records, kRingDefaultSlots);

  uint64_t flood = 0;
  uint64_t outOfOrder = 0;
  for (const MessageRecord& record : records) {
    if (record.kind != MessageKind::Posted || record.message != WM_APP) continue;
    if (record.wParam != flood) ++outOfOrder;
    ++flood;
  }
  const double plainRate = plain.complete ? kMessages / plain.seconds : 0;
  const double loggedRate = logged.complete ? kMessages / logged.seconds : 0;
  std::printf("ring: %u slots of %zu bytes (%zu bytes)\n", kRingDefaultSlots, sizeof(RingSlot),
              RingBlockSize(kRingDefaultSlots));
  std::printf("without the log: %u messages in %.3f s, %.0f messages/s\n", kMessages, plain.seconds, plainRate);
  std::printf("with the log:    %u messages in %.3f s, %.0f messages/s (%.0f%% of the rate without)\n", kMessages,
              logged.seconds, loggedRate, plainRate > 0 ? 100.0 * loggedRate / plainRate : 0.0);
  std::printf("logged: %llu of %u flood messages, %llu out of order, %llu lost; %zu records in all\n",
              static_cast<unsigned long long>(flood), kMessages, static_cast<unsigned long long>(outOfOrder),
              static_cast<unsigned long long>(log->Lost()), records.size());
  const bool met = plain.complete && logged.complete && flood == kMessages && outOfOrder == 0 && log->Lost() == 0 &&
                   loggedRate * 2 >= plainRate;
  std::printf("%s\n", met ? "target met" : "TARGET NOT MET");
  return met ? 0 : 1;
}

}  // namespace
}  // namespace qm

int main() { return qm::Main(); }
