#pragma once
// Console fonts for the sample image: PSF files as Debian installs them, and a small
// built-in font for machines without them.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace sample_rom {

inline constexpr int kGlyphCount = 256;

// The 256 glyphs of a full font eight pixels wide: `height` row bytes per glyph, in code order.
struct FontGlyphs {
  int height = 0;
  std::vector<std::uint8_t> rows;

  // The rows of the glyph of `code`.
  std::vector<std::uint8_t> Glyph(int code) const;
};

// The first 256 glyphs of a console font file (PSF, plain or gzip-compressed) whose glyphs
// are `height` rows high, read by the editor's own font reader; nothing, with the reason in `error`.
std::optional<FontGlyphs> ReadConsoleFont(const std::filesystem::path& path, int height, std::string& error);

// Digits, capital letters (also for the small ones) and a few signs, each drawn 5 x 7 and
// stretched to `height` rows (8, 14 or 16); every other code is blank.
FontGlyphs BuiltInFont(int height);

}  // namespace sample_rom
