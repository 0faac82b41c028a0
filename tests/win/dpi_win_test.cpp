// Drawing at the screen's DPI: which toolbar drawing each DPI takes from
// the program's resources (and that every button has its tooltip), and the
// frame redrawing its toolbar and strip when told its DPI changed.
#include <gtest/gtest.h>

#include "framework/dpi.h"
#include "framework/frame_wnd.h"
#include "framework/resource_conventions.h"
#include "platform/win32/win.h"
#include "res/resource_ids.h"
#include "tests/win/app_fixture.h"

namespace qm {
namespace {

// The width of a BITMAP resource as the system loads it.
LONG LoadedBitmapWidth(HMODULE module, UINT id) {
  HBITMAP bitmap = static_cast<HBITMAP>(::LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, 0));
  if (!bitmap) return 0;
  BITMAP info{};
  ::GetObjectW(bitmap, sizeof info, &info);
  ::DeleteObject(bitmap);
  return info.bmWidth;
}

TEST(DpiTest, EachToolbarTakesTheDrawingMadeForTheDpiAndItsImageSize) {
  HMODULE program = LoadProgramResources();
  ASSERT_NE(program, nullptr);
  struct Toolbar {
    UINT id;
    LONG buttons;  // separators take no image
  };
  const Toolbar toolbars[] = {{IDB_MAINFRAME_TOOLBAR, 13},  {IDR_WINDOW_LIST_TOOLBAR, 15},
                              {IDR_PROCESSES_TOOLBAR, 6},   {IDR_CHILD_WINDOWS_TOOLBAR, 9},
                              {IDR_STRING_PAGE_TOOLBAR, 2}, {IDR_BITMAP_PAGE_TOOLBAR, 3},
                              {IDR_MENU_PAGE_TOOLBAR, 2}};
  struct Expected {
    UINT dpi;
    UINT (*bitmap)(UINT);
    SIZE image;
  };
  const Expected expected[] = {
      {96, [](UINT id) { return id; }, {16, 15}},
      {120, [](UINT id) { return id; }, {16, 15}},
      {144, [](UINT id) -> UINT { return QM_TOOLBAR_BITMAP_150(id); }, {24, 22}},
      {168, [](UINT id) -> UINT { return QM_TOOLBAR_BITMAP_150(id); }, {24, 22}},
      {192, [](UINT id) -> UINT { return QM_TOOLBAR_BITMAP_200(id); }, {32, 30}},
      {288, [](UINT id) -> UINT { return QM_TOOLBAR_BITMAP_200(id); }, {32, 30}},
  };
  for (const Toolbar& toolbar : toolbars) {
    for (UINT command : fw::LoadToolBarLayout(program, toolbar.id).commands) {
      if (command != 0) {
        EXPECT_FALSE(fw::CommandTooltip(command).empty()) << "no tooltip for " << command;
      }
    }
    for (const Expected& e : expected) {
      SCOPED_TRACE(testing::Message() << "toolbar " << toolbar.id << " at " << e.dpi << " DPI");
      const UINT bitmap = fw::ToolbarBitmapFor(program, toolbar.id, e.dpi);
      const SIZE image = fw::ToolbarImageSizeFor(program, toolbar.id, e.dpi);
      EXPECT_EQ(bitmap, e.bitmap(toolbar.id));
      EXPECT_EQ(image.cx, e.image.cx);
      EXPECT_EQ(image.cy, e.image.cy);
      EXPECT_EQ(LoadedBitmapWidth(program, bitmap), image.cx * toolbar.buttons) << "one image per button";
    }
  }
  // A module without the larger drawings (this test program has no
  // toolbars at all) keeps the resource's own ID.
  HMODULE self = ::GetModuleHandleW(nullptr);
  EXPECT_EQ(fw::ToolbarBitmapFor(self, IDR_WINDOW_LIST_TOOLBAR, 192), static_cast<UINT>(IDR_WINDOW_LIST_TOOLBAR));
  EXPECT_EQ(fw::ToolbarImageSizeFor(self, IDR_WINDOW_LIST_TOOLBAR, 192).cx, 16);

  EXPECT_EQ(fw::DpiForWindow(nullptr), 96u);
  EXPECT_EQ(fw::ScaleForDpi(15, 144), 23);
}

class FrameDpiTest : public RunningAppTest {};

TEST_F(FrameDpiTest, ANewDpiRedrawsTheToolbarAndGripperAndTakesTheSuggestedRectangle) {
  fw::CFrameWnd& frame = *app.m_frame;
  const UINT initial = fw::DpiForWindow(frame.m_hWnd);
  const LONG gripperAtStart = frame.m_wndDockBar.GripperRect().right;
  EXPECT_EQ(gripperAtStart, fw::ScaleForDpi(8, initial));

  RECT suggested{40, 30, 40 + 960, 30 + 840};
  frame.SendMessage(WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
  RECT placed{};
  ::GetWindowRect(frame.m_hWnd, &placed);
  EXPECT_EQ(placed.left, suggested.left);
  EXPECT_EQ(placed.right - placed.left, 960);
  EXPECT_EQ(frame.m_wndToolBar.ImageSize().cx, 32);
  EXPECT_EQ(frame.m_wndToolBar.ImageSize().cy, 30);
  EXPECT_GE(frame.m_wndToolBar.ButtonSize().cy, 30) << "the buttons grow round the images";
  EXPECT_EQ(frame.m_wndDockBar.GripperRect().right, 16);
  RECT bar{};
  ::GetWindowRect(frame.m_wndDockBar.m_hWnd, &bar);
  EXPECT_EQ(bar.bottom - bar.top, frame.m_wndToolBar.ButtonSize().cy + 2 * 4) << "padding 4 above and below";

  // Down a side strip the gripper is across the top, as deep as scaled.
  frame.DockToolBar(DockSide::Left);
  EXPECT_EQ(frame.m_wndDockBar.GripperRect().bottom, 16);
  frame.DockToolBar(DockSide::Top);

  // And back: the buttons shrink to the small images again.
  frame.SendMessage(WM_DPICHANGED, MAKEWPARAM(96, 96), reinterpret_cast<LPARAM>(&suggested));
  EXPECT_EQ(frame.m_wndToolBar.ImageSize().cx, 16);
  EXPECT_LT(frame.m_wndToolBar.ButtonSize().cy, 30);
  EXPECT_EQ(frame.m_wndDockBar.GripperRect().right, 8);
}

}  // namespace
}  // namespace qm
