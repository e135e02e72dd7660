// The Font Images page in the real window: close-ups of the lists, the real grid cells, typed rows.
#include <windows.h>

#include <string>
#include <vector>

#include "tests/win32/PageWindowTest.h"

namespace win32_tests {
namespace {

using testing_support::FixupRecord;
using testing_support::RomBuilder;

constexpr int kPage = 5;
// Entries of the font list.
constexpr int kFont8x8 = 0;
constexpr int kFont8x16 = 2;
constexpr int kFixup9x14 = 3;

const std::vector<std::uint8_t> kGlyph8x8 = {0x81, 0xFF, 0x00, 0x18, 0x3C, 0x66, 0x42, 0x01};

std::vector<std::uint8_t> Fixup14(std::uint8_t first, std::uint8_t second) {
  std::vector<std::uint8_t> rows(14, 0x00);
  rows[0] = first;
  rows[1] = second;
  rows[13] = 0x80;
  return rows;
}

class PagesFontImagesTest : public PageWindowTest {
 protected:
  void OpenFonts() {
    builder.Glyph(8, 0x41, kGlyph8x8);
    std::vector<std::uint8_t> rows;
    for (int r = 0; r < 16; ++r) rows.push_back(static_cast<std::uint8_t>(0x41 * 37 + r * 101));
    builder.Glyph(16, 0x41, rows);
    builder.Fixups(14, {FixupRecord{0x4D, Fixup14(0x01, 0x81)}, FixupRecord{0xC4, Fixup14(0x01, 0xFF)}});
    OpenImage(builder, "font-images");
    ShowPage(kPage);
    ASSERT_TRUE(IsWindowVisible(Page(kPage)));
  }
  void Choose(int listId, int entry) { CloseUpOn(kPage, listId, entry); }
  bool Shown(int id) const { return IsWindowVisible(Control(kPage, id)) != FALSE; }
  // Grid row r as nine characters, '#' for a visible cell.
  std::string GridRow(int r) const {
    std::string cells;
    for (int c = 0; c < 9; ++c) cells += Shown(IDC_GRID_CELL_FIRST + 9 * r + c) ? '#' : '.';
    return cells;
  }
  // What an 8-wide glyph row should light.
  static std::string Lit(std::uint8_t b) {
    std::string cells;
    for (int c = 0; c < 8; ++c) cells += ((b >> (7 - c)) & 1) != 0 ? '#' : '.';
    return cells + '.';
  }
  std::wstring RowBox(int r) const { return Text(Control(kPage, IDC_GLYPH_ROW_FIRST + r)); }
  std::uint32_t Glyph16(int code) const { return builder.fontOffset(16) + 16u * static_cast<std::uint32_t>(code); }

  RomBuilder builder;
};

TEST_F(PagesFontImagesTest, CloseUpsShowTheGlyphInRealCells) {
  OpenFonts();
  Choose(IDC_FONT_LIST, kFont8x8);
  Choose(IDC_CHAR_LIST_FULL, 0x41);
  EXPECT_EQ(GridRow(0), "#......#.");  // 0x81
  EXPECT_EQ(GridRow(1), "########.");
  EXPECT_EQ(GridRow(2), ".........");
  for (int r = 0; r < 8; ++r) {
    EXPECT_EQ(GridRow(r), Lit(kGlyph8x8[static_cast<std::size_t>(r)])) << "row " << r;
    EXPECT_TRUE(Shown(IDC_GLYPH_ROW_FIRST + r)) << "row " << r;
  }
  EXPECT_EQ(RowBox(0), L"81");
  EXPECT_EQ(RowBox(7), L"01");
  for (int r = 8; r < 16; ++r) {
    EXPECT_FALSE(Shown(IDC_GLYPH_ROW_FIRST + r)) << "row " << r;
    EXPECT_EQ(GridRow(r), ".........") << "row " << r;
  }

  // The taller font fills the hidden rows again; the character stays chosen.
  Choose(IDC_FONT_LIST, kFont8x16);
  for (int r = 0; r < 16; ++r) {
    const std::uint8_t b = rom::RomImage.Byte(Glyph16(0x41) + static_cast<std::uint32_t>(r));
    EXPECT_TRUE(Shown(IDC_GLYPH_ROW_FIRST + r)) << "row " << r;
    EXPECT_EQ(GridRow(r), Lit(b)) << "row " << r;
  }

  // A fix-up table: its own list, its records' codes, and the ninth dot.
  Choose(IDC_FONT_LIST, kFixup9x14);
  EXPECT_TRUE(Shown(IDC_CHAR_LIST_9X14));
  EXPECT_FALSE(Shown(IDC_CHAR_LIST_FULL));
  EXPECT_FALSE(Shown(IDC_CHAR_LIST_9X16));
  const HWND list = Control(kPage, IDC_CHAR_LIST_9X14);
  ASSERT_EQ(SendMessageW(list, CB_GETCOUNT, 0, 0), 2);
  wchar_t entry[16] = {};
  SendMessageW(list, CB_GETLBTEXT, 1, reinterpret_cast<LPARAM>(entry));
  EXPECT_STREQ(entry, L"C4h");
  Choose(IDC_CHAR_LIST_9X14, 0);  // 4Dh: no ninth dot
  EXPECT_EQ(GridRow(0), ".......#.");
  EXPECT_EQ(GridRow(1), "#......#.");
  Choose(IDC_CHAR_LIST_9X14, 1);  // C4h, a line drawing character: the eighth dot repeats
  EXPECT_EQ(GridRow(0), ".......##");
  EXPECT_EQ(GridRow(1), "#########");
  EXPECT_EQ(GridRow(2), ".........");
  EXPECT_EQ(GridRow(13), "#........");
  for (int r = 14; r < 16; ++r) {
    EXPECT_FALSE(Shown(IDC_GLYPH_ROW_FIRST + r)) << "row " << r;
    EXPECT_EQ(GridRow(r), ".........") << "row " << r;
  }
}

TEST_F(PagesFontImagesTest, TypedRowIsWrittenByApplyAndTheGridFollows) {
  OpenFonts();
  Choose(IDC_FONT_LIST, kFont8x16);
  Choose(IDC_CHAR_LIST_FULL, 0x41);
  EXPECT_EQ(SendMessageW(Control(kPage, IDC_GLYPH_ROW_FIRST + 3), EM_GETLIMITTEXT, 0, 0), 2);
  const std::vector<std::uint8_t> before = ImageBytes();
  Put(Control(kPage, IDC_GLYPH_ROW_FIRST + 3), L"");
  TypeAtEnd(Control(kPage, IDC_GLYPH_ROW_FIRST + 3), L"7e");
  Press(IDOK);

  std::vector<std::uint8_t> expected = before;
  expected[Glyph16(0x41) + 3] = 0x7E;
  EXPECT_TRUE(ImageBytes() == expected);
  EXPECT_EQ(RowBox(3), L"7E");
  EXPECT_EQ(GridRow(3), ".######..");

  // In the fix-up table a row is written into its record, never over the code byte.
  Choose(IDC_FONT_LIST, kFixup9x14);
  Choose(IDC_CHAR_LIST_9X14, 1);
  const std::uint32_t record = builder.fixupOffset(14) + 15;  // the second record
  Put(Control(kPage, IDC_GLYPH_ROW_FIRST), L"C0");
  Press(IDOK);
  EXPECT_EQ(rom::RomImage.Byte(record), 0xC4);
  EXPECT_EQ(rom::RomImage.Byte(record + 1), 0xC0);
  EXPECT_EQ(GridRow(0), "##.......");
}

}  // namespace
}  // namespace win32_tests
