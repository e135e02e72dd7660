#include "rom/timing/ModeTiming.h"

namespace rom::timing {
namespace {

constexpr double kCrystalMHz[] = {25.175, 28.322};

int Bit(std::uint8_t value, int bit) {
  return (value >> bit) & 1;
}

// The first count after `start` whose low bits (under `mask`) are `endBits`.
Span Wrap(int start, int endBits, int mask) {
  int end = (start & ~mask) | (endBits & mask);
  if (end <= start) end += mask + 1;
  return {start, end};
}

}  // namespace

ModeTiming DecodeTiming(const ParameterRecord& record, std::uint16_t clockWord) {
  auto crtc = [&](int index) { return record[kCrtcByte + static_cast<std::size_t>(index)]; };
  const std::uint8_t clocking = record[kClockingModeByte];
  const std::uint8_t overflow = crtc(0x07);
  const std::uint8_t maxScan = crtc(0x09);

  ModeTiming t;
  t.clockWord = clockWord;
  t.clockSelect = (record[kMiscOutputByte] >> 2) & 3;
  t.externalClock = t.clockSelect > 1;
  t.halved = Bit(clocking, 3) != 0;
  t.charWidth = Bit(clocking, 0) != 0 ? 8 : 9;
  if (!t.externalClock) {
    t.crystalMHz = kCrystalMHz[t.clockSelect];
    t.dotClockMHz = t.halved ? t.crystalMHz / 2 : t.crystalMHz;
  }

  t.horizontalTotal = crtc(0x00) + 5;
  t.horizontalDisplay = crtc(0x01) + 1;
  t.horizontalBlank = Wrap(crtc(0x02), (crtc(0x03) & 0x1F) | (Bit(crtc(0x05), 7) << 5), 0x3F);
  t.horizontalRetrace = Wrap(crtc(0x04), crtc(0x05) & 0x1F, 0x1F);

  const auto high = [&](std::uint8_t low, int bit8, int bit9) {
    return low | (Bit(overflow, bit8) << 8) | (Bit(overflow, bit9) << 9);
  };
  t.verticalTotal = high(crtc(0x06), 0, 5) + 2;
  t.verticalDisplay = high(crtc(0x12), 1, 6) + 1;
  const int blankStart = crtc(0x15) | (Bit(overflow, 3) << 8) | (Bit(maxScan, 5) << 9);
  t.verticalBlank = Wrap(blankStart, crtc(0x16), 0xFF);
  t.verticalRetrace = Wrap(high(crtc(0x10), 2, 7), crtc(0x11) & 0x0F, 0x0F);
  t.doubleScan = Bit(maxScan, 7) != 0;

  // A register of 0 leaves only the counter's fixed offset: no mode runs with that.
  if (t.externalClock) {
    t.problem = "external clock";
  } else if (crtc(0x00) == 0 || t.verticalTotal == 2) {
    t.problem = "zero total";
  } else if (t.horizontalDisplay > t.horizontalTotal || t.verticalDisplay > t.verticalTotal) {
    t.problem = "display beyond total";
  }
  if (t.problem.empty()) {
    const double lineHz = t.dotClockMHz * 1e6 / (static_cast<double>(t.horizontalTotal) * t.charWidth);
    t.horizontalKHz = lineHz / 1e3;
    t.refreshHz = lineHz / t.verticalTotal;
  }
  return t;
}

}  // namespace rom::timing
