#include "platform/error_text.h"

#include <gtest/gtest.h>

#include "platform/sim/sim_system.h"

namespace qm {
namespace {

TEST(ErrorText, CodesBecomeNumberAndSystemMessage) {
  SimErrorText errors;
  EXPECT_EQ(CErrorText(errors, 0).GetText(), "");
  EXPECT_EQ(CErrorText(errors, 5).GetText(), "(#5) Access denied.\r\n");
  // Codes are shown signed, as HRESULTs are read.
  errors.messages[0x80004005u] = "";
  EXPECT_EQ(CErrorText(errors, 0x80004005u).GetText(), "(#-2147467259) ");

  errors.lastError = 87;
  CErrorText last(errors);
  EXPECT_EQ(last.GetText(), "(#87) The parameter is incorrect.\r\n");
  last.SetCode(0);
  EXPECT_EQ(last.GetText(), "");
  last.SetCode(5);
  EXPECT_EQ(last.GetText(), "(#5) Access denied.\r\n");
}

TEST(ErrorText, ExceptionsKeepTheirOwnText) {
  EXPECT_EQ(CErrorText::FromExceptionMessage("Fichero no encontrado").GetText(), "Fichero no encontrado");
  EXPECT_EQ(CErrorText::FromDispatchException("Turmidex", "Sin acceso").GetText(), "[Turmidex] Sin acceso");
  EXPECT_EQ(CErrorText::FromDispatchException("", "Sin acceso").GetText(), "Sin acceso");

  // The exception writes into 2048 characters: the last one is the end.
  const std::string longText(3000, 'x');
  EXPECT_EQ(CErrorText::FromExceptionMessage(longText).GetText(), std::string(2047, 'x'));
  std::string wide;
  for (int i = 0; i < 2100; ++i) wide += "ñ";
  const std::string cut = CErrorText::FromExceptionMessage(wide).GetText();
  EXPECT_EQ(cut.size(), 2047u * 2);  // cut between characters, never inside one
}

}  // namespace
}  // namespace qm
