// ombrix: the editor's pages on the command line.
#include "cli/ExitStatus.h"
#include "cli/Run.h"

#ifdef _WIN32
#include <windows.h>

#include <iostream>
#include <string>
#include <vector>

// Windows hands a narrow main() its arguments in the ANSI code page, where a file
// name or a text with any other character arrives as '?'. The wide arguments are
// converted once to UTF-8, which is what the program takes on Linux too; an
// argument that is no valid UTF-16 (a lone surrogate) is refused rather than
// turned into another name.
int wmain(int argc, wchar_t** argv) {
  std::vector<std::string> args;
  for (int i = 0; i < argc; ++i) {
    const int size = WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, argv[i], -1, nullptr, 0, nullptr, nullptr);
    if (size <= 0) {
      std::cerr << "ombrix: argument " << i << " is not valid Unicode\n";
      return cli::kUsage;
    }
    std::string arg(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, argv[i], -1, arg.data(), size, nullptr, nullptr);
    arg.resize(static_cast<std::size_t>(size - 1));
    args.push_back(std::move(arg));
  }
  std::vector<const char*> pointers;
  for (const std::string& arg : args) pointers.push_back(arg.c_str());
  pointers.push_back(nullptr);

  // What ombrix prints is UTF-8; a console shows it as such only in that code
  // page. The console belongs to the shell too, so its code page is put back.
  const UINT consolePage = GetConsoleOutputCP();
  if (consolePage != 0) SetConsoleOutputCP(CP_UTF8);
  const int status = cli::Run(argc, pointers.data());
  std::cout.flush();
  std::cerr.flush();
  if (consolePage != 0) SetConsoleOutputCP(consolePage);
  return status;
}
#else
int main(int argc, char** argv) { return cli::Run(argc, argv); }
#endif
