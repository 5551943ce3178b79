#include "base/date_time.h"

#include <cmath>
#include <cstdint>

namespace lumigrab {
namespace {

constexpr std::int64_t kSecondsPerDay = 86400;
// Days from 1970-01-01 back to the OLE epoch 1899-12-30.
constexpr std::int64_t kOleEpochFromUnixDays = -25569;

// Days since 1970-01-01 of a proleptic Gregorian date (H. Hinnant's
// days_from_civil), and back.
std::int64_t DaysFromCivil(std::int64_t y, int m, int d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const std::int64_t yoe = y - era * 400;
  const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

struct Fields {
  std::int64_t year;
  int month, day, hour, minute, second;
};

Fields Decode(DateTime value) {
  if (!std::isfinite(value)) value = 0;
  // Whole seconds since the epoch, rounded: the fraction of a day is not
  // exact in binary, and 12:34:56 must not read back as 12:34:55.
  const std::int64_t total =
      std::llround(value * static_cast<double>(kSecondsPerDay));
  std::int64_t days = total / kSecondsPerDay;
  std::int64_t seconds = total % kSecondsPerDay;
  if (seconds < 0) {
    seconds += kSecondsPerDay;
    --days;
  }
  // civil_from_days
  const std::int64_t z = days + kOleEpochFromUnixDays + 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const std::int64_t doe = z - era * 146097;
  const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const std::int64_t mp = (5 * doy + 2) / 153;
  Fields f{};
  f.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  f.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  f.year = yoe + era * 400 + (f.month <= 2);
  f.hour = static_cast<int>(seconds / 3600);
  f.minute = static_cast<int>(seconds % 3600 / 60);
  f.second = static_cast<int>(seconds % 60);
  return f;
}

}  // namespace

DateTime MakeDateTime(int year, int month, int day, int hour, int minute,
                      int second) {
  const std::int64_t days =
      DaysFromCivil(year, month, day) - kOleEpochFromUnixDays;
  const std::int64_t seconds =
      static_cast<std::int64_t>(hour) * 3600 + minute * 60 + second;
  return static_cast<double>(days) +
         static_cast<double>(seconds) / static_cast<double>(kSecondsPerDay);
}

int YearOf(DateTime value) { return static_cast<int>(Decode(value).year); }
int MonthOf(DateTime value) { return Decode(value).month; }
int DayOf(DateTime value) { return Decode(value).day; }
int HourOf(DateTime value) { return Decode(value).hour; }
int MinuteOf(DateTime value) { return Decode(value).minute; }
int SecondOf(DateTime value) { return Decode(value).second; }

}  // namespace lumigrab
