#pragma once
// The base of every window object of the toolkit: one Win32 window, the
// geometry it was created or last moved with, and the operations all of the
// program's windows share. An object never destroys its window; the windows
// end with the process.

#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>

#include "base/text.h"

namespace lumigrab {

class Control {
 public:
  Control() = default;
  // The derived parts release what they own first; this part forgets the
  // window and the geometry (the visible flag keeps its value).
  virtual ~Control();
  // A new object of the same class naming the same window.
  virtual std::unique_ptr<Control> Copy() const;
  // Without a value: 1 when the window is visible (IsWindowVisible), else 0;
  // nothing is stored. With a value: shows (SW_SHOW) or hides (SW_HIDE) the
  // window, stores and returns the flag.
  virtual std::int32_t Visible(std::optional<bool> show = kOmitted);
  // EnableWindow with the opposite value: 1 when it disabled, 0 when it
  // enabled.
  virtual std::int32_t SetDisabled(bool disabled);
  // Stores the seven values; every create operation calls it once.
  virtual void AttachWindow(std::int32_t left, std::int32_t top, std::int32_t width,
                            std::int32_t height, std::int32_t visible, HWND window,
                            std::int32_t recordIndex);
  // True only when IsWindow says exactly 1 of the stored handle.
  virtual bool IsCreated() const;
  // Without a text: the window text (GetWindowTextA). With one: sets it
  // (SetWindowTextA) and returns a copy.
  virtual Text WindowText(std::optional<Text> text = kOmitted);
  virtual HWND Handle() const;
  // Stores each given value, then MoveWindow with the four stored ones and
  // repainting; nonzero on success.
  virtual std::int32_t Move(std::optional<std::int32_t> left = kOmitted,
                            std::optional<std::int32_t> top = kOmitted,
                            std::optional<std::int32_t> width = kOmitted,
                            std::optional<std::int32_t> height = kOmitted);
  // The outer size now (GetWindowRect), stored; 0 when the window is gone.
  virtual std::int32_t Width();
  virtual std::int32_t Height();
  // As created or last moved; the window is not asked.
  virtual std::int32_t Left() const;
  virtual std::int32_t Top() const;

  // The 1-based index of the object's record (for a control also its
  // child-window ID); 0 before creation.
  std::int32_t RecordIndex() const { return recordIndex_; }

 protected:
  Control(const Control&) = default;
  Control& operator=(const Control&) = default;

  HWND window_ = nullptr;
  std::int32_t width_ = 0;
  std::int32_t height_ = 0;
  std::int32_t left_ = 0;
  std::int32_t top_ = 0;
  std::int32_t visible_ = 1;
  std::int32_t recordIndex_ = 0;
};

}  // namespace lumigrab
