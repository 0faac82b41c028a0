// The outline on screen, on the real window system: round the window under
// the pointer while the frame's capture drag runs, gone when the drag ends
// or is cancelled, never in the way of the capture; and the flash of
// "Resaltar ventana".
#include "platform/win32/win.h"

#include <gtest/gtest.h>

#include <vector>

#include "app/enabling.h"
#include "app/ui/window_highlighter.h"
#include "platform/win32/win32_system.h"
#include "res/resource_ids.h"
#include "tests/win/app_fixture.h"
#include "tests/win/control_queries.h"
#include "tests/win/modal_driver.h"
#include "tests/win/pump.h"

namespace qm {
namespace {

class WindowOutlineTest : public RunningAppTest {
 protected:
  void SetUp() override {
    RunningAppTest::SetUp();
    dialog_ = ::CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"Con botón", WS_POPUP | WS_VISIBLE | WS_CAPTION, 300, 300,
                                300, 200, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    button_ = ::CreateWindowExW(0, L"BUTTON", L"Apagado", WS_CHILD | WS_VISIBLE | WS_DISABLED, 20, 20, 100, 40, dialog_,
                                nullptr, ::GetModuleHandleW(nullptr), nullptr);
    ::GetWindowRect(button_, &buttonRect_);
  }
  void TearDown() override {
    if (::IsWindow(dialog_)) ::DestroyWindow(dialog_);
    RunningAppTest::TearDown();
  }

  std::vector<HWND> Pieces() { return app.m_frame->Highlighter().Outline().Windows(); }
  bool Shown() { return app.m_frame->Highlighter().Outline().IsShown(); }
  static RECT RectOf(HWND window) {
    RECT r{};
    ::GetWindowRect(window, &r);
    return r;
  }

