// The runs of the pages (Fuzz.h): one driver for every page, the mode list's own run and the retime of a mode.
#include <cmath>
#include <iterator>
#include <optional>

#include "cli/ExitStatus.h"
#include "cli/ModeRetime.h"
#include "pages/modes/CExModeList.h"
#include "pages/modes/CModeRowMaps.h"
#include "pages/modes/ModeNames.h"
#include "res/resource.h"
#include "rom/FontLayout.h"
#include "rom/ValueText.h"
#include "tests/fuzz/harness/Fuzz.h"
#include "tests/support/FakeSheet.h"

namespace fuzzing {
namespace {

using Opt = std::optional<std::uint32_t>;
using rom::timing::SyncPolarity;

Opt Within(std::uint32_t offset, std::uint32_t length) {
  return rom::ImageBuffer::Contains(offset, length) ? Opt(offset) : std::nullopt;
}

// The rows of the mode list as the image names them when the page builds the list, and the
// records each row shows: its mode's extended register record and the parameter record it names.
struct Modes {
  bool located = false, complete = false;
  std::uint32_t exRegTable = 0;
  std::vector<std::uint32_t> records;
  std::vector<std::pair<int, int>> exRows;  // mode index, parameter record index (0: none)

  void Capture() {
    CExModeList list;
    located = list.Locate();
    exRegTable = list.exRegTable();
    complete = located && list.Scan(records);
    for (const std::uint32_t record : records) {
      const std::uint8_t mode = CExModeList::ModeIndex(record);
      const Opt exReg = ExRegOf(mode);
      const std::uint8_t param = exReg ? rom::RomImage.Byte(*exReg + 2) : 0;
      exRows.push_back({mode, !exReg ? 0 : param != 0 ? param : mode});
    }
  }
  int Rows() const { return kStdRowCount + std::min(static_cast<int>(exRows.size()), CModeRowMaps::kMaxExRows); }
  int Index(int row, bool param) const {
    if (row >= 0 && row < kStdRowCount) return kStdRowModeIndex[static_cast<std::size_t>(row)];
    if (row < kStdRowCount || row >= Rows()) return -1;
    const auto& ex = exRows[static_cast<std::size_t>(row - kStdRowCount)];
    return param ? ex.second : ex.first;
  }
  Opt ExRegOf(int mode) const {
    return located && mode >= 0 ? Within(exRegTable + 5u * static_cast<std::uint32_t>(mode), 5) : std::nullopt;
  }
  Opt ExReg(int row) const { return ExRegOf(Index(row, false)); }
  Opt Parameter(int row) const {
    const int index = Index(row, true);
    const rom::Located save = rom::FollowOemEntry(rom::OemEntry::kSavePointerTable, "", 2);
    if (index < 0 || (row >= kStdRowCount && index == 0) || !save) return std::nullopt;
    return Within(rom::RomImage.Word(save.offset) + 64u * static_cast<std::uint32_t>(index), 64);
  }
};

// The bytes an Apply of `page` may write: those of the structures it shows now.
ByteSet Shown(int page, const ui::HeadlessControls& c, const Modes& modes) {
  ByteSet bytes;
  const int row = c.ListSelection(IDC_MODE_LIST), font = c.ListSelection(IDC_FONT_LIST);
  std::uint32_t first = 0;
  std::string error;
  switch (page) {
    case 0:
      if (const Opt record = modes.Parameter(row), exReg = modes.ExReg(row); record && exReg) {
        Mark(bytes, record, 64);
        Mark(bytes, exReg, 5);
      }
      break;
    case 1: Mark(bytes, rom::kSubsystemVendorIdOffset, 4); break;
    case 2: Mark(bytes, rom::kSignatureTextOffset, 16); break;
    case 3:  // the length word and the most text an Apply may store
      if (const rom::Located at = rom::FollowOemEntry(rom::OemEntry::kSignOn, "", 2)) Mark(bytes, at.offset, 2 + 120);
      break;
    case 4:
      if (const rom::Located at = rom::FollowOemEntry(rom::OemEntry::kMemoryConfig, "", 36)) Mark(bytes, at.offset, 36);
      break;
    default:
      // The selected glyph's rows, clipped to the image; the font word itself may point anywhere.
      if (font < 0 || font >= static_cast<int>(std::size(rom::kFontKinds))) break;
      const rom::FontKind& kind = rom::kFontKinds[font];
      if (!rom::FontWord(kind.entry, first, error)) break;
      const int list = !kind.fixup ? IDC_CHAR_LIST_FULL : kind.height == 14 ? IDC_CHAR_LIST_9X14 : IDC_CHAR_LIST_9X16;
      const auto glyph = static_cast<std::uint32_t>(std::max(0, c.ListSelection(list)));
      const auto height = static_cast<std::uint32_t>(kind.height);
      if (!kind.fixup && glyph < 256) Mark(bytes, first + glyph * height, height);
      rom::ScanFixups(first, kind.height, [&](std::uint32_t k, std::uint32_t record, std::uint8_t) {
        if (kind.fixup && k == glyph) Mark(bytes, record + 1, height);
        return kind.fixup && k < glyph;
      });
  }
  return bytes;
}

enum Kind { kText, kList, kCheck };
// The boxes a user can type into, the lists and the check boxes of each page: page, kind, first and last id.
constexpr int kControls[][4] = {{0, kText, IDC_PARAM_FIRST, IDC_CRTC_1B},
                                {0, kList, IDC_MODE_LIST, IDC_MODE_LIST},
                                {0, kCheck, IDC_NATIVE_MODE, IDC_NATIVE_DOUBLE_SCAN},
                                {1, kText, IDC_ID_VALUE, IDC_ID_VALUE},
                                {1, kList, IDC_ID_KIND, IDC_ID_KIND},
                                {2, kText, IDC_SIGNATURE_ASCII_FIRST, IDC_SIGNATURE_HEX_FIRST + 15},
                                {3, kText, IDC_SIGN_ON_TEXT, IDC_SIGN_ON_TEXT},
                                {4, kText, IDC_MEMORY_REG_FIRST, IDC_MEMORY_REG_FIRST + 8},
                                {5, kText, IDC_GLYPH_ROW_FIRST, IDC_GLYPH_ROW_FIRST + 15},
                                {5, kList, IDC_FONT_LIST, IDC_CHAR_LIST_FULL},
                                {5, kList, IDC_CHAR_LIST_9X16, IDC_CHAR_LIST_9X14}};

// Every Apply and tab switch reloads pages, which costs most of a run: they are rationed.
constexpr int kMaxSteps = 32, kMaxApplies = 4, kMaxSwitches = 2, kMaxShortText = 40;

class PageRun {
 public:
  PageRun(int page, const std::uint8_t* data, std::size_t size)
      : page_(page), script_(data), end_(std::min(size, kScriptBytes)) {
    LoadImage(data + end_, size - end_);
    if (page_ == 0) modes_.Capture();  // the list is built from the image before anything is applied
  }

