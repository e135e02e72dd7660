#pragma once
// The 9x14 and 9x16 fix-up tables as JSON: the records in table order, each its
// character code and its rows as hexadecimal texts.
//
//   {"font": "9x16", "height": 16,
//    "records": [{"code": "4D", "rows": ["00", "00", "C3", ...]}, ...]}

#include <string>

#include "rom/FontLayout.h"

namespace rom::fonts {

// The JSON text of the fix-up table of `place` in `image`; false, with the
// reason, when the table does not lie in the image.
bool ExportFixupJson(const ImageBytes& image, const FontPlace& place, std::string& json, std::string& error);

// Replaces the rows of the records that `json` names by code (the n-th record
// of a code in the file is the n-th of that code in the table). Codes, order
// and length of the table never change. Everything is checked before the
// first byte is written: an unknown code, a wrong number of rows or a text
// that is no byte refuses the whole file and writes nothing.
bool ImportFixupJson(ImageBytes image, const FontPlace& place, const std::string& json, std::string& error);

}  // namespace rom::fonts
