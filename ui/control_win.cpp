#include "ui/control.h"

namespace lumigrab {

Control::~Control() {
  window_ = nullptr;
  left_ = top_ = width_ = height_ = 0;
  recordIndex_ = 0;
}

std::unique_ptr<Control> Control::Copy() const { return std::unique_ptr<Control>(new Control(*this)); }

std::int32_t Control::Visible(std::optional<bool> show) {
  if (!show) return IsWindowVisible(window_) ? 1 : 0;
  ShowWindow(window_, *show ? SW_SHOW : SW_HIDE);
  visible_ = *show ? 1 : 0;
  UpdateWindow(window_);
  return visible_;
}

std::int32_t Control::SetDisabled(bool disabled) {
  EnableWindow(window_, disabled ? FALSE : TRUE);
  return disabled ? 1 : 0;
}

void Control::AttachWindow(std::int32_t left, std::int32_t top, std::int32_t width,
                           std::int32_t height, std::int32_t visible, HWND window,
                           std::int32_t recordIndex) {
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  visible_ = visible;
  window_ = window;
  recordIndex_ = recordIndex;
}

bool Control::IsCreated() const { return IsWindow(window_) == 1; }

Text Control::WindowText(std::optional<Text> text) {
  if (text) {
    SetWindowTextA(window_, text->c_str());
    return *text;
  }
  const int length = GetWindowTextLengthA(window_);
  if (length <= 0) return Text();
  Text buffer(static_cast<std::size_t>(length) + 1, '\0');
  const int got = GetWindowTextA(window_, buffer.data(), length + 1);
  // The count read, not the length asked: a double-byte text may be
  // reported longer than it is.
  buffer.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
  return buffer;
}

HWND Control::Handle() const { return window_; }

std::int32_t Control::Move(std::optional<std::int32_t> left, std::optional<std::int32_t> top,
                           std::optional<std::int32_t> width,
                           std::optional<std::int32_t> height) {
  if (left) left_ = *left;
  if (top) top_ = *top;
  if (width) width_ = *width;
  if (height) height_ = *height;
  return MoveWindow(window_, left_, top_, width_, height_, TRUE) ? 1 : 0;
}

std::int32_t Control::Width() {
  RECT rect{};
  GetWindowRect(window_, &rect);
  width_ = rect.right - rect.left;
  return width_;
}

std::int32_t Control::Height() {
  RECT rect{};
  GetWindowRect(window_, &rect);
  height_ = rect.bottom - rect.top;
  return height_;
}

std::int32_t Control::Left() const { return left_; }

std::int32_t Control::Top() const { return top_; }

}  // namespace lumigrab
