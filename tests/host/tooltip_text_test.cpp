#include "common/tooltip_text.h"

#include <gtest/gtest.h>

#include "common/text.h"
#include "platform/sim/sim_system.h"

namespace qm {
namespace {

TEST(TooltipTextTest, TheTipFollowsTheFirstLineBreak) {
  EXPECT_EQ(TooltipTextOf("Inicia la captura de una ventana\nCapturar ventana"), "Capturar ventana");
  EXPECT_EQ(TooltipTextOf("Capturar ventana"), "Capturar ventana");
  EXPECT_EQ(TooltipTextOf("a\nb\nc"), "b\nc");
  EXPECT_EQ(TooltipTextOf("Solo el aviso\n"), "");
  EXPECT_EQ(TooltipTextOf(""), std::nullopt);
  SimStrings strings;
  EXPECT_EQ(TooltipTextOf(strings.LoadString(57664)), "Acerca de");
}

TEST(TooltipTextTest, ALongTipIsCutBetweenCharactersToFitTheBuffer) {
  const std::u16string short16 = u"Capturar ventana";
  EXPECT_EQ(FitTooltipText(short16), short16);
  const std::u16string exact(79, u'x');
  EXPECT_EQ(FitTooltipText(exact), exact);
  EXPECT_EQ(FitTooltipText(exact + u"y"), exact);
  // A pair that would straddle the end goes whole or not at all.
  const std::u16string pairAtEnd = std::u16string(78, u'x') + u"\U0001F600" + u"z";
  EXPECT_EQ(FitTooltipText(pairAtEnd), std::u16string(78, u'x'));
  const std::u16string pairInside = std::u16string(77, u'x') + u"\U0001F600" + u"z";
  EXPECT_EQ(FitTooltipText(pairInside), std::u16string(77, u'x') + u"\U0001F600");
  EXPECT_EQ(Utf16ToUtf8(FitTooltipText(pairAtEnd, 2)), "x");
  EXPECT_EQ(FitTooltipText(u"\U0001F600", 2), u"");
  EXPECT_EQ(FitTooltipText(u"abc", 0), u"");
  EXPECT_EQ(FitTooltipText(u"abc", 1), u"");
}

}  // namespace
}  // namespace qm
