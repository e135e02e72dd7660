// The sample image the tool writes: a valid option ROM that every page of the editor shows
// without a complaint, and that an Apply without edits leaves as it is.
#include "tests/support/PageTest.h"
#include "tools/SampleRom.h"

namespace {

using testing_support::ImageBytes;

TEST(SampleRomTest, EveryPageShowsEveryStructureWithoutAMessage) {
  rom::ResetRomState();
  sample_rom::BuildSampleRom(sample_rom::SampleFonts{}).Load();
  const testing_support::Bytes image = ImageBytes();
  const std::uint32_t pci = rom::RomImage.Word(0x18);
  EXPECT_EQ(std::string(image.begin() + pci, image.begin() + pci + 4), "PCIR");

  testing_support::FakeSheet sheet;
  sheet.Start();
  const auto showAll = [&](int page, int listId) {
    testing_support::FakeControls& c = sheet.controls(page);
    for (int entry = 0; entry < c.ListCount(listId); ++entry) {
      c.ListSelect(listId, entry);
      sheet.CloseUp(listId);
      sheet.Command(1);
    }
    return c.ListCount(listId);
  };
  EXPECT_EQ(showAll(0, IDC_MODE_LIST), 22 + static_cast<int>(sample_rom::SampleExtendedModes().size()));
  for (int page = 1; page < 6; ++page) {
    sheet.SetActivePage(page);
    sheet.Command(1);
  }
  for (int font = 0; font < 5; ++font) {
    sheet.controls(5).ListSelect(IDC_FONT_LIST, font);
    sheet.CloseUp(IDC_FONT_LIST);
    const int list = font < 3 ? IDC_CHAR_LIST_FULL : font == 3 ? IDC_CHAR_LIST_9X14 : IDC_CHAR_LIST_9X16;
    EXPECT_EQ(showAll(5, list), font < 3 ? 256 : static_cast<int>(sample_rom::kFixupCodes.size())) << font;
    if (font >= 3) continue;
    sheet.controls(5).ListSelect(IDC_CHAR_LIST_FULL, 'A');
    sheet.CloseUp(IDC_CHAR_LIST_FULL);
    std::string rows;
    for (int r = 0; r < 16; ++r) rows += sheet.controls(5).GetText(IDC_GLYPH_ROW_FIRST + r);
    EXPECT_NE(rows.find_first_not_of('0'), std::string::npos) << "the letter A is blank in font " << font;
  }
  EXPECT_EQ(sheet.prompts.texts(), std::vector<std::string>{});
  EXPECT_EQ(ImageBytes(), image);
}

}  // namespace
