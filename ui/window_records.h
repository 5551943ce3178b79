#pragma once
// The per-window handler records of the top-level windows, the unpacking of
// mouse positions, and the opaque runs of a skin. Pure, tested natively; the
// window class itself lives in window.h.

#include <cstdint>
#include <functional>
#include <vector>

#include "ui/control_records.h"

namespace lumigrab {

// A window event's handler, with four 32-bit arguments (mouse: x, y, key
// flags, 0; keys: virtual-key code, key data, 0, 0; others all 0). An empty
// one means none.
using WindowEventHandler =
    std::function<void(std::int32_t, std::int32_t, std::int32_t, std::int32_t)>;

struct WindowRecord {
  WindowHandle window = nullptr;
  WindowEventHandler leftDownHandler;
  WindowEventHandler leftUpHandler;
  WindowEventHandler leftDoubleClickHandler;
  WindowEventHandler rightDownHandler;
  WindowEventHandler rightUpHandler;
  WindowEventHandler mouseMoveHandler;
  WindowEventHandler gotFocusHandler;
  WindowEventHandler lostFocusHandler;
  WindowEventHandler keyDownHandler;
  WindowEventHandler keyUpHandler;
  WindowEventHandler resizedHandler;
  WindowEventHandler createdHandler;
  WindowEventHandler destroyedHandler;
  std::int32_t dragAnywhere = 0;
};

using WindowRecordHandler = WindowEventHandler WindowRecord::*;

// Records addressed from 1, never removed; a re-created window keeps its
// record. Lookups take the first match.
class WindowRecordTable {
 public:
  std::int32_t Count() const { return static_cast<std::int32_t>(records_.size()); }
  bool Contains(std::int32_t index) const { return index >= 1 && index <= Count(); }
  WindowRecord& operator[](std::int32_t index) { return records_[static_cast<std::size_t>(index - 1)]; }
  void GrowTo(std::int32_t count) {
    if (count > Count()) records_.resize(static_cast<std::size_t>(count));
  }
  // The index of the first record holding the window, 0 when none does.
  std::int32_t FindRecordIndex(WindowHandle window) const {
    for (std::size_t i = 0; i < records_.size(); ++i) {
      if (records_[i].window == window) return static_cast<std::int32_t>(i + 1);
    }
    return 0;
  }

 private:
  std::vector<WindowRecord> records_;
};

// A mouse message's position: x is the low 16 bits taken unsigned (a point
// left of the window arrives as 65536 + x), y the high 16 bits with the sign
// kept.
std::int32_t MouseX(std::int32_t lParam);
std::int32_t MouseY(std::int32_t lParam);

// One horizontal run of pixels that are not the key colour: the rectangle
// from (start, y) to (end, y + 1).
struct PixelRun {
  std::int32_t y;
  std::int32_t start;
  std::int32_t end;
  bool operator==(const PixelRun&) const = default;
};

// The runs of a width x height picture whose pixels differ from the key
// colour, row by row from the top, each row from the left. colourAt(x, y)
// gives the pixel's colour.
std::vector<PixelRun> OpaqueRuns(std::int32_t width, std::int32_t height,
                                 const std::function<std::uint32_t(std::int32_t, std::int32_t)>& colourAt,
                                 std::uint32_t keyColour);

}  // namespace lumigrab
