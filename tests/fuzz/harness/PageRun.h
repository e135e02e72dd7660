#pragma once
// One fuzz run of a page: an arbitrary image, the page shown, a script of user
// actions (typing, lists closed, check boxes, Apply, tab switches) and the
// properties every Apply must keep.
//
// Input: the first kScriptBytes bytes are the script, the rest is the image
// (zeros past its end). Script steps, each an op byte and its arguments:
//   0 ends the script; otherwise (op - 1) % 6 selects
//   0 type:     control (a byte, among the page's visible boxes), length, that many bytes
//   1 close-up: list (a byte, among its visible lists), entry; the list is closed on it
//   2 keyboard: list, entry; selected while the list stays closed
//   3 toggle:   check box
//   4 Apply
//   5 switch:   to another page and back
// At most 32 steps count, of them at most 4 Applies and 2 switches. Every run
// also presses Apply once right after the page is shown and once after its
// last step, with nothing edited: neither may change a byte.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "tests/fuzz/harness/ByteReader.h"
#include "tests/fuzz/harness/FuzzSheet.h"
#include "tests/fuzz/harness/ImageChain.h"
#include "tests/fuzz/harness/ModeListModel.h"
#include "tests/fuzz/harness/Verdict.h"

namespace fuzzing {

inline constexpr std::size_t kScriptBytes = 512;

// Runs the input on page `page` (0 Parameter Table .. 5 Font Images); returns
// the property that did not hold, or an empty text.
std::string RunPageInput(int page, const std::uint8_t* data, std::size_t size);

class PageRun {
 public:
  PageRun(int page, const std::uint8_t* data, std::size_t size);
  std::string Run();

 private:
  void Step(ByteReader& script);
  void Type(ByteReader& script);
  void SelectEntry(ByteReader& script, bool closeUp);
  void Toggle(ByteReader& script);
  void Apply();
  void ApplyWithoutEdits(const char* when);
  void SwitchAway();
  // A load of the page ended; `mark` is where its boxes began.
  void Loaded(std::size_t mark);

  ui::PropertyPage& page() { return sheet_.sheet.Page(page_); }
  testing_support::FakeControls& controls() { return sheet_.controls(page_); }
  std::vector<int> Visible(const std::vector<int>& ids);
  std::string Where();
  // A byte that differs between `before` and the image now, -1 for none.
  static long ChangedByte(const std::vector<std::uint8_t>& before, const ByteSet* allowed = nullptr);
  static std::vector<std::uint8_t> Image();

  int page_;
  const std::uint8_t* data_;
  std::size_t size_;
  FuzzSheet sheet_;
  ModeListModel modes_;
  // What the last successful load showed (and, after a load that showed a box, what was shown before).
  ByteSet shown_;
  Verdict verdict_;
  int step_ = 0;
  int applies_ = 0;
  int switches_ = 0;
};

}  // namespace fuzzing
