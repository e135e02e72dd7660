#include "rom/timing/Retime.h"

#include <cmath>
#include <cstdio>

namespace rom::timing {
namespace {

// The vertical total register holds the total minus 2, the retrace start register the
// line itself, both in 10 bits (the high two in the overflow register).
constexpr int kMaxVerticalTotal = 0x3FF + 2;
constexpr int kMaxRetraceStart = 0x3FF;
// The blanking end register holds the low 8 bits of the line where blanking ends: a
// blanking of 256 lines or more cannot be told from a shorter one.
constexpr int kMaxBlankLines = 0xFF;
// CRTC 17h bit 2: the vertical counter advances every second line, so its values
// are not lines.
constexpr int kModeControlCrtc = 0x17;
constexpr std::uint8_t kHalfLineClock = 0x04;
constexpr std::uint8_t kSyncBits = 0xC0;

// The new vertical values, in lines.
struct Vertical {
  int total = 0;
  int retraceStart = 0;
  int retraceEnd = 0;
  int blankEnd = 0;
};

std::string Lines(int n) {
  return std::to_string(n) + (n == 1 ? " line" : " lines");
}

std::string Span(int start, int end) {
  return std::to_string(start) + "-" + std::to_string(end);
}

std::string RateText(double hz) {
  char text[32];
  std::snprintf(text, sizeof text, "%g Hz", hz);
  return text;
}

// The total next to lineHz / hz whose refresh rate is nearest to hz, or 0 when the
// register cannot hold it.
int NearestTotal(double lineHz, double hz) {
  const double exact = lineHz / hz;
  if (!(exact < kMaxVerticalTotal + 1)) return 0;
  const int below = static_cast<int>(std::floor(exact));
  const int above = below + 1;
  const bool takeAbove =
      below < 1 || std::fabs(lineHz / above - hz) < std::fabs(lineHz / static_cast<double>(below) - hz);
  const int total = takeAbove ? above : below;
  return total <= kMaxVerticalTotal ? total : 0;
}

// Why the frame of `t` cannot take `v.total` lines, or "" with `v` filled in.
std::string Plan(const ModeTiming& t, Vertical& v) {
  const int display = t.verticalDisplay;
  const int width = t.verticalRetrace.end - t.verticalRetrace.start;
  const int bottom = t.verticalRetrace.start - display;
  const int top = t.verticalTotal - t.verticalRetrace.end;
  if (bottom < 0 || top < 0) {
    return "its retrace (lines " + Span(t.verticalRetrace.start, t.verticalRetrace.end) +
           ") does not lie between the picture's end (line " + std::to_string(display) + ") and the frame's (line " +
           std::to_string(t.verticalTotal) + "), so there are no margins to share lines between";
  }
  if (bottom + top == 0) return "its frame has no line between the picture and the retrace to share lines between";
  const int margins = v.total - display - width;
  if (margins < 0) {
    return "a frame of " + Lines(v.total) + " has no room for the " + Lines(display) + " of the picture and the " +
           Lines(width) + " of the retrace";
  }
  // The margin below the picture takes its share, rounded to the nearest line; the one above takes the rest.
  const int newBottom = (2 * bottom * margins + bottom + top) / (2 * (bottom + top));
  v.retraceStart = display + newBottom;
  v.retraceEnd = v.retraceStart + width;
  // The blanking ends as many lines before the frame's end as it did.
  v.blankEnd = t.verticalBlank.end + v.total - t.verticalTotal;
  const int blankStart = t.verticalBlank.start;
  if (blankStart < t.verticalTotal && blankStart >= v.total) {
    return "a frame of " + Lines(v.total) + " ends before its blanking starts (line " + std::to_string(blankStart) +
           ")";
  }
  if (v.blankEnd - blankStart < 1) {
    return "a frame of " + Lines(v.total) + " leaves no room for the blanking, which starts at line " +
           std::to_string(blankStart) + " and would end at line " + std::to_string(v.blankEnd);
  }
  if (v.blankEnd - blankStart > kMaxBlankLines) {
    return "its blanking would last " + Lines(v.blankEnd - blankStart) + "; the blanking end register tells at most " +
           std::to_string(kMaxBlankLines);
  }
  const bool blankedBefore = blankStart <= t.verticalRetrace.start && t.verticalRetrace.end <= t.verticalBlank.end;
  if (blankedBefore && (v.retraceStart < blankStart || v.retraceEnd > v.blankEnd)) {
    return "a frame of " + Lines(v.total) +
           " leaves no room for the retrace inside the blanking: it would take lines " +
           Span(v.retraceStart, v.retraceEnd) + ", the blanking lines " + Span(blankStart, v.blankEnd);
  }
  if (v.retraceStart > kMaxRetraceStart) {
    return "its retrace would start at line " + std::to_string(v.retraceStart) + "; the register holds at most " +
           std::to_string(kMaxRetraceStart);
  }
  return {};
}

std::uint8_t Bit(int value, int bit, int to) {
  return static_cast<std::uint8_t>(((value >> bit) & 1) << to);
}

// The registers of `v` into `record`, every other bit kept.
void Encode(const Vertical& v, ParameterRecord& record) {
  auto crtc = [&](int index) -> std::uint8_t& { return record[kCrtcByte + static_cast<std::size_t>(index)]; };
  const int total = v.total - 2;
  crtc(0x06) = static_cast<std::uint8_t>(total & 0xFF);
  crtc(0x07) = static_cast<std::uint8_t>((crtc(0x07) & 0x5A) | Bit(total, 8, 0) | Bit(total, 9, 5) |
                                         Bit(v.retraceStart, 8, 2) | Bit(v.retraceStart, 9, 7));
  crtc(0x10) = static_cast<std::uint8_t>(v.retraceStart & 0xFF);
  crtc(0x11) = static_cast<std::uint8_t>((crtc(0x11) & 0xF0) | (v.retraceEnd & 0x0F));
  crtc(0x16) = static_cast<std::uint8_t>(v.blankEnd & 0xFF);
}

std::uint8_t PolarityBits(SyncPolarity polarity) {
  switch (polarity) {
    case SyncPolarity::k350: return 0x80;
    case SyncPolarity::k400: return 0x40;
    case SyncPolarity::k480: return 0xC0;
    case SyncPolarity::kKeep: break;
  }
  return 0;
}

}  // namespace

Retiming Retime(const ParameterRecord& record, std::uint16_t clockWord, double hz, SyncPolarity polarity) {
  Retiming r;
  r.record = record;
  r.before = DecodeTiming(record, clockWord);
  r.after = r.before;
  const ModeTiming& t = r.before;
  if (t.externalClock) {
    r.problem = "it runs on the adapter's own clock (clock select " + std::to_string(t.clockSelect) +
                "), whose rate the record does not give";
    return r;
  }
  if (!t.problem.empty()) {
    r.problem = "its timing gives no rates (" + t.problem + ")";
    return r;
  }
  if ((record[kCrtcByte + kModeControlCrtc] & kHalfLineClock) != 0) {
    r.problem = "its vertical counter advances every second line (CRTC 17h bit 2), which is not retimed";
    return r;
  }
  if (!(hz > 0) || !std::isfinite(hz)) {
    r.problem = "a refresh rate is a number of Hz above 0";
    return r;
  }
  const double lineHz = *t.horizontalKHz * 1000;
  Vertical v;
  v.total = NearestTotal(lineHz, hz);
  if (v.total == 0) {
    char lineRate[32];
    std::snprintf(lineRate, sizeof lineRate, "%.2f kHz", lineHz / 1000);
    r.problem = RateText(hz) + " at " + lineRate + " needs a frame of more than " + Lines(kMaxVerticalTotal) +
                ", more than the vertical total register holds";
    return r;
  }
  r.problem = Plan(t, v);
  if (!r.problem.empty()) return r;

  Encode(v, r.record);
  if (polarity != SyncPolarity::kKeep) {
    r.record[kMiscOutputByte] =
        static_cast<std::uint8_t>((record[kMiscOutputByte] & ~kSyncBits) | PolarityBits(polarity));
  }
  r.after = DecodeTiming(r.record, clockWord);
  // The registers must read back as the lines planned: what is written is what was shown.
  const ModeTiming& a = r.after;
  if (a.verticalTotal != v.total || a.verticalRetrace.start != v.retraceStart ||
      a.verticalRetrace.end != v.retraceEnd || a.verticalBlank.end != v.blankEnd || !a.refreshHz) {
    r.problem = "its registers cannot hold the new timing";
    r.record = record;
    r.after = r.before;
  }
  return r;
}

std::string SyncText(std::uint8_t misc) {
  static const char* const kVgaLines[] = {"", " (a VGA's 400 lines)", " (a VGA's 350 lines)", " (a VGA's 480 lines)"};
  return std::string("H") + ((misc & 0x40) != 0 ? "-" : "+") + " V" + ((misc & 0x80) != 0 ? "-" : "+") +
         kVgaLines[misc >> 6];
}

}  // namespace rom::timing
