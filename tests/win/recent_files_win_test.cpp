// The recent-file list in the real registry of the test prefix, and files
// reaching the application by drag and drop or on the command line. Each
// test process keeps its settings under its own application name, so runs
// never see each other's lists or the program's own.
#include <gtest/gtest.h>

#include <cwctype>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/ui/quillmar_app.h"
#include "platform/error_text.h"
#include "framework/registry.h"
#include "platform/sim/sim_system.h"
#include "platform/win32/win.h"
#include "platform/win32/win32_system.h"
#include "tests/win/app_fixture.h"

// DROPFILES; after win.h, which brings in <windows.h> the way this program
// needs it.
#include <shlobj.h>

namespace qm {
namespace {

namespace fs = std::filesystem;
using Paths = std::vector<std::wstring>;

using fw::UniqueRegKey;

// A WM_DROPFILES block as the shell builds it: the header, then the wide
// paths, each ending in NUL, and one more NUL.
HGLOBAL MakeDrop(const Paths& files) {
  size_t chars = 2;  // the list ends with an empty name, even when it is empty
  for (const auto& file : files) chars += file.size() + 1;
  HGLOBAL memory = ::GlobalAlloc(GHND, sizeof(DROPFILES) + chars * sizeof(wchar_t));
  if (!memory) return nullptr;
  auto* header = static_cast<DROPFILES*>(::GlobalLock(memory));
  header->pFiles = sizeof(DROPFILES);
  header->fWide = TRUE;
  auto* out = reinterpret_cast<wchar_t*>(reinterpret_cast<BYTE*>(header) + sizeof(DROPFILES));
  for (const auto& file : files) {
    file.copy(out, file.size());
    out += file.size() + 1;
  }
  ::GlobalUnlock(memory);
  return memory;
}

class RecentFilesTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { resources_ = LoadProgramResources(); }

