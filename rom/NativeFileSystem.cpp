// The platform's file operations: Win32 handles on Windows, POSIX descriptors elsewhere.
#include "rom/FileSystem.h"

#include <string>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <cwchar>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#endif

namespace rom {
namespace {

std::filesystem::path TempCandidate(const std::filesystem::path& target, int attempt) {
  std::filesystem::path name = target.filename();
  name += ".~" + std::to_string(attempt) + ".tmp";
  return target.parent_path() / name;
}

#ifdef _WIN32

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// The final name of an open file or folder, as a plain drive or network path when it is short enough for one.
std::wstring FinalName(HANDLE handle) {
  std::wstring name(MAX_PATH, L'\0');
  DWORD length = 0;
  while ((length = GetFinalPathNameByHandleW(handle, name.data(), static_cast<DWORD>(name.size()),
                                             FILE_NAME_NORMALIZED | VOLUME_NAME_DOS)) >= name.size())
    name.resize(length + 1);
  name.resize(length);
  if (length == 0 || length >= MAX_PATH + 4) return name;
  if (name.starts_with(L"\\\\?\\UNC\\")) return L"\\" + name.substr(7);
  if (name.starts_with(L"\\\\?\\")) return name.substr(4);
  return name;
}

// Whether the name of `path`, where opening found nothing, is held all the same: by a link that leads nowhere.
// Windows shows such a link's own attributes; Wine shows nothing of a dangling Unix link, but makes no file in its
// place. The probe file, made only where no file is, goes again as its handle closes.
bool HeldByDanglingLink(const std::filesystem::path& path) {
  if (GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
  const HANDLE probe =
      CreateFileW(path.c_str(), GENERIC_WRITE, kShareAll, nullptr, CREATE_NEW, FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (probe == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_EXISTS;
  CloseHandle(probe);
  return false;
}

class NativeFileSystem final : public FileSystem {
 public:
  LinkEnd FollowLinks(const std::filesystem::path& path, std::filesystem::path& target) override {
    target = path;
    // Opening follows every link and junction on the way; the final name of what opened is where they end.
    const HANDLE handle =
        CreateFileW(path.c_str(), 0, kShareAll, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
      const DWORD error = GetLastError();
      if (error == ERROR_CANT_RESOLVE_FILENAME) return LinkEnd::kLoop;
      return error == ERROR_FILE_NOT_FOUND && HeldByDanglingLink(path) ? LinkEnd::kNowhere : LinkEnd::kNoLink;
    }
    const std::wstring end = FinalName(handle);
    CloseHandle(handle);
    wchar_t full[MAX_PATH + 1] = {};
    const DWORD length = GetFullPathNameW(path.c_str(), MAX_PATH + 1, full, nullptr);
    if (end.empty() || (length > 0 && length <= MAX_PATH && _wcsicmp(end.c_str(), full) == 0)) return LinkEnd::kNoLink;
    target = end;
    return LinkEnd::kLinked;
  }
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
  LinkEnd FollowLinks(const std::filesystem::path& path, std::filesystem::path& target) override {
    target = path;
    struct stat st {};
    // Links in the folders on the way need nothing: a rename follows them to the same folder.
    if (::lstat(path.c_str(), &st) != 0) return errno == ELOOP ? LinkEnd::kLoop : LinkEnd::kNoLink;
    if (!S_ISLNK(st.st_mode)) return LinkEnd::kNoLink;
    char* const end = ::realpath(path.c_str(), nullptr);
    if (end == nullptr) return errno == ELOOP ? LinkEnd::kLoop : LinkEnd::kNowhere;
    target = end;
    std::free(end);
    return LinkEnd::kLinked;
  }
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
    // Like a file without write permission, a folder without it takes no new file, even from root.
    std::filesystem::path folder = target.parent_path();
    if (folder.empty()) folder = ".";
    if (::stat(folder.c_str(), &st) != 0 || (st.st_mode & S_IWUSR) == 0) return kInvalid;
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
