#pragma once
// The fuzz targets' harness: each run takes one input and returns the first property that did not hold, or "".
// rom_file: a file, loaded, saved over itself and to a new file, in memory: a load takes exactly the file's
//   first 32 KB or refuses and changes nothing; a save fixes the checksum, keeps the bytes past 32 KB and
//   leaves no other file.
// mode_list: an image; the Parameter Table closes on each row in turn. The list holds the rows the chain
//   names, each row shows exactly the bytes of its records or says why it cannot; nothing is written.
// page_*: kScriptBytes of user actions, then the image. Steps, an op byte and its arguments (0 ends), by
//   (op - 1) % 6: type (box, length, bytes), close a list on an entry (list, entry), select with the keyboard
//   (list, entry), toggle (check box), Apply, switch to another page and back. Apply without edits, right
//   after the page is shown and after the last step, changes nothing; no Apply writes outside the structures
//   the page shows, and one that refuses with an "Error Message" writes nothing.
// cli_set: kCliScriptBytes of up to three `ombrix set` assignments, then the image: each changes only bytes
//   of the structures its field belongs to, as the image says before it.
// font_file: a byte choosing the font (% 5) and the file's name (/ 5 % 6), then the file: an import writes
//   only the font's glyph rows or refuses and writes nothing; what it imported exports and imports unchanged.
// retime: kRetimeScriptBytes (a mode's name, the rate in hundredths of a Hz as a word, the sync polarity), then
//   the image: a refusal changes nothing; a retime changes only the planned CRTC registers (and, asked to, the
//   sync bits) of the row's record, into the nearest total with the picture kept; a frame that grew retimes
//   back to the old rate byte for byte.
#include <algorithm>
#include <bitset>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "rom/RomImage.h"

namespace fuzzing {

inline constexpr std::size_t kScriptBytes = 512, kCliScriptBytes = 256, kRetimeScriptBytes = 4;
// In the order of the sheet's pages.
inline constexpr const char* kPageTargets[] = {"page_parameter_table", "page_sub_vendor_id", "page_rom_signature",
                                               "page_sign_on_string",  "page_memory_config", "page_font_images"};
inline constexpr const char* kFontFileNames[] = {"in.f08", "in.f14", "in.f16", "in.psf", "in.psf2", "in.psf.gz"};

std::string RunTargetInput(const std::string& target, const std::uint8_t* data, std::size_t size);
std::string RunRomFileInput(const std::uint8_t* data, std::size_t size);
std::string RunCliSetInput(const std::uint8_t* data, std::size_t size);
std::string RunFontFileInput(const std::uint8_t* data, std::size_t size);

using Bytes = std::vector<std::uint8_t>;
inline Bytes Image() {
  return {rom::RomImage.data(), rom::RomImage.data() + rom::kRomSize};
}

// `size` bytes of an image (zeros past them) loaded as a file would be.
inline void LoadImage(const std::uint8_t* data, std::size_t size) {
  rom::ResetRomState();
  rom::RomImage.Assign(data, static_cast<std::uint32_t>(std::min<std::size_t>(size, rom::kRomSize)));
  rom::romLoaded = 1;
  ++rom::imageGeneration;
}

// One bit per byte of the image. Changed(): a byte that differs from `before` and is not `allowed`, -1 for none.
using ByteSet = std::bitset<rom::kRomSize>;
inline long Changed(const Bytes& before, const ByteSet* allowed = nullptr) {
  const std::uint8_t* now = rom::RomImage.data();
  for (std::size_t block = 0; block < rom::kRomSize; block += 1024) {  // most runs change nothing: blocks first
    if (std::memcmp(before.data() + block, now + block, 1024) == 0) continue;
    for (std::size_t i = block; i < block + 1024; ++i)
      if (before[i] != now[i] && (allowed == nullptr || !allowed->test(i))) return static_cast<long>(i);
  }
  return -1;
}

// Marks the bytes of [offset, offset + length) that lie inside the image; none without an offset.
inline void Mark(ByteSet& bytes, std::optional<std::uint32_t> offset, std::uint32_t length) {
  for (std::uint32_t i = 0; offset && i < length && *offset + i < rom::kRomSize; ++i) bytes.set(*offset + i);
}

// Keeps the first property that did not hold; what follows may just be its consequence.
struct Verdict {
  std::string failure;
  bool Require(bool holds, const std::string& what) {
    if (!holds && failure.empty()) failure = what;
    return holds;
  }
};

}  // namespace fuzzing