  std::string Run() {
    Reload("showing the page", [&] { sheet_.SetActivePage(page_); });
    ApplyWithoutEdits("Apply without edits right after the page was shown");
    int applies = 0, switches = 0;
    while (verdict_.failure.empty() && at_ < end_ && step_ < kMaxSteps) {
      ++step_;
      const std::uint8_t op = Next();
      if (op == 0) break;  // the rest of the script region is padding
      const int kind = (op - 1) % 6;
      if (kind == 0) Type();
      if (kind == 1 || kind == 2) Select(kind == 1);
      if (const int id = kind == 3 ? Choose(kCheck) : 0) controls().SetChecked(id, !controls().IsChecked(id));
      if (kind == 4 && ++applies <= kMaxApplies) Apply();
      if (kind == 5 && ++switches <= kMaxSwitches) SwitchAway();
    }
    if (verdict_.failure.empty()) Apply();
    if (verdict_.failure.empty()) ApplyWithoutEdits("Apply without edits after the last Apply");
    if (sheet_.prompts.fileDialogs() != 0) Fail("a file dialog was shown although an image is loaded");
    if (sheet_.ended() || rom::romLoaded != 1) Fail("the window was closed or romLoaded changed");
    return verdict_.failure;
  }

 private:
  std::uint8_t Next() { return at_ < end_ ? script_[at_++] : 0; }
  void Fail(const std::string& what) {
    verdict_.Require(false, page().Caption() + ", step " + std::to_string(step_) + ": " + what);
  }
  ui::PropertyPage& page() { return sheet_.sheet.Page(page_); }
  ui::HeadlessControls& controls() { return sheet_.controls(page_); }
  // One of the page's visible controls of `kind`, chosen by the script's next byte; 0 for none.
  int Choose(Kind kind) {
    std::vector<int> visible;
    for (const auto& [p, k, first, last] : kControls)
      for (int id = first; p == page_ && k == kind && id <= last; ++id)
        if (controls().IsVisible(id)) visible.push_back(id);
    const std::uint8_t which = Next();
    return visible.empty() ? 0 : visible[which % visible.size()];
  }

