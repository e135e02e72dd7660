// The Parameter Table page through the sheet's logic on fake controls.
#include "tests/support/PageTest.h"

namespace {

using namespace testing_support;

const char* const kRow3 = "Mode 3 - 80x25 Color Text (8x8 Cell)";
const char* const kRow4 = "Mode 4 - 320x200x2 Color Graphics (8x8 Cell)";
constexpr int kFlagBoxes[] = {IDC_NATIVE_MODE, IDC_INTERLACE, IDC_NATIVE_DOUBLE_SCAN};

// Byte j of parameter record i is i + 7j, so box 35 names the record on show.
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

class ParameterTableTest : public PageTest {
 protected:
  ParameterTableTest() : PageTest(0) {}
  void ShowRow(int row) {
    ui().ListSelect(IDC_MODE_LIST, row);
    sheet->CloseUp(IDC_MODE_LIST);
  }
  // Sets the extended register group's boxes and applies; the flags byte as stored.
  std::uint8_t StoreFlags(const char* pixelFormat, bool checked, std::uint32_t at) {
    Type(IDC_PIXEL_FORMAT, pixelFormat);
    for (int id : kFlagBoxes) ui().SetChecked(id, checked);
    Apply();
    return rom::RomImage.Byte(at);
  }
};

TEST_F(ParameterTableTest, RowsShowAndWriteTheirOwnRecordsTakingHexOfEitherCaseAndBadTextAsZero) {
  Start();  // no image: the standard rows, empty boxes, no Open dialog
  EXPECT_EQ(ui().ListCount(IDC_MODE_LIST), 22);
  EXPECT_EQ(ui().ListSelection(IDC_MODE_LIST), 0);
  EXPECT_EQ(Text(35), "");
  EXPECT_TRUE(sheet->prompts.openDialogs().empty());

  RomBuilder b = Image();
  const std::uint32_t r = b.parameterRecordOffset(0) + 3;
  b.ExReg(13, 0, 0xAB, 0, 0x1234).Byte(r, 0x00).Byte(r + 1, 0x08);
  Show(b);
  EXPECT_EQ(Text(35) + " " + Text(38), "00 0800");
  const char* typed[] = {"1000", "ff", "7", "G1", "", "aBc"};  // "aBc" is cut to "aB" by the box
  for (int i = 0; i < 6; ++i) Type(38 + i, typed[i]);
  Apply();
  EXPECT_EQ(Bytes(&rom::RomImage.data()[r], &rom::RomImage.data()[r + 7]),
            (Bytes{0x00, 0x10, 0xFF, 0x07, 0x00, 0x00, 0xAB}));
  Pick(IDC_MODE_LIST, "Mode D - 320x200x4 Color Graphics (8x8 Cell)");
  EXPECT_EQ(Text(35) + " " + Text(IDC_CRTC_1B) + " " + Text(IDC_CLOCK_WORD), "0D AB 1234");

  // Every row written: exactly the 22 listed records change (row 10 is record 17, row 21 record 28).
  Bytes expected = ImageBytes();
  for (int i : {0, 1, 2, 3, 4, 5, 6, 7, 13, 14, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28})
    std::fill_n(expected.begin() + b.parameterRecordOffset(i), 64, 0xA5);
  for (int row = 0; row < 22; ++row) {
    ShowRow(row);
    for (int id = 35; id <= 97; ++id) Type(id, id == 38 ? "A5A5" : "A5");
    Apply();
  }
  EXPECT_EQ(ImageBytes(), expected);
  EXPECT_TRUE(Messages().empty());
}

TEST_F(ParameterTableTest, ExtendedRowTextsAndApplyWithoutEditsChangesNoByte) {
  RomBuilder b = Image();
  b.ExReg(3, 0xED, 0x12, 0x00, 0xBEEF).ExReg(0x20, 0xC2, 0x34, 0x13, 0x0102);
  b.AddExMode(ExMode{0x20, 0x101, 6, 640, 480, 16})
      .AddExMode(ExMode{0x21, 0x1A, 9, 1024, 768, 8})
      .AddExMode(ExMode{0x22, 0x11B, 10, 1280, 1024, 14})
      .AddExMode(ExMode{0x23, 0x120, 11, 800, 600, 16});
  Show(b);
  EXPECT_EQ(
      std::vector<std::string>(ui().state(IDC_MODE_LIST).items.begin() + 22, ui().state(IDC_MODE_LIST).items.end()),
      (std::vector<std::string>{"Mode 101h - 640x480 8 BPP graphics (8x16)", "Mode 1Ah - 1024x768 NULL Mode (8x8)",
                                "Mode 11Bh - 1280x1024 Error Mode (8x14)",
                                "Mode 120h - 800x600 memory model 11 (8x16)"}));
  ExpectError("memory model 11");  // past the known models: reported, and still listed
  for (int row : {0, 3, 8, 22, 23}) {
    SCOPED_TRACE(row);
    ShowRow(row);
    ExpectApplyWrites({});
  }
}

TEST_F(ParameterTableTest, FlagsByteBothWaysKeepingBits6And7AndThePixelFormatPrompts) {
  RomBuilder b = Image();
  b.ExReg(3, 0x2D, 0x11, 0x00, 0x2222).ExReg(4, 0xED, 0, 0, 0);
  Show(b);
  Pick(IDC_MODE_LIST, kRow3);
  EXPECT_EQ(std::to_string(ui().IsChecked(IDC_NATIVE_MODE)) + std::to_string(ui().IsChecked(IDC_INTERLACE)) +
                std::to_string(ui().IsChecked(IDC_NATIVE_DOUBLE_SCAN)) + " " + Text(IDC_PIXEL_FORMAT),
            "101 5");
  ExpectApplyWrites({});
  Type(IDC_PIXEL_FORMAT, "8");
  Type(IDC_CRTC_1B, "99");
  Type(35, "FF");
  sheet->SetActivePage(1);  // a failed check keeps the page
  EXPECT_EQ(sheet->ActivePageIndex(), 0);
  sheet->prompts.ClearRecords();
  ExpectApplyWrites({});
  EXPECT_EQ(Messages(), std::vector<std::string>{"Please enter an integer between 0 and 7."});  // none from the reload
  EXPECT_EQ(Text(IDC_PIXEL_FORMAT) + " " + Text(IDC_CRTC_1B) + " " + Text(35), "5 11 03");

  // No integer at all: the previous format stands and the group is written as it stands.
  sheet->prompts.ClearRecords();
  Type(IDC_PIXEL_FORMAT, "x");
  ui().SetChecked(IDC_NATIVE_MODE, false);
  Apply();
  ASSERT_FALSE(Messages().empty());
  EXPECT_EQ(Messages()[0], "Please enter an integer.");
  EXPECT_EQ(rom::RomImage.Byte(b.exRegOffset(3)), 0x2C);

  EXPECT_EQ(StoreFlags(" 3 ", false, b.exRegOffset(3)), 0x18);
  EXPECT_EQ(StoreFlags("0", true, b.exRegOffset(3)), 0x07);
  EXPECT_EQ(StoreFlags("7", false, b.exRegOffset(3)), 0x38);
  Pick(IDC_MODE_LIST, kRow4);
  EXPECT_EQ(StoreFlags("3", false, b.exRegOffset(4)), 0xD8);

  // A keyboard change of the closed list: Apply writes the rows on show, then loads the chosen one.
  Pick(IDC_MODE_LIST, kRow3);
  Type(35, "77");
  Type(IDC_CRTC_1B, "99");
  ASSERT_TRUE(ui().Choose(IDC_MODE_LIST, kRow4));
  ExpectApplyWrites({{b.parameterRecordOffset(3), 0x77}, {b.exRegOffset(3) + 1, 0x99}});
  EXPECT_EQ(Text(35), "04");
}

TEST_F(ParameterTableTest, ParameterIndexOverrideAndItsMappingUntilTheNextImage) {
  RomBuilder b = Image();
  b.ExReg(0x20, 0x00, 0x00, 0x13, 0x0000).AddExMode(Mode(0x20, 0x101));
  Show(b);
  ShowRow(22);
  EXPECT_EQ(Text(35) + " " + Text(IDC_PARAM_INDEX), "13 13");
  Type(IDC_PARAM_INDEX, "9F");  // every bit of the byte is stored
  ExpectApplyWrites({{b.exRegOffset(0x20) + 2, 0x9F}});
  Type(IDC_PARAM_INDEX, "00");
  ExpectApplyWrites({{b.exRegOffset(0x20) + 2, 0x00}});
  EXPECT_EQ(Text(35), "13");  // the mapping stays as built

  b.bytes() = ImageBytes();  // the same bytes as a newly loaded image: the rows are built afresh
  b.Load();
  ShowRow(22);
  EXPECT_EQ(Text(35), "20");
}

TEST_F(ParameterTableTest, FaultyExtendedRowKeepsItsPlaceAndLoadKeepsTheChosenRowAmongEqualTexts) {
  RomBuilder b = Image();
  b.AddExMode(Mode(0x21, 0x101)).AddExMode(Mode(0x00, 0x102)).AddExMode(Mode(0x22, 0x101));
  Show(b);
  EXPECT_EQ(Messages(), std::vector<std::string>{"Error in CParameterTable::init_exmode_listbox()"});
  ASSERT_EQ(ui().ListCount(IDC_MODE_LIST), 25);
  ASSERT_EQ(ui().ListItemText(IDC_MODE_LIST, 22), ui().ListItemText(IDC_MODE_LIST, 24));
  ShowRow(22);
  EXPECT_EQ(Text(35), "21");
  sheet->prompts.ClearRecords();
  ShowRow(23);
  EXPECT_EQ(Messages(), std::vector<std::string>{"Error occur in CParameterTable::JumpnEXMode()"});
  EXPECT_EQ(Text(35), "21");
  ShowRow(24);
  Type(36, "5E");
  Apply();
  EXPECT_EQ(rom::RomImage.Byte(b.parameterRecordOffset(0x22) + 1), 0x5E);
  for (int pass = 0; pass < 2; ++pass) {  // after Apply, then after a page change
    EXPECT_EQ(ui().ListSelection(IDC_MODE_LIST), 24);
    EXPECT_EQ(Text(35), "22");
    Revisit(1);
  }
}

TEST_F(ParameterTableTest, OpeningAnotherImageRebuildsTheTables) {
  RomBuilder first = Image();
  first.AddExMode(Mode(0x21, 0x101));
  Show(first);
  ShowRow(22);

  RomLayout moved;
  moved.exRegTable = 0x4000;
  RomBuilder second = Image(moved);
  second.AddExMode(Mode(0x23, 0x105)).AddExMode(Mode(0x24, 0x107));
  Open(Write(second, "second.rom"));
  ASSERT_EQ(ui().ListCount(IDC_MODE_LIST), 24);
  EXPECT_EQ(ui().ListItemText(IDC_MODE_LIST, 22), "Mode 105h - 640x480 8 BPP graphics (8x16)");
  ShowRow(22);
  EXPECT_EQ(Text(35), "23");
  Type(IDC_CRTC_1B, "5C");
  ExpectApplyWrites({{second.exRegOffset(0x23) + 1, 0x5C}});

  Reload(Image(), 2);  // loaded while another page is active: noticed at the next activation
  EXPECT_EQ(ui().ListCount(IDC_MODE_LIST), 22);
  EXPECT_EQ(ui().ListSelection(IDC_MODE_LIST), 0);
}

TEST_F(ParameterTableTest, MoreThan34ExtendedModesAreReportedOnceAndStructuresReachingPastTheImageAreRefused) {
  RomBuilder many = Image();
  for (int i = 0; i < 36; ++i)
    many.AddExMode(Mode(static_cast<std::uint8_t>(0x20 + i), static_cast<std::uint16_t>(0x100 + i)));
  Show(many);
  EXPECT_EQ(ui().ListCount(IDC_MODE_LIST), 56);
  ExpectError("holds 36 modes");

  // A mode list without its end byte: no extended row, the standard rows still work.
  RomBuilder noEnd = Image();
  noEnd.Word(noEnd.layout().exModeInfo + 4, 0x7F00);
  for (std::uint32_t p = 0x7F00 + 210; p < 0x8000; ++p) noEnd.Byte(p, 0x01);
  Show(noEnd);
  EXPECT_EQ(ui().ListCount(IDC_MODE_LIST), 22);
  ExpectError("extended mode list at offset 7F00h");
  Pick(IDC_MODE_LIST, kRow3);
  EXPECT_EQ(Text(35), "03");

  // A parameter table at the very end: record 31 ends at 0x7FFF and is shown, record 32 is refused.
  RomLayout high;
  high.parameterTable = 0x7800;
  RomBuilder end = Image(high);
  end.ExReg(0x20, 0, 0, 31, 0).ExReg(0x21, 0, 0, 32, 0).AddExMode(Mode(0x20, 0x101)).AddExMode(Mode(0x21, 0x102));
  Show(end);
  ShowRow(22);
  EXPECT_EQ(Text(35), "1F");
  ShowRow(23);
  ExpectError("video parameter record 32");
  EXPECT_EQ(Text(35), "1F");
  ExpectApplyWrites({});

  // An extended register record past the end: reported while the rows are built, the row refuses to show.
  RomBuilder exRegs = Image();
  exRegs.Word(exRegs.layout().exModeInfo, 0x7F00).AddExMode(Mode(0xF0, 0x101));
  Show(exRegs);
  EXPECT_EQ(ui().ListCount(IDC_MODE_LIST), 23);
  ExpectError("extended register record F0h");
  ShowRow(22);
  EXPECT_EQ(Messages().back(), "Error occur in CParameterTable::JumpnEXMode()");
  EXPECT_EQ(Text(35), "00");

  // A second image whose chain leaves the image: nothing of the first image stays on show or is written.
  RomBuilder broken = Image();
  broken.Word(0x50, 0x7FF8);
  broken.Load();
  sheet->prompts.ClearRecords();
  sheet->CloseUp(IDC_MODE_LIST);
  ASSERT_FALSE(Messages().empty());
  EXPECT_NE(Messages()[0].find("OEM pointer table"), std::string::npos);
  EXPECT_EQ(ui().ListCount(IDC_MODE_LIST), 22);
  EXPECT_EQ(Text(35) + Text(IDC_CRTC_1B), "");
  for (int id : kFlagBoxes) EXPECT_FALSE(ui().IsChecked(id)) << id;
  ExpectApplyWrites({});
}

TEST_F(ParameterTableTest, OpenReportsEachUnreachableStructureOnceWithTheWantedSize) {
  const RomLayout at;
  const struct {
    std::uint32_t word;
    std::uint16_t value;
    const char* message;
  } cases[] = {
      {0x50, 0x7FF8, "The OEM pointer table at offset 7FF8h (16 bytes)"},
      {at.oemTable + 2u, 0x7FF8, "The save pointer table at offset 7FF8h (18 bytes)"},
      {at.oemTable + 2u, 0x7FFF, "The save pointer table at offset 7FFFh (18 bytes)"},
      {at.savePointerTable + 0x10u, 0x7FF0, "The secondary save pointer table at offset 7FF0h"},
      {at.savePointerTable, 0xAA55, "The video parameter record 0 at offset AA55h (64 bytes)"},
      {at.exModeInfo, 0x7FFE, "The extended register record 00h at offset 7FFEh (5 bytes)"},
  };
  Start();
  for (const auto& c : cases) {
    RomBuilder b = Image();
    b.Word(c.word, c.value);
    Open(Write(b, "outside.rom"));
    ASSERT_EQ(Messages().size(), 1u) << c.message << "\n" << (Messages().empty() ? "" : Messages().back());
    EXPECT_EQ(Messages()[0].rfind(c.message, 0), 0u) << Messages()[0];
    sheet->prompts.ClearRecords();
  }
}

TEST_F(ParameterTableTest, ShownValuesAreNeverWrittenWhereTheirRecordHasMoved) {
  // Mode 0's extended register record lies on the save pointer table: its flags byte is the
  // low byte of the pointer to the parameter table. The extended mode resolves to no record.
  RomLayout layout;
  layout.exRegTable = layout.savePointerTable;
  RomBuilder b = Image(layout);
  b.AddExMode(Mode(0x00, 0x101));
  Show(b);
  ShowRow(22);  // refused: the boxes keep showing mode 0
  ui().SetChecked(IDC_NATIVE_MODE, true);
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
