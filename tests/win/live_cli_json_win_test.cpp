// quillmar-cli's windows, processes and window commands as a script runs
// them: the real program in its own process, asked about windows and a
// process this test made.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "common/text.h"
#include "platform/win32/win.h"
#include "tests/win/child_process.h"
#include "tests/win/pump.h"

namespace qm {
namespace {

std::wstring Widen(const std::string& text) { return std::wstring(text.begin(), text.end()); }

struct CliRun {
  DWORD exitCode = 0xFFFFFFFF;
  std::string output;  // standard output and error
};

// Runs quillmar-cli with the arguments to its end.
CliRun RunCli(const std::wstring& arguments) {
  ChildProcess cli;
  if (!cli.Start(L"\"" + Widen(QM_BINARY_DIR) + L"\\quillmar-cli.exe\" " + arguments)) return {};
  const DWORD code = cli.Finish(60000);
  return {code, cli.said};
}

std::string HandleJson(HWND window) {
  const auto value = static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(window));
  return value == 0 ? "\"0x0\"" : Format("\"0x%08llX\"", value);
}

// The record of a window as the CLI writes it, up to its executable.
std::string RecordStart(HWND window, HWND parent, HWND owner, const std::string& title) {
  RECT rect{};
  ::GetWindowRect(window, &rect);
  wchar_t className[256] = {};
  ::GetClassNameW(window, className, 256);
  const auto style = static_cast<uint32_t>(::GetWindowLongW(window, GWL_STYLE));
  const auto exStyle = static_cast<uint32_t>(::GetWindowLongW(window, GWL_EXSTYLE));
  return "{\"handle\":" + HandleJson(window) + ",\"parent\":" + HandleJson(parent) + ",\"owner\":" + HandleJson(owner) +
         ",\"class\":\"" + Utf16ToUtf8(reinterpret_cast<const char16_t*>(className)) + "\",\"title\":\"" + title +
         "\"," +
         Format("\"rect\":{\"left\":%ld,\"top\":%ld,\"right\":%ld,\"bottom\":%ld},\"style\":%u,\"exstyle\":%u,",
                rect.left, rect.top, rect.right, rect.bottom, style, exStyle) +
         "\"visible\":" + (::IsWindowVisible(window) ? "true" : "false") +
         ",\"enabled\":" + (::IsWindowEnabled(window) ? "true" : "false") +
         Format(",\"pid\":%lu,\"tid\":%lu,\"exe\":\"", ::GetCurrentProcessId(), ::GetCurrentThreadId());
}

// The test's own windows: a titled top-level window (non-Latin title) with
// a child that has a child, a hidden one and an owned pop-up.
class LiveCliJson : public ::testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = ::DefWindowProcW;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"QmLiveCliJson";
    ::RegisterClassW(&windowClass);
    top = Make(0, L"Окно 東京 \"ελ\"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr);
    panel = Make(0, L"Панель", WS_CHILD | WS_VISIBLE, top);
    button = Make(0, L"Кнопка", WS_CHILD | WS_VISIBLE, panel);
    hidden = Make(0, L"Скрытое", WS_OVERLAPPEDWINDOW, nullptr);
    owned = Make(0, L"Propia", WS_POPUP | WS_VISIBLE, top);
    ASSERT_TRUE(top && panel && button && hidden && owned);
  }
  void TearDown() override {
    ::DestroyWindow(owned);
    ::DestroyWindow(hidden);
    ::DestroyWindow(top);
  }
  static HWND Make(DWORD exStyle, const wchar_t* title, DWORD style, HWND parentOrOwner) {
    return ::CreateWindowExW(exStyle, L"QmLiveCliJson", title, style, 40, 50, 300, 200, parentOrOwner, nullptr,
                             ::GetModuleHandleW(nullptr), nullptr);
  }

  HWND top = nullptr, panel = nullptr, button = nullptr, hidden = nullptr, owned = nullptr;
};

const char kTopTitle[] = "Окно 東京 \\\"ελ\\\"";

