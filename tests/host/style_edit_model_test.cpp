#include "windows/style_edit_model.h"

#include <gtest/gtest.h>

#include "platform/sim/sim_system.h"

namespace qm {
namespace {

TEST(StyleEditModelTest, TheEditTextReadsHexDigitsOnlyAndKeepsTheLastEight) {
  EXPECT_EQ(ParseStyleText("FFFF"), 0xFFFFu);
  EXPECT_EQ(ParseStyleText("123456789"), 0x23456789u);
  EXPECT_EQ(ParseStyleText("fedcba9876543210"), 0x76543210u);
  EXPECT_EQ(ParseStyleText("0x1A"), 0x1Au);
  EXPECT_EQ(ParseStyleText("  12 34\t"), 0x1234u);
  EXPECT_EQ(ParseStyleText("xyz"), 0u);
  EXPECT_EQ(ParseStyleText(""), 0u);
  EXPECT_EQ(ParseStyleText("g1h2-ñ3"), 0x123u);

  StyleEditModel model(0x16CF0000, kWindowStyles);
  EXPECT_EQ(model.HexText(), "16cf0000");
  model.SetFromText("FFFF");
  EXPECT_EQ(model.HexText(), "0000ffff");
  model.SetFromText("xyz, ¿qué?");
  EXPECT_EQ(model.HexText(), "00000000");
}

TEST(StyleEditModelTest, AddAndDeleteUseTheValueNeverTheMask) {
  StyleEditModel model(0x16CF0000, kWindowStyles);
  model.Delete(0x00C00000);  // WS_CAPTION takes both its bits
  EXPECT_EQ(model.Style(), 0x160F0000u);
  model.Delete(0);  // WS_OVERLAPPED
  EXPECT_EQ(model.Style(), 0x160F0000u);
  model.Add(0);  // OK on the available names with nothing chosen
  EXPECT_EQ(model.Style(), 0x160F0000u);

  // A field value is ORed in beside the field's other bits.
  StyleEditModel button(0x50010001, kButtonStyles);  // BS_DEFPUSHBUTTON
  button.Add(0x2);                                   // BS_CHECKBOX
  EXPECT_EQ(button.Style(), 0x50010003u);
  EXPECT_EQ(button.Breakdown().front().name, "BS_AUTOCHECKBOX");
  button.Delete(0x0);  // BS_PUSHBUTTON
  EXPECT_EQ(button.Style(), 0x50010003u);
}

TEST(StyleEditModelTest, TheKindDecidesTheTitleAndWhetherTheWordMayBeApplied) {
  SimStrings strings;
  struct Case {
    StyleKind kind;
    const char* title;
    bool accept;
  };
  const Case cases[] = {
      {kWindowStyles, "Desglose de estilos de la ventana", true},
      {kDialogStyles, "Desglose de estilos de la ventana", true},
      {kExtendedStyles, "Desglose de estilos extendidos", true},
      {kClassStyles, "Desglose de estilos de la clase", false},
      {kMenuItemStates, nullptr, false},
      {-1, nullptr, false},
  };
  for (const Case& c : cases) {
    StyleEditModel model(0, c.kind);
    const auto id = model.BreakdownTitleId();
    ASSERT_EQ(id.has_value(), c.title != nullptr) << c.kind;
    if (id) {
      EXPECT_EQ(strings.LoadString(*id), c.title);
    }
    EXPECT_EQ(model.CanAccept(), c.accept) << c.kind;
  }
}

TEST(StyleEditModelTest, TheAvailableNamesAreTheBreakdownOfTheComplement) {
  StyleEditModel model(0x16CF0000, kWindowStyles);
  std::vector<std::string> names;
  for (const StyleName& row : model.AvailableNames()) names.push_back(row.name);
  EXPECT_EQ(names, (std::vector<std::string>{"WS_DISABLED", "WS_HSCROLL", "WS_VSCROLL", "WS_MINIMIZE", "WS_MAXIMIZE",
                                             "WS_CHILD", "WS_POPUP"}));
  // Adding one of them moves it from the available names to the breakdown.
  model.Add(model.AvailableNames()[1].value);
  EXPECT_EQ(model.Style(), 0x16DF0000u);
  EXPECT_EQ(model.AvailableNames().size(), 6u);
}

}  // namespace
}  // namespace qm
