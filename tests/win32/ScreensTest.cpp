// Screenshots of every page with the sample image, and of the About box, for a person to look at.
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
  void Shoot(HWND window, const char* name) {
    const std::filesystem::path path = ArtifactsDir() / name;
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
    EXPECT_TRUE(SaveScreenshot(window, path)) << name;
    EXPECT_GT(std::filesystem::file_size(path, ignored), 1000u) << name;
  }
};

TEST_F(ScreensTest, EveryPageWithTheSampleImage) {
  OpenSample();
  SetForegroundWindow(hwnd);
  // An extended mode: 640x480 with 256 colours.
  CloseUpOn(0, IDC_MODE_LIST, 23);
  EXPECT_EQ(Text(Control(0, IDC_CLOCK_WORD)), L"1A3C");
  Shoot(hwnd, kPageShots[0]);
  for (int page = 1; page < 5; ++page) {
    ShowPage(page);
    Shoot(hwnd, kPageShots[page]);
  }
  ShowPage(5);
  CloseUpOn(5, IDC_FONT_LIST, 2);          // Font 8x16
  CloseUpOn(5, IDC_CHAR_LIST_FULL, 0x41);  // the letter A
  EXPECT_EQ(Text(Control(5, IDC_GLYPH_ROW_FIRST + 15)), L"00");
  Shoot(hwnd, kPageShots[5]);
  EXPECT_EQ(rom::romModified, 0);
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
