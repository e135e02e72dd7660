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

bool SaveScreenshot(HWND hwnd, const std::filesystem::path& path) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  const int width = r.right - r.left, height = r.bottom - r.top;
  if (width <= 0 || height <= 0) return false;
  RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
  PumpPending();
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
  SelectObject(memory, old);
  const int stride = ((width * 3 + 3) / 4) * 4;
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info.bmiHeader;
  file.bfSize = file.bfOffBits + static_cast<DWORD>(stride * height);
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(&file), sizeof file);
  out.write(reinterpret_cast<const char*>(&info.bmiHeader), sizeof info.bmiHeader);
  out.write(static_cast<const char*>(bits), static_cast<std::streamsize>(stride) * height);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return static_cast<bool>(out);
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
