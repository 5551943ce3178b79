#pragma once
// The bytes of a BMP file held in memory: where its parts lie, whether they
// lie inside the bytes, the transparency mask made from them, and the
// program's built-in white pixel. Pure: no Windows calls, tested natively.

#include <array>
#include <cstdint>
#include <optional>

#include "base/text.h"

namespace lumigrab {

// Where the parts of a BMP file lie. Every range here lies inside the bytes
// it was taken from.
struct BmpLayout {
  std::uint32_t fileSize;      // bfSize as stored (not checked)
  std::uint32_t bitsOffset;    // bfOffBits
  std::uint32_t headerSize;    // biSize
  std::uint32_t colourBytes;   // colour table (or bit masks) after the header
  std::int32_t width;
  std::int32_t height;         // negative for a top-down picture
  std::uint16_t bitCount;
  std::uint32_t compression;
  std::uint64_t bitsSize;      // bytes the pixel rows take from bitsOffset
};

// The layout of a BMP whose headers, colour table and pixel rows all lie
// inside the bytes; nullopt for anything else: short or empty bytes, offsets
// or sizes past the end, header kinds and compressions whose reading cannot
// be bounded beforehand (the RLE, JPEG and PNG kinds). The system's bitmap
// functions read exactly the ranges of an accepted layout, so handing them an
// accepted file never reads past its end.
std::optional<BmpLayout> InspectBmp(const Bytes& bytes);

// A copy of the bytes in which every pixel byte other than 0xFF becomes 0x00,
// from bfOffBits up to bfSize or the end of the bytes, whichever comes first;
// headers and colour table stay. As a bitmap it is white where the picture is
// pure white (transparent in an image list) and black everywhere else.
Bytes MaskBytes(const Bytes& bytes);

// The program's 1 x 1 white bitmap: 1 bit per pixel, colour 0 white, colour
// 1 black, the pixel colour 0; 68 bytes.
inline constexpr std::array<std::uint8_t, 68> kWhitePixelBmp = {
    0x42, 0x4D, 0x44, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x3E, 0x00,
    0x00, 0x00,
    // info header
    0x28, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00,
    0x01, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x06, 0x00, 0x00, 0x00,
    0x12, 0x0B, 0x00, 0x00, 0x12, 0x0B, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00,
    // colour table: white, black
    0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x00, 0x00,
    // pixel rows
    0x25, 0x00, 0x00, 0x00, 0x00, 0x00};

inline Bytes WhitePixelBmp() { return Bytes(kWhitePixelBmp.begin(), kWhitePixelBmp.end()); }

}  // namespace lumigrab
