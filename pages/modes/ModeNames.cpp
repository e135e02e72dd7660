#include "pages/modes/ModeNames.h"

const std::array<const char*, 29> StdModeNames = {
    "Mode 0 - 40x25 Color Text (8x8 Cell)",
    "Mode 1 - 40x25 Color Text (8x8 Cell)",
    "Mode 2 - 80x25 Color Text (8x8 Cell)",
    "Mode 3 - 80x25 Color Text (8x8 Cell)",
    "Mode 4 - 320x200x2 Color Graphics (8x8 Cell)",
    "Mode 5 - 320x200x2 Color Graphics (8x8 Cell)",
    "Mode 6 - 640x200 Color Graphics (8x8 Cell)",
    "Mode 7 - 80x25 Monochrome Text (9x14 Cell)",
    "Mode 8 - Unused",
    "Mode 9 - Unused",
    "Mode A - Unused",
    "Mode B - Unused",
    "Mode C - Unused",
    "Mode D - 320x200x4 Color Graphics (8x8 Cell)",
    "Mode E - 640x200x4 Color Graphics (8x8 Cell)",
    "Mode F - Unused",
    "Mode 10 - Unused",
    "Mode F - 640x350x2 Monochrome Graphics (8x14 Cell)",
    "Mode 10 - 640x350x4 Color Graphics (8x14 Cell)",
    "Mode 0* - 40x25 Color Text (8x14 Cell)",
    "Mode 1* - 40x25 Color Text (8x14 Cell)",
    "Mode 2* - 80x25 Color Text (8x14 Cell)",
    "Mode 3* - 80x25 Color Text (8x14 Cell)",
    "Mode 0+/1+ - 40x25 Color Text (8x16 Cell)",
    "Mode 2+/3+ - 80x25 Color Text (9x16 Cell)",
    "Mode 7+ - 80x25 Monochrome Text (9x16 Cell)",
    "Mode 11 - 640x480x1 Color Graphics (8x16 Cell)",
    "Mode 12 - 640x480x4 Color Graphics (8x16 Cell)",
    "Mode 13 - 320x200x8 Color Graphics (8x8 Cell)",
};

const std::array<const char*, 11> MemoryModelNames = {
    "Color text",      "Monochrome text", "CGA 4- or 2-color mode", "EGA Monochrome graphics", "Normal 2-color mode",
    "Planar graphics", "8 BPP graphics",  "16 BPP graphics",        "24 BPP graphics",         "NULL Mode",
    "Error Mode",
};
