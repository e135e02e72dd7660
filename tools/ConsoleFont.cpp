#include "tools/ConsoleFont.h"

#include <array>
#include <cctype>
#include <fstream>
#include <iterator>
#include <utility>

#include "rom/fonts/FontFile.h"

namespace sample_rom {
namespace {

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

std::optional<FontGlyphs> ReadConsoleFont(const std::filesystem::path& path, int height, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = "cannot open " + path.string();
    return std::nullopt;
  }
  const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::string note;
  std::optional<rom::fonts::Glyphs> glyphs =
      rom::fonts::DecodeFontFile(bytes, path.filename().string(), height, note, error);
  if (!glyphs) {
    error = path.string() + ": " + error;
    return std::nullopt;
  }
  return FontGlyphs{glyphs->height, std::move(glyphs->rows)};
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
