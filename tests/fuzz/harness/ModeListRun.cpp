#include "tests/fuzz/harness/ModeListRun.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "pages/modes/ModeNames.h"
#include "res/resource.h"
#include "rom/RomImage.h"
#include "rom/ValueText.h"
#include "tests/fuzz/harness/FuzzSheet.h"
#include "tests/fuzz/harness/ImageChain.h"
#include "tests/fuzz/harness/ModeListModel.h"
#include "tests/fuzz/harness/Verdict.h"

namespace fuzzing {
namespace {

constexpr int kPage = 0;

std::string RowName(int row) {
  return "row " + std::to_string(row) + ": ";
}

// The boxes of row `row` show its parameter record and its extended register record.
void CheckShown(Verdict& verdict, FuzzControls& c, int row, std::uint32_t record, std::uint32_t exReg) {
  std::uint32_t p = record;
  for (int id = IDC_PARAM_FIRST; id <= IDC_PARAM_LAST; ++id) {
    const bool word = id == IDC_PARAM_REGEN_LENGTH;
    const std::string expected = word ? rom::HexText(WordAt(p), 4) : rom::HexText(rom::RomImage.Byte(p), 2);
    if (!verdict.Require(c.GetText(id) == expected, RowName(row) + "box " + std::to_string(id) + " shows \"" +
                                                        c.GetText(id) + "\", the image holds " + expected)) {
      return;
    }
    p += word ? 2 : 1;
  }
  const std::uint8_t flags = rom::RomImage.Byte(exReg);
  verdict.Require(c.GetText(IDC_PIXEL_FORMAT) == std::to_string((flags >> 3) & 7), RowName(row) + "pixel format");
  verdict.Require(c.IsChecked(IDC_NATIVE_MODE) == ((flags & 1) != 0), RowName(row) + "native mode box");
  verdict.Require(c.IsChecked(IDC_INTERLACE) == ((flags & 2) != 0), RowName(row) + "interlace box");
  verdict.Require(c.IsChecked(IDC_NATIVE_DOUBLE_SCAN) == ((flags & 4) != 0), RowName(row) + "double scan box");
  verdict.Require(c.GetText(IDC_CRTC_1B) == rom::HexText(rom::RomImage.Byte(exReg + 1), 2), RowName(row) + "CRTC 1Bh");
  verdict.Require(c.GetText(IDC_PARAM_INDEX) == rom::HexText(rom::RomImage.Byte(exReg + 2), 2),
                  RowName(row) + "parameter index");
  verdict.Require(c.GetText(IDC_CLOCK_WORD) == rom::HexText(WordAt(exReg + 3), 4), RowName(row) + "clock word");
}

void CheckRows(Verdict& verdict, FuzzControls& c, const ModeListModel& model) {
  const int count = c.ListCount(IDC_MODE_LIST);
  if (!verdict.Require(
          count == model.ListedRows(),
          "the list has " + std::to_string(count) + " rows, the chain names " + std::to_string(model.ListedRows()))) {
    return;
  }
  for (int row = 0; row < ModeListModel::kStdRows; ++row) {
    verdict.Require(c.ListItemText(IDC_MODE_LIST, row) == StdModeNames[kStdRowModeIndex[static_cast<std::size_t>(row)]],
                    RowName(row) + "not the standard mode's name");
  }
  for (int row = ModeListModel::kStdRows; row < count; ++row) {
    const std::uint32_t record = model.records()[static_cast<std::size_t>(row - ModeListModel::kStdRows)].record;
    char number[16];
    std::snprintf(number, sizeof number, "Mode %Xh - ", static_cast<unsigned>(WordAt(record + 2)));
    verdict.Require(
        c.ListItemText(IDC_MODE_LIST, row).rfind(number, 0) == 0,
        RowName(row) + "\"" + c.ListItemText(IDC_MODE_LIST, row) + "\" does not name the mode of its record");
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
  FuzzControls& c = sheet.controls(kPage);
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
      const FuzzPrompts::Shown* box = sheet.prompts.FirstSince(mark);
      verdict.Require(box == nullptr,
                      RowName(row) + "its records lie in the image, yet \"" + (box ? box->text : "") + "\" was shown");
      CheckShown(verdict, c, row, *record, *exReg);
    } else {
      verdict.Require(sheet.prompts.ErrorSince(mark) != nullptr,
                      RowName(row) + "a row without usable records showed no message");
    }
  }
  verdict.Require(std::memcmp(original.data(), rom::RomImage.data(), rom::kRomSize) == 0, "the image changed");
  verdict.Require(rom::romModified == 0, "romModified was set without an Apply");
  verdict.Require(sheet.prompts.fileDialogs() == 0, "a file dialog was shown although an image is loaded");
  return verdict.Take();
}

}  // namespace fuzzing
