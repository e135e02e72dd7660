#include "tests/fuzz/harness/CliSetRun.h"

#include <algorithm>
#include <string>
#include <vector>

#include "cli/CFieldCatalog.h"
#include "cli/ExitStatus.h"
#include "cli/ImageMap.h"
#include "rom/RomImage.h"
#include "rom/ValueText.h"

namespace fuzzing {
namespace {

// Takes the assignments apart byte by byte; past their end every byte reads as 0.
class ByteReader {
 public:
  ByteReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  std::uint8_t Byte() { return position_ < size_ ? data_[position_++] : 0; }
  // `length` bytes, fewer at the end.
  std::string Bytes(std::size_t length) {
    const std::size_t n = std::min(length, size_ - std::min(position_, size_));
    std::string out(reinterpret_cast<const char*>(data_) + position_, n);
    position_ += n;
    return out;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t position_ = 0;
};

const char* const kMemory[] = {"pciinit0", "miscinit0", "miscinit1", "draminit0", "draminit1",
                               "agpinit0", "pllctrl1",  "pllctrl2",  "sgrammode", "x"};
const char* const kModes[] = {"0", "3", "7", "13", "3star", "0+1+", "7+", "100h", "101h", "103h", "105h"};
const char* const kRegisters[] = {"columns",     "regen-length", "crtc.9",  "attr.13",   "gc.8",
                                  "seq.4",       "pixel-format", "param-index", "clock-word", "crtc-1b",
                                  "native",      "interlace",    "double-scan"};
const char* const kFonts[] = {"8x8", "8x14", "8x16", "9x14", "9x16"};

template <std::size_t N>
const char* Among(const char* const (&names)[N], std::uint8_t b) {
  return names[b % N];
}

std::string FieldName(ByteReader& in) {
  const std::uint8_t kind = in.Byte();
  const std::uint8_t a = in.Byte(), b = in.Byte();
  switch (kind % 8) {
    case 0: return "signature." + std::to_string(a % 18) + (b & 1 ? ".hex" : "");
    case 1: return "sign-on.text";
    case 2: return a & 1 ? "sub-vendor.vendor-id" : "sub-vendor.device-id";
    case 3: return std::string("memory.") + Among(kMemory, a);
    case 4: return std::string("modes.") + Among(kModes, a) + "." + Among(kRegisters, b);
    case 5:
      return std::string("fonts.") + Among(kFonts, a) + "." + rom::HexText(b, 2) + "." + std::to_string(in.Byte() % 17);
    default: return in.Bytes(a % 24);
  }
}

// The structures a field of `group` belongs to, by their names in the image map.
std::vector<std::string> StructuresOf(const std::string& group) {
  if (group == "signature") return {"ROM signature text"};
  if (group == "sign-on") return {"sign-on record"};
  if (group == "sub-vendor") return {"subsystem vendor and device IDs"};
  if (group == "memory") return {"memory configuration record"};
  if (group == "modes") return {"video parameter table", "extended register table"};
  if (group == "fonts") return {"8x8 font", "8x14 font", "8x16 font", "9x14 fix-up table", "9x16 fix-up table"};
  return {};
}

// The bytes a field named `name` may change. A table that runs past the end of
// the image still has its rows inside it, which the pages edit.
std::vector<bool> Allowed(const std::string& name) {
  std::vector<bool> allowed(rom::kRomSize, false);
  cli::CHeadlessEditor editor;
  const cli::ImageMap map = cli::MapImage(editor);
  std::string group = name.substr(0, name.find('.'));
  std::transform(group.begin(), group.end(), group.begin(), [](unsigned char c) { return std::tolower(c); });
  for (const std::string& structure : StructuresOf(group)) {
    for (const cli::Structure& s : map.structures) {
      if (s.name != structure) continue;
      // The sign-on text may grow to the room the BIOS keeps for it.
      const std::uint32_t length = structure == "sign-on record" ? std::max<std::uint32_t>(s.length, 2 + 120) : s.length;
      const std::uint32_t end = std::min<std::uint32_t>(rom::kRomSize, s.offset + std::min(length, rom::kRomSize));
      for (std::uint32_t i = s.offset; i < end; ++i) allowed[i] = true;
    }
  }
  return allowed;
}

}  // namespace

std::string RunCliSetInput(const std::uint8_t* data, std::size_t size) {
  const std::size_t script = std::min(size, kCliScriptBytes);
  rom::ResetRomState();
  rom::RomImage.Assign(data + script, static_cast<std::uint32_t>(std::min<std::size_t>(size - script, rom::kRomSize)));
  rom::romLoaded = 1;
  ++rom::imageGeneration;

  ByteReader in(data, script);
  cli::CHeadlessEditor editor;
  cli::CFieldCatalog catalog(editor);
  const int assignments = 1 + in.Byte() % 3;
  for (int n = 0; n < assignments; ++n) {
    const std::string name = FieldName(in);
    const std::uint8_t length = in.Byte();
    const std::string text = in.Bytes(length >= 200 ? in.Byte() % 130 : length % 12);
    const std::vector<bool> allowed = Allowed(name);
    const std::vector<std::uint8_t> before(rom::RomImage.data(), rom::RomImage.data() + rom::kRomSize);
    try {
      catalog.Set(name, text);
    } catch (const cli::CliError&) {
      // Refused: what the page wrote before refusing is held to the same bounds.
    }
    for (std::uint32_t i = 0; i < rom::kRomSize; ++i) {
      if (rom::RomImage.Byte(i) != before[i] && !allowed[i]) {
        return "set " + name + "=" + text + " changed byte " + rom::HexText(i, 4) + "h, outside the field's structure";
      }
    }
  }
  return {};
}

}  // namespace fuzzing
