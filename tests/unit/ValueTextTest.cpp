#include "rom/ValueText.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace {

TEST(ValueText, IndexOfCharAndBinTextToIntStayInsideTheirCountAndText) {
  const std::string ones(40, '1');
  const struct {
    std::string_view text;
    int n, index, bin;  // IndexOfChar('1', ...) and BinTextToInt(...)
  } cases[] = {
      {"0123", 0, -1, 0}, {"0123", -5, -1, 0}, {"ab", 1000, -1, ('a' - '0') * 2 + 'b' - '0'},
      {"101", 3, 0, 5},  {"1", 1, 0, 1},  {"", 0, -1, 0},  {"2", 1, -1, 2},  {"101101", 6, 0, 0x2D},
      {"/", 1, -1, -1},  // a character below '0' subtracts, no digit check
      {"A0", 2, -1, ('A' - '0') * 2}, {ones, 40, 0, -1}, {ones, 1000, 0, -1},  // only bits 0..31 count
      {"00000000000000000001", 20, 19, 1}, {"11", 1, 0, 1},  // only the first n of the reversed text
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.text) + " n=" + std::to_string(c.n));
    EXPECT_EQ(rom::IndexOfChar('1', c.text, c.n), c.index);
    EXPECT_EQ(rom::BinTextToInt(c.text, c.n), c.bin);
  }
  EXPECT_EQ(rom::IndexOfChar('C', "0123456789ABCDEF", 16), 12);
  EXPECT_EQ(rom::IndexOfChar('c', "0123456789ABCDEF", 16), -1);  // exact comparison
  EXPECT_EQ(rom::IndexOfChar('F', "0123456789ABCDEF", 15), -1);
}

TEST(ValueText, HexTextToIntTakesBothCasesKeepsTheLastEightDigitsAndFlagsBadText) {
  const struct {
    std::string_view text;
    int n;
    std::uint32_t value;
    int invalid;  // starts at 7: success leaves it
  } cases[] = {
      {"1f", 2, 31, 7},         {"aBcD", 4, 0xABCD, 7},  {"1G", 2, 0, 1},
      {"\xC1", 1, 0, 1},        // bytes outside 7-bit ASCII are no digits
      {"", 0, 0, 7},            {"12", -1, 0, 7},        {"123456789", 9, 0x23456789, 7},
      {"FFFFFFFF", 8, 0xFFFFFFFF, 7},
      {"12", 5, 0, 1},          // a count past the text meets its end
      {std::string_view("12A", 2), 3, 0, 1},  // nothing past the view is read
  };
  for (const auto& c : cases) {
    int invalid = 7;
    EXPECT_EQ(static_cast<std::uint32_t>(rom::HexTextToInt(c.text, c.n, invalid)), c.value) << c.text;
    EXPECT_EQ(invalid, c.invalid) << c.text;
  }
  const struct {
    std::string text;
    std::uint16_t word;
  } words[] = {{"ABCD", 0xABCD}, {"12345", 0x2345}, {"12 4", 0}, {"", 0}, {"ff", 0xFF}, {std::string(100000, 'F'), 0xFFFF}};
  for (const auto& w : words) EXPECT_EQ(rom::HexTextToWord(w.text), w.word) << w.text.substr(0, 8);
}

}  // namespace
