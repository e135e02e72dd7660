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

constexpr int kPage = 1;

class SubVendorIdTest : public ::testing::Test {
 protected:
  void SetUp() override {
    rom::ResetRomState();
    image.SubsystemIds(0x121A, 0xBEEF);
    sheet.Start();
    image.Load();
    sheet.SetActivePage(kPage);
  }
  FakeControls& page() { return sheet.controls(kPage); }
  std::string Box() { return page().GetText(IDC_ID_VALUE); }
  std::string Kind() { return page().ListItemText(IDC_ID_KIND, page().ListSelection(IDC_ID_KIND)); }
  bool Unchanged() { return std::equal(image.bytes().begin(), image.bytes().end(), rom::RomImage.data()); }
  void Apply() { sheet.Command(1); }

  RomBuilder image;
  FakeSheet sheet;
};

TEST_F(SubVendorIdTest, ListChoosesWhichIdTheBoxShowsAndApplyWithoutEditsKeepsIt) {
  EXPECT_EQ(page().state(IDC_ID_KIND).items, (std::vector<std::string>{"Vendor ID", "Device ID"}));
  EXPECT_EQ(Kind(), "Vendor ID");
  EXPECT_EQ(Box(), "121A");
  EXPECT_EQ(page().state(IDC_ID_VALUE).limit, 4);
  page().Choose(IDC_ID_KIND, "Device ID");
  sheet.CloseUp(IDC_ID_KIND);
  EXPECT_EQ(Box(), "BEEF");
  page().Choose(IDC_ID_KIND, "Vendor ID");
  sheet.CloseUp(IDC_ID_KIND);
  EXPECT_EQ(Box(), "121A");
  Apply();
  EXPECT_TRUE(Unchanged());
}

TEST_F(SubVendorIdTest, ApplyStoresTheBoxAsHexOrZero) {
  page().Type(IDC_ID_VALUE, "12");
  Apply();
  EXPECT_EQ(rom::RomImage.Byte(0x7FF8), 0x12);
  EXPECT_EQ(rom::RomImage.Byte(0x7FF9), 0x00);
  EXPECT_EQ(Box(), "0012");
  EXPECT_EQ(rom::RomImage.Word(0x7FFA), 0xBEEF);

  page().Choose(IDC_ID_KIND, "Device ID");
  sheet.CloseUp(IDC_ID_KIND);
  page().Type(IDC_ID_VALUE, "ab9f");
  Apply();
  EXPECT_EQ(rom::RomImage.Word(0x7FFA), 0xAB9F);
  EXPECT_EQ(Box(), "AB9F");

  for (const char* bad : {"12G4", ""}) {
    page().Type(IDC_ID_VALUE, bad);
    Apply();
    EXPECT_EQ(rom::RomImage.Word(0x7FFA), 0x0000) << bad;
    EXPECT_EQ(Box(), "0000") << bad;
  }
  EXPECT_EQ(rom::RomImage.Word(0x7FF8), 0x0012);
}

TEST_F(SubVendorIdTest, EditsAreDroppedOnEveryRefresh) {
  page().Type(IDC_ID_VALUE, "7777");
  sheet.CloseUp(IDC_ID_KIND);  // the same entry: still a refresh
  EXPECT_EQ(Box(), "121A");
  page().Type(IDC_ID_VALUE, "7777");
  sheet.SetActivePage(4);
  sheet.SetActivePage(kPage);
  EXPECT_EQ(Box(), "121A");
  EXPECT_TRUE(Unchanged());
}

TEST_F(SubVendorIdTest, KeyboardChangeOfTheClosedListStillWritesTheShownId) {
  page().Choose(IDC_ID_KIND, "Device ID");  // no close-up: the box still holds the vendor ID
  page().Type(IDC_ID_VALUE, "ABCD");
  Apply();
  EXPECT_EQ(rom::RomImage.Word(0x7FF8), 0xABCD);
  EXPECT_EQ(rom::RomImage.Word(0x7FFA), 0xBEEF);
  EXPECT_EQ(Kind(), "Vendor ID") << "the page shows the ID that was written";
  EXPECT_EQ(Box(), "ABCD");
}

}  // namespace
