#include "rom/RomFile.h"

#include <algorithm>
#include <string>
#include <vector>

#include "rom/FileSystem.h"
#include "rom/RomImage.h"

namespace rom {
namespace {

// Reads from `handle` until `limit` bytes or the end of the file; false on a read error.
bool ReadUpTo(FileSystem& files, FileSystem::Handle handle, std::size_t limit, std::vector<std::uint8_t>& out) {
  std::uint8_t chunk[8192];
  while (out.size() < limit) {
    const std::size_t want = std::min(sizeof chunk, limit - out.size());
    const long long got = files.Read(handle, chunk, want);
    if (got < 0) return false;
    if (got == 0) break;
    out.insert(out.end(), chunk, chunk + got);
  }
  return true;
}

bool WriteAll(FileSystem& files, FileSystem::Handle handle, const std::vector<std::uint8_t>& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const long long n = files.Write(handle, bytes.data() + done, bytes.size() - done);
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

// The bytes of a file past its first 32 KB; false when it cannot be opened or read.
// `writable`: the file is the one to be replaced, so a read-only or locked one fails
// here, before anything is written.
bool ReadTail(FileSystem& files, const std::filesystem::path& path, bool writable, std::vector<std::uint8_t>& tail) {
  const FileSystem::Handle handle = writable ? files.OpenWritable(path) : files.OpenRead(path);
  if (handle == FileSystem::kInvalid) return false;
  std::vector<std::uint8_t> all;
  const bool read = ReadUpTo(files, handle, static_cast<std::size_t>(-1), all);
  files.Close(handle);
  if (!read) return false;
  tail.clear();
  if (all.size() > kRomSize) tail.assign(all.begin() + kRomSize, all.end());
  return true;
}

bool WriteReplacing(FileSystem& files, const std::filesystem::path& path, const std::vector<std::uint8_t>& content) {
  std::filesystem::path temp;
  const FileSystem::Handle handle = files.CreateTemp(path, temp);
  if (handle == FileSystem::kInvalid) return false;
  const bool written = WriteAll(files, handle, content) && files.Flush(handle);
  const bool closed = files.Close(handle);
  if (written && closed && files.Replace(temp, path)) return true;
  files.Remove(temp);
  return false;
}

// The file a save of `path` replaces: a link stays a link, so the file it leads to is
// replaced, by a temporary file made beside that file. False for a link to nothing or a loop.
bool FollowToTarget(FileSystem& files, const std::filesystem::path& path, std::filesystem::path& target) {
  const FileSystem::LinkEnd end = files.FollowLinks(path, target);
  return end != FileSystem::LinkEnd::kNowhere && end != FileSystem::LinkEnd::kLoop;
}

}  // namespace

bool WriteFileAtomically(const std::filesystem::path& path, const std::vector<std::uint8_t>& content) {
  FileSystem& files = Files();
  std::filesystem::path target;
  if (!FollowToTarget(files, path, target)) return false;
  if (files.Exists(target)) {
    const FileSystem::Handle handle = files.OpenWritable(target);
    if (handle == FileSystem::kInvalid) return false;
    files.Close(handle);
  }
  return WriteReplacing(files, target, content);
}

bool LoadRomFile(const std::filesystem::path& path) {
  FileSystem& files = Files();
  const FileSystem::Handle handle = files.OpenRead(path);
  if (handle == FileSystem::kInvalid) return false;
  std::vector<std::uint8_t> bytes;
  bytes.reserve(kRomSize);
  const bool read = ReadUpTo(files, handle, kRomSize, bytes);
  files.Close(handle);
  if (!read || bytes.size() < 2 || bytes[0] != 0x55 || bytes[1] != 0xAA) return false;
  RomImage.Assign(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
  romLoaded = 1;
  ++imageGeneration;
  return true;
}

std::uint8_t ChecksumByteFor(const std::uint8_t* image, std::uint32_t length) {
  unsigned sum = 0;
  for (std::uint32_t i = 0; i + 1 < length; ++i) sum += image[i];
  return static_cast<std::uint8_t>((256 - (sum & 0xFF)) & 0xFF);
}

void FixChecksum() {
  RomImage.SetByte(kChecksumOffset, ChecksumByteFor(RomImage.data()));
}

bool WriteRomFile(const std::filesystem::path& path) {
  return WriteRomFile(path, path);
}

bool WriteRomFile(const std::filesystem::path& path, const std::filesystem::path& tailFrom) {
  FileSystem& files = Files();
  std::filesystem::path target;
  if (!FollowToTarget(files, path, target)) return false;
  std::vector<std::uint8_t> tail;
  if (files.Exists(target) && !ReadTail(files, target, true, tail)) return false;
  if (tailFrom != path && !ReadTail(files, tailFrom, false, tail)) return false;

  std::vector<std::uint8_t> content(RomImage.data(), RomImage.data() + kRomSize);
  content[kChecksumOffset] = ChecksumByteFor(content.data());
  content.insert(content.end(), tail.begin(), tail.end());
  if (!WriteReplacing(files, target, content)) return false;

  FixChecksum();
  romModified = 0;
  romLoaded = 1;
  return true;
}

std::string SaveFailureText(const std::filesystem::path& path) {
  std::filesystem::path target;
  switch (Files().FollowLinks(path, target)) {
    case FileSystem::LinkEnd::kNowhere: return "could not be written: it is a symbolic link to nothing that exists";
    case FileSystem::LinkEnd::kLoop: return "could not be written: its symbolic links lead round in a circle";
    case FileSystem::LinkEnd::kLinked: {
      const std::u8string name = target.u8string();
      return "could not be written to " + std::string(name.begin(), name.end()) + ", where its symbolic link leads";
    }
    case FileSystem::LinkEnd::kNoLink: break;
  }
  return "could not be written";
}

}  // namespace rom
