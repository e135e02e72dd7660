#pragma once
// The About box: dialog template 1004, nothing to exchange.

#include <windows.h>

class CAboutDlg {
 public:
  // Runs the box modally over `owner`; "OK", Esc and the close box end it.
  static void Run(HINSTANCE instance, HWND owner);

 private:
  static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
};
