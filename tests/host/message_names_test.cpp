#include "msglog/message_names.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace qm {
namespace {

struct NameCase {
  uint32_t message;
  ControlClass windowClass;
  const char* name;
};

TEST(MessageNames, RealValuesHaveTheirHeaderNames) {
  const NameCase cases[] = {
      {0x0000, ControlClass::Other, "WM_NULL"},
      {0x000C, ControlClass::Other, "WM_SETTEXT"},
      {0x0046, ControlClass::Other, "WM_WINDOWPOSCHANGING"},
      {0x004E, ControlClass::Other, "WM_NOTIFY"},
      {0x0100, ControlClass::Other, "WM_KEYDOWN"},  // not WM_KEYFIRST
      {0x0111, ControlClass::Other, "WM_COMMAND"},
      {0x0200, ControlClass::Other, "WM_MOUSEMOVE"},  // not WM_MOUSEFIRST
      {0x020A, ControlClass::Other, "WM_MOUSEWHEEL"},
      {0x0138, ControlClass::Other, "WM_CTLCOLORSTATIC"},
      {0x00F5, ControlClass::Button, "BM_CLICK"},
      {0x00F5, ControlClass::Other, "BM_CLICK"},  // its number is its own
      {0x00B1, ControlClass::Edit, "EM_SETSEL"},
      {0x0186, ControlClass::ListBox, "LB_SETCURSEL"},
      {0x014E, ControlClass::ComboBox, "CB_SETCURSEL"},
      {0x1004, ControlClass::ListView, "LVM_GETITEMCOUNT"},
      {0x104B, ControlClass::ListView, "LVM_GETITEMW"},
      {0x1102, ControlClass::TreeView, "TVM_EXPAND"},
      {0x130B, ControlClass::Tab, "TCM_GETCURSEL"},
      {0x1200, ControlClass::Header, "HDM_GETITEMCOUNT"},
      {0x2005, ControlClass::Other, "CCM_SETUNICODEFORMAT"},
      // WM_USER + 1 is a different message for each of these classes.
      {0x0401, ControlClass::Toolbar, "TB_ENABLEBUTTON"},
      {0x0401, ControlClass::StatusBar, "SB_SETTEXTA"},
      {0x0401, ControlClass::Other, "0x0401"},
      {0x0087, ControlClass::Other, "WM_GETDLGCODE"},
      {0x0999, ControlClass::Edit, "0x0999"},
  };
  for (const auto& c : cases) EXPECT_EQ(MessageName(c.message, c.windowClass), c.name) << std::hex << c.message;
}

TEST(MessageNames, RegisteredMessagesAskTheCallerAndFallBackToTheNumber) {
  const auto registered = [](uint32_t message) {
    return message == 0xC0DE ? std::string("QuillmarPing") : std::string();
  };
  EXPECT_EQ(MessageName(0xC0DE, ControlClass::Other, registered), "QuillmarPing");
  EXPECT_EQ(MessageName(0xC0DF, ControlClass::Other, registered), "0xC0DF");
  EXPECT_EQ(MessageName(0xC0DE, ControlClass::Other), "0xC0DE");
  // Outside the registered range the callback is not asked.
  int asked = 0;
  const auto counting = [&](uint32_t) {
    ++asked;
    return std::string("x");
  };
  EXPECT_EQ(MessageName(0xBFFF, ControlClass::Other, counting), "0xBFFF");
  EXPECT_EQ(MessageName(0x10000, ControlClass::Other, counting), "0x10000");
  EXPECT_EQ(asked, 0);
}

TEST(MessageNames, CommandCodesDependOnTheControlsClass) {
  EXPECT_STREQ(CommandCodeName(0, ControlClass::Button), "BN_CLICKED");
  EXPECT_STREQ(CommandCodeName(1, ControlClass::ListBox), "LBN_SELCHANGE");
  EXPECT_STREQ(CommandCodeName(1, ControlClass::ComboBox), "CBN_SELCHANGE");
  EXPECT_STREQ(CommandCodeName(0x0300, ControlClass::Edit), "EN_CHANGE");
  EXPECT_STREQ(CommandCodeName(0xFFFE, ControlClass::ListBox), "LBN_ERRSPACE");  // (-2) as a word
  EXPECT_EQ(CommandCodeName(0, ControlClass::Other), nullptr);
  EXPECT_EQ(CommandCodeName(0x7777, ControlClass::Button), nullptr);
}

TEST(MessageNames, NotifyCodesOfEveryControlRange) {
  EXPECT_STREQ(NotifyCodeName(static_cast<uint32_t>(-2)), "NM_CLICK");
  EXPECT_STREQ(NotifyCodeName(static_cast<uint32_t>(-12)), "NM_CUSTOMDRAW");
  EXPECT_STREQ(NotifyCodeName(static_cast<uint32_t>(-101)), "LVN_ITEMCHANGED");
  EXPECT_STREQ(NotifyCodeName(static_cast<uint32_t>(-451)), "TVN_SELCHANGEDW");
  EXPECT_STREQ(NotifyCodeName(static_cast<uint32_t>(-551)), "TCN_SELCHANGE");
  EXPECT_STREQ(NotifyCodeName(static_cast<uint32_t>(-701)), "TBN_BEGINDRAG");
  EXPECT_STREQ(NotifyCodeName(static_cast<uint32_t>(-322)), "HDN_ITEMCLICKW");
  EXPECT_EQ(NotifyCodeName(12345), nullptr);
}

TEST(MessageNames, TheFilterListHoldsEachNameOnceInOrder) {
  const auto names = AllMessageNames();
  EXPECT_TRUE(std::is_sorted(names.begin(), names.end()));
  EXPECT_EQ(std::adjacent_find(names.begin(), names.end()), names.end());
  for (const char* name : {"WM_PAINT", "TB_ENABLEBUTTON", "SB_SETTEXTA", "LVM_GETITEMCOUNT", "BM_CLICK"})
    EXPECT_TRUE(std::binary_search(names.begin(), names.end(), std::string(name))) << name;
}

}  // namespace
}  // namespace qm
