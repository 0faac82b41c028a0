// The processes dialog's tree on a real chain of processes: the test
// starts a sleeper that starts a child that starts a grandchild, ends the
// middle one while the grandchild is selected, refreshes and ends the
// grandchild from the tree.
#include <gtest/gtest.h>

#include <string>

#include "res/resource_ids.h"
#include "tests/win/app_fixture.h"
#include "tests/win/control_queries.h"
#include "tests/win/modal_driver.h"
#include "tests/win/pump.h"

// After <windows.h> (through the includes above), which they need.
#include <commctrl.h>
#include <tlhelp32.h>

namespace qm {
namespace {

// The sleeper the system lists with this parent (a console host may be
// listed under it too); 0 when none.
DWORD ChildOf(DWORD parent) {
  HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return 0;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  DWORD child = 0;
  for (BOOL more = ::Process32FirstW(snapshot, &entry); more && !child; more = ::Process32NextW(snapshot, &entry))
    if (entry.th32ParentProcessID == parent && ::lstrcmpiW(entry.szExeFile, L"sleeper.exe") == 0)
      child = entry.th32ProcessID;
  ::CloseHandle(snapshot);
  return child;
}

// Ends the processes it holds, whatever the test did.
struct Chain {
  HANDLE handles[3] = {};
  DWORD pids[3] = {};
  bool Start() {
    std::wstring command = Widen(std::string(QM_FIXTURE_DIR) + "/x86_64/sleeper.exe") + L" 60000 2";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                          &startup, &info))
      return false;
    ::CloseHandle(info.hThread);
    handles[0] = info.hProcess;
    pids[0] = info.dwProcessId;
    for (int level = 1; level < 3; ++level) {
      if (!PumpUntil([&] { return (pids[level] = ChildOf(pids[level - 1])) != 0; }, 5000)) return false;
      handles[level] = ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pids[level]);
      if (!handles[level]) return false;
    }
    return true;
  }
  ~Chain() {
    for (HANDLE process : handles) {
      if (!process) continue;
      ::TerminateProcess(process, 0);
      ::CloseHandle(process);
    }
  }
};

// The PID of the caret item and of its parent item; -1 for none.
std::pair<LPARAM, LPARAM> CaretAndParent(HWND tree) {
  HTREEITEM caret = NextItem(tree, nullptr, TVGN_CARET);
  if (!caret) return {-1, -1};
  HTREEITEM parent = NextItem(tree, caret, TVGN_PARENT);
  return {ItemData(tree, caret), parent ? ItemData(tree, parent) : -1};
}

void PressF5(HWND dialog, HWND tree) {
  NMTVKEYDOWN key{};
  key.hdr.hwndFrom = tree;
  key.hdr.idFrom = IDC_ITEM_TREE;
  key.hdr.code = TVN_KEYDOWN;
  key.wVKey = VK_F5;
  ::SendMessageW(dialog, WM_NOTIFY, IDC_ITEM_TREE, reinterpret_cast<LPARAM>(&key));
}

using ProcessTreeTest = RunningAppTest;

TEST_F(ProcessTreeTest, TheCaretStaysOnItsProcessAndTheKillNamesIt) {
  Chain chain;
  ASSERT_TRUE(chain.Start());
  const auto pid = [&](int level) { return static_cast<LPARAM>(chain.pids[level]); };
  std::pair<LPARAM, LPARAM> afterParentEnded{0, 0}, afterF5{0, 0}, afterKill{0, 0};
  bool middleGone = false;
  std::string question;
  ModalDriver driver;
  driver
      .On(L"Procesos en ejecución en el sistema",
          [&](HWND dialog) {
            HWND tree = ::GetDlgItem(dialog, IDC_ITEM_TREE);
            ASSERT_TRUE(PumpUntil([&] { return FindItem(tree, NextItem(tree, nullptr, TVGN_ROOT), pid(2)); }, 2500));
            ::SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET,
                           reinterpret_cast<LPARAM>(FindItem(tree, NextItem(tree, nullptr, TVGN_ROOT), pid(2))));
            ::TerminateProcess(chain.handles[1], 0);
            middleGone = PumpUntil([&] { return !FindItem(tree, NextItem(tree, nullptr, TVGN_ROOT), pid(1)); }, 2500);
            afterParentEnded = CaretAndParent(tree);
            PressF5(dialog, tree);
            afterF5 = CaretAndParent(tree);
            ::PostMessageW(dialog, WM_COMMAND, IDC_KILL_PROCESS, 0);
          })
      .On(L"Quillmar",
          [&](HWND box) {
            wchar_t text[1024] = {};
            ::GetDlgItemTextW(box, 0xFFFF, text, 1024);  // the message's static
            question = Narrow(text);
            ModalDriver::Press(box, IDYES);
          })
      .On(L"Procesos en ejecución en el sistema", [&](HWND dialog) {
        afterKill = CaretAndParent(::GetDlgItem(dialog, IDC_ITEM_TREE));
        ModalDriver::Press(dialog, IDCANCEL);
      });
  EXPECT_TRUE(app.m_frame->ExecuteCommand(ID_PROCESS_TREE));
  ASSERT_TRUE(driver.AllDone());
  EXPECT_TRUE(middleGone);
  EXPECT_EQ(afterParentEnded, std::make_pair(pid(2), pid(0))) << "moved under the grandparent, still the caret";
  EXPECT_EQ(afterF5.first, pid(2)) << "F5 keeps the caret on its process";
  EXPECT_NE(question.find("Proceso: sleeper.exe (PID " + std::to_string(chain.pids[2]) + ")"), std::string::npos)
      << question;
  EXPECT_EQ(::WaitForSingleObject(chain.handles[2], 2000), WAIT_OBJECT_0) << "the grandchild was ended";
  EXPECT_NE(afterKill.first, -1) << "the tree has a caret after the kill";
  EXPECT_NE(afterKill.first, pid(2));
  EXPECT_EQ(::WaitForSingleObject(chain.handles[0], 0), static_cast<DWORD>(WAIT_TIMEOUT)) << "only that one";
}

}  // namespace
}  // namespace qm