  void Type() {
    const int id = Choose(kText);
    std::size_t length = Next();
    if (id == 0) return;
    // The sign-on box has no limit: long texts reach the room the BIOS keeps for it.
    if (id != IDC_SIGN_ON_TEXT) length %= kMaxShortText + 1;
    length = std::min(length, end_ - at_);
    controls().Type(id, std::string(reinterpret_cast<const char*>(script_ + at_), length));
    at_ += length;
  }

  void Select(bool closeUp) {
    const int id = Choose(kList);
    const std::uint8_t entry = Next();
    const int count = controls().ListCount(id);
    if (count == 0) return;
    controls().ListSelect(id, entry % count);
    if (closeUp) Reload("closing a list", [&] { sheet_.CloseUp(id); });
  }

  // `load` loads the page, which may not change the image; what the page shows is then what it loaded,
  // or, when a box was shown, that and maybe what it showed before.
  template <typename Load>
  void Reload(const char* what, Load load) {
    const Bytes before = Image();
    const std::size_t mark = sheet_.prompts.Mark();
    load();
    if (Changed(before) >= 0) Fail(std::string(what) + " changed the image");
    const ByteSet now = Shown(page_, controls(), modes_);
    shown_ = sheet_.prompts.AnySince(mark) ? (shown_ | now) : now;
  }

  // The sheet's Apply (romModified = 1, StoreToImage, LoadFromImage) in its steps, so that a box shown by
  // the store is told from one shown by the reload: a store that refuses writes nothing, while a reload
  // may well fail on what the store wrote.
  void Apply() {
    const Bytes before = Image();
    const ByteSet allowed = shown_;
    const std::size_t mark = sheet_.prompts.Mark();
    rom::romModified = 1;
    page().StoreToImage();
    if (const long outside = Changed(before, &allowed); outside >= 0)
      Fail("Apply wrote byte " + rom::HexText(static_cast<std::uint32_t>(outside), 4) +
           "h, outside the shown structures");
    // A data exchange prompt of the class library only stops the exchange; a refusal is an "Error Message".
    const auto* box = sheet_.prompts.ErrorSince(mark);
    if (box != nullptr && Changed(before) >= 0) Fail("Apply refused with \"" + box->text + "\" and still wrote");
    Reload("the reload after Apply", [&] { page().LoadFromImage(); });
  }

  void ApplyWithoutEdits(const char* when) {
    Reload(when, [&] { sheet_.sheet.OnCommand(1); });
    if (rom::romModified != 1) Fail("Apply did not mark the image modified");
  }

  void SwitchAway() {
    const int other = page_ == 1 ? 2 : 1;  // the Sub Vendor ID page loads in no time
    const Bytes before = Image();
    sheet_.SetActivePage(other);
    if (Changed(before) >= 0) Fail("leaving the page changed the image");
    if (sheet_.ActivePageIndex() == page_) return;  // a failed check keeps the page: nothing reloaded
    Reload("switching back", [&] { sheet_.SetActivePage(page_); });
    if (sheet_.ActivePageIndex() != page_) Fail("page " + std::to_string(other) + " could not be left");
  }

