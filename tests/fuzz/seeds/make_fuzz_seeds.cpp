// Writes the starting corpus of every fuzz target, a folder each: make_fuzz_seeds CORPUS_DIRECTORY. Well-formed
// images give the fuzzers the pointer chains that random bytes would take long to find.
#include <cstdio>
#include <fstream>
#include <stdexcept>

#include "rom/fonts/FontFile.h"
#include "tests/fuzz/harness/Fuzz.h"
#include "tools/SampleRom.h"

namespace {

namespace fs = std::filesystem;
using fuzzing::Bytes;

void Write(const fs::path& path, const Bytes& bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

// `head` padded with zeros to `size` bytes, then `tail`.
Bytes Concat(Bytes head, const Bytes& tail, std::size_t size = 0) {
  head.resize(std::max(head.size(), size));
  head.insert(head.end(), tail.begin(), tail.end());
  return head;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s CORPUS_DIRECTORY\n", argv[0]);
    return 2;
  }
  try {
    const fs::path root = argv[1];
    std::vector<std::string> notes;
    const sample_rom::SampleFonts fonts = sample_rom::LoadSampleFonts("/usr/share/consolefonts", notes);
    const Bytes sample = sample_rom::BuildSampleRom(fonts).bytes();
    // The sample's structures but its IDs lie in its first 15 KB: cut there, short inputs reach them all.
    const Bytes compact(sample.begin(), sample.begin() + sample_rom::SampleLayout().signOn + 0x100);

    Write(root / "rom_file" / "sample.rom", sample);
    Write(root / "rom_file" / "sample_with_tail.rom", Concat(sample, Bytes(100, 0xEE)));
    Write(root / "rom_file" / "short.rom", {0x55, 0xAA, 0x40});
    Write(root / "mode_list" / "sample.rom", sample);
    Write(root / "mode_list" / "compact.rom", compact);

    // Type "5A" into the first box, close the first list on its second entry, toggle, Apply,
    // switch to the next page and back, select with the keyboard, Apply.
    const Bytes edits = {1, 0, 2, '5', 'A', 2, 0, 1, 4, 0, 5, 6, 3, 0, 2, 1, 1, 1, 'F', 5};
    // A long sign-on text with markers, typed into the first box of any page, then Apply.
    const std::string marked = "Ombrix<NEWLINE>VGA<NUL>BIOS 1.0";
    const Bytes text =
        Concat(Concat({1, 0, static_cast<std::uint8_t>(marked.size())}, Bytes(marked.begin(), marked.end())), {5});
    for (const char* target : fuzzing::kPageTargets) {
      const fs::path dir = root / target;
      Write(dir / "sample.bin", Concat({}, sample, fuzzing::kScriptBytes));
      Write(dir / "sample_edits.bin", Concat(edits, sample, fuzzing::kScriptBytes));
      Write(dir / "compact_edits.bin", Concat(edits, compact, fuzzing::kScriptBytes));
      Write(dir / "compact_text.bin", Concat(text, compact, fuzzing::kScriptBytes));
    }
    // Three assignments: a mode register, a glyph row, the sign-on text.
    const Bytes assignments = {2, 4, 8, 2, 2, '4', 'F', 5, 2, 0x41, 3, 2, 'F', 'F', 1, 0, 0, 4, 'O', 'K', '<', 'N'};
    Write(root / "cli_set" / "sample.bin", Concat(assignments, sample, fuzzing::kCliScriptBytes));
    Write(root / "cli_set" / "compact.bin", Concat(assignments, compact, fuzzing::kCliScriptBytes));
    // Mode 2+/3+ to 59.94 Hz and mode 12h to 70 Hz, keeping the polarities; mode 3+ to 60 Hz with those of 480 lines.
    for (const Bytes& script : {Bytes{17, 0x6A, 0x17, 0}, Bytes{20, 0x58, 0x1B, 0}, Bytes{17, 0x70, 0x17, 3}}) {
      const std::string name = "mode" + std::to_string(script[0]) + "_" + std::to_string(script[1]);
      Write(root / "retime" / (name + ".bin"), Concat(script, sample));
      Write(root / "retime" / (name + "_compact.bin"), Concat(script, compact));
    }
    // Each full font as every kind of file (the first byte: font + 5 * file name), a fix-up table as JSON.
    const sample_rom::FontGlyphs* glyphs[] = {&fonts.font8x8, &fonts.font8x14, &fonts.font8x16};
    for (int kind = 0; kind < 3; ++kind) {
      const rom::fonts::Glyphs g{glyphs[kind]->height, glyphs[kind]->rows};
      using rom::fonts::FontFormat;
      const std::pair<int, FontFormat> files[] = {
          {kind, FontFormat::kRaw}, {3, FontFormat::kPsf1}, {4, FontFormat::kPsf2}};
      for (const auto& [name, format] : files) {
        Write(root / "font_file" / (std::to_string(kind) + "_" + fuzzing::kFontFileNames[name]),
              Concat({static_cast<std::uint8_t>(kind + 5 * name)}, rom::fonts::EncodeFontFile(g, format)));
      }
    }
    const std::string json =
        R"({"records": [{"code": "4D", "rows": ["81","42","24","18","18","24","42","81","00","00","00","00","00","7E"]}]})";
    Write(root / "font_file" / "fixup.json", Concat({3}, Bytes(json.begin(), json.end())));
    for (const std::string& note : notes) std::fprintf(stderr, "%s: %s\n", argv[0], note.c_str());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s: %s\n", argv[0], e.what());
    return 1;
  }
  return 0;
}
