#include "rom/fonts/FontFile.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cctype>

#include "rom/fonts/PngSheet.h"

namespace rom::fonts {
namespace {

constexpr int kGlyphCount = 256;
// Larger than any console font; a damaged or hostile gzip stream stops here.
constexpr std::size_t kMaxUnpackedSize = 1 << 20;

constexpr std::array<std::uint8_t, 2> kPsf1Magic = {0x36, 0x04};
constexpr std::size_t kPsf1HeaderSize = 4;
constexpr std::uint8_t kPsf1Mode512 = 0x01;
constexpr std::array<std::uint8_t, 4> kPsf2Magic = {0x72, 0xB5, 0x4A, 0x86};
constexpr std::uint32_t kPsf2HeaderSize = 32;

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

bool EndsWith(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// The name without a trailing ".gz", in lower case.
std::string UnpackedName(const std::string& fileName) {
  std::string name = Lower(fileName);
  if (EndsWith(name, ".gz")) name.resize(name.size() - 3);
  return name;
}

template <std::size_t N>
bool StartsWith(const std::vector<std::uint8_t>& bytes, const std::array<std::uint8_t, N>& magic) {
  return bytes.size() >= N && std::equal(magic.begin(), magic.end(), bytes.begin());
}

std::uint32_t Dword(const std::vector<std::uint8_t>& bytes, std::size_t at) {
  return static_cast<std::uint32_t>(bytes[at]) | static_cast<std::uint32_t>(bytes[at + 1]) << 8 |
         static_cast<std::uint32_t>(bytes[at + 2]) << 16 | static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

void PutDword(std::vector<std::uint8_t>& bytes, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

std::string HeightMismatch(std::uint64_t got, int height) {
  return "its glyphs are " + std::to_string(got) + " rows high; this font's are " + std::to_string(height);
}

// The first 256 glyphs of `count` glyphs of `height` rows starting at `offset`,
// the caller having checked that they lie in `bytes`.
Glyphs TakeGlyphs(const std::vector<std::uint8_t>& bytes, std::size_t offset, int height, std::uint64_t count,
                  std::string& note) {
  Glyphs glyphs;
  glyphs.height = height;
  const auto begin = bytes.begin() + static_cast<std::ptrdiff_t>(offset);
  glyphs.rows.assign(begin, begin + static_cast<std::ptrdiff_t>(kGlyphCount * height));
  if (count > kGlyphCount) {
    note = "the file holds " + std::to_string(count) + " glyphs; the first 256 were taken";
  }
  return glyphs;
}

std::optional<Glyphs> DecodePsf1(const std::vector<std::uint8_t>& bytes, int height, std::string& note,
                                 std::string& error) {
  if (bytes.size() < kPsf1HeaderSize) {
    error = "the PSF header is cut short";
    return std::nullopt;
  }
  if (bytes[3] != height) {
    error = HeightMismatch(bytes[3], height);
    return std::nullopt;
  }
  const std::uint64_t count = (bytes[2] & kPsf1Mode512) != 0 ? 512 : 256;
  const std::uint64_t needed = kPsf1HeaderSize + count * static_cast<std::uint64_t>(height);
  if (bytes.size() < needed) {
    error = "the file ends after " + std::to_string(bytes.size()) + " bytes, inside its " + std::to_string(count) +
            " glyphs (" + std::to_string(needed) + " bytes with the header)";
    return std::nullopt;
  }
  return TakeGlyphs(bytes, kPsf1HeaderSize, height, count, note);
}

std::optional<Glyphs> DecodePsf2(const std::vector<std::uint8_t>& bytes, int height, std::string& note,
                                 std::string& error) {
  if (bytes.size() < kPsf2HeaderSize) {
    error = "the PSF2 header is cut short";
    return std::nullopt;
  }
  const std::uint32_t headerSize = Dword(bytes, 8);
  const std::uint32_t count = Dword(bytes, 16);
  const std::uint32_t charSize = Dword(bytes, 20);
  const std::uint32_t glyphHeight = Dword(bytes, 24);
  const std::uint32_t width = Dword(bytes, 28);
  const std::uint64_t rowBytes = (static_cast<std::uint64_t>(width) + 7) / 8;
  if (headerSize < kPsf2HeaderSize) {
    error = "the PSF2 header gives its own size as " + std::to_string(headerSize) + " bytes, less than 32";
  } else if (width != 8) {
    error = "its glyphs are " + std::to_string(width) + " pixels wide; the image's fonts are 8 wide";
  } else if (charSize != rowBytes * glyphHeight) {
    error = "the PSF2 header gives " + std::to_string(charSize) + " bytes per glyph, but glyphs of " +
            std::to_string(glyphHeight) + " rows take " + std::to_string(rowBytes * glyphHeight);
  } else if (glyphHeight != static_cast<std::uint32_t>(height)) {
    error = HeightMismatch(glyphHeight, height);
  } else if (count < kGlyphCount) {
    error = "the file holds " + std::to_string(count) + " glyphs; a font of the image has 256";
  } else if (static_cast<std::uint64_t>(headerSize) + static_cast<std::uint64_t>(count) * charSize > bytes.size()) {
    error = "the PSF2 header promises " + std::to_string(count) + " glyphs from offset " + std::to_string(headerSize) +
            ", but the file ends after " + std::to_string(bytes.size()) + " bytes";
  }
  if (!error.empty()) return std::nullopt;
  return TakeGlyphs(bytes, headerSize, height, count, note);
}

std::optional<Glyphs> DecodeRaw(const std::vector<std::uint8_t>& bytes, const std::string& name, int height,
                                std::string& error) {
  const int nameHeight = RawHeightOfName(name);
  const std::size_t expected = static_cast<std::size_t>(kGlyphCount * height);
  if (nameHeight != height) {
    error = "a raw font file named ." + name.substr(name.size() - 3) + " holds glyphs " + std::to_string(nameHeight) +
            " rows high; this font's are " + std::to_string(height);
  } else if (bytes.size() != expected) {
    error = "a raw font of 256 glyphs of " + std::to_string(height) + " rows is " + std::to_string(expected) +
            " bytes; the file has " + std::to_string(bytes.size());
  }
  if (!error.empty()) return std::nullopt;
  std::string note;
  return TakeGlyphs(bytes, 0, height, kGlyphCount, note);
}

std::vector<std::uint8_t> EncodePsf(const Glyphs& glyphs, bool version2) {
  std::vector<std::uint8_t> bytes;
  if (version2) {
    bytes.assign(kPsf2Magic.begin(), kPsf2Magic.end());
    for (std::uint32_t field :
         {0u, kPsf2HeaderSize, 0u, static_cast<std::uint32_t>(kGlyphCount), static_cast<std::uint32_t>(glyphs.height),
          static_cast<std::uint32_t>(glyphs.height), 8u}) {
      PutDword(bytes, field);
    }
  } else {
    bytes = {kPsf1Magic[0], kPsf1Magic[1], 0x00, static_cast<std::uint8_t>(glyphs.height)};
  }
  bytes.insert(bytes.end(), glyphs.rows.begin(), glyphs.rows.end());
  return bytes;
}

// A font file as it is once unpacked; one layer of gzip is all a font file has.
std::optional<Glyphs> DecodeUnpacked(const std::vector<std::uint8_t>& bytes, const std::string& fileName, int height,
                                     std::string& note, std::string& error) {
  if (StartsWith(bytes, kPsf1Magic)) return DecodePsf1(bytes, height, note, error);
  if (StartsWith(bytes, kPsf2Magic)) return DecodePsf2(bytes, height, note, error);
  const std::optional<FontFormat> format = FormatOfName(fileName);
  if (format == FontFormat::kRaw) return DecodeRaw(bytes, UnpackedName(fileName), height, error);
  if (format == FontFormat::kPsf1 || format == FontFormat::kPsf2) {
    error = "it does not begin as a PSF font does";
  } else {
    error = "it is no font file this program reads (raw .f08, .f14 or .f16, or PSF .psf, .psf2, .psf.gz)";
  }
  return std::nullopt;
}

}  // namespace

std::optional<FontFormat> FormatOfName(const std::string& fileName) {
  const std::string name = Lower(fileName);
  const std::string unpacked = UnpackedName(fileName);
  if (RawHeightOfName(unpacked) != 0) return FontFormat::kRaw;
  if (EndsWith(unpacked, ".psf")) return FontFormat::kPsf1;
  if (EndsWith(unpacked, ".psf2")) return FontFormat::kPsf2;
  if (name != unpacked) return std::nullopt;  // only font files are read compressed
  if (EndsWith(name, ".png")) return FontFormat::kPng;
  if (EndsWith(name, ".json")) return FontFormat::kJson;
  return std::nullopt;
}

int RawHeightOfName(const std::string& fileName) {
  const std::string name = UnpackedName(fileName);
  for (int height : {8, 14, 16}) {
    const std::string tail = height < 10 ? ".f0" + std::to_string(height) : ".f" + std::to_string(height);
    if (EndsWith(name, tail)) return height;
  }
  return 0;
}

std::optional<std::vector<std::uint8_t>> Gunzip(const std::vector<std::uint8_t>& bytes, std::string& error) {
  z_stream stream{};
  if (inflateInit2(&stream, 16 + MAX_WBITS) != Z_OK) {
    error = "cannot start decompression";
    return std::nullopt;
  }
  std::vector<std::uint8_t> out;
  std::array<std::uint8_t, 16384> chunk{};
  stream.next_in = const_cast<Bytef*>(bytes.data());
  stream.avail_in = static_cast<uInt>(bytes.size());
  int status = Z_OK;
  while (status == Z_OK && out.size() <= kMaxUnpackedSize) {
    stream.next_out = chunk.data();
    stream.avail_out = static_cast<uInt>(chunk.size());
    status = inflate(&stream, Z_NO_FLUSH);
    out.insert(out.end(), chunk.begin(), chunk.begin() + static_cast<std::ptrdiff_t>(chunk.size() - stream.avail_out));
    if (status == Z_BUF_ERROR && stream.avail_in == 0) break;
  }
  inflateEnd(&stream);
  if (out.size() > kMaxUnpackedSize) {
    error = "the compressed file unpacks to more than 1 MB, too much for a console font";
  } else if (status != Z_STREAM_END) {
    error = "the gzip stream is damaged or cut short";
  }
  if (!error.empty()) return std::nullopt;
  return out;
}

std::optional<Glyphs> DecodeFontFile(const std::vector<std::uint8_t>& bytes, const std::string& fileName, int height,
                                     std::string& note, std::string& error) {
  if (bytes.size() < 2 || bytes[0] != 0x1F || bytes[1] != 0x8B)
    return DecodeUnpacked(bytes, fileName, height, note, error);
  std::optional<std::vector<std::uint8_t>> unpacked = Gunzip(bytes, error);
  if (!unpacked) return std::nullopt;
  return DecodeUnpacked(*unpacked, UnpackedName(fileName), height, note, error);
}

std::vector<std::uint8_t> EncodeFontFile(const Glyphs& glyphs, FontFormat format) {
  switch (format) {
    case FontFormat::kPsf1: return EncodePsf(glyphs, false);
    case FontFormat::kPsf2: return EncodePsf(glyphs, true);
    case FontFormat::kPng: return EncodePngSheet(glyphs);
    default: return glyphs.rows;
  }
}

}  // namespace rom::fonts
