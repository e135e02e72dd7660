// The traced build's start-up marks: the performance counter at each step, kept
// in memory and written at exit to the file that OMBRIX_STARTUP_TRACE names, so
// that recording them costs the start-up nothing measurable. The counter is the
// same in every process, so the launcher can set the marks against its own
// CreateProcess.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "ui/win32/StartupMark.h"

namespace {

struct Mark {
  const char* step;
  LONGLONG counter;
};

Mark marks[32];
int markCount = 0;

void WriteMarks() {
  const char* path = std::getenv("OMBRIX_STARTUP_TRACE");
  if (!path) return;
  if (FILE* file = std::fopen(path, "w")) {
    for (int i = 0; i < markCount; ++i) std::fprintf(file, "%lld %s\n", marks[i].counter, marks[i].step);
    std::fclose(file);
  }
}

}  // namespace

namespace ui::win32 {

void StartupMark(const char* step) {
  if (markCount == 0) std::atexit(WriteMarks);
  if (markCount == static_cast<int>(sizeof marks / sizeof marks[0])) return;
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  marks[markCount++] = {step, now.QuadPart};
}

}  // namespace ui::win32
