// One fuzz run of loading and saving (Fuzz.h), on files kept in memory.
#include <algorithm>
#include <cstring>
#include <map>
#include <vector>

#include "rom/FileSystem.h"
#include "rom/RomFile.h"
#include "rom/RomImage.h"
#include "tests/fuzz/harness/Fuzz.h"

namespace fuzzing {
namespace {

using Bytes = std::vector<std::uint8_t>;
namespace fs = std::filesystem;

// Files in memory. A read hands back at most 1000 bytes, so callers must loop.
class MemoryFileSystem : public rom::FileSystem {
 public:
  void Put(const fs::path& path, Bytes bytes) { files_[path.string()] = std::move(bytes); }
  const Bytes* Find(const fs::path& path) const {
    const auto it = files_.find(path.string());
    return it == files_.end() ? nullptr : &it->second;
  }
  std::size_t FileCount() const { return files_.size(); }
  std::size_t OpenHandles() const { return open_.size(); }

  bool Exists(const fs::path& path) override { return Find(path) != nullptr; }
  Handle OpenRead(const fs::path& path) override { return Open(path.string(), false); }
  Handle OpenWritable(const fs::path& path) override { return Open(path.string(), true); }
  Handle CreateTemp(const fs::path& target, fs::path& tempPath) override {
    tempPath = target.string() + ".~tmp";
    if (Exists(tempPath)) return kInvalid;
    files_[tempPath.string()] = {};
    return Open(tempPath.string(), true);
  }
  long long Read(Handle handle, void* buffer, std::size_t size) override {
    const auto it = open_.find(handle);
    if (it == open_.end()) return -1;
    const Bytes& bytes = files_[it->second.path];
    const std::size_t start = std::min(it->second.position, bytes.size());
    const std::size_t n = std::min({size, std::size_t{1000}, bytes.size() - start});
    if (n > 0) std::memcpy(buffer, bytes.data() + start, n);
    it->second.position = start + n;
    return static_cast<long long>(n);
  }
  long long Write(Handle handle, const void* buffer, std::size_t size) override {
    const auto it = open_.find(handle);
    if (it == open_.end() || !it->second.writable) return -1;
    Bytes& bytes = files_[it->second.path];
    if (bytes.size() < it->second.position + size) bytes.resize(it->second.position + size);
    if (size > 0) std::memcpy(bytes.data() + it->second.position, buffer, size);
    it->second.position += size;
    return static_cast<long long>(size);
  }
  bool Flush(Handle handle) override { return open_.count(handle) != 0; }
  bool Close(Handle handle) override { return open_.erase(handle) != 0; }
  bool Replace(const fs::path& from, const fs::path& to) override {
    const auto it = files_.find(from.string());
    if (it == files_.end()) return false;
    Bytes moved = std::move(it->second);
    files_.erase(it);
    files_[to.string()] = std::move(moved);
    return true;
  }
  bool Remove(const fs::path& path) override { return files_.erase(path.string()) != 0; }

 private:
  struct OpenFile {
    std::string path;
    std::size_t position = 0;
    bool writable = false;
  };
  Handle Open(const std::string& path, bool writable) {
    if (files_.count(path) == 0) return kInvalid;
    open_[next_] = OpenFile{path, 0, writable};
    return next_++;
  }
  std::map<std::string, Bytes> files_;
  std::map<Handle, OpenFile> open_;
  Handle next_ = 1;
};

Bytes Image() {
  return {rom::RomImage.data(), rom::RomImage.data() + rom::kRomSize};
}

// A previous image with its own bytes everywhere, so that a load that keeps any of them shows.
const Bytes& PreviousImage() {
  static const Bytes bytes = [] {
    Bytes pattern(rom::kRomSize);
    for (std::size_t i = 0; i < pattern.size(); ++i) pattern[i] = static_cast<std::uint8_t>(i * 31 + 7 + (i >> 8));
    return pattern;
  }();
  return bytes;
}

// Installs a file system for the run and puts the platform's back afterwards.
class Installed {
 public:
  explicit Installed(rom::FileSystem& files) : previous_(rom::SetFileSystem(&files)) {}
  ~Installed() { rom::SetFileSystem(previous_); }
  Installed(const Installed&) = delete;
  Installed& operator=(const Installed&) = delete;