  HWND dialog_ = nullptr;
  HWND button_ = nullptr;
  RECT buttonRect_{};
};

TEST_F(WindowOutlineTest, ADragOutlinesTheDisabledButtonAndADropOnTheLineCapturesIt) {
  ASSERT_TRUE(::SetCursorPos(buttonRect_.left + 30, buttonRect_.top + 20));
  ASSERT_TRUE(app.m_frame->ExecuteCommand(ID_CAPTURE_WINDOW));
  ASSERT_TRUE(PumpUntil([&] { return Shown(); }, 3000)) << "the poll outlines the window under the pointer";
  ASSERT_TRUE(app.m_frame->IsDragging());

  const std::vector<HWND> pieces = Pieces();
  ASSERT_EQ(pieces.size(), 5u) << "four bars and the label";
  const RECT top = RectOf(pieces[0]);
  EXPECT_EQ(top.left, buttonRect_.left);
  EXPECT_EQ(top.top, buttonRect_.top);
  EXPECT_EQ(top.right, buttonRect_.right);
  EXPECT_EQ(top.bottom - top.top, 3);
  EXPECT_EQ(RectOf(pieces[3]).left, buttonRect_.right - 3);
  EXPECT_EQ(RectOf(pieces[4]).top, buttonRect_.bottom) << "the label hangs under the outline";
  EXPECT_GT(RectOf(pieces[4]).right - RectOf(pieces[4]).left, 100) << "wide enough for handle, class and title";
  for (HWND piece : pieces) {
    const auto exStyle = static_cast<DWORD>(::GetWindowLongPtrW(piece, GWL_EXSTYLE));
    const DWORD wanted = WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE | WS_EX_TOPMOST;
    EXPECT_EQ(exStyle & wanted, wanted);
    EXPECT_TRUE(::IsWindowVisible(piece));
    EXPECT_NE(::GetForegroundWindow(), piece) << "never activated";
  }

  // On the outline's line the pointer reaches the window below it.
  const POINT onLine{buttonRect_.left + 30, buttonRect_.top + 1};
  ASSERT_TRUE(::SetCursorPos(onLine.x, onLine.y));
  PumpUntil([] { return false; }, 100);
  ASSERT_TRUE(Shown());
  const HWND under = ::WindowFromPoint(onLine);
  for (HWND piece : Pieces()) EXPECT_NE(under, piece) << "the outline lets the pointer through";
  EXPECT_EQ(CaptureCommands(SystemPlatform()).FindCaptureTarget({onLine.x, onLine.y}), H(button_));

  app.m_frame->FinishDrag();
  EXPECT_EQ(app.m_frame->Captured(), H(button_));
  EXPECT_FALSE(Shown());
  for (HWND piece : pieces) EXPECT_FALSE(::IsWindow(piece)) << "the outline's windows are destroyed";
}

TEST_F(WindowOutlineTest, TheOutlineFollowsThePointerAndGoesWithEscapeOrAVanishedTarget) {
  const WindowHandle before = app.m_frame->Captured();
  ASSERT_TRUE(::SetCursorPos(buttonRect_.left + 30, buttonRect_.top + 20));
  ASSERT_TRUE(app.m_frame->ExecuteCommand(ID_CAPTURE_WINDOW));
  ASSERT_TRUE(PumpUntil([&] { return Shown(); }, 3000));

  // Off the button, on the dialog: the outline moves to the dialog.
  const RECT dialogRect = RectOf(dialog_);
  ASSERT_TRUE(::SetCursorPos(buttonRect_.right + 60, buttonRect_.bottom + 40));
  EXPECT_TRUE(PumpUntil([&] { return Shown() && RectOf(Pieces()[0]).right == dialogRect.right; }, 2000));

  // The window closes under the pointer: its outline goes with it.
  const std::vector<HWND> pieces = Pieces();
  ::DestroyWindow(dialog_);
  EXPECT_TRUE(PumpUntil(
      [&] { return !Shown() || RectOf(Pieces()[0]).right != dialogRect.right || !::IsWindow(pieces[0]); }, 2000));

  // Escape cancels: nothing captured, nothing left on screen.
  INPUT keys[2]{};
  keys[0].type = keys[1].type = INPUT_KEYBOARD;
  keys[0].ki.wVk = keys[1].ki.wVk = VK_ESCAPE;
  keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
  ASSERT_EQ(::SendInput(1, &keys[0], sizeof(INPUT)), 1u);
  const bool ended = PumpUntil([&] { return !app.m_frame->IsDragging(); }, 3000);
  ::SendInput(1, &keys[1], sizeof(INPUT));
  ASSERT_TRUE(ended);
  EXPECT_EQ(app.m_frame->Captured(), before);
  EXPECT_FALSE(Shown());
  EXPECT_TRUE(Pieces().empty());
}

TEST_F(WindowOutlineTest, HighlightWindowFlashesTheCapturedWindowThenRemovesTheOutline) {
  app.m_frame->CaptureWindow(H(dialog_));
  ASSERT_TRUE(app.m_frame->ExecuteCommand(ID_HIGHLIGHT_WINDOW));
  ASSERT_TRUE(Shown());
  EXPECT_EQ(RectOf(Pieces()[0]).left, RectOf(dialog_).left);
  EXPECT_TRUE(app.m_frame->Highlighter().IsFlashing());
  EXPECT_TRUE(PumpUntil([&] { return !app.m_frame->Highlighter().IsFlashing(); }, 3000)) << "the timer ends it";
  EXPECT_FALSE(Shown());

  // Phase by phase, the frame's timer ticks sent by hand: hidden, shown,
  // hidden, shown, hidden, and then over.
  ASSERT_TRUE(app.m_frame->ExecuteCommand(ID_HIGHLIGHT_WINDOW));
  for (int tick = 1; tick <= 5; ++tick) {
    app.m_frame->SendMessage(WM_TIMER, IDT_OUTLINE_FLASH);
    EXPECT_EQ(Shown(), tick % 2 == 0) << tick;
  }
  EXPECT_TRUE(app.m_frame->Highlighter().IsFlashing());
  app.m_frame->SendMessage(WM_TIMER, IDT_OUTLINE_FLASH);
  EXPECT_FALSE(app.m_frame->Highlighter().IsFlashing());
  EXPECT_FALSE(Shown());

  // A window that has gone shows nothing.
  ::DestroyWindow(dialog_);
  EXPECT_FALSE(app.m_frame->ExecuteCommand(ID_HIGHLIGHT_WINDOW)) << "disabled without a live capture";
  app.m_frame->Highlighter().Flash(H(button_));
  EXPECT_FALSE(Shown());
}

// The row of the window list that shows window; -1 when none does.
int RowOf(HWND list, HWND window) {
  const int rows = static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  for (int row = 0; row < rows; ++row) {
    LVITEMW item{};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    ::SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    if (item.lParam == reinterpret_cast<LPARAM>(window)) return row;
  }
  return -1;
}

TEST_F(WindowOutlineTest, ARowOrItemTheUserSelectsFlashesItsWindowAndAFillDoesNot) {
  bool flashedByFill = true;
  LONG listFlashLeft = -1;
  ModalDriver driver;
  driver.On(L"Lista de ventanas en el sistema", [&](HWND dialog) {
    HWND list = ::GetDlgItem(dialog, IDC_ITEM_LIST);
    flashedByFill = app.m_frame->Highlighter().IsFlashing();
    const int row = RowOf(list, dialog_);
    if (row >= 0) {
      // Another row first: the target's may be the one the fill selected.
      SelectRow(list, row == 0 ? 1 : 0);
      SelectRow(list, row);
      if (Shown()) listFlashLeft = RectOf(Pieces()[0]).left;
    }
    ModalDriver::Press(dialog, IDCANCEL);
  });
  EXPECT_TRUE(app.m_frame->ExecuteCommand(ID_WINDOW_LIST));
  ASSERT_TRUE(driver.AllDone());
  EXPECT_FALSE(flashedByFill);
  EXPECT_EQ(listFlashLeft, RectOf(dialog_).left);
  app.m_frame->Highlighter().Hide();

  // The tree selects its root when built (no flash); the arrow key moves to
  // the button, which flashes.
  bool flashedByBuild = true;
  LONG treeFlashLeft = -1;
  app.m_frame->CaptureWindow(H(dialog_));
  ModalDriver treeDriver;
  treeDriver.On(L"Árbol de ventanas hijas", [&](HWND dialog) {
    flashedByBuild = app.m_frame->Highlighter().IsFlashing();
    HWND tree = ::GetDlgItem(dialog, IDC_ITEM_TREE);
    ::SetFocus(tree);
    ::SendMessageW(tree, WM_KEYDOWN, VK_DOWN, 0);
    if (Shown()) treeFlashLeft = RectOf(Pieces()[0]).left;
    ModalDriver::Press(dialog, IDCANCEL);
  });
  EXPECT_TRUE(app.m_frame->ExecuteCommand(ID_CHILD_WINDOWS));
  ASSERT_TRUE(treeDriver.AllDone());
  EXPECT_FALSE(flashedByBuild);
  EXPECT_EQ(treeFlashLeft, buttonRect_.left);
}

}  // namespace
}  // namespace qm
