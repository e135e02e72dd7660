#include "cli/ShownMode.h"

#include <cstdio>

#include "cli/ExitStatus.h"
#include "res/resource.h"
#include "rom/ValueText.h"

namespace cli {
namespace {

using rom::timing::ModeTiming;

std::string Fixed(double value, int decimals) {
  char text[32];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

std::string ClockText(const ModeTiming& t) {
  if (t.externalClock) return "external, clock word " + rom::HexText(t.clockWord, 4) + "h";
  return Fixed(t.dotClockMHz, 3) + " MHz" + (t.halved ? " (/2)" : "");
}

std::string SpanText(const rom::timing::Span& span) {
  return std::to_string(span.start) + "-" + std::to_string(span.end);
}

}  // namespace

rom::timing::ParameterRecord ShownRecord(ui::HeadlessControls& controls) {
  rom::timing::ParameterRecord record{};
  std::size_t p = 0;
  for (int id = IDC_PARAM_FIRST; id <= IDC_PARAM_LAST; ++id) {
    const std::uint16_t value = rom::HexTextToWord(controls.GetText(id));
    record[p++] = static_cast<std::uint8_t>(value & 0xFF);
    if (id == IDC_PARAM_REGEN_LENGTH) record[p++] = static_cast<std::uint8_t>(value >> 8);
  }
  return record;
}

ShownMode ShowMode(CFieldCatalog& catalog, const std::string& name) {
  // The row is found and shown through one of its fields.
  const std::string field = "modes." + name + ".crtc.0";
  try {
    catalog.Get(field);
  } catch (const CliError& e) {
    if (e.status() == kUsage) {
      throw CliError(kUsage, "there is no mode " + name +
                                 "; modes are named as in field names: 3, 2+3+, 3star, 101h (ombrix fields IMAGE "
                                 "modes lists them)");
    }
    const std::string why = e.what();
    const std::size_t colon = why.find(": ");
    throw CliError(e.status(), "mode " + name + ": " + (colon == std::string::npos ? why : why.substr(colon + 2)));
  }
  ui::HeadlessControls& controls = catalog.editor().activeControls();
  ShownMode mode;
  mode.name = name;
  mode.row = controls.ListItemText(IDC_MODE_LIST, controls.ListSelection(IDC_MODE_LIST));
  mode.record = ShownRecord(controls);
  mode.clockWord = rom::HexTextToWord(controls.GetText(IDC_CLOCK_WORD));
  return mode;
}

std::string TimingText(const ModeTiming& t) {
  return "  clock " + ClockText(t) + ", " + std::to_string(t.charWidth) + "-dot characters" +
         (t.doubleScan ? ", double scan" : "") + "\n  horizontal: total " + std::to_string(t.horizontalTotal) +
         ", display " + std::to_string(t.horizontalDisplay) + ", blank " + SpanText(t.horizontalBlank) + ", retrace " +
         SpanText(t.horizontalRetrace) + " characters\n  vertical: total " + std::to_string(t.verticalTotal) +
         ", display " + std::to_string(t.verticalDisplay) + ", blank " + SpanText(t.verticalBlank) + ", retrace " +
         SpanText(t.verticalRetrace) + " lines\n  " +
         (t.problem.empty() ? Fixed(*t.horizontalKHz, 2) + " kHz, " + Fixed(*t.refreshHz, 2) + " Hz"
                            : "no rates: " + t.problem) +
         "\n";
}

}  // namespace cli
