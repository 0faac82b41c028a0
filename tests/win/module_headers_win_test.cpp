// The module headers dialog opened the three ways the program opens it: the
// frame's command after the open-file dialog, and the "Cabeceras..." buttons
// of the module and process information dialogs; a 64-bit Wine DLL and a
// 32-bit MinGW DLL in both modes, and the message for a file that is no
// module.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <string>
#include <vector>

#include "headers/ui/module_headers_dlg.h"
#include "platform/win32/win32_system.h"
#include "processes/ui/process_info_dlg.h"
#include "res/resource_ids.h"
#include "tests/win/app_fixture.h"
#include "tests/win/file_dialog_answer.h"
#include "tests/win/modal_driver.h"

// After <windows.h> (through the includes above), which it needs.
#include <commctrl.h>

namespace qm {
namespace {

struct TreeLine {
  std::string text;
  int image = -1;
  bool expanded = false;
};

TreeLine ReadItem(HWND tree, HTREEITEM item) {
  wchar_t text[512] = {};
  TVITEMW info{};
  info.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_STATE;
  info.hItem = item;
  info.stateMask = TVIS_EXPANDED;
  info.pszText = text;
  info.cchTextMax = 512;
  ::SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&info));
  return {Narrow(text), info.iImage, (info.state & TVIS_EXPANDED) != 0};
}

