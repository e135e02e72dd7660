// The Windows tests: every dialog that no test expects fails the test at once.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include "tests/win32/ModalGuard.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_TAB_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  win32_tests::ModalGuard::Instance().Install();
  const int result = RUN_ALL_TESTS();
  win32_tests::ModalGuard::Instance().Uninstall();
  return result;
}
