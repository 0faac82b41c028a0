#include "windows/window_array.h"

#include <gtest/gtest.h>

#include "platform/sim/sim_system.h"

namespace qm {
namespace {

// A dialog with two controls and a child dialog (a property page) that holds
// two controls of its own, plus a second top-level window of another process.
class WindowArrayTest : public ::testing::Test {
 protected:
  WindowHandle Add(WindowHandle parent, uint32_t processId = 100) {
    SimWindowDesc desc;
    desc.style = WS_VISIBLE | (parent ? WS_CHILD : 0);
    desc.parent = parent;
    desc.processId = processId;
    desc.window = {0, 0, 10, 10};
    return sim.desktop.AddWindow(desc);
  }
  void SetUp() override {
    dialog = Add(0);
    edit = Add(dialog);
    page = Add(dialog);
    pageCheck = Add(page);
    pageList = Add(page);
    ok = Add(dialog);
    other = Add(0, 200);
  }

  SimSystem sim;
  WindowHandle dialog = 0, edit = 0, page = 0, pageCheck = 0, pageList = 0, ok = 0, other = 0;
};

TEST_F(WindowArrayTest, DirectChildrenOnlyUnlessAllDescendantsAreAsked) {
  CWindowArray children(sim.desktop, dialog);
  EXPECT_EQ(children.EnumChildren(), 3);
  EXPECT_EQ(children.m_handles, (std::vector<WindowHandle>{edit, page, ok}));
  EXPECT_FALSE(children.m_bAllDescendants);

  // Depth first in Z order: the page's controls follow the page.
  EXPECT_EQ(children.EnumChildren(true), 5);
  EXPECT_EQ(children.m_handles, (std::vector<WindowHandle>{edit, page, pageCheck, pageList, ok}));
  EXPECT_TRUE(children.m_bAllDescendants);

  // A new enumeration starts from an empty list.
  CWindowArray leaf(sim.desktop, pageList);
  EXPECT_EQ(leaf.EnumChildren(true), 0);
  EXPECT_EQ(leaf.GetCount(), 0);
}

TEST_F(WindowArrayTest, ZOrderDecidesTheOrder) {
  sim.desktop.BringToTop(ok);
  CWindowArray children(sim.desktop, dialog);
  children.EnumChildren();
  EXPECT_EQ(children.m_handles, (std::vector<WindowHandle>{ok, edit, page}));
}

TEST_F(WindowArrayTest, NotAWindowAndAFailedEnumerationGiveMinusOne) {
  CWindowArray none(sim.desktop);
  EXPECT_EQ(none.EnumChildren(), -1);
  EXPECT_EQ(none.m_dwLastError, 0u);

  sim.desktop.DestroyWindow(page);
  CWindowArray gone(sim.desktop, page);
  EXPECT_EQ(gone.EnumChildren(true), -1);
  EXPECT_EQ(gone.m_dwLastError, 0u);

  sim.desktop.FailCall("EnumChildWindows", ERROR_NOT_ENOUGH_MEMORY);
  CWindowArray failed(sim.desktop, dialog);
  EXPECT_EQ(failed.EnumChildren(true), -1);
  EXPECT_EQ(failed.m_dwLastError, ERROR_NOT_ENOUGH_MEMORY);
}

TEST_F(WindowArrayTest, GetWindowAtChecksBothBounds) {
  CWindowArray children(sim.desktop, dialog);
  ASSERT_EQ(children.EnumChildren(), 3);
  EXPECT_EQ(children.GetWindowAt(-1), std::nullopt);
  EXPECT_EQ(children.GetWindowAt(3), std::nullopt);
  EXPECT_EQ(children.GetWindowAt(0), edit);
  EXPECT_EQ(children.GetWindowAt(2), ok);
  CWindowArray empty(sim.desktop);
  EXPECT_EQ(empty.GetWindowAt(0), std::nullopt);
}

TEST_F(WindowArrayTest, TopLevelWalksAppendAndFilterByProcess) {
  CWindowArray top(sim.desktop);
  EXPECT_EQ(top.EnumTopLevel(), 2);
  EXPECT_EQ(top.m_handles, (std::vector<WindowHandle>{dialog, other}));
  EXPECT_EQ(top.EnumTopLevel(), 4);  // it does not clear the list first

  CWindowArray ofProcess(sim.desktop);
  EXPECT_EQ(ofProcess.EnumTopLevelOfProcess(200), 1);
  EXPECT_EQ(ofProcess.m_handles, std::vector<WindowHandle>{other});
  CWindowArray ofNobody(sim.desktop);
  EXPECT_EQ(ofNobody.EnumTopLevelOfProcess(999), 0);
}

TEST_F(WindowArrayTest, ACallbackThatDestroysWindowsDoesNotDerail) {
  // A window destroyed during the walk (here by the walk's own observer) is
  // skipped, never visited after its death.
  std::vector<WindowHandle> seen;
  sim.desktop.EnumChildWindows(dialog, [&](WindowHandle h) {
    seen.push_back(h);
    if (h == edit) sim.desktop.DestroyWindow(page);
    return true;
  });
  EXPECT_EQ(seen, (std::vector<WindowHandle>{edit, ok}));
}

}  // namespace
}  // namespace qm
