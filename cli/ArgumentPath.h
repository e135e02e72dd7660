#pragma once
// A file name given on the command line. Its text is UTF-8 on every platform (on
// Windows main() converts the wide arguments to it), but std::filesystem::path reads
// a narrow string in the C library's code page there, one byte a character, which
// turns every name outside ASCII into another. CLI11 assigns an option's text with
// operator=, so an option of this type is read as UTF-8.

#include <filesystem>
#include <string>

namespace cli {

class ArgumentPath : public std::filesystem::path {
 public:
  ArgumentPath() = default;
  ArgumentPath& operator=(const std::string& utf8) {
    std::filesystem::path::operator=(std::u8string(utf8.begin(), utf8.end()));
    return *this;
  }
};

}  // namespace cli
