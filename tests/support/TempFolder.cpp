#include "tests/support/TempFolder.h"

#include <algorithm>
#include <chrono>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>
#include <system_error>

namespace testing_support {
namespace fs = std::filesystem;

TempFolder::TempFolder() {
  // Tests of several processes may run at once: the name must not collide.
  std::random_device device;
  const auto now = static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count());
  for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
    path_ = fs::temp_directory_path() / ("ombrix-" + std::to_string(now) + "-" + std::to_string(device()));
    if (!fs::create_directory(path_)) path_.clear();
  }
  if (path_.empty()) throw std::runtime_error("cannot create a temporary folder");
}

TempFolder::~TempFolder() {
  std::error_code error;  // read-only files go too: removing them takes only the folder's write permission
  fs::remove_all(path_, error);
}

std::vector<std::string> TempFolder::Names() const {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(path_)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

std::vector<std::string> TempFolder::Tree() const {
  std::vector<std::string> entries;
  for (const auto& entry : fs::recursive_directory_iterator(path_)) {
    std::string line = entry.path().lexically_relative(path_).generic_string();
    if (entry.is_symlink())
      line += " -> " + fs::read_symlink(entry.path()).generic_string();
    else if (entry.is_directory())
      line += "/";
    entries.push_back(line);
  }
  std::sort(entries.begin(), entries.end());
  return entries;
}

void TempFolder::WriteBytes(const fs::path& file, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + file.string());
}

std::vector<std::uint8_t> TempFolder::ReadBytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace testing_support
