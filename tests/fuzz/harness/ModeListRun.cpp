// One fuzz run of the Parameter Table's mode list (Fuzz.h).
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "pages/modes/ModeNames.h"
#include "res/resource.h"
#include "rom/RomImage.h"
#include "rom/ValueText.h"
#include "tests/fuzz/harness/Fuzz.h"

namespace fuzzing {
namespace {

constexpr int kPage = 0;

std::string RowName(int row) {
  return "row " + std::to_string(row) + ": ";
}

// `text` is `value` as `digits` upper-case hexadecimal digits, as the page writes it.
bool ShowsHex(const std::string& text, unsigned value, int digits) {
  if (text.size() != static_cast<std::size_t>(digits)) return false;
  for (int i = 0; i < digits; ++i) {
    if (text[static_cast<std::size_t>(i)] != "0123456789ABCDEF"[(value >> (4 * (digits - 1 - i))) & 0xF]) return false;
  }
  return true;
}

// The boxes of row `row` show its parameter record and its extended register record.
void CheckShown(Verdict& verdict, testing_support::FakeControls& c, int row, std::uint32_t record, std::uint32_t exReg) {
  std::uint32_t p = record;
  for (int id = IDC_PARAM_FIRST; id <= IDC_PARAM_LAST; ++id) {
    const bool word = id == IDC_PARAM_REGEN_LENGTH;
    const unsigned value = word ? WordAt(p) : rom::RomImage.Byte(p);
    if (!ShowsHex(c.TextOf(id), value, word ? 4 : 2)) {
      return verdict.Fail(RowName(row) + "box " + std::to_string(id) + " shows \"" + c.TextOf(id) +
                          "\", the image holds " + rom::HexText(value, word ? 4 : 2));
    }
    p += word ? 2 : 1;
  }
  const std::uint8_t flags = rom::RomImage.Byte(exReg);
  const bool groupShown = c.TextOf(IDC_PIXEL_FORMAT) == std::string(1, static_cast<char>('0' + ((flags >> 3) & 7))) &&
                          c.IsChecked(IDC_NATIVE_MODE) == ((flags & 1) != 0) &&
                          c.IsChecked(IDC_INTERLACE) == ((flags & 2) != 0) &&
                          c.IsChecked(IDC_NATIVE_DOUBLE_SCAN) == ((flags & 4) != 0) &&
                          ShowsHex(c.TextOf(IDC_CRTC_1B), rom::RomImage.Byte(exReg + 1), 2) &&
                          ShowsHex(c.TextOf(IDC_PARAM_INDEX), rom::RomImage.Byte(exReg + 2), 2) &&
                          ShowsHex(c.TextOf(IDC_CLOCK_WORD), WordAt(exReg + 3), 4);
  if (!groupShown) verdict.Fail(RowName(row) + "the extended register group is not what its record holds");
}

void CheckRows(Verdict& verdict, testing_support::FakeControls& c, const ModeListModel& model) {
  const int count = c.ListCount(IDC_MODE_LIST);
  if (count != model.ListedRows()) {
    return verdict.Fail("the list has " + std::to_string(count) + " rows, the chain names " +
                        std::to_string(model.ListedRows()));
  }
  for (int row = 0; row < ModeListModel::kStdRows; ++row) {
    if (c.ListItemText(IDC_MODE_LIST, row) != StdModeNames[kStdRowModeIndex[static_cast<std::size_t>(row)]]) {
      verdict.Fail(RowName(row) + "not the standard mode's name");
    }
  }
  for (int row = ModeListModel::kStdRows; row < count; ++row) {
    const std::uint32_t record = model.records()[static_cast<std::size_t>(row - ModeListModel::kStdRows)].record;
    char number[16];
    std::snprintf(number, sizeof number, "Mode %Xh - ", static_cast<unsigned>(WordAt(record + 2)));
    const std::string text = c.ListItemText(IDC_MODE_LIST, row);
    if (text.rfind(number, 0) != 0)
      verdict.Fail(RowName(row) + "\"" + text + "\" does not name the mode of its record");
  }
}

}  // namespace

std::string RunModeListInput(const std::uint8_t* data, std::size_t size) {
  rom::ResetRomState();
  rom::RomImage.Assign(data, static_cast<std::uint32_t>(std::min<std::size_t>(size, rom::kRomSize)));
  rom::romLoaded = 1;
  ++rom::imageGeneration;
  ModeListModel model;
  model.Capture();
  const std::vector<std::uint8_t> original(rom::RomImage.data(), rom::RomImage.data() + rom::kRomSize);

  Verdict verdict;
  FuzzSheet sheet;
  testing_support::FakeControls& c = sheet.controls(kPage);
  sheet.SetActivePage(kPage);
  if (!model.chainFound() || !model.endFound()) {
    verdict.Require(sheet.prompts.ErrorSince(0) != nullptr, "a broken chain to the mode list was not reported");
  }
  CheckRows(verdict, c, model);

  const int count = c.ListCount(IDC_MODE_LIST);
  for (int row = 0; row < count && !verdict.failed(); ++row) {
    const std::size_t mark = sheet.prompts.Mark();
    c.ListSelect(IDC_MODE_LIST, row);
    sheet.CloseUp(IDC_MODE_LIST);
    const auto record = model.ParameterRecord(row);
    const auto exReg = model.ExRegRecord(row);
    if (record && exReg) {
      if (const FuzzPrompts::Shown* box = sheet.prompts.FirstSince(mark)) {
        verdict.Fail(RowName(row) + "its records lie in the image, yet \"" + box->text + "\" was shown");
      }
      CheckShown(verdict, c, row, *record, *exReg);
    } else if (sheet.prompts.ErrorSince(mark) == nullptr) {
      verdict.Fail(RowName(row) + "a row without usable records showed no message");
    }
  }
  verdict.Require(std::memcmp(original.data(), rom::RomImage.data(), rom::kRomSize) == 0, "the image changed");
  verdict.Require(rom::romModified == 0, "romModified was set without an Apply");
  verdict.Require(sheet.prompts.fileDialogs() == 0, "a file dialog was shown although an image is loaded");
  return verdict.Take();
}

}  // namespace fuzzing
