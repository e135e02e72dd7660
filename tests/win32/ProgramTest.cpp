// The real program: started, shown, photographed, driven with real keystrokes and closed.
#include <functional>
#include <initializer_list>

#include "tests/support/RomBuilder.h"
#include "tests/win32/Win32Support.h"

namespace win32_tests {
namespace {

// The editor's own process, started in `folder`, seen from outside as a user sees it. Every step waits for what
// it must bring about, however slow the machine; only a program that never gets there runs into a time-out.
struct Program {
  static constexpr int kPatienceMs = 60000;

  explicit Program(const std::filesystem::path& folder) {
    const std::wstring exe = (BuildDir() / "OmbrixBiosEditor.exe").wstring();
    std::wstring command = L"\"" + exe + L"\"";
    STARTUPINFOW startup{sizeof startup};
    if (!CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.wstring().c_str(),
                        &startup, &process))
      return;
    main = Wait(L"Ombrix BIOS Editor");
    WaitForInputIdle(process.hProcess, kPatienceMs);
  }
  ~Program() {
    if (!process.hProcess) return;
    if (!Ended(0)) TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  // The program's visible top-level window with this title, or nullptr after `ms`.
  HWND Wait(const wchar_t* title, int ms = kPatienceMs) const {
    HWND found = nullptr;
    PumpUntil(
        [&] {
          for (HWND w = FindWindowExW(nullptr, nullptr, nullptr, title); w && !found;
               w = FindWindowExW(nullptr, w, nullptr, title)) {
            DWORD owner = 0;
            GetWindowThreadProcessId(w, &owner);
            if (owner == process.dwProcessId && IsWindowVisible(w)) found = w;
          }
          return found != nullptr;
        },
        ms);
    return found;
  }
  // Whether `done` came true before the program's patience ran out.
  static bool Eventually(const std::function<bool()>& done) { return PumpUntil(done, kPatienceMs); }
  // Brings `to` to the front, then presses the keys in order and lets them go in reverse. The program takes
  // them in that order after everything sent before; the caller waits for what they do.
  void Keys(HWND to, std::initializer_list<WORD> keys) const {
    SetForegroundWindow(to);
    EXPECT_TRUE(Eventually([to] { return GetForegroundWindow() == to; }));
    std::vector<INPUT> input(keys.size() * 2, INPUT{INPUT_KEYBOARD, {}});
    for (std::size_t i = 0; i < keys.size(); ++i) {
      input[i].ki.wVk = input[input.size() - 1 - i].ki.wVk = keys.begin()[i];
      input[input.size() - 1 - i].ki.dwFlags = KEYEVENTF_KEYUP;
    }
    SendInput(static_cast<UINT>(input.size()), input.data(), sizeof(INPUT));
  }
  // The program has taken everything sent to `window` before and is back in its message loop, with the window.
  bool Responds(HWND window) const {
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, kPatienceMs, &result) != 0 && IsWindow(window);
  }
  bool Ended(int ms) const { return WaitForSingleObject(process.hProcess, static_cast<DWORD>(ms)) == WAIT_OBJECT_0; }
  // The window with the keyboard focus is on the shown page or is its tab.
  bool FocusOnActivePage() const {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(process.dwThreadId, &info);
    const auto page = reinterpret_cast<HWND>(SendMessageW(main, PSM_GETCURRENTPAGEHWND, 0, 0));
    return info.hwndFocus && (IsChild(page, info.hwndFocus) ||
                              info.hwndFocus == reinterpret_cast<HWND>(SendMessageW(main, PSM_GETTABCONTROL, 0, 0)));
  }

  HWND main = nullptr;
  PROCESS_INFORMATION process{};
};

TEST(ProgramTest, StartsOnTheFirstPageAndIsDrivenByKeysToOpenApplySaveAndClose) {
  const std::filesystem::path folder = FreshFolder("keys");
  const std::filesystem::path file = folder / "image.rom";
  testing_support::RomBuilder().FixChecksum().WriteFile(file);
  std::filesystem::last_write_time(file, std::filesystem::last_write_time(file) - std::chrono::hours(1));
  const auto written = std::filesystem::last_write_time(file);
  Program program(folder);
  ASSERT_NE(program.main, nullptr) << "the main window never appeared";
  EXPECT_EQ(Text(GetDlgItem(program.main, IDOK)), L"&Apply");
  EXPECT_NE(GetMenu(program.main), nullptr);
  EXPECT_TRUE(Program::Eventually([&] { return program.FocusOnActivePage(); }));
  EXPECT_TRUE(SavePicture(CaptureScreen(program.main), "program-start.bmp"));

  program.Keys(program.main, {VK_CONTROL, 'O'});
  const HWND open = program.Wait(L"Open");
  ASSERT_NE(open, nullptr) << "Ctrl+O showed no Open dialog";
  SendMessageW(GetDlgItem(open, 0x47C), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(file.wstring().c_str()));
  program.Keys(open, {VK_RETURN});
  ASSERT_TRUE(Program::Eventually([open] { return !IsWindow(open); })) << "Enter left the Open dialog open";

  program.Keys(program.main, {VK_CONTROL, VK_TAB});  // to the next page, which must get the focus
  const HWND tab = PropSheet_GetTabControl(program.main);
  EXPECT_TRUE(Program::Eventually([tab] { return TabCtrl_GetCurSel(tab) == 1; }));
  EXPECT_TRUE(Program::Eventually([&] { return program.FocusOnActivePage(); }));
  program.Keys(program.main, {VK_MENU, 'A'});  // Apply: the image counts as modified
  program.Keys(program.main, {VK_CONTROL, 'A'});
  const HWND saveAs = program.Wait(L"Save As");
  ASSERT_NE(saveAs, nullptr) << "Ctrl+A showed no Save As dialog";
  program.Keys(saveAs, {VK_ESCAPE});
  ASSERT_TRUE(Program::Eventually([saveAs] { return !IsWindow(saveAs); }));

  program.Keys(program.main, {VK_MENU, VK_F4});
  const HWND question = program.Wait(L"Message Prompt");
  ASSERT_NE(question, nullptr) << "Alt+F4 on a modified image asked nothing";
  program.Keys(question, {VK_ESCAPE});  // Cancel: the program stays
  ASSERT_TRUE(Program::Eventually([question] { return !IsWindow(question); }));
  EXPECT_TRUE(program.Responds(program.main)) << "Cancel on the question ended the program";

  program.Keys(program.main, {VK_CONTROL, 'S'});  // saved, so no longer modified
  EXPECT_TRUE(Program::Eventually([&] { return std::filesystem::last_write_time(file) > written; }))
      << "Ctrl+S wrote nothing";
  program.Keys(program.main, {VK_MENU, VK_F4});
  EXPECT_TRUE(program.Ended(Program::kPatienceMs)) << "Alt+F4 after Save must close without a question";
  DWORD exitCode = 1;
  EXPECT_TRUE(GetExitCodeProcess(program.process.hProcess, &exitCode) && exitCode == 0);
}

// Run only by win32.CrashEndsAtOnce, which expects the backtrace at once, not a time-out.
TEST(CrashProbe, DISABLED_Crashes) {
  RaiseException(EXCEPTION_ACCESS_VIOLATION, EXCEPTION_NONCONTINUABLE, 0, nullptr);
}

}  // namespace
}  // namespace win32_tests
