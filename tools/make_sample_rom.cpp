// Writes the sample image: make_sample_rom OUTPUT.rom [FONT_DIRECTORY]
//
// The fonts come from the PSF console fonts cp850-8x8, cp850-8x14 and cp850-8x16 in
// FONT_DIRECTORY (default /usr/share/consolefonts, where Debian's kbd package puts them).
// Built with zlib it reads them as installed (.psf.gz); built without, it reads
// decompressed copies (.psf) from that directory. A font it cannot read keeps the
// built-in capital letters and digits, so the tool always writes an image.
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "tools/SampleRom.h"

int main(int argc, char** argv) {
  if (argc != 2 && argc != 3) {
    std::fprintf(stderr, "usage: %s OUTPUT.rom [FONT_DIRECTORY]\n", argv[0]);
    return 2;
  }
  const char* fontDirectory = argc == 3 ? argv[2] : "/usr/share/consolefonts";
  std::vector<std::string> notes;
  const sample_rom::SampleFonts fonts = sample_rom::LoadSampleFonts(fontDirectory, notes);
  for (const std::string& note : notes) std::fprintf(stderr, "%s: %s\n", argv[0], note.c_str());
  try {
    sample_rom::BuildSampleRom(fonts).WriteFile(argv[1]);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s: %s\n", argv[0], e.what());
    return 1;
  }
  return 0;
}
