#pragma once
// The fuzz targets' harness: the runs by name, and what they share.
//
// rom_file: the input is a file's whole content. LoadRomFile on it, then WriteRomFile over it and
//   to a new file, all in memory: a load takes exactly the file's first 32 KB or refuses and changes
//   nothing; a save fixes the checksum, keeps the bytes past 32 KB and leaves no other file.
// mode_list: the input is an image (zeros past its end); the Parameter Table is shown and every row
//   of its list closed on in turn. The list holds the rows the chain names, each row shows exactly
//   the bytes of its records or says why it cannot, and nothing writes to the image.
// page_*: the first kScriptBytes bytes are a script of user actions, the rest is the image. Script
//   steps, each an op byte and its arguments: 0 ends the script; otherwise (op - 1) % 6 selects
//     0 type:     control (a byte, among the page's visible boxes), length, that many bytes
//     1 close-up: list (a byte, among its visible lists), entry; the list is closed on it
//     2 keyboard: list, entry; selected while the list stays closed
//     3 toggle:   check box
//     4 Apply
//     5 switch:   to another page and back
//   At most 32 steps count, of them at most 4 Applies and 2 switches. Every run also presses Apply
//   once right after the page is shown and once after its last step, with nothing edited: neither
//   may change a byte. No Apply writes a byte outside the structures the page shows, and one that
//   refuses with an "Error Message" writes nothing at all.

#include <bitset>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "rom/RomImage.h"
#include "tests/support/FakeSheet.h"

namespace fuzzing {

inline constexpr std::size_t kScriptBytes = 512;

// The run of target `target` on one input: the property that did not hold, or "" when every one held.
std::string RunTargetInput(const std::string& target, const std::uint8_t* data, std::size_t size);

// Where the image's structures lie, worked out here on its own rather than by the pages' code, so
// that the runs can judge what the pages did. One bit per byte of the image.
using ByteSet = std::bitset<rom::kRomSize>;
bool Inside(std::uint32_t offset, std::uint32_t length);
std::uint16_t WordAt(std::uint32_t offset);
// The structure of `length` bytes that the word at `pointer` points to, when both lie inside the image.
std::optional<std::uint32_t> Pointed(std::uint32_t pointer, std::uint32_t length);
// The structure that entry `entry` (a byte offset) of the OEM pointer table points to.
std::optional<std::uint32_t> OemStructure(std::uint32_t entry, std::uint32_t length);
// Marks the bytes of [offset, offset + length) that lie inside the image.
void Mark(ByteSet& bytes, std::uint32_t offset, std::uint32_t length);

// What the Parameter Table's mode list should hold for an image, and which records each row stands for:
// the chain save pointer table -> secondary table -> extended mode header -> mode list.
class ModeListModel {
 public:
  static constexpr int kStdRows = 22;
  static constexpr std::size_t kMaxExRows = 34;
  struct ExRow {
    std::uint32_t record = 0;
    std::uint8_t modeIndex = 0;
    int paramIndex = 0;  // the parameter record the row shows; 0 when its extended register record is unusable
  };

  // Reads the chain from RomImage as it is now: the page builds its list once per image.
  void Capture();
  bool chainFound() const { return exRegTable_.has_value(); }
  bool endFound() const { return endFound_; }
  const std::vector<ExRow>& records() const { return records_; }
  int ListedRows() const;
  // The records of list row `row` in the image as it is now, when they lie inside it.
  std::optional<std::uint32_t> ExRegRecord(int row) const;
  std::optional<std::uint32_t> ParameterRecord(int row) const;

 private:
  int ModeIndexOfRow(int row) const;
  std::optional<std::uint32_t> exRegTable_;
  bool endFound_ = false;
  std::vector<ExRow> records_;
};

// The bytes an Apply of page `page` may write: those of the structures it shows, found from what
// its controls show and from the image as it is now; `modes` is what the mode list was built from.
ByteSet ShownBytes(int page, const testing_support::FakeControls& controls, const ModeListModel& modes);

using FuzzSheet = testing_support::FakeSheet;
using FuzzPrompts = testing_support::ScriptedPrompts;

// The first property of a run that did not hold; everything after it may just be its consequence.
class Verdict {
 public:
  bool Require(bool holds, const char* failure) {
    if (!holds) Fail(failure);
    return holds;
  }
  void Fail(std::string failure) {
    if (failure_.empty()) failure_ = std::move(failure);
  }
  bool failed() const { return !failure_.empty(); }
  std::string Take() { return std::move(failure_); }

 private:
  std::string failure_;
};

}  // namespace fuzzing
