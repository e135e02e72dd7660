#include "tools/ConsoleFont.h"

#include <array>
#include <cctype>
#include <fstream>
#include <iterator>
#include <utility>

#ifdef OMBRIX_HAVE_ZLIB
#include <zlib.h>
#endif

namespace sample_rom {
namespace {

constexpr std::uint8_t kPsf1Magic0 = 0x36;
constexpr std::uint8_t kPsf1Magic1 = 0x04;
constexpr std::size_t kPsf1HeaderSize = 4;
// Larger than any console font; stops a damaged or hostile file from filling memory.
constexpr std::size_t kMaxFontFileSize = 1 << 20;

std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::filesystem::path& path, std::string& error) {
  std::vector<std::uint8_t> bytes;
#ifdef OMBRIX_HAVE_ZLIB
  // gzread passes a file that is not compressed through unchanged.
  gzFile file = gzopen(path.string().c_str(), "rb");
  if (file == nullptr) {
    error = "cannot open " + path.string();
    return std::nullopt;
  }
  std::array<std::uint8_t, 4096> chunk{};
  int got = 0;
  while ((got = gzread(file, chunk.data(), static_cast<unsigned>(chunk.size()))) > 0) {
    bytes.insert(bytes.end(), chunk.begin(), chunk.begin() + got);
    if (bytes.size() > kMaxFontFileSize) break;
  }
  const bool failed = got < 0;
  gzclose(file);
  if (failed) {
    error = "cannot decompress " + path.string();
    return std::nullopt;
  }
#else
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = "cannot open " + path.string();
    return std::nullopt;
  }
  std::array<char, 4096> chunk{};
  while (in.read(chunk.data(), chunk.size()) || in.gcount() > 0) {
    bytes.insert(bytes.end(), chunk.begin(), chunk.begin() + in.gcount());
    if (bytes.size() > kMaxFontFileSize) break;
  }
  if (bytes.size() >= 2 && bytes[0] == 0x1F && bytes[1] == 0x8B) {
    error = path.string() + " is gzip-compressed; this build reads plain PSF files only (gunzip it first)";
    return std::nullopt;
  }
#endif
  if (bytes.size() > kMaxFontFileSize) {
    error = path.string() + " is too large for a console font";
    return std::nullopt;
  }
  return bytes;
}

// Glyphs of 5 x 7 pixels, '#' lit.
struct Drawing {
  char code;
  std::array<const char*, 7> rows;
};

