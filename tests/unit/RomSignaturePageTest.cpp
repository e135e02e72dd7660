// The ROM Signature page through the sheet's logic on fake controls.
#include <optional>

#include "tests/support/PageTest.h"

namespace {

using testing_support::Bytes;
using testing_support::ImageBytes;
using testing_support::PageTest;
using testing_support::RomBuilder;

constexpr std::uint32_t kText = 0x40;

class RomSignaturePageTest : public PageTest {
 protected:
  RomSignaturePageTest() : PageTest(2) {}
};

TEST_F(RomSignaturePageTest, ShowsEachByteAsCharacterAndHexInLimitedBoxes) {
  RomBuilder image;
  image.Bytes(kText, {0x41, 0x61, 0x00, 0x7A, 0x80, 0xFF, 0x60, 0x7B, 0x01, 0x7F, 0x00, 0, 0, 0, 0, 0x71});
  Show(image);
  const char* const shown[] = {"A 41", "A 61", " 00", "Z 7A", "\x80 80", "\xFF FF", "` 60", "{ 7B",
                               "\x01 01", "\x7F 7F", " 00", " 00", " 00", " 00", " 00", "Q 71"};
  for (int k = 1; k <= 16; ++k) EXPECT_EQ(Text(k) + " " + Text(16 + k), shown[k - 1]) << k;
  for (int id = 1; id <= 32; ++id) EXPECT_EQ(ui().state(id).limit, id <= 16 ? 1 : 2) << id;
  EXPECT_TRUE(sheet->prompts.openDialogs().empty()) << "an image is loaded: no Open";
}

TEST_F(RomSignaturePageTest, ApplyWithoutEditsChangesNoByteForEveryByteValue) {
  Start();
  for (int first = 1; first <= 255; first += 16) {
    RomBuilder image;
    for (int k = 0; k < 16; ++k)
      image.Byte(kText + static_cast<std::uint32_t>(k), static_cast<std::uint8_t>((first - 1 + k) % 255 + 1));
    image.Load();
    Revisit(1);
    SCOPED_TRACE(first);
    ExpectApplyWrites({});
  }
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

}  // namespace
