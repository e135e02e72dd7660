#include "tests/fuzz/harness/ShownBytes.h"

#include <cstdint>
#include <string>

#include "res/resource.h"

namespace fuzzing {
namespace {

constexpr std::uint32_t kSignatureText = 0x40;
constexpr std::uint32_t kSubsystemIds = 0x7FF8;
constexpr std::uint32_t kMemoryConfigEntry = 0x00;
constexpr std::uint32_t kMemoryConfigBytes = 36;
constexpr std::uint32_t kSignOnEntry = 0x0E;
// The length word and the most text an Apply may store.
constexpr std::uint32_t kSignOnBytes = 2 + 120;

struct Font {
  const char* name;
  std::uint32_t entry;
  std::uint32_t height;
  int charList;
  bool fixups;
};
constexpr Font kFonts[] = {
    {"Font 8x8", 0x04, 8, IDC_CHAR_LIST_FULL, false},
    {"Font 8x14", 0x06, 14, IDC_CHAR_LIST_FULL, false},
    {"Font 8x16", 0x08, 16, IDC_CHAR_LIST_FULL, false},
    {"Font 9x14 Fix-up Table", 0x0A, 14, IDC_CHAR_LIST_9X14, true},
    {"Font 9x16 Fix-up Table", 0x0C, 16, IDC_CHAR_LIST_9X16, true},
};

// The rows of the glyph that the selected entries name, clipped to the image.
void MarkGlyph(ByteSet& bytes, const testing_support::FakeControls& controls) {
  const std::string name = controls.ListItemText(IDC_FONT_LIST, controls.ListSelection(IDC_FONT_LIST));
  for (const Font& font : kFonts) {
    if (name != font.name) continue;
    // The font word is read straight from the OEM pointer table: it is no structure of its own.
    const auto table = Pointed(0x50, 0x10);
    if (!table) return;
    const std::uint32_t first = WordAt(*table + font.entry);
    const int selected = controls.ListSelection(font.charList);
    const std::uint32_t s = selected < 0 ? 0u : static_cast<std::uint32_t>(selected);
    if (!font.fixups) {
      if (s < 256) Mark(bytes, first + s * font.height, font.height);
      return;
    }
    for (std::uint32_t k = 0;; ++k) {
      const std::uint32_t record = first + k * (font.height + 1);
      if (!Inside(record, 1) || rom::RomImage.Byte(record) == 0x00) return;
      if (k == s) return Mark(bytes, record + 1, font.height);
    }
  }
}

}  // namespace

ByteSet ShownBytes(int page, const testing_support::FakeControls& controls, const ModeListModel& modes) {
  ByteSet bytes;
  switch (page) {
    case 0: {
      const int row = controls.ListSelection(IDC_MODE_LIST);
      const auto record = modes.ParameterRecord(row);
      const auto exReg = modes.ExRegRecord(row);
      if (record && exReg) {
        Mark(bytes, *record, 64);
        Mark(bytes, *exReg, 5);
      }
      break;
    }
    case 1: Mark(bytes, kSubsystemIds, 4); break;
    case 2: Mark(bytes, kSignatureText, 16); break;
    case 3:
      if (const auto record = OemStructure(kSignOnEntry, 2)) Mark(bytes, *record, kSignOnBytes);
      break;
    case 4:
      if (const auto record = OemStructure(kMemoryConfigEntry, kMemoryConfigBytes)) {
        Mark(bytes, *record, kMemoryConfigBytes);
      }
      break;
    default: MarkGlyph(bytes, controls); break;
  }
  return bytes;
}

}  // namespace fuzzing
