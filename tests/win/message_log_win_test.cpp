// The message log's real source against a window of another process: the
// hook library loaded into it, the records that come back, and the target
// left healthy after the log ends, however it ends.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "msglog/win32/hook_message_source.h"
#include "platform/win32/win.h"
#include "tests/win/child_process.h"
#include "tests/win/pump.h"

namespace qm {
namespace {

std::wstring Widen(const std::string& text) { return std::wstring(text.begin(), text.end()); }

std::wstring BuildPath(const std::wstring& name) { return Widen(QM_BINARY_DIR) + L"\\" + name; }

using Child = ChildProcess;

// The target: a window of its own process, found by its title.
struct Target : Child {
  HWND window = nullptr;
  bool Start(const wchar_t* title) {
    if (!Child::Start(L"\"" + Widen(std::string(QM_FIXTURE_DIR) + "/x86_64/message_target.exe") + L"\" " + title +
                      L" 120000"))
      return false;
    return PumpUntil([&] { return (window = ::FindWindowW(L"QuillmarMessageTarget", title)) != nullptr; }, 20000);
  }
  // Whether it answers a sent WM_NULL within the time.
  bool Answers(UINT milliseconds) const {
    DWORD_PTR result = 0;
    return ::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, milliseconds, &result) != 0;
  }
};

uint64_t Handle(HWND window) { return static_cast<uint64_t>(reinterpret_cast<uintptr_t>(window)); }

struct Log {
  std::unique_ptr<IMessageSource> source = CreateHookMessageSource(BuildPath(HookLibraryName()));
  std::vector<MessageRecord> records;

