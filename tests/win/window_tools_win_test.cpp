// The window tools' dialogs opened through the frame's commands on windows
// the test made: what the user changes in the dialog, and what ends up on
// the window after the frame's question.
#include <gtest/gtest.h>

#include <string>

#include "platform/win32/win32_system.h"
#include "res/resource_ids.h"
#include "tests/win/app_fixture.h"
#include "tests/win/control_queries.h"
#include "tests/win/modal_driver.h"

namespace qm {
namespace {

// Selects the line of a list box that reads text; false when there is none.
bool SelectLine(HWND dialog, const wchar_t* text) {
  HWND list = ::GetDlgItem(dialog, IDC_STYLE_LIST);
  const LRESULT line =
      ::SendMessageW(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text));
  if (line == LB_ERR) return false;
  ::SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(line), 0);
  return true;
}

class WindowToolsTest : public RunningAppTest {
 protected:
  void TearDown() override {
    if (::IsWindow(target_)) ::DestroyWindow(target_);
    RunningAppTest::TearDown();
  }
  HWND Target(DWORD style) {
    target_ = ::CreateWindowExW(0, L"STATIC", L"Objetivo", style, 120, 130, 300, 200, nullptr, nullptr,
                                ::GetModuleHandleW(nullptr), nullptr);
    app.m_frame->CaptureWindow(H(target_));
    return target_;
  }
  // The property refresh is stopped while a dialog runs: KillTimer finds
  // no timer to kill.
  bool RefreshRuns() const { return ::KillTimer(app.m_frame->m_hWnd, IDT_AUTO_REFRESH) != FALSE; }

  HWND target_ = nullptr;
};

TEST_F(WindowToolsTest, StyleEditorDeletesAndAddsNamesAndTheFrameAppliesOnlyAfterYes) {
  HWND target = Target(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  const auto before = static_cast<DWORD>(::GetWindowLongPtrW(target, GWL_STYLE));
  ASSERT_TRUE(before & WS_MAXIMIZEBOX);
  std::string caption, afterDelete, afterAdd;
  bool refreshDuringDialog = true;
  ModalDriver driver;
  driver
      .On(L"Modificación de estilos",
          [&](HWND dialog) {
            refreshDuringDialog = RefreshRuns();
            caption = ItemText(dialog, IDC_GROUP_BOX);
            ASSERT_TRUE(SelectLine(dialog, L"WS_MAXIMIZEBOX"));
            Command(dialog, IDC_STYLE_DELETE);
            afterDelete = ItemText(dialog, IDC_STYLE_HEX);
            // Posted: the list of names still free runs its own modal loop.
            ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_STYLE_ADD, BN_CLICKED), 0);
          })
      .On(L"Estilos disponibles",
          [&](HWND list) {
            ASSERT_TRUE(SelectLine(list, L"WS_VSCROLL"));
            ::SendMessageW(list, WM_COMMAND, MAKEWPARAM(IDC_STYLE_LIST, LBN_DBLCLK), 0);
          })
      .On(L"Modificación de estilos",
          [&](HWND dialog) {
            afterAdd = ItemText(dialog, IDC_STYLE_HEX);
            ModalDriver::Press(dialog, IDOK);
          })
      .On(L"Quillmar", [&](HWND question) { ModalDriver::Press(question, IDYES); });
  EXPECT_TRUE(app.m_frame->ExecuteCommand(ID_EDIT_STYLES));
  ASSERT_TRUE(driver.AllDone());
  EXPECT_FALSE(refreshDuringDialog);
  EXPECT_TRUE(RefreshRuns()) << "started again after the dialog";
  EXPECT_EQ(caption, "Desglose de estilos de la ventana");
  char expected[16];
  std::snprintf(expected, sizeof expected, "%08x", static_cast<unsigned>(before & ~static_cast<DWORD>(WS_MAXIMIZEBOX)));
  EXPECT_EQ(afterDelete, expected);
  const DWORD edited = (before & ~static_cast<DWORD>(WS_MAXIMIZEBOX)) | WS_VSCROLL;
  std::snprintf(expected, sizeof expected, "%08x", static_cast<unsigned>(edited));
  EXPECT_EQ(afterAdd, expected);
  EXPECT_EQ(static_cast<DWORD>(::GetWindowLongPtrW(target, GWL_STYLE)) & (WS_MAXIMIZEBOX | WS_VSCROLL), WS_VSCROLL);

  // Typed into the edit and accepted with Enter at once, answered No: the
  // window keeps its style.
  const auto now = static_cast<DWORD>(::GetWindowLongPtrW(target, GWL_STYLE));
  ModalDriver typed;
  typed
      .On(L"Modificación de estilos",
          [&](HWND dialog) {
            ::SetDlgItemTextW(dialog, IDC_STYLE_HEX, L"0x 10cf0000");
            ModalDriver::Press(dialog, IDOK);
          })
      .On(L"Quillmar", [&](HWND question) { ModalDriver::Press(question, IDNO); });
  EXPECT_TRUE(app.m_frame->ExecuteCommand(ID_EDIT_STYLES));
  ASSERT_TRUE(typed.AllDone()) << "the typed word was taken and the question asked";
  EXPECT_EQ(static_cast<DWORD>(::GetWindowLongPtrW(target, GWL_STYLE)), now);
}

