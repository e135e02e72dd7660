// The four identity pages (ROM Signature, Sub Vendor ID, Sign-on String, Memory Configuration)
// through the sheet's logic on fake controls.
#include <optional>

#include "tests/support/PageTest.h"

namespace {

using namespace testing_support;

constexpr std::uint32_t kText = 0x40;

class RomSignaturePageTest : public PageTest {
 protected:
  RomSignaturePageTest() : PageTest(2) {}
};

TEST_F(RomSignaturePageTest, ShowsEachByteAsCharacterAndHexInLimitedBoxes) {
  RomBuilder image;
  image.Bytes(kText, {0x41, 0x61, 0x00, 0x7A, 0x80, 0xFF, 0x60, 0x7B, 0x01, 0x7F, 0x00, 0, 0, 0, 0, 0x71});
  Show(image);
  const char* const shown[] = {"A 41",    "A 61",    " 00", "Z 7A", "\x80 80", "\xFF FF", "` 60", "{ 7B",
                               "\x01 01", "\x7F 7F", " 00", " 00",  " 00",     " 00",     " 00",  "Q 71"};
  for (int k = 1; k <= 16; ++k) EXPECT_EQ(Text(k) + " " + Text(16 + k), shown[k - 1]) << k;
  for (int id = 1; id <= 32; ++id) EXPECT_EQ(ui().state(id).limit, id <= 16 ? 1 : 2) << id;
}

TEST_F(RomSignaturePageTest, StoreRulesOfEachPosition) {
  RomBuilder image;
  image.Bytes(kText, {0x41, 0x41, 0x00, 0x00, 0x41, 0x61, 0x41, 0x41, 0x41, 0x61, 0x41, 0x42, 0, 0, 0, 0x51});
  Show(image);
  struct Edit {
    int k;
    std::optional<std::string> ascii, hex;  // as the user leaves the boxes; std::nullopt: untouched
    std::uint8_t stored;
  };
  // clang-format off
  const Edit edits[] = {
      {1, std::nullopt, "4g", 0x00},          // a bad digit stores 0
      {2, std::nullopt, "7", 0x07},
      {3, std::nullopt, "20", 0x00},          // an empty ASCII box keeps the byte
      {4, "x", std::nullopt, 0x78},
      {5, "B", "43", 0x42},                   // the ASCII box wins
      {6, std::nullopt, std::nullopt, 0x61},
      {7, "", "00", 0x41},
      {8, "a", std::nullopt, 0x61},           // typed lower case is an edit
      {9, std::nullopt, "4f", 0x4F},
      {10, "A", "62", 0x62},                  // the shown character is no edit
      {11, std::nullopt, "", 0x00},
      {12, "\xB5", "00", 0xB5},
      {16, std::nullopt, "3C", 0x3C},         // the last position is stored too
  };
  // clang-format on
  for (const Edit& e : edits) {
    if (e.ascii) Type(e.k, *e.ascii);
    if (e.hex) Type(16 + e.k, *e.hex);
  }
  Apply();
  Bytes expected = image.bytes();
  for (const Edit& e : edits) expected[kText + static_cast<std::uint32_t>(e.k) - 1] = e.stored;
  EXPECT_EQ(ImageBytes(), expected);
  EXPECT_TRUE(Messages().empty());
}

TEST_F(RomSignaturePageTest, ShownWithoutImageItStoresOnlyOnceAnOpenHasLoadedItAndDropsEditsOnReload) {
  Start();
  sheet->prompts.ChooseOpen(std::nullopt);
  sheet->SetActivePage(2);
  ASSERT_EQ(sheet->prompts.openDialogs().size(), 1u) << "no image: the page offers Open";
  EXPECT_EQ(Text(1), "");
  Type(1, "Q");
  sheet->prompts.ChooseOpen(std::nullopt);
  sheet->prompts.ChooseOpen(std::nullopt);
  Revisit(3);
  EXPECT_EQ(Text(1), "Q") << "a cancelled Open leaves the boxes as they stood";

  RomBuilder image;
  image.SignatureText("FILE");
  image.Load();  // not through the sheet: the page is not told
  Type(1, "Z");
  ExpectApplyWrites({});
  EXPECT_EQ(Text(1), "F") << "the reload after Apply still fills the boxes";

  sheet->prompts.Answer(ui::Answer::kNo);  // Apply made the image count as modified
  Type(1, "Q");
  Type(18, "99");
  Open(Write(image, "file.rom"));  // edits are dropped by the reload of an Open and by a page change
  EXPECT_EQ(Text(1) + " " + Text(18), "F 49");
  Type(1, "Z");
  ExpectApplyWrites({{kText, 'Z'}});
  Type(1, "Q");
  Type(18, "99");
  Revisit(1);
  EXPECT_EQ(Text(1) + " " + Text(18), "Z 49");
  ExpectApplyWrites({});
}

class SubVendorIdTest : public PageTest {
 protected:
  SubVendorIdTest() : PageTest(1) {}
  std::string Box() { return Text(IDC_ID_VALUE); }
};

TEST_F(SubVendorIdTest, ListChoosesTheIdAndApplyStoresTheShownBoxAsHexOrZero) {
  Show(RomBuilder().SubsystemIds(0x121A, 0xBEEF));
  EXPECT_EQ(Box(), "121A");
  EXPECT_EQ(ui().state(IDC_ID_VALUE).limit, 4);
  Pick(IDC_ID_KIND, "Device ID");
  EXPECT_EQ(Box(), "BEEF");
  Type(IDC_ID_VALUE, "7777");
  sheet->CloseUp(IDC_ID_KIND);  // the same entry: still a refresh that drops the edit
  EXPECT_EQ(Box(), "BEEF");
  Pick(IDC_ID_KIND, "Vendor ID");
  Type(IDC_ID_VALUE, "7777");
  Revisit(4);
  EXPECT_EQ(Box(), "121A");
  ExpectApplyWrites({});

  const struct {
    const char *kind, *typed;
    std::uint32_t at;
    std::uint16_t stored;
    const char* shown;
  } cases[] = {{"Vendor ID", "12", 0x7FF8, 0x0012, "0012"},
               {"Device ID", "ab9f", 0x7FFA, 0xAB9F, "AB9F"},
               {"Device ID", "12G4", 0x7FFA, 0x0000, "0000"},
               {"Device ID", "", 0x7FFA, 0x0000, "0000"}};
  for (const auto& c : cases) {
    Pick(IDC_ID_KIND, c.kind);
    Type(IDC_ID_VALUE, c.typed);
    Apply();
    EXPECT_EQ(rom::RomImage.Word(c.at), c.stored) << c.typed;
    EXPECT_EQ(Box(), c.shown) << c.typed;
  }
  EXPECT_EQ(rom::RomImage.Word(0x7FF8), 0x0012);

  ASSERT_TRUE(ui().Choose(IDC_ID_KIND, "Vendor ID"));  // no close-up: the box still holds the device ID
  Type(IDC_ID_VALUE, "ABCD");
  ExpectApplyWrites({{0x7FFA, 0xCD}, {0x7FFB, 0xAB}});
  EXPECT_EQ(ui().ListItemText(IDC_ID_KIND, ui().ListSelection(IDC_ID_KIND)), "Device ID")
      << "the page shows the ID that was written";
}

class SignOnStringTest : public PageTest {
 protected:
  SignOnStringTest() : PageTest(3) {}
  std::string Box() { return Text(IDC_SIGN_ON_TEXT); }
  std::string Size() { return Text(IDC_SIGN_ON_SIZE); }
  static std::string StoredText(const RomBuilder& image) {
    const std::uint32_t s = image.layout().signOn;
    std::string text;
    for (std::uint32_t i = 0; i < rom::RomImage.Word(s); ++i) text += static_cast<char>(rom::RomImage.Byte(s + 2 + i));
    return text;
  }
};

TEST_F(SignOnStringTest, ShowsTheTextAndApplyWithoutEditsKeepsEveryByte) {
  const struct {
    std::string stored, shown;
  } cases[] = {
      {"AB\r\nCD", "AB<NEWLINE>CD"},
      {"X\rY\nZ\n\r", "X\rY\nZ\n\r"},  // only CR LF pairs are line breaks
      {std::string("A\0B\x80\xFF", 5), "A<NUL>B\x80\xFF"},
      {"X<NEWLINE>Y<NUL>Z", "X<NEWLINE>Y<NUL>Z"},  // the box cannot give these back as they are
      {std::string(130, 'L'), std::string(130, 'L')},
  };
  for (const auto& c : cases) {
    RomBuilder image;
    image.SignOn(c.stored).Bytes(image.layout().signOn + 2 + static_cast<std::uint32_t>(c.stored.size()), {'X', 'Y'});
    Show(image);
    EXPECT_EQ(Box(), c.shown);
    EXPECT_EQ(Size(), "Size of String = " + std::to_string(c.stored.size()));
    SCOPED_TRACE(c.shown);
    ExpectApplyWrites({});
    EXPECT_TRUE(Messages().empty());
  }
}

TEST_F(SignOnStringTest, ApplyTurnsOnlyTheUpperCaseMarkersIntoBytesAndAnEmptiedTextIntoLengthZero) {
  RomBuilder image;
  image.SignOn(std::string("A\0B\x80\xFF", 5));
  Show(image);
  Type(IDC_SIGN_ON_TEXT, "NEW");
  Revisit(4);  // the edit is dropped
  EXPECT_EQ(ImageBytes(), image.bytes());
  Type(IDC_SIGN_ON_TEXT, Box() + "\r\nB\rC\nD<NEWLINE>E<newline>F");
  Apply();
  EXPECT_EQ(StoredText(image), std::string("A\0B\x80\xFF", 5) + "\r\nB\rC\nD\r\nE<newline>F");
  EXPECT_EQ(Box(), "A<NUL>B\x80\xFF<NEWLINE>B\rC\nD<NEWLINE>E<newline>F");
  EXPECT_EQ(Size(), "Size of String = 25");

  Type(IDC_SIGN_ON_TEXT, "");
  EXPECT_EQ(Size(), "Size of String = 25") << "the size line does not follow typing";
  ExpectApplyWrites({{image.layout().signOn, 0}});  // the old bytes stay
  EXPECT_EQ(Size(), "Size of String = 0");
}

TEST_F(SignOnStringTest, TextOverTheLimitIsRefusedAndStaysInTheBox) {
  RomBuilder image;
  image.SignOn("SHORT");
  Show(image);
  std::string markers;  // 60 markers are 120 bytes after decoding
  for (int i = 0; i < 60; ++i) markers += "<NEWLINE>";
  for (const std::string& tooLong : {std::string(121, 'A'), markers + "A"}) {
    Type(IDC_SIGN_ON_TEXT, tooLong);
    ExpectApplyWrites({});
    ExpectError("121 bytes long, but at most 120 bytes fit (each <NEWLINE> counts as 2 bytes). Nothing was");
    EXPECT_EQ(Box(), tooLong);
    EXPECT_EQ(Size(), "Size of String = 5");
  }
  Type(IDC_SIGN_ON_TEXT, markers);  // shortened to the limit it goes in, and the box reloads
  Apply();
  EXPECT_TRUE(Messages().empty());
  EXPECT_EQ(Size(), "Size of String = 120");
}

TEST_F(SignOnStringTest, RecordOrTextPastTheImageIsRefusedAsAWhole) {
  RomLayout atEnd, nearEnd;
  atEnd.signOn = 0x7FFF;
  Show(RomBuilder(atEnd));
  ExpectError("sign-on record at offset 7FFFh");
  EXPECT_EQ(Box(), "");
  Type(IDC_SIGN_ON_TEXT, "TYPED");
  ExpectApplyWrites({});
  ExpectError("7FFFh");  // one message per Apply
  EXPECT_EQ(Box(), "TYPED");

  nearEnd.signOn = 0x7FF0;
  RomBuilder lengthTooBig(nearEnd);
  lengthTooBig.Word(0x7FF0, 0x0200);
  Show(lengthTooBig);
  ExpectError("7FF0h");
  EXPECT_EQ(Size(), "");

  RomBuilder fits(nearEnd);  // a record that fits now but would not with the new text
  fits.SignOn("1234");
  Reload(fits, 4);
  EXPECT_EQ(Box(), "1234");
  Type(IDC_SIGN_ON_TEXT, "0123456789ABCDEF");
  ExpectApplyWrites({});
  ExpectError("7FF0h");
  EXPECT_EQ(Box(), "0123456789ABCDEF");
}

class MemoryConfigTest : public PageTest {
 protected:
  MemoryConfigTest() : PageTest(4) {}
  std::string Box(int index) { return Text(IDC_MEMORY_REG_FIRST + index); }
};

TEST_F(MemoryConfigTest, ShowsEightDigitsStoresHexTextOrZeroAndRefusesARecordPastTheImage) {
  RomBuilder image;
  image.MemoryConfig({0x12345678, 1, 9, 9, 9, 9, 9, 0xABCDEF00, 0xFFFFFFFF});
  Show(image);
  EXPECT_EQ(Box(0) + " " + Box(1) + " " + Box(7) + " " + Box(8), "12345678 00000001 ABCDEF00 FFFFFFFF");
  EXPECT_EQ(ui().state(IDC_MEMORY_REG_FIRST + 8).limit, 8);
  Type(IDC_MEMORY_REG_FIRST, "22222222");
  Revisit(3);  // the edit is dropped
  EXPECT_EQ(Box(0), "12345678");
  ExpectApplyWrites({});

  const char* typed[] = {"1F", "FFFFFFFF", "", "12Z", "abcdef01"};  // into boxes 2 to 6
  const std::uint32_t stored[] = {0x12345678, 1, 0x1F, 0xFFFFFFFF, 0, 0, 0xABCDEF01, 0xABCDEF00, 0xFFFFFFFF};
  for (int i = 0; i < 5; ++i) Type(IDC_MEMORY_REG_FIRST + 2 + i, typed[i]);
  Apply();
  for (std::uint32_t i = 0; i < 9; ++i) {
    const std::uint32_t r = image.layout().memoryConfig + 4 * i;
    EXPECT_EQ(rom::RomImage.Word(r) | static_cast<std::uint32_t>(rom::RomImage.Word(r + 2)) << 16, stored[i]) << i;
  }
  EXPECT_EQ(Box(2), "0000001F");

  RomLayout nearEnd;               // a record past the image is refused as a whole
  nearEnd.memoryConfig = 0x7FE0;   // 36 bytes would end at 0x8004
  Reload(RomBuilder(nearEnd), 3);  // nothing of the last image stays on show
  ExpectError("memory configuration record at offset 7FE0h");
  EXPECT_EQ(Box(0), "");
  Type(IDC_MEMORY_REG_FIRST, "12345678");
  ExpectApplyWrites({});
  ExpectError("7FE0h");  // one message per Apply
  EXPECT_EQ(Box(0), "12345678");
}

}  // namespace
