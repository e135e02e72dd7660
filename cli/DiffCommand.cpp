// diff: two images compared field by field; every other byte that differs is named by
// the structure, record and byte it lies in, or as lying outside every known structure.
#include <CLI/CLI.hpp>
#include <cstdint>
#include <filesystem>
#include <iostream>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "cli/ArgumentPath.h"
#include "cli/CFieldCatalog.h"
#include "cli/Commands.h"
#include "cli/ExitStatus.h"
#include "cli/ImageFile.h"
#include "cli/Output.h"
#include "rom/ImageMap.h"
#include "rom/RomImage.h"
#include "rom/ValueText.h"

namespace cli {
namespace {

// What one image shows: its fields with the bytes behind them, its bytes, and its structures.
struct Snapshot {
  std::vector<FieldText> fields;
  std::vector<std::uint8_t> bytes;
  rom::ImageMap map;
  std::vector<std::string> captions;
};

Snapshot Take(const std::filesystem::path& path) {
  LoadImage(ReadImageFile(path));
  Snapshot shot;
  CFieldCatalog catalog;
  std::vector<std::string> notes;
  shot.fields = catalog.List("", notes);
  for (const std::string& note : notes) std::cerr << "ombrix: " << FileName(path) << ": " << note << "\n";
  for (int page = 0; page < CPageSet::kPageCount; ++page) shot.captions.push_back(catalog.PageCaption(page));
  shot.map = rom::MapImage();
  shot.bytes.assign(rom::RomImage.data(), rom::RomImage.data() + rom::kRomSize);
  return shot;
}

struct Change {
  std::string name;
  int page;
  std::optional<std::string> before, after;
  std::optional<rom::ByteSpan> bytesBefore, bytesAfter;
};

std::vector<Change> FieldChanges(const Snapshot& a, const Snapshot& b) {
  std::map<std::string, const FieldText*> inB;
  for (const FieldText& f : b.fields) inB[f.name] = &f;
  std::vector<Change> changes;
  for (const FieldText& f : a.fields) {
    const auto it = inB.find(f.name);
    if (it == inB.end()) {
      changes.push_back({f.name, f.page, f.text, std::nullopt, f.bytes, std::nullopt});
    } else {
      if (it->second->text != f.text) {
        changes.push_back({f.name, f.page, f.text, it->second->text, f.bytes, it->second->bytes});
      }
      inB.erase(it);
    }
  }
  for (const FieldText& f : b.fields) {
    if (inB.count(f.name) != 0) changes.push_back({f.name, f.page, std::nullopt, f.text, std::nullopt, f.bytes});
  }
  return changes;
}

// For each byte, the bits that a changed field shows on both sides. A field that shows the same
// structure on both sides (a sign-on text that grew) explains all of it; one that shows another
// place in each image (a mode sent to another record) explains only where the two meet.
std::vector<std::uint8_t> ExplainedBits(const std::vector<Change>& changes) {
  std::vector<std::uint8_t> bits(rom::kRomSize, 0);
  const auto mark = [&bits](const rom::ByteSpan& span, std::uint32_t from, std::uint32_t to) {
    for (std::uint32_t i = from; i < to && i < rom::kRomSize; ++i) bits[i] |= span.mask;
  };
  for (const Change& c : changes) {
    if (!c.bytesBefore || !c.bytesAfter) continue;
    const rom::ByteSpan& x = *c.bytesBefore;
    const rom::ByteSpan& y = *c.bytesAfter;
    if (x.mask != y.mask) continue;
    if (x.offset == y.offset) {
      mark(x, x.offset, x.offset + std::max(x.length, y.length));
    } else {
      mark(x, std::max(x.offset, y.offset), std::min(x.offset + x.length, y.offset + y.length));
    }
  }
  return bits;
}

// A run of differing bytes that no changed field shows, in one record of one structure.
struct Range {
  std::uint32_t from, to;
  rom::MappedByte first, last;
};

std::string RangeText(const Range& r) {
  return rom::HexText(r.from, 4) + "h" + (r.to != r.from ? "-" + rom::HexText(r.to, 4) + "h" : "");
}

// "video parameter record 8, bytes 05h-07h"
std::string PartText(const Range& r) {
  std::string text = r.first.Owner();
  const std::string from = r.first.Place(), to = r.last.Place();
  if (from.empty()) return text;
  if (r.from == r.to) return text + ", " + from;
  for (const std::string unit : {"byte ", "row "}) {
    if (from.compare(0, unit.size(), unit) == 0 && to.compare(0, unit.size(), unit) == 0) {
      return text + ", " + unit.substr(0, unit.size() - 1) + "s " + from.substr(unit.size()) + "-" +
             to.substr(unit.size());
    }
  }
  return text + ", " + from + " to " + to;
}

// The differing bytes that no changed field shows: named by the structures of either image, or outside them all.
void Unexplained(const Snapshot& a, const Snapshot& b, const std::vector<Change>& changes, std::vector<Range>& inside,
                 std::vector<Range>& outside) {
  const std::vector<std::uint8_t> explained = ExplainedBits(changes);
  for (std::uint32_t i = 0; i < rom::kRomSize; ++i) {
    if (((a.bytes[i] ^ b.bytes[i]) & ~explained[i]) == 0) continue;
    rom::MappedByte at = a.map.At(i);
    if (at.structure == nullptr) at = b.map.At(i);
    std::vector<Range>& ranges = at.structure == nullptr ? outside : inside;
    if (!ranges.empty() && ranges.back().to + 1 == i && ranges.back().first.Owner() == at.Owner()) {
      ranges.back().to = i;
      ranges.back().last = at;
    } else {
      ranges.push_back({i, i, at, at});
    }
  }
}

nlohmann::json Json(const std::optional<std::string>& text) {
  return text ? nlohmann::json(JsonText(*text)) : nlohmann::json(nullptr);
}

int Diff(const std::filesystem::path& pathA, const std::filesystem::path& pathB, bool json) {
  const Snapshot a = Take(pathA);
  const Snapshot b = Take(pathB);
  const std::vector<Change> changes = FieldChanges(a, b);
  std::vector<Range> unshown, outside;
  Unexplained(a, b, changes, unshown, outside);
  const bool equal = a.bytes == b.bytes;

  if (json) {
    nlohmann::json fields = nlohmann::json::array(), out = nlohmann::json::array(), other = nlohmann::json::array();
    for (const Change& c : changes) {
      fields.push_back({{"name", c.name},
                        {"page", a.captions[static_cast<std::size_t>(c.page)]},
                        {"old", Json(c.before)},
                        {"new", Json(c.after)}});
    }
    for (const Range& r : outside) out.push_back({{"from", r.from}, {"to", r.to}});
    for (const Range& r : unshown) {
      other.push_back({{"structure", r.first.structure->name}, {"part", PartText(r)}, {"from", r.from}, {"to", r.to}});
    }
    PrintJson({{"equal", equal}, {"fields", fields}, {"outside", out}, {"unshown", other}});
    return equal ? kOk : kDiffers;
  }
  int page = -1;
  for (const Change& c : changes) {
    if (c.page != page) std::cout << a.captions[static_cast<std::size_t>(page = c.page)] << ":\n";
    std::cout << "  " << c.name << ": " << c.before.value_or("(none)") << " -> " << c.after.value_or("(none)") << "\n";
  }
  if (!outside.empty()) std::cout << "Bytes outside every known structure:\n";
  for (const Range& r : outside) std::cout << "  " << RangeText(r) << "\n";
  if (!unshown.empty()) std::cout << "Bytes that no field shows:\n";
  for (const Range& r : unshown) std::cout << "  " << RangeText(r) << "  " << PartText(r) << "\n";
  return equal ? kOk : kDiffers;
}

}  // namespace

void AddDiffCommand(CLI::App& app, int& status) {
  struct Options {
    ArgumentPath a, b;
    bool json = false;
  };
  auto options = std::make_shared<Options>();
  CLI::App* diff = app.add_subcommand(
      "diff", "The fields that differ, page by page, then every other differing byte by its structure");
  diff->add_option("A", options->a, "the original image")->required();
  diff->add_option("B", options->b, "the changed image")->required();
  diff->add_flag("--json", options->json, "one JSON document");
  diff->callback([options, &status] { status = Diff(options->a, options->b, options->json); });
  diff->footer(kExitStatusHelp);
}

}  // namespace cli
