// The runs on files and the command line (Fuzz.h): rom_file, cli_set, font_file.
#include <cctype>
#include <iterator>
#include <map>

#include "cli/CFieldCatalog.h"
#include "cli/ExitStatus.h"
#include "rom/FileSystem.h"
#include "rom/FontLayout.h"
#include "rom/ImageMap.h"
#include "rom/RomFile.h"
#include "rom/ValueText.h"
#include "rom/fonts/FontTransfer.h"
#include "tests/fuzz/harness/Fuzz.h"

namespace fuzzing {
namespace {

namespace fs = std::filesystem;

// Files in memory. A read hands back at most 1000 bytes, so callers must loop.
class MemoryFiles : public rom::FileSystem {
 public:
  std::map<std::string, Bytes> files;
  std::map<Handle, std::pair<std::string, std::size_t>> handles;  // the path and the position of each open file

  LinkEnd FollowLinks(const fs::path& path, fs::path& target) override {
    target = path;
    return LinkEnd::kNoLink;
  }
  bool Exists(const fs::path& path) override { return files.count(path.string()) != 0; }
  Handle OpenRead(const fs::path& path) override { return Open(path); }
  Handle OpenWritable(const fs::path& path) override { return Open(path); }
  Handle CreateTemp(const fs::path& target, fs::path& temp) override {
    temp = target.string() + ".~tmp";
    if (Exists(temp)) return kInvalid;
    files[temp.string()];
    return Open(temp);
  }
  long long Read(Handle handle, void* buffer, std::size_t size) override {
    if (handles.count(handle) == 0) return -1;
    auto& [path, at] = handles[handle];
    const Bytes& bytes = files[path];
    const std::size_t start = std::min(at, bytes.size()), n = std::min({size, std::size_t{1000}, bytes.size() - start});
    std::copy_n(bytes.begin() + static_cast<long>(start), n, static_cast<std::uint8_t*>(buffer));
    at = start + n;
    return static_cast<long long>(n);
  }
  long long Write(Handle handle, const void* buffer, std::size_t size) override {
    if (handles.count(handle) == 0) return -1;
    auto& [path, at] = handles[handle];
    Bytes& bytes = files[path];
    bytes.resize(std::max(bytes.size(), at + size));
    std::copy_n(static_cast<const std::uint8_t*>(buffer), size, bytes.begin() + static_cast<long>(at));
    at += size;
    return static_cast<long long>(size);
  }
  bool Flush(Handle handle) override { return handles.count(handle) != 0; }
  bool Close(Handle handle) override { return handles.erase(handle) != 0; }
  bool Replace(const fs::path& from, const fs::path& to) override {
    if (!Exists(from)) return false;
    files[to.string()] = std::move(files[from.string()]);
    return files.erase(from.string()) == 1;
  }
  bool Remove(const fs::path& path) override { return files.erase(path.string()) != 0; }

