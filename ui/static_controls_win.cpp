#include "base/gbk_literals.h"
#include "ui/bitmaps.h"
#include "ui/container_hook.h"
#include "ui/controls.h"

namespace lumigrab {
namespace {

constexpr DWORD kStaticNotify = SS_NOTIFY;

// The style bits of a label alignment; nullopt for an unknown one.
std::optional<DWORD> AlignmentBits(std::int32_t alignment) {
  switch (alignment) {
    case 20: return SS_CENTER;
    case 21: return SS_LEFT;
    case 22: return SS_RIGHT;
    case 23: return SS_CENTERIMAGE | SS_CENTER;
    default: return std::nullopt;
  }
}

}  // namespace

std::unique_ptr<Control> StaticControl::Copy() const {
  return std::unique_ptr<Control>(new StaticControl(*this));
}

void StaticControl::SetRecordIndex(std::int32_t index) { staticIndex_ = index; }

void StaticControl::SetClickHandler(EventHandler handler) {
  ControlRecords().SetHandler(staticIndex_, &ControlRecord::clickHandler, std::move(handler));
}

void StaticControl::SetDoubleClickHandler(EventHandler handler) {
  ControlRecords().SetHandler(staticIndex_, &ControlRecord::doubleClickHandler,
                              std::move(handler));
}

void StaticControl::SetDisabledHandler(EventHandler handler) {
  ControlRecords().SetHandler(staticIndex_, &ControlRecord::disabledHandler, std::move(handler));
}

void StaticControl::SetEnabledHandler(EventHandler handler) {
  ControlRecords().SetHandler(staticIndex_, &ControlRecord::enabledHandler, std::move(handler));
}

std::unique_ptr<Control> Label::Copy() const { return std::unique_ptr<Control>(new Label(*this)); }

HWND Label::Create(HWND parent, const LabelArguments& arguments) {
  if (IsCreated()) return window_;
  const std::optional<DWORD> alignment = AlignmentBits(arguments.alignment.value_or(22));
  if (!alignment) return nullptr;
  const std::int32_t left = arguments.left.value_or(0);
  const std::int32_t top = arguments.top.value_or(0);
  const std::int32_t width = arguments.width.value_or(80);
  const std::int32_t height = arguments.height.value_or(32);
  const DWORD style = WS_CHILD | WS_VISIBLE | WS_GROUP | kStaticNotify |
                      arguments.extraStyle.value_or(0) | *alignment;
  HWND window = CreateControlWindow(
      {"Static", 0, arguments.text.value_or(gbk::kDefaultButtonText), style, left, top, width,
       height, parent},
      window_, labelIndex_);
  if (window == nullptr) return nullptr;
  SetRecordIndex(labelIndex_);
  AttachWindow(left, top, width, height, 1, window, labelIndex_);
  SetColors(GetSysColor(COLOR_BTNFACE), 0);
  FinishControlCreation(labelIndex_, window, /*isStatic=*/true);
  return window;
}

void Label::SetColors(std::optional<std::uint32_t> background, std::optional<std::uint32_t> text) {
  SetRecordColors(labelIndex_, background.value_or(GetSysColor(COLOR_BTNFACE)), text.value_or(0));
  InvalidateRect(window_, nullptr, TRUE);
}

Text Label::Caption() { return WindowText(); }

std::unique_ptr<Control> PictureBox::Copy() const {
  return std::unique_ptr<Control>(new PictureBox(*this));
}

HWND PictureBox::Create(HWND parent, const PictureBoxArguments& arguments) {
  if (IsCreated()) return window_;
  const std::int32_t left = arguments.left.value_or(0);
  const std::int32_t top = arguments.top.value_or(0);
  const std::int32_t width = arguments.width.value_or(80);
  const std::int32_t height = arguments.height.value_or(32);
  DWORD style = WS_CHILD | WS_VISIBLE | SS_BITMAP | kStaticNotify | arguments.extraStyle.value_or(0);
  if (arguments.centreImage.value_or(false)) style |= SS_CENTERIMAGE;
  HWND window = CreateControlWindow({"Static", 0, Text(), style, left, top, width, height, parent},
                                    window_, pictureIndex_);
  if (window == nullptr) return nullptr;
  SetRecordIndex(pictureIndex_);
  AttachWindow(left, top, width, height, 1, window, pictureIndex_);
  FinishControlCreation(pictureIndex_, window, /*isStatic=*/true);
  return window;
}

void PictureBox::SetBitmap(HBITMAP bitmap) {
  // The new picture is shown before the old one goes, so the control never
  // holds a deleted bitmap; the same bitmap given again stays alive.
  SharedGdiObject<HBITMAP> next =
      bitmap == bitmap_.get() ? bitmap_ : ShareGdiObject(bitmap);
  SendMessageA(window_, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
  bitmap_ = std::move(next);
}

void PictureBox::SetPicture(const Bytes& bytes) { SetBitmap(BitmapFromBytes(bytes)); }

}  // namespace lumigrab
