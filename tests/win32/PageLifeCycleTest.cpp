// The ROM Signature page in the real sheet: the shared page life cycle and
// the byte round trip through real edit boxes.
#include <windows.h>

#include <commctrl.h>

#include "res/resource.h"
#include "rom/RomImage.h"
#include "tests/support/RomBuilder.h"
#include "tests/win32/Win32Support.h"
#include "ui/win32/DialogControls.h"

namespace win32_tests {
namespace {

constexpr int kSignaturePage = 2;

class SignaturePageTest : public MainWindowTest {
 protected:
  HWND Ascii(int position) const { return Control(kSignaturePage, position); }
  HWND Hex(int position) const { return Control(kSignaturePage, 16 + position); }
};

class PageLifeCycleTest : public SignaturePageTest {};

TEST_F(PageLifeCycleTest, TypedBoxesReachTheImageOnApplyAndThePageReloads) {
  testing_support::RomBuilder builder;
  builder.SignatureText("ABCDEFGHIJKLMNOP").Load();
  ShowPage(kSignaturePage);
  ASSERT_EQ(Text(Ascii(1)), L"A");
  ASSERT_EQ(Text(Hex(2)), L"42");
  SetWindowTextW(Ascii(1), L"z");
  SetWindowTextW(Hex(2), L"7f");
  SetWindowTextW(Ascii(3), L"Q");
  SetWindowTextW(Hex(3), L"00");  // the character box wins
  Press(IDOK);
  EXPECT_EQ(rom::RomImage.Byte(0x40), 'z');
  EXPECT_EQ(rom::RomImage.Byte(0x41), 0x7F);
  EXPECT_EQ(rom::RomImage.Byte(0x42), 'Q');
  EXPECT_EQ(rom::RomImage.Byte(0x43), 'D');
  EXPECT_EQ(rom::romModified, 1);
  EXPECT_EQ(Text(Ascii(1)), L"Z");
  EXPECT_EQ(Text(Hex(1)), L"7A");
  EXPECT_EQ(Text(Hex(2)), L"7F");
}

TEST_F(PageLifeCycleTest, EditsLeftUnappliedAreDroppedWhenThePageIsShownAgain) {
  testing_support::RomBuilder().SignatureText("OMBRIX").Load();
  ShowPage(kSignaturePage);
  SetWindowTextW(Ascii(1), L"X");
  ShowPage(0);
  ShowPage(kSignaturePage);
  EXPECT_EQ(Text(Ascii(1)), L"O");
  Press(IDOK);
  EXPECT_EQ(rom::RomImage.Byte(0x40), 'O');
}

TEST_F(PageLifeCycleTest, ShownWithoutImageItOffersOpenAndStoresAfterTheFileIsChosen) {
  const auto folder = FreshFolder("lifecycle");
  testing_support::RomBuilder().SignatureText("FIRST").FixChecksum().WriteFile(folder / "a.rom");
  guard.Expect(ModalGuard::PressButton(IDCANCEL));
  ShowPage(kSignaturePage);
  EXPECT_EQ(Text(Ascii(1)), L"");
  // The image arrives through File > Open while the page is shown.
  guard.Expect(ModalGuard::ChooseFile((folder / "a.rom").wstring()));
  Press(ID_FILE_OPEN_ROM);
  ASSERT_EQ(Text(Ascii(1)), L"F");
  SetWindowTextW(Ascii(1), L"G");
  Press(IDOK);
  EXPECT_EQ(rom::RomImage.Byte(0x40), 'G');
}

class EditRoundTripTest : public SignaturePageTest {};

TEST_F(EditRoundTripTest, EveryByteComesBackFromARealOneCharacterBox) {
  testing_support::RomBuilder().Load();
  ShowPage(kSignaturePage);
  ui::win32::DialogControls controls(Page(kSignaturePage));
  for (int b = 1; b <= 0xFF; ++b) {
    const std::string text(1, static_cast<char>(b));
    controls.SetText(1, text);
    ASSERT_EQ(controls.GetText(1), text) << "byte " << b;
  }
}

TEST_F(EditRoundTripTest, ApplyWithoutEditsKeepsEveryByteValue) {
  for (int round = 0; round < 16; ++round) {
    testing_support::RomBuilder builder;
    for (int k = 0; k < 16; ++k) builder.Byte(0x40 + static_cast<std::uint32_t>(k), static_cast<std::uint8_t>(round * 16 + k));
    builder.Load();
    ShowPage(kSignaturePage);
    Press(IDOK);
    for (int k = 0; k < 16; ++k) {
      ASSERT_EQ(rom::RomImage.Byte(0x40 + static_cast<std::uint32_t>(k)), round * 16 + k) << "position " << k + 1;
    }
    ShowPage(0);
  }
}

TEST_F(EditRoundTripTest, RealBoxesHoldNoMoreThanTheirLimit) {
  testing_support::RomBuilder().Load();
  ShowPage(kSignaturePage);
  EXPECT_EQ(SendMessageW(Ascii(1), EM_GETLIMITTEXT, 0, 0), 1);
  EXPECT_EQ(SendMessageW(Hex(1), EM_GETLIMITTEXT, 0, 0), 2);
  SetWindowTextW(Hex(1), L"");
  for (wchar_t c : std::wstring(L"ABC")) SendMessageW(Hex(1), WM_CHAR, c, 0);
  EXPECT_EQ(Text(Hex(1)), L"AB");
}

}  // namespace
}  // namespace win32_tests
