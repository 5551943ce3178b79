// Bitmaps from BMP bytes and image strips on the real GDI of Wine, and the
// program's own resources (icon, version, manifest, skin picture), which
// this test program carries like the product does.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "base/files.h"
#include "base/text_marks.h"
#include "tests/ui/bmp_builder.h"
#include "ui/bitmaps.h"
#include "ui/bmp_bytes.h"
#include "ui/gdi_handles.h"

namespace lumigrab {
namespace {

using testing::MakeBmp;
using testing::Put32;

struct BitmapSize {
  int width;
  int height;
};

BitmapSize SizeOf(HBITMAP bitmap) {
  BITMAP description{};
  GetObjectA(bitmap, sizeof description, &description);
  return {description.bmWidth, description.bmHeight};
}

COLORREF PixelOf(HBITMAP bitmap, int x, int y) {
  WindowDc screen(nullptr);
  UniqueMemoryDc memory(CreateCompatibleDC(screen.get()));
  SelectedObject selected(memory.get(), bitmap);
  return GetPixel(memory.get(), x, y);
}

// A 24-bit picture with the given pixels, one row, blue-green-red bytes.
Bytes OneRow(std::initializer_list<std::uint32_t> colours) {
  Bytes bytes = MakeBmp({.width = static_cast<std::int32_t>(colours.size()), .height = 1});
  std::size_t at = 54;
  for (std::uint32_t c : colours) {  // c as 0x00BBGGRR
    bytes[at++] = static_cast<std::uint8_t>(c >> 16);
    bytes[at++] = static_cast<std::uint8_t>(c >> 8);
    bytes[at++] = static_cast<std::uint8_t>(c);
  }
  return bytes;
}

TEST(BitmapFromBytes, MakesBitmapsOfTheFilesSizeAndColours) {
  UniqueGdiObject<HBITMAP> white(BitmapFromBytes(WhitePixelBmp()));
  ASSERT_NE(white, nullptr);
  EXPECT_EQ(SizeOf(white.get()).width, 1);
  EXPECT_EQ(SizeOf(white.get()).height, 1);
  EXPECT_EQ(PixelOf(white.get(), 0, 0), RGB(255, 255, 255));

  Bytes thirteen = MakeBmp({.width = 13, .height = 13});
  thirteen.resize(576);
  UniqueGdiObject<HBITMAP> square(BitmapFromBytes(thirteen));
  ASSERT_NE(square, nullptr);
  EXPECT_EQ(SizeOf(square.get()).width, 13);
  EXPECT_EQ(SizeOf(square.get()).height, 13);

  UniqueGdiObject<HBITMAP> row(BitmapFromBytes(OneRow({RGB(255, 0, 0), RGB(0, 0, 255), RGB(1, 2, 3)})));
  EXPECT_EQ(PixelOf(row.get(), 0, 0), RGB(255, 0, 0));
  EXPECT_EQ(PixelOf(row.get(), 1, 0), RGB(0, 0, 255));
  EXPECT_EQ(PixelOf(row.get(), 2, 0), RGB(1, 2, 3));

  // A palette picture: 4 bits, 16 grey levels, pixel values 0 and 15.
  Bytes grey = MakeBmp({.width = 2, .height = 1, .bitCount = 4});
  grey[118] = 0x0F;
  UniqueGdiObject<HBITMAP> palette(BitmapFromBytes(grey));
  EXPECT_EQ(PixelOf(palette.get(), 0, 0), RGB(0, 0, 0));
  EXPECT_EQ(PixelOf(palette.get(), 1, 0), RGB(255, 255, 255));
}

TEST(BitmapFromBytes, GivesNoBitmapForBytesThatAreNoWholeBmp) {
  const Bytes white = WhitePixelBmp();
  Bytes pastEnd = white;
  Put32(pastEnd, 10, 5000);
  Bytes hugeRows = white;
  Put32(hugeRows, 22, 100000);
  struct Case {
    const char* name;
    Bytes bytes;
  };
  const Case cases[] = {
      {"empty", {}},
      {"file header only", Bytes(white.begin(), white.begin() + 14)},
      {"cut before the pixels", Bytes(white.begin(), white.begin() + 60)},
      {"pixel offset past the end", pastEnd},
      {"more rows than bytes", hugeRows},
      {"text", TextToBytes("not a picture at all, but long enough to hold the headers of one")},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(BitmapFromBytes(c.bytes), nullptr) << c.name;
  }

  // Valid pictures with random header bytes: whatever comes back is a
  // bitmap of its own or nothing.
  std::mt19937 random(7);
  for (int round = 0; round < 300; ++round) {
    Bytes bytes = MakeBmp({.width = 1 + round % 9, .height = 1 + round % 4});
    bytes[random() % 54] = static_cast<std::uint8_t>(random());
    UniqueGdiObject<HBITMAP> bitmap(BitmapFromBytes(bytes));
    if (bitmap != nullptr) {
      EXPECT_EQ(GetObjectType(bitmap.get()), static_cast<DWORD>(OBJ_BITMAP));
    }
  }
}

TEST(ImageStrip, IsCreatedOnceAndCountsItsImages) {
  ImageStrip strip;
  EXPECT_EQ(strip.Handle(), nullptr);
  HIMAGELIST list = strip.Create(1, 1, 1);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(strip.Create(16, 16, 4), list);
  EXPECT_EQ(strip.ImageWidth(), 1);
  EXPECT_EQ(strip.ImageHeight(), 1);
  EXPECT_EQ(ImageList_GetBkColor(list), CLR_NONE);

  EXPECT_EQ(strip.AddBitmapFromBytes(WhitePixelBmp()), 0);
  EXPECT_EQ(strip.AddBitmapFromBytes(WhitePixelBmp()), 1);
  EXPECT_EQ(strip.AddBitmapFromBytes(Bytes{}), -1);
  EXPECT_EQ(ImageList_GetImageCount(list), 2);

  strip.Release();
  EXPECT_EQ(strip.Handle(), nullptr);
  strip.Release();  // nothing left to release
}

TEST(ImageStrip, PureWhiteIsTransparentAndEveryOtherColourDrawn) {
  ImageStrip strip;
  strip.Create(3, 1, 1);
  // Pure white, one step off white, grey.
  const COLORREF offWhite = RGB(255, 255, 254);
  ASSERT_EQ(strip.AddBitmapFromBytes(OneRow({RGB(255, 255, 255), offWhite, RGB(128, 128, 128)})), 0);

  WindowDc screen(nullptr);
  UniqueMemoryDc memory(CreateCompatibleDC(screen.get()));
  UniqueGdiObject<HBITMAP> canvas(CreateCompatibleBitmap(screen.get(), 3, 1));
  SelectedObject selected(memory.get(), canvas.get());
  const RECT all{0, 0, 3, 1};
  UniqueGdiObject<HBRUSH> green(CreateSolidBrush(RGB(0, 255, 0)));
  FillRect(memory.get(), &all, green.get());
  ASSERT_TRUE(ImageList_Draw(strip.Handle(), 0, memory.get(), 0, 0, ILD_NORMAL));
  EXPECT_EQ(GetPixel(memory.get(), 0, 0), RGB(0, 255, 0)) << "white shows the background";
  EXPECT_EQ(GetPixel(memory.get(), 1, 0), offWhite);
  EXPECT_EQ(GetPixel(memory.get(), 2, 0), RGB(128, 128, 128));

  // The mask alone, on white: white where the picture is transparent.
  FillRect(memory.get(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  ASSERT_TRUE(ImageList_Draw(strip.Handle(), 0, memory.get(), 0, 0, ILD_MASK));
  EXPECT_EQ(GetPixel(memory.get(), 0, 0), RGB(255, 255, 255));
  EXPECT_EQ(GetPixel(memory.get(), 1, 0), RGB(0, 0, 0));
  EXPECT_EQ(GetPixel(memory.get(), 2, 0), RGB(0, 0, 0));
}

TEST(ImageStrip, AddsFilesAndResources) {
  char folder[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, folder);
  const Text path = Text(folder) + "lumigrab_strip_test.bmp";
  {
    FileObject file = OpenFile(path, 4);
    ASSERT_TRUE(WriteBytes(file, MakeBmp({.width = 8, .height = 8})));
  }
  char program[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, program, MAX_PATH);
  const Text moduleName = TextAfterLast(program, "\\");

  ImageStrip strip;
  strip.Create(8, 8, 2);
  EXPECT_EQ(strip.AddFromFile(path), 0);
  EXPECT_EQ(strip.AddFromFile(path + ".missing"), -1);
  EXPECT_EQ(strip.AddIconResource(moduleName, 129), 1) << "the program's own icon";
  EXPECT_EQ(strip.AddIconResource(Text(), 129), 2) << "an empty name is the program";
  EXPECT_EQ(strip.AddIconResource(moduleName, 4242), -1);
  EXPECT_EQ(strip.AddBitmapResource(moduleName, 129), -1) << "129 is an icon, not a bitmap";
  EXPECT_EQ(ImageList_GetImageCount(strip.Handle()), 3);
  DeleteFileA(path.c_str());
}

TEST(ImageStrip, CopiesShareTheListUntilTheLastLetsGo) {
  ImageStrip strip;
  HIMAGELIST list = strip.Create(1, 1, 1);
  strip.AddBitmapFromBytes(WhitePixelBmp());
  {
    std::unique_ptr<ImageStrip> copy = strip.Copy();
    EXPECT_EQ(copy->Handle(), list);
    EXPECT_EQ(copy->ImageWidth(), 1);
  }
  EXPECT_EQ(ImageList_GetImageCount(list), 1) << "still alive after the copy ended";
}

TEST(ProgramResources, IconVersionAndManifestAreThere) {
  HINSTANCE self = GetModuleHandleA(nullptr);
  EXPECT_NE(LoadIconA(self, MAKEINTRESOURCEA(129)), nullptr);

  char program[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, program, MAX_PATH);
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeA(program, &ignored);
  ASSERT_GT(size, 0u);
  std::string block(size, '\0');
  ASSERT_TRUE(GetFileVersionInfoA(program, 0, size, block.data()));
  char* name = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(block.data(), "\\StringFileInfo\\040904B0\\ProductName",
                             reinterpret_cast<void**>(&name), &length));
  EXPECT_STREQ(name, "Lumigrab");
  VS_FIXEDFILEINFO* fixed = nullptr;
  ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);

  HRSRC manifest = FindResourceA(self, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
  ASSERT_NE(manifest, nullptr);
  const auto* text = static_cast<const char*>(LockResource(LoadResource(self, manifest)));
  const std::string xml(text, SizeofResource(self, manifest));
  EXPECT_NE(xml.find("Microsoft.Windows.Common-Controls"), std::string::npos);

  // The manifest brings version 6 of the common controls from the side-by-side store.
  HMODULE controls = GetModuleHandleA("comctl32.dll");
  ASSERT_NE(controls, nullptr);
  char path[MAX_PATH] = {};
  GetModuleFileNameA(controls, path, MAX_PATH);
  EXPECT_NE(std::string(path).find("6.0."), std::string::npos) << path;
}

TEST(ProgramResources, TheSkinPictureBesideTheProgramFitsTheMainWindow) {
  FileObject file = OpenFile(ExeDir() + "\\img\\stickers.bmp", 1);
  ASSERT_FALSE(file.IsNull());
  const Bytes bytes = ReadBytes(file, FileLength(file));
  const std::optional<BmpLayout> layout = InspectBmp(bytes);
  ASSERT_TRUE(layout.has_value());
  EXPECT_EQ(layout->bitCount, 24);
  UniqueGdiObject<HBITMAP> logo(BitmapFromBytes(bytes));
  ASSERT_NE(logo, nullptr);
  const BitmapSize size = SizeOf(logo.get());

  // The logo sits at (20, 70) in the client area of the 470 x 150 main
  // window, left of the version text at x = 288.
  RECT frame{0, 0, 0, 0};
  AdjustWindowRect(&frame, 0x004F0000, FALSE);
  const int clientHeight = 150 - (frame.bottom - frame.top);
  EXPECT_LE(20 + size.width, 288);
  EXPECT_LE(70 + size.height, clientHeight);
  EXPECT_GE(size.width, 80);
}

}  // namespace
}  // namespace lumigrab
