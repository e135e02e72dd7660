#pragma once
// A fresh folder under the system's temporary folder, removed with everything in it.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace testing_support {

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }
  // The names of the entries in the folder, sorted.
  std::vector<std::string> Names() const;
  // Every entry below the folder, sorted: its path inside the folder, "/" after a folder, and for a symbolic link
  // " -> " and what it holds (links are not followed).
  std::vector<std::string> Tree() const;

  static void WriteBytes(const std::filesystem::path& file, const std::vector<std::uint8_t>& bytes);
  // The whole file; empty when it cannot be read.
  static std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& file);

 private:
  std::filesystem::path path_;
};

}  // namespace testing_support
