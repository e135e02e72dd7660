#include "tests/win32/ModalGuard.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "ui/win32/TextCodec.h"

namespace win32_tests {
namespace {

std::wstring WindowText(HWND hwnd) {
  const int length = GetWindowTextLengthW(hwnd);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  GetWindowTextW(hwnd, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(std::max(0, length)));
  return text;
}

std::wstring ClassName(HWND hwnd) {
  wchar_t name[64] = {};
  GetClassNameW(hwnd, name, 64);
  return name;
}

BOOL CALLBACK CollectChild(HWND child, LPARAM data) {
  auto* seen = reinterpret_cast<SeenDialog*>(data);
  const std::wstring cls = ClassName(child);
  if (_wcsicmp(cls.c_str(), L"Static") == 0) {
    const std::wstring text = WindowText(child);
    if (!text.empty()) seen->text += (seen->text.empty() ? L"" : L"\n") + text;
  }
  const int id = GetDlgCtrlID(child);
  if (id == 0x47C /* cmb13 */ || id == 0x480 /* edt1 */) seen->hasFileNameBox = true;
  return TRUE;
}

}  // namespace

ModalGuard& ModalGuard::Instance() {
  static ModalGuard guard;
  return guard;
}

void ModalGuard::Install() {
  if (!hook_) hook_ = SetWindowsHookExW(WH_CBT, CbtProc, nullptr, GetCurrentThreadId());
}

void ModalGuard::Uninstall() {
  if (hook_) UnhookWindowsHookEx(hook_);
  hook_ = nullptr;
}

void ModalGuard::Reset() {
  handlers_.clear();
  seen_.clear();
  handled_.clear();
}

LRESULT CALLBACK ModalGuard::CbtProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE) Instance().OnActivate(reinterpret_cast<HWND>(wParam));
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

void ModalGuard::OnActivate(HWND hwnd) {
  if (ClassName(hwnd) != L"#32770") return;
  // A property sheet is a dialog too, and so are its pages: only owned popups count.
  if (GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_CHILD) return;
  const HWND owner = GetWindow(hwnd, GW_OWNER);
  if (owner == nullptr) return;
  if (std::find(handled_.begin(), handled_.end(), hwnd) != handled_.end()) return;
  handled_.push_back(hwnd);
  SeenDialog seen;
  seen.hwnd = hwnd;
  seen.owner = owner;
  seen.caption = WindowText(hwnd);
  EnumChildWindows(hwnd, CollectChild, reinterpret_cast<LPARAM>(&seen));
  seen_.push_back(seen);
  if (handlers_.empty()) {
    ADD_FAILURE() << "unexpected dialog \"" << ui::win32::WideToUtf8(seen.caption) << "\": "
                  << ui::win32::WideToUtf8(seen.text);
    PostMessageW(hwnd, WM_COMMAND, IDCANCEL, 0);
    PostMessageW(hwnd, WM_CLOSE, 0, 0);
    return;
  }
  Handler handler = std::move(handlers_.front());
  handlers_.pop_front();
  handler(seen);
}

ModalGuard::Handler ModalGuard::PressButton(int id) {
  return [id](const SeenDialog& dialog) { PostMessageW(dialog.hwnd, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); };
}

ModalGuard::Handler ModalGuard::ChooseFile(const std::wstring& path) {
  return [path](const SeenDialog& dialog) {
    HWND box = GetDlgItem(dialog.hwnd, 0x47C);
    if (!box) box = GetDlgItem(dialog.hwnd, 0x480);
    if (box) SetWindowTextW(box, path.c_str());
    PostMessageW(dialog.hwnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  };
}

bool PumpUntil(const std::function<bool()>& done, int timeoutMs) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (static_cast<int>(GetTickCount() - start) > timeoutMs) return false;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    Sleep(5);
  }
  return true;
}

void PumpPending() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

}  // namespace win32_tests
