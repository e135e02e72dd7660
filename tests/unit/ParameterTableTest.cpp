// The Parameter Table page through the sheet's logic on fake controls.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "res/resource.h"
#include "rom/RomImage.h"
#include "rom/ValueText.h"
#include "tests/support/FakeSheet.h"
#include "tests/support/RomBuilder.h"

namespace {

using testing_support::ExMode;
using testing_support::FakeControls;
using testing_support::FakeSheet;
using testing_support::RomBuilder;
using testing_support::RomLayout;

const char* const kRow3 = "Mode 3 - 80x25 Color Text (8x8 Cell)";
const char* const kRow4 = "Mode 4 - 320x200x2 Color Graphics (8x8 Cell)";

// Every byte of parameter record i is i + 7 x (its position), so box 35 shows the record index.
RomBuilder Image(RomLayout layout = {}) {
  RomBuilder b(layout);
  for (int i = 0; i < 40 && b.parameterRecordOffset(i) + 64 <= 0x8000; ++i) {
    std::array<std::uint8_t, 64> record{};
    for (int j = 0; j < 64; ++j) record[static_cast<std::size_t>(j)] = static_cast<std::uint8_t>(i + 7 * j);
    b.ParameterRecord(i, record);
  }
  return b;
}

ExMode Mode(std::uint8_t modeIndex, std::uint16_t number, std::uint8_t model = 6) {
  return ExMode{modeIndex, number, model, 640, 480, 16};
}

std::vector<std::uint8_t> ImageBytes() {
  return {rom::RomImage.data(), rom::RomImage.data() + rom::kRomSize};
}

class ParameterTableTest : public ::testing::Test {
 protected:
  void SetUp() override { rom::ResetRomState(); }

  // A new program run on the image `b`, the page shown.
  void Start(const RomBuilder& b) {
    b.Load();
    sheet = std::make_unique<FakeSheet>();
    sheet->Start();
  }
  FakeControls& c() { return sheet->controls(0); }
  std::string Box(int id) { return c().GetText(id); }
  void Show(const std::string& row) {
    c().Choose(IDC_MODE_LIST, row);
    sheet->CloseUp(IDC_MODE_LIST);
  }
  void ShowRow(int row) {
    c().ListSelect(IDC_MODE_LIST, row);
    sheet->CloseUp(IDC_MODE_LIST);
  }
  void Apply() { sheet->Command(1); }
  std::vector<std::string> Messages() { return sheet->prompts.texts(); }

