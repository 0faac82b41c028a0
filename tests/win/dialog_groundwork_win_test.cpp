// The pieces every dialog stands on, on real controls: the toolbar over its
// placeholder, the page base with its tooltips and Enter/Escape, the About
// box (through the frame's command) and the class icons.
#include <gtest/gtest.h>

#include <string>

#include "app/ui/about_dlg.h"
#include "common/ui/dialog_toolbar.h"
#include "common/ui/toolbar_dialog.h"
#include "platform/sim/sim_system.h"
#include "platform/win32/win32_system.h"
#include "res/resource_ids.h"
#include "res/version.h"
#include "tests/win/app_fixture.h"
#include "tests/win/modal_driver.h"
#include "tests/win/template_writer.h"
#include "tests/win/test_resource_ids.h"
#include "windows/ui/class_icons_dlg.h"

namespace qm {
namespace {

std::string QuillmarExe() { return std::string(QM_FIXTURE_DIR) + "/../quillmar.exe"; }

constexpr WORD kPageEdit = 200;

// A host with the toolbar placeholder, and a child page with one edit.
std::vector<uint8_t> HostTemplate(bool withPlaceholder) {
  TemplateWriter t(L"Anfitrión", WS_POPUP | WS_CAPTION | WS_VISIBLE);
  if (withPlaceholder) t.Add(IDC_TOOLBAR_PLACEHOLDER, L"Static", L"Barra de botones", SS_LEFT, 5, 5, 200, 14);
  t.Add(IDOK, L"Button", L"Aceptar", BS_DEFPUSHBUTTON | WS_TABSTOP, 180, 175, 50, 14);
  return t.Bytes();
}

class ToolBarHost : public CToolBarDialog {};

class DialogGroundworkTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    LoadProgramResources();
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&controls);
  }
};

TEST_F(DialogGroundworkTest, DialogToolBarTakesThePlaceholdersPlaceOrSaysWhyNot) {
  ToolBarHost bare;
  ASSERT_TRUE(bare.CreateIndirect(HostTemplate(false)));
  CDialogToolBar missing;
  EXPECT_FALSE(missing.CreateInPlace(bare.m_hWnd, IDC_TOOLBAR_PLACEHOLDER, IDR_MAINFRAME));
  EXPECT_FALSE(missing.m_strLastError.empty());
  EXPECT_EQ(missing.m_hWnd, nullptr);

  ToolBarHost host;
  ASSERT_TRUE(host.CreateIndirect(HostTemplate(true)));
  HWND placeholder = ::GetDlgItem(host.m_hWnd, IDC_TOOLBAR_PLACEHOLDER);
  CDialogToolBar bar;
  CDialogToolBar noResource;
  EXPECT_FALSE(noResource.CreateInPlace(host.m_hWnd, IDC_TOOLBAR_PLACEHOLDER, 4321));
  EXPECT_FALSE(noResource.m_strLastError.empty()) << "a missing toolbar resource is named";

  ASSERT_TRUE(bar.CreateInPlace(host.m_hWnd, IDC_TOOLBAR_PLACEHOLDER, IDR_MAINFRAME)) << bar.m_strLastError;
  EXPECT_TRUE(bar.m_strLastError.empty());
  EXPECT_EQ(::GetDlgCtrlID(bar.m_hWnd), IDR_MAINFRAME);
  // The control adds bits of its own (CCS_TOP, TBSTYLE_TRANSPARENT); ours
  // are all there, without CCS_NODIVIDER.
  const auto style = static_cast<DWORD>(::GetWindowLongPtrW(bar.m_hWnd, GWL_STYLE));
  EXPECT_EQ(style & 0x5001090Cu, 0x5001090Cu);
  EXPECT_EQ(style & CCS_NODIVIDER, 0u);
  // The toolbar follows the placeholder in the tab order and covers it.
  EXPECT_EQ(::GetWindow(placeholder, GW_HWNDNEXT), bar.m_hWnd);
  RECT p{}, b{};
  ::GetWindowRect(placeholder, &p);
  ::GetWindowRect(bar.m_hWnd, &b);
  EXPECT_EQ(p.left, b.left);
  EXPECT_EQ(p.top, b.top);
  // 18 entries, 5 of them separators: images 0..12 in order.
  ASSERT_EQ(bar.m_pButtons.size(), 18u);
  EXPECT_EQ(bar.m_pButtons[1].idCommand, ID_WINDOW_LIST);
  EXPECT_EQ(bar.m_pButtons[1].iBitmap, 1);
  EXPECT_EQ(bar.m_pButtons[3].iBitmap, 2) << "a separator takes no image";
  EXPECT_EQ(bar.SendMessage(TB_BUTTONCOUNT), 18);
  // Loading again replaces the buttons instead of adding to them.
  ASSERT_TRUE(bar.LoadButtons(IDR_MAINFRAME));
  EXPECT_EQ(bar.SendMessage(TB_BUTTONCOUNT), 18);
  RECT button{};
  EXPECT_TRUE(bar.GetButtonRect(ID_APP_ABOUT, button));
  EXPECT_FALSE(bar.GetButtonRect(4999, button));

  // A toolbar resource of no items is a toolbar with no buttons, not a
  // failure; a missing one still fails and leaves the buttons as they were.
  const HINSTANCE program = fw::ResourceInstance();
  fw::SetResourceInstance(::GetModuleHandleW(nullptr));
  const bool emptyLoaded = bar.LoadButtons(IDR_TEST_EMPTY_TOOLBAR);
  const std::string emptyError = bar.m_strLastError;
  const auto emptyCount = bar.SendMessage(TB_BUTTONCOUNT);
  CDialogToolBar empty;
  ToolBarHost other;
  ASSERT_TRUE(other.CreateIndirect(HostTemplate(true)));
  const bool emptyCreated = empty.CreateInPlace(other.m_hWnd, IDC_TOOLBAR_PLACEHOLDER, IDR_TEST_EMPTY_TOOLBAR);
  fw::SetResourceInstance(program);
  EXPECT_TRUE(emptyLoaded) << emptyError;
  EXPECT_TRUE(emptyError.empty());
  EXPECT_EQ(emptyCount, 0);
  EXPECT_TRUE(bar.m_pButtons.empty());
  EXPECT_TRUE(emptyCreated) << empty.m_strLastError;
  EXPECT_TRUE(::IsWindow(empty.m_hWnd));
  EXPECT_EQ(empty.SendMessage(TB_BUTTONCOUNT), 0);
  ASSERT_TRUE(bar.LoadButtons(IDR_MAINFRAME));
  EXPECT_FALSE(bar.LoadButtons(4321));
  EXPECT_FALSE(bar.m_strLastError.empty());
  EXPECT_EQ(bar.SendMessage(TB_BUTTONCOUNT), 18);
}

