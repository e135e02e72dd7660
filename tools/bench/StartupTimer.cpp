// Times the start-up of window programs: from CreateProcess to the main window
// being visible, to everything in it painted, and to its thread answering a
// message, then closes each one. Started once under Wine, it starts the programs
// itself, so Wine's own start-up (the server, the prefix) is paid once and
// counted for none of them. A program built with start-up marks (ui/win32/StartupMark.h)
// writes them to the file named by OMBRIX_STARTUP_TRACE; they are shown as a
// timeline from the same CreateProcess.
//
// Usage: startup_timer RUNS CAPTION PROGRAM.exe [CAPTION PROGRAM.exe ...]
// The programs are run in turn, RUNS times each after one run to warm the caches.
// The first program is the one the others are compared with.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "tools/bench/Median.h"

namespace {

struct Target {
  std::wstring caption;
  std::wstring exe;
  std::vector<double> shown;  // milliseconds
  std::vector<double> painted;
  std::vector<double> ready;
  // The program's own marks, in the order they first came.
  std::vector<std::pair<std::string, std::vector<double>>> marks;
};

// One run's measures, in milliseconds from CreateProcess.
struct Run {
  double shown = 0, painted = 0, ready = 0;
  std::vector<std::pair<std::string, double>> marks;
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

double Milliseconds(LONGLONG from, LONGLONG to) {
  static const LONGLONG frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f.QuadPart;
  }();
  return static_cast<double>(to - from) * 1000.0 / static_cast<double>(frequency);
}

double Milliseconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
  return Milliseconds(from.QuadPart, to.QuadPart);
}

// The marks a traced program wrote at its exit: "COUNTER STEP" lines.
std::vector<std::pair<std::string, double>> ReadMarks(const std::wstring& path, const LARGE_INTEGER& start) {
  std::vector<std::pair<std::string, double>> marks;
  std::ifstream in(std::filesystem::path{path});
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    long long counter = 0;
    std::string step;
    if (fields >> counter && std::getline(fields >> std::ws, step)) {
      marks.emplace_back(step, Milliseconds(start.QuadPart, counter));
    }
  }
  return marks;
}

std::wstring TracePath(const std::wstring& folder) {
  return folder + L"startup-trace.txt";
}

std::wstring FolderOfThisProgram() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder = path;
  return folder.substr(0, folder.find_last_of(L"\\/") + 1);
}

// One start, wait, close; false (with a message) when the program misbehaved.
bool RunOnce(const Target& target, const std::wstring& folder, Run& run) {
  const std::wstring exe = folder + target.exe;
  std::wstring command = L"\"" + exe + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  LARGE_INTEGER start, now;
  DeleteFileW(TracePath(folder).c_str());
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
    run.shown = Milliseconds(start, now);
    // Sends WM_PAINT to every window of the program that still needs it and
    // returns once none does: the first paint is complete.
    RedrawWindow(search.found, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    QueryPerformanceCounter(&now);
    run.painted = Milliseconds(start, now);
    DWORD_PTR answer = 0;
    ok = SendMessageTimeoutW(search.found, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &answer) != 0;
    QueryPerformanceCounter(&now);
    run.ready = Milliseconds(start, now);
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
  if (ok) run.marks = ReadMarks(TracePath(folder), start);
  return ok;
}

void Record(Target& target, const Run& run) {
  target.shown.push_back(run.shown);
  target.painted.push_back(run.painted);
  target.ready.push_back(run.ready);
  for (const auto& [step, ms] : run.marks) {
    auto found = std::find_if(target.marks.begin(), target.marks.end(), [&](const auto& m) { return m.first == step; });
    if (found == target.marks.end()) found = target.marks.insert(target.marks.end(), {step, {}});
    found->second.push_back(ms);
  }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 4 || argc % 2 != 0) {
    std::fwprintf(stderr, L"usage: startup_timer RUNS CAPTION PROGRAM.exe [CAPTION PROGRAM.exe ...]\n");
    return 2;
  }
  const int runs = std::max(1, _wtoi(argv[1]));
  std::vector<Target> targets;
  for (int i = 2; i + 1 < argc; i += 2) targets.push_back({argv[i], argv[i + 1], {}, {}, {}, {}});
  const std::wstring folder = FolderOfThisProgram();
  SetEnvironmentVariableW(L"OMBRIX_STARTUP_TRACE", TracePath(folder).c_str());

  // Each pass starts with the next program, so that none always follows the
  // same one (whose exit Wine may still be tidying up), and the machine gets a
  // moment between runs.
  const std::size_t count = targets.size();
  for (int pass = -1; pass < runs; ++pass) {
    for (std::size_t i = 0; i < count; ++i) {
      Target& target = targets[(static_cast<std::size_t>(pass + 1) + i) % count];
      Sleep(100);
      Run run;
      if (!RunOnce(target, folder, run)) return 1;
      if (pass >= 0) Record(target, run);
    }
  }

  for (const Target& target : targets) {
    std::wprintf(L"%-28ls shown: median %6.1f ms (min %6.1f, max %6.1f)   painted: %6.1f   answering: %6.1f\n",
                 target.exe.c_str(), Median(target.shown), *std::min_element(target.shown.begin(), target.shown.end()),
                 *std::max_element(target.shown.begin(), target.shown.end()), Median(target.painted),
                 Median(target.ready));
  }
  for (std::size_t i = 1; i < targets.size(); ++i) {
    std::wprintf(L"ratio %ls / %ls: shown %.2f, painted %.2f\n", targets[0].exe.c_str(), targets[i].exe.c_str(),
                 Median(targets[0].shown) / Median(targets[i].shown),
                 Median(targets[0].painted) / Median(targets[i].painted));
  }
  for (const Target& target : targets) {
    if (target.marks.empty()) continue;
    std::wprintf(L"timeline of %ls (medians, ms from CreateProcess):\n", target.exe.c_str());
    for (const auto& [step, ms] : target.marks) std::wprintf(L"  %7.1f  %hs\n", Median(ms), step.c_str());
    std::wprintf(L"  %7.1f  shown (seen from outside)\n  %7.1f  painted\n", Median(target.shown),
                 Median(target.painted));
  }
  return 0;
}
