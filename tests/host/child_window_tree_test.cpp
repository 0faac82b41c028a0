#include "windows/child_window_tree.h"

#include <gtest/gtest.h>

#include "platform/sim/sim_system.h"
#include "windows/window_actions.h"

namespace qm {
namespace {

class ChildWindowTreeTest : public ::testing::Test {
 protected:
  WindowHandle Add(WindowHandle parent, std::string title, uint32_t style = WS_VISIBLE, uint32_t processId = 100) {
    SimWindowDesc desc;
    desc.style = style | (parent ? WS_CHILD : 0);
    desc.parent = parent;
    desc.title = std::move(title);
    desc.windowClass.name = parent ? "Button" : "Dialogo";
    desc.processId = processId;
    desc.window = {0, 0, 10, 10};
    return sim.desktop.AddWindow(desc);
  }

  SimSystem sim;
};

TEST_F(ChildWindowTreeTest, EveryLevelIsCountedDepthFirstWithTextAndImage) {
  // A root with two children, one of which has three: six items.
  const WindowHandle root = Add(0, "Raíz");
  const WindowHandle first = Add(root, "Uno");
  const WindowHandle second = Add(root, "Dos", 0);  // hidden
  const WindowHandle a = Add(second, "a"), b = Add(second, "b"), c = Add(second, "c");
  ChildWindowTree tree(sim.desktop);
  EXPECT_TRUE(tree.AddRoot(root));
  EXPECT_FALSE(tree.AddRoot(root)) << "a root is kept once";
  const auto nodes = tree.Build();
  ASSERT_EQ(nodes.size(), 6u);
  std::vector<WindowHandle> order;
  for (const auto& node : nodes) order.push_back(node.window);
  EXPECT_EQ(order, (std::vector<WindowHandle>{root, first, second, a, b, c}));
  EXPECT_EQ(nodes[0].parent, -1);
  EXPECT_EQ(nodes[1].parent, 0);
  EXPECT_EQ(nodes[3].parent, 2);
  EXPECT_EQ(nodes[5].parent, 2);
  EXPECT_EQ(nodes[0].text, ChildWindowText(sim.desktop, root));
  char handle[16];
  std::snprintf(handle, sizeof handle, "0x%08x", static_cast<unsigned>(first));
  EXPECT_EQ(nodes[1].text, std::string(handle) + " \"Uno\" [Button]");
  EXPECT_EQ(nodes[0].image, kImageWindowVisible);
  EXPECT_EQ(nodes[1].image, kImageChildVisible);
  EXPECT_EQ(nodes[2].image, kImageChildHidden);
  EXPECT_EQ(nodes[3].image, kImageChildHidden) << "visible but under a hidden parent";
  EXPECT_TRUE(tree.ExpandRoot());
}

TEST_F(ChildWindowTreeTest, SeveralRootsAreNotExpandedAndAVanishedRootHasNoItem) {
  const WindowHandle one = Add(0, "Uno");
  const WindowHandle gone = Add(0, "Ido");
  Add(gone, "hijo");
  const WindowHandle two = Add(0, "Dos");
  ChildWindowTree tree(sim.desktop);
  tree.AddRoot(one);
  tree.AddRoot(gone);
  tree.AddRoot(two);
  sim.desktop.DestroyWindow(gone);
  const auto nodes = tree.Build();
  ASSERT_EQ(nodes.size(), 2u);
  EXPECT_EQ(nodes[0].window, one);
  EXPECT_EQ(nodes[1].window, two);
  EXPECT_FALSE(tree.ExpandRoot());
}

TEST_F(ChildWindowTreeTest, AVeryDeepTreeIsWalkedWhole) {
  WindowHandle parent = Add(0, "Raíz");
  ChildWindowTree tree(sim.desktop);
  tree.AddRoot(parent);
  for (int level = 0; level < 1000; ++level) parent = Add(parent, "n");
  const auto nodes = tree.Build();
  ASSERT_EQ(nodes.size(), 1001u);
  EXPECT_EQ(nodes.back().window, parent);
  EXPECT_EQ(nodes.back().parent, 999);
}

TEST_F(ChildWindowTreeTest, RootsFromAProcessAreItsTopLevelWindowsInZOrder) {
  const WindowHandle mine1 = Add(0, "A", WS_VISIBLE, 7);
  Add(0, "otro", WS_VISIBLE, 8);
  const WindowHandle mine2 = Add(0, "B", 0, 7);
  Add(mine1, "hijo", WS_VISIBLE, 7);
  ChildWindowTree tree(sim.desktop);
  tree.AddRoot(mine1);
  ASSERT_TRUE(tree.SetRootsFromProcess(7));
  // AddWindow puts a new window below the others.
  EXPECT_EQ(tree.Roots(), (std::vector<WindowHandle>{mine1, mine2}));
  EXPECT_FALSE(tree.SetRootsFromProcess(9));
  EXPECT_TRUE(tree.Roots().empty());
}

TEST_F(ChildWindowTreeTest, ButtonsFollowTheSelectedWindowAndActionsReachIt) {
  const WindowHandle window = Add(0, "V", WS_VISIBLE | WS_MINIMIZE);
  auto buttons = WindowButtonsFor(sim.desktop, window);
  EXPECT_TRUE(buttons.valid);
  EXPECT_TRUE(buttons.canRestore);
  EXPECT_TRUE(buttons.canMaximize);
  EXPECT_FALSE(buttons.canMinimize);
  EXPECT_TRUE(buttons.enabledChecked);
  EXPECT_TRUE(buttons.visibleChecked);

  DoWindowAction(sim.desktop, window, WindowAction::ToggleVisible);
  buttons = WindowButtonsFor(sim.desktop, window);
  EXPECT_TRUE(buttons.valid);
  EXPECT_FALSE(buttons.canRestore || buttons.canMaximize || buttons.canMinimize) << "hidden: none of the three";
  EXPECT_EQ(WindowImageIndex(sim.desktop, window), kImageWindowHidden);
  DoWindowAction(sim.desktop, window, WindowAction::ToggleEnabled);
  EXPECT_FALSE(WindowButtonsFor(sim.desktop, window).enabledChecked);
  DoWindowAction(sim.desktop, window, WindowAction::Close);
  EXPECT_EQ(sim.desktop.actions.back().find("PostMessage"), 0u) << sim.desktop.actions.back();

  sim.desktop.DestroyWindow(window);
  EXPECT_EQ(WindowButtonsFor(sim.desktop, window), WindowButtons{});
  EXPECT_EQ(WindowButtonsFor(sim.desktop, 0), WindowButtons{});
  DoWindowAction(sim.desktop, window, WindowAction::Maximize);  // fails quietly
}

}  // namespace
}  // namespace qm
