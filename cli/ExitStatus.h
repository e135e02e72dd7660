#pragma once
// What ombrix's exit status tells a script, and the error that carries one.

#include <stdexcept>
#include <string>

namespace cli {

enum ExitStatus : int {
  kOk = 0,
  // diff: the images differ; verify: a file is no valid image or its checksum is wrong.
  kDiffers = 1,
  // A page refused a text or cannot show a field; nothing was written.
  kRefused = 2,
  // The command line is wrong: an unknown command, option or field name.
  kUsage = 3,
  // A file is missing, unreadable, no image, or could not be written.
  kFileError = 4,
};

inline constexpr const char* kExitStatusHelp =
    "Exit status: 0 success (diff: equal; verify: every file valid), 1 diff: the images differ, verify: a file\n"
    "is not valid, 2 a page refused a text or cannot show a field (nothing written), 3 wrong command line or\n"
    "unknown field, 4 a file is missing, unreadable, no image, or could not be written.";

class CliError : public std::runtime_error {
 public:
  CliError(ExitStatus status, const std::string& message) : std::runtime_error(message), status_(status) {}
  ExitStatus status() const { return status_; }

 private:
  ExitStatus status_;
};

}  // namespace cli
