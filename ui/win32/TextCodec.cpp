#include "ui/win32/TextCodec.h"

#include <windows.h>

#include <array>
#include <unordered_map>

namespace ui::win32 {
namespace {

constexpr wchar_t kControlPictures = 0x2400;  // U+2400..U+241F, U+2421 for DEL

// Windows-1252 for 0x80..0x9F; its five unassigned bytes keep their C1 code points.
constexpr std::array<wchar_t, 32> kWindows1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

struct ByteTable {
  std::array<wchar_t, 256> toWide{};
  std::unordered_map<wchar_t, unsigned char> toByte;
};

bool FillFromAnsiCodePage(ByteTable& table) {
  CPINFO info{};
  if (!GetCPInfo(CP_ACP, &info) || info.MaxCharSize != 1) return false;
  for (int b = 0x80; b <= 0xFF; ++b) {
    const char c = static_cast<char>(b);
    wchar_t w = 0;
    if (MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, &c, 1, &w, 1) != 1 || w < 0x80) return false;
    if (!table.toByte.emplace(w, static_cast<unsigned char>(b)).second) return false;
    table.toWide[static_cast<std::size_t>(b)] = w;
  }
  return true;
}

const ByteTable& Table() {
  static const ByteTable table = [] {
    ByteTable t;
    for (int b = 0; b < 0x80; ++b) t.toWide[static_cast<std::size_t>(b)] = static_cast<wchar_t>(b);
    if (!FillFromAnsiCodePage(t)) {
      t.toByte.clear();
      for (int b = 0x80; b <= 0xFF; ++b) {
        const wchar_t w = b < 0xA0 ? kWindows1252High[static_cast<std::size_t>(b - 0x80)] : static_cast<wchar_t>(b);
        t.toWide[static_cast<std::size_t>(b)] = w;
        t.toByte.emplace(w, static_cast<unsigned char>(b));
      }
    }
    return t;
  }();
  return table;
}

bool IsControlByte(unsigned b) { return (b >= 0x01 && b < 0x20) || b == 0x7F; }

}  // namespace

std::wstring BytesToWide(std::string_view bytes, bool singleLine) {
  const ByteTable& table = Table();
  std::wstring out;
  out.reserve(bytes.size());
  for (char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    if (singleLine && IsControlByte(b)) {
      out += b == 0x7F ? static_cast<wchar_t>(kControlPictures + 0x21) : static_cast<wchar_t>(kControlPictures + b);
    } else {
      out += table.toWide[b];
    }
  }
  return out;
}

std::string WideToBytes(std::wstring_view text, bool singleLine) {
  const ByteTable& table = Table();
  std::string out;
  out.reserve(text.size());
  for (wchar_t w : text) {
    if (w < 0x80) {
      out += static_cast<char>(w);
    } else if (singleLine && w > kControlPictures && w < kControlPictures + 0x20) {
      out += static_cast<char>(w - kControlPictures);
    } else if (singleLine && w == kControlPictures + 0x21) {
      out += '\x7F';
    } else {
      const auto it = table.toByte.find(w);
      out += it == table.toByte.end() ? '?' : static_cast<char>(it->second);
    }
  }
  return out;
}

std::wstring Utf8ToWide(std::string_view text) {
  if (text.empty()) return {};
  const int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
  return out;
}

std::string WideToUtf8(std::wstring_view text) {
  if (text.empty()) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
  return out;
}

}  // namespace ui::win32
