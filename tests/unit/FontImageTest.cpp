#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "res/resource.h"
#include "rom/RomImage.h"
#include "rom/ValueText.h"
#include "tests/support/FakeSheet.h"
#include "tests/support/RomBuilder.h"

namespace {

using testing_support::FakeControls;
using testing_support::FakeSheet;
using testing_support::FixupRecord;
using testing_support::RomBuilder;
using testing_support::RomLayout;

constexpr int kFontPage = 5;

std::vector<std::uint8_t> Rows(int count, std::uint8_t first) {
  std::vector<std::uint8_t> rows;
  for (int i = 0; i < count; ++i) rows.push_back(static_cast<std::uint8_t>(first + i));
  return rows;
}

std::vector<std::uint8_t> Image() {
  return {rom::RomImage.data(), rom::RomImage.data() + rom::kRomSize};
}

class FontImageTest : public ::testing::Test {
 protected:
  void SetUp() override { rom::ResetRomState(); }

  // Only what this page says counts: the start page may have spoken first.
  void Show(const RomBuilder& builder) {
    builder.Load();
    sheet.Start();
    sheet.prompts.ClearRecords();
    sheet.SetActivePage(kFontPage);
  }
  FakeControls& ui() { return sheet.controls(kFontPage); }
  void Pick(int listId, const std::string& entry) {
    ui().Choose(listId, entry);
    sheet.CloseUp(listId);
  }
  void Apply() { sheet.Command(1); }

  std::vector<std::string> RowTexts() {
    std::vector<std::string> texts;
    for (int r = 0; r < 16; ++r) texts.push_back(ui().GetText(IDC_GLYPH_ROW_FIRST + r));
    return texts;
  }
  // Rows whose box is visible, as a mask "1111..00".
  std::string VisibleRows() {
    std::string mask;
    for (int r = 0; r < 16; ++r) mask += ui().IsVisible(IDC_GLYPH_ROW_FIRST + r) ? '1' : '0';
    return mask;
  }
  // Grid row r as nine characters, '#' for a visible cell.
  std::string GridRow(int r) {
    std::string cells;
    for (int c = 0; c < 9; ++c) cells += ui().IsVisible(IDC_GRID_CELL_FIRST + 9 * r + c) ? '#' : '.';
    return cells;
  }
  std::vector<std::string> Entries(int listId) { return ui().state(listId).items; }

