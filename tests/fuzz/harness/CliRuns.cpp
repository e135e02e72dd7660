// The command line's runs (Fuzz.h): `ombrix set` and the font files.
#include <cctype>
#include <iterator>

#include "cli/CFieldCatalog.h"
#include "cli/ExitStatus.h"
#include "cli/ImageMap.h"
#include "rom/FontLayout.h"
#include "rom/ValueText.h"
#include "rom/fonts/FontTransfer.h"
#include "tests/fuzz/harness/Fuzz.h"

namespace fuzzing {
namespace {

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

template <std::size_t N>
std::string Among(const char* const (&names)[N], std::uint8_t b) {
  return names[b % N];
}

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
    case 3: return "memory." + Among(kMemory, a);
    case 4: return "modes." + Among(kModes, a) + "." + Among(kRegisters, b);
    case 5:
      return std::string("fonts.") + rom::kFontKinds[a % std::size(rom::kFontKinds)].name + "." + rom::HexText(b, 2) +
             "." + std::to_string(in.Byte() % 17);
    default: return in.Text(a % 24);
  }
}

// The structures, by their names in the image map, that the fields of each page belong to.
constexpr std::pair<const char*, const char*> kStructures[] = {{"signature", "ROM signature text"},
                                                               {"sign-on", "sign-on record"},
                                                               {"sub-vendor", "subsystem vendor and device IDs"},
                                                               {"memory", "memory configuration record"},
                                                               {"modes", "video parameter table"},
                                                               {"modes", "extended register table"},
                                                               {"fonts", "8x8 font"},
                                                               {"fonts", "8x14 font"},
                                                               {"fonts", "8x16 font"},
                                                               {"fonts", "9x14 fix-up table"},
                                                               {"fonts", "9x16 fix-up table"}};

// The bytes a field named `name` may change. A table that runs past the end of the image still has
// its rows inside it, which the pages edit; the sign-on text may grow to the room the BIOS keeps.
ByteSet Allowed(const std::string& name) {
  ByteSet allowed;
  cli::CHeadlessEditor editor;
  std::string group = name.substr(0, name.find('.'));
  for (char& c : group) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  for (const cli::Structure& s : cli::MapImage(editor).structures) {
    for (const auto& [page, structure] : kStructures) {
      if (group == page && s.name == structure)
        Mark(allowed, s.offset, s.name == "sign-on record" ? std::max<std::uint32_t>(s.length, 2 + 120) : s.length);
    }
  }
  return allowed;
}

}  // namespace

std::string RunCliSetInput(const std::uint8_t* data, std::size_t size) {
  const std::size_t script = std::min(size, kCliScriptBytes);
  LoadImage(data + script, size - script);
  Reader in{data, script};
  cli::CHeadlessEditor editor;
  cli::CFieldCatalog catalog(editor);
  for (int n = 1 + in.Byte() % 3; n > 0; --n) {
    const std::string name = FieldName(in);
    const std::uint8_t length = in.Byte();
    const std::string text = in.Text(length >= 200 ? in.Byte() % 130 : length % 12);
    const Bytes before = Image();
    try {
      catalog.Set(name, text);
    } catch (const cli::CliError&) {
      // Refused: what the page wrote before refusing is held to the same bounds.
    }
    if (Changed(before) < 0) continue;
    // The structures as the image says before the assignment: mapping costs more than the assignment.
    const Bytes after = Image();
    rom::RomImage.Assign(before.data(), rom::kRomSize);
    const ByteSet allowed = Allowed(name);
    rom::RomImage.Assign(after.data(), rom::kRomSize);
    if (const long i = Changed(before, &allowed); i >= 0)
      return "set " + name + "=" + text + " changed byte " + rom::HexText(static_cast<std::uint32_t>(i), 4) + "h";
  }
  return {};
}

std::string RunFontFileInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return "";
  // Every font at a fixed place and bytes of its own everywhere else; the fix-up tables have three
  // records, two of them with the same code.
  static const Bytes before = [] {
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
