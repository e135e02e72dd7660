#pragma once
// Where the five fonts of the image lie: the three full fonts and the two
// fix-up tables, found through the OEM pointer table. The Font Images page and
// the font files share these rules.

#include <cstdint>
#include <string>
#include <vector>

#include "rom/RomLayout.h"

namespace rom {

inline constexpr int kFullFontGlyphs = 256;

// One of the fonts the image carries.
struct FontKind {
  const char* name;  // "8x8", "8x14", "8x16", "9x14", "9x16"
  OemEntry entry;
  int width;
  int height;
  bool fixup;  // a fix-up table of code + rows records instead of 256 glyphs
};

// In the order of the OEM pointer table.
inline constexpr FontKind kFontKinds[] = {
    {"8x8", OemEntry::kFont8x8, 8, 8, false},    {"8x14", OemEntry::kFont8x14, 8, 14, false},
    {"8x16", OemEntry::kFont8x16, 8, 16, false}, {"9x14", OemEntry::kFixup9x14, 9, 14, true},
    {"9x16", OemEntry::kFixup9x16, 9, 16, true},
};

// Where a font lies: the first glyph of a full font, the first record of a fix-up table.
struct FontPlace {
  const FontKind* kind = nullptr;
  std::uint32_t offset = 0;
  // Not located by the OEM pointer table: only its shape lets `font find` list it.
  bool byShapeOnly = false;
  // Chosen by --at where the bytes lack the shape (a font written without it before):
  // only glyphs with the shape may replace them, so a mistyped offset writes nothing.
  bool unshaped = false;
};

// The font called `name`, or nullptr.
const FontKind* FindFontKind(const std::string& name);

// The bytes of a full font of `kind`.
inline std::uint32_t FullFontLength(const FontKind& kind) {
  return static_cast<std::uint32_t>(kFullFontGlyphs * kind.height);
}

// The font word of `entry`: false, with the reason, when the OEM pointer table
// does not lie in the image. The word itself may point anywhere.
bool FontWord(OemEntry entry, std::uint32_t& font, std::string& error);
bool FontWord(const ImageBytes& image, OemEntry entry, std::uint32_t& font, std::string& error);

// A full font of 256 glyphs, refused unless it lies wholly inside the image.
Located LocateFullFont(const FontKind& kind);
Located LocateFullFont(const ImageBytes& image, const FontKind& kind);

// Calls visit(k, recordOffset, code) for record k = 0, 1, ... of the fix-up
// table at `font` whose glyphs are `height` rows high, until the first code
// byte 0x00, the end of the image, or visit returning false.
template <typename Visit>
void ScanFixups(const ImageBytes& image, std::uint32_t font, int height, Visit visit);
template <typename Visit>
void ScanFixups(std::uint32_t font, int height, Visit visit);

// The records of a fix-up table: their offsets, in table order. Refused when
// a record reaches past the end of the image.
bool LocateFixupRecords(const FontKind& kind, std::vector<std::uint32_t>& records, std::string& error);
// The same for the table at `table` of `image`.
bool FixupRecordsAt(const ImageBytes& image, const FontKind& kind, std::uint32_t table,
                    std::vector<std::uint32_t>& records, std::string& error);

}  // namespace rom

template <typename Visit>
void rom::ScanFixups(const ImageBytes& image, std::uint32_t font, int height, Visit visit) {
  const std::uint32_t recordSize = static_cast<std::uint32_t>(height) + 1;
  for (std::uint32_t k = 0;; ++k) {
    const std::uint32_t record = font + k * recordSize;
    if (!image.Contains(record, 1)) return;
    const std::uint8_t code = image.Byte(record);
    if (code == 0x00 || !visit(k, record, code)) return;
  }
}

template <typename Visit>
void rom::ScanFixups(std::uint32_t font, int height, Visit visit) {
  ScanFixups(RomImage.View(), font, height, visit);
}
