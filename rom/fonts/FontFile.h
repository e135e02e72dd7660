#pragma once
// Font files as DOS and Linux tools write them: raw glyph dumps (.f08, .f14,
// .f16), the PSF console font formats (version 1 and 2, plain or gzip), and a
// PNG sheet of the glyphs for people to look at.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace rom::fonts {

// 256 glyphs eight pixels wide: `height` row bytes per glyph, in code order,
// bit 7 the leftmost pixel.
struct Glyphs {
  int height = 0;
  std::vector<std::uint8_t> rows;
};

enum class FontFormat { kRaw, kPsf1, kPsf2, kPng, kJson };

// The format a file name asks for: .f08/.f14/.f16 raw, .psf PSF version 1,
// .psf2 PSF version 2, .png, .json; a trailing .gz is allowed when reading.
std::optional<FontFormat> FormatOfName(const std::string& fileName);

// The glyph height a raw file's name gives (.f08 -> 8), or 0.
int RawHeightOfName(const std::string& fileName);

// Reads a font file whose glyphs must be `height` rows high. A gzip-compressed
// file is unpacked first. `note` says what was left out (glyphs past 256);
// nothing, with `error` saying what is wrong, when the file cannot be used.
std::optional<Glyphs> DecodeFontFile(const std::vector<std::uint8_t>& bytes, const std::string& fileName, int height,
                                     std::string& note, std::string& error);

// The file bytes of `glyphs` in a format of glyphs (raw, PSF 1 or 2, PNG).
std::vector<std::uint8_t> EncodeFontFile(const Glyphs& glyphs, FontFormat format);

// The bytes of a gzip stream unpacked, or nothing when it is damaged or
// unpacks to more than any font file holds.
std::optional<std::vector<std::uint8_t>> Gunzip(const std::vector<std::uint8_t>& bytes, std::string& error);

}  // namespace rom::fonts
