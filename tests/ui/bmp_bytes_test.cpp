// The BMP checks stand between the bytes of a file and the system's bitmap
// functions, which read wherever the headers point: every range they accept
// must lie inside the bytes. Built natively too, where AddressSanitizer sees
// any read past the end.
#include "ui/bmp_bytes.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "tests/ui/bmp_builder.h"

namespace lumigrab {
namespace {

using testing::BmpSpec;
using testing::MakeBmp;
using testing::Put16;
using testing::Put32;

// What must hold of every accepted layout, whatever the bytes were.
void ExpectInside(const BmpLayout& layout, std::size_t size) {
  EXPECT_LE(14u + layout.headerSize + layout.colourBytes, layout.bitsOffset);
  EXPECT_LE(layout.bitsOffset, size);
  EXPECT_LE(layout.bitsOffset + layout.bitsSize, size);
}

TEST(InspectBmp, AcceptsWellFormedFiles) {
  struct Case {
    const char* name;
    Bytes bytes;
    std::uint32_t bitsOffset;
    std::uint32_t colourBytes;
    std::uint64_t bitsSize;
  };
  Bytes thirteen = MakeBmp({.width = 13, .height = 13, .bitCount = 24});
  thirteen.resize(576);  // two bytes of slack after the rows, as files often have
  const Case cases[] = {
      {"built-in white pixel", WhitePixelBmp(), 62, 8, 4},
      {"13 x 13, 24 bits, 576 bytes", thirteen, 54, 0, 520},
      {"1 bit, full palette", MakeBmp({.width = 9, .height = 3, .bitCount = 1}), 62, 8, 12},
      {"4 bits", MakeBmp({.width = 3, .height = 2, .bitCount = 4}), 118, 64, 8},
      {"8 bits, 16 colours used", MakeBmp({.width = 5, .height = 1, .bitCount = 8, .coloursUsed = 16}),
       118, 64, 8},
      {"16 bits", MakeBmp({.width = 3, .height = 3, .bitCount = 16}), 54, 0, 24},
      {"32 bits with masks", MakeBmp({.width = 2, .height = 2, .bitCount = 32, .compression = 3}), 66,
       12, 16},
      {"top-down", MakeBmp({.width = 2, .height = -3}), 54, 0, 24},
      {"version 5 header", MakeBmp({.width = 1, .height = 1, .bitCount = 32, .headerSize = 124}), 138,
       0, 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::optional<BmpLayout> layout = InspectBmp(c.bytes);
    ASSERT_TRUE(layout.has_value());
    EXPECT_EQ(layout->bitsOffset, c.bitsOffset);
    EXPECT_EQ(layout->colourBytes, c.colourBytes);
    EXPECT_EQ(layout->bitsSize, c.bitsSize);
    ExpectInside(*layout, c.bytes.size());
  }
}

TEST(InspectBmp, RefusesEveryTruncationOfAFile) {
  for (const BmpSpec& spec : {BmpSpec{.width = 3, .height = 2, .bitCount = 24},
                              BmpSpec{.width = 5, .height = 2, .bitCount = 8}}) {
    const Bytes whole = MakeBmp(spec);
    ASSERT_TRUE(InspectBmp(whole).has_value());
    for (std::size_t length = 0; length < whole.size(); ++length) {
      // A copy of exactly that length, so a read past it is a read past the
      // allocation.
      const Bytes cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(length));
      EXPECT_FALSE(InspectBmp(cut).has_value()) << "length " << length;
    }
  }
}

TEST(InspectBmp, RefusesHeadersThatPointOutside) {
  struct Case {
    const char* name;
    std::function<void(Bytes&)> spoil;
  };
  const Case cases[] = {
      {"pixel offset past the end", [](Bytes& b) { Put32(b, 10, static_cast<std::uint32_t>(b.size()) + 1); }},
      {"pixel offset far past the end", [](Bytes& b) { Put32(b, 10, 0xFFFFFFF0u); }},
      {"pixel offset inside the header", [](Bytes& b) { Put32(b, 10, 40); }},
      {"header larger than the file", [](Bytes& b) { Put32(b, 14, 0xFFFFFFFFu); }},
      {"core header", [](Bytes& b) { Put32(b, 14, 12); }},
      {"zero width", [](Bytes& b) { Put32(b, 18, 0); }},
      {"negative width", [](Bytes& b) { Put32(b, 18, 0xFFFFFFFEu); }},
      {"zero height", [](Bytes& b) { Put32(b, 22, 0); }},
      {"most negative height", [](Bytes& b) { Put32(b, 22, 0x80000000u); }},
      {"more rows than bytes", [](Bytes& b) { Put32(b, 22, 3); }},
      {"huge width and height", [](Bytes& b) { Put32(b, 18, 0x7FFFFFFF); Put32(b, 22, 0x7FFFFFFF); }},
      {"two planes", [](Bytes& b) { Put16(b, 26, 2); }},
      {"unknown depth", [](Bytes& b) { Put16(b, 28, 3); }},
      {"run-length compression", [](Bytes& b) { Put32(b, 30, 1); }},
      {"bit fields at 24 bits", [](Bytes& b) { Put32(b, 30, 3); }},
      {"embedded JPEG", [](Bytes& b) { Put32(b, 30, 4); }},
      {"palette larger than 256", [](Bytes& b) { Put32(b, 46, 257); }},
      {"palette of 4 billion colours", [](Bytes& b) { Put32(b, 46, 0xFFFFFFFFu); }},
      {"palette that does not fit before the pixels", [](Bytes& b) { Put32(b, 46, 1); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Bytes bytes = MakeBmp({.width = 2, .height = 2, .bitCount = 24});
    c.spoil(bytes);
    EXPECT_FALSE(InspectBmp(bytes).has_value());
  }

  Bytes palette = MakeBmp({.width = 2, .height = 1, .bitCount = 1});
  Put32(palette, 46, 3);  // 3 colours for 1 bit per pixel
  EXPECT_FALSE(InspectBmp(palette).has_value()) << "more colours than a 1-bit palette has";

  Bytes linked = MakeBmp({.width = 1, .height = 1, .bitCount = 32, .headerSize = 124});
  Put32(linked, 14 + 56, 0x4C494E4B);  // 'LINK': a colour profile elsewhere
  EXPECT_FALSE(InspectBmp(linked).has_value()) << "linked colour profile";
}

TEST(InspectBmp, AcceptsOnlyInsideLayoutsOfGarbage) {
  std::mt19937 random(20240611);
  std::uniform_int_distribution<int> byte(0, 255);
  int accepted = 0;
  // Pure noise of every short length, and valid files with a few header
  // bytes changed at random.
  for (int round = 0; round < 4000; ++round) {
    Bytes bytes;
    if (round % 2 == 0) {
      bytes.resize(static_cast<std::size_t>(round % 200));
      for (auto& b : bytes) b = static_cast<std::uint8_t>(byte(random));
    } else {
      bytes = MakeBmp({.width = 1 + round % 7, .height = 1 + round % 5,
                       .bitCount = static_cast<std::uint16_t>(round % 3 == 0 ? 8 : 24)});
      for (int flips = 0; flips < 3; ++flips) {
        bytes[static_cast<std::size_t>(byte(random)) % 54] = static_cast<std::uint8_t>(byte(random));
      }
    }
    if (const std::optional<BmpLayout> layout = InspectBmp(bytes)) {
      ++accepted;
      ExpectInside(*layout, bytes.size());
    }
  }
  // Some of the lightly changed files must still pass, or the check above
  // would prove nothing.
  EXPECT_GT(accepted, 100);
}

TEST(MaskBytes, KeepsPureWhiteBytesAndBlanksTheRest) {
  Bytes picture = MakeBmp({.width = 2, .height = 1, .bitCount = 24});
  // Blue, green, red: pure white, then FE FF FF (one step off white).
  const Bytes pixels = {0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0xFF, 0x12, 0xFF};
  std::copy(pixels.begin(), pixels.end(), picture.begin() + 54);

  const Bytes mask = MaskBytes(picture);
  ASSERT_EQ(mask.size(), picture.size());
  EXPECT_TRUE(std::equal(picture.begin(), picture.begin() + 54, mask.begin())) << "headers stay";
  const Bytes expected = {0xFF, 0xFF, 0xFF, 0x00, 0xFF, 0xFF, 0x00, 0xFF};
  EXPECT_EQ(Bytes(mask.begin() + 54, mask.end()), expected);
}

TEST(MaskBytes, StopsAtTheStoredSizeOrTheEnd) {
  struct Case {
    const char* name;
    std::uint32_t fileSize;
    std::uint32_t bitsOffset;
    std::size_t firstBlanked;  // pixel bytes before it stay
    std::size_t lastBlanked;   // one past the last blanked byte
  };
  // 54 header bytes and 16 pixel bytes of 0x11.
  const Case cases[] = {
      {"stored size is the file", 70, 54, 54, 70},
      {"stored size shorter", 60, 54, 54, 60},
      {"stored size past the end", 5000, 54, 54, 70},
      {"stored size before the pixels", 20, 54, 54, 54},
      {"pixel offset past the end", 70, 9000, 70, 70},
      {"pixel offset inside the header", 70, 30, 30, 70},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Bytes bytes(70, 0x11);
    Put32(bytes, 2, c.fileSize);
    Put32(bytes, 10, c.bitsOffset);
    const Bytes mask = MaskBytes(bytes);
    for (std::size_t i = 14; i < bytes.size(); ++i) {
      const bool blanked = i >= c.firstBlanked && i < c.lastBlanked;
      EXPECT_EQ(mask[i], blanked ? 0x00 : bytes[i]) << "byte " << i;
    }
  }
  EXPECT_EQ(MaskBytes(Bytes{}), Bytes{});
  EXPECT_EQ(MaskBytes(Bytes(13, 0x42)), Bytes(13, 0x42)) << "shorter than a file header";
}

}  // namespace
}  // namespace lumigrab
