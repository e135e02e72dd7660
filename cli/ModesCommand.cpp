// modes: every row of the Parameter Table page's mode list with the timing of its parameter record.
#include <CLI/CLI.hpp>
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "cli/ArgumentPath.h"
#include "cli/CHeadlessEditor.h"
#include "cli/Commands.h"
#include "cli/ExitStatus.h"
#include "cli/ImageFile.h"
#include "cli/Output.h"
#include "cli/ShownMode.h"
#include "res/resource.h"
#include "rom/ValueText.h"
#include "rom/timing/ModeTiming.h"

namespace cli {
namespace {

using rom::timing::ModeTiming;

// One row of the mode list as the page shows it.
struct ModeRow {
  std::string text;
  std::string problem;  // the page's message when it cannot show the row
  ModeTiming timing;
};

std::string Joined(const std::vector<std::string>& messages) {
  std::string text;
  for (const std::string& m : messages) text += (text.empty() ? "" : " / ") + m;
  return text;
}

// Each row picked in the page's list, as a user would, and its record decoded. A row that
// the page cannot show has the page's own reason; what the page said while it built the
// list and that no row says goes to `notes` (a memory model it does not know, say).
std::vector<ModeRow> ReadModes(std::vector<std::string>& notes) {
  CHeadlessEditor editor;
  std::size_t mark = editor.Mark();
  editor.Start();
  const std::vector<std::string> activation = editor.MessagesSince(mark);
  ui::HeadlessControls& controls = editor.activeControls();
  std::vector<ModeRow> rows;
  std::vector<std::string> said;
  for (int row = 0; row < controls.ListCount(IDC_MODE_LIST); ++row) {
    ModeRow mode;
    mode.text = controls.ListItemText(IDC_MODE_LIST, row);
    mark = editor.Mark();
    editor.Pick(IDC_MODE_LIST, row);
    const std::vector<std::string> messages = editor.MessagesSince(mark);
    said.insert(said.end(), messages.begin(), messages.end());
    mode.problem = Joined(messages);
    if (mode.problem.empty()) {
      mode.timing =
          rom::timing::DecodeTiming(ShownRecord(controls), rom::HexTextToWord(controls.GetText(IDC_CLOCK_WORD)));
    }
    rows.push_back(std::move(mode));
  }
  for (const std::string& message : activation) {
    if (std::find(said.begin(), said.end(), message) == said.end()) notes.push_back(message);
  }
  return rows;
}

void PrintText(const std::vector<ModeRow>& rows) {
  for (const ModeRow& row : rows) {
    std::cout << row.text << "\n";
    if (!row.problem.empty()) {
      std::cout << "  not shown: " << row.problem << "\n";
      continue;
    }
    std::cout << TimingText(row.timing);
  }
}

nlohmann::json SpanJson(const rom::timing::Span& span) {
  return {{"start", span.start}, {"end", span.end}};
}

nlohmann::json Rate(const std::optional<double>& value) {
  if (!value) return nullptr;
  return std::round(*value * 1000) / 1000;
}

void PrintJsonRows(const std::filesystem::path& path, const std::vector<ModeRow>& rows,
                   const std::vector<std::string>& notes) {
  nlohmann::json list = nlohmann::json::array();
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const ModeRow& row = rows[i];
    nlohmann::json mode = {{"row", i}, {"mode", JsonText(row.text)}};
    if (!row.problem.empty()) {
      mode["problem"] = JsonText(row.problem);
      list.push_back(mode);
      continue;
    }
    const ModeTiming& t = row.timing;
    mode["clock"] = {{"select", t.clockSelect},
                     {"external", t.externalClock},
                     {"mhz", t.externalClock ? nlohmann::json(nullptr) : nlohmann::json(t.dotClockMHz)},
                     {"halved", t.halved},
                     {"clockWord", rom::HexText(t.clockWord, 4)}};
    mode["charWidth"] = t.charWidth;
    mode["horizontal"] = {{"total", t.horizontalTotal},
                          {"display", t.horizontalDisplay},
                          {"blank", SpanJson(t.horizontalBlank)},
                          {"retrace", SpanJson(t.horizontalRetrace)}};
    mode["vertical"] = {{"total", t.verticalTotal},
                        {"display", t.verticalDisplay},
                        {"blank", SpanJson(t.verticalBlank)},
                        {"retrace", SpanJson(t.verticalRetrace)}};
    mode["doubleScan"] = t.doubleScan;
    mode["horizontalKHz"] = Rate(t.horizontalKHz);
    mode["refreshHz"] = Rate(t.refreshHz);
    mode["problem"] = t.problem.empty() ? nlohmann::json(nullptr) : nlohmann::json(t.problem);
    list.push_back(mode);
  }
  nlohmann::json problems = nlohmann::json::array();
  for (const std::string& note : notes) problems.push_back(JsonText(note));
  PrintJson({{"file", FileName(path)}, {"modes", list}, {"problems", problems}});
}

int Modes(const std::filesystem::path& path, bool json) {
  LoadImage(ReadImageFile(path));
  std::vector<std::string> notes;
  const std::vector<ModeRow> rows = ReadModes(notes);
  for (const std::string& note : notes)
    std::cerr << "ombrix: " << FileName(path) << ": Parameter Table: " << note << "\n";
  if (json) {
    PrintJsonRows(path, rows, notes);
  } else {
    PrintText(rows);
  }
  return kOk;
}

}  // namespace

void AddModesCommand(CLI::App& app, int& status) {
  struct Options {
    ArgumentPath image;
    bool json = false;
  };
  auto options = std::make_shared<Options>();
  CLI::App* modes = app.add_subcommand(
      "modes", "Every mode of the Parameter Table page's list with the timing of its parameter record");
  modes->add_option("IMAGE", options->image, "the image file")->required();
  modes->add_flag("--json", options->json, "one JSON document");
  modes->callback([options, &status] { status = Modes(options->image, options->json); });
  modes->footer(
      "Dot clock from the Miscellaneous Output clock select (25.175 or 28.322 MHz, halved when the Sequencer's\n"
      "clocking mode says so; another select is an external clock, shown with the mode's extended clock word),\n"
      "character width from the clocking mode, horizontal counts in characters and vertical ones in lines.\n" +
      std::string(kExitStatusHelp));
}

}  // namespace cli
