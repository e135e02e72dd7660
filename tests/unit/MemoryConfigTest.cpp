#include <gtest/gtest.h>

#include <algorithm>
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

constexpr int kPage = 4;

class MemoryConfigTest : public ::testing::Test {
 protected:
  void SetUp() override { rom::ResetRomState(); }
  void Show(const RomBuilder& image) {
    sheet.Start();
    image.Load();
    sheet.SetActivePage(kPage);
  }
  FakeControls& page() { return sheet.controls(kPage); }
  std::string Box(int index) { return page().GetText(IDC_MEMORY_REG_FIRST + index); }
  void Type(int index, const std::string& text) { page().Type(IDC_MEMORY_REG_FIRST + index, text); }
  static std::uint32_t Stored(const RomBuilder& image, int index) {
    const std::uint32_t r = image.layout().memoryConfig + 4u * static_cast<std::uint32_t>(index);
    return rom::RomImage.Word(r) | (static_cast<std::uint32_t>(rom::RomImage.Word(r + 2)) << 16);
  }
  static bool Unchanged(RomBuilder& image) {
    return std::equal(image.bytes().begin(), image.bytes().end(), rom::RomImage.data());
  }
  void Apply() { sheet.Command(1); }

  FakeSheet sheet;
};

TEST_F(MemoryConfigTest, ShowsEveryRegisterAsEightDigitsAndApplyKeepsThem) {
  RomBuilder image;
  image.MemoryConfig({0x12345678, 1, 2, 3, 4, 5, 6, 0xABCDEF00, 0xFFFFFFFF});
  Show(image);
  EXPECT_EQ(Box(0), "12345678");
  EXPECT_EQ(rom::RomImage.Byte(image.layout().memoryConfig), 0x78);
  EXPECT_EQ(Box(1), "00000001");
  EXPECT_EQ(Box(7), "ABCDEF00");
  EXPECT_EQ(Box(8), "FFFFFFFF");
  EXPECT_EQ(page().state(IDC_MEMORY_REG_FIRST + 8).limit, 8);
  Apply();
  EXPECT_TRUE(Unchanged(image));
}

TEST_F(MemoryConfigTest, ApplyStoresHexTextOrZero) {
  RomBuilder image;
  image.MemoryConfig({9, 9, 9, 9, 9, 9, 9, 9, 9});
  Show(image);
  Type(1, "1F");
  Type(2, "FFFFFFFF");
  Type(3, "");
  Type(4, "12Z");
  Type(5, "abcdef01");
  Apply();
  EXPECT_EQ(Stored(image, 0), 9u);
  EXPECT_EQ(Stored(image, 1), 0x1Fu);
  EXPECT_EQ(Box(1), "0000001F");
  EXPECT_EQ(Stored(image, 2), 0xFFFFFFFFu);
  EXPECT_EQ(Stored(image, 3), 0u);
  EXPECT_EQ(Stored(image, 4), 0u);
  EXPECT_EQ(Box(4), "00000000");
  EXPECT_EQ(Stored(image, 5), 0xABCDEF01u);
  EXPECT_EQ(Stored(image, 8), 9u);
}

TEST_F(MemoryConfigTest, EditsAreDroppedWhenThePageIsShownAgain) {
  RomBuilder image;
  image.MemoryConfig({0x11111111, 0, 0, 0, 0, 0, 0, 0, 0});
  Show(image);
  Type(0, "22222222");
  sheet.SetActivePage(3);
  sheet.SetActivePage(kPage);
  EXPECT_EQ(Box(0), "11111111");
  EXPECT_TRUE(Unchanged(image));
}

TEST_F(MemoryConfigTest, RecordPastTheImageIsRefusedAsAWhole) {
  RomLayout nearEnd;
  nearEnd.memoryConfig = 0x7FE0;  // 36 bytes would end at 0x8004
  RomBuilder image(nearEnd);
  Show(image);
  ASSERT_EQ(sheet.prompts.messages().size(), 1u);
  EXPECT_EQ(sheet.prompts.messages()[0].caption, "Error Message");
  EXPECT_NE(sheet.prompts.messages()[0].text.find("memory configuration record at offset 7FE0h"), std::string::npos);
  EXPECT_EQ(Box(0), "");
  Type(0, "12345678");
  Apply();
  EXPECT_EQ(sheet.prompts.messages().size(), 2u) << "one message per Apply";
  EXPECT_TRUE(Unchanged(image));
  EXPECT_EQ(Box(0), "12345678");
}

}  // namespace
