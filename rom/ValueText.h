#pragma once
// Turning the texts of the pages' boxes back into numbers.

#include <cstdint>
#include <string>
#include <string_view>

namespace rom {

// Position of `ch` among the first `n` characters of `text`, or -1. Exact comparison.
int IndexOfChar(char ch, std::string_view text, int n);

// The first `n` characters of `text` read as binary digits, its last character
// being bit 0. No digit check: a character c adds (c - '0') x 2^i. Bits past
// bit 31 are lost; positions past the end of the text add nothing.
std::int32_t BinTextToInt(std::string_view text, int n);

// The first `n` characters of `text` read as hexadecimal digits of either case,
// in 32-bit arithmetic (only the last eight digits count). A character that is
// no hexadecimal digit sets `invalid` to 1 and gives 0; on success `invalid` is
// left as it was.
std::int32_t HexTextToInt(std::string_view text, int n, int& invalid);

// The whole text as hexadecimal, low 16 bits; a bad or empty text gives 0.
std::uint16_t HexTextToWord(std::string_view text);

// "%02X", "%04X" and friends, upper case with leading zeros.
std::string HexText(std::uint32_t value, int digits);

}  // namespace rom
