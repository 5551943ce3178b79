#pragma once
// Builds BMP file bytes for tests: a valid file of any size and depth, whose
// fields a test can then spoil one at a time.

#include <cstdint>
#include <vector>

#include "base/text.h"

namespace lumigrab::testing {

struct BmpSpec {
  std::int32_t width = 2;
  std::int32_t height = 2;  // negative: top-down
  std::uint16_t bitCount = 24;
  std::uint32_t compression = 0;
  std::uint32_t coloursUsed = 0;
  std::uint32_t headerSize = 40;
};

// A complete, valid file: headers, a palette of the full size for 8 bits or
// fewer (grey levels), three masks for bit fields, and zeroed pixel rows.
inline Bytes MakeBmp(const BmpSpec& spec) {
  const std::uint32_t palette =
      spec.bitCount <= 8 ? (spec.coloursUsed != 0 ? spec.coloursUsed : 1u << spec.bitCount)
                         : spec.coloursUsed;
  const std::uint32_t masks = (spec.compression == 3 && spec.headerSize == 40) ? 12 : 0;
  const std::uint32_t offset = 14 + spec.headerSize + masks + palette * 4;
  const std::uint32_t stride = (static_cast<std::uint32_t>(spec.width) * spec.bitCount + 31) / 32 * 4;
  const std::uint32_t rows = static_cast<std::uint32_t>(spec.height < 0 ? -spec.height : spec.height);
  const std::uint32_t size = offset + stride * rows;
  Bytes b(size, 0);
  auto put32 = [&](std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
  };
  auto put16 = [&](std::size_t at, std::uint16_t v) {
    b[at] = static_cast<std::uint8_t>(v);
    b[at + 1] = static_cast<std::uint8_t>(v >> 8);
  };
  b[0] = 'B';
  b[1] = 'M';
  put32(2, size);
  put32(10, offset);
  put32(14, spec.headerSize);
  put32(18, static_cast<std::uint32_t>(spec.width));
  put32(22, static_cast<std::uint32_t>(spec.height));
  put16(26, 1);
  put16(28, spec.bitCount);
  put32(30, spec.compression);
  put32(34, stride * rows);
  put32(46, spec.coloursUsed);
  std::size_t at = 14 + spec.headerSize;
  if (masks != 0) {
    put32(at, 0x00FF0000);
    put32(at + 4, 0x0000FF00);
    put32(at + 8, 0x000000FF);
    at += 12;
  }
  for (std::uint32_t i = 0; i < palette; ++i, at += 4) {
    const auto level = static_cast<std::uint8_t>(palette > 1 ? i * 255 / (palette - 1) : 0);
    b[at] = b[at + 1] = b[at + 2] = level;
  }
  return b;
}

inline void Put32(Bytes& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
}

inline void Put16(Bytes& b, std::size_t at, std::uint16_t v) {
  b[at] = static_cast<std::uint8_t>(v);
  b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

}  // namespace lumigrab::testing
