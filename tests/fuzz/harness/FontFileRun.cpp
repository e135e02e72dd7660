#include "tests/fuzz/harness/FontFileRun.h"

#include <iterator>
#include <vector>

#include "rom/FontLayout.h"
#include "rom/RomImage.h"
#include "rom/fonts/FontTransfer.h"
#include "tests/fuzz/harness/Fuzz.h"

namespace fuzzing {
namespace {

using Bytes = std::vector<std::uint8_t>;
constexpr int kKinds = static_cast<int>(std::size(rom::kFontKinds));
constexpr int kNames = static_cast<int>(std::size(kFontFileNames));

// An image with every font at a fixed place and its own bytes everywhere else;
// the fix-up tables have three records, two of them with the same code.
const Bytes& FontImage() {
  static const Bytes bytes = [] {
    rom::ResetRomState();
    for (std::uint32_t i = 0; i < rom::kRomSize; ++i) rom::RomImage.SetByte(i, static_cast<std::uint8_t>(i * 13 + 5));
    rom::RomImage.SetWord(0x50, 0x60);
    const std::uint16_t fonts[] = {0x1000, 0x1800, 0x2600, 0x3600, 0x3700};
    for (int k = 0; k < kKinds; ++k) rom::RomImage.SetWord(0x64 + 2u * static_cast<std::uint32_t>(k), fonts[k]);
    for (int k : {3, 4}) {
      const std::uint32_t size = static_cast<std::uint32_t>(rom::kFontKinds[k].height) + 1;
      const std::uint8_t codes[] = {0x4D, 0x57, 0x4D, 0x00};
      for (std::uint32_t r = 0; r < 4; ++r) rom::RomImage.SetByte(fonts[k] + r * size, codes[r]);
    }
    return Bytes(rom::RomImage.data(), rom::RomImage.data() + rom::kRomSize);
  }();
  return bytes;
}

// Whether image byte `i` may change when font `kind` is imported: a glyph row of it.
bool IsRow(const rom::FontKind& kind, const std::vector<std::uint32_t>& records, std::uint32_t font, std::uint32_t i) {
  const auto height = static_cast<std::uint32_t>(kind.height);
  if (!kind.fixup) return i >= font && i < font + 256 * height;
  for (std::uint32_t record : records) {
    if (i > record && i <= record + height) return true;
  }
  return false;
}

}  // namespace

std::string RunFontFileInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return "";
  const Bytes& before = FontImage();
  rom::RomImage.Assign(before.data(), rom::kRomSize);
  const rom::FontKind& kind = rom::kFontKinds[data[0] % kKinds];
  const std::string name = kind.fixup ? "in.json" : kFontFileNames[(data[0] / kKinds) % kNames];
  const Bytes file(data + 1, data + size);

  Verdict verdict;
  std::string note, error;
  const bool imported = rom::fonts::ImportFont(kind, name, file, note, error);
  const Bytes after(rom::RomImage.data(), rom::RomImage.data() + rom::kRomSize);
  if (!imported) {
    verdict.Require(!error.empty(), "a refusal gave no reason");
    verdict.Require(after == before, "a refused file changed the image");
    return verdict.Take();
  }
  std::vector<std::uint32_t> records;
  std::string locateError;
  rom::LocateFixupRecords(kind, records, locateError);
  const std::uint32_t font = rom::LocateFullFont(kind).offset;
  for (std::uint32_t i = 0; i < rom::kRomSize && !verdict.failed(); ++i) {
    verdict.Require(after[i] == before[i] || IsRow(kind, records, font, i), "an import wrote outside the font's rows");
  }
  // What was imported comes out and goes back in unchanged.
  Bytes out;
  const std::string again = kind.fixup ? "again.json" : "again.psf2";
  if (verdict.Require(rom::fonts::ExportFont(kind, again, out, error), "an imported font cannot be exported")) {
    verdict.Require(rom::fonts::ImportFont(kind, again, out, note, error), "an exported font is refused");
    verdict.Require(Bytes(rom::RomImage.data(), rom::RomImage.data() + rom::kRomSize) == after,
                    "export and import changed the image");
  }
  return verdict.Take();
}

}  // namespace fuzzing
