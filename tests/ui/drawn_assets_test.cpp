// The pictures the build draws: the skin must be a BMP the program accepts,
// and the icon file must hold the three sizes the resource compiler packs.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "ui/bmp_bytes.h"

namespace lumigrab {
namespace {

Bytes ReadWhole(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::uint32_t Read32(const Bytes& b, std::size_t at) {
  return static_cast<std::uint32_t>(b[at] | b[at + 1] << 8 | b[at + 2] << 16 | b[at + 3] << 24);
}

TEST(DrawnAssets, TheSkinIsAWhole24BitBmp) {
  const Bytes skin = ReadWhole(LUMIGRAB_DRAWN_DIR "/stickers.bmp");
  const std::optional<BmpLayout> layout = InspectBmp(skin);
  ASSERT_TRUE(layout.has_value());
  EXPECT_EQ(layout->bitCount, 24);
  EXPECT_EQ(layout->compression, 0u);
  EXPECT_EQ(layout->fileSize, skin.size());
  EXPECT_EQ(layout->bitsOffset + layout->bitsSize, skin.size());
}

TEST(DrawnAssets, TheIconHoldsThreeSizesWithMasks) {
  const Bytes icon = ReadWhole(LUMIGRAB_DRAWN_DIR "/lumigrab.ico");
  ASSERT_GE(icon.size(), 6u + 3 * 16);
  EXPECT_EQ(icon[2], 1) << "an icon, not a cursor";
  ASSERT_EQ(icon[4], 3);
  const int sizes[3] = {16, 32, 48};
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(sizes[i]);
    const std::size_t entry = 6 + 16 * static_cast<std::size_t>(i);
    EXPECT_EQ(icon[entry], sizes[i]);
    EXPECT_EQ(icon[entry + 1], sizes[i]);
    const std::uint32_t length = Read32(icon, entry + 8);
    const std::uint32_t offset = Read32(icon, entry + 12);
    ASSERT_LE(static_cast<std::uint64_t>(offset) + length, icon.size());
    // The colour rows and the 1-bit mask rows under one header of twice
    // the height.
    const auto size = static_cast<std::uint32_t>(sizes[i]);
    EXPECT_EQ(Read32(icon, offset), 40u);
    EXPECT_EQ(Read32(icon, offset + 8), 2 * size);
    const std::uint32_t maskStride = (size + 31) / 32 * 4;
    EXPECT_EQ(length, 40 + size * size * 4 + maskStride * size);
  }
}

}  // namespace
}  // namespace lumigrab
