#include "tests/fuzz/harness/MemoryFileSystem.h"

#include <algorithm>
#include <cstring>

namespace fuzzing {

const MemoryFileSystem::Bytes* MemoryFileSystem::Find(const std::filesystem::path& path) const {
  const auto it = files_.find(path.string());
  return it == files_.end() ? nullptr : &it->second;
}

MemoryFileSystem::Handle MemoryFileSystem::Open(const std::filesystem::path& path, bool writable) {
  if (!Exists(path)) return kInvalid;
  open_[next_] = OpenFile{path.string(), 0, writable};
  return next_++;
}

MemoryFileSystem::Handle MemoryFileSystem::CreateTemp(const std::filesystem::path& target,
                                                      std::filesystem::path& tempPath) {
  for (int attempt = 0;; ++attempt) {
    std::filesystem::path candidate = target;
    candidate += ".~" + std::to_string(attempt) + ".tmp";
    if (Exists(candidate)) continue;
    files_[candidate.string()] = {};
    tempPath = candidate;
    return Open(candidate, true);
  }
}

long long MemoryFileSystem::Read(Handle handle, void* buffer, std::size_t size) {
  const auto it = open_.find(handle);
  if (it == open_.end()) return -1;
  const Bytes& bytes = files_[it->second.path];
  const std::size_t start = std::min(it->second.position, bytes.size());
  const std::size_t n = std::min({size, kReadChunk, bytes.size() - start});
  if (n > 0) std::memcpy(buffer, bytes.data() + start, n);
  it->second.position = start + n;
  return static_cast<long long>(n);
}

long long MemoryFileSystem::Write(Handle handle, const void* buffer, std::size_t size) {
  const auto it = open_.find(handle);
  if (it == open_.end() || !it->second.writable) return -1;
  Bytes& bytes = files_[it->second.path];
  const std::size_t end = it->second.position + size;
  if (bytes.size() < end) bytes.resize(end);
  if (size > 0) std::memcpy(bytes.data() + it->second.position, buffer, size);
  it->second.position = end;
  return static_cast<long long>(size);
}

bool MemoryFileSystem::Replace(const std::filesystem::path& from, const std::filesystem::path& to) {
  const auto it = files_.find(from.string());
  if (it == files_.end()) return false;
  Bytes moved = std::move(it->second);
  files_.erase(it);
  files_[to.string()] = std::move(moved);
  return true;
}

}  // namespace fuzzing
