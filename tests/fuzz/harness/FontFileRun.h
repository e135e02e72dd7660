#pragma once
// One fuzz run of a font import: the first input byte chooses the font and the
// file's name, the rest is the file.

#include <cstddef>
#include <cstdint>
#include <string>

namespace fuzzing {

// The font file names a run can give, chosen by the first byte (see FontFileRun.cpp).
inline constexpr const char* kFontFileNames[] = {"in.f08", "in.f14", "in.f16", "in.psf", "in.psf2", "in.psf.gz"};

// The first input byte that imports into font `kind` (an index of rom::kFontKinds) from
// kFontFileNames[`name`]; a fix-up table always reads JSON.
inline std::uint8_t FontFileSelector(int kind, int name) {
  return static_cast<std::uint8_t>(kind + 5 * name);
}

// ImportFont on an image holding every font; returns the property that did not hold, or "".
std::string RunFontFileInput(const std::uint8_t* data, std::size_t size);

}  // namespace fuzzing
