#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "res/resource.h"
#include "rom/RomImage.h"
#include "tests/support/FakeSheet.h"
#include "tests/support/RomBuilder.h"

namespace {

using testing_support::FakeControls;
using testing_support::FakeSheet;
using testing_support::RomBuilder;
using testing_support::RomLayout;

constexpr int kPage = 3;

class SignOnStringTest : public ::testing::Test {
 protected:
  void SetUp() override { rom::ResetRomState(); }

  // The sheet opens on page 0 without an image; then `image` is loaded and this page shown.
  void Show(const RomBuilder& image) {
    sheet.Start();
    image.Load();
    sheet.SetActivePage(kPage);
  }
  FakeControls& page() { return sheet.controls(kPage); }
  std::string Box() { return page().GetText(IDC_SIGN_ON_TEXT); }
  std::string Size() { return page().GetText(IDC_SIGN_ON_SIZE); }
  std::string StoredText(const RomBuilder& image) {
    const std::uint32_t s = image.layout().signOn;
    std::string text;
    for (std::uint32_t i = 0; i < rom::RomImage.Word(s); ++i) text += static_cast<char>(rom::RomImage.Byte(s + 2 + i));
    return text;
  }
  static bool Unchanged(RomBuilder& image) {
    return std::equal(image.bytes().begin(), image.bytes().end(), rom::RomImage.data());
  }
  void Apply() { sheet.Command(1); }

