#pragma once
// Watches every dialog box that becomes active on the test thread (message
// boxes, file dialogs, the About box): an expected one is answered by the
// test's handler, any other fails the test at once and is closed, so that no
// test can hang on a window nobody clicks.

#include <windows.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace win32_tests {

struct SeenDialog {
  HWND hwnd = nullptr;
  HWND owner = nullptr;
  std::wstring caption;
  std::wstring text;  // the texts of its static controls, joined by '\n'
  bool hasFileNameBox = false;
};

class ModalGuard {
 public:
  // Answers the dialog: e.g. post a button press. Runs when the dialog becomes active.
  using Handler = std::function<void(const SeenDialog&)>;

  static ModalGuard& Instance();
  void Install();
  void Uninstall();

  void Expect(Handler handler) { handlers_.push_back(std::move(handler)); }
  // Every expected dialog was seen.
  bool AllSeen() const { return handlers_.empty(); }
  const std::vector<SeenDialog>& seen() const { return seen_; }
  void Reset();

  // Handlers for the usual answers.
  static Handler PressButton(int id);
  // A file dialog: types `path` into its file name box and presses its OK button.
  static Handler ChooseFile(const std::wstring& path);

 private:
  static LRESULT CALLBACK CbtProc(int code, WPARAM wParam, LPARAM lParam);
  void OnActivate(HWND hwnd);

  HHOOK hook_ = nullptr;
  std::deque<Handler> handlers_;
  std::vector<SeenDialog> seen_;
  std::vector<HWND> handled_;
};

// Runs the message loop until `done` is true or `timeoutMs` passed; false on a time-out.
bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 5000);
// Processes the messages that are waiting.
void PumpPending();

}  // namespace win32_tests
