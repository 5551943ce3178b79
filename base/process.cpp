#include "base/process.h"

namespace lumigrab {

int ShowValueForMode(std::optional<int> showMode) {
  // The show values are those of ShowWindow (SW_*).
  switch (showMode.value_or(2)) {
    case 1: return 0;  // SW_HIDE
    case 3: return 2;  // SW_SHOWMINIMIZED
    case 4: return 3;  // SW_SHOWMAXIMIZED
    case 5: return 4;  // SW_SHOWNOACTIVATE
    case 6: return 7;  // SW_SHOWMINNOACTIVE
    default: return 5;  // SW_SHOW
  }
}

}  // namespace lumigrab
