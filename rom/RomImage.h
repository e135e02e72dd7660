#pragma once
// The one in-memory ROM image and its two process-wide flags.

#include <cstdint>
#include <memory>

#include "rom/ImageBytes.h"

namespace rom {

inline constexpr std::uint32_t kRomSize = 0x8000;
inline constexpr std::uint32_t kChecksumOffset = kRomSize - 1;

// The 32 KB image buffer. Every byte access is bounds-checked: positions come
// from pointer words inside the image and are never trusted. The bytes live in
// their own exact-size heap block so that a sanitizer catches any overrun.
class ImageBuffer {
 public:
  ImageBuffer();

  static bool Contains(std::uint32_t offset, std::uint32_t length) {
    return offset <= kRomSize && length <= kRomSize - offset;
  }
  // Outside the image a read gives 0 and a write does nothing; callers check
  // whole structures with Contains() first and refuse them as a whole.
  std::uint8_t Byte(std::uint32_t offset) const;
  void SetByte(std::uint32_t offset, std::uint8_t value);
  std::uint16_t Word(std::uint32_t offset) const;
  void SetWord(std::uint32_t offset, std::uint16_t value);

  const std::uint8_t* data() const { return bytes_.get(); }
  // The 32 KB as the code that works on images of any length sees them.
  ImageBytes View() { return ImageBytes(bytes_.get(), kRomSize); }
  // Replaces the whole image; `size` bytes are copied and the rest becomes 0.
  void Assign(const std::uint8_t* bytes, std::uint32_t size);
  void Clear();

 private:
  std::unique_ptr<std::uint8_t[]> bytes_;
};

extern ImageBuffer RomImage;
extern int romLoaded;
extern int romModified;
// Bumped whenever another image is put into RomImage (a successful load, a
// reset), so that what a page built from the previous image can be rebuilt.
extern unsigned imageGeneration;

// Reads the unsigned little-endian word from two byte positions of RomImage.
std::uint16_t ReadWordLE(std::uint32_t lowPos, std::uint32_t highPos);

// Back to the state at program start (all zero, both flags 0); for tests.
void ResetRomState();

}  // namespace rom
