#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "res/resource.h"
#include "rom/RomImage.h"
#include "tests/support/FakeSheet.h"
#include "tests/support/RomBuilder.h"
#include "tests/support/TempFolder.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using testing_support::FakeControls;
using testing_support::FakeSheet;
using testing_support::RomBuilder;
using testing_support::TempFolder;

constexpr int kPage = 2;
constexpr std::uint32_t kText = 0x40;

Bytes Image() {
  return Bytes(rom::RomImage.data(), rom::RomImage.data() + rom::kRomSize);
}

class RomSignaturePageTest : public ::testing::Test {
 protected:
  void SetUp() override { rom::ResetRomState(); }

  // The sheet starts on page 0 without an image; then `image` is loaded and this page shown.
  void Show(const RomBuilder& image) {
    sheet.Start();
    image.Load();
    sheet.SetActivePage(kPage);
  }
  // Shows another page and this one again.
  void Revisit() {
    sheet.SetActivePage(1);
    sheet.SetActivePage(kPage);
  }
  FakeControls& page() { return sheet.controls(kPage); }
  std::string Ascii(int k) { return page().GetText(k); }
  std::string Hex(int k) { return page().GetText(16 + k); }
  void Apply() { sheet.Command(1); }
  int Activated() { return sheet.sheet.romSignature().m_bActivated; }

  FakeSheet sheet;
};

TEST_F(RomSignaturePageTest, ShowsEachByteAsCharacterAndHexInLimitedBoxes) {
  RomBuilder image;
  image.Bytes(kText, {0x41, 0x61, 0x00, 0x7A, 0x80, 0xFF, 0x60, 0x7B, 0x01, 0x7F});
  Show(image);
  const std::vector<std::pair<std::string, std::string>> shown = {
      {"A", "41"}, {"A", "61"}, {"", "00"},     {"Z", "7A"},    {"\x80", "80"}, {"\xFF", "FF"},
      {"`", "60"}, {"{", "7B"}, {"\x01", "01"}, {"\x7F", "7F"}, {"", "00"}};
  for (int k = 1; k <= static_cast<int>(shown.size()); ++k) {
    EXPECT_EQ(Ascii(k), shown[static_cast<std::size_t>(k - 1)].first) << k;
    EXPECT_EQ(Hex(k), shown[static_cast<std::size_t>(k - 1)].second) << k;
  }
  for (int id = 1; id <= 32; ++id) EXPECT_EQ(page().state(id).limit, id <= 16 ? 1 : 2) << id;
  EXPECT_TRUE(sheet.prompts.openDialogs().empty()) << "an image is loaded: no Open";
  EXPECT_EQ(Activated(), 1);
}

TEST_F(RomSignaturePageTest, ApplyWithoutEditsChangesNoByteForEveryByteValue) {
  sheet.Start();
  for (int first = 1; first <= 255; first += 16) {
    RomBuilder image;
    for (int k = 0; k < 16; ++k)
      image.Byte(kText + static_cast<std::uint32_t>(k), static_cast<std::uint8_t>((first - 1 + k) % 255 + 1));
    image.Load();
    Revisit();
    Apply();
    EXPECT_EQ(Image(), image.bytes()) << "bytes from " << first;
    EXPECT_EQ(rom::romModified, 1);
  }
}

TEST_F(RomSignaturePageTest, StoreRulesOfEachPosition) {
  RomBuilder image;
  image.Bytes(kText, {0x41, 0x41, 0x00, 0x00, 0x41, 0x61, 0x41, 0x41, 0x41, 0x61, 0x41, 0x42});
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
  };
  // clang-format on
  for (const Edit& e : edits) {
    if (e.ascii) page().Type(e.k, *e.ascii);
    if (e.hex) page().Type(16 + e.k, *e.hex);
  }
  Apply();
  Bytes expected = image.bytes();
  for (const Edit& e : edits) expected[kText + static_cast<std::uint32_t>(e.k) - 1] = e.stored;
  EXPECT_EQ(Image(), expected);
  EXPECT_EQ(Ascii(3), "");
  EXPECT_EQ(Hex(3), "00");
  EXPECT_EQ(Ascii(4), "X");
  EXPECT_EQ(Hex(4), "78");
  EXPECT_EQ(Ascii(6), "A");
  EXPECT_EQ(Hex(6), "61");
  EXPECT_EQ(Hex(9), "4F");
  EXPECT_TRUE(sheet.prompts.messages().empty());
}

TEST_F(RomSignaturePageTest, EditsAreDroppedByAPageChangeAndByAReload) {
  TempFolder folder;
  RomBuilder image;
  image.SignatureText("ORIGINAL");
  image.WriteFile(folder / "same.rom");
  Show(image);
  page().Type(1, "Q");
  page().Type(18, "99");
  Revisit();
  EXPECT_EQ(Ascii(1), "O");
  EXPECT_EQ(Hex(2), "52");
  Apply();
  EXPECT_EQ(Image(), image.bytes());

  page().Type(1, "Q");
  page().Type(18, "99");
  sheet.prompts.Answer(ui::Answer::kNo);  // Apply made the image count as modified
  sheet.prompts.ChooseOpen(folder / "same.rom");
  sheet.Command(ID_FILE_OPEN_ROM);
  EXPECT_EQ(Ascii(1), "O");
  EXPECT_EQ(Hex(2), "52");
  Apply();
  EXPECT_EQ(Image(), image.bytes());
}

TEST_F(RomSignaturePageTest, PageNeverShownWithAnImageStoresNothing) {
  sheet.Start();
  sheet.prompts.ChooseOpen(std::nullopt);
  sheet.SetActivePage(kPage);
  EXPECT_EQ(Activated(), 0);
  RomBuilder image;
  image.SignatureText("KEEP");
  image.Load();  // not through the sheet: the page is not told
  page().Type(1, "Z");
  Apply();
  EXPECT_EQ(Image(), image.bytes());
  EXPECT_EQ(Ascii(1), "K") << "the reload after Apply still fills the boxes";
  EXPECT_EQ(Activated(), 0);
}

TEST_F(RomSignaturePageTest, ShownWithoutImageThenOpenedFromTheMenuStoresEdits) {
  TempFolder folder;
  RomBuilder image;
  image.SignatureText("FILE");
  image.WriteFile(folder / "file.rom");
  sheet.Start();
  sheet.prompts.ChooseOpen(std::nullopt);
  sheet.SetActivePage(kPage);
  ASSERT_EQ(sheet.prompts.openDialogs().size(), 1u) << "no image: the page offers Open";
  EXPECT_EQ(Ascii(1), "");
  EXPECT_EQ(page().state(17).limit, 2);
  page().Type(1, "Q");
  sheet.prompts.ChooseOpen(std::nullopt);
  sheet.prompts.ChooseOpen(std::nullopt);
  sheet.SetActivePage(3);
  sheet.SetActivePage(kPage);
  EXPECT_EQ(Ascii(1), "Q") << "a cancelled Open leaves the boxes as they stood";

  sheet.prompts.ChooseOpen(folder / "file.rom");
  sheet.Command(ID_FILE_OPEN_ROM);
  EXPECT_EQ(Activated(), 1);
  EXPECT_EQ(Ascii(1), "F");
  page().Type(1, "Z");
  Apply();
  EXPECT_EQ(rom::RomImage.Byte(kText), 'Z');
  EXPECT_TRUE(sheet.prompts.Exhausted());
}

}  // namespace
