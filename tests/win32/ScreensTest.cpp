// What the screen shows of every page with the sample image, compared with a
// repaint of the whole sheet, and the About box, for a person to look at.
#include <windows.h>

#include <filesystem>
#include <string>

#include "tests/win32/PageWindowTest.h"

namespace win32_tests {
namespace {

constexpr const char* kPageShots[] = {"page0-parameter-table.bmp",      "page1-sub-vendor-id.bmp",
                                      "page2-rom-signature.bmp",        "page3-sign-on-string.bmp",
                                      "page4-memory-configuration.bmp", "page5-font-images.bmp"};

class ScreensTest : public PageWindowTest {
 protected:
  void OpenSample() {
    const std::filesystem::path sample = BuildDir() / "sample.rom";
    ASSERT_TRUE(std::filesystem::exists(sample))
        << sample.string() << " is missing: write it first with build/native/make_sample_rom " << sample.string();
    guard.Expect(ModalGuard::ChooseFile(sample.wstring()));
    Press(ID_FILE_OPEN_ROM);
    ASSERT_EQ(rom::romLoaded, 1);
  }
  // The screen shows the sheet as a repaint of all of it draws it: nothing the
  // window owes the screen is left unpainted. Keeps what the screen showed as `name`.
  void ExpectDrawnWhole(const std::string& name) {
    HideCaret(nullptr);  // a blinking caret is no fault
    const ScreenPicture shown = CaptureScreen(hwnd);
    RedrawWindow(hwnd, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
    const ScreenPicture repainted = CaptureScreen(hwnd);
    ShowCaret(nullptr);
    EXPECT_TRUE(SavePicture(shown, ArtifactsDir() / name)) << name;
    ASSERT_EQ(shown.pixels.size(), repainted.pixels.size()) << name;
    std::size_t differing = 0;
    for (std::size_t i = 0; i < shown.pixels.size(); ++i) differing += shown.pixels[i] != repainted.pixels[i];
    if (differing == 0) return;
    SavePicture(repainted, ArtifactsDir() / ("repainted-" + name));
    ADD_FAILURE() << name << ": " << differing << " bytes of the screen differ from a repaint (see repainted-" << name
                  << ")";
  }
};

TEST_F(ScreensTest, EveryPageIsDrawnWholeOnScreen) {
  OpenSample();
  SetForegroundWindow(hwnd);
  // An extended mode: 640x480 with 256 colours.
  CloseUpOn(0, IDC_MODE_LIST, 23);
  EXPECT_EQ(Text(Control(0, IDC_CLOCK_WORD)), L"1A3C");
  ExpectDrawnWhole(kPageShots[0]);
  for (int page = 1; page < 6; ++page) {
    ShowPage(page);
    ExpectDrawnWhole(kPageShots[page]);
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
  ExpectDrawnWhole("page5-font-images-after-changes.bmp");
}

HWND aboutBox = nullptr;

// Runs inside the About box's own message loop, once the box has painted.
void CALLBACK ShootAboutBox(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  EXPECT_TRUE(SaveScreenshot(aboutBox, ArtifactsDir() / "about-box.bmp"));
  PostMessageW(aboutBox, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

TEST_F(ScreensTest, AboutBox) {
  guard.Expect([](const SeenDialog& dialog) {
    EXPECT_EQ(dialog.caption, L"About");
    aboutBox = dialog.hwnd;
    SetTimer(nullptr, 0, 300, ShootAboutBox);
  });
  Press(ID_APP_ABOUT);
  EXPECT_EQ(guard.seen().size(), 1u);
}

}  // namespace
}  // namespace win32_tests
