// The Font Images page through the sheet's logic on fake controls.
#include "rom/ValueText.h"
#include "tests/support/PageTest.h"

namespace {

using namespace testing_support;

Bytes Rows(int count, std::uint8_t first) {
  Bytes rows;
  for (int i = 0; i < count; ++i) rows.push_back(static_cast<std::uint8_t>(first + i));
  return rows;
}

// The sixteen row boxes expected for `rows`: two hex digits each, empty past them.
std::vector<std::string> HexRows(const Bytes& rows) {
  std::vector<std::string> texts(16);
  for (std::size_t i = 0; i < rows.size(); ++i) texts[i] = rom::HexText(rows[i], 2);
  return texts;
}

class FontImageTest : public testing_support::PageTest {
 protected:
  FontImageTest() : PageTest(5) {}

  std::vector<std::string> RowTexts() {
    std::vector<std::string> texts;
    for (int r = 0; r < 16; ++r) texts.push_back(Text(IDC_GLYPH_ROW_FIRST + r));
    return texts;
  }
  // Visibility of the row boxes and then of the three character lists, as "1" and "0".
  std::string VisibleRows() {
    std::string mask;
    for (int id = IDC_GLYPH_ROW_FIRST; id < IDC_GLYPH_ROW_FIRST + 16; ++id) mask += ui().IsVisible(id) ? '1' : '0';
    return mask;
  }
  std::string VisibleLists() {
    std::string mask;
    for (int id : {IDC_CHAR_LIST_FULL, IDC_CHAR_LIST_9X14, IDC_CHAR_LIST_9X16}) mask += ui().IsVisible(id) ? '1' : '0';
    return mask;
  }
  // Grid row r as nine characters, '#' for a visible cell.
  std::string GridRow(int r) {
    std::string cells;
    for (int c = 0; c < 9; ++c) cells += ui().IsVisible(IDC_GRID_CELL_FIRST + 9 * r + c) ? '#' : '.';
    return cells;
  }
  std::vector<std::string> Entries(int listId) { return ui().state(listId).items; }
  void TypeAllRows(const std::string& text) {
    for (int r = 0; r < 16; ++r) Type(IDC_GLYPH_ROW_FIRST + r, text);
  }
  // Reloading the glyph on show changes no control's visibility: at most the three character lists are shown.
  void ExpectNoBlinkOnReload(int listId) {
    const int shows = ui().shows();
    sheet->CloseUp(listId);
    EXPECT_LE(ui().shows() - shows, 3);
  }
};

TEST_F(FontImageTest, FullFontGlyphIsReadAtCodeTimesHeightEditedAndWrittenWhereItWasRead) {
  RomBuilder builder;
  builder.Glyph(14, 0x40, Rows(14, 0x10)).Glyph(14, 0x41, Rows(14, 0x30)).Glyph(14, 0x42, Rows(14, 0x50));
  builder.Glyph(16, 0x41, Rows(16, 0x70))
      .Glyph(16, 0x42, Rows(16, 0x18))
      .Glyph(8, 0x41, {0x81, 0xFF, 0x00, 0x01, 0x80});
  Show(builder);
  Pick(IDC_FONT_LIST, "Font 8x14");
  Pick(IDC_CHAR_LIST_FULL, "41h");
  EXPECT_EQ(RowTexts(), HexRows(Rows(14, 0x30)));
  EXPECT_EQ(VisibleRows(), "1111111111111100");
  EXPECT_EQ(GridRow(14) + GridRow(15), "..................");
  EXPECT_EQ(VisibleLists(), "100");
  ASSERT_EQ(Entries(IDC_CHAR_LIST_FULL).size(), 256u);
  EXPECT_EQ(Entries(IDC_CHAR_LIST_FULL)[10], "Ah");

  Type(IDC_GLYPH_ROW_FIRST, "FF");  // edits drop on a reload and on a page change
  sheet->CloseUp(IDC_CHAR_LIST_FULL);
  EXPECT_EQ(Text(IDC_GLYPH_ROW_FIRST), "30");
  Type(IDC_GLYPH_ROW_FIRST, "FF");
  Revisit(0);
  EXPECT_EQ(Text(IDC_GLYPH_ROW_FIRST), "30");
  EXPECT_EQ(ImageBytes(), builder.bytes());

  // A keyboard change of a closed list reloads nothing: Apply writes the rows on show where they were read.
  Type(IDC_GLYPH_ROW_FIRST, "5A");
  ASSERT_TRUE(ui().Choose(IDC_CHAR_LIST_FULL, "42h"));
  ExpectApplyWrites({{builder.layout().font8x14 + 0x41 * 14, 0x5A}});
  EXPECT_EQ(Text(IDC_GLYPH_ROW_FIRST), "50");  // the reload after Apply shows the new choice

  Pick(IDC_FONT_LIST, "Font 8x16");
  const int batches = ui().batches();
  Pick(IDC_CHAR_LIST_FULL, "42h");
  Pick(IDC_CHAR_LIST_FULL, "41h");  // each glyph change repaints in one batch
  EXPECT_EQ(ui().batches(), batches + 2);
  EXPECT_EQ(ui().updateDepth(), 0);
  EXPECT_EQ(ui().unbatchedShows(), 0);
  ExpectNoBlinkOnReload(IDC_CHAR_LIST_FULL);
  EXPECT_EQ(VisibleRows(), "1111111111111111");
  EXPECT_EQ(RowTexts(), HexRows(Rows(16, 0x70)));
  EXPECT_EQ(GridRow(15), ".#######.");
  Type(IDC_GLYPH_ROW_FIRST + 15, "77");
  ASSERT_TRUE(ui().Choose(IDC_FONT_LIST, "Font 8x8"));
  ExpectApplyWrites({{builder.layout().font8x16 + 0x41 * 16 + 15, 0x77}});

  // 8x8: the rows past eight are emptied, the grid shows the bits, typed rows are stored as hex.
  EXPECT_EQ(VisibleRows(), "1111111100000000");
  EXPECT_EQ(RowTexts(), HexRows({0x81, 0xFF, 0x00, 0x01, 0x80, 0, 0, 0}));
  const char* grid[] = {"#......#.", "########.", ".........", ".......#.", "#........"};
  for (int r = 0; r < 16; ++r) EXPECT_EQ(GridRow(r), r < 5 ? grid[r] : ".........") << r;
  const char* typed[] = {"f", "G1", "", "abc"};  // the box takes two characters
  for (int r = 0; r < 4; ++r) Type(IDC_GLYPH_ROW_FIRST + r, typed[r]);
  Apply();
  const std::uint32_t glyph = builder.layout().font8x8 + 0x41 * 8;
  EXPECT_EQ(Bytes(rom::RomImage.data() + glyph, rom::RomImage.data() + glyph + 5),
            (Bytes{0x0F, 0x00, 0x00, 0xAB, 0x80}));
  EXPECT_EQ(GridRow(0), "....####.");  // the grid follows the stored rows
  EXPECT_TRUE(Messages().empty());
}

TEST_F(FontImageTest, FixupRecordsAreListedByCodeReadAfterTheirCodeAndFollowEachOpenedImage) {
  RomBuilder builder, other, none;
  builder.Fixups(14, {{0x4D, Rows(14, 0x60)}, {0x0A, Rows(14, 0x80)}, {0x31, Rows(14, 0x90)}});
  builder.Fixups(16,
                 {{0x41, Rows(16, 0x20)}, {0xBF, {0xFF}}, {0xC0, {0x01, 0xFE, 0x00}}, {0xDF, {0xFF}}, {0xE0, {0x01}}});
  other.Fixups(14, {{0x31, Rows(14, 0x40)}});
  Show(builder);
  EXPECT_EQ(Entries(IDC_CHAR_LIST_9X14), (std::vector<std::string>{"4Dh", "0Ah", "31h"}));
  EXPECT_EQ(Entries(IDC_CHAR_LIST_9X16), (std::vector<std::string>{"41h", "BFh", "C0h", "DFh", "E0h"}));
  Pick(IDC_FONT_LIST, "Font 9x16 Fix-up Table");
  EXPECT_EQ(VisibleLists(), "001");
  EXPECT_EQ(RowTexts(), HexRows(Rows(16, 0x20)));
  // The ninth column repeats the eighth dot for the line graphics C0h to DFh only.
  for (const auto& [code, row] :
       {std::pair{"BFh", "########."}, {"DFh", "#########"}, {"E0h", ".......#."}, {"C0h", ".......##"}}) {
    Pick(IDC_CHAR_LIST_9X16, code);
    EXPECT_EQ(GridRow(0), row) << code;
  }
  EXPECT_EQ(GridRow(1) + " " + GridRow(2), "#######.. .........");  // C0h: a zero row lights nothing
  ExpectNoBlinkOnReload(IDC_CHAR_LIST_9X16);

  Pick(IDC_FONT_LIST, "Font 9x14 Fix-up Table");
  EXPECT_EQ(VisibleLists(), "010");
  Pick(IDC_CHAR_LIST_9X14, "0Ah");
  EXPECT_EQ(RowTexts(), HexRows(Rows(14, 0x80)));
  EXPECT_EQ(VisibleRows(), "1111111111111100");
  ExpectApplyWrites({});
  TypeAllRows("00");
  Bytes expected = builder.bytes();
  const std::uint32_t rows = builder.layout().fixup9x14 + 16;  // after record 0 and the code 0Ah
  std::fill(expected.begin() + rows, expected.begin() + rows + 14, 0x00);
  Apply();
  EXPECT_EQ(ImageBytes(), expected);

  for (int open = 0; open < 2; ++open) sheet->prompts.Answer(ui::Answer::kNo);  // the Apply left the image modified
  sheet->SetActivePage(0);  // opened while another page is active: rebuilt at the next activation
  Open(Write(other, "other.rom"));
  sheet->SetActivePage(5);
  EXPECT_EQ(Entries(IDC_CHAR_LIST_9X14), std::vector<std::string>{"31h"});
  EXPECT_EQ(Text(IDC_GLYPH_ROW_FIRST), "40");
  Open(Write(none, "none.rom"));  // opened while shown, with an empty table: nothing to show or write
  EXPECT_TRUE(Entries(IDC_CHAR_LIST_9X14).empty());
  EXPECT_EQ(VisibleRows(), "0000000000000000");
  TypeAllRows("FF");
  ExpectApplyWrites({});
}

TEST_F(FontImageTest, StructuresPastTheImageAreNeitherShownNorWritten) {
  testing_support::RomLayout fontAtEnd, fixupsAtEnd;
  fontAtEnd.font8x14 = 0x7F00;  // glyph 12h has four rows in the image, 13h none
  RomBuilder font(fontAtEnd);
  font.Bytes(0x7F00 + 0x12 * 14, {0xA1, 0xA2, 0xA3, 0xA4});
  Show(font);
  Pick(IDC_FONT_LIST, "Font 8x14");
  Pick(IDC_CHAR_LIST_FULL, "12h");
  EXPECT_EQ(VisibleRows(), "1111000000000000");
  EXPECT_EQ(RowTexts(), HexRows({0xA1, 0xA2, 0xA3, 0xA4}));
  EXPECT_EQ(GridRow(4), ".........");
  TypeAllRows("0E");
  ExpectApplyWrites({{0x7FFC, 0x0E}, {0x7FFD, 0x0E}, {0x7FFE, 0x0E}, {0x7FFF, 0x0E}});
  Pick(IDC_CHAR_LIST_FULL, "13h");
  EXPECT_EQ(VisibleRows(), "0000000000000000");
  EXPECT_TRUE(Messages().empty());

  fixupsAtEnd.fixup9x16 = 0x7FD0;  // records at 7FD0h, 7FE1h and 7FF2h, no 0x00 code before the end
  RomBuilder fixups(fixupsAtEnd);
  for (std::uint32_t p = 0x7FD0; p < 0x8000; ++p) fixups.Byte(p, 0x11);
  fixups.Byte(0x7FD0, 0x41).Byte(0x7FE1, 0x42).Byte(0x7FF2, 0x43);
  Show(fixups);
  Pick(IDC_FONT_LIST, "Font 9x16 Fix-up Table");
  EXPECT_EQ(Entries(IDC_CHAR_LIST_9X16), (std::vector<std::string>{"41h", "42h", "43h"}));
  Pick(IDC_CHAR_LIST_9X16, "43h");
  EXPECT_EQ(VisibleRows(), "1111111111111000");
  TypeAllRows("22");
  Bytes expected = ImageBytes();
  std::fill(expected.begin() + 0x7FF3, expected.end(), 0x22);
  Apply();
  EXPECT_EQ(ImageBytes(), expected);
  EXPECT_TRUE(Messages().empty());

  font.Word(0x50, 0x7FF8);  // the OEM pointer table itself
  Show(font);
  ExpectError("7FF8");
  EXPECT_TRUE(Entries(IDC_CHAR_LIST_9X14).empty() && Entries(IDC_CHAR_LIST_9X16).empty());
  EXPECT_EQ(VisibleRows(), "0000000000000000");
  Type(IDC_GLYPH_ROW_FIRST, "FF");
  ExpectApplyWrites({});
}

}  // namespace
