#include "ui/bitmaps.h"

#include <cstring>
#include <vector>

#include "ui/bmp_bytes.h"
#include "ui/gdi_handles.h"

namespace lumigrab {
namespace {

constexpr std::size_t kFileHeaderSize = 14;
// LR_LOADFROMFILE | LR_LOADTRANSPARENT | LR_LOADMAP3DCOLORS
constexpr UINT kLoadFlags = 0x1030;

struct IconDeleter {
  void operator()(HICON icon) const { DestroyIcon(icon); }
};
using UniqueIcon = std::unique_ptr<std::remove_pointer_t<HICON>, IconDeleter>;

}  // namespace

HBITMAP BitmapFromBytes(const Bytes& bytes) {
  const std::optional<BmpLayout> layout = InspectBmp(bytes);
  if (!layout) return nullptr;
  // The header and colour table are copied to storage aligned for the
  // structure: in the file they start at offset 14.
  const std::size_t infoSize = layout->headerSize + layout->colourBytes;
  std::vector<std::uint32_t> info((infoSize + 3) / 4);
  std::memcpy(info.data(), bytes.data() + kFileHeaderSize, infoSize);
  const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(info.data());

  WindowDc screen(nullptr);
  return CreateDIBitmap(screen.get(), header, CBM_INIT, bytes.data() + layout->bitsOffset,
                        reinterpret_cast<const BITMAPINFO*>(info.data()), DIB_RGB_COLORS);
}

ImageStrip::~ImageStrip() {
  Release();
  width_ = height_ = 0;
}

std::unique_ptr<ImageStrip> ImageStrip::Copy() const {
  return std::unique_ptr<ImageStrip>(new ImageStrip(*this));
}

HIMAGELIST ImageStrip::Create(std::int32_t width, std::int32_t height, std::int32_t initialCount) {
  if (list_ != nullptr) return list_.get();
  HIMAGELIST list = ImageList_Create(width, height, ILC_COLORDDB | ILC_MASK, initialCount, 1);
  if (list == nullptr) return nullptr;
  list_ = std::shared_ptr<_IMAGELIST>(list, [](HIMAGELIST l) { ImageList_Destroy(l); });
  width_ = width;
  height_ = height;
  // Images are drawn through their masks.
  ImageList_SetBkColor(list, CLR_NONE);
  return list;
}

std::int32_t ImageStrip::AddBitmap(HBITMAP picture, HBITMAP mask) {
  return ImageList_Add(list_.get(), picture, mask);
}

std::int32_t ImageStrip::AddIcon(HICON icon) { return ImageList_AddIcon(list_.get(), icon); }

std::int32_t ImageStrip::AddFromFile(const Text& path, std::optional<std::int32_t> imageType) {
  // A file is loaded without a module: the instance is not consulted then.
  if (imageType.value_or(0) == 1) {
    UniqueIcon icon(static_cast<HICON>(LoadImageA(nullptr, path.c_str(), IMAGE_ICON, 0, 0, kLoadFlags)));
    return AddIcon(icon.get());
  }
  UniqueGdiObject<HBITMAP> bitmap(
      static_cast<HBITMAP>(LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, kLoadFlags)));
  return AddBitmap(bitmap.get(), nullptr);
}

std::int32_t ImageStrip::AddBitmapResource(const Text& moduleName, std::int32_t resourceNumber) {
  HMODULE module = GetModuleHandleA(moduleName.empty() ? nullptr : moduleName.c_str());
  UniqueGdiObject<HBITMAP> bitmap(LoadBitmapA(module, MAKEINTRESOURCEA(resourceNumber)));
  return AddBitmap(bitmap.get(), nullptr);
}

std::int32_t ImageStrip::AddIconResource(const Text& moduleName, std::int32_t resourceNumber) {
  HMODULE module = GetModuleHandleA(moduleName.empty() ? nullptr : moduleName.c_str());
  // Icons from LoadIconA are shared by the system and never destroyed.
  return AddIcon(LoadIconA(module, MAKEINTRESOURCEA(resourceNumber)));
}

std::int32_t ImageStrip::AddBitmapFromBytes(const Bytes& bytes) {
  UniqueGdiObject<HBITMAP> picture(BitmapFromBytes(bytes));
  UniqueGdiObject<HBITMAP> mask(BitmapFromBytes(MaskBytes(bytes)));
  return AddBitmap(picture.get(), mask.get());
}

void ImageStrip::Release() { list_.reset(); }

HIMAGELIST ImageStrip::Handle() const { return list_.get(); }

}  // namespace lumigrab
