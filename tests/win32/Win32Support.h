#pragma once
// What the Windows tests share: a guard that answers every dialog box, the real main window on the test thread,
// and screenshots.

#include <windows.h>
// After windows.h, whose types it needs.
#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "res/resource.h"
#include "rom/RomImage.h"
#include "shell/CPropertySheetCrtl.h"
#include "shell/win32/MainSheetWindow.h"

namespace win32_tests {

struct SeenDialog {
  HWND hwnd = nullptr;
  std::wstring caption;
  std::wstring text;  // the texts of its static controls, joined by '\n'
};

// Watches every dialog box that becomes active on the test thread (message boxes, file dialogs, the About box):
// an expected one is answered by the next handler, any other fails the test at once and is closed, so that no
// test can hang on a window nobody clicks. Installed by main() as a WH_CBT hook of the test thread.
using Handler = std::function<void(const SeenDialog&)>;
struct ModalGuard {
  std::deque<Handler> handlers;  // empty once every expected dialog was seen
  std::vector<SeenDialog> seen;
  std::vector<HWND> handled;
};
extern ModalGuard guard;
LRESULT CALLBACK GuardHook(int code, WPARAM wParam, LPARAM lParam);
Handler PressButton(int id);
// Types `path` into a file dialog's name box and presses its OK button.
Handler ChooseFile(const std::filesystem::path& path);

// Runs the message loop until `done` is true (checked after each round) or `timeoutMs` passed; false on a time-out.
bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 5000);
inline void PumpPending() {
  PumpUntil([] { return true; });
}
std::wstring Text(HWND hwnd);

// The folder of the test program, which is the build folder of the editor too.
std::filesystem::path BuildDir();
// A fresh empty folder for the files of one test.
std::filesystem::path FreshFolder(const std::string& name);
// What the screen shows of a window, read back from the screen after the thread's windows painted and Wine
// handed their pixels to the display: a part the window never painted shows whatever lies there.
struct ScreenPicture {
  int width = 0, height = 0;
  std::vector<std::uint8_t> pixels;  // 24-bit rows, bottom-up, each padded to 4 bytes
};
ScreenPicture CaptureScreen(HWND hwnd);
// Saves the picture as a 24-bit BMP in build/win32/artifacts (made by main()), for a person to look at.
bool SavePicture(const ScreenPicture& picture, const std::string& name);

// The main window, created as the program creates it, with no image loaded.
class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A click on the sheet's button or a menu command.
  void Press(int id);
  void ShowPage(int index);
  HWND Page(int index) const { return window->PageWindow(index); }
  HWND Control(int page, int id) const { return GetDlgItem(Page(page), id); }
  // The user picks `entry` in a drop-down list and closes it.
  void CloseUpOn(int page, int listId, int entry);
  // Opens `path` as the user does, through File > Open and its dialog.
  void Open(const std::filesystem::path& path);
  std::unique_ptr<CPropertySheetCrtl> logic;
  std::unique_ptr<MainSheetWindow> window;
  HWND hwnd = nullptr;
};

}  // namespace win32_tests
