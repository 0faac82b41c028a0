#include "platform/string_ex.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/sim/sim_system.h"

namespace qm {
namespace {

std::string Number(double value, int decimals) { return CStringEx().FormatNumber(value, decimals).m_str; }

TEST(StringExTest, NumbersTakeTheirIntegerPartFromTheRoundedValue) {
  EXPECT_EQ(Number(1234567.891, 2), "1.234.567,89");
  EXPECT_EQ(Number(1234567, 0), "1.234.567");
  EXPECT_EQ(Number(123, 0), "123");
  EXPECT_EQ(Number(1000, 0), "1.000");
  EXPECT_EQ(Number(999.996, 2), "1.000,00");
  EXPECT_EQ(Number(999999.5, 0), "1.000.000");
  EXPECT_EQ(Number(0, 0), "0");
  // No separator right after the minus sign.
  EXPECT_EQ(Number(-1234, 0), "-1.234");
  EXPECT_EQ(Number(-123, 0), "-123");
  EXPECT_EQ(Number(-123456, 0), "-123.456");
  EXPECT_EQ(Number(-123456.5, 1), "-123.456,5");
  EXPECT_EQ(Number(0.05, 1), "0,1");
}

TEST(StringExTest, TableFormatsNeverReadMissingArguments) {
  SimStrings strings;
  CStringEx text;
  EXPECT_EQ(text.LoadString(strings, 4092).m_str, "Fecha de creación del archivo");
  EXPECT_EQ(text.LoadString(strings, 1).m_str, "");
  EXPECT_EQ(text.FormatFromId(strings, 4141, {"-8", "0", "1288", "1008"}).m_str,
            "izquierda=-8, arriba=0, derecha=1288, abajo=1008");
  // Fewer texts than conversions: the rest stay as written, nothing is read
  // from where no argument was given.
  EXPECT_EQ(text.FormatFromId(strings, 4302, {"1234"}).m_str, "Error obteniendo datos del proceso 1234 (0x%x)");
  EXPECT_EQ(text.FormatFromId(strings, 4044, {}).m_str, "Tamaño: %s bytes (~%s Kb)");
  EXPECT_EQ(CStringEx().Format("[0x%08x] %s", 0xABCu, "x").m_str, "[0x00000abc] x");
}

TEST(StringExTest, ADateShowsItsDatePartOrNothing) {
  SimLocale locale;
  CStringEx text("previous");
  EXPECT_EQ(text.SetDate(locale, CalendarTime{2009, 7, 14, 12, 34, 56}).m_str, "14/07/2009");
  EXPECT_EQ(text.SetDate(locale, std::nullopt).m_str, "");
  text = "previous";
  EXPECT_EQ(text.SetDate(locale, CalendarTime{2023, 2, 29, 0, 0, 0}).m_str, "");
  EXPECT_EQ(text.SetDate(locale, CalendarTime{2024, 2, 29, 0, 0, 0}).m_str, "29/02/2024");
  EXPECT_EQ(text.SetDate(locale, CalendarTime{1900, 2, 29, 0, 0, 0}).m_str, "");
  EXPECT_EQ(text.SetDate(locale, CalendarTime{2024, 13, 1, 0, 0, 0}).m_str, "");
  EXPECT_EQ(text.SetDate(locale, CalendarTime{2024, 1, 1, 24, 0, 0}).m_str, "");
  EXPECT_EQ(text.SetDate(locale, CalendarTime{}).m_str, "");
}

TEST(StringExTest, TextEdits) {
  EXPECT_EQ(CStringEx("1.234.567").RemoveChar('.').m_str, "1234567");
  EXPECT_EQ(CStringEx("SysListView32 ÑANDÚ ×").MakeLower().m_str, "syslistview32 ñandú ×");
  EXPECT_EQ(CStringEx(" \t a b \r\n").TrimLeft().m_str, "a b \r\n");
  EXPECT_EQ(CStringEx(" \t a b \r\n").Trim().m_str, "a b");
  EXPECT_EQ(CStringEx(" \t\n ").Trim().m_str, "");
  EXPECT_EQ(CStringEx("").Trim().m_str, "");
  CStringEx copy = CStringEx("x");
  copy.m_str += "y";
  EXPECT_EQ(copy.m_str, "xy");
}

}  // namespace
}  // namespace qm
