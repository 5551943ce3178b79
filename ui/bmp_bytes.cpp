#include "ui/bmp_bytes.h"

#include <algorithm>

namespace lumigrab {
namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kRgb = 0;        // BI_RGB
constexpr std::uint32_t kBitFields = 3;  // BI_BITFIELDS

std::uint32_t Read32(const Bytes& b, std::size_t at) {
  return static_cast<std::uint32_t>(b[at]) | static_cast<std::uint32_t>(b[at + 1]) << 8 |
         static_cast<std::uint32_t>(b[at + 2]) << 16 |
         static_cast<std::uint32_t>(b[at + 3]) << 24;
}

std::uint16_t Read16(const Bytes& b, std::size_t at) {
  return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}

// The info-header kinds the system reads as a fixed block: the plain header
// and its extensions with masks (52, 56) and colour-space fields (108, 124).
// The 12-byte core header is laid out differently and is not taken.
bool IsKnownHeaderSize(std::uint32_t size) {
  return size == 40 || size == 52 || size == 56 || size == 108 || size == 124;
}

bool IsKnownBitCount(std::uint16_t bits) {
  return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

// Colour-space kinds of the larger headers that point at a colour profile
// elsewhere in the file or on disk: reading them is not bounded here.
constexpr std::uint32_t kProfileLinked = 0x4C494E4B;    // 'LINK'
constexpr std::uint32_t kProfileEmbedded = 0x4D424544;  // 'MBED'

}  // namespace

std::optional<BmpLayout> InspectBmp(const Bytes& bytes) {
  const std::uint64_t size = bytes.size();
  if (size < kFileHeaderSize + kInfoHeaderSize) return std::nullopt;

  BmpLayout layout{};
  layout.fileSize = Read32(bytes, 2);
  layout.bitsOffset = Read32(bytes, 10);
  layout.headerSize = Read32(bytes, 14);
  layout.width = static_cast<std::int32_t>(Read32(bytes, 18));
  layout.height = static_cast<std::int32_t>(Read32(bytes, 22));
  const std::uint16_t planes = Read16(bytes, 26);
  layout.bitCount = Read16(bytes, 28);
  layout.compression = Read32(bytes, 30);
  const std::uint32_t coloursUsed = Read32(bytes, 46);

  if (!IsKnownHeaderSize(layout.headerSize)) return std::nullopt;
  if (kFileHeaderSize + layout.headerSize > size) return std::nullopt;
  if (layout.headerSize >= 108) {
    const std::uint32_t colourSpace = Read32(bytes, kFileHeaderSize + 56);
    if (colourSpace == kProfileLinked || colourSpace == kProfileEmbedded) return std::nullopt;
  }
  if (layout.width <= 0 || layout.height == 0 || layout.height == INT32_MIN) return std::nullopt;
  if (planes != 1 || !IsKnownBitCount(layout.bitCount)) return std::nullopt;
  const bool masks = layout.compression == kBitFields;
  if (layout.compression != kRgb &&
      !(masks && (layout.bitCount == 16 || layout.bitCount == 32))) {
    return std::nullopt;
  }

  // The system reads biClrUsed colours, or the full palette of a picture of
  // 8 bits or fewer when it is 0; three masks come first when the plain
  // header announces them.
  std::uint64_t colours = coloursUsed;
  if (layout.bitCount <= 8) {
    const std::uint64_t palette = std::uint64_t{1} << layout.bitCount;
    if (colours == 0) colours = palette;
    if (colours > palette) return std::nullopt;
  } else if (colours > 256) {
    return std::nullopt;
  }
  const std::uint64_t maskBytes = (masks && layout.headerSize == kInfoHeaderSize) ? 12 : 0;
  const std::uint64_t colourBytes = maskBytes + colours * 4;
  if (kFileHeaderSize + layout.headerSize + colourBytes > layout.bitsOffset) return std::nullopt;
  if (layout.bitsOffset > size) return std::nullopt;
  layout.colourBytes = static_cast<std::uint32_t>(colourBytes);

  // Rows are padded to whole 32-bit words; all of them must be there.
  const std::uint64_t stride =
      (static_cast<std::uint64_t>(layout.width) * layout.bitCount + 31) / 32 * 4;
  const std::uint64_t rows = static_cast<std::uint64_t>(
      layout.height < 0 ? -static_cast<std::int64_t>(layout.height) : layout.height);
  const std::uint64_t available = size - layout.bitsOffset;
  if (rows > available / stride) return std::nullopt;
  layout.bitsSize = stride * rows;
  return layout;
}

Bytes MaskBytes(const Bytes& bytes) {
  Bytes mask = bytes;
  if (mask.size() < kFileHeaderSize) return mask;
  const std::uint64_t start = Read32(mask, 10);
  const std::uint64_t end = std::min<std::uint64_t>(Read32(mask, 2), mask.size());
  for (std::uint64_t i = start; i < end; ++i) {
    if (mask[i] != 0xFF) mask[i] = 0x00;
  }
  return mask;
}

}  // namespace lumigrab
