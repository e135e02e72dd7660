#include "rom/FontLayout.h"

namespace rom {

const FontKind* FindFontKind(const std::string& name) {
  for (const FontKind& kind : kFontKinds) {
    if (name == kind.name) return &kind;
  }
  return nullptr;
}

bool FontWord(OemEntry entry, std::uint32_t& font, std::string& error) {
  const Located table = OemPointerTable();
  if (!table) {
    error = table.error;
    return false;
  }
  const std::uint32_t word = table.offset + static_cast<std::uint32_t>(entry);
  font = ReadWordLE(word, word + 1);
  return true;
}

Located LocateFullFont(const FontKind& kind) {
  const std::string structure = std::string(kind.name) + " font";
  return FollowOemEntry(kind.entry, structure, static_cast<std::uint32_t>(kFullFontGlyphs * kind.height));
}

bool LocateFixupRecords(const FontKind& kind, std::vector<std::uint32_t>& records, std::string& error) {
  records.clear();
  std::uint32_t font = 0;
  if (!FontWord(kind.entry, font, error)) return false;
  const auto recordSize = static_cast<std::uint32_t>(kind.height + 1);
  ScanFixups(font, kind.height, [&](std::uint32_t, std::uint32_t record, std::uint8_t) {
    if (!ImageBuffer::Contains(record, recordSize)) {
      error = OutsideImageMessage(std::string(kind.name) + " fix-up record", record, recordSize);
      return false;
    }
    records.push_back(record);
    return true;
  });
  if (!error.empty()) records.clear();
  return error.empty();
}

}  // namespace rom
