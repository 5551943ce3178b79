#pragma once
// The program's random numbers: the C runtime's generator, exactly, so a
// seed gives the same numbers as srand/rand of that runtime.

#include <cstdint>
#include <optional>

#include "base/text.h"

namespace lumigrab {

// Seeds the generator; without a seed, with the tick count. Until the first
// call the generator runs from seed 1.
void SeedRandom(std::optional<std::uint32_t> seed = kOmitted);

// One draw, 0 to 32767: state = state * 214013 + 2531011, bits 16 to 30.
int DrawRandom();

// An integer between the bounds (swapped when the minimum is the larger).
// The maximum is 2147483647 when omitted and 0 when negative; the minimum is
// 0 when omitted or negative.
int RandomNumber(std::optional<int> minimum = kOmitted,
                 std::optional<int> maximum = kOmitted);

}  // namespace lumigrab
