#include "ui/window_records.h"

#include "base/text.h"

namespace lumigrab {

std::int32_t MouseX(std::int32_t lParam) { return BitAnd(lParam, 0xFFFF); }

std::int32_t MouseY(std::int32_t lParam) { return ShiftRight(lParam, 16); }

std::vector<PixelRun> OpaqueRuns(std::int32_t width, std::int32_t height,
                                 const std::function<std::uint32_t(std::int32_t, std::int32_t)>& colourAt,
                                 std::uint32_t keyColour) {
  std::vector<PixelRun> runs;
  for (std::int32_t y = 0; y < height; ++y) {
    std::int32_t x = 0;
    while (x < width) {
      while (x < width && colourAt(x, y) == keyColour) ++x;
      if (x == width) break;
      const std::int32_t start = x;
      while (x < width && colourAt(x, y) != keyColour) ++x;
      runs.push_back({y, start, x});
    }
  }
  return runs;
}

}  // namespace lumigrab
