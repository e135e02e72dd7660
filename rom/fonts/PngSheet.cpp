#include "rom/fonts/PngSheet.h"

#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wshadow"
#pragma GCC diagnostic ignored "-Wunused-parameter"
#pragma GCC diagnostic ignored "-Wimplicit-fallthrough"
#endif
#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#include <stb_image_write.h>
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

namespace rom::fonts {
namespace {

constexpr int kCellsPerLine = 16;
constexpr std::uint8_t kInk = 0x00;
constexpr std::uint8_t kPaper = 0xFF;
constexpr std::uint8_t kGrid = 0xB0;

void Append(void* context, void* data, int size) {
  auto* out = static_cast<std::vector<std::uint8_t>*>(context);
  const auto* bytes = static_cast<const std::uint8_t*>(data);
  out->insert(out->end(), bytes, bytes + size);
}

}  // namespace

std::vector<std::uint8_t> EncodePngSheet(const Glyphs& glyphs) {
  const int cellWidth = 8 * kSheetScale + 1;
  const int cellHeight = glyphs.height * kSheetScale + 1;
  const int width = kCellsPerLine * cellWidth + 1;
  const int height = kCellsPerLine * cellHeight + 1;
  std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), kGrid);
  for (int code = 0; code < 256; ++code) {
    const int left = (code % kCellsPerLine) * cellWidth + 1;
    const int top = (code / kCellsPerLine) * cellHeight + 1;
    for (int y = 0; y < glyphs.height * kSheetScale; ++y) {
      const std::uint8_t row = glyphs.rows[static_cast<std::size_t>(code * glyphs.height + y / kSheetScale)];
      for (int x = 0; x < 8 * kSheetScale; ++x) {
        const bool lit = ((row >> (7 - x / kSheetScale)) & 1) != 0;
        pixels[static_cast<std::size_t>((top + y) * width + left + x)] = lit ? kInk : kPaper;
      }
    }
  }
  return EncodeGreyPng(width, height, pixels);
}

std::vector<std::uint8_t> EncodeGreyPng(int width, int height, const std::vector<std::uint8_t>& pixels) {
  std::vector<std::uint8_t> png;
  // The writer reads width x height bytes, whatever the vector holds.
  if (width <= 0 || height <= 0 ||
      pixels.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {
    return png;
  }
  stbi_write_png_to_func(Append, &png, width, height, 1, pixels.data(), width);
  return png;
}

}  // namespace rom::fonts
