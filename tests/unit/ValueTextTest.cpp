#include "rom/ValueText.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace {

using rom::BinTextToInt;
using rom::HexTextToInt;
using rom::HexTextToWord;
using rom::IndexOfChar;

TEST(IndexOfChar, FindsExactCharacterWithinCount) {
  EXPECT_EQ(IndexOfChar('C', "0123456789ABCDEF", 16), 12);
  EXPECT_EQ(IndexOfChar('c', "0123456789ABCDEF", 16), -1);
  EXPECT_EQ(IndexOfChar('F', "0123456789ABCDEF", 15), -1);
  EXPECT_EQ(IndexOfChar('0', "0123", 0), -1);
  EXPECT_EQ(IndexOfChar('0', "0123", -5), -1);
  // A count past the text never reads past it.
  EXPECT_EQ(IndexOfChar('x', "ab", 1000), -1);
}

TEST(BinTextToInt, LastCharacterIsBitZeroWithoutDigitCheck) {
  EXPECT_EQ(BinTextToInt("101", 3), 5);
  EXPECT_EQ(BinTextToInt("1", 1), 1);
  EXPECT_EQ(BinTextToInt("", 0), 0);
  EXPECT_EQ(BinTextToInt("2", 1), 2);
  EXPECT_EQ(BinTextToInt("101101", 6), 0x2D);
  EXPECT_EQ(BinTextToInt("/", 1), -1);           // a character below '0' subtracts
  EXPECT_EQ(BinTextToInt("A0", 2), ('A' - '0') * 2);
}

TEST(BinTextToInt, AnyLengthStaysInsideItsInput) {
  const std::string ones(40, '1');
  // Only bits 0..31 count: all 32 of them set.
  EXPECT_EQ(BinTextToInt(ones, 40), -1);
  EXPECT_EQ(BinTextToInt(ones, 1000), -1);
  EXPECT_EQ(BinTextToInt(std::string(19, '0') + "1", 20), 1);
  EXPECT_EQ(BinTextToInt("11", 1), 1);  // only the first n of the reversed text
}

TEST(HexTextToInt, DigitsOfBothCasesAndTheFlag) {
  int invalid = 7;
  EXPECT_EQ(HexTextToInt("1f", 2, invalid), 31);
  EXPECT_EQ(invalid, 7) << "success leaves the flag untouched";
  EXPECT_EQ(HexTextToInt("aBcD", 4, invalid), 0xABCD);
  EXPECT_EQ(HexTextToInt("1G", 2, invalid), 0);
  EXPECT_EQ(invalid, 1);
  invalid = 0;
  EXPECT_EQ(HexTextToInt("\xC1", 1, invalid), 0);
  EXPECT_EQ(invalid, 1) << "bytes outside 7-bit ASCII are no digits";
  invalid = 0;
  EXPECT_EQ(HexTextToInt("", 0, invalid), 0);
  EXPECT_EQ(HexTextToInt("12", -1, invalid), 0);
  EXPECT_EQ(invalid, 0);
}

TEST(HexTextToInt, KeepsOnlyTheLastEightDigits) {
  int invalid = 0;
  EXPECT_EQ(HexTextToInt("123456789", 9, invalid), 0x23456789);
  EXPECT_EQ(static_cast<std::uint32_t>(HexTextToInt("FFFFFFFF", 8, invalid)), 0xFFFFFFFFu);
  EXPECT_EQ(invalid, 0);
  EXPECT_EQ(HexTextToInt("12", 5, invalid), 0) << "a count past the text meets its end";
  EXPECT_EQ(invalid, 1);
  invalid = 0;
  EXPECT_EQ(HexTextToInt(std::string_view("12A", 2), 3, invalid), 0) << "nothing past the view is read";
  EXPECT_EQ(invalid, 1);
}

TEST(HexTextToWord, WholeTextLowSixteenBits) {
  EXPECT_EQ(HexTextToWord("ABCD"), 0xABCD);
  EXPECT_EQ(HexTextToWord("12345"), 0x2345);
  EXPECT_EQ(HexTextToWord("12 4"), 0);
  EXPECT_EQ(HexTextToWord(""), 0);
  EXPECT_EQ(HexTextToWord("ff"), 0xFF);
  EXPECT_EQ(HexTextToWord(std::string(100000, 'F')), 0xFFFF);
}

}  // namespace
