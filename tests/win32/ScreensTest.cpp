// What the screen shows of every page with the sample image, compared with a
// repaint of the whole sheet, kept for a person to look at.
#include "tests/win32/Win32Support.h"

namespace win32_tests {
namespace {

// The screen shows the sheet as a repaint of all of it draws it: nothing the window owes the screen is left
// unpainted. Keeps what the screen showed as `name`.
void ExpectDrawnWhole(HWND hwnd, const std::string& name) {
  HideCaret(nullptr);  // a blinking caret is no fault
  const ScreenPicture shown = CaptureScreen(hwnd);
  RedrawWindow(hwnd, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
  const ScreenPicture repainted = CaptureScreen(hwnd);
  ShowCaret(nullptr);
  EXPECT_TRUE(SavePicture(shown, name)) << name;
  if (shown.pixels == repainted.pixels) return;
  SavePicture(repainted, "repainted-" + name);
  ADD_FAILURE() << name << ": the screen differs from a repaint (see repainted-" << name << ")";
}

using ScreensTest = MainWindowTest;

TEST_F(ScreensTest, EveryPageIsDrawnWholeOnScreen) {
  Open(BuildDir() / "sample.rom");  // written by build/native/make_sample_rom
  SetForegroundWindow(hwnd);
  // An extended mode: 640x480 with 256 colours.
  CloseUpOn(0, IDC_MODE_LIST, 23);
  EXPECT_EQ(Text(Control(0, IDC_CLOCK_WORD)), L"1A3C");
  for (int page = 0; page < 6; ++page) {
    if (page > 0) ShowPage(page);
    ExpectDrawnWhole(hwnd, "page" + std::to_string(page) + ".bmp");
  }
  // Shown again, with no repaint in between, and every kind of glyph change:
  // taller and shorter fonts, another character list, Apply.
  ShowPage(0);
  ShowPage(5);
  CloseUpOn(5, IDC_FONT_LIST, 2);  // Font 8x16
  CloseUpOn(5, IDC_CHAR_LIST_FULL, 0xC4);
  CloseUpOn(5, IDC_FONT_LIST, 0);  // Font 8x8
  CloseUpOn(5, IDC_FONT_LIST, 3);  // the 9x14 fix-up table
  CloseUpOn(5, IDC_FONT_LIST, 2);
  CloseUpOn(5, IDC_CHAR_LIST_FULL, 0x41);  // the letter A
  Press(IDOK);
  EXPECT_EQ(Text(Control(5, IDC_GLYPH_ROW_FIRST + 15)), L"00");
  ExpectDrawnWhole(hwnd, "page5-after-changes.bmp");
}

}  // namespace
}  // namespace win32_tests
