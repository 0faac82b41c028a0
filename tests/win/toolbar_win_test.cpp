// The frame's toolbar on real controls: its dock strip on each side, the
// buttons turned down a side strip, dragging by the gripper (driven by the
// mouse messages the strip receives), commands still reaching the frame
// from the re-parented toolbar, and the status-bar prompt of a button.
#include <gtest/gtest.h>

#include <string>

#include "app/ui/quillmar_app.h"
#include "platform/win32/win.h"
#include "platform/win32/win32_system.h"
#include "res/resource_ids.h"
#include "tests/win/app_fixture.h"

namespace qm {
namespace {

class ToolBarTest : public RunningAppTest {
 protected:
  void SetUp() override {
    RunningAppTest::SetUp();
    if (HasFatalFailure()) return;
    ::MoveWindow(Frame(), 50, 50, 640, 560, TRUE);
  }

  HWND Frame() const { return app.m_frame->m_hWnd; }
  fw::CDockBar& Strip() const { return app.m_frame->m_wndDockBar; }
  fw::CToolBar& ToolBar() const { return app.m_frame->m_wndToolBar; }

  // A window's rectangle in the frame's client coordinates.
  RECT InFrame(HWND window) const {
    RECT r{};
    ::GetWindowRect(window, &r);
    ::MapWindowPoints(HWND_DESKTOP, Frame(), reinterpret_cast<POINT*>(&r), 2);
    return r;
  }
  RECT Client() const {
    RECT r{};
    ::GetClientRect(Frame(), &r);
    return r;
  }
  RECT Button(UINT id) const {
    RECT r{};
    EXPECT_TRUE(ToolBar().GetButtonRect(id, r)) << id;
    ::MapWindowPoints(ToolBar().m_hWnd, Frame(), reinterpret_cast<POINT*>(&r), 2);
    return r;
  }
  static bool Inside(const RECT& inner, const RECT& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
  }