 private:
  Handle Open(const fs::path& path) {
    if (!Exists(path)) return kInvalid;
    handles[next_] = {path.string(), 0};
    return next_++;
  }
  Handle next_ = 1;
};

// Takes the assignments apart byte by byte; past their end every byte reads as 0.
struct Reader {
  const std::uint8_t* data;
  std::size_t size, at = 0;
  std::uint8_t Byte() { return at < size ? data[at++] : 0; }
  std::string Text(std::size_t length) {
    const std::size_t n = std::min(length, size - at);
    at += n;
    return std::string(reinterpret_cast<const char*>(data + at - n), n);
  }
};

// A field name as `ombrix fields` gives them, or raw bytes.
std::string FieldName(Reader& in) {
  static const char* const kMemory[] = {"pciinit0", "miscinit0", "miscinit1", "draminit0", "draminit1",
                                        "agpinit0", "pllctrl1",  "pllctrl2",  "sgrammode", "x"};
  static const char* const kModes[] = {"0", "3", "7", "13", "3star", "0+1+", "7+", "100h", "101h", "103h", "105h"};
  static const char* const kRegisters[] = {"columns", "regen-length", "crtc.9",      "attr.13",    "gc.8",
                                           "seq.4",   "pixel-format", "param-index", "clock-word", "crtc-1b",
                                           "native",  "interlace",    "double-scan"};
  const std::uint8_t kind = in.Byte(), a = in.Byte(), b = in.Byte();
  switch (kind % 8) {
    case 0: return "signature." + std::to_string(a % 18) + (b & 1 ? ".hex" : "");
    case 1: return "sign-on.text";
    case 2: return a & 1 ? "sub-vendor.vendor-id" : "sub-vendor.device-id";
    case 3: return std::string("memory.") + kMemory[a % std::size(kMemory)];
    case 4: return std::string("modes.") + kModes[a % std::size(kModes)] + "." + kRegisters[b % std::size(kRegisters)];
    case 5:
      return std::string("fonts.") + rom::kFontKinds[a % std::size(rom::kFontKinds)].name + "." + rom::HexText(b, 2) +
             "." + std::to_string(in.Byte() % 17);
    default: return in.Text(a % 24);
  }
}

// The structures, by their names in the image map, that the fields of each page belong to.
const std::map<std::string, std::string> kStructures = {
    {"signature", "|ROM signature text|"},
    {"sign-on", "|sign-on record|"},
    {"sub-vendor", "|subsystem vendor and device IDs|"},
    {"memory", "|memory configuration record|"},
    {"modes", "|video parameter table|extended register table|"},
    {"fonts", "|8x8 font|8x14 font|8x16 font|9x14 fix-up table|9x16 fix-up table|"}};

// The bytes a field named `name` may change. A table that runs past the end of the image still has
// its rows inside it, which the pages edit; the sign-on text may grow to the room the BIOS keeps.
ByteSet Allowed(const std::string& name) {
  ByteSet allowed;
  std::string group = name.substr(0, name.find('.'));
  for (char& c : group) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  const auto names = kStructures.find(group);
  for (const rom::MappedStructure& s : rom::MapImage().structures) {
    if (names != kStructures.end() && names->second.find("|" + s.name + "|") != std::string::npos)
      Mark(allowed, s.offset, s.name == "sign-on record" ? std::max<std::uint32_t>(s.length, 2 + 120) : s.length);
  }
  return allowed;
}

// Every font at a fixed place and bytes of its own everywhere else; the fix-up tables have three
// records, two of them with the same code.
const Bytes& FontImage() {
  static const Bytes bytes = [] {
    rom::ResetRomState();
    for (std::uint32_t i = 0; i < rom::kRomSize; ++i) rom::RomImage.SetByte(i, static_cast<std::uint8_t>(i * 13 + 5));
    rom::RomImage.SetWord(0x50, 0x60);
    const std::uint16_t fonts[] = {0x1000, 0x1800, 0x2600, 0x3600, 0x3700};
    for (std::uint32_t k = 0; k < 5; ++k) rom::RomImage.SetWord(0x64 + 2 * k, fonts[k]);
    for (std::uint32_t r = 0; r < 4; ++r) {
      rom::RomImage.SetByte(0x3600 + r * 15, static_cast<std::uint8_t>("MWM"[r]));
      rom::RomImage.SetByte(0x3700 + r * 17, static_cast<std::uint8_t>("MWM"[r]));
    }
    return Image();
  }();
  return bytes;
}

}  // namespace

std::string RunRomFileInput(const std::uint8_t* data, std::size_t size) {
  MemoryFiles files;
  rom::FileSystem* const platform = rom::SetFileSystem(&files);
  const Bytes file(data, data + size);
  files.files["card.rom"] = file;
  // A previous image with bytes of its own everywhere, so that a load that keeps any of them shows, and
  // flags that vary with the input, so that both values of each are seen.
  const Bytes& previous = FontImage();
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
  Bytes head(file.begin(), file.begin() + static_cast<long>(std::min<std::size_t>(size, rom::kRomSize)));
  head.resize(rom::kRomSize);  // zeros past a short file's end
  const Bytes image = Image();
  v.Require(image == (loaded ? head : previous), "the image is not the file's first 32 KB, or a refusal changed it");
  v.Require(rom::romLoaded == (loaded ? 1 : wasLoaded) && rom::romModified == wasModified &&
                (rom::imageGeneration != generation) == loaded && files.handles.empty(),
            "a flag or the image count after a load, or a file left open");

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

std::string RunCliSetInput(const std::uint8_t* data, std::size_t size) {
  const std::size_t script = std::min(size, kCliScriptBytes);
  LoadImage(data + script, size - script);
  const Bytes start = Image();
  Reader in{data, script};
  std::vector<cli::Assignment> assignments;
  for (int n = 1 + in.Byte() % 3; n > 0; --n) {
    std::string name = FieldName(in);
    const std::uint8_t length = in.Byte();
    assignments.push_back({std::move(name), in.Text(length >= 200 ? in.Byte() % 130 : length % 12)});
  }
  // One at a time, each on new pages as a new load shows them.
  std::string refused;
  for (const cli::Assignment& a : assignments) {
    const Bytes before = Image();
    try {
      cli::CFieldCatalog().Set(a.name, a.text);
    } catch (const cli::CliError& e) {
      // What the page wrote before refusing is held to the same bounds.
      if (refused.empty()) refused = e.what();
    }
    if (Changed(before) < 0) continue;
    // The structures as the image says before the assignment: mapping costs more than the assignment.
    const Bytes after = Image();
    rom::RomImage.Assign(before.data(), rom::kRomSize);
    const ByteSet allowed = Allowed(a.name);
    rom::RomImage.Assign(after.data(), rom::kRomSize);
    if (const long i = Changed(before, &allowed); i >= 0)
      return "set " + a.name + "=" + a.text + " changed byte " + rom::HexText(static_cast<std::uint32_t>(i), 4) + "h";
  }
  // All in one set: the same bytes, or the same refusal.
  const Bytes apart = Image();
  rom::RomImage.Assign(start.data(), rom::kRomSize);
  std::string together;
  try {
    cli::CFieldCatalog().SetAll(assignments);
  } catch (const cli::CliError& e) {
    together = e.what();
  }
  if (together != refused) return "one set refused \"" + together + "\", one at a time \"" + refused + "\"";
  if (refused.empty() && Image() != apart) return "one set wrote other bytes than its assignments one at a time";
  return {};
}

std::string RunFontFileInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return "";
  const Bytes& before = FontImage();
  rom::RomImage.Assign(before.data(), rom::kRomSize);
  const rom::FontKind& kind = rom::kFontKinds[data[0] % 5];
  const std::string name = kind.fixup ? "in.json" : kFontFileNames[data[0] / 5 % std::size(kFontFileNames)];
  Verdict v;
  std::string note, error;
  if (!rom::fonts::ImportFont(kind, name, Bytes(data + 1, data + size), note, error)) {
    v.Require(!error.empty() && Changed(before) < 0, "a refusal gave no reason or changed the image");
    return v.failure;
  }
  // The glyph rows: all of a full font's, each fix-up record's after its code.
  ByteSet rows;
  std::vector<std::uint32_t> records;
  const auto height = static_cast<std::uint32_t>(kind.height);
  if (!kind.fixup) Mark(rows, rom::LocateFullFont(kind).offset, 256 * height);
  if (kind.fixup && rom::LocateFixupRecords(kind, records, error))
    for (const std::uint32_t record : records) Mark(rows, record + 1, height);
  v.Require(Changed(before, &rows) < 0, "an import wrote outside the font's rows");
  // What was imported comes out and goes back in unchanged.
  const Bytes after = Image();
  Bytes out;
  const std::string again = kind.fixup ? "again.json" : "again.psf2";
  if (v.Require(rom::fonts::ExportFont(kind, again, out, error), "an imported font cannot be exported")) {
    v.Require(rom::fonts::ImportFont(kind, again, out, note, error) && Changed(after) < 0,
              "an exported font was refused or changed the image");
  }
  return v.failure;
}

}  // namespace fuzzing
