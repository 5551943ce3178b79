// The bookkeeping of the toolkit that needs no window: the control records
// and their notification tables, the window records, mouse positions and the
// opaque runs of a skin.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/control_records.h"
#include "ui/window_records.h"

namespace lumigrab {
namespace {

WindowHandle FakeHandle(std::uintptr_t value) { return reinterpret_cast<WindowHandle>(value); }

TEST(NotificationHandler, MapsEachCodeOfBothTables) {
  struct Case {
    bool fromStatic;
    std::uint16_t code;
    RecordHandler expected;
  };
  const Case cases[] = {
      {true, 0, &ControlRecord::clickHandler},        // STN_CLICKED
      {true, 1, &ControlRecord::doubleClickHandler},  // STN_DBLCLK
      {true, 2, &ControlRecord::enabledHandler},      // STN_ENABLE
      {true, 3, &ControlRecord::disabledHandler},     // STN_DISABLE
      {true, 4, nullptr},
      {true, 0x0300, nullptr},
      {false, 0x0000, &ControlRecord::clickHandler},  // BN_CLICKED
      {false, 0x0006, &ControlRecord::gotFocusHandler},
      {false, 0x0007, &ControlRecord::lostFocusHandler},
      {false, 0x0200, &ControlRecord::lostFocusHandler},  // EN_KILLFOCUS
      {false, 0x0100, &ControlRecord::gotFocusHandler},   // EN_SETFOCUS
      {false, 0x0300, &ControlRecord::changeHandler},     // EN_CHANGE
      {false, 0x0400, &ControlRecord::updateHandler},     // EN_UPDATE
      {false, 0x0009, &ControlRecord::selectionAcceptedHandler},
      {false, 0x0003, &ControlRecord::gotFocusHandler},
      {false, 0x0004, &ControlRecord::lostFocusHandler},
      {false, 0x0008, &ControlRecord::closedUpHandler},
      {false, 0x0002, &ControlRecord::doubleClickHandler},
      {false, 0x0001, &ControlRecord::selectionChangedHandler},
      {false, 0x0005, &ControlRecord::lostFocusHandler},
      {false, 0x000A, nullptr},
      {false, 0x0500, nullptr},  // EN_ERRSPACE
      {false, 0xFFFF, nullptr},
  };
  for (const Case& c : cases) {
    EXPECT_TRUE(NotificationHandler(c.fromStatic, c.code) == c.expected)
        << (c.fromStatic ? "static" : "other") << " code " << c.code;
  }
}

TEST(ControlRecordTable, GrowsWithFreshRecordsAndFindsTheFirstMatch) {
  ControlRecordTable table;
  EXPECT_EQ(table.FindRecordIndex(FakeHandle(0x10)), 0);
  table.GrowTo(2);
  table[1].window = FakeHandle(0x10);
  table[1].colors = {0xFFFFFF, 0xC0C0C0};
  table.GrowTo(4);
  table.GrowTo(3);  // never shrinks
  ASSERT_EQ(table.Count(), 4);
  EXPECT_EQ(table[1].colors.text, 0xC0C0C0u) << "existing records stay";
  for (std::int32_t i = 1; i <= 4; ++i) EXPECT_EQ(table[i].index, i);
  EXPECT_EQ(table[4].colors.background, 0u);
  EXPECT_EQ(table[4].window, nullptr);

  table[3].window = FakeHandle(0x20);
  table[4].window = FakeHandle(0x20);
  EXPECT_EQ(table.FindRecordIndex(FakeHandle(0x20)), 3);
  EXPECT_EQ(table.FindRecordIndex(FakeHandle(0x30)), 0);
}

TEST(ControlRecordTable, SetsHandlersOnlyWithinTheTable) {
  ControlRecordTable table;
  table.GrowTo(2);
  int calls = 0;
  for (const std::int32_t outside : {0, -1, 3}) {
    EXPECT_FALSE(table.SetHandler(outside, &ControlRecord::clickHandler, [&] { ++calls; }))
        << "index " << outside;
  }
  ASSERT_TRUE(table.SetHandler(2, &ControlRecord::clickHandler, [&] { ++calls; }));
  ASSERT_TRUE(table.SetHandler(2, &ControlRecord::clickHandler, [&] { calls += 10; }));
  table[2].clickHandler();
  EXPECT_EQ(calls, 10) << "a later handler replaces the earlier one";
  EXPECT_FALSE(table[1].clickHandler);
}

TEST(WindowRecordTable, FindsByHandleAndStartsZeroed) {
  WindowRecordTable table;
  table.GrowTo(2);
  table[2].window = FakeHandle(0x40);
  EXPECT_EQ(table.FindRecordIndex(FakeHandle(0x40)), 2);
  EXPECT_EQ(table.FindRecordIndex(FakeHandle(0x41)), 0);
  EXPECT_FALSE(table[1].createdHandler);
  EXPECT_EQ(table[1].dragAnywhere, 0);
  EXPECT_FALSE(table.Contains(0));
  EXPECT_FALSE(table.Contains(3));
}

TEST(MousePosition, XIsUnsignedAndYKeepsItsSign) {
  struct Case {
    std::int16_t x;
    std::int16_t y;
    std::int32_t expectedX;
    std::int32_t expectedY;
  };
  const Case cases[] = {
      {10, 20, 10, 20},
      {-3, 7, 65533, 7},
      {5, -3, 5, -3},
      {-1, -1, 65535, -1},
      {32767, -32768, 32767, -32768},
  };
  for (const Case& c : cases) {
    const auto lParam = static_cast<std::int32_t>(
        (static_cast<std::uint32_t>(static_cast<std::uint16_t>(c.y)) << 16) |
        static_cast<std::uint16_t>(c.x));
    EXPECT_EQ(MouseX(lParam), c.expectedX) << c.x << "," << c.y;
    EXPECT_EQ(MouseY(lParam), c.expectedY) << c.x << "," << c.y;
  }
}

TEST(OpaqueRuns, CutsKeyColouredPixelsOutRowByRow) {
  constexpr std::uint32_t K = 0xFF00FF;  // the key
  constexpr std::uint32_t o = 0x123456;  // any other colour
  struct Case {
    const char* name;
    std::vector<std::vector<std::uint32_t>> rows;
    std::vector<PixelRun> expected;
  };
  const Case cases[] = {
      {"corners",
       {{K, o, o, K}, {o, o, o, o}, {K, o, o, K}},
       {{0, 1, 3}, {1, 0, 4}, {2, 1, 3}}},
      {"row of key only", {{K, K, K}, {o, K, o}}, {{1, 0, 1}, {1, 2, 3}}},
      {"no key at all", {{o, o}}, {{0, 0, 2}}},
      {"run reaching the right edge", {{K, o, o}}, {{0, 1, 3}}},
      {"single pixels between keys", {{o, K, o, K, o}}, {{0, 0, 1}, {0, 2, 3}, {0, 4, 5}}},
      {"empty picture", {}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto height = static_cast<std::int32_t>(c.rows.size());
    const auto width = height == 0 ? 0 : static_cast<std::int32_t>(c.rows[0].size());
    const auto colourAt = [&](std::int32_t x, std::int32_t y) {
      return c.rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)];
    };
    EXPECT_EQ(OpaqueRuns(width, height, colourAt, K), c.expected);
  }
}

}  // namespace
}  // namespace lumigrab