  FakeSheet sheet;
};

TEST_F(SignOnStringTest, CrLfShowsAsMarkerAndApplyWithoutEditsKeepsEveryByte) {
  RomBuilder image;
  image.SignOn("AB\r\nCD").Bytes(image.layout().signOn + 8, {'X', 'Y'});
  Show(image);
  EXPECT_EQ(Box(), "AB<NEWLINE>CD");
  EXPECT_EQ(Size(), "Size of String = 6");
  Apply();
  EXPECT_TRUE(Unchanged(image));
  EXPECT_EQ(Box(), "AB<NEWLINE>CD");
  EXPECT_TRUE(sheet.prompts.messages().empty());
}

TEST_F(SignOnStringTest, OnlyCrLfPairsAndTheUpperCaseMarkerAreLineBreaks) {
  RomBuilder image;
  image.SignOn("X\rY\nZ\n\r");
  Show(image);
  EXPECT_EQ(Box(), "X\rY\nZ\n\r");

  page().Type(IDC_SIGN_ON_TEXT, "A\r\nB\rC\nD<NEWLINE>E<newline>F");
  Apply();
  EXPECT_EQ(StoredText(image), "A\r\nB\rC\nD\r\nE<newline>F");
  EXPECT_EQ(Box(), "A<NEWLINE>B\rC\nD<NEWLINE>E<newline>F");
  EXPECT_EQ(Size(), "Size of String = 21");
}

TEST_F(SignOnStringTest, EmptiedTextStoresLengthZeroAndLeavesOldBytes) {
  RomBuilder image;
  image.SignOn("HELLO");
  Show(image);
  page().Type(IDC_SIGN_ON_TEXT, "");
  EXPECT_EQ(Size(), "Size of String = 5") << "the size line does not follow typing";
  Apply();
  const std::uint32_t s = image.layout().signOn;
  EXPECT_EQ(rom::RomImage.Word(s), 0);
  for (std::uint32_t i = 0; i < 5; ++i) EXPECT_EQ(rom::RomImage.Byte(s + 2 + i), image.ByteAt(s + 2 + i));
  EXPECT_EQ(Size(), "Size of String = 0");
  EXPECT_EQ(Box(), "");
}

TEST_F(SignOnStringTest, EditsAreDroppedWhenThePageIsShownAgain) {
  RomBuilder image;
  image.SignOn("OLD");
  Show(image);
  page().Type(IDC_SIGN_ON_TEXT, "NEW");
  sheet.SetActivePage(4);
  sheet.SetActivePage(kPage);
  EXPECT_EQ(Box(), "OLD");
  EXPECT_TRUE(Unchanged(image));
}

TEST_F(SignOnStringTest, AnOpenWhileShownEnablesApply) {
  const std::filesystem::path file = std::filesystem::path(::testing::TempDir()) / "signon_open.rom";
  RomBuilder image;
  image.SignOn("FROM FILE").WriteFile(file);
  sheet.Start();
  sheet.prompts.ChooseOpen(std::nullopt);
  sheet.SetActivePage(kPage);  // no image: the Open dialog is cancelled
  sheet.prompts.ChooseOpen(file);
  sheet.Command(ID_FILE_OPEN_ROM);
  EXPECT_EQ(Box(), "FROM FILE");
  page().Type(IDC_SIGN_ON_TEXT, "EDITED");
  Apply();
  EXPECT_EQ(StoredText(image), "EDITED");
  std::filesystem::remove(file);
}

TEST_F(SignOnStringTest, TextOverTheLimitIsRefusedAndStaysInTheBox) {
  RomBuilder image;
  image.SignOn("SHORT");
  Show(image);
  const std::string tooLong(121, 'A');
  page().Type(IDC_SIGN_ON_TEXT, tooLong);
  Apply();
  ASSERT_EQ(sheet.prompts.messages().size(), 1u);
  const auto& shown = sheet.prompts.messages()[0];
  EXPECT_EQ(shown.caption, "Error Message");
  EXPECT_NE(shown.text.find("121"), std::string::npos) << shown.text;
  EXPECT_NE(shown.text.find("120"), std::string::npos) << shown.text;
  EXPECT_TRUE(Unchanged(image));
  EXPECT_EQ(Box(), tooLong);
  EXPECT_EQ(Size(), "Size of String = 5");

  // Counted after decoding: 60 markers and one letter are 121 bytes.
  std::string markers;
  for (int i = 0; i < 60; ++i) markers += "<NEWLINE>";
  page().Type(IDC_SIGN_ON_TEXT, markers + "A");
  Apply();
  EXPECT_EQ(sheet.prompts.messages().size(), 2u);
  EXPECT_TRUE(Unchanged(image));

  // Shortened to exactly 120 bytes it goes in, and the box reloads.
  page().Type(IDC_SIGN_ON_TEXT, markers);
  Apply();
  EXPECT_EQ(sheet.prompts.messages().size(), 2u);
  EXPECT_EQ(rom::RomImage.Word(image.layout().signOn), 120);
  EXPECT_EQ(Size(), "Size of String = 120");
}

TEST_F(SignOnStringTest, NulAndHighBytesSurviveApply) {
  RomBuilder image;
  image.SignOn(std::string("A\0B\x80\xFF", 5));
  Show(image);
  EXPECT_EQ(Box(), "A<NUL>B\x80\xFF");
  Apply();
  EXPECT_TRUE(Unchanged(image));

  page().Type(IDC_SIGN_ON_TEXT, Box() + "C");
  Apply();
  EXPECT_EQ(StoredText(image), std::string("A\0B\x80\xFF"
                                           "C",
                                           6));
  EXPECT_EQ(Box(),
            "A<NUL>B\x80\xFF"
            "C");
}

TEST_F(SignOnStringTest, StoredTextsTheBoxCannotRoundTripAreLeftAloneWhenUnedited) {
  RomBuilder image;
  image.SignOn("X<NEWLINE>Y<NUL>Z");
  Show(image);
  Apply();
  EXPECT_TRUE(Unchanged(image));

  RomBuilder longer;
  longer.SignOn(std::string(130, 'L'));
  rom::ResetRomState();
  longer.Load();
  sheet.SetActivePage(4);
  sheet.SetActivePage(kPage);
  EXPECT_EQ(Size(), "Size of String = 130");
  Apply();
  EXPECT_TRUE(Unchanged(longer));
  EXPECT_TRUE(sheet.prompts.messages().empty());
}

TEST_F(SignOnStringTest, RecordPastTheImageIsRefusedAsAWhole) {
  RomLayout atEnd;
  atEnd.signOn = 0x7FFF;
  RomBuilder header(atEnd);
  Show(header);
  ASSERT_EQ(sheet.prompts.messages().size(), 1u);
  EXPECT_EQ(sheet.prompts.messages()[0].caption, "Error Message");
  EXPECT_NE(sheet.prompts.messages()[0].text.find("sign-on record at offset 7FFFh"), std::string::npos);
  EXPECT_EQ(Box(), "");
  page().Type(IDC_SIGN_ON_TEXT, "TYPED");
  Apply();
  EXPECT_EQ(sheet.prompts.messages().size(), 2u) << "one message per Apply";
  EXPECT_TRUE(Unchanged(header));
  EXPECT_EQ(Box(), "TYPED");
}

TEST_F(SignOnStringTest, TextPastTheImageIsRefused) {
  RomLayout nearEnd;
  nearEnd.signOn = 0x7FF0;
  RomBuilder lengthTooBig(nearEnd);
  lengthTooBig.Word(0x7FF0, 0x0200);
  Show(lengthTooBig);
  ASSERT_EQ(sheet.prompts.messages().size(), 1u);
  EXPECT_NE(sheet.prompts.messages()[0].text.find("7FF0h"), std::string::npos);
  EXPECT_EQ(Size(), "");

  // A record that fits now but would not with the new text.
  RomBuilder fits(nearEnd);
  fits.SignOn("1234");
  rom::ResetRomState();
  fits.Load();
  sheet.SetActivePage(4);
  sheet.SetActivePage(kPage);
  EXPECT_EQ(Box(), "1234");
  page().Type(IDC_SIGN_ON_TEXT, "0123456789ABCDEF");
  Apply();
  EXPECT_EQ(sheet.prompts.messages().size(), 2u);
  EXPECT_TRUE(Unchanged(fits));
  EXPECT_EQ(Box(), "0123456789ABCDEF");
}

}  // namespace