TEST_F(WindowToolsTest, ClassStylesAreShownWithCambiarDisabled) {
  Target(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  bool accept = true;
  std::string caption;
  ModalDriver driver;
  driver.On(L"Modificación de estilos", [&](HWND dialog) {
    accept = ::IsWindowEnabled(::GetDlgItem(dialog, IDOK)) != FALSE;
    caption = ItemText(dialog, IDC_GROUP_BOX);
    ModalDriver::Press(dialog, IDCANCEL);
  });
  EXPECT_TRUE(app.m_frame->ExecuteCommand(ID_CLASS_STYLES));
  ASSERT_TRUE(driver.AllDone());
  EXPECT_FALSE(accept);
  EXPECT_EQ(caption, "Desglose de estilos de la clase");
}

TEST_F(WindowToolsTest, PropertiesEditorRefusesNonNumbersAndANegativeLeftRestores) {
  HWND target = Target(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  ::ShowWindow(target, SW_MAXIMIZE);
  app.PumpPending();
  std::string title, refusal;
  bool maximisedAtStart = false, maximisedAfterClick = true, minimisedAfterClick = false;
  ModalDriver driver;
  driver
      .On(L"Propiedades de la ventana",
          [&](HWND dialog) {
            title = ItemText(dialog, IDC_PROPS_TITLE);
            maximisedAtStart = ::IsDlgButtonChecked(dialog, IDC_PROPS_MAXIMIZED) == BST_CHECKED;
            ::SendDlgItemMessageW(dialog, IDC_PROPS_MINIMIZED, BM_CLICK, 0, 0);
            maximisedAfterClick = ::IsDlgButtonChecked(dialog, IDC_PROPS_MAXIMIZED) == BST_CHECKED;
            minimisedAfterClick = ::IsDlgButtonChecked(dialog, IDC_PROPS_MINIMIZED) == BST_CHECKED;
            ::SendDlgItemMessageW(dialog, IDC_PROPS_MINIMIZED, BM_CLICK, 0, 0);  // neither, then
            ::SetDlgItemTextW(dialog, IDC_PROPS_TITLE, L"Título nuevo ñ");
            ::SetDlgItemTextW(dialog, IDC_PROPS_LEFT, L"doce");
            ModalDriver::Press(dialog, IDOK);
          })
      .On(L"Quillmar",
          [&](HWND message) {
            wchar_t text[256] = {};
            ::GetDlgItemTextW(message, 0xFFFF, text, 256);
            refusal = Narrow(text);
            ModalDriver::Press(message, IDOK);
          })
      .On(L"Propiedades de la ventana",
          [&](HWND dialog) {
            ::SetDlgItemTextW(dialog, IDC_PROPS_LEFT, L"-20");
            ModalDriver::Press(dialog, IDOK);
          })
      .On(L"Quillmar", [&](HWND question) { ModalDriver::Press(question, IDYES); });
  EXPECT_TRUE(app.m_frame->ExecuteCommand(ID_WINDOW_PROPERTIES));
  ASSERT_TRUE(driver.AllDone()) << driver.Done() << " steps";
  EXPECT_EQ(title, "Objetivo");
  EXPECT_TRUE(maximisedAtStart);
  EXPECT_FALSE(maximisedAfterClick) << "the box clicked last wins";
  EXPECT_TRUE(minimisedAfterClick);
  EXPECT_EQ(refusal, "Introduzca un número entero.");
  wchar_t text[64] = {};
  ::GetWindowTextW(target, text, 64);
  EXPECT_EQ(Narrow(text), "Título nuevo ñ");
  EXPECT_FALSE(::IsZoomed(target)) << "a negative left restores the window";
  RECT rect{};
  ::GetWindowRect(target, &rect);
  EXPECT_NE(rect.left, -20) << "and does not move it";
}

}  // namespace
}  // namespace qm
