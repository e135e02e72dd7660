#pragma once
// Reading an image file into RomImage and writing RomImage back to a file.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "rom/RomImage.h"

namespace rom {

// Reads an image file. Succeeds only for a readable file of at least two bytes
// that starts with 0x55 0xAA; then RomImage holds its first 32768 bytes (0x00
// past the end of a shorter file) and romLoaded is 1. On failure nothing
// changes: not the image, not a flag.
bool LoadRomFile(const std::filesystem::path& path);

// The byte that, stored last, makes the `length` bytes from `image` sum to 0
// modulo 256: the checksum of an option ROM of that length (32768 for this
// adapter's images).
std::uint8_t ChecksumByteFor(const std::uint8_t* image, std::uint32_t length = kRomSize);

// Recomputes the checksum byte at 0x7FFF of RomImage.
void FixChecksum();

// Writes RomImage with its checksum fixed over the first 32768 bytes of the
// file, keeping any bytes past them. The new content goes to a temporary file
// in the same folder, is flushed, and then replaces the file in one step, so
// the file on disk is always either the old or the new content. Only a save
// that completed fixes the checksum byte in RomImage, clears romModified and
// sets romLoaded. A symbolic link stays a link: the file it leads to is what
// the save replaces, with the temporary file beside that file; a link that
// leads nowhere or round in a circle fails the save and changes nothing.
bool WriteRomFile(const std::filesystem::path& path);

// The same, but the bytes past 32 KB come from the file `tailFrom`: a copy of an
// image file written elsewhere keeps its whole length. False, with nothing
// written, when `tailFrom` cannot be read.
bool WriteRomFile(const std::filesystem::path& path, const std::filesystem::path& tailFrom);

// Writes `content` as the whole new file `path` with the same atomic save: a
// temporary file, flushed, then moved over the file in one step, where `path`'s
// symbolic links lead (the links stay links). An existing file that cannot be
// opened for writing (read-only, locked) fails before anything is written.
bool WriteFileAtomically(const std::filesystem::path& path, const std::vector<std::uint8_t>& content);

// For a person, after WriteRomFile(path) or WriteFileAtomically(path) failed: "could not be written", with
// what the path's symbolic links had to do with it.
std::string SaveFailureText(const std::filesystem::path& path);

}  // namespace rom
