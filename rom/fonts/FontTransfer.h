#pragma once
// Whole fonts of the image to and from files: the full fonts as raw, PSF or
// PNG files, the fix-up tables as JSON. The format follows the file's name.

#include <cstdint>
#include <string>
#include <vector>

#include "rom/FontLayout.h"

namespace rom::fonts {

// The file bytes of the font at `place` of `image` in the format `fileName` asks
// for; false, with the reason, when that format does not fit the font or the font
// does not lie in the image.
bool ExportFont(const ImageBytes& image, const FontPlace& place, const std::string& fileName,
                std::vector<std::uint8_t>& out, std::string& error);

// Replaces the font at `place` of `image` with the file `fileName` holding `bytes`.
// Nothing is written unless the whole file fits the font; `note` says what of
// the file was left out.
bool ImportFont(ImageBytes image, const FontPlace& place, const std::string& fileName,
                const std::vector<std::uint8_t>& bytes, std::string& note, std::string& error);

// The same for font `kind` of RomImage where the OEM pointer table locates it.
bool ExportFont(const FontKind& kind, const std::string& fileName, std::vector<std::uint8_t>& out, std::string& error);
bool ImportFont(const FontKind& kind, const std::string& fileName, const std::vector<std::uint8_t>& bytes,
                std::string& note, std::string& error);

}  // namespace rom::fonts
