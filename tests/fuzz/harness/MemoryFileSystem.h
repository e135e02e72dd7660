#pragma once
// Files kept in memory, so that loading and saving run on fuzz input without a disk.

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "rom/FileSystem.h"

namespace fuzzing {

class MemoryFileSystem : public rom::FileSystem {
 public:
  using Bytes = std::vector<std::uint8_t>;

  // A read hands back at most this many bytes, so callers must loop.
  static constexpr std::size_t kReadChunk = 1000;

  void Put(const std::filesystem::path& path, Bytes bytes) { files_[path.string()] = std::move(bytes); }
  const Bytes* Find(const std::filesystem::path& path) const;
  std::size_t FileCount() const { return files_.size(); }
  std::size_t OpenHandles() const { return open_.size(); }

  bool Exists(const std::filesystem::path& path) override { return Find(path) != nullptr; }
  Handle OpenRead(const std::filesystem::path& path) override { return Open(path, false); }
  Handle OpenWritable(const std::filesystem::path& path) override { return Open(path, true); }
  Handle CreateTemp(const std::filesystem::path& target, std::filesystem::path& tempPath) override;
  long long Read(Handle handle, void* buffer, std::size_t size) override;
  long long Write(Handle handle, const void* buffer, std::size_t size) override;
  bool Flush(Handle handle) override { return open_.count(handle) != 0; }
  bool Close(Handle handle) override { return open_.erase(handle) != 0; }
  bool Replace(const std::filesystem::path& from, const std::filesystem::path& to) override;
  bool Remove(const std::filesystem::path& path) override { return files_.erase(path.string()) != 0; }

 private:
  struct OpenFile {
    std::string path;
    std::size_t position = 0;
    bool writable = false;
  };
  Handle Open(const std::filesystem::path& path, bool writable);

  std::map<std::string, Bytes> files_;
  std::map<Handle, OpenFile> open_;
  Handle next_ = 1;
};

}  // namespace fuzzing
