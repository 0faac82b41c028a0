// The process and module information dialogs opened through the frame's
// commands on the test's own process: its real modules and threads, the
// shell's icons and a fixture DLL's file data and version strings.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <string>
#include <vector>

#include "common/number_format.h"
#include "platform/string_ex.h"
#include "platform/win32/win32_system.h"
#include "processes/ui/process_info_dlg.h"
#include "res/resource_ids.h"
#include "tests/win/app_fixture.h"
#include "tests/win/control_queries.h"
#include "tests/win/file_dialog_answer.h"
#include "tests/win/modal_driver.h"

// After <windows.h> (through the includes above), which they need.
#include <commctrl.h>
#include <dlgs.h>

namespace qm {
namespace {

int RowImage(HWND list, int row) {
  LVITEMW item{};
  item.mask = LVIF_IMAGE;
  item.iItem = row;
  ::SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
  return item.iImage;
}

bool EndsWithNoCase(std::string text, std::string tail) {
  for (std::string* s : {&text, &tail})
    for (char& c : *s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// The row whose cell in the column ends with the text (case-insensitive); -1.
int FindRowEndingWith(HWND list, int column, const std::string& tail) {
  for (int row = 0; row < RowCount(list); ++row)
    if (EndsWithNoCase(CellText(list, row, column), tail)) return row;
  return -1;
}

// A click on a column's header, as the list reports it.
void ClickColumn(HWND dialog, int column) {
  NMLISTVIEW click{};
  click.hdr.hwndFrom = ::GetDlgItem(dialog, IDC_ITEM_LIST);
  click.hdr.idFrom = IDC_ITEM_LIST;
  click.hdr.code = LVN_COLUMNCLICK;
  click.iItem = -1;
  click.iSubItem = column;
  ::SendMessageW(dialog, WM_NOTIFY, IDC_ITEM_LIST, reinterpret_cast<LPARAM>(&click));
}

std::vector<std::string> ColumnTexts(HWND list, int column) {
  std::vector<std::string> texts;
  for (int row = 0; row < RowCount(list); ++row) texts.push_back(CellText(list, row, column));
  return texts;
}

class ProcessToolsTest : public RunningAppTest {
 protected:
  void TearDown() override {
    if (::IsWindow(target_)) ::DestroyWindow(target_);
    RunningAppTest::TearDown();
  }
  void CaptureOwnWindow() {
    target_ = ::CreateWindowExW(0, L"STATIC", L"Objetivo", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 120, 130, 300, 200,
                                nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    app.m_frame->CaptureWindow(H(target_));
  }
  bool RefreshRuns() const { return ::KillTimer(app.m_frame->m_hWnd, IDT_AUTO_REFRESH) != FALSE; }

  HWND target_ = nullptr;
};

TEST_F(ProcessToolsTest, ProcessDataShowsTheOwnModulesWithIconsAndThenTheThreads) {
  CaptureOwnWindow();
  const DWORD pid = ::GetCurrentProcessId();
  wchar_t exe[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, exe, MAX_PATH);
  const std::string exeName = Narrow(exe).substr(Narrow(exe).find_last_of('\\') + 1);
  char threadId[16];
  std::snprintf(threadId, sizeof threadId, "0x%08x", static_cast<unsigned>(::GetCurrentThreadId()));

  std::string pidText, count, threadCount;
  int modules = 0, exeRow = -1, kernelRow = -1, kernelImage = -1, ownThreadRow = -1, threadImage = 0;
  bool refreshDuringDialog = true, buttonsOnModules = false, buttonsOnThreads = true, progressHidden = false;
  bool namesAscending = false, namesDescending = false, kernelKeptItself = false;
  ModalDriver driver;
  driver.On(L"Información sobre un proceso", [&](HWND dialog) {
    refreshDuringDialog = RefreshRuns();
    HWND list = ::GetDlgItem(dialog, IDC_ITEM_LIST);
    pidText = ItemText(dialog, IDC_PROCESS_PID);
    count = ItemText(dialog, IDC_INFO_COUNT);
    modules = RowCount(list);
    exeRow = FindRowEndingWith(list, 4, "\\" + exeName);
    kernelRow = FindRowEndingWith(list, 4, "\\kernel32.dll");
    if (kernelRow >= 0) kernelImage = RowImage(list, kernelRow);
    buttonsOnModules = ::IsWindowVisible(::GetDlgItem(dialog, IDC_MODULE_ADVANCED)) != FALSE;
    // A header click sorts the names as text, a second one reverses them;
    // each row keeps its path and icon.
    ClickColumn(dialog, 0);
    const auto ascending = ColumnTexts(list, 0);
    namesAscending =
        std::is_sorted(ascending.begin(), ascending.end()) && ascending.size() == static_cast<size_t>(modules);
    ClickColumn(dialog, 0);
    const auto descending = ColumnTexts(list, 0);
    namesDescending = std::is_sorted(descending.rbegin(), descending.rend()) && ascending != descending;
    const int kernelAfter = FindRowEndingWith(list, 4, "\\kernel32.dll");
    kernelKeptItself = kernelAfter >= 0 && RowImage(list, kernelAfter) == kernelImage &&
                       EndsWithNoCase(CellText(list, kernelAfter, 0), "kernel32.dll");
    progressHidden = !::IsWindowVisible(::GetDlgItem(dialog, IDC_PROCESS_PROGRESS));

    SelectTab(dialog, IDC_VIEW_TABS, 1);
    threadCount = ItemText(dialog, IDC_INFO_COUNT);
    ownThreadRow = FindRowEndingWith(list, 0, threadId);
    if (ownThreadRow >= 0) threadImage = RowImage(list, ownThreadRow);
    buttonsOnThreads = ::IsWindowVisible(::GetDlgItem(dialog, IDC_MODULE_ADVANCED)) != FALSE;
    ModalDriver::Press(dialog, IDCANCEL);
  });
  EXPECT_TRUE(app.m_frame->ExecuteCommand(ID_PROCESS_DATA));
  ASSERT_TRUE(driver.AllDone());
  EXPECT_FALSE(refreshDuringDialog);
  EXPECT_TRUE(RefreshRuns()) << "started again after the dialog";

  EXPECT_EQ(
      pidText, std::to_string(pid) + " (0x" + [&] {
        char hex[16];
        std::snprintf(hex, sizeof hex, "%x", static_cast<unsigned>(pid));
        return std::string(hex);
      }() + ")");
  EXPECT_GT(modules, 3);
  EXPECT_EQ(count, std::to_string(modules) + " módulo(s) obtenido(s)");
  EXPECT_GE(exeRow, 0) << "the test's own executable";
  EXPECT_GE(kernelRow, 0);
  EXPECT_GE(kernelImage, 0) << "the shell gave an icon index";
  EXPECT_TRUE(buttonsOnModules);
  EXPECT_TRUE(namesAscending);
  EXPECT_TRUE(namesDescending);
  EXPECT_TRUE(kernelKeptItself);
  EXPECT_TRUE(progressHidden);
  EXPECT_GE(ownThreadRow, 0) << "this thread is listed";
  EXPECT_EQ(threadImage, I_IMAGENONE) << "no image, not the shell's first";
  EXPECT_EQ(threadCount.find(" thread(s) obtenido(s)") != std::string::npos, true) << threadCount;
  EXPECT_FALSE(buttonsOnThreads);
}

TEST_F(ProcessToolsTest, AdvancedShowsAFixtureDllsFileDataIconAndVersionRows) {
  const std::string dllPath = std::string(QM_FIXTURE_DIR) + "\\x86_64\\version_driver.dll";
  HMODULE dll = ::LoadLibraryW(Widen(dllPath).c_str());
  ASSERT_NE(dll, nullptr);
  WIN32_FILE_ATTRIBUTE_DATA attributes{};
  ASSERT_TRUE(::GetFileAttributesExW(Widen(dllPath).c_str(), GetFileExInfoStandard, &attributes));
  const uint64_t size = (static_cast<uint64_t>(attributes.nFileSizeHigh) << 32) | attributes.nFileSizeLow;
  const uint64_t written = (static_cast<uint64_t>(attributes.ftLastWriteTime.dwHighDateTime) << 32) |
                           attributes.ftLastWriteTime.dwLowDateTime;
  const ILocale& locale = *SystemPlatform().locale;
  const std::string writtenText = CStringEx().SetDate(locale, locale.FileTimeToLocalTime(written)).m_str;

  CaptureOwnWindow();
  std::string path, sizeText, writtenShown, firstLabel, company;
  int versionRows = 0;
  bool readOnly = true, hasIcon = false;
  ModalDriver driver;
  driver
      .On(L"Información sobre un proceso",
          [&](HWND dialog) {
            HWND list = ::GetDlgItem(dialog, IDC_ITEM_LIST);
            const int row = FindRowEndingWith(list, 4, "\\version_driver.dll");
            ASSERT_GE(row, 0);
            SelectRow(list, row);
            // Posted: the module dialog runs its own modal loop.
            ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_MODULE_ADVANCED, BN_CLICKED), 0);
          })
      .On(L"Información sobre un módulo",
          [&](HWND dialog) {
            path = ItemText(dialog, IDC_MODULE_PATH);
            sizeText = ItemText(dialog, IDC_MODULE_SIZE);
            writtenShown = ItemText(dialog, IDC_MODULE_WRITTEN);
            readOnly = ::IsDlgButtonChecked(dialog, IDC_MODULE_READ_ONLY) == BST_CHECKED;
            hasIcon = ::SendDlgItemMessageW(dialog, IDC_MODULE_ICON, STM_GETICON, 0, 0) != 0;
            HWND list = ::GetDlgItem(dialog, IDC_ITEM_LIST);
            versionRows = RowCount(list);
            firstLabel = CellText(list, 0, 0);
            company = CellText(list, 7, 1);
            ModalDriver::Press(dialog, IDCANCEL);
          })
      .On(L"Información sobre un proceso", [&](HWND dialog) { ModalDriver::Press(dialog, IDCANCEL); });
  EXPECT_TRUE(app.m_frame->ExecuteCommand(ID_PROCESS_DATA));
  ::FreeLibrary(dll);
  ASSERT_TRUE(driver.AllDone());
  EXPECT_TRUE(EndsWithNoCase(path, "\\x86_64\\version_driver.dll")) << path;
  EXPECT_EQ(sizeText, FormatNumber(size));
  EXPECT_EQ(writtenShown, writtenText);
  EXPECT_FALSE(writtenShown.empty());
  EXPECT_FALSE(readOnly);
  EXPECT_TRUE(hasIcon);
  EXPECT_EQ(versionRows, 12);
  EXPECT_EQ(firstLabel, "Nombre del producto");
  EXPECT_EQ(company, "Karvonel");
}

TEST_F(ProcessToolsTest, ModuleGeneralDataAsksForTheFileAndHidesTheFrameWhileItShows) {
  std::string dllPath = std::string(QM_FIXTURE_DIR) + "\\x86_64\\version_driver.dll";
  for (char& c : dllPath)
    if (c == '/') c = '\\';
  std::string path, sizeText;
  bool frameMinimised = false, refreshDuringDialog = true;
  FileDialogAnswer answer(Widen(dllPath));
  ModalDriver driver;
  driver.On(L"Información sobre un módulo", [&](HWND dialog) {
    frameMinimised = ::IsIconic(app.m_frame->m_hWnd) != FALSE;
    refreshDuringDialog = RefreshRuns();
    path = ItemText(dialog, IDC_MODULE_PATH);
    sizeText = ItemText(dialog, IDC_MODULE_SIZE);
    ModalDriver::Press(dialog, IDCANCEL);
  });
  EXPECT_TRUE(app.m_frame->ExecuteCommand(ID_MODULE_GENERAL_DATA));
  ASSERT_TRUE(answer.Answered());
  ASSERT_TRUE(driver.AllDone());
  EXPECT_TRUE(frameMinimised);
  EXPECT_FALSE(refreshDuringDialog);
  EXPECT_FALSE(::IsIconic(app.m_frame->m_hWnd)) << "restored after the dialog";
  EXPECT_TRUE(RefreshRuns());
  EXPECT_TRUE(EndsWithNoCase(path, "\\x86_64\\version_driver.dll")) << path;
  EXPECT_FALSE(sizeText.empty());
}

// F5 after the file was deleted: the old file's data is gone from the
// fields, and each icon the shell gave is destroyed once it is replaced or
// the dialog closes.
TEST_F(ProcessToolsTest, ModuleInformationAfterTheFileIsDeletedEmptiesItsFieldsAndKeepsNoIcon) {
  wchar_t temp[MAX_PATH] = {};
  ::GetTempPathW(MAX_PATH, temp);
  const std::wstring copy = std::wstring(temp) + L"qm_module_" + std::to_wstring(::GetCurrentProcessId()) + L".dll";
  std::string source = std::string(QM_FIXTURE_DIR) + "\\x86_64\\version_driver.dll";
  for (char& c : source)
    if (c == '/') c = '\\';
  ASSERT_TRUE(::CopyFileW(Widen(source).c_str(), copy.c_str(), FALSE));

  std::string sizeBefore, sizeAfter, writtenAfter;
  HICON first = nullptr, second = nullptr;
  bool firstAliveAfterF5 = true;
  FileDialogAnswer answer(copy);
  ModalDriver driver;
  driver.On(L"Información sobre un módulo", [&](HWND dialog) {
    sizeBefore = ItemText(dialog, IDC_MODULE_SIZE);
    first = reinterpret_cast<HICON>(::SendDlgItemMessageW(dialog, IDC_MODULE_ICON, STM_GETICON, 0, 0));
    ::DeleteFileW(copy.c_str());
    NMLVKEYDOWN key{};
    key.hdr.hwndFrom = ::GetDlgItem(dialog, IDC_ITEM_LIST);
    key.hdr.idFrom = IDC_ITEM_LIST;
    key.hdr.code = LVN_KEYDOWN;
    key.wVKey = VK_F5;
    ::SendMessageW(dialog, WM_NOTIFY, IDC_ITEM_LIST, reinterpret_cast<LPARAM>(&key));
    sizeAfter = ItemText(dialog, IDC_MODULE_SIZE);
    writtenAfter = ItemText(dialog, IDC_MODULE_WRITTEN);
    second = reinterpret_cast<HICON>(::SendDlgItemMessageW(dialog, IDC_MODULE_ICON, STM_GETICON, 0, 0));
    ICONINFO info{};
    firstAliveAfterF5 = first && ::GetIconInfo(first, &info);
    ModalDriver::Press(dialog, IDCANCEL);
  });
  EXPECT_TRUE(app.m_frame->ExecuteCommand(ID_MODULE_GENERAL_DATA));
  ::DeleteFileW(copy.c_str());
  ASSERT_TRUE(driver.AllDone());
  EXPECT_FALSE(sizeBefore.empty());
  EXPECT_EQ(sizeAfter, "");
  EXPECT_EQ(writtenAfter, "");
  ASSERT_NE(first, nullptr);
  EXPECT_FALSE(firstAliveAfterF5) << "the replaced icon was destroyed";
  ICONINFO info{};
  if (second) {
    EXPECT_FALSE(::GetIconInfo(second, &info)) << "the last icon was destroyed with the dialog";
  }
}

TEST_F(ProcessToolsTest, AProcessThatEndedIsReportedAndTheDialogCloses) {
  std::wstring exe = Widen(std::string(QM_FIXTURE_DIR) + "\\x86_64\\version_two.exe");
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION child{};
  ASSERT_TRUE(::CreateProcessW(exe.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &child));
  ::WaitForSingleObject(child.hProcess, 10000);
  ::CloseHandle(child.hThread);
  ::CloseHandle(child.hProcess);

  std::string warning;
  bool dialogBehind = true;
  ModalDriver driver;
  driver.On(L"Quillmar", [&](HWND box) {
    wchar_t text[512] = {};
    ::GetDlgItemTextW(box, 0xFFFF, text, 512);  // the message's static
    warning = Narrow(text);
    dialogBehind = ::FindWindowW(nullptr, L"Información sobre un proceso") != nullptr;
    ModalDriver::Press(box, IDOK);
  });
  CProcessInfoDlg dialog(SystemPlatform());
  dialog.SetProcessId(child.dwProcessId);
  EXPECT_EQ(dialog.DoModal(app.m_frame->m_hWnd), IDCANCEL);
  ASSERT_TRUE(driver.AllDone());
  char hex[16];
  std::snprintf(hex, sizeof hex, "%x", static_cast<unsigned>(child.dwProcessId));
  EXPECT_EQ(warning, "El proceso " + std::to_string(child.dwProcessId) + " (0x" + hex + ") ha terminado");
  EXPECT_FALSE(dialogBehind) << "the message comes before any dialog is made";
}

}  // namespace
}  // namespace qm
