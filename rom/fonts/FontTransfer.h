#pragma once
// Whole fonts of the image to and from files: the full fonts as raw, PSF or
// PNG files, the fix-up tables as JSON. The format follows the file's name.

#include <cstdint>
#include <string>
#include <vector>

#include "rom/FontLayout.h"

namespace rom::fonts {

// The file bytes of font `kind` of RomImage in the format `fileName` asks for;
// false, with the reason, when that format does not fit the font or the font
// does not lie in the image.
bool ExportFont(const FontKind& kind, const std::string& fileName, std::vector<std::uint8_t>& out, std::string& error);

// Replaces font `kind` of RomImage with the file `fileName` holding `bytes`.
// Nothing is written unless the whole file fits the font; `note` says what of
// the file was left out.
bool ImportFont(const FontKind& kind, const std::string& fileName, const std::vector<std::uint8_t>& bytes,
                std::string& note, std::string& error);

}  // namespace rom::fonts