TEST_F(LiveCliJson, WindowsJsonNamesTheTestsOwnWindows) {
  const CliRun plain = RunCli(L"windows --json");
  ASSERT_EQ(plain.exitCode, 0u) << plain.output;
  const std::string& out = plain.output;
  ASSERT_EQ(out.rfind("[\n", 0), 0u) << out.substr(0, 200);
  ASSERT_EQ(out.substr(out.size() - 3), "\n]\n");
  const std::string start = RecordStart(top, nullptr, nullptr, kTopTitle);
  const size_t at = out.find(start);
  ASSERT_NE(at, std::string::npos) << start << "\n" << out;
  const size_t exeEnd = out.find('"', at + start.size());
  const std::string exe = out.substr(at + start.size(), exeEnd - at - start.size());
  EXPECT_NE(exe.find("qm_win_tests.exe"), std::string::npos) << exe;
  EXPECT_EQ(out.find(HandleJson(hidden)), std::string::npos) << "hidden windows only with --all";
  EXPECT_EQ(out.find(HandleJson(owned)), std::string::npos) << "owned windows only with --all";
  EXPECT_EQ(out.find(HandleJson(panel)), std::string::npos) << "children only with --tree";

  const CliRun all = RunCli(L"windows --all --json");
  ASSERT_EQ(all.exitCode, 0u) << all.output;
  EXPECT_NE(all.output.find(RecordStart(hidden, nullptr, nullptr, "Скрытое")), std::string::npos) << all.output;
  EXPECT_NE(all.output.find(RecordStart(owned, nullptr, top, "Propia")), std::string::npos) << all.output;

  const CliRun tree = RunCli(L"windows --tree --json");
  ASSERT_EQ(tree.exitCode, 0u) << tree.output;
  // The top window, its child and the child's child, each opening the
  // children array of the one before.
  const std::string nested = RecordStart(top, nullptr, nullptr, kTopTitle);
  const size_t topAt = tree.output.find(nested);
  ASSERT_NE(topAt, std::string::npos) << tree.output;
  const size_t panelAt = tree.output.find(",\"children\":[" + RecordStart(panel, top, nullptr, "Панель"), topAt);
  ASSERT_NE(panelAt, std::string::npos) << tree.output;
  const size_t buttonAt = tree.output.find(",\"children\":[" + RecordStart(button, panel, nullptr, "Кнопка"), panelAt);
  EXPECT_NE(buttonAt, std::string::npos) << tree.output;
  EXPECT_LT(buttonAt, tree.output.find('\n', topAt)) << "a top-level window and its tree on one line";

  const CliRun text = RunCli(L"windows --tree");
  ASSERT_EQ(text.exitCode, 0u);
  EXPECT_NE(
      text.output.find("\n  " +
                       Format("0x%08llX", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(panel))) + "\t"),
      std::string::npos)
      << text.output;
}

TEST_F(LiveCliJson, WindowJsonGivesThePropertiesAndAGoneWindowIsAnError) {
  const auto handle = static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(button));
  const CliRun run = RunCli(Widen(Format("window 0x%llX --json", handle)));
  ASSERT_EQ(run.exitCode, 0u) << run.output;
  EXPECT_EQ(run.output.rfind("{\"hwnd\":" + HandleJson(button) + ",\"is_window\":true,", 0), 0u) << run.output;
  EXPECT_NE(run.output.find("\"title\":\"Кнопка\""), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("\"parent\":" + HandleJson(panel)), std::string::npos) << run.output;
  EXPECT_NE(run.output.find(Format("\"process_id\":%lu}", ::GetCurrentProcessId())), std::string::npos) << run.output;

  HWND gone = Make(0, L"", WS_OVERLAPPEDWINDOW, nullptr);
  const auto goneHandle = static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(gone));
  ::DestroyWindow(gone);
  const CliRun missing = RunCli(Widen(Format("window %llu --json", goneHandle)));
  EXPECT_EQ(missing.exitCode, 1u);
  EXPECT_NE(missing.output.find("no such window"), std::string::npos) << missing.output;
}

TEST(LiveCliProcessesJson, NamesThisProcessAndTheChildItStarted) {
  ChildProcess sleeper;
  ASSERT_TRUE(sleeper.Start(Widen(std::string(QM_FIXTURE_DIR) + "/x86_64/sleeper.exe") + L" 60000"));
  const DWORD childPid = ::GetProcessId(sleeper.process);
  const CliRun run = RunCli(L"processes --json");
  const CliRun modules = RunCli(Widen(Format("modules %lu --json", childPid)));
  const CliRun threads = RunCli(Widen(Format("threads %lu --json", ::GetCurrentProcessId())));

  ASSERT_EQ(run.exitCode, 0u) << run.output;
  EXPECT_EQ(run.output.rfind("[\n{\"pid\":", 0), 0u) << run.output.substr(0, 200);
  const std::string self = Format("{\"pid\":%lu,\"parent\":", ::GetCurrentProcessId());
  const size_t selfAt = run.output.find(self);
  ASSERT_NE(selfAt, std::string::npos) << run.output;
  EXPECT_NE(run.output.find("\"exe\":\"qm_win_tests.exe\"}", selfAt), std::string::npos) << run.output;
  const std::string started = Format("{\"pid\":%lu,\"parent\":%lu,\"threads\":", childPid, ::GetCurrentProcessId());
  const size_t childAt = run.output.find(started);
  ASSERT_NE(childAt, std::string::npos) << run.output;
  EXPECT_EQ(run.output.find("\"exe\":\"sleeper.exe\"}", childAt), run.output.find("\"exe\":", childAt))
      << run.output.substr(childAt, 100);

  ASSERT_EQ(modules.exitCode, 0u) << modules.output;
  EXPECT_NE(modules.output.find("\"name\":\"sleeper.exe\",\"path\":"), std::string::npos) << modules.output;
  EXPECT_EQ(modules.output.find("\"size\":null"), std::string::npos) << "toolhelp knows every size";
  ASSERT_EQ(threads.exitCode, 0u) << threads.output;
  EXPECT_NE(threads.output.find(Format("{\"tid\":%lu,\"base_priority\":", ::GetCurrentThreadId())), std::string::npos)
      << threads.output;
}

}  // namespace
}  // namespace qm
