// The window list, the child-window tree and the processes dialog opened
// through the frame's commands, on windows and processes the test made.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/win32/win32_system.h"
#include "res/resource_ids.h"
#include "tests/win/app_fixture.h"
#include "tests/win/control_queries.h"
#include "tests/win/modal_driver.h"
#include "tests/win/pump.h"

namespace qm {
namespace {

bool ButtonEnabled(HWND dialog, UINT toolbarId, int command) {
  HWND toolbar = ::GetDlgItem(dialog, static_cast<int>(toolbarId));
  return (::SendMessageW(toolbar, TB_GETSTATE, static_cast<WPARAM>(command), 0) & TBSTATE_ENABLED) != 0;
}

// The row of the list whose column reads text; -1 when there is none.
int FindRow(HWND list, int column, const std::string& text) {
  const int rows = static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  for (int row = 0; row < rows; ++row) {
    wchar_t buffer[256] = {};
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = buffer;
    item.cchTextMax = 256;
    ::SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    if (Narrow(buffer) == text) return row;
  }
  return -1;
}
HTREEITEM Root(HWND tree) { return NextItem(tree, nullptr, TVGN_ROOT); }
void SelectItem(HWND tree, HTREEITEM item) {
  ::SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
}
bool Expanded(HWND tree, HTREEITEM item) {
  return (::SendMessageW(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
}

int ItemImage(HWND tree, HTREEITEM item) {
  TVITEMW info{};
  info.mask = TVIF_IMAGE;
  info.hItem = item;
  ::SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&info));
  return info.iImage;
}

std::string HandleText(HWND window) {
  char text[32];
  std::snprintf(text, sizeof text, "0x%08llx", static_cast<unsigned long long>(H(window)));
  return text;
}

class ListsTest : public RunningAppTest {
 protected:
  void TearDown() override {
    for (HWND window : made_)
      if (::IsWindow(window)) ::DestroyWindow(window);
    RunningAppTest::TearDown();
  }
  HWND Make(const wchar_t* title, DWORD style, HWND parent = nullptr) {
    HWND window = ::CreateWindowExW(0, L"STATIC", title, style | (parent ? WS_CHILD : 0), 50, 60, 200, 150, parent,
                                    nullptr, ::GetModuleHandleW(nullptr), nullptr);
    made_.push_back(window);
    return window;
  }
  std::vector<HWND> made_;
};

TEST_F(ListsTest, ChildTreeCountsEveryLevelChangesImagesAndEnterCapturesTheChild) {
  HWND top = Make(L"Raíz de prueba", WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  HWND first = Make(L"uno", WS_VISIBLE, top);
  HWND second = Make(L"dos", WS_VISIBLE, top);
  Make(L"nieto", WS_VISIBLE, second);
  app.m_frame->CaptureWindow(H(top));
  std::string count;
  int imageBefore = 0, imageAfter = 0;
  bool refreshDuring = true;
  ModalDriver driver;
  driver.On(L"Árbol de ventanas hijas", [&](HWND dialog) {
    refreshDuring = ::KillTimer(app.m_frame->m_hWnd, 276) != FALSE;
    count = ItemText(dialog, IDC_WINDOW_COUNT);
    HWND tree = ::GetDlgItem(dialog, IDC_ITEM_TREE);
    HTREEITEM item = FindItem(tree, Root(tree), static_cast<LPARAM>(H(first)));
    ASSERT_NE(item, nullptr);
    EXPECT_TRUE(Expanded(tree, Root(tree)));
    SelectItem(tree, item);
    imageBefore = ItemImage(tree, item);
    Command(dialog, IDC_TOGGLE_VISIBLE);
    imageAfter = ItemImage(tree, item);
    ModalDriver::Press(dialog, IDOK);  // Enter
  });
  EXPECT_TRUE(app.m_frame->ExecuteCommand(ID_CHILD_WINDOWS));
  ASSERT_TRUE(driver.AllDone());
  EXPECT_FALSE(refreshDuring);
  EXPECT_EQ(count, "4 ventana(s) obtenida(s)");
  EXPECT_EQ(imageBefore, 2);
  EXPECT_EQ(imageAfter, 4);
  EXPECT_FALSE(::IsWindowVisible(first));
  EXPECT_EQ(app.m_frame->Captured(), H(first));
}

TEST_F(ListsTest, WindowListFiltersActsAndAChildPickedInItsTreeIsCaptured) {
  HWND target = Make(L"Objetivo de la lista", WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  HWND child = Make(L"hijo", WS_VISIBLE, target);
  HWND hidden = Make(L"Oculta de la lista", WS_OVERLAPPEDWINDOW);
  bool hiddenListed = true, hiddenListedAfterToggle = false, restoreAfterMinimize = false, minimizeAfter = true;
  bool frameSurvivedClose = false, frameShownAfterHide = false, minimizeOffAfterOutside = false;
  ModalDriver driver;
  driver
      .On(L"Lista de ventanas en el sistema",
          [&](HWND dialog) {
            HWND list = ::GetDlgItem(dialog, IDC_ITEM_LIST);
            hiddenListed = FindRow(list, 0, HandleText(hidden)) >= 0;
            Command(dialog, IDC_SHOW_HIDDEN);
            hiddenListedAfterToggle = FindRow(list, 0, HandleText(hidden)) >= 0;
            // "Cerrar" aimed at the frame that owns this dialog: refused
            // with a message (posted: the message box has its own loop).
            const int frameRow = FindRow(list, 0, HandleText(app.m_frame->m_hWnd));
            ASSERT_GE(frameRow, 0);
            SelectRow(list, frameRow);
            ::PostMessageW(dialog, WM_COMMAND, IDC_CLOSE_WINDOW, 0);
          })
      .On(L"Quillmar", [&](HWND message) { ModalDriver::Press(message, IDOK); })
      .On(L"Lista de ventanas en el sistema",
          [&](HWND dialog) {
            // However the request arrives: the system may pass over a system
            // command to the disabled owner, not a plain WM_CLOSE.
            ::PostMessageW(app.m_frame->m_hWnd, WM_CLOSE, 0, 0);
            PumpUntil([] { return false; }, 200);
            frameSurvivedClose = ::IsWindow(app.m_frame->m_hWnd) != FALSE;
            // "Mostrar/Ocultar" on the frame's row is refused the same way.
            ::PostMessageW(dialog, WM_COMMAND, IDC_TOGGLE_VISIBLE, 0);
          })
      .On(L"Quillmar", [&](HWND message) { ModalDriver::Press(message, IDOK); })
      .On(L"Lista de ventanas en el sistema",
          [&](HWND dialog) {
            frameShownAfterHide = ::IsWindowVisible(app.m_frame->m_hWnd) != FALSE;
            HWND list = ::GetDlgItem(dialog, IDC_ITEM_LIST);
            const int row = FindRow(list, 0, HandleText(target));
            ASSERT_GE(row, 0);
            SelectRow(list, row);
            Command(dialog, IDC_MINIMIZE);
            restoreAfterMinimize = ButtonEnabled(dialog, IDR_WINDOW_LIST_TOOLBAR, IDC_RESTORE);
            minimizeAfter = ButtonEnabled(dialog, IDR_WINDOW_LIST_TOOLBAR, IDC_MINIMIZE);
            Command(dialog, IDC_RESTORE);
            // Minimised from outside, with no input to the dialog: the
            // buttons follow on the dialog's own timer.
            ::ShowWindow(target, SW_MINIMIZE);
            minimizeOffAfterOutside =
                PumpUntil([&] { return !ButtonEnabled(dialog, IDR_WINDOW_LIST_TOOLBAR, IDC_MINIMIZE); }, 3000);
            ::ShowWindow(target, SW_RESTORE);
            // Posted: the tree runs its own modal loop.
            ::PostMessageW(dialog, WM_COMMAND, IDC_CHILD_WINDOWS, 0);
          })
      .On(L"Árbol de ventanas hijas", [&](HWND tree) {
        HWND control = ::GetDlgItem(tree, IDC_ITEM_TREE);
        HTREEITEM item = FindItem(control, Root(control), static_cast<LPARAM>(H(child)));
        ASSERT_NE(item, nullptr);
        SelectItem(control, item);
        Command(tree, IDC_CAPTURE);
      });
  EXPECT_TRUE(app.m_frame->ExecuteCommand(ID_WINDOW_LIST));
  ASSERT_TRUE(driver.AllDone());
  EXPECT_EQ(::ImageList_GetImageCount(app.m_imageLists.m_imageList), kSharedIconCount)
      << "the shared images outlive the dialog's list";
  EXPECT_FALSE(hiddenListed);
  EXPECT_TRUE(hiddenListedAfterToggle);
  EXPECT_TRUE(frameSurvivedClose);
  EXPECT_TRUE(frameShownAfterHide);
  EXPECT_TRUE(minimizeOffAfterOutside);
  EXPECT_TRUE(restoreAfterMinimize);
  EXPECT_FALSE(minimizeAfter);
  EXPECT_FALSE(::IsIconic(target));
  EXPECT_EQ(app.m_frame->Captured(), H(child)) << "both dialogs closed and the child captured";
}

struct ChildProcess {
  PROCESS_INFORMATION info{};
  bool Start() {
    std::wstring command = Widen(std::string(QM_FIXTURE_DIR) + "/x86_64/sleeper.exe") + L" 60000";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    return ::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                            &startup, &info) != FALSE;
  }
  ~ChildProcess() {
    if (info.hProcess) {
      ::TerminateProcess(info.hProcess, 0);
      ::CloseHandle(info.hProcess);
      ::CloseHandle(info.hThread);
    }
  }
  bool Running() const { return ::WaitForSingleObject(info.hProcess, 0) == WAIT_TIMEOUT; }
};

TEST_F(ListsTest, ProcessesAppearAndVanishAndTerminateAsksFirstAndEndsWithExitCodeOne) {
  ChildProcess watched, victim;
  ASSERT_TRUE(victim.Start());
  bool appeared = false, vanished = false, inTree = false, runningAfterNo = false;
  std::string count;
  ModalDriver driver;
  driver
      .On(L"Procesos en ejecución en el sistema",
          [&](HWND dialog) {
            HWND list = ::GetDlgItem(dialog, IDC_ITEM_LIST);
            HWND tree = ::GetDlgItem(dialog, IDC_ITEM_TREE);
            ASSERT_TRUE(watched.Start());
            const std::string pid = std::to_string(watched.info.dwProcessId);
            appeared = PumpUntil([&] { return FindRow(list, 1, pid) >= 0; }, 2500);
            inTree = FindItem(tree, Root(tree), static_cast<LPARAM>(watched.info.dwProcessId)) != nullptr;
            ::TerminateProcess(watched.info.hProcess, 0);
            vanished = PumpUntil(
                [&] {
                  return FindRow(list, 1, pid) < 0 &&
                         !FindItem(tree, Root(tree), static_cast<LPARAM>(watched.info.dwProcessId));
                },
                2500);
            count = ItemText(dialog, IDC_PROCESS_COUNT);
            const int row = FindRow(list, 1, std::to_string(victim.info.dwProcessId));
            ASSERT_GE(row, 0);
            SelectRow(list, row);
            ::PostMessageW(dialog, WM_COMMAND, IDC_KILL_PROCESS, 0);
          })
      .On(L"Quillmar", [&](HWND question) { ModalDriver::Press(question, IDNO); })
      .On(L"Procesos en ejecución en el sistema",
          [&](HWND dialog) {
            runningAfterNo = victim.Running();
            ::PostMessageW(dialog, WM_COMMAND, IDC_KILL_PROCESS, 0);
          })
      .On(L"Quillmar", [&](HWND question) { ModalDriver::Press(question, IDYES); })
      .On(L"Procesos en ejecución en el sistema", [&](HWND dialog) { ModalDriver::Press(dialog, IDCANCEL); });
  EXPECT_TRUE(app.m_frame->ExecuteCommand(ID_PROCESS_LIST));
  ASSERT_TRUE(driver.AllDone());
  EXPECT_EQ(::ImageList_GetImageCount(app.m_imageLists.m_imageList), kSharedIconCount)
      << "the shared images outlive the dialog's list";
  EXPECT_TRUE(appeared);
  EXPECT_TRUE(inTree);
  EXPECT_TRUE(vanished) << "row and item gone within the time";
  EXPECT_NE(count.find("proceso(s) obtenido(s)"), std::string::npos) << count;
  EXPECT_TRUE(runningAfterNo);
  ASSERT_EQ(::WaitForSingleObject(victim.info.hProcess, 2000), WAIT_OBJECT_0);
  DWORD exitCode = 0;
  ::GetExitCodeProcess(victim.info.hProcess, &exitCode);
  EXPECT_EQ(exitCode, 1u);
}

int CurrentTab(HWND dialog) {
  return static_cast<int>(::SendDlgItemMessageW(dialog, IDC_VIEW_TABS, TCM_GETCURSEL, 0, 0));
}

// What a process information dialog showed: its first tab and its PID box.
struct ProcessInfoSeen {
  int tab = -1;
  std::string pid;
};

ModalDriver::Action SeeProcessInfo(ProcessInfoSeen& seen) {
  return [&seen](HWND dialog) {
    seen.tab = CurrentTab(dialog);
    seen.pid = ItemText(dialog, IDC_PROCESS_PID);
    ModalDriver::Press(dialog, IDCANCEL);
  };
}

std::string OwnPidText() {
  const DWORD pid = ::GetCurrentProcessId();
  char text[48];
  std::snprintf(text, sizeof text, "%u (0x%x)", static_cast<unsigned>(pid), static_cast<unsigned>(pid));
  return text;
}

TEST_F(ListsTest, WindowListModulesAndThreadsOpenTheProcessOfTheSelectedWindow) {
  HWND target = Make(L"Ventana de este proceso", WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  bool threadsEnabled = false;
  ProcessInfoSeen threads, modules;
  const auto post = [](HWND dialog, int command) { ::PostMessageW(dialog, WM_COMMAND, command, 0); };
  ModalDriver driver;
  driver
      .On(L"Lista de ventanas en el sistema",
          [&](HWND dialog) {
            HWND list = ::GetDlgItem(dialog, IDC_ITEM_LIST);
            const int row = FindRow(list, 0, HandleText(target));
            ASSERT_GE(row, 0);
            SelectRow(list, row);
            threadsEnabled = ButtonEnabled(dialog, IDR_WINDOW_LIST_TOOLBAR, IDC_THREADS);
            post(dialog, IDC_THREADS);
          })
      .On(L"Información sobre un proceso", SeeProcessInfo(threads))
      .On(L"Lista de ventanas en el sistema", [&](HWND dialog) { post(dialog, IDC_MODULES); })
      .On(L"Información sobre un proceso", SeeProcessInfo(modules))
      .On(L"Lista de ventanas en el sistema", [&](HWND dialog) { ModalDriver::Press(dialog, IDCANCEL); });
  EXPECT_TRUE(app.m_frame->ExecuteCommand(ID_WINDOW_LIST));
  ASSERT_TRUE(driver.AllDone());
  EXPECT_TRUE(threadsEnabled);
  EXPECT_EQ(threads.tab, 1);
  EXPECT_EQ(threads.pid, OwnPidText());
  EXPECT_EQ(modules.tab, 0);
  EXPECT_EQ(modules.pid, OwnPidText());
}

TEST_F(ListsTest, ProcessesModulesAndThreadsOpenTheSelectedProcess) {
  bool modulesEnabled = false;
  ProcessInfoSeen modules, threads;
  const auto post = [](HWND dialog, int command) { ::PostMessageW(dialog, WM_COMMAND, command, 0); };
  ModalDriver driver;
  driver
      .On(L"Procesos en ejecución en el sistema",
          [&](HWND dialog) {
            HWND list = ::GetDlgItem(dialog, IDC_ITEM_LIST);
            const int row = FindRow(list, 1, std::to_string(::GetCurrentProcessId()));
            ASSERT_GE(row, 0);
            SelectRow(list, row);
            modulesEnabled = ButtonEnabled(dialog, IDR_PROCESSES_TOOLBAR, IDC_MODULES);
            post(dialog, IDC_MODULES);
          })
      .On(L"Información sobre un proceso", SeeProcessInfo(modules))
      .On(L"Procesos en ejecución en el sistema", [&](HWND dialog) { post(dialog, IDC_THREADS); })
      .On(L"Información sobre un proceso", SeeProcessInfo(threads))
      .On(L"Procesos en ejecución en el sistema", [&](HWND dialog) { ModalDriver::Press(dialog, IDCANCEL); });
  EXPECT_TRUE(app.m_frame->ExecuteCommand(ID_PROCESS_LIST));
  ASSERT_TRUE(driver.AllDone());
  EXPECT_TRUE(modulesEnabled);
  EXPECT_EQ(modules.tab, 0);
  EXPECT_EQ(modules.pid, OwnPidText());
  EXPECT_EQ(threads.tab, 1);
  EXPECT_EQ(threads.pid, OwnPidText());
}

LPARAM RowData(HWND list, int row) {
  LVITEMW item{};
  item.mask = LVIF_PARAM;
  item.iItem = row;
  ::SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
  return item.lParam;
}

int SelectedRow(HWND list) {
  return static_cast<int>(::SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

// True when every expanded item of the tree lies on the path down to the
// caret: the rest of the tree is collapsed.
bool OnlyThePathToTheCaretIsOpen(HWND tree) {
  HTREEITEM caret = NextItem(tree, nullptr, TVGN_CARET);
  std::vector<HTREEITEM> path;
  for (HTREEITEM item = caret ? NextItem(tree, caret, TVGN_PARENT) : nullptr; item;
       item = NextItem(tree, item, TVGN_PARENT))
    path.push_back(item);
  std::vector<HTREEITEM> pending{Root(tree)};
  while (!pending.empty()) {
    HTREEITEM item = pending.back();
    pending.pop_back();
    if (!item) continue;
    if (Expanded(tree, item) && NextItem(tree, item, TVGN_CHILD) &&
        std::find(path.begin(), path.end(), item) == path.end())
      return false;
    pending.push_back(NextItem(tree, item, TVGN_NEXT));
    pending.push_back(NextItem(tree, item, TVGN_CHILD));
  }
  return true;
}

TEST_F(ListsTest, TreeFirstSelectsTheFirstProcessAndTheTabsCarryTheSelection) {
  int firstTab = -1;
  bool treeShown = false, listHidden = false, firstCollapsed = false, ownCollapsed = false;
  LPARAM firstRowPid = -1, firstCaretPid = -2, listPidAfterSwitch = -3, caretPidAfterSwitch = -4;
  ModalDriver driver;
  driver.On(L"Procesos en ejecución en el sistema", [&](HWND dialog) {
    HWND list = ::GetDlgItem(dialog, IDC_ITEM_LIST);
    HWND tree = ::GetDlgItem(dialog, IDC_ITEM_TREE);
    firstTab = CurrentTab(dialog);
    treeShown = ::IsWindowVisible(tree) != FALSE;
    listHidden = !::IsWindowVisible(list);
    firstRowPid = RowData(list, 0);
    HTREEITEM caret = NextItem(tree, nullptr, TVGN_CARET);
    if (caret) firstCaretPid = ItemData(tree, caret);
    firstCollapsed = OnlyThePathToTheCaretIsOpen(tree);

    // This process's item on the tree, then the list: its row is selected.
    HTREEITEM own = FindItem(tree, Root(tree), static_cast<LPARAM>(::GetCurrentProcessId()));
    ASSERT_NE(own, nullptr);
    SelectItem(tree, own);
    SelectTab(dialog, IDC_VIEW_TABS, 0);
    const int row = SelectedRow(list);
    if (row >= 0) listPidAfterSwitch = RowData(list, row);

    // The first row on the list, then the tree: its item is the caret and
    // the rest of the tree is collapsed again.
    SelectRow(list, 0);
    SelectTab(dialog, IDC_VIEW_TABS, 1);
    caret = NextItem(tree, nullptr, TVGN_CARET);
    if (caret) caretPidAfterSwitch = ItemData(tree, caret);
    ownCollapsed = OnlyThePathToTheCaretIsOpen(tree);
    ModalDriver::Press(dialog, IDCANCEL);
  });
  EXPECT_TRUE(app.m_frame->ExecuteCommand(ID_PROCESS_TREE));
  ASSERT_TRUE(driver.AllDone());
  EXPECT_EQ(firstTab, 1);
  EXPECT_TRUE(treeShown);
  EXPECT_TRUE(listHidden);
  EXPECT_EQ(firstCaretPid, firstRowPid) << "the first process of the list";
  EXPECT_TRUE(firstCollapsed);
  EXPECT_EQ(listPidAfterSwitch, static_cast<LPARAM>(::GetCurrentProcessId()));
  EXPECT_EQ(caretPidAfterSwitch, firstRowPid);
  EXPECT_TRUE(ownCollapsed);
}

void Type(HWND edit, const std::wstring& text) {
  for (wchar_t c : text) ::SendMessageW(edit, WM_CHAR, c, 1);
}
int RowCount(HWND list) { return static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)); }

TEST_F(ListsTest, WindowListSearchFiltersTheRealListAndEscapeClearsItFirst) {
  HWND greek = Make(L"Búsqueda ωμέγα", WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  HWND other = Make(L"Búsqueda otra", WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  int all = -1, afterEscape = -1, afterTwoWords = -1, selectedAfterEnter = -1, titleRoom = -1;
  std::vector<LPARAM> found;
  std::string counter, counterAfterEscape;
  bool focusOnListAfterEnter = false, boxEmptyAfterEscape = false;
  ModalDriver driver;
  driver
      .On(L"Lista de ventanas en el sistema",
          [&](HWND dialog) {
            HWND list = ::GetDlgItem(dialog, IDC_ITEM_LIST);
            HWND box = ::GetDlgItem(dialog, IDC_WINDOW_SEARCH);
            all = RowCount(list);
            // The columns fit the widest text in the list's own font, as
            // the control measures it.
            const std::wstring longest = L"Búsqueda ωμέγα";
            titleRoom = static_cast<int>(::SendMessageW(list, LVM_GETCOLUMNWIDTH, 1, 0)) -
                        static_cast<int>(
                            ::SendMessageW(list, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(longest.c_str())));
            // Upper case against the title's lower case, in Greek.
            Type(box, L"ΩΜΈΓΑ");
            for (int row = 0; row < RowCount(list); ++row) found.push_back(RowData(list, row));
            counter = ItemText(dialog, IDC_WINDOW_COUNT);
            ::SetFocus(box);
            ::PostMessageW(box, WM_KEYDOWN, VK_ESCAPE, 1);
          })
      .On(L"Lista de ventanas en el sistema",
          [&](HWND dialog) {
            HWND list = ::GetDlgItem(dialog, IDC_ITEM_LIST);
            HWND box = ::GetDlgItem(dialog, IDC_WINDOW_SEARCH);
            boxEmptyAfterEscape = ::GetWindowTextLengthW(box) == 0;
            afterEscape = RowCount(list);
            counterAfterEscape = ItemText(dialog, IDC_WINDOW_COUNT);
            Type(box, L"búsqueda " + Widen(HandleText(other)));
            afterTwoWords = RowCount(list);
            Type(box, L"\b\b\b\b\b\b\b\b\b\b");  // back to "búsqueda": both windows
            ::SetFocus(box);
            ::PostMessageW(box, WM_KEYDOWN, VK_RETURN, 1);
          })
      .On(L"Lista de ventanas en el sistema", [&](HWND dialog) {
        HWND list = ::GetDlgItem(dialog, IDC_ITEM_LIST);
        HWND box = ::GetDlgItem(dialog, IDC_WINDOW_SEARCH);
        selectedAfterEnter = SelectedRow(list);
        focusOnListAfterEnter = ::GetFocus() == list;
        ::SetWindowTextW(box, L"");
        ::SetFocus(box);
        ::PostMessageW(box, WM_KEYDOWN, VK_ESCAPE, 1);  // an empty box: the dialog closes
      });
  const WindowHandle before = app.m_frame->Captured();
  EXPECT_TRUE(app.m_frame->ExecuteCommand(ID_WINDOW_LIST));
  ASSERT_TRUE(driver.AllDone());
  EXPECT_GE(titleRoom, 25) << "the widest title and the padding";
  EXPECT_EQ(found, std::vector<LPARAM>{static_cast<LPARAM>(H(greek))});
  EXPECT_EQ(counter, "1 de " + std::to_string(all) + " ventana(s)");
  EXPECT_TRUE(boxEmptyAfterEscape) << "Escape emptied the box";
  EXPECT_EQ(afterEscape, all);
  EXPECT_EQ(counterAfterEscape, std::to_string(all) + " ventana(s) obtenida(s)");
  EXPECT_EQ(afterTwoWords, 1) << "title and handle";
  EXPECT_EQ(selectedAfterEnter, 0);
  EXPECT_TRUE(focusOnListAfterEnter);
  EXPECT_EQ(app.m_frame->Captured(), before) << "closed by Escape: nothing picked";
}

std::string CellText(HWND list, int row, int column) {
  wchar_t buffer[256] = {};
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = buffer;
  item.cchTextMax = 256;
  ::SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  return Narrow(buffer);
}

void ClickColumn(HWND dialog, int column) {
  NMLISTVIEW click{};
  click.hdr.hwndFrom = ::GetDlgItem(dialog, IDC_ITEM_LIST);
  click.hdr.idFrom = IDC_ITEM_LIST;
  click.hdr.code = LVN_COLUMNCLICK;
  click.iItem = -1;
  click.iSubItem = column;
  ::SendMessageW(dialog, WM_NOTIFY, IDC_ITEM_LIST, reinterpret_cast<LPARAM>(&click));
}

// The rows are sorted where the dialog keeps them and rewritten in place:
// each row's texts must still be its window's, and the selection must stay
// with the window, in both directions and under a search.
TEST_F(ListsTest, WindowListSortKeepsEachRowsTextsAndTheSelectedWindow) {
  HWND b = Make(L"Ordenada b", WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  Make(L"Ordenada c", WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  Make(L"Ordenada a", WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  std::vector<std::string> titlesUp, titlesDown, searchedUp;
  bool rowsKeepTheirTexts = true;
  LPARAM selectedUp = 0, selectedDown = 0;
  ModalDriver driver;
  driver.On(L"Lista de ventanas en el sistema", [&](HWND dialog) {
    HWND list = ::GetDlgItem(dialog, IDC_ITEM_LIST);
    const auto check = [&] {
      for (int row = 0; row < RowCount(list); ++row)
        if (CellText(list, row, 0) != HandleText(reinterpret_cast<HWND>(RowData(list, row))))
          rowsKeepTheirTexts = false;
    };
    const auto titles = [&] {
      std::vector<std::string> seen;
      for (int row = 0; row < RowCount(list); ++row) {
        const std::string title = CellText(list, row, 1);
        if (title.rfind("Ordenada ", 0) == 0) seen.push_back(title);
      }
      return seen;
    };
    const int row = FindRow(list, 0, HandleText(b));
    ASSERT_GE(row, 0);
    SelectRow(list, row);
    ClickColumn(dialog, 1);
    // Whatever order the list was in, two clicks give both directions.
    if (titles().front() != "Ordenada a") ClickColumn(dialog, 1);
    check();
    titlesUp = titles();
    selectedUp = RowData(list, SelectedRow(list));
    ClickColumn(dialog, 1);
    check();
    titlesDown = titles();
    selectedDown = RowData(list, SelectedRow(list));
    Type(::GetDlgItem(dialog, IDC_WINDOW_SEARCH), L"ordenada");
    ClickColumn(dialog, 1);
    check();
    searchedUp = titles();
    ModalDriver::Press(dialog, IDCANCEL);
  });
  EXPECT_TRUE(app.m_frame->ExecuteCommand(ID_WINDOW_LIST));
  ASSERT_TRUE(driver.AllDone());
  using T = std::vector<std::string>;
  EXPECT_EQ(titlesUp, (T{"Ordenada a", "Ordenada b", "Ordenada c"}));
  EXPECT_EQ(titlesDown, (T{"Ordenada c", "Ordenada b", "Ordenada a"}));
  EXPECT_EQ(searchedUp, titlesUp);
  EXPECT_TRUE(rowsKeepTheirTexts) << "a row's handle names the window it stands for";
  EXPECT_EQ(selectedUp, static_cast<LPARAM>(H(b)));
  EXPECT_EQ(selectedDown, static_cast<LPARAM>(H(b)));
}

}  // namespace
}  // namespace qm
