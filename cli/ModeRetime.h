#pragma once
// A mode moved to another refresh rate through the Parameter Table page: the new
// register values typed into the page's boxes and applied, as `set` does.

#include <string>
#include <vector>

#include "cli/CFieldCatalog.h"
#include "cli/ShownMode.h"
#include "rom/timing/Retime.h"

namespace cli {

struct FieldChange {
  std::string name;
  std::string before;
  std::string after;
};

struct ModeRetiming {
  ShownMode mode;
  rom::timing::Retiming retiming;
  // The fields typed, in the order typed.
  std::vector<FieldChange> changes;
};

// Retimes mode `name` of RomImage (see rom::timing::Retime). A CliError when there is
// no such mode (kUsage), or (kRefused) when the page cannot show it, the mode cannot
// run at `hz`, or the page does not store the values as typed; RomImage is then as it
// was.
ModeRetiming RetimeMode(CFieldCatalog& catalog, const std::string& name, double hz, rom::timing::SyncPolarity polarity);

}  // namespace cli
