#include "cli/ModeRetime.h"

#include <cctype>

#include "cli/ExitStatus.h"
#include "rom/RomImage.h"
#include "rom/ValueText.h"

namespace cli {
namespace {

using rom::timing::kCrtcByte;
using rom::timing::kMiscOutputByte;

// The record bytes a retime may change, with their field names after "modes.<mode>.".
std::vector<std::pair<std::size_t, std::string>> RetimedFields() {
  std::vector<std::pair<std::size_t, std::string>> fields;
  for (const int index : rom::timing::kRetimedCrtc) {
    std::string hex = rom::HexText(static_cast<std::uint32_t>(index), 1);
    for (char& c : hex) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    fields.emplace_back(kCrtcByte + static_cast<std::size_t>(index), "crtc." + hex);
  }
  fields.emplace_back(kMiscOutputByte, "misc");
  return fields;
}

int Differing(const std::uint8_t* a, const std::uint8_t* b, std::size_t size) {
  int n = 0;
  for (std::size_t i = 0; i < size; ++i) n += a[i] != b[i] ? 1 : 0;
  return n;
}

void Type(CFieldCatalog& catalog, ModeRetiming& r) {
  const rom::timing::ParameterRecord& before = r.mode.record;
  const rom::timing::ParameterRecord& after = r.retiming.record;
  for (const auto& [at, field] : RetimedFields()) {
    if (before[at] == after[at]) continue;
    FieldChange change{"modes." + r.mode.name + "." + field, rom::HexText(before[at], 2), rom::HexText(after[at], 2)};
    catalog.Set(change.name, change.after);
    r.changes.push_back(std::move(change));
  }
}

}  // namespace

ModeRetiming RetimeMode(CFieldCatalog& catalog, const std::string& name, double hz,
                        rom::timing::SyncPolarity polarity) {
  ModeRetiming r;
  r.mode = ShowMode(catalog, name);
  r.retiming = rom::timing::Retime(r.mode.record, r.mode.clockWord, hz, polarity);
  if (!r.retiming) throw CliError(kRefused, r.mode.row + ": " + r.retiming.problem);

  const std::vector<std::uint8_t> image(rom::RomImage.data(), rom::RomImage.data() + rom::kRomSize);
  try {
    Type(catalog, r);
    // What the page stored reads back as planned, and nothing else of the image changed.
    const ShownMode stored = ShowMode(catalog, name);
    const int planned = Differing(r.mode.record.data(), r.retiming.record.data(), r.mode.record.size());
    if (stored.record != r.retiming.record || Differing(image.data(), rom::RomImage.data(), image.size()) != planned) {
      throw CliError(kRefused, r.mode.row + ": the page did not store the new timing as typed");
    }
  } catch (const CliError&) {
    rom::RomImage.Assign(image.data(), rom::kRomSize);
    throw;
  }
  return r;
}

}  // namespace cli
