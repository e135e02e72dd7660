#pragma once
// What the tests of the pages share: an image opened through File > Open, and typing into real boxes.

#include <windows.h>
// After windows.h, whose types it needs.
#include <commctrl.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "res/resource.h"
#include "rom/RomImage.h"
#include "tests/support/RomBuilder.h"
#include "tests/win32/Win32Support.h"

namespace win32_tests {

class PageWindowTest : public MainWindowTest {
 protected:
  // Writes `builder` to a file and opens it as the user does, through the file dialog.
  void OpenImage(testing_support::RomBuilder builder, const std::string& name) {
    const auto path = FreshFolder(name) / (name + ".rom");
    builder.FixChecksum().WriteFile(path);
    guard.Expect(ModalGuard::ChooseFile(path.wstring()));
    Press(ID_FILE_OPEN_ROM);
    ASSERT_EQ(rom::romLoaded, 1) << "the image was not opened";
  }
  // Replaces the whole text of a box, as a paste over a selection would.
  static void Put(HWND box, const std::wstring& text) { SetWindowTextW(box, text.c_str()); }
  // Types `keys` one character at a time at the end of the box's text.
  static void TypeAtEnd(HWND box, const std::wstring& keys) {
    const auto end = static_cast<WPARAM>(GetWindowTextLengthW(box));
    SendMessageW(box, EM_SETSEL, end, static_cast<LPARAM>(end));
    for (const wchar_t key : keys) SendMessageW(box, WM_CHAR, key, 1);
    PumpPending();
  }
  // A key pressed and released in `box`, through the program's own message path
  // (the sheet's dialog navigation sees it before the box does).
  void PressKey(HWND box, UINT key) {
    PostMessageW(box, WM_KEYDOWN, key, 1);
    PostMessageW(box, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001));
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (window->PreTranslate(msg)) continue;
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  static std::vector<std::uint8_t> ImageBytes() { return {rom::RomImage.data(), rom::RomImage.data() + rom::kRomSize}; }
  // Apply changes exactly these bytes of the image, to these values.
  void ExpectApplyWrites(const std::vector<std::pair<std::uint32_t, std::uint8_t>>& changes) {
    std::vector<std::uint8_t> expected = ImageBytes();
    for (const auto& [at, value] : changes) expected.at(at) = value;
    Press(IDOK);
    EXPECT_TRUE(ImageBytes() == expected);
  }
};

}  // namespace win32_tests