TEST_F(DialogGroundworkTest, PagesAnswerTooltipsAndHandEnterAndEscapeToTheHost) {
  ToolBarHost host;
  ASSERT_TRUE(host.CreateIndirect(HostTemplate(true)));
  TemplateWriter pageTemplate(L"", WS_CHILD | DS_CONTROL);
  pageTemplate.Add(kPageEdit, L"Edit", L"", ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 5, 5, 80, 12);
  // The page template lives in memory here; CreatePage takes a resource, so
  // the placement half of it is checked by hand on an indirect page.
  CToolBarDialog page;
  ASSERT_TRUE(page.CreateIndirect(pageTemplate.Bytes(), host.m_hWnd));

  auto tip = [&](UINT_PTR from, UINT flags) -> std::string {
    NMTTDISPINFOW info{};
    info.hdr.hwndFrom = host.m_hWnd;
    info.hdr.idFrom = from;
    info.hdr.code = TTN_GETDISPINFOW;
    info.uFlags = flags;
    const LRESULT answered = ::SendMessageW(page.m_hWnd, WM_NOTIFY, from, reinterpret_cast<LPARAM>(&info));
    if (!answered) return "<none>";
    return Narrow(info.lpszText ? std::wstring(info.lpszText) : std::wstring(info.szText));
  };
  EXPECT_EQ(tip(ID_CAPTURE_WINDOW, 0), "Capturar ventana") << "the text after the line break";
  EXPECT_EQ(tip(0, 0), "<none>");
  EXPECT_EQ(tip(4999, 0), "<none>") << "an ID without a string is left to others";
  HWND edit = ::GetDlgItem(page.m_hWnd, kPageEdit);
  ::SetWindowLongPtrW(edit, GWLP_ID, ID_WINDOW_LIST);
  EXPECT_EQ(tip(reinterpret_cast<UINT_PTR>(edit), TTF_IDISHWND), "Lista de ventanas");
  // Longer than the 80 characters of szText: supplied whole.
  EXPECT_GT(tip(ID_AUTO_REFRESH, 0).size(), 0u);

  // Enter and Escape in the page reach the host as its own OK and Cancel;
  // the page stays.
  page.SendMessage(WM_COMMAND, IDCANCEL);
  MSG message{};
  ASSERT_TRUE(::PeekMessageW(&message, host.m_hWnd, WM_COMMAND, WM_COMMAND, PM_REMOVE));
  EXPECT_EQ(LOWORD(message.wParam), IDCANCEL);
  page.SendMessage(WM_COMMAND, IDOK);
  ASSERT_TRUE(::PeekMessageW(&message, host.m_hWnd, WM_COMMAND, WM_COMMAND, PM_REMOVE));
  EXPECT_EQ(LOWORD(message.wParam), IDOK);
  EXPECT_TRUE(::IsWindow(page.m_hWnd));
}