  int page_;
  const std::uint8_t* script_;
  std::size_t end_, at_ = 0;
  int step_ = 0;
  testing_support::FakeSheet sheet_;
  Modes modes_;
  ByteSet shown_;  // what the last successful load showed
  Verdict verdict_;
};

std::string RunModeListInput(const std::uint8_t* data, std::size_t size) {
  LoadImage(data, size);
  Modes modes;
  modes.Capture();
  const Bytes original = Image();
  Verdict v;
  testing_support::FakeSheet sheet;
  ui::HeadlessControls& c = sheet.controls(0);
  sheet.SetActivePage(0);
  v.Require(modes.complete || sheet.prompts.ErrorSince(0), "a broken chain to the mode list was not reported");
  const int count = c.ListCount(IDC_MODE_LIST);
  v.Require(count == modes.Rows(),
            "the list has " + std::to_string(count) + " rows, the chain names " + std::to_string(modes.Rows()));
  for (int row = 0; row < count && v.failure.empty(); ++row) {
    const std::string name = "row " + std::to_string(row) + ": ", text = c.ListItemText(IDC_MODE_LIST, row);
    v.Require(text == (row < kStdRowCount
                           ? StdModeNames[kStdRowModeIndex[static_cast<std::size_t>(row)]]
                           : CExModeList::RowText(modes.records[static_cast<std::size_t>(row - kStdRowCount)])),
              name + "\"" + text + "\" does not name its mode");
    const std::size_t mark = sheet.prompts.Mark();
    sheet.Pick(IDC_MODE_LIST, row);
    const Opt record = modes.Parameter(row), exReg = modes.ExReg(row);
    if (!record || !exReg) {
      v.Require(sheet.prompts.ErrorSince(mark), name + "a row without usable records showed no message");
      continue;
    }
    if (const auto* box = sheet.prompts.FirstSince(mark)) v.Require(false, name + "usable records, yet " + box->text);
    std::uint32_t at = *record;
    for (int id = IDC_PARAM_FIRST; id <= IDC_PARAM_LAST; ++id, ++at) {
      const bool word = id == IDC_PARAM_REGEN_LENGTH;
      const std::string image = rom::HexText(word ? rom::RomImage.Word(at++) : rom::RomImage.Byte(at), word ? 4 : 2);
      if (c.TextOf(id) != image) v.Require(false, name + "box " + std::to_string(id) + " is not " + image);
    }
    const std::uint8_t flags = rom::RomImage.Byte(*exReg);
    v.Require(c.TextOf(IDC_PIXEL_FORMAT) == std::to_string(flags >> 3 & 7) &&
                  c.IsChecked(IDC_NATIVE_MODE) == ((flags & 1) != 0) &&
                  c.IsChecked(IDC_INTERLACE) == ((flags & 2) != 0) &&
                  c.IsChecked(IDC_NATIVE_DOUBLE_SCAN) == ((flags & 4) != 0) &&
                  c.TextOf(IDC_CRTC_1B) == rom::HexText(rom::RomImage.Byte(*exReg + 1), 2) &&
                  c.TextOf(IDC_PARAM_INDEX) == rom::HexText(rom::RomImage.Byte(*exReg + 2), 2) &&
                  c.TextOf(IDC_CLOCK_WORD) == rom::HexText(rom::RomImage.Word(*exReg + 3), 4),
              name + "the extended register group is not what its record holds");
  }
  v.Require(Changed(original) < 0 && rom::romModified == 0 && sheet.prompts.fileDialogs() == 0,
            "the image changed, romModified was set without an Apply, or a file dialog was shown");
  return v.failure;
}

// A retime that succeeded, judged against the records the image had before it: only the planned registers of
// the row's record changed, into the frame that was asked for.
std::string JudgeRetime(const cli::ModeRetiming& r, Opt record, double hz, SyncPolarity polarity, const Bytes& before) {
  using rom::timing::kCrtcByte;
  ByteSet allowed;
  for (const int index : rom::timing::kRetimedCrtc) Mark(allowed, record ? Opt(*record + kCrtcByte + index) : Opt(), 1);
  if (polarity != SyncPolarity::kKeep) Mark(allowed, record ? Opt(*record + rom::timing::kMiscOutputByte) : Opt(), 1);
  const long outside = Changed(before, &allowed);
  if (outside >= 0) return "byte " + rom::HexText(static_cast<std::uint32_t>(outside), 4) + "h changed";
  Verdict v;
  const rom::timing::ModeTiming &b = r.retiming.before, &a = r.retiming.after;
  const std::uint8_t* now = rom::RomImage.data() + (record ? *record : 0);
  v.Require(record && std::equal(r.retiming.record.begin(), r.retiming.record.end(), now),
            "the record in the image is not the one planned");
  v.Require(a.verticalDisplay == b.verticalDisplay && a.verticalBlank.start == b.verticalBlank.start &&
                a.verticalRetrace.end - a.verticalRetrace.start == b.verticalRetrace.end - b.verticalRetrace.start &&
                a.verticalTotal - a.verticalBlank.end == b.verticalTotal - b.verticalBlank.end &&
                a.clockSelect == b.clockSelect && a.charWidth == b.charWidth && a.horizontalKHz == b.horizontalKHz,
            "the display, the blanking's distance to it, the retrace width, the clock or the line rate moved");
  // The nearest total, and the margins' old proportion to within half a line.
  const double line = *b.horizontalKHz * 1000;
  const auto off = [&](int total) { return std::fabs(line / total - hz); };
  v.Require(off(a.verticalTotal) <= off(a.verticalTotal + 1) &&
                (a.verticalTotal == 1 || off(a.verticalTotal) <= off(a.verticalTotal - 1)),
            "the total " + std::to_string(a.verticalTotal) + " is not the nearest to the rate");
  const int bottom = b.verticalRetrace.start - b.verticalDisplay,
            margins = bottom + b.verticalTotal - b.verticalRetrace.end;
  const int newMargins = a.verticalTotal - a.verticalDisplay - (a.verticalRetrace.end - a.verticalRetrace.start);
  v.Require(std::abs(2 * ((a.verticalRetrace.start - a.verticalDisplay) * margins - bottom * newMargins)) <= margins,
            "the margins did not keep their proportion");
  return v.failure;
}

// A frame that grew goes back to the old rate byte for byte; only a retrace that lay outside the old blanking may
// make that a refusal.
std::string RunRetimeInput(const std::uint8_t* data, std::size_t size) {
  static const char* const kNames[] = {"0",  "1",  "2",     "3",     "4",     "5",     "6",    "7",    "d",  "e",
                                       "f",  "10", "0star", "1star", "2star", "3star", "0+1+", "2+3+", "7+", "11",
                                       "12", "13", "100h",  "101h",  "103h",  "105h",  "111h", "112h"};
  const std::size_t script = std::min(size, kRetimeScriptBytes);
  const auto at = [&](std::size_t i) -> std::uint8_t { return i < script ? data[i] : 0; };
  LoadImage(data + script, size - script);
  Modes modes;
  modes.Capture();
  const std::string name = kNames[at(0) % std::size(kNames)];
  const double hz = (at(1) | at(2) << 8) / 100.0;
  const auto polarity = static_cast<SyncPolarity>(at(3) % 4);
  const Bytes before = Image();
  cli::ModeRetiming r;
  std::optional<int> row;
  try {
    cli::CFieldCatalog catalog;
    r = cli::RetimeMode(catalog, name, hz, polarity);
    row = catalog.editor().activeControls().ListSelection(IDC_MODE_LIST);
  } catch (const cli::CliError& e) {
    return Changed(before) < 0 ? "" : "a refused retime (" + std::string(e.what()) + ") changed the image";
  }
  if (std::string failure = JudgeRetime(r, modes.Parameter(*row), hz, polarity, before); !failure.empty())
    return "retime " + name + " " + std::to_string(hz) + ": " + failure;
  const rom::timing::ModeTiming& b = r.retiming.before;
  if (r.retiming.after.verticalTotal <= b.verticalTotal || polarity != SyncPolarity::kKeep) return "";
  const bool blanked = b.verticalBlank.start <= b.verticalRetrace.start && b.verticalRetrace.end <= b.verticalBlank.end;
  const Bytes grown = Image();
  try {
    cli::CFieldCatalog catalog;
    cli::RetimeMode(catalog, name, *b.refreshHz, SyncPolarity::kKeep);
  } catch (const cli::CliError& e) {
    if (!blanked && Changed(grown) < 0) return "";
    return "retime " + name + " back: " + e.what();
  }
  return Changed(before) < 0 ? ""
                             : "retime " + name + " back to the old rate left byte " +
                                   rom::HexText(static_cast<std::uint32_t>(Changed(before)), 4) + "h changed";
}

}  // namespace

std::string RunTargetInput(const std::string& target, const std::uint8_t* data, std::size_t size) {
  if (target == "rom_file") return RunRomFileInput(data, size);
  if (target == "mode_list") return RunModeListInput(data, size);
  if (target == "retime") return RunRetimeInput(data, size);
  if (target == "cli_set") return RunCliSetInput(data, size);
  if (target == "font_file") return RunFontFileInput(data, size);
  for (int page = 0; page < static_cast<int>(std::size(kPageTargets)); ++page)
    if (target == kPageTargets[page]) return PageRun(page, data, size).Run();
  return "no fuzz target is called " + target;
}

}  // namespace fuzzing
