// Drives and reads a running quillmar.exe from outside, as a user's tools
// would: `tree_reader command ID` posts a command to its frame;
// `tree_reader root` prints the text of the tree's first item (read across
// processes through a buffer allocated in Quillmar's process);
// `tree_reader toolbar` prints the toolbar strip's rectangle on the screen,
// then the frame's client rectangle on the screen; `tree_reader
// capture-frame` moves Quillmar's capture from a captured top-level window
// to its own frame. Exit 1 when
// Quillmar or the part asked for is not found.
#include <windows.h>
// After <windows.h>.
#include <commctrl.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "res/resource_ids.h"

namespace {

HWND FindFrame() { return ::FindWindowW(L"QuillmarFrameworkWnd", nullptr); }

// The text of the tree's first item, read across processes through a
// buffer allocated in Quillmar's process; empty when it cannot be read.
std::string RootText(HWND frame) {
  HWND tree = ::FindWindowExW(frame, nullptr, WC_TREEVIEWW, nullptr);
  if (!tree) return {};
  auto root = reinterpret_cast<HTREEITEM>(::SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
  if (!root) return {};
  DWORD pid = 0;
  ::GetWindowThreadProcessId(tree, &pid);
  HANDLE process = ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
  if (!process) return {};
  constexpr size_t kChars = 512;
  const size_t bytes = sizeof(TVITEMW) + kChars * sizeof(wchar_t);
  auto* remote = static_cast<char*>(::VirtualAllocEx(process, nullptr, bytes, MEM_COMMIT, PAGE_READWRITE));
  std::string result;
  if (remote) {
    TVITEMW item{};
    item.mask = TVIF_TEXT;
    item.hItem = root;
    item.pszText = reinterpret_cast<wchar_t*>(remote + sizeof(TVITEMW));
    item.cchTextMax = kChars;
    SIZE_T done = 0;
    wchar_t text[kChars] = {};
    if (::WriteProcessMemory(process, remote, &item, sizeof item, &done) &&
        ::SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(remote)) &&
        ::ReadProcessMemory(process, remote + sizeof(TVITEMW), text, sizeof text - sizeof(wchar_t), &done)) {
      char utf8[kChars * 3] = {};
      ::WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof utf8 - 1, nullptr, nullptr);
      result = utf8;
    }
    ::VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  }
  ::CloseHandle(process);
  return result;
}

int PrintRootText(HWND frame) {
  const std::string text = RootText(frame);
  if (text.empty()) return 1;
  std::printf("%s\n", text.c_str());
  return 0;
}

// Whether the frame lies below the window in the Z order.
bool FrameIsBelow(HWND window, HWND frame) {
  for (int step = 0; window && step < 10000; ++step) {
    window = ::GetWindow(window, GW_HWNDNEXT);
    if (window == frame) return true;
  }
  return false;
}

// Moves the capture along the Z order of the top-level windows (commands
// 5028 and 5029, next and previous) until Quillmar has captured its own
// frame: the one window of a process of its own to show class data of
// under Wine. Each step waits for the tree to show the new handle; a step
// that changes nothing ends the walk. Every step is written to stderr.
int CaptureFrame(HWND frame) {
  char wanted[64];
  std::snprintf(wanted, sizeof wanted, "HWND: [0x%08llx]",
                static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(frame)));
  unsigned long long captured = 0;
  if (std::sscanf(RootText(frame).c_str(), "HWND: [0x%llx]", &captured) != 1) return 1;
  const auto start = reinterpret_cast<HWND>(static_cast<uintptr_t>(captured));
  const WPARAM command = FrameIsBelow(start, frame) ? 5028 : 5029;
  for (int step = 0; step < 1000; ++step) {
    const std::string before = RootText(frame);
    std::fprintf(stderr, "capture-frame: %s\n", before.c_str());
    if (before == wanted) return 0;
    ::PostMessageW(frame, WM_COMMAND, command, 0);
    bool moved = false;
    for (int wait = 0; wait < 40 && !moved; ++wait) {
      ::Sleep(50);
      moved = RootText(frame) != before;
    }
    if (!moved) break;
  }
  return 1;
}

int PrintToolbarStrip(HWND frame) {
  HWND strip = ::GetDlgItem(frame, IDW_TOOLBAR_STRIP);
  if (!strip || !::IsWindowVisible(strip)) return 1;
  RECT bar{};
  RECT client{};
  ::GetWindowRect(strip, &bar);
  ::GetClientRect(frame, &client);
  ::MapWindowPoints(frame, HWND_DESKTOP, reinterpret_cast<POINT*>(&client), 2);
  std::printf("%ld %ld %ld %ld %ld %ld %ld %ld\n", bar.left, bar.top, bar.right, bar.bottom, client.left, client.top,
              client.right, client.bottom);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  HWND frame = FindFrame();
  if (!frame) return 1;
  if (std::strcmp(argv[1], "command") == 0 && argc == 3) {
    return ::PostMessageW(frame, WM_COMMAND, std::strtoul(argv[2], nullptr, 10), 0) ? 0 : 1;
  }
  if (std::strcmp(argv[1], "root") == 0) return PrintRootText(frame);
  if (std::strcmp(argv[1], "toolbar") == 0) return PrintToolbarStrip(frame);
  if (std::strcmp(argv[1], "capture-frame") == 0) return CaptureFrame(frame);
  return 2;
}
