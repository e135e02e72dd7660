#include "rom/fonts/FontFinder.h"

#include <algorithm>

#include "rom/ValueText.h"

namespace rom::fonts {
namespace {

constexpr std::uint32_t kBlank = 0x00, kSpace = 0x20, kBlock = 0xDB, kLowerHalf = 0xDC, kUpperHalf = 0xDF;

std::string Offset(std::uint32_t offset) {
  return HexText(offset, 4) + "h";
}

std::string Offsets(const std::vector<FoundFont>& fonts) {
  std::string text;
  for (std::size_t i = 0; i < fonts.size(); ++i) {
    text += (i == 0 ? "" : i + 1 == fonts.size() ? " and " : ", ") + Offset(fonts[i].offset);
  }
  return text;
}

std::string GlyphsOf(int height) {
  return "256 glyphs " + std::to_string(height) + " rows high";
}

}  // namespace

const char* MissingShape(const ImageBytes& image, std::uint32_t offset, int height) {
  const auto h = static_cast<std::uint32_t>(height);
  if (!image.Contains(offset, kFullFontGlyphs * h)) return "the font reaches past the end of the image";
  const auto row = [&](std::uint32_t code, std::uint32_t r) { return image.Byte(offset + code * h + r); };
  const auto all = [&](std::uint32_t code, std::uint8_t value) {
    for (std::uint32_t r = 0; r < h; ++r) {
      if (row(code, r) != value) return false;
    }
    return true;
  };
  // The solid block first: it rules out nearly every other place at its first row.
  if (!all(kBlock, 0xFF)) return "glyph DBh is not a solid block";
  if (!all(kBlank, 0x00)) return "glyph 00h is not blank";
  if (!all(kSpace, 0x00)) return "glyph 20h is not blank";
  std::uint32_t split = 0;
  while (split < h && row(kLowerHalf, split) == 0x00) ++split;
  bool halves = 4 * split >= h && 4 * split <= 3 * h;
  for (std::uint32_t r = 0; r < h && halves; ++r) {
    const bool lower = r >= split;
    halves = row(kLowerHalf, r) == (lower ? 0xFF : 0x00) && row(kUpperHalf, r) == (lower ? 0x00 : 0xFF);
  }
  return halves ? nullptr : "glyphs DCh and DFh are not the lower and upper halves of a block";
}

std::vector<FoundFont> FindFonts(const ImageBytes& image) {
  std::vector<FoundFont> found;
  for (const FontKind& kind : kFontKinds) {
    if (kind.fixup) continue;
    const std::size_t first = found.size();
    for (std::uint32_t offset = 0; image.Contains(offset, FullFontLength(kind)); ++offset) {
      if (MissingShape(image, offset, kind.height) == nullptr) found.push_back({offset, kind.height, true, false});
    }
    const Located table = LocateFullFont(image, kind);
    if (!table) continue;
    const auto same = std::find_if(found.begin() + static_cast<std::ptrdiff_t>(first), found.end(),
                                   [&](const FoundFont& f) { return f.offset == table.offset; });
    if (same != found.end()) {
      same->byTable = true;
    } else if (image.size() == kRomSize) {
      found.push_back({table.offset, kind.height, false, true});
    }
  }
  std::sort(found.begin(), found.end(), [](const FoundFont& a, const FoundFont& b) {
    return a.offset != b.offset ? a.offset < b.offset : a.height < b.height;
  });
  return found;
}

bool ChooseFont(const ImageBytes& image, const FontKind& kind, std::optional<std::uint32_t> at, FontPlace& place,
                std::string& error) {
  place = FontPlace{&kind, 0, false, false};
  if (kind.fixup) {
    if (!at) return FontWord(image, kind.entry, place.offset, error);
    error = "--at chooses among the full fonts; a fix-up table is where the OEM pointer table says";
    return false;
  }
  std::vector<FoundFont> fonts = FindFonts(image);
  std::erase_if(fonts, [&](const FoundFont& f) { return f.height != kind.height; });
  const auto take = [&](const FoundFont& f) {
    place.offset = f.offset;
    place.byShapeOnly = !f.byTable;
    return true;
  };
  if (at) {
    for (const FoundFont& f : fonts) {
      if (f.offset == *at) return take(f);
    }
    // A font once imported without the shape is listed no more; it is still chosen by its offset.
    if (!image.Contains(*at, FullFontLength(kind))) {
      error = "no font of " + GlyphsOf(kind.height) + " fits at " + Offset(*at) + ": " +
              MissingShape(image, *at, kind.height);
      return false;
    }
    place.offset = *at;
    place.byShapeOnly = true;
    place.unshaped = true;
    return true;
  }
  for (const FoundFont& f : fonts) {
    if (f.byTable) return take(f);
  }
  if (fonts.size() == 1) return take(fonts.front());
  if (!fonts.empty()) {
    error = "the image holds " + std::to_string(fonts.size()) + " fonts of " + GlyphsOf(kind.height) + ", at " +
            Offsets(fonts) + ": choose one with --at";
    return false;
  }
  const Located table = LocateFullFont(image, kind);
  error = "no " + GlyphsOf(kind.height) + " in the image have the shape of a VGA font, and " +
          (table ? "the OEM pointer table's " + std::string(kind.name) + " font at " + Offset(table.offset) +
                       " lacks it: " + MissingShape(image, table.offset, kind.height)
                 : "the OEM pointer table locates none: " + table.error);
  return false;
}

}  // namespace rom::fonts
