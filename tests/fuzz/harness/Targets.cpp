#include "tests/fuzz/harness/Targets.h"

#include <iterator>

#include "tests/fuzz/harness/CliSetRun.h"
#include "tests/fuzz/harness/FontFileRun.h"
#include "tests/fuzz/harness/ModeListRun.h"
#include "tests/fuzz/harness/PageRun.h"
#include "tests/fuzz/harness/RomFileRun.h"

namespace fuzzing {
namespace {
// In the order of the sheet's pages.
const char* const kPageTargets[] = {"page_parameter_table", "page_sub_vendor_id", "page_rom_signature",
                                    "page_sign_on_string",  "page_memory_config", "page_font_images"};
}  // namespace

std::string RunTargetInput(const std::string& target, const std::uint8_t* data, std::size_t size) {
  if (target == "rom_file") return RunRomFileInput(data, size);
  if (target == "mode_list") return RunModeListInput(data, size);
  if (target == "cli_set") return RunCliSetInput(data, size);
  if (target == "font_file") return RunFontFileInput(data, size);
  for (int page = 0; page < static_cast<int>(std::size(kPageTargets)); ++page) {
    if (target == kPageTargets[page]) return RunPageInput(page, data, size);
  }
  return "no fuzz target is called " + target;
}

}  // namespace fuzzing
