// The platform's file operations: Win32 handles on Windows, POSIX descriptors elsewhere.
#include "rom/FileSystem.h"

#include <string>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace rom {
namespace {

std::filesystem::path TempCandidate(const std::filesystem::path& target, int attempt) {
  std::filesystem::path name = target.filename();
  name += ".~" + std::to_string(attempt) + ".tmp";
  return target.parent_path() / name;
}

#ifdef _WIN32

class NativeFileSystem final : public FileSystem {
 public:
  bool Exists(const std::filesystem::path& path) override {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
  }
  Handle OpenRead(const std::filesystem::path& path) override {
    return Wrap(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  }
  Handle OpenWritable(const std::filesystem::path& path) override {
    return Wrap(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  }
  Handle CreateTemp(const std::filesystem::path& target, std::filesystem::path& tempPath) override {
    for (int attempt = 0; attempt < 100; ++attempt) {
      const std::filesystem::path candidate = TempCandidate(target, attempt);
      HANDLE h = CreateFileW(candidate.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
      if (h != INVALID_HANDLE_VALUE) {
        tempPath = candidate;
        return Wrap(h);
      }
      if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS) break;
    }
    return kInvalid;
  }
  long long Read(Handle handle, void* buffer, std::size_t size) override {
    DWORD done = 0;
    if (!ReadFile(Unwrap(handle), buffer, static_cast<DWORD>(size), &done, nullptr)) return -1;
    return done;
  }
  long long Write(Handle handle, const void* buffer, std::size_t size) override {
    DWORD done = 0;
    if (!WriteFile(Unwrap(handle), buffer, static_cast<DWORD>(size), &done, nullptr)) return -1;
    return done;
  }
  bool Flush(Handle handle) override { return FlushFileBuffers(Unwrap(handle)) != 0; }
  bool Close(Handle handle) override { return CloseHandle(Unwrap(handle)) != 0; }
  bool Replace(const std::filesystem::path& from, const std::filesystem::path& to) override {
    return MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
  }
  bool Remove(const std::filesystem::path& path) override { return DeleteFileW(path.c_str()) != 0; }

 private:
  static Handle Wrap(HANDLE h) {
    return h == INVALID_HANDLE_VALUE ? kInvalid : reinterpret_cast<Handle>(h);
  }
  static HANDLE Unwrap(Handle h) { return reinterpret_cast<HANDLE>(h); }
};

#else

// The process's umask; reading it means setting it, so it is set straight back.
mode_t CurrentUmask() {
  const mode_t mask = ::umask(022);
  ::umask(mask);
  return mask;
}

class NativeFileSystem final : public FileSystem {
 public:
  bool Exists(const std::filesystem::path& path) override {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
  }
  Handle OpenRead(const std::filesystem::path& path) override {
    return Checked(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  }
  Handle OpenWritable(const std::filesystem::path& path) override {
    // A file without write permission counts as read-only even for root, as
    // the read-only attribute does on Windows.
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || (st.st_mode & S_IWUSR) == 0) return kInvalid;
    return Checked(::open(path.c_str(), O_RDWR | O_CLOEXEC));
  }
  Handle CreateTemp(const std::filesystem::path& target, std::filesystem::path& tempPath) override {
    struct stat st {};
    // A new file gets what any program's new file gets: read and write for all, less the umask.
    const mode_t mode = ::stat(target.c_str(), &st) == 0 ? (st.st_mode & 07777) : (0666 & ~CurrentUmask());
    for (int attempt = 0; attempt < 100; ++attempt) {
      const std::filesystem::path candidate = TempCandidate(target, attempt);
      const int fd = ::open(candidate.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
      if (fd >= 0) {
        ::fchmod(fd, mode | S_IWUSR);
        tempPath = candidate;
        return fd;
      }
      if (errno != EEXIST) break;
    }
    return kInvalid;
  }
  long long Read(Handle handle, void* buffer, std::size_t size) override {
    ssize_t n;
    do n = ::read(static_cast<int>(handle), buffer, size);
    while (n < 0 && errno == EINTR);
    return n;
  }
  long long Write(Handle handle, const void* buffer, std::size_t size) override {
    ssize_t n;
    do n = ::write(static_cast<int>(handle), buffer, size);
    while (n < 0 && errno == EINTR);
    return n;
  }
  bool Flush(Handle handle) override { return ::fsync(static_cast<int>(handle)) == 0; }
  bool Close(Handle handle) override { return ::close(static_cast<int>(handle)) == 0; }
  bool Replace(const std::filesystem::path& from, const std::filesystem::path& to) override {
    if (::rename(from.c_str(), to.c_str()) != 0) return false;
    // Make the new directory entry itself durable.
    std::filesystem::path dir = to.parent_path();
    if (dir.empty()) dir = ".";
    const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
      ::fsync(fd);
      ::close(fd);
    }
    return true;
  }
  bool Remove(const std::filesystem::path& path) override { return ::unlink(path.c_str()) == 0; }

 private:
  static Handle Checked(int fd) { return fd >= 0 ? fd : kInvalid; }
};

#endif

FileSystem* installed = nullptr;

}  // namespace

FileSystem& NativeFiles() {
  static NativeFileSystem files;
  return files;
}

FileSystem& Files() { return installed ? *installed : NativeFiles(); }

FileSystem* SetFileSystem(FileSystem* files) {
  FileSystem* previous = installed;
  installed = files;
  return previous;
}

}  // namespace rom
