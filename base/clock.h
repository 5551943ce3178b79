#pragma once
// The clock: the current local time and the tick count. Tests may put a
// clock of their own in its place.

#include <cstdint>

#include "base/date_time.h"

namespace lumigrab {

// The current local date and time to the second (milliseconds dropped).
DateTime Now();

// Milliseconds since the system started, wrapping at 2^32.
std::uint32_t TickCount();

// Replaces the clock behind Now; nullptr puts the system's clock back.
using ClockFunction = DateTime (*)();
void SetClockForTesting(ClockFunction clock);

// The system's local time, without any replacement.
DateTime SystemLocalTime();

}  // namespace lumigrab
