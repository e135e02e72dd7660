// The Windows tests: every dialog that no test expects fails the test at once.
#include "tests/win32/Win32Support.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_TAB_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  SetWindowsHookExW(WH_CBT, win32_tests::GuardHook, nullptr, GetCurrentThreadId());
  std::filesystem::create_directories(win32_tests::BuildDir() / "artifacts");
  return RUN_ALL_TESTS();
}
