#include "tests/support/RomBuilder.h"

#include <fstream>
#include <stdexcept>

#include "rom/RomImage.h"

namespace testing_support {
namespace {
constexpr std::uint32_t kSkippedExModeBytes = 15 * 14;
}

RomBuilder::RomBuilder(RomLayout layout) : layout_(layout), bytes_(0x8000, 0) {
  Byte(0, 0x55).Byte(1, 0xAA).Byte(2, 0x40);
  Word(0x50, layout_.oemTable);
  const RomLayout& l = layout_;
  const std::uint16_t entries[] = {l.memoryConfig, l.savePointerTable, l.font8x8, l.font8x14,
                                   l.font8x16,     l.fixup9x14,        l.fixup9x16, l.signOn};
  for (std::uint32_t i = 0; i < 8; ++i) Word(l.oemTable + 2 * i, entries[i]);
  // Far pointers: offset word, then a segment word the editor ignores.
  Word(l.savePointerTable, l.parameterTable).Word(l.savePointerTable + 2, 0xC000);
  Word(l.savePointerTable + 0x10, l.secondarySaveTable).Word(l.savePointerTable + 0x12, 0xC000);
  Word(l.secondarySaveTable, 0x001A);
  Word(l.secondarySaveTable + 0x16, l.exModeInfo).Word(l.secondarySaveTable + 0x18, 0xC000);
  Word(l.exModeInfo, l.exRegTable).Word(l.exModeInfo + 4, l.exModeList);
  Byte(l.exModeList + kSkippedExModeBytes, 0xFF);
  Byte(l.fixup9x14, 0x00).Byte(l.fixup9x16, 0x00);
}

RomBuilder& RomBuilder::Byte(std::uint32_t offset, std::uint8_t value) {
  bytes_.at(offset) = value;
  return *this;
}

RomBuilder& RomBuilder::Word(std::uint32_t offset, std::uint16_t value) {
  return Byte(offset, static_cast<std::uint8_t>(value & 0xFF)).Byte(offset + 1, static_cast<std::uint8_t>(value >> 8));
}

RomBuilder& RomBuilder::Bytes(std::uint32_t offset, const std::vector<std::uint8_t>& values) {
  for (std::size_t i = 0; i < values.size(); ++i) Byte(offset + static_cast<std::uint32_t>(i), values[i]);
  return *this;
}

RomBuilder& RomBuilder::SignatureText(const std::string& text) {
  for (std::uint32_t i = 0; i < 16; ++i) Byte(0x40 + i, i < text.size() ? static_cast<std::uint8_t>(text[i]) : 0);
  return *this;
}

RomBuilder& RomBuilder::SubsystemIds(std::uint16_t vendor, std::uint16_t device) {
  return Word(0x7FF8, vendor).Word(0x7FFA, device);
}

RomBuilder& RomBuilder::SignOn(const std::string& text) {
  Word(layout_.signOn, static_cast<std::uint16_t>(text.size()));
  return Bytes(layout_.signOn + 2, std::vector<std::uint8_t>(text.begin(), text.end()));
}

RomBuilder& RomBuilder::MemoryConfig(const std::array<std::uint32_t, 9>& values) {
  for (std::uint32_t i = 0; i < 9; ++i) {
    Word(layout_.memoryConfig + 4 * i, static_cast<std::uint16_t>(values[i] & 0xFFFF));
    Word(layout_.memoryConfig + 4 * i + 2, static_cast<std::uint16_t>(values[i] >> 16));
  }
  return *this;
}

RomBuilder& RomBuilder::ParameterRecord(int index, const std::array<std::uint8_t, 64>& record) {
  return Bytes(parameterRecordOffset(index), std::vector<std::uint8_t>(record.begin(), record.end()));
}

RomBuilder& RomBuilder::ExReg(int modeIndex, std::uint8_t flags, std::uint8_t crtc1b, std::uint8_t paramIndex,
                              std::uint16_t clock) {
  const std::uint32_t r = exRegOffset(modeIndex);
  return Byte(r, flags).Byte(r + 1, crtc1b).Byte(r + 2, paramIndex).Word(r + 3, clock);
}

RomBuilder& RomBuilder::ExModeRecord(std::uint32_t p, const ExMode& mode) {
  Byte(p, 0x00).Byte(p + 1, mode.modeIndex).Word(p + 2, mode.modeNumber).Byte(p + 4, mode.memoryModel);
  Word(p + 5, mode.bytesPerLine).Word(p + 11, mode.memoryBanks);
  return Word(p + 7, mode.width).Word(p + 9, mode.height).Byte(p + 13, mode.cellHeight);
}

RomBuilder& RomBuilder::AddExMode(const ExMode& mode) {
  const std::uint32_t p = layout_.exModeList + kSkippedExModeBytes + 14u * static_cast<std::uint32_t>(exModes_++);
  ExModeRecord(p, mode);
  return Byte(p + 14, 0xFF);
}

RomBuilder& RomBuilder::SkippedExMode(int slot, const ExMode& mode) {
  if (slot < 0 || slot >= 15) throw std::invalid_argument("the page skips records 0 to 14 only");
  return ExModeRecord(layout_.exModeList + 14u * static_cast<std::uint32_t>(slot), mode);
}

std::uint32_t RomBuilder::fontOffset(int height) const {
  if (height != 8 && height != 14 && height != 16) throw std::invalid_argument("no full font of that height");
  return height == 8 ? layout_.font8x8 : height == 14 ? layout_.font8x14 : layout_.font8x16;
}

RomBuilder& RomBuilder::Glyph(int height, int code, const std::vector<std::uint8_t>& rows) {
  return Bytes(fontOffset(height) + static_cast<std::uint32_t>(code * height), rows);
}

RomBuilder& RomBuilder::Fixups(int height, const std::vector<FixupRecord>& records) {
  std::uint32_t p = fixupOffset(height);
  for (const FixupRecord& record : records) {
    Byte(p, record.code);
    std::vector<std::uint8_t> rows = record.rows;
    rows.resize(static_cast<std::size_t>(height), 0);
    Bytes(p + 1, rows);
    p += static_cast<std::uint32_t>(height) + 1;
  }
  return Byte(p, 0x00);
}

RomBuilder& RomBuilder::FixChecksum() {
  unsigned sum = 0;
  for (std::size_t i = 0; i + 1 < bytes_.size(); ++i) sum += bytes_[i];
  bytes_.back() = static_cast<std::uint8_t>((256 - (sum & 0xFF)) & 0xFF);
  return *this;
}

void RomBuilder::Load() const {
  rom::RomImage.Assign(bytes_.data(), static_cast<std::uint32_t>(bytes_.size()));
  rom::romLoaded = 1;
  rom::romModified = 0;
  ++rom::imageGeneration;
}

void RomBuilder::WriteFile(const std::filesystem::path& path) const {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes_.data()), static_cast<std::streamsize>(bytes_.size()));
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

}  // namespace testing_support
