#pragma once
// Builds a 32 KB image holding every structure the pages edit, at chosen offsets.

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace testing_support {

// Where each structure goes. The defaults leave room for 40 parameter records,
// 64 extended register records and 34 extended modes.
struct RomLayout {
  std::uint16_t oemTable = 0x0100;
  std::uint16_t memoryConfig = 0x0120;
  std::uint16_t savePointerTable = 0x0150;
  std::uint16_t secondarySaveTable = 0x0170;
  std::uint16_t exModeInfo = 0x0190;
  std::uint16_t exRegTable = 0x01A0;
  std::uint16_t exModeList = 0x0300;
  std::uint16_t parameterTable = 0x0600;
  std::uint16_t font8x8 = 0x1000;
  std::uint16_t font8x14 = 0x1800;
  std::uint16_t font8x16 = 0x2600;
  std::uint16_t fixup9x14 = 0x3600;
  std::uint16_t fixup9x16 = 0x3700;
  std::uint16_t signOn = 0x3800;
};

struct ExMode {
  std::uint8_t modeIndex = 0;
  std::uint16_t modeNumber = 0;
  std::uint8_t memoryModel = 0;
  std::uint16_t width = 0;
  std::uint16_t height = 0;
  std::uint8_t cellHeight = 0;
  // Record bytes 5-6 and 11-12, which the editor does not read.
  std::uint16_t bytesPerLine = 0;
  std::uint16_t memoryBanks = 0;
};

struct FixupRecord {
  std::uint8_t code = 0;
  std::vector<std::uint8_t> rows;
};

class RomBuilder {
 public:
  explicit RomBuilder(RomLayout layout = {});

  const RomLayout& layout() const { return layout_; }
  std::vector<std::uint8_t>& bytes() { return bytes_; }

  RomBuilder& Byte(std::uint32_t offset, std::uint8_t value);
  RomBuilder& Word(std::uint32_t offset, std::uint16_t value);
  RomBuilder& Bytes(std::uint32_t offset, const std::vector<std::uint8_t>& values);

  RomBuilder& SignatureText(const std::string& text);
  RomBuilder& SubsystemIds(std::uint16_t vendor, std::uint16_t device);
  RomBuilder& SignOn(const std::string& text);
  RomBuilder& MemoryConfig(const std::array<std::uint32_t, 9>& values);
  RomBuilder& ParameterRecord(int index, const std::array<std::uint8_t, 64>& record);
  RomBuilder& ExReg(int modeIndex, std::uint8_t flags, std::uint8_t crtc1b, std::uint8_t paramIndex,
                    std::uint16_t clock);
  // Appends an extended mode after the 15 records the page skips; the 0xFF end follows it.
  RomBuilder& AddExMode(const ExMode& mode);
  // Fills record `slot` (0 to 14) of the 15 records before the extended ones, which the page skips.
  RomBuilder& SkippedExMode(int slot, const ExMode& mode);
  // Glyph `code` of a full font of `height` rows (8, 14 or 16).
  RomBuilder& Glyph(int height, int code, const std::vector<std::uint8_t>& rows);
  // The records of a fix-up table (height 14 or 16), followed by the 0x00 end.
  RomBuilder& Fixups(int height, const std::vector<FixupRecord>& records);
  RomBuilder& FixChecksum();

  // The image as the editor's RomImage with romLoaded 1 (romModified 0).
  void Load() const;
  void WriteFile(const std::filesystem::path& path) const;

  std::uint32_t parameterRecordOffset(int index) const { return layout_.parameterTable + 64u * index; }
  std::uint32_t exRegOffset(int modeIndex) const { return layout_.exRegTable + 5u * modeIndex; }
  std::uint32_t fontOffset(int height) const;
  std::uint32_t fixupOffset(int height) const { return height == 14 ? layout_.fixup9x14 : layout_.fixup9x16; }

 private:
  RomBuilder& ExModeRecord(std::uint32_t offset, const ExMode& mode);

  RomLayout layout_;
  std::vector<std::uint8_t> bytes_;
  int exModes_ = 0;
};

}  // namespace testing_support
