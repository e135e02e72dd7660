#include "tests/win32/Win32Support.h"

#include <commctrl.h>

#include <cstdlib>
#include <fstream>
#include <vector>

#include "app/CAboutDlg.h"
#include "rom/RomImage.h"

namespace win32_tests {

std::filesystem::path BuildDir() {
  wchar_t module[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, module, MAX_PATH);
  return std::filesystem::path(module).parent_path();
}

std::filesystem::path ArtifactsDir() {
  const std::filesystem::path path = BuildDir() / "artifacts";
  std::filesystem::create_directories(path);
  return path;
}

std::filesystem::path FreshFolder(const std::string& name) {
  const std::filesystem::path path = std::filesystem::temp_directory_path() / ("ombrix-" + name);
  std::error_code ignored;
  std::filesystem::remove_all(path, ignored);
  std::filesystem::create_directories(path);
  return path;
}

ScreenPicture CaptureScreen(HWND hwnd) {
  // Painting happens when the queue is empty, and Wine copies the painted
  // pixels to the display when the thread is idle.
  PumpUntil([] { return false; }, 100);
  ScreenPicture picture;
  RECT r{};
  GetWindowRect(hwnd, &r);
  picture.width = r.right - r.left;
  picture.height = r.bottom - r.top;
  if (picture.width <= 0 || picture.height <= 0) return {};
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = picture.width;
  info.bmiHeader.biHeight = picture.height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, picture.width, picture.height, screen, r.left, r.top, SRCCOPY);
  SelectObject(memory, old);
  const auto* first = static_cast<const std::uint8_t*>(bits);
  const std::size_t stride = ((static_cast<std::size_t>(picture.width) * 3 + 3) / 4) * 4;
  picture.pixels.assign(first, first + stride * static_cast<std::size_t>(picture.height));
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return picture;
}

bool SavePicture(const ScreenPicture& picture, const std::filesystem::path& path) {
  if (picture.pixels.empty()) return false;
  BITMAPINFOHEADER header{};
  header.biSize = sizeof header;
  header.biWidth = picture.width;
  header.biHeight = picture.height;
  header.biPlanes = 1;
  header.biBitCount = 24;
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof header;
  file.bfSize = file.bfOffBits + static_cast<DWORD>(picture.pixels.size());
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(&file), sizeof file);
  out.write(reinterpret_cast<const char*>(&header), sizeof header);
  out.write(reinterpret_cast<const char*>(picture.pixels.data()), static_cast<std::streamsize>(picture.pixels.size()));
  return static_cast<bool>(out);
}

bool SaveScreenshot(HWND hwnd, const std::filesystem::path& path) {
  return SavePicture(CaptureScreen(hwnd), path);
}

void MainWindowTest::SetUp() {
  rom::ResetRomState();
  guard.Reset();
  logic = std::make_unique<CPropertySheetCrtl>();
  window = std::make_unique<MainSheetWindow>(*logic, GetModuleHandleW(nullptr));
  window->showAbout = [](HWND owner) { CAboutDlg::Run(GetModuleHandleW(nullptr), owner); };
  hwnd = window->Create();
  ASSERT_NE(hwnd, nullptr);
  PumpPending();
}

void MainWindowTest::TearDown() {
  if (hwnd && IsWindow(hwnd)) DestroyWindow(hwnd);
  // Destroying the main window posts the quit message: take it out of the queue.
  PumpPending();
  window.reset();
  logic.reset();
  EXPECT_TRUE(guard.AllSeen()) << "an expected dialog never appeared";
  guard.Reset();
}

void MainWindowTest::Press(int id) {
  SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(hwnd, id)));
  PumpPending();
}

void MainWindowTest::ShowPage(int index) {
  SendMessageW(hwnd, PSM_SETCURSEL, static_cast<WPARAM>(index), 0);
  PumpPending();
}

std::wstring MainWindowTest::Text(HWND control) const {
  const int length = GetWindowTextLengthW(control);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  GetWindowTextW(control, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(length));
  return text;
}

void MainWindowTest::CloseUpOn(int page, int listId, int entry) {
  const HWND list = Control(page, listId);
  SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(entry), 0);
  SendMessageW(Page(page), WM_COMMAND, MAKEWPARAM(listId, CBN_CLOSEUP), reinterpret_cast<LPARAM>(list));
  PumpPending();
}

}  // namespace win32_tests
