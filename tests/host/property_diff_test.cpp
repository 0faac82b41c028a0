#include "app/property_diff.h"

#include <gtest/gtest.h>

#include <set>

#include "platform/sim/sim_system.h"

namespace qm {
namespace {

TEST(PropertyTreeLayout, HoldsEveryPropertyOnceInItsGroup) {
  const auto& layout = PropertyTreeLayout();
  std::set<int32_t> properties;
  int groups = 0;
  for (const auto& node : layout) {
    if (node.groupStringId) {
      ++groups;
      EXPECT_FALSE(node.child);
      EXPECT_EQ(node.image, kImageGroup);
      EXPECT_LT(node.data, 0);
    } else {
      EXPECT_TRUE(properties.insert(node.data).second) << node.data;
    }
  }
  EXPECT_EQ(groups, 6);
  EXPECT_EQ(properties.size(), size_t{kPropertyCount});
  ASSERT_GE(layout.size(), 3u);
  EXPECT_EQ(layout[0].data, kPropHandle);
  EXPECT_EQ(layout[1].data, kPropTitle);
  EXPECT_EQ(layout[2].groupStringId, 4135u);
  EXPECT_EQ(layout[2].data, kGroupVisibility);
}

TEST(PropertyTreeLayout, TheClassGroupKeepsItsOrderAndTwoImageKinds) {
  const auto& layout = PropertyTreeLayout();
  size_t at = 0;
  while (at < layout.size() && layout[at].groupStringId != 4138) ++at;
  ASSERT_LT(at, layout.size());
  const int32_t expected[] = {6, 21, 22, 25, 26, 20, 23, 24};
  const int images[] = {25, 25, 25, 25, 25, 26, 26, 26};
  for (size_t i = 0; i < 8; ++i) {
    ASSERT_LT(at + 1 + i, layout.size());
    EXPECT_TRUE(layout[at + 1 + i].child);
    EXPECT_EQ(layout[at + 1 + i].data, expected[i]);
    EXPECT_EQ(layout[at + 1 + i].image, images[i]);
  }
}

TEST(ChangedPropertyLines, OnlyATitleChangeIsReported) {
  SimSystem sim;
  SimWindowDesc desc;
  desc.title = "Antes";
  desc.window = {10, 20, 110, 220};
  const WindowHandle h = sim.desktop.AddWindow(desc);
  CQuillmarDoc doc(sim.platform);
  doc.m_hCapturedWnd = h;
  doc.RefreshProperties();
  std::array<std::string, kPropertyCount> shown;
  EXPECT_EQ(ChangedPropertyLines(doc.m_properties, shown).size(), size_t{kPropertyCount}) << "a new tree";
  for (int i = 0; i < kPropertyCount; ++i)
    shown[static_cast<size_t>(i)] = PropertyLine(doc.m_properties[static_cast<size_t>(i)]);
  EXPECT_TRUE(ChangedPropertyLines(doc.m_properties, shown).empty());

  sim.desktop.SetWindowText(h, "Después");
  doc.RefreshProperties();
  EXPECT_EQ(ChangedPropertyLines(doc.m_properties, shown), std::vector<int>{kPropTitle});
  EXPECT_EQ(PropertyLine(doc.m_properties[kPropTitle]), "Título de la ventana: Después");
}

TEST(ChangedPropertyLines, ComparesBytesExactly) {
  std::array<WindowProperty, kPropertyCount> properties;
  std::array<std::string, kPropertyCount> shown;
  for (size_t i = 0; i < shown.size(); ++i) {
    properties[i].name = "L";
    shown[i] = "L: ";
  }
  properties[3].value = "a";
  shown[4] = "l: ";  // case differs
  EXPECT_EQ(ChangedPropertyLines(properties, shown), (std::vector<int>{3, 4}));
}

}  // namespace
}  // namespace qm
