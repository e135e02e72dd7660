// Mode timings decoded from the sample image's parameter records, against the VGA's published figures.
#include <gtest/gtest.h>

#include "rom/timing/ModeTiming.h"
#include "tools/SampleRom.h"

namespace {

using rom::timing::DecodeTiming;
using rom::timing::ModeTiming;

TEST(ModeTiming, StandardModesGiveThePublishedRates) {
  struct Case {
    int record;
    double dotClock;
    int charWidth, hTotal, vTotal, vDisplay;
    double kHz, hz;
    bool doubleScan;
  };
  // Records 0 (40 columns, halved clock), 3 (CGA-compatible 200 lines), 24 (3+, 9-dot),
  // 7 (monochrome 9-dot 350 lines), 27 (12h), 28 (13h: two scan lines a row, not the double-scan bit).
  const Case cases[] = {
      {0, 12.5875, 8, 50, 449, 400, 31.47, 70.09, true},   {3, 25.175, 8, 100, 449, 400, 31.47, 70.09, true},
      {24, 28.322, 9, 100, 449, 400, 31.47, 70.09, false}, {7, 28.322, 9, 100, 449, 350, 31.47, 70.09, false},
      {27, 25.175, 8, 100, 525, 480, 31.47, 59.94, false}, {28, 25.175, 8, 100, 449, 400, 31.47, 70.09, false}};
  const auto records = sample_rom::SampleParameterRecords();
  for (const Case& c : cases) {
    const ModeTiming t = DecodeTiming(records[static_cast<std::size_t>(c.record)], 0);
    EXPECT_DOUBLE_EQ(t.dotClockMHz, c.dotClock) << c.record;
    EXPECT_EQ(t.charWidth, c.charWidth) << c.record;
    EXPECT_EQ(t.horizontalTotal, c.hTotal) << c.record;
    EXPECT_EQ(t.horizontalDisplay, c.hTotal == 50 ? 40 : 80) << c.record;
    EXPECT_EQ(t.verticalTotal, c.vTotal) << c.record;
    EXPECT_EQ(t.verticalDisplay, c.vDisplay) << c.record;
    EXPECT_EQ(t.doubleScan, c.doubleScan) << c.record;
    ASSERT_TRUE(t.horizontalKHz && t.refreshHz) << t.problem;
    EXPECT_NEAR(*t.horizontalKHz, c.kHz, 0.005) << c.record;
    EXPECT_NEAR(*t.refreshHz, c.hz, 0.005) << c.record;
  }
}

TEST(ModeTiming, SpansTakeTheirHighBitsAndWrapPastTheirStart) {
  const ModeTiming t = DecodeTiming(sample_rom::SampleParameterRecords()[27], 0);  // mode 12h
  const int got[] = {t.horizontalBlank.start, t.horizontalBlank.end, t.horizontalRetrace.start, t.horizontalRetrace.end,
                     t.verticalBlank.start,   t.verticalBlank.end,   t.verticalRetrace.start,   t.verticalRetrace.end};
  // Blank 50h..62h (end bit 5 from CRTC 5), retrace 54h..60h, vertical blank 1E7h..204h,
  // retrace 1EAh..1ECh.
  const int expected[] = {0x50, 0x62, 0x54, 0x60, 0x1E7, 0x204, 0x1EA, 0x1EC};
  EXPECT_TRUE(std::equal(std::begin(got), std::end(got), std::begin(expected)));
}

TEST(ModeTiming, ExternalClocksAndImpossibleTotalsGiveNoRates) {
  auto record = sample_rom::SampleParameterRecords()[27];
  struct Case {
    std::size_t at;
    std::uint8_t value;
    const char* problem;
  };
  for (const Case& c : {Case{0x09, 0xEB, "external clock"}, Case{0x0A, 0x00, "zero total"},
                        Case{0x0B, 0xFF, "display beyond total"}, Case{0x11, 0x42, "display beyond total"}}) {
    auto changed = record;
    changed[c.at] = c.value;
    const ModeTiming t = DecodeTiming(changed, 0x1234);
    EXPECT_EQ(t.problem, c.problem);
    EXPECT_FALSE(t.horizontalKHz || t.refreshHz) << c.problem;
    EXPECT_EQ(t.clockWord, 0x1234);
  }
  EXPECT_EQ(DecodeTiming({}, 0).problem, "zero total");
}

}  // namespace
