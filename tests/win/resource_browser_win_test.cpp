// The resource browser on fixture modules built by both MinGW compilers:
// opened through the frame's command, its tree, the hex and string pages
// for their selections, both string exports (compiled back by windres) and
// a refused export, and the message for a file that is not a module.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "common/ui/image_lists.h"
#include "platform/sim/sim_system.h"
#include "platform/win32/win32_system.h"
#include "res/resource_ids.h"
#include "resources/icon_file.h"
#include "resources/string_list.h"
#include "resources/ui/module_resources_dlg.h"
#include "tests/host/test_bytes.h"
#include "tests/win/app_fixture.h"
#include "tests/win/control_queries.h"
#include "tests/win/file_dialog_answer.h"
#include "tests/win/modal_driver.h"

// After <windows.h> (through the includes above), which it needs.
#include <commctrl.h>

namespace qm {
namespace {

std::string WindowsPath(std::string path) {
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

std::string Fixture(const std::string& arch, const std::string& name) {
  return WindowsPath(std::string(QM_FIXTURE_DIR) + "/" + arch + "/" + name);
}

// A visible, enabled window of the thread with a Yes button: a question.
// A named callback, as the 32-bit calling convention needs.
BOOL CALLBACK FindQuestion(HWND window, LPARAM found) {
  if (::IsWindowVisible(window) && ::IsWindowEnabled(window) && ::GetDlgItem(window, IDYES)) {
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
  }
  return TRUE;
}

HTREEITEM Child(HWND tree, HTREEITEM parent, const std::string& text) {
  for (HTREEITEM item = NextItem(tree, parent, TVGN_CHILD); item; item = NextItem(tree, item, TVGN_NEXT))
    if (TreeText(tree, item) == text) return item;
  return nullptr;
}

std::vector<std::string> Children(HWND tree, HTREEITEM parent) {
  std::vector<std::string> texts;
  for (HTREEITEM item = NextItem(tree, parent, TVGN_CHILD); item; item = NextItem(tree, item, TVGN_NEXT))
    texts.push_back(TreeText(tree, item));
  return texts;
}

bool Visible(HWND window) { return window && ::IsWindowVisible(window); }

// Steps run one after another from a thread timer, inside whatever modal
// loop runs at the time; each is polled until it says it has done its part
// (a step that opens a modal dialog posts its command).
class Steps {
 public:
  explicit Steps(std::vector<std::function<bool()>> steps) : steps_(std::move(steps)) {
    current_ = this;
    timer_ = ::SetTimer(nullptr, 0, 30, &Steps::OnTimer);
  }
  ~Steps() {
    ::KillTimer(nullptr, timer_);
    current_ = nullptr;
  }
  Steps(const Steps&) = delete;
  Steps& operator=(const Steps&) = delete;
  size_t Done() const { return done_; }
  bool AllDone() const { return done_ == steps_.size(); }

 private:
  static BOOL CALLBACK Cancel(HWND window, LPARAM) {
    if (::IsWindowVisible(window)) ::PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
    return TRUE;
  }
  static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD) {
    Steps* self = current_;
    if (!self || self->busy_ || self->done_ >= self->steps_.size()) return;
    // A step that never comes true: every dialog of the thread is cancelled
    // so that the test ends and reports how far it got.
    if (std::chrono::steady_clock::now() > self->deadline_) {
      ::EnumThreadWindows(::GetCurrentThreadId(), &Steps::Cancel, 0);
      return;
    }
    self->busy_ = true;
    if (self->steps_[self->done_]()) ++self->done_;
    self->busy_ = false;
  }
  static inline Steps* current_ = nullptr;
  std::vector<std::function<bool()>> steps_;
  size_t done_ = 0;
  bool busy_ = false;
  UINT_PTR timer_ = 0;
  std::chrono::steady_clock::time_point deadline_ = std::chrono::steady_clock::now() + std::chrono::seconds(40);
};

// The visible top-level window of this thread with this caption, enabled
// (no modal dialog of its own running above it).
HWND FindEnabled(const std::wstring& caption) {
  HWND found = ::FindWindowW(nullptr, caption.c_str());
  return found && ::IsWindowVisible(found) && ::IsWindowEnabled(found) ? found : nullptr;
}

// Runs windres and the linker on the script (under Wine a Unix program
// gives no handle to wait on and sees no Unix PATH, so the shell sets one
// and leaves its exit status in a file) and returns the DLL's path, or empty on failure.
std::string CompileBack(const std::filesystem::path& script) {
  // Z: is the root of the Unix file system.
  std::string base = script.string().substr(2);
  for (char& c : base)
    if (c == '\\') c = '/';
  std::wstring line =
      Widen("Z:\\bin\\sh -c \"PATH=/usr/bin:/bin; x86_64-w64-mingw32-windres '" + base + "' -O coff -o '" + base +
            ".o' && x86_64-w64-mingw32-gcc -shared -nostdlib -Wl,--entry=0 -s -o '" + base + ".dll' '" + base +
            ".o'; echo $? > '" + base + ".status'\"");
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION child{};
  if (!::CreateProcessW(L"Z:\\bin\\sh", line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &child))
    return {};
  if (child.hProcess) ::CloseHandle(child.hProcess);
  if (child.hThread) ::CloseHandle(child.hThread);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  std::string code;
  while (code.empty() && std::chrono::steady_clock::now() < deadline) {
    std::ifstream in(script.string() + ".status");
    if (!(in >> code)) ::Sleep(100);
  }
  return code == "0" ? script.string() + ".dll" : std::string();
}

using test::ReadFileText;

class ResourceBrowserTest : public RunningAppTest, public ::testing::WithParamInterface<std::string> {};

// Through the frame's command: the tree of types in the order of their
// first resources, the bytes of a named resource, the strings of the whole
// module and of one block, and no page for the root.
TEST_P(ResourceBrowserTest, TheCommandShowsTheTreeAndEachPageForItsSelection) {
  const std::string path = Fixture(GetParam(), "resources.dll");
  std::string root, hexFirstLine, hexTotal, allCount, blockCount, block1Row2;
  std::vector<std::string> types;
  int allRows = -1, blockRows = -1;
  bool hexShown = false, stringShownForHex = true, stringShown = false, hexShownForStrings = true, listForRoot = false;
  int rootRows = 0;
  HWND hexPage = nullptr, stringPage = nullptr, listPage = nullptr, browserWindow = nullptr;
  bool answered = false, openAfterEnter = false, rootCollapsedByEnter = false;
  Steps steps({
      [&] { return answered = AnswerFileDialog(Widen(path)); },
      [&] {
        HWND dialog = FindEnabled(L"Recursos de un módulo");
        if (!dialog) return false;
        auto* browser = static_cast<CModuleResourcesDlg*>(fw::CWnd::FromHandle(dialog));
        hexPage = browser->PageWindow(ResourcePage::Hex);
        stringPage = browser->PageWindow(ResourcePage::String);
        listPage = browser->PageWindow(ResourcePage::List);
        HWND tree = ::GetDlgItem(dialog, IDC_ITEM_TREE);
        HTREEITEM rootItem = NextItem(tree, nullptr, TVGN_ROOT);
        root = TreeText(tree, rootItem);
        types = Children(tree, rootItem);

        SelectTreeItem(tree, Child(tree, Child(tree, rootItem, "PNG"), "LOGO"));
        hexShown = Visible(hexPage);
        stringShownForHex = Visible(stringPage);
        const std::string dump = WindowText(::GetDlgItem(hexPage, IDC_HEX_DUMP));
        hexFirstLine = dump.substr(0, dump.find("\r\n"));
        hexTotal = WindowText(::GetDlgItem(hexPage, IDC_RESOURCE_TOTAL));

        HTREEITEM strings = Child(tree, rootItem, "String table");
        SelectTreeItem(tree, strings);
        stringShown = Visible(stringPage);
        hexShownForStrings = Visible(hexPage);
        HWND list = ::GetDlgItem(stringPage, IDC_ITEM_LIST);
        allRows = RowCount(list);
        allCount = WindowText(::GetDlgItem(stringPage, IDC_STRING_COUNT));
        SelectTreeItem(tree, Child(tree, strings, "1"));
        blockRows = RowCount(list);
        block1Row2 = CellText(list, 1, 0) + "|" + CellText(list, 2, 1);
        blockCount = WindowText(::GetDlgItem(stringPage, IDC_STRING_COUNT));

        SelectTreeItem(tree, rootItem);
        listForRoot = Visible(listPage) && !Visible(hexPage) && !Visible(stringPage);
        rootRows = RowCount(::GetDlgItem(listPage, IDC_ITEM_LIST));
        // Enter in the tree, as the keyboard sends it through the dialog.
        browserWindow = dialog;
        ::SetFocus(tree);
        ::PostMessageW(tree, WM_KEYDOWN, VK_RETURN, 0);
        return true;
      },
      [&] {
        openAfterEnter = ::IsWindow(browserWindow) && ::IsWindowVisible(browserWindow);
        if (!openAfterEnter) return true;
        HWND tree = ::GetDlgItem(browserWindow, IDC_ITEM_TREE);
        rootCollapsedByEnter =
            !(::SendMessageW(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(NextItem(tree, nullptr, TVGN_ROOT)),
                             TVIS_EXPANDED) &
              TVIS_EXPANDED);
        ModalDriver::Press(browserWindow, IDCANCEL);
        return true;
      },
  });
  EXPECT_TRUE(app.m_frame->ExecuteCommand(ID_MODULE_RESOURCES));
  ASSERT_TRUE(answered);
  ASSERT_TRUE(steps.AllDone());
  EXPECT_EQ(root, "resources.dll");
  EXPECT_EQ(types, (std::vector<std::string>{"AVI", "PNG", "Menu", "String table", "Datos binarios"}));
  EXPECT_TRUE(hexShown);
  EXPECT_FALSE(stringShownForHex);
  // The PNG signature's eight bytes, then their characters (0x0D and 0x0A
  // as the character 0x01).
  EXPECT_EQ(hexFirstLine,
            "89 50 4E 47 0D 0A 1A 0A " + std::string(24, ' ') + "\xC2\x89PNG\x01\x01\x1A\x01" + std::string(8, ' '));
  EXPECT_EQ(hexTotal, "Tamaño: 8 bytes (~1 Kb)");
  EXPECT_TRUE(stringShown);
  EXPECT_FALSE(hexShownForStrings);
  EXPECT_EQ(allRows, 5);
  EXPECT_EQ(allCount.rfind("Número de strings: 5 - Tamaño: ", 0), 0u) << allCount;
  EXPECT_EQ(blockRows, 3);
  EXPECT_EQ(block1Row2, "5|Línea uno\\nLínea dos\ttab\rfin");
  EXPECT_EQ(blockCount, "Número de strings: 3");
  // The root shows the module's statistics alone.
  EXPECT_TRUE(listForRoot);
  EXPECT_GT(rootRows, 0);
  // Enter in the tree opens or closes the selected item; it never closes
  // the browser.
  EXPECT_TRUE(openAfterEnter);
  EXPECT_TRUE(rootCollapsedByEnter);
}

// Both exports of the whole module, read back after windres compiled the
// script; then an export onto a read-only file is refused with the message
// and the file keeps what it held.
TEST_P(ResourceBrowserTest, StringExportsAreWrittenCompileBackAndAFailedOneKeepsTheOldFile) {
  namespace fs = std::filesystem;
  const fs::path dir = fs::path("Z:\\tmp") / ("qm-resdlg-" + std::to_string(::GetCurrentProcessId()));
  fs::create_directories(dir);
  const fs::path script = dir / ("Strings-" + GetParam() + ".rc");
  const fs::path text = dir / ("Strings-" + GetParam() + ".txt");
  // The refused file: read-only, which Windows will not replace; and named
  // so long in UTF-8 (242 bytes of "ñ") that the file written beside it
  // before it is replaced cannot be made, which refuses it under Wine too,
  // where a read-only file is replaced.
  std::wstring longName(121, L'\u00f1');
  const fs::path locked = dir / (longName + Widen("-" + GetParam() + ".rc"));
  fs::remove(script);
  fs::remove(text);
  ::SetFileAttributesW(locked.wstring().c_str(), FILE_ATTRIBUTE_NORMAL);
  std::ofstream(locked) << "previous";
  ASSERT_TRUE(::SetFileAttributesW(locked.wstring().c_str(), FILE_ATTRIBUTE_READONLY));

  const std::string path = Fixture(GetParam(), "resources.dll");
  HWND page = nullptr;
  std::string failure;
  auto post = [&](UINT command) {
    HWND dialog = FindEnabled(L"Recursos de un módulo");
    if (!dialog) return false;
    ::PostMessageW(page, WM_COMMAND, command, 0);
    return true;
  };
  // The overwrite question of the save dialog, for the file that exists.
  auto confirmOverwrite = [] {
    HWND question = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), &FindQuestion, reinterpret_cast<LPARAM>(&question));
    if (question) ::PostMessageW(question, WM_COMMAND, IDYES, 0);
    return question != nullptr;
  };
  Steps steps({
      [&] {
        HWND dialog = FindEnabled(L"Recursos de un módulo");
        if (!dialog) return false;
        page = static_cast<CModuleResourcesDlg*>(fw::CWnd::FromHandle(dialog))->PageWindow(ResourcePage::String);
        HWND tree = ::GetDlgItem(dialog, IDC_ITEM_TREE);
        SelectTreeItem(tree, Child(tree, NextItem(tree, nullptr, TVGN_ROOT), "String table"));
        return true;
      },
      [&] { return post(IDC_SAVE_AS_RESOURCE); },
      [&] { return AnswerFileDialog(script.wstring()); },
      [&] { return post(IDC_SAVE_AS_TEXT); },
      [&] { return AnswerFileDialog(text.wstring()); },
      [&] { return post(IDC_SAVE_AS_RESOURCE); },
      [&] { return AnswerFileDialog(locked.wstring()); },
      confirmOverwrite,
      [&] {
        HWND box = FindEnabled(L"Quillmar");
        if (!box) return false;
        failure = WindowText(::GetDlgItem(box, 0xFFFF));
        ModalDriver::Press(box, IDOK);
        return true;
      },
      [&] {
        HWND dialog = FindEnabled(L"Recursos de un módulo");
        if (!dialog) return false;
        ModalDriver::Press(dialog, IDCANCEL);
        return true;
      },
  });
  CModuleResourcesDlg dialog(SystemPlatform(), nullptr, path);
  dialog.DoModal(app.m_frame->m_hWnd);
  EXPECT_EQ(steps.Done(), 10u);
  EXPECT_EQ(failure, "Se ha producido un error grabando la tabla de strings en un archivo");
  ::SetFileAttributesW(locked.wstring().c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(ReadFileText(locked), "previous");

  // The plain text: every string, one per line, in CR LF.
  const std::string lines = ReadFileText(text);
  EXPECT_EQ(lines.substr(0, 9), "Primero\r\n");
  EXPECT_NE(lines.find("Línea uno\\nLínea dos\\ttab\\rfin\r\n"), std::string::npos);

  // The script compiles back into the same strings.
  const std::string dll = CompileBack(script);
  ASSERT_FALSE(dll.empty()) << ReadFileText(script);
  CResourceModule original(*SystemPlatform().files), copy(*SystemPlatform().files);
  ASSERT_TRUE(original.Enumerate(path));
  ASSERT_TRUE(copy.Enumerate(dll));
  std::vector<std::string> before, after;
  for (const auto& row : ListStrings(original, std::nullopt, *SystemPlatform().strings).rows)
    before.push_back(row.idText + "=" + row.text);
  for (const auto& row : ListStrings(copy, std::nullopt, *SystemPlatform().strings).rows)
    after.push_back(row.idText + "=" + row.text);
  EXPECT_EQ(after, before);
  copy.Close();
  std::error_code ignored;
  fs::remove_all(dir, ignored);
}

// The two ways out of the browser, wired: the icon page's button writes the
// selected group as the file the writer makes, and "Extraer todos los
// recursos..." writes the whole set into the chosen folder, then asks
// before it would replace it (answered No: nothing changes).
class ResourceExtractTest : public RunningAppTest {};

TEST_F(ResourceExtractTest, TheIconButtonAndExtractAllWriteTheirFiles) {
  namespace fs = std::filesystem;
  const fs::path dir = fs::path("Z:\\tmp") / ("qm-extract-" + std::to_string(::GetCurrentProcessId()));
  std::error_code ignored;
  fs::remove_all(dir, ignored);
  fs::create_directories(dir);
  const std::string path = Fixture("x86_64", "images.dll");
  SimMessageBox messages;
  messages.answers = {IDYES, IDNO};
  Platform platform = SystemPlatform();
  platform.messageBox = &messages;
  CModuleResourcesDlg dialog(platform, nullptr, path);
  std::string chooserTitle;
  dialog.SetFolderChooser([&](HWND, const std::string& title) {
    chooserTitle = title;
    return std::optional<std::string>(Narrow(dir.wstring()));
  });
  const fs::path icon = dir / "group.ico";
  HWND iconPage = nullptr;
  std::string buttonText;
  Steps steps({
      [&] {
        HWND window = FindEnabled(L"Recursos de un módulo");
        if (!window) return false;
        iconPage = dialog.PageWindow(ResourcePage::IconGroup);
        HWND tree = ::GetDlgItem(window, IDC_ITEM_TREE);
        SelectTreeItem(tree, Child(tree, Child(tree, NextItem(tree, nullptr, TVGN_ROOT), "Group icon"), "1"));
        buttonText = WindowText(::GetDlgItem(iconPage, IDC_SAVE_ICON_FILE));
        ::PostMessageW(iconPage, WM_COMMAND, IDC_SAVE_ICON_FILE, 0);
        return true;
      },
      [&] { return AnswerFileDialog(icon.wstring()); },
      [&] {
        if (!FindEnabled(L"Recursos de un módulo")) return false;
        dialog.PostMessage(WM_COMMAND, IDC_EXTRACT_ALL, 0);
        return true;
      },
      [&] {
        if (messages.shown.size() != 1 || !FindEnabled(L"Recursos de un módulo")) return false;
        dialog.PostMessage(WM_COMMAND, IDC_EXTRACT_ALL, 0);
        return true;
      },
      [&] {
        if (messages.shown.size() != 2 || !FindEnabled(L"Recursos de un módulo")) return false;
        dialog.PostMessage(WM_COMMAND, IDCANCEL, 0);
        return true;
      },
  });
  dialog.DoModal(app.m_frame->m_hWnd);
  ASSERT_EQ(steps.Done(), 5u);
  EXPECT_EQ(buttonText, "Guardar como .ico...");
  CResourceModule module(*SystemPlatform().files);
  ASSERT_TRUE(module.Enumerate(path));
  const auto expected =
      MakeIconFileFromGroup(*module.image(), module.directory(), IconGroupKind::Icon, ResourceName::Number(1));
  ASSERT_TRUE(expected);
  EXPECT_EQ(test::ReadFileBytes(icon), *expected);

  EXPECT_EQ(chooserTitle, "Carpeta donde extraer todos los recursos de images.dll");
  ASSERT_EQ(messages.shown.size(), 2u);
  EXPECT_EQ(messages.shown[0].text.rfind("Recursos extraídos en ", 0), 0u) << messages.shown[0].text;
  EXPECT_NE(messages.shown[1].text.find("¿Desea reemplazarlos?"), std::string::npos) << messages.shown[1].text;
  const fs::path script = dir / "images.dll" / "images.rc";
  ASSERT_TRUE(fs::exists(script));
  EXPECT_NE(ReadFileText(script).find("ICON"), std::string::npos);
  size_t files = 0;
  for (const auto& entry : fs::directory_iterator(dir / "images.dll" / "res")) files += entry.is_regular_file();
  EXPECT_GT(files, 0u);
  module.Close();
  fs::remove_all(dir, ignored);
}

// A file that is not a module and a file that is not there: the system's
// text for each with the path in it, and the browser never shows.
class ResourceBrowserFailureTest : public RunningAppTest {};

TEST_F(ResourceBrowserFailureTest, AFileThatIsNotAModuleOrIsMissingIsReported) {
  const std::string notModule = WindowsPath(std::string(QM_SOURCE_DIR) + "/tests/fixtures/resources_fixture.rc");
  const std::string missing = Fixture("x86_64", "no_such_module.dll");
  for (const std::string& path : {notModule, missing}) {
    std::string message;
    bool browserShown = false;
    ModalDriver driver;
    driver.On(L"Quillmar", [&](HWND box) {
      message = WindowText(::GetDlgItem(box, 0xFFFF));
      browserShown = Visible(::FindWindowW(nullptr, L"Recursos de un módulo"));
      ModalDriver::Press(box, IDOK);
    });
    CModuleResourcesDlg dialog(SystemPlatform(), nullptr, path);
    EXPECT_EQ(dialog.DoModal(app.m_frame->m_hWnd), IDCANCEL);
    ASSERT_TRUE(driver.AllDone()) << path;
    EXPECT_FALSE(browserShown);
    EXPECT_EQ(message.rfind(path == missing ? "(#2) " : "(#193) ", 0), 0u) << message;
    EXPECT_EQ(message.find("%1"), std::string::npos) << message;
  }
}

INSTANTIATE_TEST_SUITE_P(BothCompilers, ResourceBrowserTest, ::testing::Values("x86_64", "i686"));

}  // namespace
}  // namespace qm
