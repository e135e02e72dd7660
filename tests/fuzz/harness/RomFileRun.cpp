// The rom_file run (Fuzz.h), on files kept in memory.
#include <map>

#include "rom/FileSystem.h"
#include "rom/RomFile.h"
#include "tests/fuzz/harness/Fuzz.h"

namespace fuzzing {
namespace {

namespace fs = std::filesystem;

// Files in memory. A read hands back at most 1000 bytes, so callers must loop.
class MemoryFiles : public rom::FileSystem {
 public:
  struct OpenFile {
    std::string path;
    std::size_t at = 0;
    bool writable = false;
  };
  std::map<std::string, Bytes> files;
  std::map<Handle, OpenFile> handles;

  bool Exists(const fs::path& path) override { return files.count(path.string()) != 0; }
  Handle OpenRead(const fs::path& path) override { return Open(path, false); }
  Handle OpenWritable(const fs::path& path) override { return Open(path, true); }
  Handle CreateTemp(const fs::path& target, fs::path& temp) override {
    temp = target.string() + ".~tmp";
    if (Exists(temp)) return kInvalid;
    files[temp.string()];
    return Open(temp, true);
  }
  long long Read(Handle handle, void* buffer, std::size_t size) override {
    if (handles.count(handle) == 0) return -1;
    OpenFile& f = handles[handle];
    const Bytes& bytes = files[f.path];
    const std::size_t start = std::min(f.at, bytes.size()),
                      n = std::min({size, std::size_t{1000}, bytes.size() - start});
    std::copy_n(bytes.begin() + static_cast<long>(start), n, static_cast<std::uint8_t*>(buffer));
    f.at = start + n;
    return static_cast<long long>(n);
  }
  long long Write(Handle handle, const void* buffer, std::size_t size) override {
    if (handles.count(handle) == 0 || !handles[handle].writable) return -1;
    OpenFile& f = handles[handle];
    Bytes& bytes = files[f.path];
    bytes.resize(std::max(bytes.size(), f.at + size));
    std::copy_n(static_cast<const std::uint8_t*>(buffer), size, bytes.begin() + static_cast<long>(f.at));
    f.at += size;
    return static_cast<long long>(size);
  }
  bool Flush(Handle handle) override { return handles.count(handle) != 0; }
  bool Close(Handle handle) override { return handles.erase(handle) != 0; }
  bool Replace(const fs::path& from, const fs::path& to) override {
    if (!Exists(from)) return false;
    Bytes moved = std::move(files[from.string()]);
    files.erase(from.string());
    files[to.string()] = std::move(moved);
    return true;
  }
  bool Remove(const fs::path& path) override { return files.erase(path.string()) != 0; }

 private:
  Handle Open(const fs::path& path, bool writable) {
    if (!Exists(path)) return kInvalid;
    handles[next_] = {path.string(), 0, writable};
    return next_++;
  }
  Handle next_ = 1;
};

}  // namespace

std::string RunRomFileInput(const std::uint8_t* data, std::size_t size) {
  MemoryFiles files;
  rom::FileSystem* const platform = rom::SetFileSystem(&files);
  const Bytes file(data, data + size);
  files.files["card.rom"] = file;
  // A previous image with bytes of its own everywhere, so that a load that keeps any of them shows, and
  // flags that vary with the input, so that both values of each are seen.
  static const Bytes previous = [] {
    Bytes bytes(rom::kRomSize);
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i * 31 + 7 + (i >> 8));
    return bytes;
  }();
  rom::ResetRomState();
  rom::RomImage.Assign(previous.data(), rom::kRomSize);
  rom::romLoaded = static_cast<int>(size >> 1 & 1);
  rom::romModified = static_cast<int>(size & 1);
  const int wasLoaded = rom::romLoaded, wasModified = rom::romModified;
  const unsigned generation = rom::imageGeneration;

  Verdict v;
  const bool valid = size >= 2 && data[0] == 0x55 && data[1] == 0xAA;
  const bool loaded = rom::LoadRomFile("card.rom");
  v.Require(loaded == valid, valid ? "a file that starts 55 AA was refused" : "an invalid file was loaded");
  const Bytes image = Image();
  if (!loaded) {
    v.Require(image == previous && rom::romLoaded == wasLoaded && rom::romModified == wasModified &&
                  rom::imageGeneration == generation,
              "a refused file changed the image, a flag or the image count");
  } else {
    Bytes head(file.begin(), file.begin() + static_cast<long>(std::min<std::size_t>(size, rom::kRomSize)));
    head.resize(rom::kRomSize);
    v.Require(image == head, "the image is not the file's first 32 KB, zeros past a short file's end");
    v.Require(rom::romLoaded == 1 && rom::romModified == wasModified && rom::imageGeneration != generation,
              "the flags or the image count after a load");
  }
  v.Require(files.handles.empty(), "the load left a file open");

  // Saved over the file; every checksum costs a pass over the image, so only half the runs, chosen
  // by the input, also save to a new file.
  for (const std::string name : {"card.rom", "new.rom"}) {
    if (name == "new.rom" && (size & 1) == 0) break;
    const std::size_t old = name == "card.rom" ? file.size() : 0;
    rom::romModified = 1;
    v.Require(rom::WriteRomFile(name), name + ": the save failed");
    const Bytes saved = files.files[name];
    // The image with its checksum byte fixed, then the old file's bytes past 32 KB.
    Bytes expected = image;
    if (saved.size() >= rom::kRomSize) expected.back() = saved[rom::kRomSize - 1];
    if (old > rom::kRomSize) expected.insert(expected.end(), file.begin() + rom::kRomSize, file.end());
    unsigned sum = 0;
    for (std::size_t i = 0; i < rom::kRomSize && i < saved.size(); ++i) sum += saved[i];
    v.Require(saved == expected && (sum & 0xFF) == 0,
              name + ": not the image with a checksum summing to 0, then the tail");
    v.Require(std::equal(expected.begin(), expected.begin() + rom::kRomSize, rom::RomImage.data()) &&
                  rom::romModified == 0 && rom::romLoaded == 1,
              name + ": the image's checksum byte or the flags after the save");
  }
  v.Require(files.files.size() == 1 + (size & 1) && files.handles.empty(), "a file left behind or open");
  rom::SetFileSystem(platform);
  return v.failure;
}

}  // namespace fuzzing
