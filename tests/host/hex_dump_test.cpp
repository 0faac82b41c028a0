#include "resources/hex_dump.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/sim/sim_system.h"

namespace qm {
namespace {

std::vector<std::string> Rows(const std::string& text) {
  std::vector<std::string> rows;
  size_t start = 0;
  for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
    rows.push_back(text.substr(start, end - start));
  EXPECT_EQ(start, text.size()) << "every row ends in CR LF";
  return rows;
}

TEST(HexDump, RowsHoldSixteenPairsThenSixteenCharacters) {
  std::vector<uint8_t> bytes(20);
  for (size_t i = 0; i < 16; ++i) bytes[i] = static_cast<uint8_t>('a' + i);
  bytes[16] = 0x41;
  bytes[17] = 0x00;
  bytes[18] = 0x0D;
  bytes[19] = 0x7E;
  auto rows = Rows(FormatHexDump(bytes));
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0], "61 62 63 64 65 66 67 68 69 6A 6B 6C 6D 6E 6F 70 abcdefghijklmnop");
  EXPECT_EQ(rows[1], "41 00 0D 7E " + std::string(36, ' ') + "A \x01~" + std::string(12, ' '));

  // Tab and line feed are marked too; high bytes are their Latin-1 characters.
  std::vector<uint8_t> marks{0x09, 0x0A, 0xE9, 0xFF, 0x80};
  EXPECT_EQ(Rows(FormatHexDump(marks))[0].substr(48), "\x01\x01\xC3\xA9\xC3\xBF\xC2\x80" + std::string(11, ' '));
}

TEST(HexDump, RowCountFollowsTheSizeUpToTheCap) {
  EXPECT_EQ(FormatHexDump({}), "");
  EXPECT_EQ(Rows(FormatHexDump(std::vector<uint8_t>(16))).size(), 1u);
  EXPECT_EQ(Rows(FormatHexDump(std::vector<uint8_t>(17))).size(), 2u);
  std::vector<uint8_t> large(100000, 0x41);
  const std::string text = FormatHexDump(large);
  EXPECT_EQ(Rows(text).size(), 1024u);
  EXPECT_EQ(text.size(), 1024u * 66);
  EXPECT_EQ(FormatHexDump(std::vector<uint8_t>(3), "\n"),
            "00 00 00 " + std::string(39, ' ') + std::string(16, ' ') + "\n");
}

TEST(HexDump, TotalGivesTheFullSizeWithItsKilobytes) {
  SimSystem sim;
  EXPECT_EQ(FormatHexDumpTotal(sim.strings, 100000), "Tamaño: 100.000 bytes (~98 Kb)");
  EXPECT_EQ(FormatHexDumpTotal(sim.strings, 1023), "Tamaño: 1.023 bytes (~1 Kb)");
  EXPECT_EQ(FormatHexDumpTotal(sim.strings, 1024), "Tamaño: 1.024 bytes (~2 Kb)");
  EXPECT_EQ(FormatHexDumpTotal(sim.strings, 0xFFFFFFFF), "Tamaño: 4.294.967.295 bytes (~4.194.304 Kb)");
}

}  // namespace
}  // namespace qm