  // Polls until a record satisfies the condition; its index.
  template <class Condition>
  std::optional<size_t> WaitFor(Condition condition, size_t from = 0) {
    std::optional<size_t> found;
    PumpUntil(
        [&] {
          source->Poll(records, 100000);
          for (size_t i = from; i < records.size(); ++i)
            if (condition(records[i])) {
              found = i;
              return true;
            }
          return false;
        },
        10000);
    return found;
  }
};

auto Is(MessageKind kind, UINT message, uint64_t wParam) {
  return [=](const MessageRecord& r) { return r.kind == kind && r.message == message && r.wParam == wParam; };
}

TEST(MessageLogSource, PostedSentAndReturnedMessagesComeBackInOrder) {
  Target target;
  ASSERT_TRUE(target.Start(L"qm-log-order"));
  Log log;
  const AttachOutcome outcome = log.source->Start(Handle(target.window), false);
  ASSERT_TRUE(outcome.ok()) << static_cast<int>(outcome.failure) << " " << outcome.systemError;
  ASSERT_TRUE(log.source->Running());

  ::PostMessageW(target.window, WM_APP, 41, 0);
  const auto posted = log.WaitFor(Is(MessageKind::Posted, WM_APP, 41));
  ASSERT_TRUE(posted);
  // Sent from this thread: the target's procedure runs it and returns the
  // number of WM_APP it took.
  const LRESULT answer = ::SendMessageW(target.window, WM_APP + 2, 42, 0);
  EXPECT_EQ(answer, 1);
  const auto sent = log.WaitFor(Is(MessageKind::Sent, WM_APP + 2, 42), *posted);
  const auto returned = log.WaitFor(Is(MessageKind::Returned, WM_APP + 2, 42), *posted);
  ASSERT_TRUE(sent && returned);
  EXPECT_LT(*posted, *sent);
  EXPECT_LT(*sent, *returned);
  EXPECT_EQ(log.records[*returned].window, Handle(target.window));
  for (size_t i = 1; i < log.records.size(); ++i) EXPECT_GT(log.records[i].sequence, log.records[i - 1].sequence);
  EXPECT_EQ(log.source->Lost(), 0u);
  log.source->Stop();
  EXPECT_FALSE(log.source->Running());
}

TEST(MessageLogSource, WithItsChildrenLogsEveryThreadOfTheTarget) {
  Target target;
  ASSERT_TRUE(target.Start(L"qm-log-children"));
  HWND child = nullptr;
  ASSERT_TRUE(PumpUntil([&] { return (child = ::FindWindowExW(target.window, nullptr, L"Button", L"hilo")); }, 10000));
  Log log;
  ASSERT_TRUE(log.source->Start(Handle(target.window), true).ok());
  ::PostMessageW(child, WM_APP, 11, 0);
  ::PostMessageW(target.window, WM_APP, 12, 0);
  const auto toChild = log.WaitFor(Is(MessageKind::Posted, WM_APP, 11));
  const auto toRoot = log.WaitFor(Is(MessageKind::Posted, WM_APP, 12));
  ASSERT_TRUE(toChild && toRoot);
  EXPECT_EQ(log.records[*toChild].window, Handle(child));
  EXPECT_EQ(log.records[*toChild].windowClass, ControlClass::Button);
  EXPECT_NE(log.records[*toChild].threadId, log.records[*toRoot].threadId);
  EXPECT_EQ(log.source->Lost(), 0u);
}

TEST(MessageLogSource, DecodesTheTextTheTargetSetsInItsOwnThread) {
  Target target;
  ASSERT_TRUE(target.Start(L"qm-log-text"));
  Log log;
  ASSERT_TRUE(log.source->Start(Handle(target.window), false).ok());
  ::PostMessageW(target.window, WM_APP + 1, 0, 0);
  const auto set =
      log.WaitFor([](const MessageRecord& r) { return r.kind == MessageKind::Sent && r.message == WM_SETTEXT; });
  ASSERT_TRUE(set);
  const MessageRecord& record = log.records[*set];
  ASSERT_TRUE(record.fields & kFieldText);
  EXPECT_EQ(std::u16string(record.text, record.textLength), u"hola desde el objetivo");
  const auto done = log.WaitFor(
      [](const MessageRecord& r) { return r.kind == MessageKind::Returned && r.message == WM_SETTEXT; }, *set);
  ASSERT_TRUE(done);
  EXPECT_EQ(log.records[*done].result, 1u);
}

TEST(MessageLogSource, AfterStopTheTargetAnswersAndANewSessionStartsClean) {
  Target target;
  ASSERT_TRUE(target.Start(L"qm-log-stop"));
  {
    Log first;
    ASSERT_TRUE(first.source->Start(Handle(target.window), false).ok());
    ::PostMessageW(target.window, WM_APP, 1, 0);
    ASSERT_TRUE(first.WaitFor(Is(MessageKind::Posted, WM_APP, 1)));
    first.source->Stop();
    EXPECT_TRUE(target.Answers(100));
    // Nothing more comes after Stop.
    ::PostMessageW(target.window, WM_APP, 2, 0);
    EXPECT_TRUE(target.Answers(100));
    const size_t before = first.records.size();
    first.source->Poll(first.records, 1000);
    EXPECT_EQ(first.records.size(), before);
  }
  Log second;
  ASSERT_TRUE(second.source->Start(Handle(target.window), true).ok());
  ::PostMessageW(target.window, WM_APP, 3, 0);
  const auto marker = second.WaitFor(Is(MessageKind::Posted, WM_APP, 3));
  ASSERT_TRUE(marker);
  EXPECT_EQ(second.records.front().sequence, 0u);
  EXPECT_FALSE(second.WaitFor(Is(MessageKind::Posted, WM_APP, 1)));
  EXPECT_EQ(second.source->Lost(), 0u);
  EXPECT_EQ(::SendMessageW(target.window, WM_APP + 2, 0, 0), 3);
}

// The target's procedure, asked from its own side: whether it is its own.
bool OwnProcedure(HWND window) { return ::SendMessageW(window, WM_APP + 4, 0, 0) == 1; }

TEST(MessageLogSource, AWindowOfAnotherProcessIsSubclassedForItsSentMessagesAndGetsItsProcedureBack) {
  Target target;
  ASSERT_TRUE(target.Start(L"qm-log-subclass"));
  ASSERT_TRUE(OwnProcedure(target.window));
  Log log;
  ASSERT_TRUE(log.source->Start(Handle(target.window), false).ok());
  EXPECT_FALSE(OwnProcedure(target.window));
  // Sent from this process: the text reaches the procedure, so the record
  // carries it.
  EXPECT_EQ(::SendMessageW(target.window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"desde la prueba")), 1);
  const auto sent =
      log.WaitFor([](const MessageRecord& r) { return r.kind == MessageKind::Sent && r.message == WM_SETTEXT; });
  ASSERT_TRUE(sent);
  EXPECT_EQ(std::u16string(log.records[*sent].text, log.records[*sent].textLength), u"desde la prueba");
  const auto returned = log.WaitFor(
      [](const MessageRecord& r) { return r.kind == MessageKind::Returned && r.message == WM_SETTEXT; }, *sent);
  ASSERT_TRUE(returned);
  EXPECT_EQ(log.records[*returned].result, 1u);
  // A posted message is logged once, as queued, not again as sent when the
  // target dispatches it.
  ::PostMessageW(target.window, WM_APP, 99, 0);
  ASSERT_TRUE(log.WaitFor(Is(MessageKind::Posted, WM_APP, 99)));
  ::SendMessageW(target.window, WM_APP + 2, 98, 0);
  ASSERT_TRUE(log.WaitFor(Is(MessageKind::Returned, WM_APP + 2, 98)));
  EXPECT_EQ(std::count_if(log.records.begin(), log.records.end(),
                          [](const MessageRecord& r) { return r.message == WM_APP && r.wParam == 99; }),
            1);
  log.source->Stop();
  EXPECT_TRUE(OwnProcedure(target.window));
  EXPECT_TRUE(target.Answers(100));
}

