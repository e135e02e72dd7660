// The real program: started, shown, photographed and closed.
#include <windows.h>

#include <gtest/gtest.h>

#include "res/resource.h"
#include "tests/win32/Win32Support.h"

namespace win32_tests {
namespace {

struct Search {
  DWORD process;
  HWND found;
};

BOOL CALLBACK FindMainWindow(HWND hwnd, LPARAM data) {
  auto* search = reinterpret_cast<Search*>(data);
  DWORD process = 0;
  GetWindowThreadProcessId(hwnd, &process);
  wchar_t title[64] = {};
  GetWindowTextW(hwnd, title, 64);
  if (process == search->process && wcscmp(title, L"Ombrix BIOS Editor") == 0 && IsWindowVisible(hwnd)) {
    search->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

TEST(ProgramTest, StartsOnTheFirstPageAndClosesWithoutAQuestion) {
  const std::wstring exe = (BuildDir() / "OmbrixBiosEditor.exe").wstring();
  std::wstring command = L"\"" + exe + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  ASSERT_TRUE(CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                             BuildDir().wstring().c_str(), &startup, &process));
  Search search{process.dwProcessId, nullptr};
  const bool shown = PumpUntil(
      [&] {
        EnumWindows(FindMainWindow, reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
      },
      30000);
  if (!shown) TerminateProcess(process.hProcess, 1);
  ASSERT_TRUE(shown) << "the main window never appeared";
  PumpUntil([] { return false; }, 500);

  wchar_t apply[32] = {};
  GetDlgItemTextW(search.found, IDOK, apply, 32);
  EXPECT_STREQ(apply, L"&Apply");
  EXPECT_NE(GetMenu(search.found), nullptr);
  EXPECT_TRUE(SaveScreenshot(search.found, ArtifactsDir() / "program-start.bmp"));

  PostMessageW(search.found, WM_CLOSE, 0, 0);
  const bool ended = WaitForSingleObject(process.hProcess, 20000) == WAIT_OBJECT_0;
  if (!ended) TerminateProcess(process.hProcess, 1);
  EXPECT_TRUE(ended) << "closing an unmodified program must not ask anything";
  DWORD code = 1;
  GetExitCodeProcess(process.hProcess, &code);
  EXPECT_EQ(code, 0u);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
}

// Run only by win32.CrashEndsAtOnce, which expects the backtrace at once, not a time-out.
TEST(CrashProbe, DISABLED_Crashes) { RaiseException(EXCEPTION_ACCESS_VIOLATION, EXCEPTION_NONCONTINUABLE, 0, nullptr); }

}  // namespace
}  // namespace win32_tests
