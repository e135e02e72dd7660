#include "tests/win32/Win32Support.h"

#include <algorithm>
#include <fstream>

#include "app/CAboutDlg.h"
#include "ui/win32/TextCodec.h"

namespace win32_tests {
ModalGuard guard;

LRESULT CALLBACK GuardHook(int code, WPARAM wParam, LPARAM lParam) {
  const auto hwnd = reinterpret_cast<HWND>(wParam);
  wchar_t cls[16] = {};
  // A property sheet is a dialog too, and so are its pages: only owned popups count.
  if (code == HCBT_ACTIVATE && GetClassNameW(hwnd, cls, 16) && std::wstring(cls) == L"#32770" &&
      !(GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_CHILD) && GetWindow(hwnd, GW_OWNER) &&
      std::find(guard.handled.begin(), guard.handled.end(), hwnd) == guard.handled.end()) {
    guard.handled.push_back(hwnd);
    SeenDialog seen{hwnd, Text(hwnd), L""};
    EnumChildWindows(
        hwnd,
        [](HWND child, LPARAM text) {
          wchar_t name[16] = {};
          GetClassNameW(child, name, 16);
          auto& all = *reinterpret_cast<std::wstring*>(text);
          if (_wcsicmp(name, L"Static") == 0 && GetWindowTextLengthW(child) > 0)
            all += (all.empty() ? L"" : L"\n") + Text(child);
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&seen.text));
    guard.seen.push_back(seen);
    if (guard.handlers.empty()) {
      ADD_FAILURE() << "unexpected dialog \"" << ui::win32::WideToUtf8(seen.caption)
                    << "\": " << ui::win32::WideToUtf8(seen.text);
      PostMessageW(hwnd, WM_COMMAND, IDCANCEL, 0);
      PostMessageW(hwnd, WM_CLOSE, 0, 0);
    } else {
      const Handler handler = std::move(guard.handlers.front());
      guard.handlers.pop_front();
      handler(seen);
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

Handler PressButton(int id) {
  return [id](const SeenDialog& dialog) { PostMessageW(dialog.hwnd, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); };
}

Handler ChooseFile(const std::filesystem::path& path) {
  return [path](const SeenDialog& dialog) {
    HWND box = GetDlgItem(dialog.hwnd, 0x47C);  // cmb13, or edt1 in the old-style dialog
    SetWindowTextW(box ? box : GetDlgItem(dialog.hwnd, 0x480), path.wstring().c_str());
    PostMessageW(dialog.hwnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  };
}

bool PumpUntil(const std::function<bool()>& done, int timeoutMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    if (done()) return true;
    if (static_cast<int>(GetTickCount() - start) > timeoutMs) return false;
    Sleep(5);
  }
}

std::wstring Text(HWND hwnd) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
  return text;
}

std::filesystem::path BuildDir() {
  wchar_t module[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, module, MAX_PATH);
  return std::filesystem::path(module).parent_path();
}

std::filesystem::path FreshFolder(const std::string& name) {
  const std::filesystem::path path = std::filesystem::temp_directory_path() / ("ombrix-" + name);
  std::filesystem::remove_all(path);
  std::filesystem::create_directories(path);
  return path;
}

namespace {

ScreenPicture ReadScreen(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  ScreenPicture picture{r.right - r.left, r.bottom - r.top, {}};
  if (picture.width <= 0 || picture.height <= 0) return {};
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof info.bmiHeader, picture.width, picture.height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, picture.width, picture.height, screen, r.left, r.top, SRCCOPY);
  SelectObject(memory, old);
  const auto* first = static_cast<const std::uint8_t*>(bits);
  picture.pixels.assign(first, first + (picture.width * 3 + 3) / 4 * 4 * picture.height);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return picture;
}

}  // namespace

ScreenPicture CaptureScreen(HWND hwnd) {
  // Wine hands a window's pixels to the display whenever the thread finds its queue empty, and draws again what
  // the display reports uncovered once that report has come in: the picture is the first that the next, after
  // another round of messages, agrees with. A screen that never stands still (a blinking caret) is taken as is.
  ScreenPicture last;
  for (int round = 0; round < 50; ++round) {
    PumpPending();
    ScreenPicture picture = ReadScreen(hwnd);
    if (round > 0 && picture.pixels == last.pixels) break;
    last = std::move(picture);
  }
  return last;
}

bool SavePicture(const ScreenPicture& picture, const std::string& name) {
  if (picture.pixels.empty()) return false;
  const BITMAPINFOHEADER header{sizeof header, picture.width, picture.height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  const DWORD offset = sizeof(BITMAPFILEHEADER) + sizeof header;
  const BITMAPFILEHEADER file{0x4D42, offset + static_cast<DWORD>(picture.pixels.size()), 0, 0, offset};
  std::ofstream out(BuildDir() / "artifacts" / name, std::ios::binary);
  out.write(reinterpret_cast<const char*>(&file), sizeof file);
  out.write(reinterpret_cast<const char*>(&header), sizeof header);
  out.write(reinterpret_cast<const char*>(picture.pixels.data()), static_cast<std::streamsize>(picture.pixels.size()));
  return static_cast<bool>(out);
}

void MainWindowTest::SetUp() {
  rom::ResetRomState();
  guard = {};
  logic = std::make_unique<CPropertySheetCrtl>();
  window = std::make_unique<MainSheetWindow>(*logic, GetModuleHandleW(nullptr));
  window->showAbout = [](HWND owner) { CAboutDlg::Run(GetModuleHandleW(nullptr), owner); };
  hwnd = window->Create();
  ASSERT_NE(hwnd, nullptr);
  PumpPending();
}

void MainWindowTest::TearDown() {
  if (IsWindow(hwnd)) DestroyWindow(hwnd);
  // Destroying the main window posts the quit message: take it out of the queue.
  PumpPending();
  EXPECT_TRUE(guard.handlers.empty()) << "an expected dialog never appeared";
}

void MainWindowTest::Press(int id) {
  SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(hwnd, id)));
  PumpPending();
}

void MainWindowTest::ShowPage(int index) {
  SendMessageW(hwnd, PSM_SETCURSEL, static_cast<WPARAM>(index), 0);
  PumpPending();
}

void MainWindowTest::CloseUpOn(int page, int listId, int entry) {
  const HWND list = Control(page, listId);
  SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(entry), 0);
  SendMessageW(Page(page), WM_COMMAND, MAKEWPARAM(listId, CBN_CLOSEUP), reinterpret_cast<LPARAM>(list));
  PumpPending();
}

void MainWindowTest::Open(const std::filesystem::path& path) {
  ASSERT_TRUE(std::filesystem::exists(path)) << path.string();
  guard.handlers.push_back(ChooseFile(path));
  Press(ID_FILE_OPEN_ROM);
  ASSERT_EQ(rom::romLoaded, 1) << "the image was not opened";
}

}  // namespace win32_tests
