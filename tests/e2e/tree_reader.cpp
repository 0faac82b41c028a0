// Drives and reads a running quillmar.exe from outside, as a user's tools
// would: `tree_reader command ID` posts a command to its frame;
// `tree_reader root` prints the text of the tree's first item (read across
// processes through a buffer allocated in Quillmar's process);
// `tree_reader toolbar` prints the toolbar strip's rectangle on the screen,
// then the frame's client rectangle on the screen. Exit 1 when Quillmar or
// the part asked for is not found.
#include <windows.h>
// After <windows.h>.
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "res/resource_ids.h"

namespace {

HWND FindFrame() { return ::FindWindowW(L"QuillmarFrameworkWnd", nullptr); }

int PrintRootText(HWND frame) {
  HWND tree = ::FindWindowExW(frame, nullptr, WC_TREEVIEWW, nullptr);
  if (!tree) return 1;
  auto root = reinterpret_cast<HTREEITEM>(::SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
  if (!root) return 1;
  DWORD pid = 0;
  ::GetWindowThreadProcessId(tree, &pid);
  HANDLE process = ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
  if (!process) return 1;
  constexpr size_t kChars = 512;
  const size_t bytes = sizeof(TVITEMW) + kChars * sizeof(wchar_t);
  auto* remote = static_cast<char*>(::VirtualAllocEx(process, nullptr, bytes, MEM_COMMIT, PAGE_READWRITE));
  int rc = 1;
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
      std::printf("%s\n", utf8);
      rc = 0;
    }
    ::VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  }
  ::CloseHandle(process);
  return rc;
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
  return 2;
}
