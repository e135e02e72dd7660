#include "rom/fonts/FixupJson.h"

#include <map>
#include <nlohmann/json.hpp>
#include <vector>

#include "rom/ValueText.h"

namespace rom::fonts {
namespace {

using nlohmann::json;

// A byte written as one or two hexadecimal digits.
bool ParseHexByte(const json& value, std::uint8_t& byte) {
  if (!value.is_string()) return false;
  const std::string& text = value.get_ref<const std::string&>();
  if (text.empty() || text.size() > 2) return false;
  int invalid = 0;
  const std::int32_t parsed = HexTextToInt(text, static_cast<int>(text.size()), invalid);
  byte = static_cast<std::uint8_t>(parsed);
  return invalid == 0;
}

// The new rows of each record, by record offset, read from `document`.
bool PlanRows(const ImageBytes& image, const FontPlace& place, const json& document,
              std::map<std::uint32_t, std::vector<std::uint8_t>>& plan, std::string& error) {
  const FontKind& kind = *place.kind;
  if (!document.is_object() || !document.contains("records") || !document["records"].is_array()) {
    error = "the JSON text has no \"records\" list";
    return false;
  }
  if (document.contains("height") && document["height"] != kind.height) {
    error = "the file is for glyphs " + document["height"].dump() + " rows high; this table's are " +
            std::to_string(kind.height);
    return false;
  }
  std::vector<std::uint32_t> records;
  if (!FixupRecordsAt(image, kind, place.offset, records, error)) return false;
  std::map<std::uint8_t, std::vector<std::uint32_t>> byCode;
  for (std::uint32_t record : records) byCode[image.Byte(record)].push_back(record);
  std::map<std::uint8_t, std::size_t> used;
  std::size_t index = 0;
  for (const json& entry : document["records"]) {
    const std::string where = "record " + std::to_string(index++) + " of the file";
    std::uint8_t code = 0;
    if (!entry.is_object() || !entry.contains("code") || !ParseHexByte(entry["code"], code)) {
      error = where + " has no code of one or two hexadecimal digits";
      return false;
    }
    const std::vector<std::uint32_t>& sameCode = byCode[code];
    if (used[code] >= sameCode.size()) {
      error = "code " + HexText(code, 2) + "h of " + where + " is not in the " + kind.name + " fix-up table" +
              (sameCode.empty() ? "" : " that many times");
      return false;
    }
    const std::uint32_t record = sameCode[used[code]++];
    if (!entry.contains("rows") || !entry["rows"].is_array() ||
        entry["rows"].size() != static_cast<std::size_t>(kind.height)) {
      error = "code " + HexText(code, 2) + "h needs a list of " + std::to_string(kind.height) + " rows";
      return false;
    }
    std::vector<std::uint8_t>& rows = plan[record];
    rows.clear();
    for (const json& row : entry["rows"]) {
      std::uint8_t byte = 0;
      if (!ParseHexByte(row, byte)) {
        error = "code " + HexText(code, 2) + "h has a row " + row.dump() + " that is no byte in hexadecimal";
        return false;
      }
      rows.push_back(byte);
    }
  }
  return true;
}

}  // namespace

bool ExportFixupJson(const ImageBytes& image, const FontPlace& place, std::string& text, std::string& error) {
  const FontKind& kind = *place.kind;
  std::vector<std::uint32_t> records;
  if (!FixupRecordsAt(image, kind, place.offset, records, error)) return false;
  // One record to a line, so that a person can find a glyph and a diff shows it.
  text = "{\"font\": " + json(kind.name).dump() + ", \"height\": " + std::to_string(kind.height) + ", \"records\": [";
  for (std::size_t k = 0; k < records.size(); ++k) {
    json rows = json::array();
    for (int i = 1; i <= kind.height; ++i) {
      rows.push_back(HexText(image.Byte(records[k] + static_cast<std::uint32_t>(i)), 2));
    }
    const json record = {{"code", HexText(image.Byte(records[k]), 2)}, {"rows", rows}};
    text += (k == 0 ? "\n  " : ",\n  ") + record.dump();
  }
  text += "\n]}\n";
  return true;
}

bool ImportFixupJson(ImageBytes image, const FontPlace& place, const std::string& text, std::string& error) {
  const json document = json::parse(text, nullptr, false);
  if (document.is_discarded()) {
    error = "the file is not valid JSON";
    return false;
  }
  std::map<std::uint32_t, std::vector<std::uint8_t>> plan;
  if (!PlanRows(image, place, document, plan, error)) return false;
  for (const auto& [record, rows] : plan) {
    for (std::size_t i = 0; i < rows.size(); ++i) image.SetByte(record + 1 + static_cast<std::uint32_t>(i), rows[i]);
  }
  return true;
}

}  // namespace rom::fonts
