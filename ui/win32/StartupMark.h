#pragma once
// Marks on the start-up timeline. Only the traced build of the program that
// tools/bench-startup.sh measures records them; in the program itself they are nothing.

namespace ui::win32 {

#ifdef OMBRIX_STARTUP_TRACE
void StartupMark(const char* step);
#else
inline void StartupMark(const char*) {}
#endif

}  // namespace ui::win32
