// The Sign-on String page through the sheet's logic on fake controls.
#include "tests/support/PageTest.h"

namespace {

using testing_support::Bytes;
using testing_support::ImageBytes;
using testing_support::PageTest;
using testing_support::RomBuilder;
using testing_support::RomLayout;

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

TEST_F(SignOnStringTest, AnOpenWhileShownEnablesApply) {
  RomBuilder image;
  image.SignOn("FROM FILE");
  Start();
  sheet->prompts.ChooseOpen(std::nullopt);
  sheet->SetActivePage(3);  // no image: the Open dialog is cancelled
  Open(Write(image, "signon.rom"));
  EXPECT_EQ(Box(), "FROM FILE");
  Type(IDC_SIGN_ON_TEXT, "EDITED");
  Apply();
  EXPECT_EQ(StoredText(image), "EDITED");
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
    ExpectError("121 bytes long, but at most 120");
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

}  // namespace
