// The resource browser on the real system: Wine's shell32.dll opened
// through the frame's command (the open-file dialog answered as soon as it
// shows) until the tree is filled and the dialog's modal loop answers;
// shell32's "Group icon" node until its page is drawn; and a module of
// 1,024 full string tables (16,384 strings) whose string-table node is
// selected until the string page is filled. Best of 7 runs after
// one warming run. Run with tools/wine-run from build/win64/bench/win.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>

#include "app/ui/main_frame.h"
#include "app/ui/quillmar_app.h"
#include "bench/win/bench_app.h"
#include "framework/file_dialog.h"
#include "framework/wnd.h"
#include "platform/win32/win32_system.h"
#include "res/resource_ids.h"
#include "res/string_ids.h"
#include "resources/ui/module_resources_dlg.h"
#include "tests/win/control_queries.h"
#include "tests/win/file_dialog_answer.h"
#include "tests/win/modal_driver.h"

// After <windows.h>, which they need.
#include <commctrl.h>
#include <commdlg.h>

namespace qm {
namespace {

constexpr int kRuns = 7;  // after one warming run
const wchar_t kShell32[] = L"Z:\\usr\\lib\\x86_64-linux-gnu\\wine\\x86_64-windows\\shell32.dll";

using Clock = std::chrono::steady_clock;
double Since(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The icons the group page holds (each is two bitmaps in the system): the
// selected image's only; the rows' pictures live in its image list.
size_t IconsHeld(const CIconResPage& page) { return page.ShownIcon() ? 1 : 0; }

int Run() {
  if (!LoadBenchResources()) return 1;
  CQuillmarApp app(SystemPlatform());
  if (!StartBenchApp(app)) return 1;

  // shell32.dll from the command: the file dialog, the module read and
  // enumerated, the tree filled and the dialog on screen.
  double bestCommand = 1e9, bestAfterChoice = 1e9;
  unsigned items = 0;
  for (int run = 0; run <= kRuns; ++run) {
    FileDialogAnswer answer(kShell32, 10);
    Clock::time_point start = Clock::now();
    double elapsed = 0, afterChoice = 0;
    ModalDriver driver;
    driver.On(L"Recursos de un módulo", [&](HWND dialog) {
      elapsed = Since(start);
      afterChoice = Since(FileDialogAnswer::AnsweredAt());
      items = static_cast<unsigned>(::SendDlgItemMessageW(dialog, IDC_ITEM_TREE, TVM_GETCOUNT, 0, 0));
      ModalDriver::Press(dialog, IDCANCEL);
    });
    app.m_frame->ExecuteCommand(ID_MODULE_RESOURCES);
    if (!driver.AllDone()) return 1;
    if (run > 0) bestCommand = std::min(bestCommand, elapsed);
    if (run > 0) bestAfterChoice = std::min(bestAfterChoice, afterChoice);
  }
  // The browser alone on the same module, without the file dialog.
  double bestDialog = 1e9;
  for (int run = 0; run <= kRuns; ++run) {
    Clock::time_point start = Clock::now();
    double elapsed = 0;
    ModalDriver driver;
    driver.On(L"Recursos de un módulo", [&](HWND dialog) {
      elapsed = Since(start);
      ModalDriver::Press(dialog, IDCANCEL);
    });
    CModuleResourcesDlg dialog(SystemPlatform(), app.m_frame->m_hImageList, Narrow(kShell32));
    dialog.DoModal(app.m_frame->m_hWnd);
    if (run > 0) bestDialog = std::min(bestDialog, elapsed);
  }
  std::printf(
      "shell32.dll, %u tree items, best of %d runs: command to filled tree %.0f ms, of which after the file was "
      "chosen %.0f ms; the browser alone %.0f ms\n",
      items, kRuns, bestCommand, bestAfterChoice, bestDialog);
  // The browser's reading alone: the module opened and enumerated, and the
  // tree's model built, without a window.
  {
    double bestRead = 1e9, bestModel = 1e9;
    for (int run = 0; run <= kRuns; ++run) {
      const Clock::time_point start = Clock::now();
      CResourceModule module(*SystemPlatform().files);
      const ResourceBrowserOpening opening = OpenForBrowsing(module, Narrow(kShell32), SystemPlatform());
      const double read = Since(start);
      const Clock::time_point modelStart = Clock::now();
      const ResourceBrowserTree tree =
          BuildResourceBrowserTree(module, *SystemPlatform().files, *SystemPlatform().strings);
      const double model = Since(modelStart);
      if (!opening.opened || tree.root.children.empty()) return 1;
      if (run > 0) bestRead = std::min(bestRead, read);
      if (run > 0) bestModel = std::min(bestModel, model);
    }
    std::printf("  of the browser: the module read and enumerated %.0f ms, the tree's model %.0f ms\n", bestRead,
                bestModel);
  }

  // The open-file dialog alone, as the command asks: from the answer to
  // its return (the dialog's own teardown).
  {
    double bestTeardown = 1e9;
    for (int run = 0; run <= kRuns; ++run) {
      FileDialogAnswer answer(kShell32, 10);
      fw::FileDialogRequest request;
      request.filter = SystemPlatform().strings->LoadString(IDS_MODULE_FILE_FILTER);
      request.flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
      const auto chosen = fw::AskFileName(app.m_frame->m_hWnd, request);
      const double teardown = Since(FileDialogAnswer::AnsweredAt());
      if (!chosen) return 1;
      if (run > 0) bestTeardown = std::min(bestTeardown, teardown);
    }
    std::printf("  the open-file dialog from the answer to its return %.0f ms\n", bestTeardown);
  }

  // What hiding the frame while the dialog runs costs (the module commands
  // minimise it).
  {
    const Clock::time_point start = Clock::now();
    ::ShowWindow(app.m_frame->m_hWnd, SW_SHOWMINNOACTIVE);
    const double hide = Since(start);
    const Clock::time_point again = Clock::now();
    ::ShowWindow(app.m_frame->m_hWnd, SW_RESTORE);
    std::printf("  minimising the frame %.0f ms, restoring it %.0f ms\n", hide, Since(again));
  }

  // shell32's "Group icon" node (184 groups, 1,840 images): the selection
  // until the page is filled and drawn on screen.
  {
    double bestGroups = 1e9;
    unsigned groupItems = 0;
    int listImages = 0;
    size_t icons = 0;
    for (int run = 0; run <= kRuns; ++run) {
      double elapsed = 0;
      ModalDriver driver;
      driver.On(L"Recursos de un módulo", [&](HWND dialog) {
        HWND tree = ::GetDlgItem(dialog, IDC_ITEM_TREE);
        HTREEITEM node = NextItem(tree, NextItem(tree, nullptr, TVGN_ROOT), TVGN_CHILD);
        while (node && TreeText(tree, node) != "Group icon") node = NextItem(tree, node, TVGN_NEXT);
        if (!node) {
          ModalDriver::Press(dialog, IDCANCEL);
          return;
        }
        const Clock::time_point start = Clock::now();
        SelectTreeItem(tree, node);
        ::RedrawWindow(dialog, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        elapsed = Since(start);
        auto* browser = static_cast<CModuleResourcesDlg*>(fw::CWnd::FromHandle(dialog));
        HWND page = browser->PageWindow(ResourcePage::IconGroup);
        HWND groups = ::GetDlgItem(page, IDC_ITEM_TREE);
        groupItems = static_cast<unsigned>(::SendMessageW(groups, TVM_GETCOUNT, 0, 0));
        listImages = ::ImageList_GetImageCount(
            reinterpret_cast<HIMAGELIST>(::SendMessageW(groups, TVM_GETIMAGELIST, TVSIL_NORMAL, 0)));
        icons = IconsHeld(*static_cast<CIconResPage*>(fw::CWnd::FromHandle(page)));
        ModalDriver::Press(dialog, IDCANCEL);
      });
      CModuleResourcesDlg dialog(SystemPlatform(), app.m_frame->m_hImageList, Narrow(kShell32));
      dialog.DoModal(app.m_frame->m_hWnd);
      if (!driver.AllDone()) return 1;
      if (run > 0) bestGroups = std::min(bestGroups, elapsed);
      // Two runs are enough to see it when it takes seconds.
      if (run >= 1 && bestGroups > 5000) break;
    }
    std::printf(
        "shell32.dll \"Group icon\": %u tree items, %d images in the list, %zu icons held; node to drawn page best "
        "%.0f ms\n",
        groupItems, listImages, icons, bestGroups);
  }

  // The string-table node of 16,384 strings: the selection until the page
  // is filled.
  const std::string strings = Narrow(Beside(L"..\\..\\fixtures\\x86_64\\strings_1024.dll"));
  double bestStrings = 1e9;
  int rows = 0;
  std::string count;
  for (int run = 0; run <= kRuns; ++run) {
    double elapsed = 0;
    ModalDriver driver;
    driver.On(L"Recursos de un módulo", [&](HWND dialog) {
      HWND tree = ::GetDlgItem(dialog, IDC_ITEM_TREE);
      HTREEITEM node = NextItem(tree, NextItem(tree, nullptr, TVGN_ROOT), TVGN_CHILD);
      const Clock::time_point start = Clock::now();
      SelectTreeItem(tree, node);
      elapsed = Since(start);
      auto* browser = static_cast<CModuleResourcesDlg*>(fw::CWnd::FromHandle(dialog));
      HWND page = browser->PageWindow(ResourcePage::String);
      rows = static_cast<int>(::SendDlgItemMessageW(page, IDC_ITEM_LIST, LVM_GETITEMCOUNT, 0, 0));
      wchar_t text[128] = {};
      ::GetDlgItemTextW(page, IDC_STRING_COUNT, text, 128);
      count = Narrow(text);
      ModalDriver::Press(dialog, IDCANCEL);
    });
    CModuleResourcesDlg dialog(SystemPlatform(), app.m_frame->m_hImageList, strings);
    dialog.DoModal(app.m_frame->m_hWnd);
    if (!driver.AllDone()) return 1;
    if (run > 0) bestStrings = std::min(bestStrings, elapsed);
  }
  std::printf("strings_1024.dll, %d rows (%s): string-table node to filled page best of %d runs %.0f ms\n", rows,
              count.c_str(), kRuns, bestStrings);
  std::fflush(stdout);
  ::RegDeleteTreeW(HKEY_CURRENT_USER, (L"Software\\Karvonel\\" + app.m_appName).c_str());
  return 0;
}

}  // namespace
}  // namespace qm

int main() { return qm::Run(); }
