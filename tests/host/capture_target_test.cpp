#include <gtest/gtest.h>

#include "app/enabling.h"
#include "platform/sim/sim_system.h"

namespace qm {
namespace {

class CaptureTargetTest : public ::testing::Test {
 protected:
  SimSystem sim;
  CaptureCommands commands{sim.platform};

  WindowHandle Add(WindowHandle parent, Rect rect, uint32_t extraStyle = 0) {
    SimWindowDesc desc;
    desc.style = WS_VISIBLE | extraStyle | (parent ? WS_CHILD : 0);
    desc.parent = parent;
    desc.window = rect;
    return sim.desktop.AddWindow(desc);
  }
};

TEST_F(CaptureTargetTest, NothingUnderThePointKeepsThePreviousCapture) {
  Add(0, {0, 0, 100, 100});
  EXPECT_EQ(commands.FindCaptureTarget({500, 500}), std::nullopt);
}

TEST_F(CaptureTargetTest, AWindowWithoutChildrenIsItself) {
  const WindowHandle top = Add(0, {0, 0, 100, 100});
  EXPECT_EQ(commands.FindCaptureTarget({10, 10}), top);
}

TEST_F(CaptureTargetTest, ADisabledButtonInADialogIsCapturedThoughWindowFromPointGivesTheDialog) {
  const WindowHandle dialog = Add(0, {100, 100, 400, 300});
  Add(dialog, {110, 110, 200, 140});
  const WindowHandle disabled = Add(dialog, {110, 200, 200, 230}, WS_DISABLED);
  const Point onButton{150, 215};
  ASSERT_EQ(sim.desktop.WindowFromPoint(onButton), dialog);
  EXPECT_EQ(commands.FindCaptureTarget(onButton), disabled);
  // The right and bottom edges lie outside the rectangle.
  EXPECT_EQ(commands.FindCaptureTarget({200, 215}), dialog);
  EXPECT_EQ(commands.FindCaptureTarget({110, 200}), disabled);
}

TEST_F(CaptureTargetTest, AHiddenChildIsCapturedToo) {
  const WindowHandle dialog = Add(0, {0, 0, 300, 300});
  SimWindowDesc desc;
  desc.style = WS_CHILD;  // not visible
  desc.parent = dialog;
  desc.window = {10, 10, 50, 50};
  const WindowHandle hidden = sim.desktop.AddWindow(desc);
  EXPECT_EQ(commands.FindCaptureTarget({20, 20}), hidden);
}

TEST_F(CaptureTargetTest, OfOverlappingSiblingsTheLaterInEnumerationOrderWins) {
  const WindowHandle dialog = Add(0, {0, 0, 300, 300});
  const WindowHandle a = Add(dialog, {10, 10, 100, 100}, WS_DISABLED);
  const WindowHandle b = Add(dialog, {50, 50, 150, 150}, WS_DISABLED);
  std::vector<WindowHandle> order;
  sim.desktop.EnumChildWindows(dialog, [&](WindowHandle w) {
    order.push_back(w);
    return true;
  });
  ASSERT_EQ(order.size(), 2u);
  EXPECT_EQ(commands.FindCaptureTarget({75, 75}), order.back());
  EXPECT_EQ(commands.FindCaptureTarget({20, 20}), a);
  EXPECT_EQ(commands.FindCaptureTarget({120, 120}), b);
}

TEST_F(CaptureTargetTest, ADescendantOfAChildDialogWinsOverItsParent) {
  const WindowHandle dialog = Add(0, {0, 0, 400, 400});
  const WindowHandle page = Add(dialog, {10, 10, 300, 300}, WS_DISABLED);
  const WindowHandle inner = Add(page, {20, 20, 60, 60}, WS_DISABLED);
  EXPECT_EQ(commands.FindCaptureTarget({30, 30}), inner);
  EXPECT_EQ(commands.FindCaptureTarget({200, 200}), page);
  EXPECT_EQ(commands.FindCaptureTarget({350, 350}), dialog);
}

TEST_F(CaptureTargetTest, AFailingEnumerationKeepsTheWindowUnderThePoint) {
  const WindowHandle dialog = Add(0, {0, 0, 300, 300});
  Add(dialog, {10, 10, 100, 100}, WS_DISABLED);
  sim.desktop.FailCall("EnumChildWindows", 8);
  EXPECT_EQ(commands.FindCaptureTarget({20, 20}), dialog);
}

}  // namespace
}  // namespace qm
