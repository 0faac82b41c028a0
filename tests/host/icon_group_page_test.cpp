#include "resources/icon_group_page.h"

#include <gtest/gtest.h>

#include "platform/platform.h"
#include "platform/sim/sim_system.h"
#include "resource_image.h"

namespace qm {
namespace {

std::vector<std::string> Texts(const std::vector<IconGroupNode>& nodes) {
  std::vector<std::string> texts;
  for (const auto& node : nodes) texts.push_back(node.text);
  return texts;
}

TEST(IconGroupPage, AllGroupsOfAKindInModuleOrderWithTheirImageLines) {
  for (const char* arch : {"x86_64", "i686"}) {
    CResourceModule module(*SystemPlatform().files);
    ASSERT_TRUE(module.Enumerate(std::string(QM_FIXTURE_DIR) + "/" + arch + "/images.dll")) << arch;

    const auto icons = IconGroupNodes(module, IconGroupKind::Icon);
    // Named groups come before numbered ones, as the module lists them.
    EXPECT_EQ(Texts(icons), (std::vector<std::string>{"APPICON", "1", "50"})) << arch;
    ASSERT_EQ(icons.size(), 3u);
    EXPECT_EQ(icons[0].image, kIconGroupNodeImage);
    EXPECT_EQ(icons[0].lines, std::vector<std::string>{"32 x 32 - 16 colors (744 bytes)"});
    EXPECT_EQ(icons[1].lines.size(), 5u);
    EXPECT_EQ(icons[1].images.size(), icons[1].lines.size());
    // The group whose image the module lacks still lists it, with no bytes.
    EXPECT_EQ(icons[2].lines, std::vector<std::string>{"32 x 32 - 16 colors (0 bytes)"});
    EXPECT_FALSE(icons[2].images[0].found);

    const auto cursors = IconGroupNodes(module, IconGroupKind::Cursor);
    ASSERT_EQ(Texts(cursors), std::vector<std::string>{"1"}) << arch;
    EXPECT_EQ(cursors[0].image, kCursorGroupNodeImage);
    EXPECT_EQ(cursors[0].lines,
              (std::vector<std::string>{"32 x 32 - 2 colors (308 bytes)", "48 x 48 - 16 colors (1644 bytes)"}));

    // One group by name: the node carries the name it was asked for.
    const auto one = IconGroupNodes(module, IconGroupKind::Icon, ResourceName::String("appicon"));
    EXPECT_EQ(Texts(one), std::vector<std::string>{"appicon"});
    EXPECT_TRUE(IconGroupNodes(module, IconGroupKind::Cursor, ResourceName::Number(2)).empty());
  }
}

TEST(IconGroupPage, AGroupThatDoesNotDecodeAddsNoNodeAndTheOthersStay) {
  SimSystem sim;
  // Type 2 in an icon group's header, a header cut short, then a good group
  // whose one image is missing.
  const std::vector<uint8_t> cursorHeader{0, 0, 2, 0, 0, 0};
  const std::vector<uint8_t> shortHeader{0, 0, 1};
  const std::vector<uint8_t> good{0, 0, 1, 0, 1, 0, 16, 16, 0, 0, 1, 0, 8, 0, 40, 0, 0, 0, 7, 0};
  const ResourceName group = ResourceName::Number(14);
  sim.files.files["C:\\g.dll"] = test::ImageWithSection(test::ResourceSection({
      {group, ResourceName::Number(1), 0, cursorHeader},
      {group, ResourceName::Number(2), 0, shortHeader},
      {group, ResourceName::Number(3), 0, good},
  }));
  CResourceModule module(sim.files);
  ASSERT_TRUE(module.Enumerate("C:\\g.dll"));
  EXPECT_EQ(GroupNamesOfKind(module, IconGroupKind::Icon).size(), 3u);
  const auto nodes = IconGroupNodes(module, IconGroupKind::Icon);
  ASSERT_EQ(Texts(nodes), std::vector<std::string>{"3"});
  EXPECT_EQ(nodes[0].lines, std::vector<std::string>{"16 x 16 - 256 colors (0 bytes)"});
  EXPECT_EQ(nodes[0].images[0].imageId, 7);

  CResourceModule closed(sim.files);
  EXPECT_TRUE(IconGroupNodes(closed, IconGroupKind::Icon).empty());
  EXPECT_FALSE(ReadIconGroupNode(closed, IconGroupKind::Icon, ResourceName::Number(3)));
}

}  // namespace
}  // namespace qm
