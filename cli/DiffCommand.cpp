// diff: two images compared field by field, then byte by byte where no field reaches.
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
#include "cli/CHeadlessEditor.h"
#include "cli/Commands.h"
#include "cli/ExitStatus.h"
#include "cli/ImageFile.h"
#include "cli/ImageMap.h"
#include "cli/Output.h"
#include "rom/RomImage.h"
#include "rom/ValueText.h"

namespace cli {
namespace {

// What one image shows: its fields, its bytes, and which structure holds each byte.
struct Snapshot {
  std::vector<FieldText> fields;
  std::vector<std::uint8_t> bytes;
  std::vector<bool> covered;
  // The structure that no field shows holding each byte, or "".
  std::vector<std::string> unshown;
};

Snapshot Take(const std::filesystem::path& path) {
  LoadImage(ReadImageFile(path));
  Snapshot shot;
  CHeadlessEditor editor;
  CFieldCatalog catalog(editor);
  std::vector<std::string> notes;
  shot.fields = catalog.List("", notes);
  for (const std::string& note : notes) std::cerr << "ombrix: " << FileName(path) << ": " << note << "\n";
  const ImageMap map = MapImage(editor);
  shot.covered = CoveredBytes(map);
  shot.unshown.assign(rom::kRomSize, "");
  for (const Structure& s : map.structures) {
    if (s.edited || !s.problem.empty() || !rom::ImageBuffer::Contains(s.offset, s.length)) continue;
    for (std::uint32_t i = s.offset; i < s.offset + s.length; ++i) {
      if (shot.unshown[i].empty()) shot.unshown[i] = s.name;
    }
  }
  shot.bytes.assign(rom::RomImage.data(), rom::RomImage.data() + rom::kRomSize);
  return shot;
}

struct Range {
  std::uint32_t from, to;
  std::string structure;
};

// Runs of differing bytes for which `label` gives the same text; bytes labelled nullopt are skipped.
template <class Label>
std::vector<Range> Ranges(const Snapshot& a, const Snapshot& b, Label label) {
  std::vector<Range> ranges;
  for (std::uint32_t i = 0; i < rom::kRomSize; ++i) {
    const std::optional<std::string> text = a.bytes[i] != b.bytes[i] ? label(i) : std::nullopt;
    if (!text) continue;
    if (!ranges.empty() && ranges.back().to + 1 == i && ranges.back().structure == *text) {
      ranges.back().to = i;
    } else {
      ranges.push_back({i, i, *text});
    }
  }
  return ranges;
}

std::string RangeText(const Range& r) {
  return rom::HexText(r.from, 4) + "h" + (r.to != r.from ? "-" + rom::HexText(r.to, 4) + "h" : "");
}

struct Change {
  std::string name;
  int page;
  std::optional<std::string> before, after;
};

std::vector<Change> FieldChanges(const Snapshot& a, const Snapshot& b) {
  std::map<std::string, const FieldText*> inB;
  for (const FieldText& f : b.fields) inB[f.name] = &f;
  std::vector<Change> changes;
  for (const FieldText& f : a.fields) {
    const auto it = inB.find(f.name);
    if (it == inB.end()) {
      changes.push_back({f.name, f.page, f.text, std::nullopt});
    } else {
      if (it->second->text != f.text) changes.push_back({f.name, f.page, f.text, it->second->text});
      inB.erase(it);
    }
  }
  for (const FieldText& f : b.fields) {
    if (inB.count(f.name) != 0) changes.push_back({f.name, f.page, std::nullopt, f.text});
  }
  return changes;
}

nlohmann::json Json(const std::optional<std::string>& text) {
  return text ? nlohmann::json(JsonText(*text)) : nlohmann::json(nullptr);
}

int Diff(const std::filesystem::path& pathA, const std::filesystem::path& pathB, bool json) {
  const Snapshot a = Take(pathA);
  const Snapshot b = Take(pathB);
  CHeadlessEditor captions;
  const std::vector<Change> changes = FieldChanges(a, b);
  const std::vector<Range> outside = Ranges(a, b, [&](std::uint32_t i) -> std::optional<std::string> {
    if (a.covered[i] || b.covered[i]) return std::nullopt;
    return std::string();
  });
  const std::vector<Range> unshown = Ranges(a, b, [&](std::uint32_t i) -> std::optional<std::string> {
    const std::string& name = a.unshown[i].empty() ? b.unshown[i] : a.unshown[i];
    if (name.empty()) return std::nullopt;
    return name;
  });
  const bool equal = a.bytes == b.bytes;

  if (json) {
    nlohmann::json fields = nlohmann::json::array(), out = nlohmann::json::array(), other = nlohmann::json::array();
    for (const Change& c : changes) {
      fields.push_back({{"name", c.name}, {"page", captions.pages().Page(c.page).Caption()},
                        {"old", Json(c.before)}, {"new", Json(c.after)}});
    }
    for (const Range& r : outside) out.push_back({{"from", r.from}, {"to", r.to}});
    for (const Range& r : unshown) other.push_back({{"structure", r.structure}, {"from", r.from}, {"to", r.to}});
    PrintJson({{"equal", equal}, {"fields", fields}, {"outside", out}, {"unshown", other}});
    return equal ? kOk : kDiffers;
  }
  int page = -1;
  for (const Change& c : changes) {
    if (c.page != page) std::cout << captions.pages().Page(page = c.page).Caption() << ":\n";
    std::cout << "  " << c.name << ": " << c.before.value_or("(none)") << " -> " << c.after.value_or("(none)")
              << "\n";
  }
  if (!outside.empty()) std::cout << "Bytes outside every known structure:\n";
  for (const Range& r : outside) std::cout << "  " << RangeText(r) << "\n";
  if (!unshown.empty()) std::cout << "Bytes that no field shows:\n";
  for (const Range& r : unshown) std::cout << "  " << RangeText(r) << "  " << r.structure << "\n";
  return equal ? kOk : kDiffers;
}

}  // namespace

void AddDiffCommand(CLI::App& app, int& status) {
  struct Options {
    ArgumentPath a, b;
    bool json = false;
  };
  auto options = std::make_shared<Options>();
  CLI::App* diff = app.add_subcommand("diff", "The fields that differ, page by page, then differing bytes elsewhere");
  diff->add_option("A", options->a, "the original image")->required();
  diff->add_option("B", options->b, "the changed image")->required();
  diff->add_flag("--json", options->json, "one JSON document");
  diff->callback([options, &status] { status = Diff(options->a, options->b, options->json); });
  diff->footer(kExitStatusHelp);
}

}  // namespace cli