  FakeSheet sheet;
};

TEST_F(FontImageTest, FullFontGlyphIsReadAtCodeTimesHeight) {
  RomBuilder builder;
  builder.Glyph(14, 0x40, Rows(14, 0x10)).Glyph(14, 0x41, Rows(14, 0x30)).Glyph(14, 0x42, Rows(14, 0x50));
  Show(builder);
  EXPECT_EQ(Entries(IDC_FONT_LIST), (std::vector<std::string>{"Font 8x8", "Font 8x14", "Font 8x16",
                                                              "Font 9x14 Fix-up Table", "Font 9x16 Fix-up Table"}));
  Pick(IDC_FONT_LIST, "Font 8x14");
  Pick(IDC_CHAR_LIST_FULL, "41h");

  std::vector<std::string> expected;
  for (int i = 0; i < 14; ++i) expected.push_back(rom::HexText(0x30u + i, 2));
  expected.insert(expected.end(), {"", ""});
  EXPECT_EQ(RowTexts(), expected);
  EXPECT_EQ(VisibleRows(), "1111111111111100");
  EXPECT_EQ(GridRow(14), ".........");
  EXPECT_EQ(GridRow(15), ".........");
  EXPECT_EQ(ui().state(IDC_GLYPH_ROW_FIRST).limit, 2);
  EXPECT_TRUE(ui().IsVisible(IDC_CHAR_LIST_FULL));
  EXPECT_FALSE(ui().IsVisible(IDC_CHAR_LIST_9X14));
  EXPECT_FALSE(ui().IsVisible(IDC_CHAR_LIST_9X16));

  const std::vector<std::string> full = Entries(IDC_CHAR_LIST_FULL);
  ASSERT_EQ(full.size(), 256u);
  EXPECT_EQ(full[0], "0h");
  EXPECT_EQ(full[10], "Ah");
  EXPECT_EQ(full[255], "FFh");
}

TEST_F(FontImageTest, FixupRecordsAreListedByCodeAndReadAfterTheirCode) {
  RomBuilder builder;
  builder.Fixups(14, {{0x4D, Rows(14, 0x60)}, {0x0A, Rows(14, 0x80)}});
  builder.Fixups(16, {{0x41, Rows(16, 0x20)}});
  Show(builder);
  EXPECT_EQ(Entries(IDC_CHAR_LIST_9X14), (std::vector<std::string>{"4Dh", "0Ah"}));
  EXPECT_EQ(Entries(IDC_CHAR_LIST_9X16), (std::vector<std::string>{"41h"}));

  Pick(IDC_FONT_LIST, "Font 9x14 Fix-up Table");
  EXPECT_TRUE(ui().IsVisible(IDC_CHAR_LIST_9X14));
  EXPECT_FALSE(ui().IsVisible(IDC_CHAR_LIST_FULL));
  EXPECT_FALSE(ui().IsVisible(IDC_CHAR_LIST_9X16));
  Pick(IDC_CHAR_LIST_9X14, "0Ah");
  const std::uint32_t f = builder.layout().fixup9x14;
  for (int i = 0; i < 14; ++i) EXPECT_EQ(RowTexts()[i], rom::HexText(builder.ByteAt(f + 16 + i), 2)) << i;
  EXPECT_EQ(RowTexts()[0], "80");
  EXPECT_EQ(VisibleRows(), "1111111111111100");

  Pick(IDC_FONT_LIST, "Font 9x16 Fix-up Table");
  EXPECT_TRUE(ui().IsVisible(IDC_CHAR_LIST_9X16));
  EXPECT_EQ(RowTexts()[15], "2F");
}

TEST_F(FontImageTest, SwitchingHeightsEmptiesAndRefillsRows) {
  RomBuilder builder;
  builder.Glyph(16, 0, Rows(16, 0x11)).Glyph(8, 0, Rows(8, 0x41));
  Show(builder);
  Pick(IDC_FONT_LIST, "Font 8x16");
  EXPECT_EQ(VisibleRows(), "1111111111111111");
  EXPECT_EQ(RowTexts()[15], "20");

  Pick(IDC_FONT_LIST, "Font 8x8");
  EXPECT_EQ(VisibleRows(), "1111111100000000");
  EXPECT_EQ(RowTexts()[0], "41");
  for (int r = 8; r < 16; ++r) {
    EXPECT_EQ(RowTexts()[r], "") << r;
    EXPECT_EQ(GridRow(r), ".........") << r;
  }

  Pick(IDC_FONT_LIST, "Font 8x16");
  EXPECT_EQ(VisibleRows(), "1111111111111111");
  EXPECT_EQ(RowTexts()[8], "19");
  EXPECT_EQ(GridRow(15), "..#......");
}

TEST_F(FontImageTest, GridShowsTheBitsOfEachRow) {
  RomBuilder builder;
  builder.Glyph(8, 0x41, {0x81, 0xFF, 0x00, 0x01, 0x80});
  Show(builder);
  Pick(IDC_CHAR_LIST_FULL, "41h");
  EXPECT_EQ(GridRow(0), "#......#.");
  EXPECT_EQ(GridRow(1), "########.");
  EXPECT_EQ(GridRow(2), ".........");
  EXPECT_EQ(GridRow(3), ".......#.");
  EXPECT_EQ(GridRow(4), "#........");
}

TEST_F(FontImageTest, NinthColumnRepeatsEighthDotForLineGraphicsOnly) {
  RomBuilder builder;
  builder.Fixups(16, {{0xBF, {0xFF}}, {0xC0, {0x01, 0xFE, 0x00}}, {0xDF, {0xFF}}, {0xE0, {0x01}}});
  Show(builder);
  Pick(IDC_FONT_LIST, "Font 9x16 Fix-up Table");
  EXPECT_EQ(GridRow(0), "########.");  // BFh: no line graphics

  Pick(IDC_CHAR_LIST_9X16, "C0h");
  EXPECT_EQ(GridRow(0), ".......##");
  EXPECT_EQ(GridRow(1), "#######..");
  EXPECT_EQ(GridRow(2), ".........");

  Pick(IDC_CHAR_LIST_9X16, "DFh");
  EXPECT_EQ(GridRow(0), "#########");
  Pick(IDC_CHAR_LIST_9X16, "E0h");
  EXPECT_EQ(GridRow(0), ".......#.");
}

TEST_F(FontImageTest, TypedRowsAreStoredAsHexWithBadTextAsZero) {
  RomBuilder builder;
  builder.Glyph(8, 0x41, {0x11, 0x22, 0x33, 0x44});
  Show(builder);
  Pick(IDC_CHAR_LIST_FULL, "41h");
  ui().Type(IDC_GLYPH_ROW_FIRST + 0, "f");
  ui().Type(IDC_GLYPH_ROW_FIRST + 1, "G1");
  ui().Type(IDC_GLYPH_ROW_FIRST + 2, "");
  ui().Type(IDC_GLYPH_ROW_FIRST + 3, "abc");  // the box takes two characters
  Apply();

  const std::uint32_t glyph = builder.layout().font8x8 + 0x41 * 8;
  EXPECT_EQ(rom::RomImage.Byte(glyph + 0), 0x0F);
  EXPECT_EQ(rom::RomImage.Byte(glyph + 1), 0x00);
  EXPECT_EQ(rom::RomImage.Byte(glyph + 2), 0x00);
  EXPECT_EQ(rom::RomImage.Byte(glyph + 3), 0xAB);
  EXPECT_EQ(rom::romModified, 1);
  EXPECT_EQ(RowTexts()[0], "0F");
  EXPECT_EQ(RowTexts()[1], "00");
  EXPECT_EQ(RowTexts()[2], "00");
  EXPECT_EQ(GridRow(0), "....####.");
  EXPECT_EQ(GridRow(1), ".........");
  EXPECT_TRUE(sheet.prompts.messages().empty());
}

TEST_F(FontImageTest, ApplyChangesOnlyTheRowsOfTheShownGlyph) {
  RomBuilder builder;
  builder.Fixups(14, {{0x4D, Rows(14, 0x60)}, {0x0A, Rows(14, 0x80)}, {0x31, Rows(14, 0x90)}});
  Show(builder);
  Pick(IDC_FONT_LIST, "Font 9x14 Fix-up Table");
  Pick(IDC_CHAR_LIST_9X14, "0Ah");

  const std::vector<std::uint8_t> before = Image();
  Apply();
  EXPECT_EQ(Image(), before) << "Apply without edits";

  for (int r = 0; r < 16; ++r) ui().Type(IDC_GLYPH_ROW_FIRST + r, "00");
  Apply();
  const std::vector<std::uint8_t> after = Image();
  const std::uint32_t record = builder.layout().fixup9x14 + 15;
  int changed = 0;
  for (std::uint32_t i = 0; i < rom::kRomSize; ++i) {
    if (after[i] == before[i]) continue;
    ++changed;
    EXPECT_GT(i, record) << "changed byte at " << i;
    EXPECT_LE(i, record + 14) << "changed byte at " << i;
  }
  EXPECT_EQ(changed, 14);
  EXPECT_EQ(after[record], 0x0A);
  EXPECT_EQ(after[record + 15], 0x31);
}

TEST_F(FontImageTest, UnappliedEditsAreDroppedOnReload) {
  RomBuilder builder;
  builder.Glyph(8, 0, {0x3C});
  Show(builder);
  ui().Type(IDC_GLYPH_ROW_FIRST, "FF");
  sheet.CloseUp(IDC_CHAR_LIST_FULL);
  EXPECT_EQ(RowTexts()[0], "3C");
  ui().Type(IDC_GLYPH_ROW_FIRST, "FF");
  sheet.SetActivePage(0);
  sheet.SetActivePage(kFontPage);
  EXPECT_EQ(RowTexts()[0], "3C");
  EXPECT_EQ(rom::RomImage.Byte(builder.layout().font8x8), 0x3C);
}

// A keyboard change of a closed list reloads nothing; Apply then writes the
// rows on show where they were read from.
TEST_F(FontImageTest, ApplyAfterKeyboardChangeWritesTheGlyphOnShow) {
  RomBuilder builder;
  builder.Glyph(14, 0x41, Rows(14, 0x30)).Glyph(14, 0x42, Rows(14, 0x50));
  builder.Glyph(16, 0x41, Rows(16, 0x70)).Glyph(8, 0x41, Rows(8, 0x10));
  Show(builder);
  Pick(IDC_FONT_LIST, "Font 8x14");
  Pick(IDC_CHAR_LIST_FULL, "41h");
  ui().Type(IDC_GLYPH_ROW_FIRST, "5A");
  ui().Choose(IDC_CHAR_LIST_FULL, "42h");
  Apply();
  EXPECT_EQ(rom::RomImage.Byte(builder.layout().font8x14 + 0x41 * 14), 0x5A);
  EXPECT_EQ(rom::RomImage.Byte(builder.layout().font8x14 + 0x42 * 14), 0x50);
  EXPECT_EQ(RowTexts()[0], "50");  // the reload after Apply shows the new choice

  Pick(IDC_FONT_LIST, "Font 8x16");
  Pick(IDC_CHAR_LIST_FULL, "41h");
  ui().Type(IDC_GLYPH_ROW_FIRST + 15, "77");
  ui().Choose(IDC_FONT_LIST, "Font 8x8");
  const std::vector<std::uint8_t> before = Image();
  Apply();
  std::vector<std::uint8_t> expected = before;
  expected[builder.layout().font8x16 + 0x41 * 16 + 15] = 0x77;
  EXPECT_EQ(Image(), expected);
  EXPECT_EQ(VisibleRows(), "1111111100000000");
}

TEST_F(FontImageTest, FixupListsFollowEachOpenedImage) {
  const std::filesystem::path dir = ::testing::TempDir();
  const std::filesystem::path second = dir / "font_image_second.rom";
  const std::filesystem::path empty = dir / "font_image_empty.rom";
  RomBuilder other;
  other.Fixups(14, {{0x31, Rows(14, 0x40)}});
  other.WriteFile(second);
  RomBuilder none;
  none.WriteFile(empty);

  RomBuilder builder;
  builder.Fixups(14, {{0x4D, Rows(14, 0x60)}, {0x0A, Rows(14, 0x80)}});
  Show(builder);
  Pick(IDC_FONT_LIST, "Font 9x14 Fix-up Table");
  Pick(IDC_CHAR_LIST_9X14, "0Ah");

  // Opened while another page is active: rebuilt at the next activation.
  sheet.SetActivePage(0);
  sheet.prompts.ChooseOpen(second);
  sheet.Command(ID_FILE_OPEN_ROM);
  sheet.SetActivePage(kFontPage);
  EXPECT_EQ(Entries(IDC_CHAR_LIST_9X14), std::vector<std::string>{"31h"});
  EXPECT_EQ(RowTexts()[0], "40");

  // Opened while this page is active, with an empty table: nothing to show or write.
  sheet.prompts.ChooseOpen(empty);
  sheet.Command(ID_FILE_OPEN_ROM);
  EXPECT_TRUE(Entries(IDC_CHAR_LIST_9X14).empty());
  EXPECT_EQ(VisibleRows(), "0000000000000000");
  for (int r = 0; r < 16; ++r) ui().Type(IDC_GLYPH_ROW_FIRST + r, "FF");
  const std::vector<std::uint8_t> before = Image();
  Apply();
  EXPECT_EQ(Image(), before);
  EXPECT_TRUE(sheet.prompts.Exhausted());
  std::filesystem::remove(second);
  std::filesystem::remove(empty);
}

TEST_F(FontImageTest, GlyphRowsPastTheImageAreNeitherShownNorWritten) {
  RomLayout layout;
  layout.font8x14 = 0x7F00;
  RomBuilder builder(layout);
  builder.Bytes(0x7F00 + 0x12 * 14, {0xA1, 0xA2, 0xA3, 0xA4});  // glyph 12h: four rows in the image
  Show(builder);
  Pick(IDC_FONT_LIST, "Font 8x14");
  Pick(IDC_CHAR_LIST_FULL, "12h");
  EXPECT_EQ(VisibleRows(), "1111000000000000");
  EXPECT_EQ(RowTexts()[3], "A4");
  EXPECT_EQ(RowTexts()[4], "");
  EXPECT_EQ(GridRow(4), ".........");

  for (int r = 0; r < 14; ++r) ui().Type(IDC_GLYPH_ROW_FIRST + r, "0E");
  std::vector<std::uint8_t> expected = Image();
  for (std::uint32_t p = 0x7FFC; p < 0x8000; ++p) expected[p] = 0x0E;
  Apply();
  EXPECT_EQ(Image(), expected);

  Pick(IDC_CHAR_LIST_FULL, "13h");  // wholly outside
  EXPECT_EQ(VisibleRows(), "0000000000000000");
  EXPECT_TRUE(sheet.prompts.messages().empty());
}

TEST_F(FontImageTest, FixupTableWithoutEndStopsAtTheEndOfTheImage) {
  RomLayout layout;
  layout.fixup9x16 = 0x7FD0;
  RomBuilder builder(layout);
  // Records at 7FD0h, 7FE1h and 7FF2h, no 0x00 code before the end of the image.
  for (std::uint32_t p = 0x7FD0; p < 0x8000; ++p) builder.Byte(p, 0x11);
  builder.Byte(0x7FD0, 0x41).Byte(0x7FE1, 0x42).Byte(0x7FF2, 0x43);
  Show(builder);
  Pick(IDC_FONT_LIST, "Font 9x16 Fix-up Table");
  EXPECT_EQ(Entries(IDC_CHAR_LIST_9X16), (std::vector<std::string>{"41h", "42h", "43h"}));
  Pick(IDC_CHAR_LIST_9X16, "43h");
  EXPECT_EQ(VisibleRows(), "1111111111111000");

  for (int r = 0; r < 16; ++r) ui().Type(IDC_GLYPH_ROW_FIRST + r, "22");
  std::vector<std::uint8_t> expected = Image();
  for (std::uint32_t p = 0x7FF3; p < 0x8000; ++p) expected[p] = 0x22;
  Apply();
  EXPECT_EQ(Image(), expected);
  EXPECT_TRUE(sheet.prompts.messages().empty());
}

TEST_F(FontImageTest, OemTableOutsideTheImageIsRefused) {
  RomBuilder builder;
  builder.Word(0x50, 0x7FF8);
  Show(builder);
  ASSERT_EQ(sheet.prompts.messages().size(), 1u);
  EXPECT_EQ(sheet.prompts.messages()[0].caption, "Error Message");
  EXPECT_NE(sheet.prompts.messages()[0].text.find("7FF8"), std::string::npos);
  EXPECT_EQ(VisibleRows(), "0000000000000000");
  ui().Type(IDC_GLYPH_ROW_FIRST, "FF");
  const std::vector<std::uint8_t> before = Image();
  Apply();
  EXPECT_EQ(Image(), before);
}

TEST_F(FontImageTest, GlyphChangeRepaintsOnce) {
  RomBuilder builder;
  builder.Glyph(16, 0x41, Rows(16, 0x81)).Glyph(16, 0x42, Rows(16, 0x18));
  Show(builder);
  Pick(IDC_FONT_LIST, "Font 8x16");
  const int batches = ui().batches();
  Pick(IDC_CHAR_LIST_FULL, "41h");
  Pick(IDC_CHAR_LIST_FULL, "42h");
  EXPECT_EQ(ui().batches(), batches + 2);
  EXPECT_EQ(ui().updateDepth(), 0);
  EXPECT_EQ(ui().unbatchedShows(), 0);

  // Reloading the same glyph changes no control's visibility, so it makes no Show call.
  const int shows = ui().shows();
  sheet.CloseUp(IDC_CHAR_LIST_FULL);
  EXPECT_LE(ui().shows() - shows, 3);  // at most the three character lists
}

}  // namespace
