#pragma once
// A mode of the Parameter Table page as the page shows it: its row chosen by the
// mode's name, its parameter record read back from the page's boxes, and the
// timing of a record as the command line prints it.

#include <cstdint>
#include <string>

#include "cli/CFieldCatalog.h"
#include "rom/timing/ModeTiming.h"
#include "ui/headless/HeadlessControls.h"

namespace cli {

struct ShownMode {
  std::string name;  // as in field names: 3, 2+3+, 3star, 101h
  std::string row;   // the row's text in the mode list
  rom::timing::ParameterRecord record{};
  std::uint16_t clockWord = 0;
};

// The record the page shows, read back from its 63 boxes (the regen length box holds a word).
rom::timing::ParameterRecord ShownRecord(ui::HeadlessControls& controls);

// Shows the row of mode `name` on the page, as `get` does for its fields. A CliError
// when there is no such mode (kUsage) or the page cannot show it (kRefused).
ShownMode ShowMode(CFieldCatalog& catalog, const std::string& name);

// The clock, the horizontal and vertical counts and the rates, a line each, indented by two.
std::string TimingText(const rom::timing::ModeTiming& t);

}  // namespace cli