  // Mouse messages as the strip receives them, at points given in the
  // frame's client coordinates.
  void Mouse(UINT message, POINT inFrame) {
    ::MapWindowPoints(Frame(), Strip().m_hWnd, &inFrame, 1);
    Strip().SendMessage(message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(inFrame.x, inFrame.y));
  }
  POINT GripperCentre() const {
    RECT g = Strip().GripperRect();
    ::MapWindowPoints(Strip().m_hWnd, Frame(), reinterpret_cast<POINT*>(&g), 2);
    return POINT{(g.left + g.right) / 2, (g.top + g.bottom) / 2};
  }
  void Drag(POINT to) {
    Mouse(WM_LBUTTONDOWN, GripperCentre());
    Mouse(WM_MOUSEMOVE, POINT{(GripperCentre().x + to.x) / 2, (GripperCentre().y + to.y) / 2});
    Mouse(WM_MOUSEMOVE, to);
    Mouse(WM_LBUTTONUP, to);
  }
};

TEST_F(ToolBarTest, EachSideTakesItsStripAndEveryButtonShowsWhole) {
  const RECT status = InFrame(app.m_frame->m_wndStatusBar.m_hWnd);
  const RECT client = Client();
  for (DockSide side : {DockSide::Top, DockSide::Left, DockSide::Bottom, DockSide::Right, DockSide::Top}) {
    SCOPED_TRACE(static_cast<int>(side));
    app.m_frame->DockToolBar(side);
    EXPECT_EQ(Strip().Side(), side);
    const RECT bar = InFrame(Strip().m_hWnd);
    const RECT view = InFrame(app.m_view->m_hWnd);
    switch (side) {
      case DockSide::Top:
        EXPECT_EQ(bar.top, client.top);
        EXPECT_EQ(view.top, bar.bottom);
        EXPECT_EQ(view.bottom, status.top);
        break;
      case DockSide::Bottom:
        EXPECT_EQ(bar.bottom, status.top) << "above the status bar";
        EXPECT_EQ(view.bottom, bar.top);
        break;
      case DockSide::Left:
        EXPECT_EQ(bar.left, client.left);
        EXPECT_EQ(view.left, bar.right);
        EXPECT_EQ(bar.bottom, status.top);
        break;
      case DockSide::Right:
        EXPECT_EQ(bar.right, client.right);
        EXPECT_EQ(view.right, bar.left);
        EXPECT_EQ(bar.top, client.top);
        break;
    }
    const RECT first = Button(ID_CAPTURE_WINDOW);
    const RECT second = Button(ID_WINDOW_LIST);
    if (IsVerticalSide(side)) {
      EXPECT_GE(second.top, first.bottom) << "one button per line down a side strip";
      EXPECT_EQ(second.left, first.left);
      EXPECT_LT(bar.right - bar.left, bar.bottom - bar.top);
    } else {
      EXPECT_GE(second.left, first.right);
      EXPECT_EQ(second.top, first.top);
    }
    for (UINT id : ToolBar().Commands()) {
      if (id == 0) continue;
      EXPECT_TRUE(Inside(Button(id), bar)) << "button " << id << " cut off";
    }
  }
}

TEST_F(ToolBarTest, DraggingTheGripperDocksWhereTheButtonIsReleased) {
  const RECT client = Client();
  const LONG midX = client.right / 2;
  const LONG midY = client.bottom / 2;
  Drag(POINT{client.right - 3, midY});
  EXPECT_EQ(Strip().Side(), DockSide::Right);
  EXPECT_EQ(InFrame(Strip().m_hWnd).right, client.right);
  Drag(POINT{midX, client.bottom + 200});  // beyond the frame's bottom edge
  EXPECT_EQ(Strip().Side(), DockSide::Bottom);
  Drag(POINT{-300, midY});
  EXPECT_EQ(Strip().Side(), DockSide::Left);
  Drag(POINT{midX, midY});
  EXPECT_EQ(Strip().Side(), DockSide::Left) << "the middle of the frame docks nowhere new";
  Drag(POINT{midX, 2});
  EXPECT_EQ(Strip().Side(), DockSide::Top);
  EXPECT_FALSE(Strip().IsTracking());
  EXPECT_NE(::GetCapture(), Strip().m_hWnd);
}

TEST_F(ToolBarTest, AClickEscapeOrAPressBesideTheGripperLeavesTheToolbarWhereItIs) {
  // The gripper lies in the frame's top-left corner, within the left band.
  const POINT gripper = GripperCentre();
  Mouse(WM_LBUTTONDOWN, gripper);
  EXPECT_TRUE(Strip().IsTracking());
  EXPECT_EQ(::GetCapture(), Strip().m_hWnd);
  Mouse(WM_MOUSEMOVE, POINT{gripper.x + 1, gripper.y});
  Mouse(WM_LBUTTONUP, POINT{gripper.x + 1, gripper.y});
  EXPECT_EQ(Strip().Side(), DockSide::Top);

  const RECT client = Client();
  Mouse(WM_LBUTTONDOWN, gripper);
  Mouse(WM_MOUSEMOVE, POINT{client.right - 2, client.bottom / 2});
  Strip().SendMessage(WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_FALSE(Strip().IsTracking());
  EXPECT_NE(::GetCapture(), Strip().m_hWnd) << "the mouse is given back";
  Mouse(WM_LBUTTONUP, POINT{client.right - 2, client.bottom / 2});
  EXPECT_EQ(Strip().Side(), DockSide::Top);

  // Another window taking the mouse ends the drag the same way.
  Mouse(WM_LBUTTONDOWN, gripper);
  Mouse(WM_MOUSEMOVE, POINT{client.right - 2, client.bottom / 2});
  ::SetCapture(Frame());
  EXPECT_FALSE(Strip().IsTracking());
  ::ReleaseCapture();
  EXPECT_EQ(Strip().Side(), DockSide::Top);

  // A quick second press arrives as a double-click and starts a drag too.
  Mouse(WM_LBUTTONDBLCLK, gripper);
  EXPECT_TRUE(Strip().IsTracking());
  Mouse(WM_LBUTTONUP, gripper);
  EXPECT_FALSE(Strip().IsTracking());

  // The strip's empty end beside the buttons is not the gripper.
  const RECT bar = InFrame(Strip().m_hWnd);
  Mouse(WM_LBUTTONDOWN, POINT{bar.right - 2, (bar.top + bar.bottom) / 2});
  EXPECT_FALSE(Strip().IsTracking());
}

TEST_F(ToolBarTest, HidingTheToolbarGivesItsSideToTheViewAndCommandsStillReachTheFrame) {
  app.m_frame->DockToolBar(DockSide::Left);
  ASSERT_TRUE(app.m_frame->ExecuteCommand(ID_VIEW_TOOLBAR));
  EXPECT_FALSE(::IsWindowVisible(Strip().m_hWnd));
  EXPECT_EQ(InFrame(app.m_view->m_hWnd).left, Client().left);
  EXPECT_FALSE(app.m_frame->QueryCommand(ID_VIEW_TOOLBAR).checked.value_or(true));
  ASSERT_TRUE(app.m_frame->ExecuteCommand(ID_VIEW_TOOLBAR));
  EXPECT_EQ(InFrame(app.m_view->m_hWnd).left, InFrame(Strip().m_hWnd).right);

  // A click on a toolbar button, as the toolbar receives it, runs the
  // frame's command although the toolbar's parent is the strip.
  HWND target = ::CreateWindowExW(0, L"STATIC", L"objetivo", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 200, 100,
                                  nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
  app.m_frame->CaptureWindow(static_cast<WindowHandle>(reinterpret_cast<uintptr_t>(target)));
  app.PumpPending();
  RECT button{};
  ASSERT_TRUE(ToolBar().GetButtonRect(ID_TOGGLE_ENABLED, button));
  const LPARAM at = MAKELPARAM((button.left + button.right) / 2, (button.top + button.bottom) / 2);
  ToolBar().SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, at);
  ToolBar().SendMessage(WM_LBUTTONUP, 0, at);
  app.PumpPending();
  EXPECT_FALSE(::IsWindowEnabled(target));
  ::DestroyWindow(target);
}

TEST_F(ToolBarTest, TooltipsAndPromptsComeFromTheFrameThroughTheReparentedToolbar) {
  // The tooltip control asks the toolbar, which asks its notify window.
  const auto tooltips = reinterpret_cast<HWND>(ToolBar().SendMessage(TB_GETTOOLTIPS));
  ASSERT_NE(tooltips, nullptr);
  NMTTDISPINFOW info{};
  info.hdr.hwndFrom = tooltips;
  info.hdr.idFrom = ID_WINDOW_LIST;
  info.hdr.code = TTN_GETDISPINFOW;
  ToolBar().SendMessage(WM_NOTIFY, ID_WINDOW_LIST, reinterpret_cast<LPARAM>(&info));
  ASSERT_NE(info.lpszText, nullptr);
  EXPECT_EQ(Narrow(info.lpszText), fw::CommandTooltip(ID_WINDOW_LIST));
  EXPECT_EQ(fw::CommandTooltip(ID_WINDOW_LIST), "Lista de ventanas");

  // The pointer on a button shows its prompt until it leaves the toolbar,
  // whether or not the toolbar says so.
  const auto waitTicks = [&] {
    for (DWORD start = ::GetTickCount(); ::GetTickCount() - start < 600;) {
      app.PumpPending();
      ::Sleep(20);
    }
  };
  // The frame's pointer check clears the prompt on its next tick.
  const auto promptCleared = [&] {
    for (DWORD start = ::GetTickCount(); ::GetTickCount() - start < 3000; ::Sleep(20)) {
      app.PumpPending();
      if (app.m_frame->m_wndStatusBar.GetPaneText(0).empty()) return true;
    }
    return false;
  };
  RECT button{};
  ASSERT_TRUE(ToolBar().GetButtonRect(ID_WINDOW_LIST, button));
  POINT over{(button.left + button.right) / 2, (button.top + button.bottom) / 2};
  POINT onScreen = over;
  ::ClientToScreen(ToolBar().m_hWnd, &onScreen);
  ::SetCursorPos(onScreen.x, onScreen.y);
  ToolBar().SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(over.x, over.y));
  const std::string prompt = fw::CommandPrompt(ID_WINDOW_LIST);
  ASSERT_FALSE(prompt.empty());
  EXPECT_EQ(app.m_frame->m_wndStatusBar.GetPaneText(0), prompt);
  waitTicks();
  EXPECT_EQ(app.m_frame->m_wndStatusBar.GetPaneText(0), prompt) << "kept while the pointer is on the toolbar";

  RECT view{};
  ::GetWindowRect(app.m_view->m_hWnd, &view);
  ::SetCursorPos((view.left + view.right) / 2, (view.top + view.bottom) / 2);
  EXPECT_TRUE(promptCleared()) << app.m_frame->m_wndStatusBar.GetPaneText(0);

  // A toolbar that never reports the leaving (as happened under Wine with
  // a real pointer): the frame clears the prompt by itself.
  NMTBHOTITEM hot{};
  hot.hdr.hwndFrom = ToolBar().m_hWnd;
  hot.hdr.idFrom = AFX_IDW_TOOLBAR;
  hot.hdr.code = TBN_HOTITEMCHANGE;
  hot.idNew = ID_WINDOW_LIST;
  hot.dwFlags = HICF_MOUSE;
  ::SendMessageW(Frame(), WM_NOTIFY, AFX_IDW_TOOLBAR, reinterpret_cast<LPARAM>(&hot));
  EXPECT_EQ(app.m_frame->m_wndStatusBar.GetPaneText(0), prompt);
  EXPECT_TRUE(promptCleared()) << app.m_frame->m_wndStatusBar.GetPaneText(0);
}

}  // namespace
}  // namespace qm