// clang-format off
constexpr Drawing kDrawings[] = {
  {'0', {".###.", "#...#", "#..##", "#.#.#", "##..#", "#...#", ".###."}},
  {'1', {"..#..", ".##..", "..#..", "..#..", "..#..", "..#..", ".###."}},
  {'2', {".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####"}},
  {'3', {"#####", "...#.", "..#..", "...#.", "....#", "#...#", ".###."}},
  {'4', {"...#.", "..##.", ".#.#.", "#..#.", "#####", "...#.", "...#."}},
  {'5', {"#####", "#....", "####.", "....#", "....#", "#...#", ".###."}},
  {'6', {"..##.", ".#...", "#....", "####.", "#...#", "#...#", ".###."}},
  {'7', {"#####", "....#", "...#.", "..#..", ".#...", ".#...", ".#..."}},
  {'8', {".###.", "#...#", "#...#", ".###.", "#...#", "#...#", ".###."}},
  {'9', {".###.", "#...#", "#...#", ".####", "....#", "...#.", ".##.."}},
  {'A', {".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"}},
  {'B', {"####.", "#...#", "#...#", "####.", "#...#", "#...#", "####."}},
  {'C', {".###.", "#...#", "#....", "#....", "#....", "#...#", ".###."}},
  {'D', {"###..", "#..#.", "#...#", "#...#", "#...#", "#..#.", "###.."}},
  {'E', {"#####", "#....", "#....", "####.", "#....", "#....", "#####"}},
  {'F', {"#####", "#....", "#....", "####.", "#....", "#....", "#...."}},
  {'G', {".###.", "#...#", "#....", "#.###", "#...#", "#...#", ".####"}},
  {'H', {"#...#", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"}},
  {'I', {".###.", "..#..", "..#..", "..#..", "..#..", "..#..", ".###."}},
  {'J', {"..###", "...#.", "...#.", "...#.", "...#.", "#..#.", ".##.."}},
  {'K', {"#...#", "#..#.", "#.#..", "##...", "#.#..", "#..#.", "#...#"}},
  {'L', {"#....", "#....", "#....", "#....", "#....", "#....", "#####"}},
  {'M', {"#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#"}},
  {'N', {"#...#", "#...#", "##..#", "#.#.#", "#..##", "#...#", "#...#"}},
  {'O', {".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
  {'P', {"####.", "#...#", "#...#", "####.", "#....", "#....", "#...."}},
  {'Q', {".###.", "#...#", "#...#", "#...#", "#.#.#", "#..#.", ".##.#"}},
  {'R', {"####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"}},
  {'S', {".####", "#....", "#....", ".###.", "....#", "....#", "####."}},
  {'T', {"#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."}},
  {'U', {"#...#", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
  {'V', {"#...#", "#...#", "#...#", "#...#", "#...#", ".#.#.", "..#.."}},
  {'W', {"#...#", "#...#", "#...#", "#.#.#", "#.#.#", "#.#.#", ".#.#."}},
  {'X', {"#...#", "#...#", ".#.#.", "..#..", ".#.#.", "#...#", "#...#"}},
  {'Y', {"#...#", "#...#", ".#.#.", "..#..", "..#..", "..#..", "..#.."}},
  {'Z', {"#####", "....#", "...#.", "..#..", ".#...", "#....", "#####"}},
  {'.', {".....", ".....", ".....", ".....", ".....", ".##..", ".##.."}},
  {',', {".....", ".....", ".....", ".....", ".##..", "..#..", ".#..."}},
  {':', {".....", ".##..", ".##..", ".....", ".##..", ".##..", "....."}},
  {'-', {".....", ".....", ".....", "#####", ".....", ".....", "....."}},
  {'(', {"...#.", "..#..", ".#...", ".#...", ".#...", "..#..", "...#."}},
  {')', {".#...", "..#..", "...#.", "...#.", "...#.", "..#..", ".#..."}},
  {'/', {".....", "....#", "...#.", "..#..", ".#...", "#....", "....."}},
  {'!', {"..#..", "..#..", "..#..", "..#..", "..#..", ".....", "..#.."}},
  {'?', {".###.", "#...#", "....#", "...#.", "..#..", ".....", "..#.."}},
};
// clang-format on

// One drawn row as a row byte: the five pixels sit in bits 6 to 2, leaving a gap on both sides.
std::uint8_t RowByte(const char* row) {
  std::uint8_t value = 0;
  for (int i = 0; i < 5; ++i) {
    if (row[i] == '#') value = static_cast<std::uint8_t>(value | (1u << (6 - i)));
  }
  return value;
}

// Which of the seven drawn rows shows in row `r` of a cell `height` rows high, or -1 for a blank row.
// 8 rows: the drawing and a blank row; 14: each row twice; 16: each row twice between blank rows.
int DrawnRow(int r, int height) {
  switch (height) {
    case 8: return r < 7 ? r : -1;
    case 14: return r / 2;
    default: return (r >= 1 && r <= 14) ? (r - 1) / 2 : -1;
  }
}

}  // namespace

std::vector<std::uint8_t> FontGlyphs::Glyph(int code) const {
  const auto begin = rows.begin() + static_cast<std::ptrdiff_t>(code) * height;
  return std::vector<std::uint8_t>(begin, begin + height);
}

std::optional<FontGlyphs> ParsePsf1(const std::vector<std::uint8_t>& bytes, int height, std::string& error) {
  if (bytes.size() < kPsf1HeaderSize || bytes[0] != kPsf1Magic0 || bytes[1] != kPsf1Magic1) {
    error = "not a PSF1 font";
    return std::nullopt;
  }
  if (bytes[3] != height) {
    error = "glyphs are " + std::to_string(bytes[3]) + " rows high, not " + std::to_string(height);
    return std::nullopt;
  }
  const std::size_t glyphBytes = static_cast<std::size_t>(kGlyphCount) * static_cast<std::size_t>(height);
  if (bytes.size() < kPsf1HeaderSize + glyphBytes) {
    error = "font file ends inside its glyphs";
    return std::nullopt;
  }
  FontGlyphs font;
  font.height = height;
  font.rows.assign(bytes.begin() + kPsf1HeaderSize,
                   bytes.begin() + static_cast<std::ptrdiff_t>(kPsf1HeaderSize + glyphBytes));
  return font;
}

std::optional<FontGlyphs> ReadPsf1File(const std::filesystem::path& path, int height, std::string& error) {
  const std::optional<std::vector<std::uint8_t>> bytes = ReadWholeFile(path, error);
  if (!bytes) return std::nullopt;
  std::optional<FontGlyphs> font = ParsePsf1(*bytes, height, error);
  if (!font) error = path.string() + ": " + error;
  return font;
}

bool CanReadCompressedFonts() {
#ifdef OMBRIX_HAVE_ZLIB
  return true;
#else
  return false;
#endif
}

FontGlyphs BuiltInFont(int height) {
  FontGlyphs font;
  font.height = height;
  font.rows.assign(static_cast<std::size_t>(kGlyphCount) * static_cast<std::size_t>(height), 0);
  auto draw = [&](int code, const Drawing& drawing) {
    for (int r = 0; r < height; ++r) {
      const int drawn = DrawnRow(r, height);
      if (drawn >= 0) font.rows[static_cast<std::size_t>(code * height + r)] = RowByte(drawing.rows[drawn]);
    }
  };
  for (const Drawing& drawing : kDrawings) {
    const int code = static_cast<unsigned char>(drawing.code);
    draw(code, drawing);
    if (std::isupper(code)) draw(std::tolower(code), drawing);
  }
  return font;
}

}  // namespace sample_rom
