// Times the start-up of window programs: from CreateProcess to the main window
// being visible, and to its thread answering a message, then closes each one.
// Started once under Wine, it starts the programs itself, so Wine's own start-up
// (the server, the prefix) is paid once and counted for none of them.
//
// Usage: startup_timer RUNS CAPTION PROGRAM.exe [CAPTION PROGRAM.exe ...]
// The programs are run in turn, RUNS times each after one run to warm the caches.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

struct Target {
  std::wstring caption;
  std::wstring exe;
  std::vector<double> shown;  // milliseconds
  std::vector<double> ready;
};

struct Search {
  DWORD process;
  const wchar_t* caption;
  HWND found;
};

BOOL CALLBACK FindShownWindow(HWND hwnd, LPARAM data) {
  auto* search = reinterpret_cast<Search*>(data);
  DWORD process = 0;
  GetWindowThreadProcessId(hwnd, &process);
  if (process != search->process || !IsWindowVisible(hwnd)) return TRUE;
  wchar_t title[128] = {};
  GetWindowTextW(hwnd, title, 128);
  if (std::wcscmp(title, search->caption) != 0) return TRUE;
  search->found = hwnd;
  return FALSE;
}

double Milliseconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
  static const LONGLONG frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f.QuadPart;
  }();
  return static_cast<double>(to.QuadPart - from.QuadPart) * 1000.0 / static_cast<double>(frequency);
}

std::wstring FolderOfThisProgram() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder = path;
  return folder.substr(0, folder.find_last_of(L"\\/") + 1);
}

// One start, wait, close; false (with a message) when the program misbehaved.
bool RunOnce(const Target& target, const std::wstring& folder, double& shown, double& ready) {
  const std::wstring exe = folder + target.exe;
  std::wstring command = L"\"" + exe + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  LARGE_INTEGER start, now;
  QueryPerformanceCounter(&start);
  if (!CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                      &process)) {
    std::fwprintf(stderr, L"cannot start %ls (error %lu)\n", exe.c_str(), GetLastError());
    return false;
  }
  Search search{process.dwProcessId, target.caption.c_str(), nullptr};
  for (;;) {
    EnumWindows(FindShownWindow, reinterpret_cast<LPARAM>(&search));
    QueryPerformanceCounter(&now);
    if (search.found || Milliseconds(start, now) > 30000 || WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0)
      break;
    Sleep(1);
  }
  bool ok = search.found != nullptr;
  if (ok) {
    shown = Milliseconds(start, now);
    DWORD_PTR answer = 0;
    ok = SendMessageTimeoutW(search.found, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &answer) != 0;
    QueryPerformanceCounter(&now);
    ready = Milliseconds(start, now);
    PostMessageW(search.found, WM_CLOSE, 0, 0);
  }
  if (WaitForSingleObject(process.hProcess, ok ? 20000 : 0) != WAIT_OBJECT_0) {
    if (ok) std::fwprintf(stderr, L"%ls did not end on WM_CLOSE\n", target.exe.c_str());
    TerminateProcess(process.hProcess, 1);
    WaitForSingleObject(process.hProcess, 5000);
    ok = false;
  } else if (!search.found) {
    std::fwprintf(stderr, L"%ls never showed \"%ls\"\n", target.exe.c_str(), target.caption.c_str());
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return ok;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 4 || argc % 2 != 0) {
    std::fwprintf(stderr, L"usage: startup_timer RUNS CAPTION PROGRAM.exe [CAPTION PROGRAM.exe ...]\n");
    return 2;
  }
  const int runs = std::max(1, _wtoi(argv[1]));
  std::vector<Target> targets;
  for (int i = 2; i + 1 < argc; i += 2) targets.push_back({argv[i], argv[i + 1], {}, {}});
  const std::wstring folder = FolderOfThisProgram();

  for (int run = -1; run < runs; ++run) {
    for (Target& target : targets) {
      double shown = 0, ready = 0;
      if (!RunOnce(target, folder, shown, ready)) return 1;
      if (run < 0) continue;
      target.shown.push_back(shown);
      target.ready.push_back(ready);
    }
  }

  for (const Target& target : targets) {
    std::wprintf(L"%-24ls shown: median %7.1f ms (min %7.1f, max %7.1f)   answering: median %7.1f ms\n",
                 target.exe.c_str(), Median(target.shown), *std::min_element(target.shown.begin(), target.shown.end()),
                 *std::max_element(target.shown.begin(), target.shown.end()), Median(target.ready));
  }
  for (std::size_t i = 1; i < targets.size(); ++i) {
    std::wprintf(L"ratio %ls / %ls: shown %.2f, answering %.2f\n", targets[0].exe.c_str(), targets[i].exe.c_str(),
                 Median(targets[0].shown) / Median(targets[i].shown),
                 Median(targets[0].ready) / Median(targets[i].ready));
  }
  return 0;
}