// What one run of the class icons dialog showed in its two boxes.
struct IconBoxes {
  HICON large = nullptr, small = nullptr;
  SIZE largeWindow{}, smallClient{};
  bool sunken = false;
};

IconBoxes ReadIconBoxes(HWND dialog) {
  IconBoxes boxes;
  HWND large = ::GetDlgItem(dialog, IDC_LARGE_ICON);
  HWND small = ::GetDlgItem(dialog, IDC_SMALL_ICON);
  boxes.large = reinterpret_cast<HICON>(::SendMessageW(large, STM_GETICON, 0, 0));
  boxes.small = reinterpret_cast<HICON>(::SendMessageW(small, STM_GETICON, 0, 0));
  RECT r{};
  ::GetWindowRect(large, &r);
  boxes.largeWindow = {r.right - r.left, r.bottom - r.top};
  ::GetClientRect(small, &r);
  boxes.smallClient = {r.right, r.bottom};
  // Both boxes are drawn sunken, so an empty one still shows as a box.
  boxes.sunken =
      (::GetWindowLongPtrW(large, GWL_STYLE) & SS_SUNKEN) && (::GetWindowLongPtrW(small, GWL_STYLE) & SS_SUNKEN);
  return boxes;
}

TEST_F(DialogGroundworkTest, ClassIconsShowWhatTheyAreGivenInBoxesLargeEnoughAndEmptyBoxesForNull) {
  HICON large = ::LoadIconW(nullptr, MAKEINTRESOURCEW(32512));  // IDI_APPLICATION
  HICON small =
      static_cast<HICON>(::LoadImageW(nullptr, MAKEINTRESOURCEW(32512), IMAGE_ICON, ::GetSystemMetrics(SM_CXSMICON),
                                      ::GetSystemMetrics(SM_CYSMICON), LR_SHARED));
  ASSERT_NE(small, nullptr);
  IconBoxes shown[3];
  ModalDriver driver;
  for (IconBoxes& boxes : shown) {
    driver.On(L"Iconos de la WNDCLASS", [&boxes](HWND dialog) {
      boxes = ReadIconBoxes(dialog);
      ModalDriver::Press(dialog, IDCANCEL);
    });
  }
  CClassIconsDlg both;
  both.m_hLargeIcon = large;
  both.m_hSmallIcon = small;
  EXPECT_EQ(both.DoModal(), IDCANCEL);
  CClassIconsDlg withLarge;
  withLarge.m_hLargeIcon = large;
  EXPECT_EQ(withLarge.DoModal(), IDCANCEL);
  CClassIconsDlg none;
  EXPECT_EQ(none.DoModal(), IDCANCEL);
  EXPECT_TRUE(driver.AllDone());
  EXPECT_EQ(shown[0].large, large);
  EXPECT_EQ(shown[0].small, small);
  EXPECT_EQ(shown[1].large, large);
  EXPECT_EQ(shown[1].small, nullptr) << "a class without a small icon shows an empty box";
  EXPECT_EQ(shown[2].large, nullptr);
  EXPECT_EQ(shown[2].small, nullptr);
  // Every box, with its icon or empty, has room for what it shows.
  const int cxIcon = ::GetSystemMetrics(SM_CXICON), cyIcon = ::GetSystemMetrics(SM_CYICON);
  const int cxSmall = ::GetSystemMetrics(SM_CXSMICON), cySmall = ::GetSystemMetrics(SM_CYSMICON);
  for (const IconBoxes& boxes : shown) {
    EXPECT_GE(boxes.largeWindow.cx, cxIcon);
    EXPECT_GE(boxes.largeWindow.cy, cyIcon);
    EXPECT_GE(boxes.smallClient.cx, cxSmall);
    EXPECT_GE(boxes.smallClient.cy, cySmall);
    EXPECT_TRUE(boxes.sunken);
  }
}

TEST_F(DialogGroundworkTest, AboutLinkOpensOnlyLowerCaseHttpAndReportsAFailure) {
  SimMessageBox messages;
  Platform platform = SystemPlatform();
  platform.messageBox = &messages;
  CAboutDlg about(platform);
  about.m_openUrl = [](const std::wstring&) -> INT_PTR { return 2; };  // ERROR_FILE_NOT_FOUND
  about.OpenLink("HTTP://quillmar.example/");
  about.OpenLink("quillmar.example");
  EXPECT_TRUE(messages.shown.empty()) << "only a text starting with http:// is opened";
  about.OpenLink("http://quillmar.example/");
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text, "Error accessing URL: http://quillmar.example/");
  EXPECT_EQ(messages.shown[0].flags, MB_ICONERROR_);
}

