// Writes a well-formed sample image: make_sample_rom OUTPUT.rom
#include <cstdio>

#include "tests/support/RomBuilder.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT.rom\n", argv[0]);
    return 2;
  }
  testing_support::RomBuilder builder;
  builder.SignatureText("OMBRIX VGA BIOS ").FixChecksum();
  builder.WriteFile(argv[1]);
  return 0;
}