TEST(MessageLogSource, ABusyTargetIsGivenUpAfterFiveSecondsAndLeftAsItWas) {
  Target target;
  ASSERT_TRUE(target.Start(L"qm-log-busy"));
  ::PostMessageW(target.window, WM_APP + 3, 8000, 0);
  // A sent message would go before the posted one: let the target take it.
  ::Sleep(1000);
  ASSERT_FALSE(target.Answers(200));
  Log log;
  const ULONGLONG start = ::GetTickCount64();
  EXPECT_EQ(log.source->Start(Handle(target.window), false).failure, AttachFailure::NotResponding);
  EXPECT_LT(::GetTickCount64() - start, 6500u);
  EXPECT_FALSE(log.source->Running());
  // Once awake it takes the stale request, finds no session and goes on.
  EXPECT_TRUE(PumpUntil([&] { return target.Answers(100); }, 10000));
  ::PostMessageW(target.window, WM_APP, 0, 0);
  EXPECT_TRUE(PumpUntil([&] { return ::SendMessageW(target.window, WM_APP + 2, 0, 0) == 1; }, 5000));
  ASSERT_TRUE(log.source->Start(Handle(target.window), false).ok());
}

TEST(MessageLogSource, ATargetThatFindsTheHeartbeatStaleEndsTheSession) {
  Target target;
  ASSERT_TRUE(target.Start(L"qm-log-stale"));
  Log log;
  ASSERT_TRUE(log.source->Start(Handle(target.window), false).ok());
  // No poll, so no heartbeat, for longer than the target waits for one.
  ::Sleep(11000);
  ::PostMessageW(target.window, WM_APP, 5, 0);
  EXPECT_TRUE(PumpUntil([&] { return ::SendMessageW(target.window, WM_APP + 2, 0, 0) == 1; }, 5000));
  log.source->Poll(log.records, 1000);
  EXPECT_FALSE(log.source->Running());
  EXPECT_TRUE(std::none_of(log.records.begin(), log.records.end(), Is(MessageKind::Posted, WM_APP, 5)));
  EXPECT_TRUE(target.Answers(100));
}

TEST(MessageLogSource, AGoneWindowIsSaidSo) {
  Log log;
  HWND gone = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  ::DestroyWindow(gone);
  EXPECT_EQ(log.source->Start(Handle(gone), false).failure, AttachFailure::NoWindow);
  EXPECT_FALSE(log.source->Running());
}

TEST(MessageLogSource, AMissingHookLibraryIsSaidSo) {
  Target target;
  ASSERT_TRUE(target.Start(L"qm-log-nolib"));
  auto source = CreateHookMessageSource(BuildPath(L"no-such-hook.dll"));
  EXPECT_EQ(source->Start(Handle(target.window), false).failure, AttachFailure::NoHookLibrary);
  EXPECT_TRUE(target.Answers(1000));
}

