#include "common/list_compare.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace qm {
namespace {

// The texts after carrying out the exchanges a sort asks for.
std::vector<std::string> Sorted(std::vector<std::string> texts, ColumnType type, int direction) {
  const auto swaps = SelectionSortSwaps(
      texts, direction, [type](const std::string& a, const std::string& b) { return CompareCells(type, a, b); });
  for (auto [position, row] : swaps) std::swap(texts[static_cast<size_t>(position)], texts[static_cast<size_t>(row)]);
  return texts;
}

int Order(const std::vector<std::string>& texts, ColumnType type) {
  return ColumnOrder(texts, [type](const std::string& a, const std::string& b) { return CompareCells(type, a, b); });
}

using Texts = std::vector<std::string>;

TEST(ListCompareTest, EachTypeReadsItsNumbersAndFallsBackToTheTexts) {
  EXPECT_EQ(Sorted({"10", "9", "100"}, ColumnType::Integer, 1), (Texts{"9", "10", "100"}));
  EXPECT_EQ(Sorted({"10", "9", "100"}, ColumnType::Text, 1), (Texts{"10", "100", "9"}));
  // Not a number reads as 0; "007" and "7" are equal numbers ordered by text.
  EXPECT_EQ(CompareCells(ColumnType::Integer, "abc", "0"), 1);
  EXPECT_EQ(CompareCells(ColumnType::Integer, "-3", "abc"), -1);
  EXPECT_EQ(CompareCells(ColumnType::Integer, "007", "7"), -1);
  EXPECT_EQ(CompareCells(ColumnType::Integer, "7", "7"), 0);
  EXPECT_EQ(CompareCells(ColumnType::Integer, "99999999999999999999", "1"), 1);
  // "." is the decimal point of type 2 and the thousands of type 3.
  EXPECT_EQ(CompareCells(ColumnType::Decimal, "1.5", "1.25"), 1);
  EXPECT_EQ(CompareCells(ColumnType::Decimal, "nan", "-1"), 1);
  EXPECT_EQ(Sorted({"1.024", "999"}, ColumnType::SpanishNumber, 1), (Texts{"999", "1.024"}));
  EXPECT_EQ(CompareCells(ColumnType::SpanishNumber, "1.024,5", "1.024,25"), 1);
  // Case-sensitive bytes: upper case first, UTF-8 after ASCII.
  EXPECT_EQ(CompareCells(ColumnType::Text, "Zeta", "alfa"), -1);
  EXPECT_EQ(CompareCells(ColumnType::Text, "ñu", "zz"), 1);
}

TEST(ListCompareTest, DatesReadDayFirstAndAnUnreadableOneIs1900) {
  EXPECT_EQ(CompareCells(ColumnType::DateTime, "02/01/2024", "31/12/2023"), 1);
  EXPECT_EQ(CompareCells(ColumnType::DateTime, "02/01/2024 9:05", "02/01/2024 10:00:00"), -1);
  // Empty, unreadable and impossible dates all read as 1 January 1900 and
  // are then ordered by their texts.
  EXPECT_EQ(CompareCells(ColumnType::DateTime, "", "01/01/1901"), -1);
  EXPECT_EQ(CompareCells(ColumnType::DateTime, "31/02/2024", "01/01/1901"), -1);
  EXPECT_EQ(CompareCells(ColumnType::DateTime, "ayer", "01/01/1900 00:00"), 1);
  EXPECT_EQ(ParseDayFirstDate("7/3/2021 23:59:58"), (CalendarTime{2021, 3, 7, 23, 59, 58}));
  EXPECT_FALSE(ParseDayFirstDate("7/3/2021 24:00"));
  EXPECT_FALSE(ParseDayFirstDate("7/3/2021 x"));
  // A locale's own reader takes over.
  const DateParser isoFirst = [](const std::string& text) -> std::optional<CalendarTime> {
    if (text.size() != 10) return std::nullopt;
    return CalendarTime{std::stoi(text.substr(0, 4)), std::stoi(text.substr(5, 2)), std::stoi(text.substr(8, 2))};
  };
  EXPECT_EQ(CompareCells(ColumnType::DateTime, "2024-01-02", "2023-12-31", isoFirst), 1);
}

TEST(ListCompareTest, OrderDetectionAndDirection) {
  EXPECT_EQ(Order({"a", "a", "b", "c"}, ColumnType::Text), 1);
  EXPECT_EQ(Order({"c", "b", "b"}, ColumnType::Text), -1);
  EXPECT_EQ(Order({"a", "c", "b"}, ColumnType::Text), 0);
  // All equal, one row or none: descending.
  EXPECT_EQ(Order({"x", "x"}, ColumnType::Text), -1);
  EXPECT_EQ(Order({"x"}, ColumnType::Text), -1);
  EXPECT_EQ(Order({}, ColumnType::Text), -1);
  EXPECT_EQ(Order({"9", "10"}, ColumnType::Integer), 1);
  EXPECT_EQ(Order({"9", "10"}, ColumnType::Text), -1);

  // Toggle: ascending goes descending, anything else ascending.
  EXPECT_EQ(SortDirection(0, 1), -1);
  EXPECT_EQ(SortDirection(0, -1), 1);
  EXPECT_EQ(SortDirection(0, 0), 1);
  EXPECT_EQ(SortDirection(7, 0), 1);
  // An explicit direction the column is already in moves nothing.
  EXPECT_EQ(SortDirection(1, 1), std::nullopt);
  EXPECT_EQ(SortDirection(-1, 1), -1);

  // Clicking the same header twice: ascending, then descending, then back.
  Texts handles{"0x00020010", "0x00010010", "0x000a0000"};
  handles = Sorted(handles, ColumnType::Text, *SortDirection(0, Order(handles, ColumnType::Text)));
  EXPECT_EQ(handles, (Texts{"0x00010010", "0x00020010", "0x000a0000"}));
  handles = Sorted(handles, ColumnType::Text, *SortDirection(0, Order(handles, ColumnType::Text)));
  EXPECT_EQ(handles, (Texts{"0x000a0000", "0x00020010", "0x00010010"}));
}

TEST(ListCompareTest, SelectionSortKeepsTheEarliestOfEqualRowsAndSwapsOncePerMove) {
  // Rows are identified by a suffix the comparison ignores.
  const auto byKey = [](const std::string& a, const std::string& b) {
    return CompareCells(ColumnType::Integer, a.substr(0, 1), b.substr(0, 1));
  };
  Texts rows{"2a", "1a", "2b", "1b", "3a"};
  const auto swaps = SelectionSortSwaps(rows, 1, byKey);
  for (auto [position, row] : swaps) std::swap(rows[static_cast<size_t>(position)], rows[static_cast<size_t>(row)]);
  // The selection sort is not stable, and the rows land exactly where the
  // earliest-wins rule puts them.
  EXPECT_EQ(rows, (Texts{"1a", "1b", "2b", "2a", "3a"}));
  EXPECT_EQ(swaps, (std::vector<std::pair<int, int>>{{0, 1}, {1, 3}}));
  // Descending, the largest first; an ordered column needs no exchange.
  EXPECT_EQ(Sorted({"1", "3", "2"}, ColumnType::Integer, -1), (Texts{"3", "2", "1"}));
  EXPECT_TRUE(SelectionSortSwaps({"1", "2", "3"}, 1, byKey).empty());
  EXPECT_TRUE(SelectionSortSwaps({}, 1, byKey).empty());
}

// The selection sort as the dialogs first ran it: every comparison on the
// texts themselves.
std::vector<std::pair<int, int>> PlainSelectionSwaps(Texts texts, int direction, ColumnType type) {
  std::vector<std::pair<int, int>> swaps;
  const int count = static_cast<int>(texts.size());
  for (int position = 0; position + 1 < count; ++position) {
    int best = position;
    for (int row = position + 1; row < count; ++row) {
      const int result = CompareCells(type, texts[static_cast<size_t>(row)], texts[static_cast<size_t>(best)]);
      if (direction > 0 ? result < 0 : result > 0) best = row;
    }
    if (best == position) continue;
    std::swap(texts[static_cast<size_t>(position)], texts[static_cast<size_t>(best)]);
    swaps.emplace_back(position, best);
  }
  return swaps;
}

TEST(ListCompareTest, RankedSelectionMakesTheSameExchangesAsComparingTheTexts) {
  // Many equal values, equal numbers written differently, unreadable cells
  // and dates: every type, both directions.
  Texts mixed;
  uint32_t seed = 12345;
  const auto next = [&seed] { return (seed = seed * 1103515245u + 12345u) >> 16; };
  for (int i = 0; i < 300; ++i) {
    const uint32_t r = next();
    switch (r % 6) {
      case 0:
        mixed.push_back(std::to_string(r % 40));
        break;
      case 1:
        mixed.push_back("0" + std::to_string(r % 40));
        break;
      case 2:
        mixed.push_back(std::to_string(r % 7) + "," + std::to_string(r % 3) + "5");
        break;
      case 3:
        mixed.push_back(std::to_string(1 + r % 28) + "/" + std::to_string(1 + r % 12) + "/2024 1:0" +
                        std::to_string(r % 3));
        break;
      case 4:
        mixed.push_back("");
        break;
      default:
        mixed.push_back("x" + std::to_string(r % 5));
        break;
    }
  }
  for (ColumnType type :
       {ColumnType::Text, ColumnType::Integer, ColumnType::Decimal, ColumnType::SpanishNumber, ColumnType::DateTime}) {
    for (int direction : {1, -1}) {
      const auto compare = [type](const std::string& a, const std::string& b) { return CompareCells(type, a, b); };
      EXPECT_EQ(SelectionSortSwaps(mixed, direction, compare), PlainSelectionSwaps(mixed, direction, type))
          << static_cast<int>(type) << " " << direction;
    }
  }
}

TEST(ListCompareTest, RowsAfterSwapsTellWhereEachPositionTakesItsRowFrom) {
  const Texts texts{"c", "a", "d", "b"};
  const auto compare = [](const std::string& a, const std::string& b) { return CompareCells(ColumnType::Text, a, b); };
  const std::vector<int> from = RowsAfterSwaps(texts.size(), SelectionSortSwaps(texts, 1, compare));
  EXPECT_EQ(from, (std::vector<int>{1, 3, 0, 2}));
  // An exchange outside the rows is ignored rather than read past them.
  EXPECT_EQ(RowsAfterSwaps(2, {{0, 5}, {-1, 0}, {0, 1}}), (std::vector<int>{1, 0}));
}

TEST(ListCompareTest, ColumnTypesReplaceByColumnAndDefaultToText) {
  ColumnTypes types;
  EXPECT_EQ(types.Of(1), ColumnType::Text);
  types.Set(1, ColumnType::Integer);
  types.Set(3, ColumnType::DateTime);
  types.Set(1, ColumnType::SpanishNumber);
  EXPECT_EQ(types.Of(1), ColumnType::SpanishNumber);
  EXPECT_EQ(types.Of(3), ColumnType::DateTime);
  EXPECT_EQ(types.Of(2), ColumnType::Text);
  // Matched on the low 16 bits, as the words store them.
  EXPECT_EQ(types.Of(0x10001), ColumnType::SpanishNumber);
}

}  // namespace
}  // namespace qm
