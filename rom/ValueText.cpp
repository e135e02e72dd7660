#include "rom/ValueText.h"

#include <algorithm>
#include <cstdio>

namespace rom {
namespace {
constexpr std::string_view kHexAlphabet = "0123456789ABCDEF";

bool IsHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}
}  // namespace

int IndexOfChar(char ch, std::string_view text, int n) {
  const int count = std::min<long long>(n, static_cast<long long>(text.size()));
  for (int i = 0; i < count; ++i) {
    if (text[static_cast<std::size_t>(i)] == ch) return i;
  }
  return -1;
}

std::int32_t BinTextToInt(std::string_view text, int n) {
  const long long count = std::min<long long>(n, static_cast<long long>(text.size()));
  std::uint32_t sum = 0;
  for (long long i = 0; i < count && i < 32; ++i) {
    // Position i of the reversed text, taken as a signed 8-bit character.
    const auto c = static_cast<signed char>(text[text.size() - 1 - static_cast<std::size_t>(i)]);
    sum += static_cast<std::uint32_t>(static_cast<std::int32_t>(c) - '0') << i;
  }
  return static_cast<std::int32_t>(sum);
}

std::int32_t HexTextToInt(std::string_view text, int n, int& invalid) {
  std::uint32_t result = 0;
  for (long long i = 0; i < n; ++i) {
    // A count past the text meets its end, which is no digit either.
    const bool inside = i < static_cast<long long>(text.size());
    char c = inside ? text[static_cast<std::size_t>(i)] : '\0';
    if (!IsHexDigit(c)) {
      invalid = 1;
      return 0;
    }
    if (c >= 'a' && c <= 'f') c = static_cast<char>(c - 'a' + 'A');
    result = result * 16 + static_cast<std::uint32_t>(IndexOfChar(c, kHexAlphabet, 16));
  }
  return static_cast<std::int32_t>(result);
}

std::uint16_t HexTextToWord(std::string_view text) {
  int ignored = 0;
  const long long length = static_cast<long long>(text.size());
  const int n = static_cast<int>(std::min<long long>(length, 0x7FFFFFFF));
  return static_cast<std::uint16_t>(HexTextToInt(text, n, ignored) & 0xFFFF);
}

std::string HexText(std::uint32_t value, int digits) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%0*X", digits, value);
  return buffer;
}

}  // namespace rom