TEST(MessageLogSource, AWindowOfQuillmarsOwnProcessIsLoggedWithoutTheLibrary) {
  HWND own = ::CreateWindowExW(0, L"STATIC", L"propia", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr, nullptr,
                               nullptr);
  ASSERT_TRUE(own);
  auto source = CreateHookMessageSource(BuildPath(L"no-such-hook.dll"));
  ASSERT_TRUE(source->Start(Handle(own), false).ok());
  ::SetWindowTextW(own, L"cambiada");
  std::vector<MessageRecord> records;
  source->Poll(records, 1000);
  const auto set = std::find_if(records.begin(), records.end(), [](const MessageRecord& r) {
    return r.kind == MessageKind::Sent && r.message == WM_SETTEXT;
  });
  ASSERT_NE(set, records.end());
  EXPECT_EQ(std::u16string(set->text, set->textLength), u"cambiada");
  const auto got = std::find_if(records.begin(), records.end(), [](const MessageRecord& r) {
    return r.kind == MessageKind::Returned && r.message == WM_SETTEXT;
  });
  ASSERT_NE(got, records.end());
  EXPECT_EQ(got->result, 1u);
  source->Stop();
  ::DestroyWindow(own);
}

// A procedure put over the log's while it runs, as a program may do.
WNDPROC g_under = nullptr;
LRESULT CALLBACK Over(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return ::CallWindowProcW(g_under, window, message, wParam, lParam);
}

TEST(MessageLogSource, AProcedurePutOverTheLogsKeepsItsPlaceAndTheWindowKeepsWorking) {
  HWND own = ::CreateWindowExW(0, L"STATIC", L"encima", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr, nullptr,
                               nullptr);
  ASSERT_TRUE(own);
  const LONG_PTR before = ::GetWindowLongPtrW(own, GWLP_WNDPROC);
  auto source = CreateHookMessageSource(BuildPath(L"no-such-hook.dll"));
  ASSERT_TRUE(source->Start(Handle(own), false).ok());
  const LONG_PTR logging = ::GetWindowLongPtrW(own, GWLP_WNDPROC);
  EXPECT_NE(logging, before);
  g_under = reinterpret_cast<WNDPROC>(::SetWindowLongPtrW(own, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Over)));
  source->Stop();
  // Not taken out from under the other procedure: the log's passes on.
  EXPECT_EQ(::GetWindowLongPtrW(own, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&Over));
  EXPECT_TRUE(::SetWindowTextW(own, L"sigue"));
  wchar_t text[16] = {};
  ::GetWindowTextW(own, text, 16);
  EXPECT_EQ(std::wstring(text), L"sigue");
  // Once the other one leaves, the window's first message puts its own
  // procedure back.
  ::SetWindowLongPtrW(own, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_under));
  ::SendMessageW(own, WM_NULL, 0, 0);
  EXPECT_EQ(::GetWindowLongPtrW(own, GWLP_WNDPROC), before);
  ::DestroyWindow(own);
}

TEST(MessageLogSource, WithItsChildrenAChildMadeAfterTheStartIsLoggedToo) {
  HWND own = ::CreateWindowExW(0, L"STATIC", L"madre", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr, nullptr,
                               nullptr);
  ASSERT_TRUE(own);
  for (const bool children : {false, true}) {
    auto source = CreateHookMessageSource(BuildPath(L"no-such-hook.dll"));
    ASSERT_TRUE(source->Start(Handle(own), children).ok());
    HWND later = ::CreateWindowExW(0, L"Button", L"nueva", WS_CHILD, 0, 0, 50, 20, own, nullptr, nullptr, nullptr);
    ASSERT_TRUE(later);
    ::SetWindowTextW(later, L"cambiada");
    std::vector<MessageRecord> records;
    source->Poll(records, 1000);
    const bool logged = std::any_of(records.begin(), records.end(), [&](const MessageRecord& r) {
      return r.window == Handle(later) && r.message == WM_SETTEXT && r.windowClass == ControlClass::Button;
    });
    EXPECT_EQ(logged, children);
    source->Stop();
    ::DestroyWindow(later);
  }
  ::DestroyWindow(own);
}

