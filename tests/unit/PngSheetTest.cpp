// The PNG sheet of a font, decoded again as an image viewer would read it.
#include <gtest/gtest.h>

#include <memory>

#include "rom/fonts/FontFile.h"
#include "rom/fonts/PngSheet.h"

#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wshadow"
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wimplicit-fallthrough"
#endif
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_NO_STDIO
#include <stb/stb_image.h>
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

namespace {

// Each glyph in its cell, row by row and pixel by pixel: a lit pixel black, an unlit one white, grey lines between
// the cells. Every glyph row differs from its neighbours, so a glyph drawn in another cell or shifted is seen.
TEST(PngSheet, DrawsEveryGlyphInItsCellBlackOnWhite) {
  constexpr int kHeight = 14, kScale = rom::fonts::kSheetScale;
  rom::fonts::Glyphs glyphs{kHeight, {}};
  for (int code = 0; code < 256; ++code) {
    for (int row = 0; row < kHeight; ++row) glyphs.rows.push_back(static_cast<std::uint8_t>(code * 7 + row * 13));
  }
  const std::vector<std::uint8_t> png = rom::fonts::EncodePngSheet(glyphs);
  int width = 0, height = 0, channels = 0;
  const std::unique_ptr<stbi_uc, void (*)(void*)> pixels(
      stbi_load_from_memory(png.data(), static_cast<int>(png.size()), &width, &height, &channels, 1), stbi_image_free);
  ASSERT_NE(pixels, nullptr) << stbi_failure_reason();
  const int cellWidth = 8 * kScale + 1, cellHeight = kHeight * kScale + 1;
  ASSERT_EQ(width, 16 * cellWidth + 1);
  ASSERT_EQ(height, 16 * cellHeight + 1);
  const auto at = [&](int x, int y) { return pixels.get()[y * width + x]; };
  int wrong = 0;
  for (int code = 0; code < 256; ++code) {
    // The grid lines above and left of the cell, then its pixels.
    const int left = code % 16 * cellWidth, top = code / 16 * cellHeight;
    for (int y = 0; y <= kHeight * kScale; ++y) wrong += at(left, top + y) != 0xB0;
    for (int x = 0; x <= 8 * kScale; ++x) wrong += at(left + x, top) != 0xB0;
    for (int y = 0; y < kHeight * kScale; ++y) {
      const int row = glyphs.rows[static_cast<std::size_t>(code * kHeight + y / kScale)];
      for (int x = 0; x < 8 * kScale; ++x) {
        const bool lit = (row & (0x80 >> (x / kScale))) != 0;
        wrong += at(left + 1 + x, top + 1 + y) != (lit ? 0x00 : 0xFF);
      }
    }
  }
  EXPECT_EQ(wrong, 0);
  EXPECT_EQ(at(width - 1, height - 1), 0xB0);
}

}  // namespace