HTREEITEM Next(HWND tree, HTREEITEM item, UINT relation) {
  return reinterpret_cast<HTREEITEM>(::SendMessageW(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

// Every item, depth first, the root first.
std::vector<TreeLine> TreeLines(HWND dialog) {
  HWND tree = ::GetDlgItem(dialog, IDC_ITEM_TREE);
  std::vector<TreeLine> lines;
  std::vector<HTREEITEM> pending{Next(tree, nullptr, TVGN_ROOT)};
  while (!pending.empty()) {
    HTREEITEM item = pending.back();
    pending.pop_back();
    if (!item) continue;
    lines.push_back(ReadItem(tree, item));
    pending.push_back(Next(tree, item, TVGN_NEXT));
    pending.push_back(Next(tree, item, TVGN_CHILD));
  }
  return lines;
}

const TreeLine* Line(const std::vector<TreeLine>& lines, const std::string& text) {
  auto it = std::find_if(lines.begin(), lines.end(), [&](const TreeLine& line) { return line.text == text; });
  return it == lines.end() ? nullptr : &*it;
}

std::vector<std::string> Texts(const std::vector<TreeLine>& lines) {
  std::vector<std::string> texts;
  for (const auto& line : lines) texts.push_back(line.text);
  return texts;
}

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

bool EndsWithNoCase(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() && Lower(text.substr(text.size() - tail.size())) == Lower(tail);
}

void Click(HWND dialog, int id) { ::SendMessageW(::GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

// A 32-bit DLL of the MinGW cross compiler, whatever its version folder.
std::wstring MingwDll() {
  const std::wstring base = L"Z:\\usr\\lib\\gcc\\i686-w64-mingw32\\";
  WIN32_FIND_DATAW found{};
  HANDLE search = ::FindFirstFileW((base + L"*").c_str(), &found);
  std::wstring dll;
  for (BOOL more = search != INVALID_HANDLE_VALUE; more && dll.empty(); more = ::FindNextFileW(search, &found)) {
    const std::wstring candidate = base + found.cFileName + L"\\libgcc_s_dw2-1.dll";
    if (found.cFileName[0] != L'.' && ::GetFileAttributesW(candidate.c_str()) != INVALID_FILE_ATTRIBUTES)
      dll = candidate;
  }
  if (search != INVALID_HANDLE_VALUE) ::FindClose(search);
  return dll;
}

class ModuleHeadersTest : public RunningAppTest {
 protected:
  bool RefreshRuns() const { return ::KillTimer(app.m_frame->m_hWnd, IDT_AUTO_REFRESH) != FALSE; }
};

TEST_F(ModuleHeadersTest, TheCommandShowsA64BitWineDllInBothModes) {
  const std::wstring path = L"Z:\\usr\\lib\\x86_64-linux-gnu\\wine\\x86_64-windows\\version.dll";
  ASSERT_NE(::GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES);
  std::vector<TreeLine> summary, complete, summaryAgain;
  bool frameMinimised = false, refreshDuringDialog = true, summaryChecked = false;
  FileDialogAnswer answer(path);
  ModalDriver driver;
  driver.On(L"Cabeceras de un módulo", [&](HWND dialog) {
    frameMinimised = ::IsIconic(app.m_frame->m_hWnd) != FALSE;
    refreshDuringDialog = RefreshRuns();
    summaryChecked = ::IsDlgButtonChecked(dialog, IDC_SUMMARY_MODE) == BST_CHECKED;
    summary = TreeLines(dialog);
    Click(dialog, IDC_COMPLETE_MODE);
    complete = TreeLines(dialog);
    Click(dialog, IDC_SUMMARY_MODE);
    summaryAgain = TreeLines(dialog);
    ModalDriver::Press(dialog, IDCANCEL);
  });
  EXPECT_TRUE(app.m_frame->ExecuteCommand(ID_MODULE_HEADERS));
  ASSERT_TRUE(answer.Answered());
  ASSERT_TRUE(driver.AllDone());
  EXPECT_TRUE(frameMinimised);
  EXPECT_FALSE(refreshDuringDialog);
  EXPECT_TRUE(RefreshRuns()) << "started again after the dialog";
  EXPECT_TRUE(summaryChecked);

  ASSERT_FALSE(summary.empty());
  EXPECT_TRUE(EndsWithNoCase(summary[0].text, "\\version.dll")) << summary[0].text;
  EXPECT_EQ(summary[0].image, 27);
  EXPECT_TRUE(summary[0].expanded);
  const TreeLine* dos = Line(summary, "Firma de cabecera DOS: 0x5a4d [MZ]");
  ASSERT_NE(dos, nullptr);
  EXPECT_EQ(dos->image, 25);
  EXPECT_NE(Line(summary, "Firma de cabecera NT: 0x00004550 [PE  ]"), nullptr);
  EXPECT_NE(Line(summary, "Tipo de máquina: IMAGE_FILE_MACHINE_AMD64"), nullptr);
  const TreeLine* characteristics = Line(summary, "Características del módulo");
  ASSERT_NE(characteristics, nullptr);
  EXPECT_EQ(characteristics->image, 27);
  EXPECT_NE(Line(summary, "IMAGE_FILE_DLL"), nullptr);
  EXPECT_NE(Line(summary, "Funciones que exporta"), nullptr);
  EXPECT_NE(Line(summary, "Librerías que importa"), nullptr);
  EXPECT_EQ(Line(summary, "IMAGE_DOS_HEADER"), nullptr);

  for (const char* node :
       {"LOADED_IMAGE", "IMAGE_DOS_HEADER", "IMAGE_NT_HEADERS", "Export directory", "Import directory"})
    EXPECT_NE(Line(complete, node), nullptr) << node;
  EXPECT_EQ(Line(complete, "Funciones que exporta"), nullptr);
  EXPECT_GT(complete.size(), summary.size());
  EXPECT_EQ(Texts(summaryAgain), Texts(summary)) << "the same load, rebuilt";
}

// "Cabeceras..." of the module information (a 32-bit DLL chosen with
// 30068) and of the process information (a module of this process).
TEST_F(ModuleHeadersTest, TheCabecerasButtonsOpenTheHeadersOfTheirModule) {
  const std::wstring mingw = MingwDll();
  ASSERT_FALSE(mingw.empty()) << "a MinGW i686 DLL under /usr/lib/gcc/i686-w64-mingw32";
  std::vector<TreeLine> summary, complete;
  FileDialogAnswer answer(mingw);
  ModalDriver driver;
  driver
      .On(L"Información sobre un módulo",
          [&](HWND dialog) { ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_MODULE_HEADERS, BN_CLICKED), 0); })
      .On(L"Cabeceras de un módulo",
          [&](HWND dialog) {
            summary = TreeLines(dialog);
            Click(dialog, IDC_COMPLETE_MODE);
            complete = TreeLines(dialog);
            ModalDriver::Press(dialog, IDCANCEL);
          })
      .On(L"Información sobre un módulo", [&](HWND dialog) { ModalDriver::Press(dialog, IDCANCEL); });
  EXPECT_TRUE(app.m_frame->ExecuteCommand(ID_MODULE_GENERAL_DATA));
  ASSERT_TRUE(driver.AllDone());
  ASSERT_FALSE(summary.empty());
  EXPECT_TRUE(EndsWithNoCase(summary[0].text, "\\libgcc_s_dw2-1.dll")) << summary[0].text;
  EXPECT_NE(Line(summary, "Tipo de máquina: IMAGE_FILE_MACHINE_I386"), nullptr);
  EXPECT_NE(Line(summary, "IMAGE_FILE_32BIT_MACHINE"), nullptr);
  EXPECT_NE(Line(complete, "Magic = 0x010b: Normal executable file"), nullptr);
  EXPECT_NE(Line(complete, "IMAGE_DOS_HEADER"), nullptr);

  HWND target = ::CreateWindowExW(0, L"STATIC", L"Objetivo", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 120, 130, 300, 200,
                                  nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
  app.m_frame->CaptureWindow(H(target));
  std::string root;
  ModalDriver fromProcess;
  fromProcess
      .On(L"Información sobre un proceso",
          [&](HWND dialog) {
            // The first row, this program, is selected when the list fills.
            ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_MODULE_HEADERS, BN_CLICKED), 0);
          })
      .On(L"Cabeceras de un módulo",
          [&](HWND dialog) {
            const auto lines = TreeLines(dialog);
            if (!lines.empty()) root = lines[0].text;
            ModalDriver::Press(dialog, IDCANCEL);
          })
      .On(L"Información sobre un proceso", [&](HWND dialog) { ModalDriver::Press(dialog, IDCANCEL); });
  EXPECT_TRUE(app.m_frame->ExecuteCommand(ID_PROCESS_DATA));
  ::DestroyWindow(target);
  ASSERT_TRUE(fromProcess.AllDone());
  wchar_t exe[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, exe, MAX_PATH);
  EXPECT_EQ(Lower(root), Lower(Narrow(exe)));
}

TEST_F(ModuleHeadersTest, AFileThatIsNoModuleIsReportedAndTheDialogEndsUnshown) {
  wchar_t temp[MAX_PATH] = {};
  ::GetTempPathW(MAX_PATH, temp);
  const std::string text = Narrow(temp) + "qm_notes_" + std::to_string(::GetCurrentProcessId()) + ".txt";
  std::ofstream(Widen(text).c_str()) << std::string(400, 'x');
  const std::string missing = Narrow(temp) + "qm_missing_" + std::to_string(::GetCurrentProcessId()) + ".dll";

  std::vector<std::string> shown;
  bool dialogSeen = false;
  ModalDriver driver;
  const auto read = [&](HWND box) {
    wchar_t message[1024] = {};
    ::GetDlgItemTextW(box, 0xFFFF, message, 1024);  // the message's static
    shown.push_back(Narrow(message));
    HWND dialog = ::FindWindowW(nullptr, L"Cabeceras de un módulo");
    dialogSeen = dialogSeen || (dialog && ::IsWindowVisible(dialog));
    ModalDriver::Press(box, IDOK);
  };
  driver.On(L"Quillmar", read).On(L"Quillmar", read);
  for (const std::string& path : {text, missing}) {
    CModuleHeadersDlg dialog(SystemPlatform(), nullptr);
    dialog.SetFileName(path);
    EXPECT_EQ(dialog.DoModal(app.m_frame->m_hWnd), IDCANCEL);
  }
  ::DeleteFileW(Widen(text).c_str());
  ASSERT_TRUE(driver.AllDone());
  // The system's text for its error (a bad executable format), with the
  // path where the text asks for it.
  EXPECT_NE(shown[0].find(text), std::string::npos) << shown[0];
  EXPECT_EQ(shown[0].find("%1"), std::string::npos) << shown[0];
  EXPECT_FALSE(shown[1].empty());
  EXPECT_EQ(shown[1].find("%1"), std::string::npos) << shown[1];
  EXPECT_NE(shown[1], "No se puede cargar el módulo " + missing) << "the system's text for a missing file";
  EXPECT_FALSE(dialogSeen);
}

}  // namespace
}  // namespace qm
