#include "base/clock.h"

namespace lumigrab {
namespace {

ClockFunction g_clock = nullptr;

}  // namespace

void SetClockForTesting(ClockFunction clock) { g_clock = clock; }

DateTime Now() { return g_clock != nullptr ? g_clock() : SystemLocalTime(); }

}  // namespace lumigrab
