#include "windows/window_list_model.h"

#include <gtest/gtest.h>

#include "platform/sim/sim_system.h"
#include "windows/window_actions.h"

namespace qm {
namespace {

class WindowListModelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    sim.desktop.AddProcess({100, 1, "editor.exe", {{0x400000, 0x1000, "C:\\Apps\\editor.exe"}}, {}, 0});
    sim.desktop.AddProcess({200, 1, "secreto.exe", {{0x400000, 0x1000, "C:\\secreto.exe"}}, {}, ERROR_ACCESS_DENIED});
    // Created top first: each new window goes below the others.
    main = Add("Editor", WS_VISIBLE, 100);
    locked = Add("Protegida", WS_VISIBLE, 200);
    hidden = Add("Oculta", 0, 100);
    unnamed = Add("", WS_VISIBLE, 100);
    // GetParent gives the owner of a pop-up window.
    owned = Add("Propiedades", WS_VISIBLE | WS_POPUP, 100, main);
  }
  WindowHandle Add(std::string title, uint32_t style, uint32_t processId, WindowHandle owner = 0) {
    SimWindowDesc desc;
    desc.title = std::move(title);
    desc.style = style;
    desc.owner = owner;
    desc.processId = processId;
    desc.windowClass.name = "Clase";
    return sim.desktop.AddWindow(desc);
  }
  std::vector<WindowHandle> Fill(WindowListFilters filters) {
    std::vector<WindowHandle> handles;
    for (const auto& row : FillWindowList(sim.platform, filters)) handles.push_back(row.window);
    return handles;
  }

  SimSystem sim;
  WindowHandle main = 0, owned = 0, unnamed = 0, hidden = 0, locked = 0;
};

TEST_F(WindowListModelTest, EachFilterBringsBackItsWindows) {
  using H = std::vector<WindowHandle>;
  EXPECT_EQ(Fill({}), (H{main, locked}));
  EXPECT_EQ(Fill({true, false, false}), (H{main, locked, hidden}));
  EXPECT_EQ(Fill({false, true, false}), (H{main, locked, unnamed}));
  EXPECT_EQ(Fill({false, false, true}), (H{main, locked, owned}));
  EXPECT_EQ(Fill({true, true, true}), (H{main, locked, hidden, unnamed, owned}));
  // A child window is never a row.
  SimWindowDesc child;
  child.style = WS_VISIBLE | WS_CHILD;
  child.parent = main;
  child.title = "Botón";
  sim.desktop.AddWindow(child);
  EXPECT_EQ(Fill({true, true, true}).size(), 5u);
}

TEST_F(WindowListModelTest, RowsCarryTextsAndImagesAndEachProcessIsOpenedOnce) {
  sim.desktop.calls.clear();
  const auto rows = FillWindowList(sim.platform, {true, true, true});
  ASSERT_EQ(rows.size(), 5u);
  EXPECT_EQ(sim.desktop.calls["OpenProcess"], 2) << "two processes behind five windows";
  const WindowListRow& editor = rows[0];
  char handle[16];
  std::snprintf(handle, sizeof handle, "0x%08x", static_cast<unsigned>(main));
  EXPECT_EQ(editor.texts[0], handle);
  EXPECT_EQ(editor.texts[1], "Editor");
  EXPECT_EQ(editor.texts[2], "Clase");
  EXPECT_EQ(editor.texts[3], "editor.exe");
  EXPECT_EQ(editor.image, kImageWindowVisible);
  // The process that may not be opened reads as its ID, for every window.
  EXPECT_EQ(rows[1].texts[3], "PID = 200 (0xc8)");
  EXPECT_EQ(rows[2].image, kImageWindowHidden);
  EXPECT_EQ(rows[4].window, owned);
  EXPECT_EQ(rows[4].image, kImageChildVisible) << "an owned window has a parent";
  EXPECT_EQ(sim.desktop.OpenKernelHandles(), 0);
}

TEST_F(WindowListModelTest, ATopLevelWindowMadeAChildLeavesTheList) {
  // The desktop stays its parent, as on the platform; it is no longer
  // top-level by its style.
  sim.desktop.SetWindowLongPtr(main, GWL_STYLE, WS_VISIBLE | WS_CHILD);
  EXPECT_TRUE(sim.desktop.IsWindow(main));
  EXPECT_EQ(Fill({}), (std::vector<WindowHandle>{locked}));
  sim.desktop.BringToTop(main);
  sim.desktop.DestroyWindow(main);
  EXPECT_FALSE(sim.desktop.IsWindow(main));
}

TEST_F(WindowListModelTest, NoWindowsLeftGivesNoRows) {
  for (WindowHandle w : {main, owned, unnamed, hidden, locked}) sim.desktop.DestroyWindow(w);
  EXPECT_TRUE(FillWindowList(sim.platform, {}).empty());
}

}  // namespace
}  // namespace qm
