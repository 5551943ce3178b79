#pragma once
// Local date-time values to the second, kept as an OLE automation date: days
// since 30 December 1899, the time of day as the fraction.

namespace lumigrab {

using DateTime = double;

// The value of a calendar date and time of day (proleptic Gregorian).
DateTime MakeDateTime(int year, int month, int day, int hour, int minute,
                      int second);

// The fields of a value; the fraction is rounded to the nearest second, so a
// value made at :56 never reads back as :55.
int YearOf(DateTime value);
int MonthOf(DateTime value);
int DayOf(DateTime value);
int HourOf(DateTime value);
int MinuteOf(DateTime value);
int SecondOf(DateTime value);

}  // namespace lumigrab
