// Portable runtime services: dates, random numbers, memory files, open and
// show modes. These run natively and under Wine.
#include <gtest/gtest.h>

#include "base/clock.h"
#include "base/date_time.h"
#include "base/files.h"
#include "base/process.h"
#include "base/random.h"

namespace lumigrab {
namespace {

TEST(DateTime, FieldsReadBackAsMade) {
  const struct {
    int y, mo, d, h, mi, s;
  } cases[] = {
      {2017, 11, 16, 9, 5, 3},  {1899, 12, 30, 0, 0, 0}, {2000, 2, 29, 23, 59, 59},
      {1900, 3, 1, 12, 0, 0},   {2100, 2, 28, 6, 30, 1}, {2026, 12, 11, 12, 34, 56},
      {2024, 12, 31, 23, 59, 59}, {1970, 1, 1, 0, 0, 1},
  };
  for (const auto& c : cases) {
    const DateTime v = MakeDateTime(c.y, c.mo, c.d, c.h, c.mi, c.s);
    EXPECT_EQ(YearOf(v), c.y);
    EXPECT_EQ(MonthOf(v), c.mo);
    EXPECT_EQ(DayOf(v), c.d);
    EXPECT_EQ(HourOf(v), c.h) << c.y << "-" << c.mo << "-" << c.d;
    EXPECT_EQ(MinuteOf(v), c.mi);
    EXPECT_EQ(SecondOf(v), c.s);
  }
}

TEST(DateTime, IsTheOleAutomationDate) {
  EXPECT_DOUBLE_EQ(MakeDateTime(1899, 12, 30, 0, 0, 0), 0.0);
  EXPECT_DOUBLE_EQ(MakeDateTime(1900, 1, 1, 12, 0, 0), 2.5);
  // 1900 is no leap year; 2000 is.
  EXPECT_EQ(MonthOf(MakeDateTime(1900, 2, 28, 0, 0, 0) + 1), 3);
  EXPECT_EQ(DayOf(MakeDateTime(2000, 2, 28, 0, 0, 0) + 1), 29);
}

TEST(DateTime, EverySecondOfADayReadsBackExactly) {
  // The fraction of a day is inexact in binary: rounding, not truncation,
  // keeps 12:34:56 from reading as 12:34:55.
  for (int s = 0; s < 86400; ++s) {
    const DateTime v = MakeDateTime(2026, 12, 11, s / 3600, s / 60 % 60, s % 60);
    ASSERT_EQ(HourOf(v) * 3600 + MinuteOf(v) * 60 + SecondOf(v), s);
    ASSERT_EQ(DayOf(v), 11);
  }
  // A value just short of the next second rounds up to it, carrying into
  // the next day at midnight.
  const DateTime late = MakeDateTime(2026, 12, 31, 23, 59, 59) + 0.9 / 86400;
  EXPECT_EQ(YearOf(late), 2027);
  EXPECT_EQ(HourOf(late), 0);
}

TEST(Clock, CanBeReplacedForTests) {
  SetClockForTesting([] { return MakeDateTime(2017, 11, 16, 9, 5, 3); });
  EXPECT_EQ(SecondOf(Now()), 3);
  SetClockForTesting(nullptr);
  EXPECT_GE(YearOf(Now()), 2024);
}

// The first draws of the C runtime's generator for seeds 1 and 42, as
// srand/rand of that runtime give them.
TEST(Random, IsTheCRuntimeGenerator) {
  SeedRandom(1u);
  const int seed1[] = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358};
  for (int expected : seed1) EXPECT_EQ(DrawRandom(), expected);
  SeedRandom(42u);
  const int seed42[] = {175, 400, 17869, 30056, 16083};
  for (int expected : seed42) EXPECT_EQ(DrawRandom(), expected);
}

TEST(Random, RangeRules) {
  SeedRandom(7u);
  EXPECT_EQ(RandomNumber(5, 5), 5);
  for (int i = 0; i < 2000; ++i) {
    const int r = RandomNumber(1000, 9999);
    ASSERT_GE(r, 1000);
    ASSERT_LE(r, 9999);
    const int swapped = RandomNumber(20, 10);
    ASSERT_GE(swapped, 10);
    ASSERT_LE(swapped, 20);
    // A negative maximum counts as 0, a negative minimum as 0.
    ASSERT_EQ(RandomNumber(-5, -7), 0);
    const int upTo3 = RandomNumber(kOmitted, 3);
    ASSERT_GE(upTo3, 0);
    ASSERT_LE(upTo3, 3);
    ASSERT_GE(RandomNumber(), 0);
  }
  // 1000 + r mod 9000, r the next draw.
  SeedRandom(1u);
  EXPECT_EQ(RandomNumber(1000, 9999), 1000 + 41 % 9000);
  EXPECT_EQ(RandomNumber(1000, 9999), 1000 + 18467 % 9000);
}

TEST(MemoryFile, InsertThenReadBack) {
  FileObject f = OpenMemoryFile();
  ASSERT_TRUE(f);
  EXPECT_TRUE(InsertText(f, "A1"));
  EXPECT_TRUE(InsertText(f, "B2"));
  EXPECT_TRUE(SeekToStart(f));
  EXPECT_EQ(ReadText(f), "A1B2");
  EXPECT_EQ(FileLength(f), 4);
  CloseFile(f);
  EXPECT_FALSE(f);
}

TEST(MemoryFile, InsertInTheMiddleMovesTheRest) {
  FileObject f = OpenMemoryFile();
  InsertText(f, "ad");
  f.Storage()->Seek(1);
  InsertText(f, "b", 3);  // numbers go in as text
  InsertText(f, "c");
  EXPECT_EQ(f.Storage()->Position(), 4);
  SeekToStart(f);
  EXPECT_EQ(ReadText(f), "ab3cd");
}

TEST(MemoryFile, ReadTextStopsAtZeroAndEndOfFileMark) {
  FileObject f = OpenMemoryFile();
  const Bytes bytes = {'a', 'b', 0, 'c', 0x1A, 'd'};
  ASSERT_TRUE(WriteBytes(f, bytes));
  SeekToStart(f);
  EXPECT_EQ(ReadText(f), "ab");
  EXPECT_EQ(ReadText(f), "");  // the zero byte is read again
  f.Storage()->Seek(3);
  EXPECT_EQ(ReadText(f, 1), "c");
  EXPECT_EQ(ReadText(f), "");
  EXPECT_EQ(ReadText(f, 0), "");
  EXPECT_EQ(ReadText(f, -3), "");
  const Bytes many(3000, 'x');
  FileObject big = OpenMemoryFile();
  ASSERT_TRUE(WriteBytes(big, many, many));  // grows past its first 1024
  EXPECT_EQ(FileLength(big), 6000);
}

TEST(NullFile, EveryOperationDoesNothing) {
  FileObject none;
  EXPECT_EQ(FileLength(none), -1);
  EXPECT_TRUE(ReadBytes(none, 10).empty());
  EXPECT_FALSE(WriteText(none, "x"));
  EXPECT_FALSE(WriteBytes(none, Bytes{1}));
  EXPECT_FALSE(InsertText(none, "x"));
  EXPECT_FALSE(SeekToStart(none));
  EXPECT_EQ(ReadText(none), "");
  CloseFile(none);
}

TEST(Files, ZeroBytesAndDirectoryOfPath) {
  EXPECT_EQ(ZeroBytes(3), (Bytes{0, 0, 0}));
  EXPECT_TRUE(ZeroBytes(0).empty());
  EXPECT_TRUE(ZeroBytes(-1).empty());
  EXPECT_EQ(DirectoryOfPath("C:\\tools\\app.exe"), "C:\\tools");
  EXPECT_EQ(DirectoryOfPath("C:\\app.exe"), "C:");
  EXPECT_EQ(DirectoryOfPath("app.exe"), "app.exe");
}

TEST(Files, OpenAndShareModes) {
  constexpr std::uint32_t R = 0x80000000u, W = 0x40000000u;
  constexpr std::uint32_t kCreateAlways = 2, kOpenExisting = 3, kOpenAlways = 4;
  const struct {
    std::optional<int> mode;
    std::uint32_t access, creation;
  } modes[] = {
      {1, R, kOpenExisting},     {2, W, kOpenExisting},    {3, R | W, kOpenExisting},
      {kOmitted, R | W, kOpenExisting}, {0, R | W, kOpenExisting},
      {4, W, kCreateAlways},     {5, W, kOpenAlways},      {6, R | W, kOpenAlways},
      {7, R | W, kOpenExisting},
  };
  for (const auto& m : modes) {
    const OpenFlags f = OpenFlagsFor(m.mode, kOmitted);
    EXPECT_EQ(f.access, m.access) << m.mode.value_or(-1);
    EXPECT_EQ(f.creation, m.creation) << m.mode.value_or(-1);
  }
  const struct {
    std::optional<int> share;
    std::uint32_t flags;
  } shares[] = {{kOmitted, 3}, {1, 3}, {2, 2}, {3, 1}, {4, 0}, {0, 3}, {9, 3}};
  for (const auto& s : shares) {
    EXPECT_EQ(OpenFlagsFor(1, s.share).share, s.flags) << s.share.value_or(-1);
  }
}

TEST(Process, ShowModes) {
  const struct {
    std::optional<int> mode;
    int show;
  } cases[] = {{kOmitted, 5}, {2, 5}, {0, 5}, {7, 5}, {1, 0},
               {3, 2},        {4, 3}, {5, 4}, {6, 7}};
  for (const auto& c : cases) {
    EXPECT_EQ(ShowValueForMode(c.mode), c.show) << c.mode.value_or(-1);
  }
}

}  // namespace
}  // namespace lumigrab