class AboutFromFrameTest : public RunningAppTest {};

TEST_F(AboutFromFrameTest, TheFramesCommandShowsOurVersionBlockAndABlueLink) {
  app.m_versionPath = QuillmarExe();
  ModalDriver driver;
  std::string group, line1, line2, line3, link;
  COLORREF linkColour = 0, lineColour = 0;
  HICON firstFrame = nullptr;
  driver.On(L"Acerca de Quillmar", [&](HWND dialog) {
    group = ItemText(dialog, IDC_GROUP_BOX);
    line1 = ItemText(dialog, IDC_ABOUT_LINE1);
    line2 = ItemText(dialog, IDC_ABOUT_LINE2);
    line3 = ItemText(dialog, IDC_ABOUT_LINE3);
    link = ItemText(dialog, IDC_ABOUT_LINK);
    // WM_PRINT does not draw statics under Wine: ask the dialog for the
    // colours it would paint them with.
    auto colourOf = [&](int id) {
      HWND control = ::GetDlgItem(dialog, id);
      HDC dc = ::GetDC(control);
      ::SetTextColor(dc, RGB(1, 2, 3));
      ::SendMessageW(dialog, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control));
      const COLORREF colour = ::GetTextColor(dc);
      ::ReleaseDC(control, dc);
      return colour;
    };
    linkColour = colourOf(IDC_ABOUT_LINK);
    lineColour = colourOf(IDC_ABOUT_LINE2);
    // The first animation tick shows the first frame.
    ::SendDlgItemMessageW(dialog, IDC_ABOUT_ICON, WM_TIMER, IDT_ANIMATION, 0);
    firstFrame = reinterpret_cast<HICON>(::SendDlgItemMessageW(dialog, IDC_ABOUT_ICON, STM_GETICON, 0, 0));
    ModalDriver::Press(dialog, IDOK);
  });
  EXPECT_TRUE(app.m_frame->ExecuteCommand(ID_APP_ABOUT));
  ASSERT_TRUE(driver.AllDone());
  EXPECT_EQ(group, "quillmar.exe");
  EXPECT_EQ(line1, std::string("Quillmar  v") + QM_VERSION_TEXT + "  Release");
  EXPECT_EQ(line2, "Quillmar: inspector de ventanas, procesos y módulos");
  EXPECT_EQ(line3, "Copyright (C) 2026 Karvonel Karvonel");
  EXPECT_EQ(link, QM_WEB_ADDRESS);
  EXPECT_EQ(linkColour, RGB(0, 0, 255));
  EXPECT_NE(lineColour, RGB(0, 0, 255));
  EXPECT_NE(firstFrame, nullptr);
}

class ClassIconsFromFrameTest : public RunningAppTest {};

TEST_F(ClassIconsFromFrameTest, TheFramesCommandReadsTheClassIconsWhenItRuns) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = ::DefWindowProcW;
  wc.hInstance = ::GetModuleHandleW(nullptr);
  wc.hIcon = ::LoadIconW(nullptr, MAKEINTRESOURCEW(32516));  // IDI_INFORMATION
  wc.lpszClassName = L"QuillmarIconClass";
  ::RegisterClassExW(&wc);
  HWND window = ::CreateWindowExW(0, wc.lpszClassName, L"Iconos", WS_OVERLAPPEDWINDOW, 10, 10, 100, 100, nullptr,
                                  nullptr, wc.hInstance, nullptr);
  ASSERT_NE(window, nullptr);
  app.m_frame->CaptureWindow(H(window));
  HICON shown = nullptr;
  ModalDriver driver;
  driver.On(L"Iconos de la WNDCLASS", [&](HWND dialog) {
    shown = reinterpret_cast<HICON>(::SendDlgItemMessageW(dialog, IDC_LARGE_ICON, STM_GETICON, 0, 0));
    ModalDriver::Press(dialog, IDCANCEL);
  });
  EXPECT_TRUE(app.m_frame->ExecuteCommand(ID_CLASS_ICONS));
  EXPECT_TRUE(driver.AllDone());
  EXPECT_EQ(shown, reinterpret_cast<HICON>(::GetClassLongPtrW(window, GCLP_HICON)));
  ::DestroyWindow(window);
  // Our own windows' class carries the program's icons, so the command
  // has something to show on them too.
  EXPECT_NE(::GetClassLongPtrW(app.m_frame->m_hWnd, GCLP_HICON), 0u);
  EXPECT_NE(::GetClassLongPtrW(app.m_frame->m_hWnd, GCLP_HICONSM), 0u);
  app.m_frame->CaptureWindow(H(app.m_frame->m_hWnd));
  EXPECT_TRUE(app.m_frame->QueryCommand(ID_CLASS_ICONS).enabled);
}

}  // namespace
}  // namespace qm