  std::unique_ptr<FakeSheet> sheet;
};

TEST_F(ParameterTableTest, RowsShowAndWriteTheirOwnRecords) {
  sheet = std::make_unique<FakeSheet>();
  sheet->Start();  // no image: the standard rows, row 0, empty boxes, no Open dialog
  EXPECT_EQ(c().ListCount(IDC_MODE_LIST), 22);
  EXPECT_EQ(c().ListSelection(IDC_MODE_LIST), 0);
  EXPECT_EQ(Box(35), "");
  EXPECT_TRUE(sheet->prompts.openDialogs().empty());

  RomBuilder b = Image();
  b.ExReg(13, 0, 0xAB, 0, 0x1234);
  Start(b);
  EXPECT_EQ(Box(35), "00");
  Show("Mode D - 320x200x4 Color Graphics (8x8 Cell)");
  EXPECT_EQ(Box(35), "0D");
  EXPECT_EQ(Box(101), "AB");
  EXPECT_EQ(Box(100), "1234");
  Show("Mode 13 - 320x200x8 Color Graphics (8x8 Cell)");
  EXPECT_EQ(Box(35), "1C");
  Show("Mode F - 640x350x2 Monochrome Graphics (8x14 Cell)");
  EXPECT_EQ(Box(35), "11");

  // Every row written: exactly the 22 listed records change.
  const std::vector<std::uint8_t> before = ImageBytes();
  for (int row = 0; row < 22; ++row) {
    ShowRow(row);
    for (int id = 35; id <= 97; ++id) c().Type(id, id == 38 ? "A5A5" : "A5");
    Apply();
  }
  const std::vector<int> listed = {0, 1, 2, 3, 4, 5, 6, 7, 13, 14, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28};
  for (int i = 0; i < 40; ++i) {
    const bool isListed = std::find(listed.begin(), listed.end(), i) != listed.end();
    for (std::uint32_t j = 0; j < 64; ++j) {
      const std::uint32_t at = b.parameterRecordOffset(i) + j;
      ASSERT_EQ(rom::RomImage.Byte(at), isListed ? 0xA5 : before[at]) << "record " << i << " byte " << j;
    }
  }
  EXPECT_TRUE(Messages().empty());
}

TEST_F(ParameterTableTest, ValueBoxesTakeHexOfEitherCaseAndStoreBadTextAsZero) {
  RomBuilder b = Image();
  b.Byte(b.parameterRecordOffset(0) + 3, 0x00).Byte(b.parameterRecordOffset(0) + 4, 0x08);
  Start(b);
  EXPECT_EQ(Box(38), "0800");
  EXPECT_EQ(c().state(38).limit, 4);
  EXPECT_EQ(c().state(39).limit, 2);
  c().Type(38, "1000");
  c().Type(39, "ff");
  c().Type(40, "7");
  c().Type(41, "G1");
  c().Type(42, "");
  c().Type(43, "aBc");  // cut to "aB" by the box
  Apply();
  const std::uint32_t r = b.parameterRecordOffset(0);
  EXPECT_EQ(rom::RomImage.Byte(r + 3), 0x00);
  EXPECT_EQ(rom::RomImage.Byte(r + 4), 0x10);
  EXPECT_EQ(rom::RomImage.Byte(r + 5), 0xFF);
  EXPECT_EQ(rom::RomImage.Byte(r + 6), 0x07);
  EXPECT_EQ(rom::RomImage.Byte(r + 7), 0x00);
  EXPECT_EQ(rom::RomImage.Byte(r + 8), 0x00);
  EXPECT_EQ(rom::RomImage.Byte(r + 9), 0xAB);
  EXPECT_EQ(Box(39), "FF");
  EXPECT_EQ(Box(40), "07");
  EXPECT_EQ(rom::romModified, 1);
  EXPECT_TRUE(Messages().empty());
}

TEST_F(ParameterTableTest, ApplyWithoutEditsChangesNoByte) {
  RomBuilder b = Image();
  b.ExReg(3, 0xED, 0x12, 0x00, 0xBEEF).ExReg(0x20, 0xC2, 0x34, 0x13, 0x0102);
  b.AddExMode(Mode(0x20, 0x101)).AddExMode(Mode(0x21, 0x103));
  Start(b);
  const std::vector<std::uint8_t> before = ImageBytes();
  for (int row : {0, 3, 8, 22, 23}) {
    ShowRow(row);
    Apply();
    ASSERT_EQ(ImageBytes(), before) << "row " << row;
  }
  EXPECT_EQ(rom::romModified, 1);
}

TEST_F(ParameterTableTest, ExtendedRowTexts) {
  RomBuilder b = Image();
  b.AddExMode(ExMode{0x20, 0x101, 6, 640, 480, 16})
      .AddExMode(ExMode{0x21, 0x1A, 9, 1024, 768, 8})
      .AddExMode(ExMode{0x22, 0x11B, 10, 1280, 1024, 14})
      .AddExMode(ExMode{0x23, 0x120, 11, 800, 600, 16});
  Start(b);
  ASSERT_EQ(c().ListCount(IDC_MODE_LIST), 26);
  EXPECT_EQ(c().ListItemText(IDC_MODE_LIST, 22), "Mode 101h - 640x480 8 BPP graphics (8x16)");
  EXPECT_EQ(c().ListItemText(IDC_MODE_LIST, 23), "Mode 1Ah - 1024x768 NULL Mode (8x8)");
  EXPECT_EQ(c().ListItemText(IDC_MODE_LIST, 24), "Mode 11Bh - 1280x1024 Error Mode (8x14)");
  // A memory model past the known ones is reported, and its row still listed.
  EXPECT_EQ(c().ListItemText(IDC_MODE_LIST, 25), "Mode 120h - 800x600 memory model 11 (8x16)");
  ASSERT_EQ(sheet->prompts.messages().size(), 1u);
  EXPECT_EQ(sheet->prompts.messages()[0].caption, "Error Message");
  EXPECT_NE(Messages()[0].find("memory model 11"), std::string::npos);
}

TEST_F(ParameterTableTest, FlagsByteBothWaysKeepingBits6And7) {
  RomBuilder b = Image();
  b.ExReg(3, 0x2D, 0, 0, 0).ExReg(4, 0xED, 0, 0, 0);
  Start(b);
  Show(kRow3);
  EXPECT_TRUE(c().IsChecked(IDC_NATIVE_MODE));
  EXPECT_FALSE(c().IsChecked(IDC_INTERLACE));
  EXPECT_TRUE(c().IsChecked(IDC_NATIVE_DOUBLE_SCAN));
  EXPECT_EQ(Box(IDC_PIXEL_FORMAT), "5");
  Apply();
  EXPECT_EQ(rom::RomImage.Byte(b.exRegOffset(3)), 0x2D);

  c().Type(IDC_PIXEL_FORMAT, " 3 ");
  for (int id : {IDC_NATIVE_MODE, IDC_INTERLACE, IDC_NATIVE_DOUBLE_SCAN}) c().SetChecked(id, false);
  Apply();
  EXPECT_EQ(rom::RomImage.Byte(b.exRegOffset(3)), 0x18);

  c().Type(IDC_PIXEL_FORMAT, "0");
  for (int id : {IDC_NATIVE_MODE, IDC_INTERLACE, IDC_NATIVE_DOUBLE_SCAN}) c().SetChecked(id, true);
  Apply();
  EXPECT_EQ(rom::RomImage.Byte(b.exRegOffset(3)), 0x07);

  Show(kRow4);
  EXPECT_EQ(Box(IDC_PIXEL_FORMAT), "5");
  c().Type(IDC_PIXEL_FORMAT, "3");
  for (int id : {IDC_NATIVE_MODE, IDC_INTERLACE, IDC_NATIVE_DOUBLE_SCAN}) c().SetChecked(id, false);
  Apply();
  EXPECT_EQ(rom::RomImage.Byte(b.exRegOffset(4)), 0xD8);
}

TEST_F(ParameterTableTest, ParameterIndexOverrideAndItsMappingUntilTheNextImage) {
  RomBuilder b = Image();
  b.ExReg(0x20, 0x00, 0x00, 0x13, 0x0000).AddExMode(Mode(0x20, 0x101));
  Start(b);
  ShowRow(22);
  EXPECT_EQ(Box(35), "13");  // ParameterRecord 19
  EXPECT_EQ(Box(IDC_PARAM_INDEX), "13");
  const std::vector<std::uint8_t> before = ImageBytes();
  c().Type(IDC_PARAM_INDEX, "00");
  Apply();
  std::vector<std::uint8_t> expected = before;
  expected[b.exRegOffset(0x20) + 2] = 0x00;
  EXPECT_EQ(ImageBytes(), expected);
  EXPECT_EQ(Box(35), "13");  // the mapping stays as built

  // The same bytes as a newly loaded image: the rows are built afresh.
  RomBuilder again = b;
  again.bytes() = ImageBytes();
  again.Load();
  ShowRow(22);
  EXPECT_EQ(Box(35), "20");
}

TEST_F(ParameterTableTest, PixelFormatPromptPath) {
  RomBuilder b = Image();
  b.ExReg(3, 0x2D, 0x11, 0x00, 0x2222);
  Start(b);
  Show(kRow3);
  const std::vector<std::uint8_t> before = ImageBytes();
  c().Type(IDC_PIXEL_FORMAT, "8");
  c().Type(IDC_CRTC_1B, "99");
  c().Type(35, "FF");
  sheet->SetActivePage(1);  // a failed check keeps the page
  EXPECT_EQ(sheet->ActivePageIndex(), 0);
  sheet->prompts.ClearRecords();

  Apply();
  ASSERT_EQ(sheet->prompts.messages().size(), 1u);  // no second prompt from the reload
  EXPECT_EQ(Messages()[0], "Please enter an integer between 0 and 7.");
  EXPECT_EQ(sheet->prompts.messages()[0].caption, "Tarvel");
  EXPECT_EQ(sheet->prompts.messages()[0].icon, ui::Icon::kWarning);
  EXPECT_EQ(ImageBytes(), before);
  EXPECT_EQ(Box(IDC_PIXEL_FORMAT), "5");
  EXPECT_EQ(Box(IDC_CRTC_1B), "11");
  EXPECT_EQ(Box(35), "03");

  // No integer at all: the previous format stands and the group is written as it stands.
  sheet->prompts.ClearRecords();
  c().Type(IDC_PIXEL_FORMAT, "x");
  c().SetChecked(IDC_NATIVE_MODE, false);
  Apply();
  ASSERT_FALSE(Messages().empty());
  EXPECT_EQ(Messages()[0], "Please enter an integer.");
  EXPECT_EQ(rom::RomImage.Byte(b.exRegOffset(3)), 0x2C);
}

TEST_F(ParameterTableTest, KeyboardRowChangeWritesTheShownModesRecords) {
  RomBuilder b = Image();
  Start(b);
  Show(kRow3);
  c().Type(35, "77");
  c().Type(IDC_CRTC_1B, "99");
  c().Choose(IDC_MODE_LIST, kRow4);  // no close-up: the list stayed closed
  const std::vector<std::uint8_t> before = ImageBytes();
  Apply();
  std::vector<std::uint8_t> expected = before;
  expected[b.parameterRecordOffset(3)] = 0x77;
  expected[b.exRegOffset(3) + 1] = 0x99;
  EXPECT_EQ(ImageBytes(), expected);
  EXPECT_EQ(Box(35), "04");  // the load after Apply shows the newly chosen row
}

TEST_F(ParameterTableTest, FaultyExtendedRowKeepsItsPlace) {
  RomBuilder b = Image();
  b.AddExMode(Mode(0x21, 0x101)).AddExMode(Mode(0x00, 0x102)).AddExMode(Mode(0x22, 0x103));
  Start(b);
  EXPECT_EQ(Messages(), std::vector<std::string>{"Error in CParameterTable::init_exmode_listbox()"});
  ASSERT_EQ(c().ListCount(IDC_MODE_LIST), 25);
  ShowRow(24);
  EXPECT_EQ(Box(35), "22");
  ShowRow(22);
  EXPECT_EQ(Box(35), "21");
  sheet->prompts.ClearRecords();
  ShowRow(23);
  EXPECT_EQ(Messages(), std::vector<std::string>{"Error occur in CParameterTable::JumpnEXMode()"});
  EXPECT_EQ(Box(35), "21");
}

TEST_F(ParameterTableTest, LoadKeepsTheChosenRowAmongEqualTexts) {
  RomBuilder b = Image();
  b.AddExMode(Mode(0x21, 0x101)).AddExMode(Mode(0x22, 0x101));
  Start(b);
  ASSERT_EQ(c().ListItemText(IDC_MODE_LIST, 22), c().ListItemText(IDC_MODE_LIST, 23));
  ShowRow(23);
  EXPECT_EQ(Box(35), "22");
  c().Type(36, "5E");
  Apply();
  EXPECT_EQ(c().ListSelection(IDC_MODE_LIST), 23);
  EXPECT_EQ(Box(35), "22");
  EXPECT_EQ(rom::RomImage.Byte(b.parameterRecordOffset(0x22) + 1), 0x5E);
  sheet->SetActivePage(1);
  sheet->SetActivePage(0);
  EXPECT_EQ(c().ListSelection(IDC_MODE_LIST), 23);
  EXPECT_EQ(Box(35), "22");
}

TEST_F(ParameterTableTest, OpeningAnotherImageRebuildsTheTables) {
  RomBuilder first = Image();
  first.AddExMode(Mode(0x21, 0x101));
  Start(first);
  ShowRow(22);

  RomLayout moved;
  moved.exRegTable = 0x4000;
  RomBuilder second = Image(moved);
  second.AddExMode(Mode(0x23, 0x105)).AddExMode(Mode(0x24, 0x107));
  const std::filesystem::path file =
      std::filesystem::temp_directory_path() /
      ("ombrix_modes_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + ".rom");
  second.WriteFile(file);
  sheet->prompts.ChooseOpen(file);
  sheet->Command(ID_FILE_OPEN_ROM);
  std::filesystem::remove(file);
  ASSERT_EQ(c().ListCount(IDC_MODE_LIST), 24);
  EXPECT_EQ(c().ListItemText(IDC_MODE_LIST, 22), "Mode 105h - 640x480 8 BPP graphics (8x16)");
  EXPECT_EQ(sheet->sheet.parameterTable().rowMaps().rowModeIndex[23], 0x24);

  ShowRow(22);
  EXPECT_EQ(Box(35), "23");
  const std::vector<std::uint8_t> before = ImageBytes();
  c().Type(IDC_CRTC_1B, "5C");
  Apply();
  std::vector<std::uint8_t> expected = before;
  expected[second.exRegOffset(0x23) + 1] = 0x5C;
  EXPECT_EQ(ImageBytes(), expected);

  // An image opened while another page is active is noticed at the next activation.
  sheet->SetActivePage(2);
  RomBuilder third = Image();
  third.Load();
  sheet->SetActivePage(0);
  EXPECT_EQ(c().ListCount(IDC_MODE_LIST), 22);
  EXPECT_EQ(c().ListSelection(IDC_MODE_LIST), 0);
  EXPECT_TRUE(sheet->prompts.Exhausted());
}

TEST_F(ParameterTableTest, MoreThan34ExtendedModesAreReportedOnce) {
  RomBuilder b = Image();
  for (int i = 0; i < 36; ++i)
    b.AddExMode(Mode(static_cast<std::uint8_t>(0x20 + i), static_cast<std::uint16_t>(0x100 + i)));
  Start(b);
  EXPECT_EQ(c().ListCount(IDC_MODE_LIST), 56);
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_NE(Messages()[0].find("holds 36 modes"), std::string::npos);
  EXPECT_EQ(sheet->sheet.parameterTable().rowMaps().exRowCount, 34);
  EXPECT_EQ(sheet->sheet.parameterTable().rowMaps().rowModeIndex[55], 0x20 + 33);
}

TEST_F(ParameterTableTest, StructuresReachingPastTheImageAreRefused) {
  // A mode list without its end byte: no extended row, the standard rows still work.
  RomBuilder noEnd = Image();
  noEnd.Word(noEnd.layout().exModeInfo + 4, 0x7F00);
  for (std::uint32_t p = 0x7F00 + 210; p < 0x8000; ++p) noEnd.Byte(p, 0x01);
  Start(noEnd);
  EXPECT_EQ(c().ListCount(IDC_MODE_LIST), 22);
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_NE(Messages()[0].find("extended mode list at offset 7F00h"), std::string::npos);
  Show(kRow3);
  EXPECT_EQ(Box(35), "03");

  // A parameter table at the very end: record 31 ends at 0x7FFF and is shown, record 32 is refused.
  RomLayout high;
  high.parameterTable = 0x7800;
  RomBuilder end = Image(high);
  end.ExReg(0x20, 0, 0, 31, 0).ExReg(0x21, 0, 0, 32, 0).AddExMode(Mode(0x20, 0x101)).AddExMode(Mode(0x21, 0x102));
  Start(end);
  ShowRow(22);
  EXPECT_EQ(Box(35), "1F");
  std::vector<std::uint8_t> before = ImageBytes();
  sheet->prompts.ClearRecords();
  ShowRow(23);
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_NE(Messages()[0].find("video parameter record 32"), std::string::npos);
  EXPECT_EQ(Box(35), "1F");
  Apply();
  EXPECT_EQ(ImageBytes(), before);

  // An extended register record past the end: reported while the rows are built, the row refuses to show.
  RomBuilder exRegs = Image();
  exRegs.Word(exRegs.layout().exModeInfo, 0x7F00).AddExMode(Mode(0xF0, 0x101));
  Start(exRegs);
  EXPECT_EQ(c().ListCount(IDC_MODE_LIST), 23);
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_NE(Messages()[0].find("extended register record F0h"), std::string::npos);
  ShowRow(22);
  EXPECT_EQ(Messages().back(), "Error occur in CParameterTable::JumpnEXMode()");
  EXPECT_EQ(Box(35), "00");

  // A second image whose chain leaves the image: nothing of the first image stays on show or is written.
  RomBuilder broken = Image();
  broken.Word(0x50, 0x7FF8);
  broken.Load();
  sheet->prompts.ClearRecords();
  sheet->CloseUp(IDC_MODE_LIST);
  ASSERT_FALSE(Messages().empty());
  EXPECT_NE(Messages()[0].find("OEM pointer table"), std::string::npos);
  EXPECT_EQ(c().ListCount(IDC_MODE_LIST), 22);
  EXPECT_EQ(Box(35), "");
  EXPECT_EQ(Box(IDC_CRTC_1B), "");
  before = ImageBytes();
  Apply();
  EXPECT_EQ(ImageBytes(), before);
}

TEST_F(ParameterTableTest, ShownValuesAreNeverWrittenWhereTheirRecordHasMoved) {
  // Mode 0's extended register record lies on the save pointer table: its flags byte is the
  // low byte of the pointer to the parameter table. The extended mode resolves to no record.
  RomLayout layout;
  layout.exRegTable = layout.savePointerTable;
  RomBuilder b = Image(layout);
  b.AddExMode(Mode(0x00, 0x101));
  Start(b);
  ShowRow(22);  // refused: the boxes keep showing mode 0
  c().SetChecked(IDC_NATIVE_MODE, true);
  Apply();  // sets the flag, which moves the table by one byte; the reload is refused again
  ASSERT_EQ(rom::ReadWordLE(layout.savePointerTable, layout.savePointerTable + 1), layout.parameterTable + 1);

  const std::vector<std::uint8_t> before = ImageBytes();
  sheet->prompts.ClearRecords();
  Apply();
  EXPECT_EQ(ImageBytes(), before) << "mode 0's values were written one byte past where they were read";
  ASSERT_FALSE(Messages().empty());
  EXPECT_NE(Messages()[0].find("video parameter record 0 now lies at offset 0601h"), std::string::npos);
}

}  // namespace
