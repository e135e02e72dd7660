#pragma once
// The sample image: a well-formed 32 KB VGA option ROM that holds every structure the
// editor's pages edit. The sample image tool writes it; the tests check it.

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/RomBuilder.h"
#include "tools/ConsoleFont.h"

namespace sample_rom {

inline constexpr char kSignatureText[] = "OMBRIX VGA V1.00";
inline constexpr char kSignOnText[] = "Ombrix VGA BIOS Version 1.0\r\nCopyright (C) 2026 Ombrix Graphics";
inline constexpr std::uint16_t kSubsystemVendorId = 0x1A5E;
inline constexpr std::uint16_t kSubsystemDeviceId = 0x0101;
inline constexpr int kStandardRecordCount = 29;
// Characters whose 9-dot glyphs the fix-up tables carry.
inline constexpr std::array<std::uint8_t, 18> kFixupCodes = {0x1D, 0x4D, 0x54, 0x56, 0x57, 0x58, 0x59, 0x5A, 0x6D,
                                                             0x76, 0x77, 0x91, 0x9B, 0x9D, 0x9E, 0xF1, 0xF6, 0xFB};

// The three full fonts the image carries.
struct SampleFonts {
  FontGlyphs font8x8 = BuiltInFont(8);
  FontGlyphs font8x14 = BuiltInFont(14);
  FontGlyphs font8x16 = BuiltInFont(16);
};

// An adapter mode beyond the VGA ones, with its parameter record and extended registers.
struct ExtendedMode {
  testing_support::ExMode mode;
  std::uint8_t parameterIndex = 0;  // ExRegRecord byte 2: the parameter record the mode uses
  std::uint8_t flags = 0;           // ExRegRecord byte 0
  std::uint8_t crtc1B = 0;
  std::uint16_t clockWord = 0;
};

// Where the sample's structures lie.
testing_support::RomLayout SampleLayout();

// The adapter modes of the sample, in list order.
const std::vector<ExtendedMode>& SampleExtendedModes();

// The parameter record (64 bytes) of each of the 29 VGA records followed by the adapter modes' ones.
std::vector<std::array<std::uint8_t, 64>> SampleParameterRecords();

// Reads cp850-8x8, cp850-8x14 and cp850-8x16 (".psf.gz" or ".psf") from `directory`. A font
// that cannot be read keeps the built-in letters; `notes` then says why.
SampleFonts LoadSampleFonts(const std::filesystem::path& directory, std::vector<std::string>& notes);

// The whole sample image, checksum included.
testing_support::RomBuilder BuildSampleRom(const SampleFonts& fonts);

}  // namespace sample_rom
