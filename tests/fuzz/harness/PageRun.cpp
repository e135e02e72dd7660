// One fuzz run of a page: an arbitrary image, the page shown, a script of user actions and the
// properties every Apply must keep (Fuzz.h); the same driver for every page.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <iterator>

#include "res/resource.h"
#include "rom/RomImage.h"
#include "tests/fuzz/harness/Fuzz.h"

namespace fuzzing {
namespace {

// Every Apply and tab switch reloads pages, which costs most of a run: they are rationed.
constexpr int kMaxSteps = 32;
constexpr int kMaxApplies = 4;
constexpr int kMaxSwitches = 2;
constexpr std::size_t kMaxShortText = 40;

std::vector<int> Range(int first, int last) {
  std::vector<int> ids;
  for (int id = first; id <= last; ++id) ids.push_back(id);
  return ids;
}

// The boxes a user can type into, by page.
std::vector<int> TextIds(int page) {
  switch (page) {
    case 0: return Range(IDC_PARAM_FIRST, IDC_CRTC_1B);
    case 1: return {IDC_ID_VALUE};
    case 2: return Range(IDC_SIGNATURE_ASCII_FIRST, IDC_SIGNATURE_HEX_FIRST + 15);
    case 3: return {IDC_SIGN_ON_TEXT};
    case 4: return Range(IDC_MEMORY_REG_FIRST, IDC_MEMORY_REG_FIRST + 8);
    default: return Range(IDC_GLYPH_ROW_FIRST, IDC_GLYPH_ROW_FIRST + 15);
  }
}

std::vector<int> ListIds(int page) {
  switch (page) {
    case 0: return {IDC_MODE_LIST};
    case 1: return {IDC_ID_KIND};
    case 5: return {IDC_FONT_LIST, IDC_CHAR_LIST_FULL, IDC_CHAR_LIST_9X16, IDC_CHAR_LIST_9X14};
    default: return {};
  }
}

std::vector<int> CheckIds(int page) {
  if (page == 0) return {IDC_NATIVE_MODE, IDC_INTERLACE, IDC_NATIVE_DOUBLE_SCAN};
  return {};
}

std::string Hex(long offset) {
  char text[16];
  std::snprintf(text, sizeof text, "%04lXh", offset);
  return text;
}

// Takes the script apart byte by byte; past its end every byte reads as 0.
class ByteReader {
 public:
  ByteReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool empty() const { return position_ >= size_; }
  std::uint8_t Byte() { return empty() ? 0 : data_[position_++]; }
  // `length` bytes, fewer at the end of the input.
  std::string Bytes(std::size_t length) {
    const std::size_t n = std::min(length, size_ - std::min(position_, size_));
    std::string out(reinterpret_cast<const char*>(data_ + position_), n);
    position_ += n;
    return out;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t position_ = 0;
};

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

}  // namespace

std::string RunRomFileInput(const std::uint8_t* data, std::size_t size);
std::string RunModeListInput(const std::uint8_t* data, std::size_t size);

std::string RunTargetInput(const std::string& target, const std::uint8_t* data, std::size_t size) {
  // In the order of the sheet's pages.
  static const char* const kPageTargets[] = {"page_parameter_table", "page_sub_vendor_id", "page_rom_signature",
                                             "page_sign_on_string",  "page_memory_config", "page_font_images"};
  if (target == "rom_file") return RunRomFileInput(data, size);
  if (target == "mode_list") return RunModeListInput(data, size);
  for (int page = 0; page < static_cast<int>(std::size(kPageTargets)); ++page) {
    if (target == kPageTargets[page]) return PageRun(page, data, size).Run();
  }
  return "no fuzz target is called " + target;
}

PageRun::PageRun(int page, const std::uint8_t* data, std::size_t size)
    : page_(std::clamp(page, 0, CPropertySheetCrtl::kPageCount - 1)), data_(data), size_(size) {}

std::vector<std::uint8_t> PageRun::Image() {
  return {rom::RomImage.data(), rom::RomImage.data() + rom::kRomSize};
}

long PageRun::ChangedByte(const std::vector<std::uint8_t>& before, const ByteSet* allowed) {
  const std::uint8_t* now = rom::RomImage.data();
  // Most runs change nothing or a few bytes: whole blocks are compared first.
  constexpr std::size_t kBlock = 1024;
  for (std::size_t block = 0; block < rom::kRomSize; block += kBlock) {
    if (std::memcmp(before.data() + block, now + block, kBlock) == 0) continue;
    for (std::size_t i = block; i < block + kBlock; ++i) {
      if (before[i] != now[i] && (allowed == nullptr || !allowed->test(i))) return static_cast<long>(i);
    }
  }
  return -1;
}

std::string PageRun::Where() {
  return "page " + std::to_string(page_) + " (" + sheet_.sheet.Page(page_).Caption() + "), step " +
         std::to_string(step_) + ": ";
}

std::string PageRun::Run() {
  const std::size_t scriptSize = std::min(size_, kScriptBytes);
  rom::ResetRomState();
  rom::RomImage.Assign(data_ + scriptSize,
                       static_cast<std::uint32_t>(std::min<std::size_t>(size_ - scriptSize, rom::kRomSize)));
  rom::romLoaded = 1;
  ++rom::imageGeneration;
  // The Parameter Table builds its list from the image as it is before anything is applied.
  if (page_ == 0) modes_.Capture();

  const std::vector<std::uint8_t> original = Image();
  std::size_t mark = sheet_.prompts.Mark();
  sheet_.SetActivePage(page_);
  if (ChangedByte(original) >= 0) verdict_.Fail(Where() + "showing the page changed the image");
  Loaded(mark);
  ApplyWithoutEdits("right after the page was shown");

  ByteReader script(data_, scriptSize);
  while (!verdict_.failed() && !script.empty() && step_ < kMaxSteps) {
    ++step_;
    Step(script);
  }
  if (!verdict_.failed()) Apply();
  if (!verdict_.failed()) ApplyWithoutEdits("after the last Apply");
  if (sheet_.prompts.fileDialogs() != 0) verdict_.Fail(Where() + "a file dialog was shown although an image is loaded");
  if (sheet_.ended()) verdict_.Fail(Where() + "the window was closed");
  if (rom::romLoaded != 1) verdict_.Fail(Where() + "romLoaded changed");
  return verdict_.Take();
}

void PageRun::Step(ByteReader& script) {
  const std::uint8_t op = script.Byte();
  if (op == 0) {
    // The rest of the script region is padding.
    while (!script.empty()) script.Byte();
    return;
  }
  switch ((op - 1) % 6) {
    case 0: Type(script); break;
    case 1: SelectEntry(script, true); break;
    case 2: SelectEntry(script, false); break;
    case 3: Toggle(script); break;
    case 4:
      if (++applies_ <= kMaxApplies) Apply();
      break;
    default:
      if (++switches_ <= kMaxSwitches) SwitchAway();
      break;
  }
}

std::vector<int> PageRun::Visible(const std::vector<int>& ids) {
  std::vector<int> visible;
  for (const int id : ids) {
    if (controls().IsVisible(id)) visible.push_back(id);
  }
  return visible;
}

void PageRun::Type(ByteReader& script) {
  const std::vector<int> ids = Visible(TextIds(page_));
  const std::uint8_t which = script.Byte();
  std::size_t length = script.Byte();
  if (ids.empty()) return;
  const int id = ids[which % ids.size()];
  // The sign-on box has no limit: long texts reach the room the BIOS keeps for it.
  if (id != IDC_SIGN_ON_TEXT) length %= kMaxShortText + 1;
  controls().Type(id, script.Bytes(length));
}

void PageRun::SelectEntry(ByteReader& script, bool closeUp) {
  const std::vector<int> ids = Visible(ListIds(page_));
  const std::uint8_t which = script.Byte();
  const std::uint8_t entry = script.Byte();
  if (ids.empty()) return;
  const int id = ids[which % ids.size()];
  const int count = controls().ListCount(id);
  if (count == 0) return;
  controls().ListSelect(id, entry % count);
  if (!closeUp) return;
  const std::vector<std::uint8_t> before = Image();
  const std::size_t mark = sheet_.prompts.Mark();
  sheet_.CloseUp(id);
  if (ChangedByte(before) >= 0) verdict_.Fail(Where() + "closing list " + std::to_string(id) + " changed the image");
  Loaded(mark);
}

void PageRun::Toggle(ByteReader& script) {
  const std::vector<int> ids = Visible(CheckIds(page_));
  const std::uint8_t which = script.Byte();
  if (ids.empty()) return;
  const int id = ids[which % ids.size()];
  controls().SetChecked(id, !controls().IsChecked(id));
}

void PageRun::Loaded(std::size_t mark) {
  const ByteSet now = ShownBytes(page_, controls(), modes_);
  // A load that showed a box may have kept what the page showed before.
  shown_ = sheet_.prompts.AnySince(mark) ? (shown_ | now) : now;
}

// The sheet's Apply (romModified = 1, then StoreToImage and LoadFromImage on
// the active page) in its two steps, so that a box shown by the store can be
// told from one shown by the reload: a store that refuses must write nothing,
// while a reload may well fail on what the store legitimately wrote.
void PageRun::Apply() {
  const std::vector<std::uint8_t> before = Image();
  const ByteSet allowed = shown_;
  const std::size_t mark = sheet_.prompts.Mark();
  rom::romModified = 1;
  page().StoreToImage();
  const long outside = ChangedByte(before, &allowed);
  if (outside >= 0)
    verdict_.Fail(Where() + "Apply wrote byte " + Hex(outside) + ", outside the structures the page shows");
  // A refusal names what it refuses in an "Error Message" box; a data exchange prompt of the
  // class library stops only the exchange, and the page stores what it holds.
  if (const FuzzPrompts::Shown* box = sheet_.prompts.ErrorSince(mark)) {
    const long changed = ChangedByte(before);
    if (changed >= 0)
      verdict_.Fail(Where() + "Apply refused with \"" + box->text + "\" and still changed byte " + Hex(changed));
  }
  const std::vector<std::uint8_t> stored = Image();
  const std::size_t reload = sheet_.prompts.Mark();
  page().LoadFromImage();
  if (ChangedByte(stored) >= 0) verdict_.Fail(Where() + "the reload after Apply changed the image");
  Loaded(reload);
}

void PageRun::ApplyWithoutEdits(const char* when) {
  const std::vector<std::uint8_t> before = Image();
  const std::size_t mark = sheet_.prompts.Mark();
  sheet_.sheet.OnCommand(1);
  const long changed = ChangedByte(before);
  if (changed >= 0) verdict_.Fail(Where() + "Apply without edits " + when + " changed byte " + Hex(changed));
  if (rom::romModified != 1) verdict_.Fail(Where() + "Apply did not mark the image modified");
  Loaded(mark);
}

void PageRun::SwitchAway() {
  // The Sub Vendor ID page loads in no time; the others have targets of their own.
  const int other = page_ == 1 ? 2 : 1;
  const std::vector<std::uint8_t> before = Image();
  sheet_.SetActivePage(other);
  // A failed check keeps the page active; nothing was reloaded then.
  if (sheet_.ActivePageIndex() == page_) return;
  const std::size_t mark = sheet_.prompts.Mark();
  sheet_.SetActivePage(page_);
  if (sheet_.ActivePageIndex() != page_) {
    verdict_.Fail(Where() + "page " + std::to_string(other) + " could not be left right after it was shown");
  }
  if (ChangedByte(before) >= 0) {
    verdict_.Fail(Where() + "switching to page " + std::to_string(other) + " and back changed the image");
  }
  Loaded(mark);
}

}  // namespace fuzzing
