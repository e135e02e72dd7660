#pragma once
// The handful of file operations that loading and saving an image need.

#include <cstddef>
#include <cstdint>
#include <filesystem>

namespace rom {

// Loading and saving go through this interface so that tests can make any
// single step fail (open, read, write, flush, the final replace) on real files.
class FileSystem {
 public:
  using Handle = std::intptr_t;
  static constexpr Handle kInvalid = -1;

  virtual ~FileSystem() = default;

  // What a path leads to through its symbolic links (on Windows also links and junctions on the way).
  enum class LinkEnd {
    kNoLink,   // `path` itself names the file, or the file still to be made
    kLinked,   // links lead to an existing entry elsewhere, named by the target
    kNowhere,  // a link leads to nothing that exists or can be reached
    kLoop,     // links lead round in a circle
  };
  // `target` is the path a save replaces so that links stay links: where they lead, else `path` itself.
  virtual LinkEnd FollowLinks(const std::filesystem::path& path, std::filesystem::path& target) = 0;
  virtual bool Exists(const std::filesystem::path& path) = 0;
  // An existing file, for reading only; other readers and writers are not denied.
  virtual Handle OpenRead(const std::filesystem::path& path) = 0;
  // An existing file, for reading and writing, without truncating it. A
  // read-only or locked file fails here, before anything is written.
  virtual Handle OpenWritable(const std::filesystem::path& path) = 0;
  // A new, uniquely named file in the folder of `target`; its name goes to `tempPath`.
  virtual Handle CreateTemp(const std::filesystem::path& target, std::filesystem::path& tempPath) = 0;
  // Bytes transferred, 0 at the end of a file, or -1 on an error.
  virtual long long Read(Handle handle, void* buffer, std::size_t size) = 0;
  virtual long long Write(Handle handle, const void* buffer, std::size_t size) = 0;
  // Forces the written bytes to the disk.
  virtual bool Flush(Handle handle) = 0;
  virtual bool Close(Handle handle) = 0;
  // Moves `from` over `to` in one step, replacing `to` if it exists.
  virtual bool Replace(const std::filesystem::path& from, const std::filesystem::path& to) = 0;
  virtual bool Remove(const std::filesystem::path& path) = 0;
};

// The file system in use: the platform's own unless a test installed another.
FileSystem& Files();
// Installs `files` (nullptr restores the platform's own); returns the previous one.
FileSystem* SetFileSystem(FileSystem* files);

// The platform's own file system.
FileSystem& NativeFiles();

}  // namespace rom
