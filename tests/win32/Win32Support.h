#pragma once
// What the Windows tests share: the real main window on the test thread, and screenshots.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "shell/CPropertySheetCrtl.h"
#include "shell/win32/MainSheetWindow.h"
#include "tests/win32/ModalGuard.h"

namespace win32_tests {

// The folder of the test program, which is the build folder of the editor too.
std::filesystem::path BuildDir();
// Where tests leave screenshots for a person to look at.
std::filesystem::path ArtifactsDir();
// What the screen shows of a window, read back from the screen: a part the
// window never painted shows whatever lies there, as a user would see it.
struct ScreenPicture {
  int width = 0, height = 0;
  std::vector<std::uint8_t> pixels;  // 24-bit rows, bottom-up, each padded to 4 bytes
};
// Lets the thread's windows paint and Wine hand their pixels to the display first.
ScreenPicture CaptureScreen(HWND hwnd);
bool SavePicture(const ScreenPicture& picture, const std::filesystem::path& path);
// Saves what the screen shows of `hwnd` (its whole window) as a 24-bit BMP.
bool SaveScreenshot(HWND hwnd, const std::filesystem::path& path);
// A fresh empty folder for the files of one test.
std::filesystem::path FreshFolder(const std::string& name);

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
  std::wstring Text(HWND hwnd) const;
  // The user picks `entry` in a drop-down list and closes it.
  void CloseUpOn(int page, int listId, int entry);

  ModalGuard& guard = ModalGuard::Instance();
  std::unique_ptr<CPropertySheetCrtl> logic;
  std::unique_ptr<MainSheetWindow> window;
  HWND hwnd = nullptr;
};

}  // namespace win32_tests
