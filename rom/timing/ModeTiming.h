#pragma once
// The timing a VGA parameter record gives a mode: its dot clock, character
// width, horizontal and vertical counts, and from them the line and refresh
// rates the monitor sees.

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "rom/ModeTables.h"

namespace rom::timing {

using ParameterRecord = std::array<std::uint8_t, kParameterRecordSize>;

// Record offsets of the character height and of the register groups.
inline constexpr std::size_t kCharHeightByte = 0x02;
inline constexpr std::size_t kClockingModeByte = 0x05;  // Sequencer 1
inline constexpr std::size_t kMiscOutputByte = 0x09;
inline constexpr std::size_t kCrtcByte = 0x0A;
inline constexpr std::size_t kAttributeByte = 0x23;
inline constexpr std::size_t kGraphicsByte = 0x37;

// A span of a counter, from its start to the count where it ends. The end
// registers hold only the low bits of the end; it is the first count past the
// start with those bits.
struct Span {
  int start = 0;
  int end = 0;
};

struct ModeTiming {
  // Miscellaneous Output bits 2-3: 0 and 1 select the two crystals of the VGA,
  // anything else an adapter's own clock, whose rate the record does not give.
  int clockSelect = 0;
  bool externalClock = false;
  std::uint16_t clockWord = 0;  // the adapter's extended clock word, shown as is
  double crystalMHz = 0;        // 25.175 or 28.322; 0 for an external clock
  bool halved = false;          // Sequencer clocking mode bit 3
  double dotClockMHz = 0;       // 0 for an external clock
  int charWidth = 8;            // 8 or 9 dots, Sequencer clocking mode bit 0

  // In characters.
  int horizontalTotal = 0;
  int horizontalDisplay = 0;
  Span horizontalBlank;
  Span horizontalRetrace;
  // In lines, with the high bits of the overflow and maximum scan line registers.
  int verticalTotal = 0;
  int verticalDisplay = 0;
  Span verticalBlank;
  Span verticalRetrace;
  bool doubleScan = false;  // every line drawn twice (maximum scan line bit 7)

  // Why the rates cannot be worked out ("" when they can): an external clock,
  // or totals that are zero or smaller than what they must hold.
  std::string problem;
  std::optional<double> horizontalKHz;
  std::optional<double> refreshHz;
};

// Decodes a 64-byte parameter record; `clockWord` is the mode's extended clock word.
ModeTiming DecodeTiming(const ParameterRecord& record, std::uint16_t clockWord);

}  // namespace rom::timing
