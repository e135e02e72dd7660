// One fuzz run of a page: an arbitrary image, the page shown, a script of user actions and the
// properties every Apply must keep (Fuzz.h); the same driver for every page.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <iterator>

#include "res/resource.h"
#include "tests/fuzz/harness/CliSetRun.h"
#include "tests/fuzz/harness/FontFileRun.h"
#include "tests/fuzz/harness/Fuzz.h"

namespace fuzzing {
namespace {

// Every Apply and tab switch reloads pages, which costs most of a run: they are rationed.
constexpr int kMaxSteps = 32, kMaxApplies = 4, kMaxSwitches = 2;
constexpr std::size_t kMaxShortText = 40;
using Bytes = std::vector<std::uint8_t>;

std::vector<int> Range(int first, int last) {
  std::vector<int> ids;
  for (int id = first; id <= last; ++id) ids.push_back(id);
  return ids;
}

// The boxes a user can type into, the lists and the check boxes, by page.
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
  return page == 0 ? std::vector<int>{IDC_NATIVE_MODE, IDC_INTERLACE, IDC_NATIVE_DOUBLE_SCAN} : std::vector<int>{};
}

std::string Hex(long offset) {
  char text[24];
  std::snprintf(text, sizeof text, "%04lXh", offset);
  return text;
}

Bytes Image() { return {rom::RomImage.data(), rom::RomImage.data() + rom::kRomSize}; }

// A byte that differs between `before` and the image now and is not `allowed`, -1 for none.
long ChangedByte(const Bytes& before, const ByteSet* allowed = nullptr) {
  const std::uint8_t* now = rom::RomImage.data();
  // Most runs change nothing or a few bytes: whole blocks are compared first.
  constexpr std::size_t kBlock = 1024;
  for (std::size_t block = 0; block < rom::kRomSize; block += kBlock) {
    if (std::memcmp(before.data() + block, now + block, kBlock) == 0) continue;
    for (std::size_t i = block; i < block + kBlock; ++i)
      if (before[i] != now[i] && (allowed == nullptr || !allowed->test(i))) return static_cast<long>(i);
  }
  return -1;
}

class PageRun {
 public:
  PageRun(int page, const std::uint8_t* data, std::size_t size)
      : page_(page), script_(data), scriptSize_(std::min(size, kScriptBytes)) {
    rom::ResetRomState();
    rom::RomImage.Assign(data + scriptSize_,
                         static_cast<std::uint32_t>(std::min<std::size_t>(size - scriptSize_, rom::kRomSize)));
    rom::romLoaded = 1;
    ++rom::imageGeneration;
    // The Parameter Table builds its list from the image as it is before anything is applied.
    if (page_ == 0) modes_.Capture();
  }

  std::string Run() {
    const Bytes original = Image();
    const std::size_t mark = sheet_.prompts.Mark();
    sheet_.SetActivePage(page_);
    if (ChangedByte(original) >= 0) Fail("showing the page changed the image");
    Loaded(mark);
    ApplyWithoutEdits("right after the page was shown");
    int applies = 0, switches = 0;
    while (!verdict_.failed() && position_ < scriptSize_ && step_ < kMaxSteps) {
      ++step_;
      const std::uint8_t op = Next();
      if (op == 0) break;  // the rest of the script region is padding
      switch ((op - 1) % 6) {
        case 0: Type(); break;
        case 1: SelectEntry(true); break;
        case 2: SelectEntry(false); break;
        case 3: Toggle(); break;
        case 4:
          if (++applies <= kMaxApplies) Apply();
          break;
        default:
          if (++switches <= kMaxSwitches) SwitchAway();
          break;
      }
    }
    if (!verdict_.failed()) Apply();
    if (!verdict_.failed()) ApplyWithoutEdits("after the last Apply");
    if (sheet_.prompts.fileDialogs() != 0) Fail("a file dialog was shown although an image is loaded");
    if (sheet_.ended()) Fail("the window was closed");
    if (rom::romLoaded != 1) Fail("romLoaded changed");
    return verdict_.Take();
  }

 private:
  // The script's next byte; past its end every byte reads as 0.
  std::uint8_t Next() { return position_ < scriptSize_ ? script_[position_++] : 0; }
  void Fail(const std::string& what) {
    verdict_.Fail("page " + std::to_string(page_) + " (" + page().Caption() + "), step " + std::to_string(step_) +
                  ": " + what);
  }
  ui::PropertyPage& page() { return sheet_.sheet.Page(page_); }
  testing_support::FakeControls& controls() { return sheet_.controls(page_); }
  // One of the visible controls among `ids`, chosen by the script's next byte; 0 for none.
  int Choose(const std::vector<int>& ids) {
    std::vector<int> visible;
    for (const int id : ids)
      if (controls().IsVisible(id)) visible.push_back(id);
    const std::uint8_t which = Next();
    return visible.empty() ? 0 : visible[which % visible.size()];
  }

