#include "rom/FontLayout.h"

namespace rom {

const FontKind* FindFontKind(const std::string& name) {
  for (const FontKind& kind : kFontKinds) {
    if (name == kind.name) return &kind;
  }
  return nullptr;
}

bool FontWord(const ImageBytes& image, OemEntry entry, std::uint32_t& font, std::string& error) {
  const Located table = OemPointerTable(image);
  if (!table) {
    error = table.error;
    return false;
  }
  font = image.Word(table.offset + static_cast<std::uint32_t>(entry));
  return true;
}

bool FontWord(OemEntry entry, std::uint32_t& font, std::string& error) {
  return FontWord(RomImage.View(), entry, font, error);
}

Located LocateFullFont(const ImageBytes& image, const FontKind& kind) {
  return FollowOemEntry(image, kind.entry, std::string(kind.name) + " font", FullFontLength(kind));
}

Located LocateFullFont(const FontKind& kind) {
  return LocateFullFont(RomImage.View(), kind);
}

bool FixupRecordsAt(const ImageBytes& image, const FontKind& kind, std::uint32_t table,
                    std::vector<std::uint32_t>& records, std::string& error) {
  records.clear();
  error.clear();
  const auto recordSize = static_cast<std::uint32_t>(kind.height + 1);
  ScanFixups(image, table, kind.height, [&](std::uint32_t, std::uint32_t record, std::uint8_t) {
    if (!image.Contains(record, recordSize)) {
      error = OutsideImageMessage(std::string(kind.name) + " fix-up record", record, recordSize, image.size());
      return false;
    }
    records.push_back(record);
    return true;
  });
  if (!error.empty()) records.clear();
  return error.empty();
}

bool LocateFixupRecords(const FontKind& kind, std::vector<std::uint32_t>& records, std::string& error) {
  records.clear();
  std::uint32_t table = 0;
  if (!FontWord(kind.entry, table, error)) return false;
  return FixupRecordsAt(RomImage.View(), kind, table, records, error);
}

}  // namespace rom
