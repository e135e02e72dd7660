// The fuzz targets' harness, natively.
#include <gtest/gtest.h>

#include <cstdint>

#include "res/resource.h"
#include "rom/RomImage.h"
#include "tests/fuzz/harness/FuzzSheet.h"
#include "tests/fuzz/harness/ModeListModel.h"
#include "tests/fuzz/harness/ShownBytes.h"
#include "tests/support/RomBuilder.h"

namespace {

using testing_support::ExMode;
using testing_support::RomBuilder;

// The runs judge a page by the bytes the harness finds for it on its own: they must be
// exactly the page's structures, or every property would hold for nothing.
TEST(FuzzHarnessTest, ShownBytesAreExactlyThePagesStructures) {
  rom::ResetRomState();
  RomBuilder b;
  b.AddExMode(ExMode{0x21, 0x101, 6, 640, 480, 16}).ExReg(0x21, 0, 0, 0x21, 0);
  b.Load();
  fuzzing::ModeListModel modes;
  modes.Capture();
  ASSERT_EQ(modes.ListedRows(), 23);
  fuzzing::FuzzSheet sheet;
  const auto& l = b.layout();
  const struct {
    std::uint32_t first, length, second, secondLength;
  } expected[] = {
      {b.parameterRecordOffset(0), 64, b.exRegOffset(0), 5},
      {0x7FF8, 4, 0, 0},
      {0x40, 16, 0, 0},
      {l.signOn, 122, 0, 0},
      {l.memoryConfig, 36, 0, 0},
      {l.font8x8, 8, 0, 0},  // glyph 00h of the first font
  };
  for (int page = 0; page < 6; ++page) {
    sheet.SetActivePage(page);
    fuzzing::ByteSet bytes;
    fuzzing::Mark(bytes, expected[page].first, expected[page].length);
    fuzzing::Mark(bytes, expected[page].second, expected[page].secondLength);
    EXPECT_EQ(fuzzing::ShownBytes(page, sheet.controls(page), modes), bytes) << "page " << page;
  }
  // The extended row shows record 21h and its own extended registers.
  sheet.SetActivePage(0);
  sheet.controls(0).ListSelect(IDC_MODE_LIST, 22);
  fuzzing::ByteSet exRow;
  fuzzing::Mark(exRow, b.parameterRecordOffset(0x21), 64);
  fuzzing::Mark(exRow, b.exRegOffset(0x21), 5);
  EXPECT_EQ(fuzzing::ShownBytes(0, sheet.controls(0), modes), exRow);
}

}  // namespace
