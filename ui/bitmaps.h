#pragma once
// Bitmaps from the bytes of BMP files, and image lists of fixed image size.

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <memory>
#include <optional>

#include "base/text.h"

namespace lumigrab {

// A bitmap in the screen's format from the complete bytes of a BMP file;
// the caller owns it (DeleteObject). nullptr for bytes that are not a BMP
// whose headers, colours and pixel rows all lie inside them (InspectBmp).
HBITMAP BitmapFromBytes(const Bytes& bytes);

// One image list of fixed image size. Copies share the list; it is
// destroyed when the last of them releases it.
class ImageStrip {
 public:
  ImageStrip() = default;
  // Releases the list and clears the fields.
  virtual ~ImageStrip();
  virtual std::unique_ptr<ImageStrip> Copy() const;
  // Makes the list (colour images with masks, drawn through them); a strip
  // that has one keeps it, whatever the sizes. The list, or nullptr when the
  // system refused.
  virtual HIMAGELIST Create(std::int32_t width, std::int32_t height, std::int32_t initialCount);
  // Adds a bitmap (type 0, the default) or an icon (type 1) file at the size
  // stored in it. The new image's index, or -1.
  virtual std::int32_t AddFromFile(const Text& path, std::optional<std::int32_t> imageType = kOmitted);
  // Adds a bitmap or an icon resource of a loaded module (the program's own
  // for an empty name). The new image's index, or -1.
  virtual std::int32_t AddBitmapResource(const Text& moduleName, std::int32_t resourceNumber);
  virtual std::int32_t AddIconResource(const Text& moduleName, std::int32_t resourceNumber);
  // Adds the picture of BMP bytes with a mask in which pure white marks the
  // transparent pixels. The new image's index, or -1.
  virtual std::int32_t AddBitmapFromBytes(const Bytes& bytes);
  // Lets go of the list; Handle is nullptr afterwards, so a second release
  // (the destructor's) does nothing.
  virtual void Release();
  virtual HIMAGELIST Handle() const;

  std::int32_t ImageWidth() const { return width_; }
  std::int32_t ImageHeight() const { return height_; }

 protected:
  ImageStrip(const ImageStrip&) = default;
  ImageStrip& operator=(const ImageStrip&) = default;

 private:
  std::int32_t AddBitmap(HBITMAP picture, HBITMAP mask);
  std::int32_t AddIcon(HICON icon);

  std::shared_ptr<_IMAGELIST> list_;
  std::int32_t width_ = 0;
  std::int32_t height_ = 0;
};

}  // namespace lumigrab
