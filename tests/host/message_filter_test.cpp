#include "msglog/message_filter.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

TEST(MessageFilter, EveryMessageFallsInOneGroup) {
  struct Case {
    uint32_t message;
    ControlClass windowClass;
    MessageGroup group;
  };
  const Case cases[] = {
      {0x0200, ControlClass::Other, MessageGroup::Mouse},        // WM_MOUSEMOVE
      {0x020E, ControlClass::Other, MessageGroup::Mouse},        // WM_MOUSEHWHEEL
      {0x0020, ControlClass::Other, MessageGroup::Mouse},        // WM_SETCURSOR
      {0x02A3, ControlClass::Other, MessageGroup::Mouse},        // WM_MOUSELEAVE
      {0x0100, ControlClass::Other, MessageGroup::Keyboard},     // WM_KEYDOWN
      {0x0007, ControlClass::Other, MessageGroup::Keyboard},     // WM_SETFOCUS
      {0x0001, ControlClass::Other, MessageGroup::Window},       // WM_CREATE
      {0x0047, ControlClass::Other, MessageGroup::Window},       // WM_WINDOWPOSCHANGED
      {0x007D, ControlClass::Other, MessageGroup::Window},       // WM_STYLECHANGED
      {0x000F, ControlClass::Other, MessageGroup::Paint},        // WM_PAINT
      {0x0014, ControlClass::Other, MessageGroup::Paint},        // WM_ERASEBKGND
      {0x0135, ControlClass::Other, MessageGroup::Paint},        // WM_CTLCOLORBTN
      {0x0084, ControlClass::Other, MessageGroup::NonClient},    // WM_NCHITTEST
      {0x00A1, ControlClass::Other, MessageGroup::NonClient},    // WM_NCLBUTTONDOWN
      {0x02A2, ControlClass::Other, MessageGroup::NonClient},    // WM_NCMOUSELEAVE
      {0x0111, ControlClass::Other, MessageGroup::Commands},     // WM_COMMAND
      {0x004E, ControlClass::Other, MessageGroup::Commands},     // WM_NOTIFY
      {0x0117, ControlClass::Other, MessageGroup::Commands},     // WM_INITMENUPOPUP
      {0x00F5, ControlClass::Other, MessageGroup::Controls},     // BM_CLICK
      {0x1004, ControlClass::ListView, MessageGroup::Controls},  // LVM_GETITEMCOUNT
      {0x0401, ControlClass::Toolbar, MessageGroup::Controls},   // TB_ENABLEBUTTON
      {0x0115, ControlClass::Other, MessageGroup::Controls},     // WM_VSCROLL
      {0x0401, ControlClass::Other, MessageGroup::Other},        // WM_USER + 1 of an unknown class
      {0x0113, ControlClass::Other, MessageGroup::Other},        // WM_TIMER
      {0x0000, ControlClass::Other, MessageGroup::Other},        // WM_NULL
      {0xC0DE, ControlClass::Other, MessageGroup::Other},        // registered
  };
  for (const auto& c : cases) EXPECT_EQ(GroupOf(c.message, c.windowClass), c.group) << std::hex << c.message;
}

TEST(MessageFilter, SingleMessagesOverrideTheirGroup) {
  MessageFilter filter;
  EXPECT_TRUE(filter.ShowsEverything());
  EXPECT_TRUE(filter.Shows(0x0200, ControlClass::Other, "WM_MOUSEMOVE"));

  filter.SetGroupShown(MessageGroup::Mouse, false);
  EXPECT_FALSE(filter.ShowsEverything());
  EXPECT_FALSE(filter.Shows(0x0200, ControlClass::Other, "WM_MOUSEMOVE"));
  EXPECT_TRUE(filter.Shows(0x000F, ControlClass::Other, "WM_PAINT"));

  // Only the clicks of a hidden group, and never the paints of a shown one.
  filter.SetRule("WM_LBUTTONDOWN", MessageRule::Include);
  filter.SetRule("WM_PAINT", MessageRule::Exclude);
  EXPECT_TRUE(filter.Shows(0x0201, ControlClass::Other, "WM_LBUTTONDOWN"));
  EXPECT_FALSE(filter.Shows(0x0202, ControlClass::Other, "WM_LBUTTONUP"));
  EXPECT_FALSE(filter.Shows(0x000F, ControlClass::Other, "WM_PAINT"));
  EXPECT_EQ(filter.RuleFor("WM_PAINT"), MessageRule::Exclude);

  // A rule set back to none leaves the group to decide.
  filter.SetRule("WM_PAINT", MessageRule::None);
  EXPECT_TRUE(filter.Shows(0x000F, ControlClass::Other, "WM_PAINT"));
  EXPECT_EQ(filter.Rules().size(), 1u);

  // Every group shown and an include rule still shows everything; an
  // exclude rule does not.
  filter.SetGroupShown(MessageGroup::Mouse, true);
  EXPECT_TRUE(filter.ShowsEverything());
  filter.SetRule("WM_TIMER", MessageRule::Exclude);
  EXPECT_FALSE(filter.ShowsEverything());
}

}  // namespace
}  // namespace qm
