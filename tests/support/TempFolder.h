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

  static void WriteBytes(const std::filesystem::path& file, const std::vector<std::uint8_t>& bytes);
  // The whole file; empty when it cannot be read.
  static std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& file);

 private:
  std::filesystem::path path_;
};

}  // namespace testing_support