  void Type() {
    const int id = Choose(TextIds(page_));
    std::size_t length = Next();
    if (id == 0) return;
    // The sign-on box has no limit: long texts reach the room the BIOS keeps for it.
    if (id != IDC_SIGN_ON_TEXT) length %= kMaxShortText + 1;
    length = std::min(length, scriptSize_ - position_);
    controls().Type(id, std::string(reinterpret_cast<const char*>(script_ + position_), length));
    position_ += length;
  }

  void SelectEntry(bool closeUp) {
    const int id = Choose(ListIds(page_));
    const std::uint8_t entry = Next();
    const int count = id == 0 ? 0 : controls().ListCount(id);
    if (count == 0) return;
    controls().ListSelect(id, entry % count);
    if (!closeUp) return;
    const Bytes before = Image();
    const std::size_t mark = sheet_.prompts.Mark();
    sheet_.CloseUp(id);
    if (ChangedByte(before) >= 0) Fail("closing list " + std::to_string(id) + " changed the image");
    Loaded(mark);
  }

  void Toggle() {
    if (const int id = Choose(CheckIds(page_))) controls().SetChecked(id, !controls().IsChecked(id));
  }

  // A load of the page ended; `mark` is where its boxes began. A load that showed a box may
  // have kept what the page showed before.
  void Loaded(std::size_t mark) {
    const ByteSet now = ShownBytes(page_, controls(), modes_);
    shown_ = sheet_.prompts.AnySince(mark) ? (shown_ | now) : now;
  }

  // The sheet's Apply (romModified = 1, then StoreToImage and LoadFromImage on the active page)
  // in its two steps, so that a box shown by the store can be told from one shown by the reload:
  // a store that refuses must write nothing, while a reload may well fail on what the store wrote.
  void Apply() {
    const Bytes before = Image();
    const ByteSet allowed = shown_;
    const std::size_t mark = sheet_.prompts.Mark();
    rom::romModified = 1;
    page().StoreToImage();
    if (const long outside = ChangedByte(before, &allowed); outside >= 0)
      Fail("Apply wrote byte " + Hex(outside) + ", outside the structures the page shows");
    // A refusal names what it refuses in an "Error Message" box; a data exchange prompt of the
    // class library stops only the exchange, and the page stores what it holds.
    const FuzzPrompts::Shown* box = sheet_.prompts.ErrorSince(mark);
    if (const long changed = ChangedByte(before); box != nullptr && changed >= 0)
      Fail("Apply refused with \"" + box->text + "\" and still changed byte " + Hex(changed));
    const Bytes stored = Image();
    const std::size_t reload = sheet_.prompts.Mark();
    page().LoadFromImage();
    if (ChangedByte(stored) >= 0) Fail("the reload after Apply changed the image");
    Loaded(reload);
  }

  void ApplyWithoutEdits(const char* when) {
    const Bytes before = Image();
    const std::size_t mark = sheet_.prompts.Mark();
    sheet_.sheet.OnCommand(1);
    if (const long changed = ChangedByte(before); changed >= 0)
      Fail(std::string("Apply without edits ") + when + " changed byte " + Hex(changed));
    if (rom::romModified != 1) Fail("Apply did not mark the image modified");
    Loaded(mark);
  }

  void SwitchAway() {
    // The Sub Vendor ID page loads in no time; the others have targets of their own.
    const int other = page_ == 1 ? 2 : 1;
    const Bytes before = Image();
    sheet_.SetActivePage(other);
    // A failed check keeps the page active; nothing was reloaded then.
    if (sheet_.ActivePageIndex() == page_) return;
    const std::size_t mark = sheet_.prompts.Mark();
    sheet_.SetActivePage(page_);
    if (sheet_.ActivePageIndex() != page_)
      Fail("page " + std::to_string(other) + " could not be left right after it was shown");
    if (ChangedByte(before) >= 0) Fail("switching to page " + std::to_string(other) + " and back changed the image");
    Loaded(mark);
  }

  int page_;
  const std::uint8_t* script_;
  std::size_t scriptSize_, position_ = 0;
  FuzzSheet sheet_;
  ModeListModel modes_;
  ByteSet shown_;  // what the last successful load showed
  Verdict verdict_;
  int step_ = 0;
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
  if (target == "cli_set") return RunCliSetInput(data, size);
  if (target == "font_file") return RunFontFileInput(data, size);
  for (int page = 0; page < static_cast<int>(std::size(kPageTargets)); ++page)
    if (target == kPageTargets[page]) return PageRun(page, data, size).Run();
  return "no fuzz target is called " + target;
}

}  // namespace fuzzing
