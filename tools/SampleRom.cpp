#include "tools/SampleRom.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <utility>

namespace sample_rom {
namespace {

using testing_support::ExMode;
using testing_support::RomBuilder;
using Record = std::array<std::uint8_t, 64>;
using Crtc = std::array<std::uint8_t, 25>;
using Attributes = std::array<std::uint8_t, 20>;
using Graphics = std::array<std::uint8_t, 9>;

// The register groups of one parameter record.
struct Registers {
  std::uint8_t columns;
  std::uint8_t rowsMinus1;
  std::uint8_t charHeight;
  std::uint16_t regenLength;
  std::array<std::uint8_t, 4> sequencer;
  std::uint8_t misc;
  Crtc crtc;
  Attributes attributes;
  Graphics graphics;
};

Record Pack(const Registers& r) {
  Record record{};
  record[0] = r.columns;
  record[1] = r.rowsMinus1;
  record[2] = r.charHeight;
  record[3] = static_cast<std::uint8_t>(r.regenLength & 0xFF);
  record[4] = static_cast<std::uint8_t>(r.regenLength >> 8);
  std::memcpy(&record[0x05], r.sequencer.data(), r.sequencer.size());
  record[0x09] = r.misc;
  std::memcpy(&record[0x0A], r.crtc.data(), r.crtc.size());
  std::memcpy(&record[0x23], r.attributes.data(), r.attributes.size());
  std::memcpy(&record[0x37], r.graphics.data(), r.graphics.size());
  return record;
}

// clang-format off
// Attribute controller: palette 0-Fh, mode control, overscan, colour plane enable, pixel panning.
constexpr Attributes kAtcCgaText  = {0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x10, 0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17, 0x08, 0x00, 0x0F, 0x00};
constexpr Attributes kAtcCga4     = {0x00, 0x13, 0x15, 0x17, 0x02, 0x04, 0x06, 0x07, 0x10, 0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17, 0x01, 0x00, 0x03, 0x00};
constexpr Attributes kAtcCga2     = {0x00, 0x17, 0x17, 0x17, 0x17, 0x17, 0x17, 0x17, 0x17, 0x17, 0x17, 0x17, 0x17, 0x17, 0x17, 0x17, 0x01, 0x00, 0x01, 0x00};
constexpr Attributes kAtcMonoText = {0x00, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x10, 0x18, 0x18, 0x18, 0x18, 0x18, 0x18, 0x18, 0x0E, 0x00, 0x0F, 0x08};
constexpr Attributes kAtcCga16    = {0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x10, 0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17, 0x01, 0x00, 0x0F, 0x00};
constexpr Attributes kAtcMonoGfx  = {0x00, 0x08, 0x00, 0x00, 0x18, 0x18, 0x00, 0x00, 0x00, 0x08, 0x00, 0x00, 0x00, 0x18, 0x00, 0x00, 0x0B, 0x00, 0x05, 0x00};
constexpr Attributes kAtcEga16    = {0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x14, 0x07, 0x38, 0x39, 0x3A, 0x3B, 0x3C, 0x3D, 0x3E, 0x3F, 0x01, 0x00, 0x0F, 0x00};
constexpr Attributes kAtcEgaText  = {0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x14, 0x07, 0x38, 0x39, 0x3A, 0x3B, 0x3C, 0x3D, 0x3E, 0x3F, 0x08, 0x00, 0x0F, 0x00};
constexpr Attributes kAtcVgaText  = {0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x14, 0x07, 0x38, 0x39, 0x3A, 0x3B, 0x3C, 0x3D, 0x3E, 0x3F, 0x0C, 0x00, 0x0F, 0x08};
constexpr Attributes kAtcMode11   = {0x00, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0x01, 0x00, 0x0F, 0x00};
constexpr Attributes kAtc256      = {0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0A, 0x0B, 0x0C, 0x0D, 0x0E, 0x0F, 0x41, 0x00, 0x0F, 0x00};

// Graphics controller 0h-8h.
constexpr Graphics kGdcText     = {0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x0E, 0x0F, 0xFF};
constexpr Graphics kGdcMonoText = {0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x0A, 0x0F, 0xFF};
constexpr Graphics kGdcCga4     = {0x00, 0x00, 0x00, 0x00, 0x00, 0x30, 0x0F, 0x0F, 0xFF};
constexpr Graphics kGdcCga2     = {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x0D, 0x0F, 0xFF};
constexpr Graphics kGdcPlanar   = {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x05, 0x0F, 0xFF};
constexpr Graphics kGdcMonoGfx  = {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x05, 0x05, 0xFF};
constexpr Graphics kGdcMode11   = {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x05, 0x01, 0xFF};
constexpr Graphics kGdc256      = {0x00, 0x00, 0x00, 0x00, 0x00, 0x40, 0x05, 0x0F, 0xFF};

// CRT controller 0h-18h.
constexpr Crtc kCrtc40Cga   = {0x2D, 0x27, 0x28, 0x90, 0x2B, 0xA0, 0xBF, 0x1F, 0x00, 0xC7, 0x06, 0x07, 0x00, 0x00, 0x00, 0x00, 0x9C, 0x8E, 0x8F, 0x14, 0x1F, 0x96, 0xB9, 0xA3, 0xFF};
constexpr Crtc kCrtc80Cga   = {0x5F, 0x4F, 0x50, 0x82, 0x55, 0x81, 0xBF, 0x1F, 0x00, 0xC7, 0x06, 0x07, 0x00, 0x00, 0x00, 0x00, 0x9C, 0x8E, 0x8F, 0x28, 0x1F, 0x96, 0xB9, 0xA3, 0xFF};
constexpr Crtc kCrtcCga4    = {0x2D, 0x27, 0x28, 0x90, 0x2B, 0x80, 0xBF, 0x1F, 0x00, 0xC1, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x9C, 0x8E, 0x8F, 0x14, 0x00, 0x96, 0xB9, 0xA2, 0xFF};
constexpr Crtc kCrtcCga2    = {0x5F, 0x4F, 0x50, 0x82, 0x54, 0x80, 0xBF, 0x1F, 0x00, 0xC1, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x9C, 0x8E, 0x8F, 0x28, 0x00, 0x96, 0xB9, 0xC2, 0xFF};
constexpr Crtc kCrtcMono    = {0x5F, 0x4F, 0x50, 0x82, 0x55, 0x81, 0xBF, 0x1F, 0x00, 0x4D, 0x0B, 0x0C, 0x00, 0x00, 0x00, 0x00, 0x83, 0x85, 0x5D, 0x28, 0x0D, 0x63, 0xBA, 0xA3, 0xFF};
constexpr Crtc kCrtcModeD   = {0x2D, 0x27, 0x28, 0x90, 0x2B, 0x80, 0xBF, 0x1F, 0x00, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x9C, 0x8E, 0x8F, 0x14, 0x00, 0x96, 0xB9, 0xE3, 0xFF};
constexpr Crtc kCrtcModeE   = {0x5F, 0x4F, 0x50, 0x82, 0x54, 0x80, 0xBF, 0x1F, 0x00, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x9C, 0x8E, 0x8F, 0x28, 0x00, 0x96, 0xB9, 0xE3, 0xFF};
constexpr Crtc kCrtc350Gfx  = {0x5F, 0x4F, 0x50, 0x82, 0x54, 0x80, 0xBF, 0x1F, 0x00, 0x40, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x83, 0x85, 0x5D, 0x28, 0x0F, 0x63, 0xBA, 0xE3, 0xFF};
constexpr Crtc kCrtc40Ega   = {0x2D, 0x27, 0x28, 0x90, 0x2B, 0xA0, 0xBF, 0x1F, 0x00, 0x4D, 0x0B, 0x0C, 0x00, 0x00, 0x00, 0x00, 0x83, 0x85, 0x5D, 0x14, 0x1F, 0x63, 0xBA, 0xA3, 0xFF};
constexpr Crtc kCrtc80Ega   = {0x5F, 0x4F, 0x50, 0x82, 0x55, 0x81, 0xBF, 0x1F, 0x00, 0x4D, 0x0B, 0x0C, 0x00, 0x00, 0x00, 0x00, 0x83, 0x85, 0x5D, 0x28, 0x1F, 0x63, 0xBA, 0xA3, 0xFF};
constexpr Crtc kCrtc40Vga   = {0x2D, 0x27, 0x28, 0x90, 0x2B, 0xA0, 0xBF, 0x1F, 0x00, 0x4F, 0x0D, 0x0E, 0x00, 0x00, 0x00, 0x00, 0x9C, 0x8E, 0x8F, 0x14, 0x1F, 0x96, 0xB9, 0xA3, 0xFF};
constexpr Crtc kCrtc80Vga   = {0x5F, 0x4F, 0x50, 0x82, 0x55, 0x81, 0xBF, 0x1F, 0x00, 0x4F, 0x0D, 0x0E, 0x00, 0x00, 0x00, 0x00, 0x9C, 0x8E, 0x8F, 0x28, 0x1F, 0x96, 0xB9, 0xA3, 0xFF};
constexpr Crtc kCrtcMonoVga = {0x5F, 0x4F, 0x50, 0x82, 0x55, 0x81, 0xBF, 0x1F, 0x00, 0x4F, 0x0D, 0x0E, 0x00, 0x00, 0x00, 0x00, 0x9C, 0x8E, 0x8F, 0x28, 0x0F, 0x96, 0xB9, 0xA3, 0xFF};
constexpr Crtc kCrtcMode11  = {0x5F, 0x4F, 0x50, 0x82, 0x54, 0x80, 0x0B, 0x3E, 0x00, 0x40, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xEA, 0x8C, 0xDF, 0x28, 0x00, 0xE7, 0x04, 0xC3, 0xFF};
constexpr Crtc kCrtcMode12  = {0x5F, 0x4F, 0x50, 0x82, 0x54, 0x80, 0x0B, 0x3E, 0x00, 0x40, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xEA, 0x8C, 0xDF, 0x28, 0x00, 0xE7, 0x04, 0xE3, 0xFF};
constexpr Crtc kCrtcMode13  = {0x5F, 0x4F, 0x50, 0x82, 0x54, 0x80, 0xBF, 0x1F, 0x00, 0x41, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x9C, 0x8E, 0x8F, 0x28, 0x40, 0x96, 0xB9, 0xA3, 0xFF};
// clang-format on

// The VGA's own table, in record order: modes 0-7, five unused records (8-C), D, E, two unused
// records (the 64 KB EGA variants of F and 10h), F, 10h, the 350-line 0*-3*, the 400-line 0+-7+,
// then 11h, 12h and 13h.
std::array<Record, kStandardRecordCount> StandardRecords() {
  using S = std::array<std::uint8_t, 4>;
  // clang-format off
  //                          cols  rows-1 height regen   sequencer 1-4             misc  CRTC          attributes    graphics
  const Registers mode01  = {0x28, 0x18, 0x08, 0x0800, S{0x09, 0x03, 0x00, 0x02}, 0x63, kCrtc40Cga,   kAtcCgaText,  kGdcText};
  const Registers mode23  = {0x50, 0x18, 0x08, 0x1000, S{0x01, 0x03, 0x00, 0x02}, 0x63, kCrtc80Cga,   kAtcCgaText,  kGdcText};
  const Registers mode45  = {0x28, 0x18, 0x08, 0x4000, S{0x09, 0x03, 0x00, 0x02}, 0x63, kCrtcCga4,    kAtcCga4,     kGdcCga4};
  const Registers mode6   = {0x50, 0x18, 0x08, 0x4000, S{0x01, 0x01, 0x00, 0x06}, 0x63, kCrtcCga2,    kAtcCga2,     kGdcCga2};
  const Registers mode7   = {0x50, 0x18, 0x0E, 0x1000, S{0x00, 0x03, 0x00, 0x03}, 0xA6, kCrtcMono,    kAtcMonoText, kGdcMonoText};
  const Registers modeD   = {0x28, 0x18, 0x08, 0x2000, S{0x09, 0x0F, 0x00, 0x06}, 0x63, kCrtcModeD,   kAtcCga16,    kGdcPlanar};
  const Registers modeE   = {0x50, 0x18, 0x08, 0x4000, S{0x01, 0x0F, 0x00, 0x06}, 0x63, kCrtcModeE,   kAtcCga16,    kGdcPlanar};
  const Registers modeF   = {0x50, 0x18, 0x0E, 0x8000, S{0x01, 0x0F, 0x00, 0x06}, 0xA2, kCrtc350Gfx,  kAtcMonoGfx,  kGdcMonoGfx};
  const Registers mode10  = {0x50, 0x18, 0x0E, 0x8000, S{0x01, 0x0F, 0x00, 0x06}, 0xA3, kCrtc350Gfx,  kAtcEga16,    kGdcPlanar};
  const Registers mode01s = {0x28, 0x18, 0x0E, 0x0800, S{0x09, 0x03, 0x00, 0x02}, 0xA3, kCrtc40Ega,   kAtcEgaText,  kGdcText};
  const Registers mode23s = {0x50, 0x18, 0x0E, 0x1000, S{0x01, 0x03, 0x00, 0x02}, 0xA3, kCrtc80Ega,   kAtcEgaText,  kGdcText};
  const Registers mode01p = {0x28, 0x18, 0x10, 0x0800, S{0x08, 0x03, 0x00, 0x02}, 0x67, kCrtc40Vga,   kAtcVgaText,  kGdcText};
  const Registers mode23p = {0x50, 0x18, 0x10, 0x1000, S{0x00, 0x03, 0x00, 0x02}, 0x67, kCrtc80Vga,   kAtcVgaText,  kGdcText};
  const Registers mode7p  = {0x50, 0x18, 0x10, 0x1000, S{0x00, 0x03, 0x00, 0x02}, 0x66, kCrtcMonoVga, kAtcMonoText, kGdcMonoText};
  const Registers mode11  = {0x50, 0x1D, 0x10, 0xA000, S{0x01, 0x0F, 0x00, 0x06}, 0xE3, kCrtcMode11,  kAtcMode11,   kGdcMode11};
  const Registers mode12  = {0x50, 0x1D, 0x10, 0xA000, S{0x01, 0x0F, 0x00, 0x06}, 0xE3, kCrtcMode12,  kAtcEga16,    kGdcPlanar};
  const Registers mode13  = {0x28, 0x18, 0x08, 0x2000, S{0x01, 0x0F, 0x00, 0x0E}, 0x63, kCrtcMode13,  kAtc256,      kGdc256};
  // clang-format on

  const Record unused{};
  return {Pack(mode01),  Pack(mode01),  Pack(mode23),  Pack(mode23),  Pack(mode45),  Pack(mode45),
          Pack(mode6),   Pack(mode7),   unused,        unused,        unused,        unused,
          unused,        Pack(modeD),   Pack(modeE),   unused,        unused,        Pack(modeF),
          Pack(mode10),  Pack(mode01s), Pack(mode01s), Pack(mode23s), Pack(mode23s), Pack(mode01p),
          Pack(mode23p), Pack(mode7p),  Pack(mode11),  Pack(mode12),  Pack(mode13)};
}

// Display timing of an adapter mode, in pixels and lines.
struct Timing {
  int hTotal, hDisplay, hSyncStart, hSyncEnd;
  int vTotal, vDisplay, vSyncStart, vSyncEnd;
};

int Bit(int value, int bit) {
  return (value >> bit) & 1;
}
std::uint8_t Low(int value) {
  return static_cast<std::uint8_t>(value & 0xFF);
}

// The CRT controller registers of a timing, laid out as the VGA has them (counts in
// character clocks of eight pixels, overflow bits in registers 7h and 9h).
Crtc CrtcFor(const Timing& t, int bytesPerLine) {
  const int hTotal = t.hTotal / 8, hDisplay = t.hDisplay / 8;
  const int hSyncStart = t.hSyncStart / 8, hSyncEnd = t.hSyncEnd / 8;
  const int hBlankEnd = hTotal - 1;
  const int vTotal = t.vTotal - 2, vDisplayEnd = t.vDisplay - 1;
  const int vBlankStart = t.vDisplay + 7, vBlankEnd = t.vTotal - 8;
  const int lineCompare = 0x3FF;
  Crtc c{};
  c[0x00] = Low(hTotal - 5);
  c[0x01] = Low(hDisplay - 1);
  c[0x02] = Low(hDisplay);
  c[0x03] = Low(0x80 | (hBlankEnd & 0x1F));
  c[0x04] = Low(hSyncStart);
  c[0x05] = Low((Bit(hBlankEnd, 5) << 7) | (hSyncEnd & 0x1F));
  c[0x06] = Low(vTotal);
  c[0x07] = Low(Bit(vTotal, 8) | Bit(vDisplayEnd, 8) << 1 | Bit(t.vSyncStart, 8) << 2 | Bit(vBlankStart, 8) << 3 |
                Bit(lineCompare, 8) << 4 | Bit(vTotal, 9) << 5 | Bit(vDisplayEnd, 9) << 6 | Bit(t.vSyncStart, 9) << 7);
  c[0x09] = Low(Bit(vBlankStart, 9) << 5 | Bit(lineCompare, 9) << 6);
  c[0x10] = Low(t.vSyncStart);
  c[0x11] = Low(0x80 | (t.vSyncEnd & 0x0F));
  c[0x12] = Low(vDisplayEnd);
  c[0x13] = Low(bytesPerLine / 8);
  c[0x15] = Low(vBlankStart);
  c[0x16] = Low(vBlankEnd);
  c[0x17] = 0xE3;
  c[0x18] = Low(lineCompare);
  return c;
}

// An adapter mode together with what its parameter record needs.
struct AdapterMode {
  ExtendedMode extended;
  Timing timing;
  std::uint8_t misc;
};

constexpr std::uint8_t kNativeMode = 0x01;
constexpr std::uint8_t PixelFormat(int format) {
  return static_cast<std::uint8_t>(format << 3);
}

ExMode Mode(std::uint8_t index, std::uint16_t number, std::uint8_t model, std::uint16_t width, std::uint16_t height,
            std::uint8_t cell, std::uint16_t bytesPerLine) {
  ExMode mode;
  mode.modeIndex = index;
  mode.modeNumber = number;
  mode.memoryModel = model;
  mode.width = width;
  mode.height = height;
  mode.cellHeight = cell;
  mode.bytesPerLine = bytesPerLine;
  mode.memoryBanks = static_cast<std::uint16_t>((static_cast<std::uint32_t>(bytesPerLine) * height + 0xFFFF) >> 16);
  return mode;
}

const std::vector<AdapterMode>& AdapterModes() {
  constexpr Timing k640x400 = {800, 640, 656, 752, 449, 400, 412, 414};
  constexpr Timing k640x480 = {800, 640, 656, 752, 525, 480, 490, 492};
  constexpr Timing k800x600 = {1056, 800, 840, 968, 628, 600, 601, 605};
  constexpr Timing k1024x768 = {1344, 1024, 1048, 1184, 806, 768, 771, 777};
  constexpr std::uint8_t k8Bpp = 6, k16Bpp = 7, k24Bpp = 8;
  // Mode indexes past the VGA's 29 records; ExRegRecord byte 2 leads each to its own parameter record.
  // clang-format off
  static const std::vector<AdapterMode> modes = {
      {{Mode(0x30, 0x100, k8Bpp,  640,  400, 16,  640), 29, kNativeMode | PixelFormat(2), 0x22, 0x1A3C}, k640x400,  0x63},
      {{Mode(0x31, 0x101, k8Bpp,  640,  480, 16,  640), 30, kNativeMode | PixelFormat(2), 0x22, 0x1A3C}, k640x480,  0xE3},
      {{Mode(0x32, 0x103, k8Bpp,  800,  600, 16,  800), 31, kNativeMode | PixelFormat(2), 0x22, 0x2C8D}, k800x600,  0x2F},
      {{Mode(0x33, 0x105, k8Bpp,  1024, 768, 16, 1024), 32, kNativeMode | PixelFormat(2), 0x22, 0x3A51}, k1024x768, 0xEF},
      {{Mode(0x34, 0x111, k16Bpp, 640,  480, 16, 1280), 33, kNativeMode | PixelFormat(4), 0x32, 0x2D42}, k640x480,  0xEF},
      {{Mode(0x35, 0x112, k24Bpp, 640,  480, 16, 1920), 34, kNativeMode | PixelFormat(5), 0x42, 0x3B61}, k640x480,  0xEF},
  };
  // clang-format on
  return modes;
}

Record AdapterRecord(const AdapterMode& a) {
  const ExMode& m = a.extended.mode;
  const Registers r = {static_cast<std::uint8_t>(m.width / 8),
                       static_cast<std::uint8_t>(m.height / m.cellHeight - 1),
                       m.cellHeight,
                       0x0000,  // a 64 KB window
                       {0x01, 0x0F, 0x00, 0x0E},
                       a.misc,
                       CrtcFor(a.timing, m.bytesPerLine),
                       kAtc256,
                       kGdc256};
  return Pack(r);
}

// The records before the adapter's own, which describe the VGA modes; the editor skips them.
std::array<ExMode, 15> VgaModeList() {
  constexpr std::uint8_t kColorText = 0, kMonoText = 1, kCga = 2, kEgaMono = 3, kTwoColor = 4, kPlanar = 5, k8Bpp = 6;
  return {Mode(23, 0x00, kColorText, 360, 400, 16, 80),  Mode(23, 0x01, kColorText, 360, 400, 16, 80),
          Mode(24, 0x02, kColorText, 720, 400, 16, 160), Mode(24, 0x03, kColorText, 720, 400, 16, 160),
          Mode(4, 0x04, kCga, 320, 200, 8, 80),          Mode(5, 0x05, kCga, 320, 200, 8, 80),
          Mode(6, 0x06, kTwoColor, 640, 200, 8, 80),     Mode(25, 0x07, kMonoText, 720, 400, 16, 160),
          Mode(13, 0x0D, kPlanar, 320, 200, 8, 40),      Mode(14, 0x0E, kPlanar, 640, 200, 8, 80),
          Mode(17, 0x0F, kEgaMono, 640, 350, 14, 80),    Mode(18, 0x10, kPlanar, 640, 350, 14, 80),
          Mode(26, 0x11, kTwoColor, 640, 480, 16, 80),   Mode(27, 0x12, kPlanar, 640, 480, 16, 80),
          Mode(28, 0x13, k8Bpp, 320, 200, 8, 320)};
}

// Start-up registers of the adapter: PCIInit0, MiscInit0, MiscInit1, DRAMInit0, DRAMInit1,
// AGPInit0, PLLCtrl1, PLLCtrl2, SGRAMMode.
constexpr std::array<std::uint32_t, 9> kMemoryConfig = {0x01A00041, 0x00000C00, 0x00001000, 0x0C17A9E9, 0x00000041,
                                                        0x0000049E, 0x00003A0D, 0x00004A23, 0x00000037};

// The PCI option ROM frame around the editor's structures: an entry point that returns at once,
// the "IBM" mark VGA ROMs carry, and the PCI data structure.
void OptionRomFrame(RomBuilder& b) {
  constexpr std::uint32_t kEntry = 0x0080, kPciData = 0x0060;
  b.Byte(0x03, 0xEB).Byte(0x04, static_cast<std::uint8_t>(kEntry - 0x05)).Byte(kEntry, 0xCB);  // jmp short; retf
  b.Bytes(0x1E, {'I', 'B', 'M'});
  b.Word(0x18, kPciData);
  b.Bytes(kPciData, {'P', 'C', 'I', 'R'});
  b.Word(kPciData + 0x04, kSubsystemVendorId).Word(kPciData + 0x06, 0x0005);  // the chip's vendor and device
  b.Word(kPciData + 0x0A, 0x0018).Byte(kPciData + 0x0C, 0x00);                // structure length, revision
  b.Bytes(kPciData + 0x0D, {0x00, 0x00, 0x03});                               // class: VGA-compatible display
  b.Word(kPciData + 0x10, 0x0040).Word(kPciData + 0x12, 0x0001);              // 64 blocks of 512 bytes
  b.Byte(kPciData + 0x14, 0x00).Byte(kPciData + 0x15, 0x80);                  // x86 code, last image
}

std::vector<testing_support::FixupRecord> Fixups(const FontGlyphs& font) {
  std::vector<testing_support::FixupRecord> records;
  for (std::uint8_t code : kFixupCodes) records.push_back({code, font.Glyph(code)});
  return records;
}

}  // namespace

testing_support::RomLayout SampleLayout() {
  testing_support::RomLayout layout;
  layout.oemTable = 0x0100;
  layout.memoryConfig = 0x0120;
  layout.savePointerTable = 0x0150;
  layout.secondarySaveTable = 0x0170;
  layout.exModeInfo = 0x0190;
  layout.exRegTable = 0x01A0;
  layout.exModeList = 0x0300;
  layout.parameterTable = 0x0600;
  layout.font8x8 = 0x1000;
  layout.font8x14 = 0x1800;
  layout.font8x16 = 0x2600;
  layout.fixup9x14 = 0x3600;
  layout.fixup9x16 = 0x3720;
  layout.signOn = 0x3860;
  return layout;
}

const std::vector<ExtendedMode>& SampleExtendedModes() {
  static const std::vector<ExtendedMode> modes = [] {
    std::vector<ExtendedMode> list;
    for (const AdapterMode& a : AdapterModes()) list.push_back(a.extended);
    return list;
  }();
  return modes;
}

std::vector<Record> SampleParameterRecords() {
  const std::array<Record, kStandardRecordCount> standard = StandardRecords();
  std::vector<Record> records(standard.begin(), standard.end());
  for (const AdapterMode& a : AdapterModes()) {
    records.resize(std::max<std::size_t>(records.size(), a.extended.parameterIndex + 1u));
    records[a.extended.parameterIndex] = AdapterRecord(a);
  }
  return records;
}

SampleFonts LoadSampleFonts(const std::filesystem::path& directory, std::vector<std::string>& notes) {
  SampleFonts fonts;
  auto load = [&](int height, FontGlyphs& font) {
    const std::string base = "cp850-8x" + std::to_string(height) + ".psf";
    std::string compressedError;
    std::string plainError;
    std::optional<FontGlyphs> read = ReadConsoleFont(directory / (base + ".gz"), height, compressedError);
    if (!read) read = ReadConsoleFont(directory / base, height, plainError);
    if (read) {
      font = std::move(*read);
    } else {
      notes.push_back(compressedError + "; " + plainError + "; the 8x" + std::to_string(height) +
                      " font keeps the built-in letters");
    }
  };
  load(8, fonts.font8x8);
  load(14, fonts.font8x14);
  load(16, fonts.font8x16);
  return fonts;
}

RomBuilder BuildSampleRom(const SampleFonts& fonts) {
  RomBuilder b(SampleLayout());
  const testing_support::RomLayout& layout = b.layout();
  OptionRomFrame(b);
  b.SignatureText(kSignatureText).SubsystemIds(kSubsystemVendorId, kSubsystemDeviceId);
  b.SignOn(kSignOnText).MemoryConfig(kMemoryConfig);

  const std::vector<Record> records = SampleParameterRecords();
  for (std::size_t i = 0; i < records.size(); ++i) b.ParameterRecord(static_cast<int>(i), records[i]);

  const std::array<ExMode, 15> vgaModes = VgaModeList();
  for (std::size_t slot = 0; slot < vgaModes.size(); ++slot) b.SkippedExMode(static_cast<int>(slot), vgaModes[slot]);
  for (const ExtendedMode& e : SampleExtendedModes()) {
    b.AddExMode(e.mode);
    b.ExReg(e.mode.modeIndex, e.flags, e.crtc1B, e.parameterIndex, e.clockWord);
  }

  b.Bytes(layout.font8x8, fonts.font8x8.rows).Bytes(layout.font8x14, fonts.font8x14.rows);
  b.Bytes(layout.font8x16, fonts.font8x16.rows);
  b.Fixups(14, Fixups(fonts.font8x14)).Fixups(16, Fixups(fonts.font8x16));
  b.FixChecksum();
  return b;
}

}  // namespace sample_rom