 private:
  rom::FileSystem* previous_;
};

void CheckLoad(Verdict& verdict, const Bytes& file, bool loaded, const Bytes& previous, int wasLoaded, int wasModified,
               unsigned generation) {
  const bool valid = file.size() >= 2 && file[0] == 0x55 && file[1] == 0xAA;
  if (!verdict.Require(loaded == valid,
                       valid ? "a file that starts 55 AA was refused" : "an invalid file was loaded")) {
    return;
  }
  const Bytes image = Image();
  if (!loaded) {
    verdict.Require(image == previous, "a refused file changed the image");
    verdict.Require(rom::romLoaded == wasLoaded && rom::romModified == wasModified, "a refused file changed a flag");
    verdict.Require(rom::imageGeneration == generation, "a refused file counted as a new image");
    return;
  }
  const std::size_t n = std::min<std::size_t>(file.size(), rom::kRomSize);
  verdict.Require(std::equal(file.begin(), file.begin() + static_cast<long>(n), image.begin()),
                  "the image is not the file's first bytes");
  verdict.Require(std::all_of(image.begin() + static_cast<long>(n), image.end(), [](std::uint8_t b) { return b == 0; }),
                  "bytes past the end of a short file are not 0");
  verdict.Require(rom::romLoaded == 1, "romLoaded is not 1 after a load");
  verdict.Require(rom::romModified == wasModified, "a load changed romModified");
  verdict.Require(rom::imageGeneration != generation, "a load did not count as a new image");
}

// The file written from `image` over a file that held `old` (none: a new file).
void CheckSaved(Verdict& verdict, const char* what, const Bytes* saved, const Bytes& image, const Bytes& old) {
  const auto fail = [&](const std::string& failure) { verdict.Fail(std::string(what) + ": " + failure); };
  if (saved == nullptr) return fail("no file");
  const std::size_t size = std::max<std::size_t>(old.size(), rom::kRomSize);
  if (saved->size() != size) {
    return fail("the file has " + std::to_string(saved->size()) + " bytes, expected " + std::to_string(size));
  }
  unsigned sum = 0;
  for (std::size_t i = 0; i < rom::kRomSize; ++i) sum += (*saved)[i];
  if ((sum & 0xFF) != 0) fail("the checksum does not make the 32 KB sum to 0");
  if (!std::equal(image.begin(), image.end() - 1, saved->begin())) fail("the file's first 32 KB are not the image");
  if (!std::equal(saved->begin() + rom::kRomSize, saved->end(),
                  old.begin() + static_cast<long>(std::min<std::size_t>(old.size(), rom::kRomSize)))) {
    fail("the bytes past 32 KB were not kept");
  }
  if (!std::equal(saved->begin(), saved->begin() + rom::kRomSize, rom::RomImage.data())) {
    fail("the image's checksum byte differs from the file's");
  }
  if (rom::romModified != 0 || rom::romLoaded != 1) fail("the flags after a save");
}

}  // namespace

std::string RunRomFileInput(const std::uint8_t* data, std::size_t size) {
  Verdict verdict;
  MemoryFileSystem files;
  const Installed installed(files);
  const Bytes file = size == 0 ? Bytes{} : Bytes(data, data + size);
  files.Put("card.rom", file);

  rom::ResetRomState();
  const Bytes& previous = PreviousImage();
  rom::RomImage.Assign(previous.data(), rom::kRomSize);
  // The flags before the load vary with the input, so that both values of each are seen.
  rom::romLoaded = static_cast<int>(size >> 1 & 1);
  rom::romModified = static_cast<int>(size & 1);
  const int wasLoaded = rom::romLoaded, wasModified = rom::romModified;
  const unsigned generation = rom::imageGeneration;

  const bool loaded = rom::LoadRomFile("card.rom");
  CheckLoad(verdict, file, loaded, previous, wasLoaded, wasModified, generation);
  verdict.Require(files.OpenHandles() == 0, "the load left a file open");

  rom::romModified = 1;
  const Bytes image = Image();
  verdict.Require(rom::WriteRomFile("card.rom"), "saving over the file failed");
  CheckSaved(verdict, "saved over the file", files.Find("card.rom"), image, file);

  // Every checksum costs a pass over the image: half the runs, chosen by the input, also save to a new file.
  if (size & 1) {
    rom::romModified = 1;
    verdict.Require(rom::WriteRomFile("new.rom"), "saving to a new file failed");
    CheckSaved(verdict, "saved to a new file", files.Find("new.rom"), image, {});
  }
  verdict.Require(files.FileCount() == 1 + (size & 1), "a temporary file was left behind");
  verdict.Require(files.OpenHandles() == 0, "a save left a file open");
  return verdict.Take();
}

}  // namespace fuzzing