  void SetUp() override {
    ASSERT_NE(resources_, nullptr) << "quillmar.exe is built before the win tests";
    platform_.messageBox = &box_;
    ::RegDeleteTreeW(HKEY_CURRENT_USER, TestAppKey().c_str());
    dir_ = fs::temp_directory_path() / ("qm-recent-" + std::to_string(::GetCurrentProcessId()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }

  void TearDown() override {
    apps_.clear();
    ::RegDeleteTreeW(HKEY_CURRENT_USER, TestAppKey().c_str());
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
  }

  static std::wstring ListKey() { return TestAppKey() + L"\\Recent File List"; }

  // A started application with the given command line (none by default).
  CQuillmarApp& Start(const std::wstring& commandLine = L"quillmar.exe") {
    auto app = std::make_unique<CQuillmarApp>(platform_);
    app->m_appName = TestAppName();
    app->m_commandLine = commandLine;
    EXPECT_TRUE(app->InitInstance());
    if (app->m_frame) app->m_frame->SetQuitOnDestroy(false);
    apps_.push_back(std::move(app));
    return *apps_.back();
  }

  // An existing file in the test's folder, by its full path.
  std::wstring MakeFile(const std::string& name) {
    const fs::path path = dir_ / name;
    std::ofstream(path) << "";
    return path.wstring();
  }
  std::wstring Missing(const std::string& name) const { return (dir_ / name).wstring(); }

  std::optional<std::wstring> Stored(const wchar_t* valueName) const {
    HKEY opened = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, ListKey().c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS)
      return std::nullopt;
    const UniqueRegKey key(opened);
    wchar_t buffer[1024] = {};
    DWORD type = 0;
    DWORD bytes = sizeof buffer - sizeof(wchar_t);
    if (::RegQueryValueExW(key.get(), valueName, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &bytes) !=
            ERROR_SUCCESS ||
        type != REG_SZ)
      return std::nullopt;
    return std::wstring(buffer);
  }

  void StoreRaw(const wchar_t* valueName, DWORD type, const void* data, size_t bytes) const {
    HKEY created = nullptr;
    ASSERT_EQ(
        ::RegCreateKeyExW(HKEY_CURRENT_USER, ListKey().c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &created, nullptr),
        ERROR_SUCCESS);
    const UniqueRegKey key(created);
    ASSERT_EQ(
        ::RegSetValueExW(key.get(), valueName, 0, type, static_cast<const BYTE*>(data), static_cast<DWORD>(bytes)),
        ERROR_SUCCESS);
  }

  void Drop(CQuillmarApp& app, const Paths& files) {
    // The frame owns the block from here: it ends every drop with DragFinish.
    HGLOBAL drop = MakeDrop(files);
    ASSERT_NE(drop, nullptr);
    ::SendMessageW(app.m_frame->m_hWnd, WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
  }

  static std::wstring Title(const CQuillmarApp& app) {
    wchar_t text[256] = {};
    ::GetWindowTextW(app.m_frame->m_hWnd, text, 256);
    return text;
  }

  static inline HMODULE resources_ = nullptr;
  SimMessageBox box_;
  Platform platform_ = SystemPlatform();
  fs::path dir_;
  std::vector<std::unique_ptr<CQuillmarApp>> apps_;
};

TEST_F(RecentFilesTest, OpenedFilesAreStoredNewestFirstAndReadBackByTheNextStart) {
  CQuillmarApp& first = Start();
  EXPECT_TRUE(first.RecentFiles().empty());
  const std::wstring a = MakeFile("a.qmr"), b = MakeFile("b.qmr"), c = MakeFile("c.qmr");
  for (const auto& path : {a, b, c}) EXPECT_TRUE(first.OpenDocumentFile(path));
  EXPECT_EQ(first.RecentFiles(), (Paths{c, b, a}));
  EXPECT_EQ(Stored(L"File1"), c);
  EXPECT_EQ(Stored(L"File3"), a);
  EXPECT_EQ(Stored(L"File4"), std::nullopt);

  CQuillmarApp& second = Start();
  EXPECT_EQ(second.RecentFiles(), (Paths{c, b, a}));
  EXPECT_TRUE(box_.shown.empty());
}

TEST_F(RecentFilesTest, AFifthFileDropsTheOldestAndAnotherSpellingMovesAFileFirst) {
  CQuillmarApp& app = Start();
  Paths files;
  for (const char* name : {"a.qmr", "b.qmr", "c.qmr", "d.qmr", "e.qmr"}) files.push_back(MakeFile(name));
  for (const auto& path : files) ASSERT_TRUE(app.OpenDocumentFile(path));
  EXPECT_EQ(app.RecentFiles(), (Paths{files[4], files[3], files[2], files[1]}));
  EXPECT_EQ(Stored(L"File4"), files[1]);
  EXPECT_EQ(Stored(L"File5"), std::nullopt);

  std::wstring shouted = files[2];
  for (auto& ch : shouted) ch = static_cast<wchar_t>(::towupper(ch));
  ASSERT_TRUE(app.OpenDocumentFile(shouted)) << "file names do not depend on case";
  // The system may give some of the names back in their stored case.
  const Paths listed = app.RecentFiles();
  ASSERT_EQ(listed.size(), 4u);
  EXPECT_TRUE(IsSameFilePath(Narrow(listed[0]), Narrow(files[2])));
  EXPECT_EQ(Paths(listed.begin() + 1, listed.end()), (Paths{files[4], files[3], files[1]}));
  EXPECT_EQ(Start().RecentFiles(), app.RecentFiles());
}

TEST_F(RecentFilesTest, BrokenStoredValuesAreSkippedAndRewrittenOnTheNextAdd) {
  const std::wstring unterminated = L"C:\\Uno.qmr";
  StoreRaw(L"File1", REG_SZ, unterminated.data(), unterminated.size() * sizeof(wchar_t));
  const wchar_t withTail[] = L"c:/UNO.qmr\0tail";  // the same file, then bytes after the NUL
  StoreRaw(L"File2", REG_SZ, withTail, sizeof withTail);
  const DWORD number = 7;
  StoreRaw(L"File3", REG_DWORD, &number, sizeof number);
  const std::wstring huge(40000, L'x');
  StoreRaw(L"File4", REG_SZ, huge.c_str(), (huge.size() + 1) * sizeof(wchar_t));
  const std::wstring beyond = L"C:\\Cinco.qmr";
  StoreRaw(L"File5", REG_SZ, beyond.c_str(), (beyond.size() + 1) * sizeof(wchar_t));

  CQuillmarApp& app = Start();
  EXPECT_EQ(app.RecentFiles(), (Paths{L"C:\\Uno.qmr"})) << "only File1..File4 belong to the list";

  const std::wstring added = MakeFile("nuevo.qmr");
  ASSERT_TRUE(app.OpenDocumentFile(added));
  EXPECT_EQ(Stored(L"File1"), added);
  EXPECT_EQ(Stored(L"File2"), L"C:\\Uno.qmr");
  EXPECT_EQ(Stored(L"File3"), std::nullopt);
  EXPECT_EQ(Stored(L"File4"), std::nullopt) << "the oversized value is gone";
  EXPECT_EQ(Start().RecentFiles(), (Paths{added, L"C:\\Uno.qmr"}));
}

TEST_F(RecentFilesTest, DroppedFilesAreListedInTurnAndAMissingOneIsReportedByName) {
  CQuillmarApp& app = Start();
  const std::wstring titleBefore = Title(app);
  const std::wstring first = MakeFile("primero.qmr"), second = MakeFile("segundo.qmr");
  const std::wstring missing = Missing("no-existe.qmr");
  Drop(app, {first, missing, second});
  EXPECT_EQ(app.RecentFiles(), (Paths{second, first})) << "each file in turn, the last dropped first";
  ASSERT_EQ(box_.shown.size(), 1u);
  EXPECT_EQ(box_.shown[0].text, Narrow(missing) + "\n" + CErrorText(*platform_.errors, ERROR_FILE_NOT_FOUND).GetText());
  EXPECT_EQ(box_.shown[0].flags, uint32_t{MB_ICONEXCLAMATION_});

  Drop(app, {});
  EXPECT_EQ(box_.shown.size(), 1u) << "an empty drop opens nothing";
  EXPECT_EQ(Title(app), titleBefore);
  EXPECT_EQ(app.m_frame->Captured(), WindowHandle{0});
}

TEST_F(RecentFilesTest, OtherSpellingsOfOneFileAreListedOnce) {
  CQuillmarApp& app = Start();
  // Letters beyond ASCII fold too, as the system compares file names.
  app.AddToRecentFileList((dir_ / L"Año Ñu.qmr").wstring());
  app.AddToRecentFileList((dir_ / L"AÑO ñU.QMR").wstring());
  ASSERT_EQ(app.RecentFiles().size(), 1u);
  EXPECT_EQ(app.RecentFiles()[0], (dir_ / L"AÑO ñU.QMR").wstring());

  // 8.3 names are the same file as their long spelling, whether the file
  // was opened, dropped or saved.
  const std::wstring longName = MakeFile("un nombre bastante largo.qmr");
  wchar_t shortName[MAX_PATH] = {};
  ASSERT_GT(::GetShortPathNameW(longName.c_str(), shortName, MAX_PATH), 0u);
  ASSERT_NE(std::wstring(shortName), longName) << "the file system gives no short names";
  Drop(app, {shortName});
  app.AddToRecentFileList(shortName);
  Drop(app, {longName});
  ASSERT_EQ(app.RecentFiles().size(), 2u);
  EXPECT_EQ(app.RecentFiles()[0], longName);
}

TEST_F(RecentFilesTest, TheCommandLinesFirstNonSwitchArgumentIsOpenedAsAFullPath) {
  const std::wstring named = MakeFile("linea.qmr");
  CQuillmarApp& app = Start(L"quillmar.exe --gtest_filter=X /dde \"" + named + L"\" other.qmr");
  EXPECT_EQ(app.RecentFiles(), (Paths{named}));

  const std::wstring relative = MakeFile("relativo.qmr");
  wchar_t previous[MAX_PATH] = {};
  ::GetCurrentDirectoryW(MAX_PATH, previous);
  ::SetCurrentDirectoryW(dir_.wstring().c_str());
  CQuillmarApp& fromHere = Start(L"quillmar.exe relativo.qmr");
  ::SetCurrentDirectoryW(previous);
  EXPECT_TRUE(IsSameFilePath(Narrow(fromHere.RecentFiles().at(0)), Narrow(relative)));

  CQuillmarApp& missing = Start(L"quillmar.exe \"" + Missing("falta.qmr") + L"\"");
  ASSERT_NE(missing.m_frame, nullptr) << "a file that cannot be opened does not stop the start";
  ASSERT_EQ(box_.shown.size(), 1u);
  EXPECT_EQ(box_.shown[0].flags, uint32_t{MB_ICONEXCLAMATION_});

  CQuillmarApp& switchesOnly = Start(L"quillmar.exe -x /y");
  EXPECT_EQ(box_.shown.size(), 1u);
  EXPECT_EQ(switchesOnly.RecentFiles().size(), 2u) << "the list read back, nothing added";
}

TEST(RecentFilesSettings, LiveUnderTheCompanyAndApplicationName) {
  CQuillmarApp app(SystemPlatform());
  EXPECT_TRUE(app.SetRegistryKey(L"Karvonel"));
  EXPECT_EQ(app.m_registryKey, L"Software\\Karvonel\\Quillmar");
}

}  // namespace
}  // namespace qm
