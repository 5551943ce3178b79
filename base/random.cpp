#include "base/random.h"

#include <algorithm>

#include "base/clock.h"

namespace lumigrab {
namespace {

std::uint32_t g_state = 1;

}  // namespace

void SeedRandom(std::optional<std::uint32_t> seed) {
  g_state = seed.has_value() ? *seed : TickCount();
}

int DrawRandom() {
  g_state = g_state * 214013u + 2531011u;
  return static_cast<int>((g_state >> 16) & 0x7FFF);
}

int RandomNumber(std::optional<int> minimum, std::optional<int> maximum) {
  const std::int64_t max =
      maximum.has_value() ? std::max(*maximum, 0) : 2147483647;
  const std::int64_t min =
      minimum.has_value() && *minimum >= 0 ? *minimum : 0;
  const std::int64_t lo = std::min(min, max);
  const std::int64_t hi = std::max(min, max);
  if (lo == hi) return static_cast<int>(lo);
  const std::int64_t span = hi - lo;
  const std::int64_t modulus = span == 2147483647 ? span : span + 1;
  return static_cast<int>(lo + DrawRandom() % modulus);
}

}  // namespace lumigrab