std::wstring Cli(HWND window, const wchar_t* options) {
  return L"\"" + BuildPath(L"quillmar-cli.exe") + L"\" messages " + std::to_wstring(Handle(window)) + L" " + options;
}

TEST(MessageLogCli, PrintsOneJsonObjectPerMessageThenTheCounts) {
  Target target;
  ASSERT_TRUE(target.Start(L"qm-log-cli"));
  Child cli;
  ASSERT_TRUE(cli.Start(Cli(target.window, L"--seconds 3 --json")));
  // Posted until the log has them: the CLI attaches while this runs.
  ASSERT_TRUE(PumpUntil(
      [&] {
        ::PostMessageW(target.window, WM_NULL, 5, 0);
        cli.Read();
        return cli.said.find("\"wParam\":\"0x00000005\"") != std::string::npos;
      },
      20000))
      << cli.said;
  ASSERT_EQ(::WaitForSingleObject(cli.process, 20000), WAIT_OBJECT_0);
  DWORD code = 1;
  ::GetExitCodeProcess(cli.process, &code);
  EXPECT_EQ(code, 0u);
  cli.Read();
  std::vector<std::string> lines;
  for (size_t at = 0, end; (end = cli.said.find('\n', at)) != std::string::npos; at = end + 1)
    lines.push_back(cli.said.substr(at, end - at));
  ASSERT_GE(lines.size(), 2u);
  for (const std::string& line : lines) EXPECT_TRUE(line.front() == '{' && line.back() == '}') << line;
  EXPECT_NE(lines.front().find("\"kind\":\"encolado\",\"message\":\"WM_NULL\""), std::string::npos) << lines.front();
  EXPECT_EQ(lines.back().rfind("{\"recorded\":", 0), 0u) << lines.back();
  EXPECT_NE(lines.back().find(",\"lost\":0}"), std::string::npos) << lines.back();
  EXPECT_TRUE(target.Answers(100));
}

TEST(MessageLogCli, KilledWhileLoggingLeavesTheTargetHealthy) {
  Target target;
  ASSERT_TRUE(target.Start(L"qm-log-killed"));
  {
    Child cli;
    ASSERT_TRUE(cli.Start(Cli(target.window, L"--seconds 60")));
    ASSERT_TRUE(PumpUntil(
        [&] {
          ::PostMessageW(target.window, WM_APP, 0, 0);
          cli.Read();
          return !cli.said.empty();
        },
        20000));
    ::TerminateProcess(cli.process, 9);
    ::WaitForSingleObject(cli.process, 5000);
  }
  EXPECT_TRUE(target.Answers(100));
  const LRESULT before = ::SendMessageW(target.window, WM_APP + 2, 0, 0);
  for (int i = 0; i < 100; ++i) ::PostMessageW(target.window, WM_APP, 0, 0);
  EXPECT_TRUE(PumpUntil([&] { return ::SendMessageW(target.window, WM_APP + 2, 0, 0) == before + 100; }, 5000));
  // A later log of the same window starts clean.
  Log log;
  ASSERT_TRUE(log.source->Start(Handle(target.window), false).ok());
  ::PostMessageW(target.window, WM_APP, 77, 0);
  ASSERT_TRUE(log.WaitFor(Is(MessageKind::Posted, WM_APP, 77)));
  EXPECT_EQ(log.records.front().sequence, 0u);
  EXPECT_EQ(log.source->Lost(), 0u);
}

TEST(MessageLogCli, AWindowThatDoesNotExistEndsWithExitOne) {
  Child cli;
  ASSERT_TRUE(cli.Start(L"\"" + BuildPath(L"quillmar-cli.exe") + L"\" messages 0x7FFFFFF0 --seconds 1"));
  ASSERT_EQ(::WaitForSingleObject(cli.process, 20000), WAIT_OBJECT_0);
  DWORD code = 0;
  ::GetExitCodeProcess(cli.process, &code);
  EXPECT_EQ(code, 1u);
  cli.Read();
  EXPECT_NE(cli.said.find("no such window"), std::string::npos) << cli.said;
}

}  // namespace
}  // namespace qm
