#pragma once
// A mode moved to another refresh rate: the vertical total nearest to the rate at
// the mode's line rate, with the blanking and the retrace moved so that the
// picture keeps its place on the screen.

#include <array>
#include <cstdint>
#include <string>

#include "rom/timing/ModeTiming.h"

namespace rom::timing {

// The sync polarities of the Miscellaneous Output register. Monitors of the VGA's
// time set the picture height from them: a VGA gives 350, 400 and 480 displayed
// lines each its own pair.
enum class SyncPolarity { kKeep, k350, k400, k480 };

// The CRTC registers a retime may change: the vertical total, the overflow, the
// retrace start and end, the blanking end.
inline constexpr std::array<int, 5> kRetimedCrtc = {0x06, 0x07, 0x10, 0x11, 0x16};

struct Retiming {
  ParameterRecord record{};  // the record at the new rate
  ModeTiming before;
  ModeTiming after;
  // Why the mode cannot run at that rate ("" when it can); the record is then the old one.
  std::string problem;
  explicit operator bool() const { return problem.empty(); }
};

// `record` (with the mode's extended clock word) at the vertical total whose refresh
// rate is nearest to `hz`. Display, clock and every horizontal value stay; the
// retrace keeps its width, the lines added or taken go to the margins above and
// below the picture in the proportion they had, the blanking keeps its distance
// from the picture. Only the registers of kRetimedCrtc change, and with a
// polarity other than kKeep the Miscellaneous Output's sync bits.
Retiming Retime(const ParameterRecord& record, std::uint16_t clockWord, double hz,
                SyncPolarity polarity = SyncPolarity::kKeep);

// "H- V+ (a VGA's 400 lines)": the sync polarities of a Miscellaneous Output value.
std::string SyncText(std::uint8_t misc);

}  // namespace rom::timing
