// Top-level windows after the program's main window: creation, show states,
// the handlers the window procedure calls for real messages, dragging,
// skins and background pictures.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/ui/ui_test_support.h"
#include "ui/gdi_handles.h"
#include "ui/window.h"

namespace lumigrab {
namespace {

using testing::PaintedPixel;
using testing::PumpFor;
using testing::PumpUntil;

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kMagenta = RGB(255, 0, 255);

// A bitmap in the screen's format with each pixel from colourAt(x, y).
HBITMAP MakeBitmap(int width, int height, const std::function<COLORREF(int, int)>& colourAt) {
  WindowDc screen(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(screen.get(), width, height);
  UniqueMemoryDc memory(CreateCompatibleDC(screen.get()));
  SelectedObject selected(memory.get(), bitmap);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) SetPixel(memory.get(), x, y, colourAt(x, y));
  }
  return bitmap;
}

bool IsLiveGdiObject(HGDIOBJ object) { return GetObjectType(object) != 0; }

class WindowTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { testing::EndTheMainWindowLoop(); }
  void TearDown() override {
    if (window_.IsCreated()) window_.Destroy();
  }
  // A plain popup at a known place, shown.
  HWND CreatePopup(std::int32_t width = 200, std::int32_t height = 120) {
    return window_.Create({.title = Text("test"), .left = 300, .top = 200, .width = width,
                           .height = height, .style = WS_POPUP});
  }
  Window window_;
};

TEST_F(WindowTest, ShowModeZeroLeavesTheWindowHiddenAndStillRunsTheCreationEvent) {
  int created = 0;
  HWND handle = window_.Create({.creationHandler = [&](auto...) { ++created; }, .showMode = 0});
  ASSERT_NE(handle, nullptr);
  EXPECT_FALSE(IsWindowVisible(handle));
  EXPECT_EQ(window_.Shown(), 0);
  EXPECT_EQ(window_.Visible(), 0);
  EXPECT_EQ(created, 1);

  // A second Create finds the window and does nothing else.
  EXPECT_EQ(window_.Create({.creationHandler = [&](auto...) { created += 10; }}), handle);
  EXPECT_EQ(created, 1);
}

TEST_F(WindowTest, AWindowMadeAgainKeepsItsRecordAndHandlers) {
  int resized = 0;
  HWND first = CreatePopup();
  const std::int32_t index = window_.RecordIndex();
  ASSERT_TRUE(window_.SetResizedHandler([&](auto...) { ++resized; }));
  DestroyWindow(first);
  EXPECT_FALSE(window_.IsCreated());

  HWND second = CreatePopup();
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(window_.RecordIndex(), index);
  resized = 0;
  SendMessageA(second, WM_SIZE, 0, 0);
  EXPECT_EQ(resized, 1);
}

TEST_F(WindowTest, SettersWithoutARecordStoreNothing) {
  Window never;
  EXPECT_FALSE(never.SetLeftDownHandler([](auto...) {}));
  EXPECT_EQ(never.SetDragAnywhere(true), 0);
  EXPECT_EQ(never.Visible(), 0) << "no window, although the stored flag is 1";
  EXPECT_EQ(never.Handle(), nullptr);
  EXPECT_EQ(never.Left(), 0);
  EXPECT_EQ(never.Top(), 0);
}

TEST_F(WindowTest, MessagesReachTheirHandlersWithUnpackedArguments) {
  HWND handle = CreatePopup();
  ASSERT_NE(handle, nullptr);
  struct Call {
    std::string handler;
    std::int32_t a, b, c, d;
  };
  std::vector<Call> calls;
  const auto recorder = [&](std::string name) {
    return [&calls, name](std::int32_t a, std::int32_t b, std::int32_t c, std::int32_t d) {
      calls.push_back({name, a, b, c, d});
    };
  };
  ASSERT_TRUE(window_.SetLeftDownHandler(recorder("leftDown")));
  ASSERT_TRUE(window_.SetLeftUpHandler(recorder("leftUp")));
  ASSERT_TRUE(window_.SetLeftDoubleClickHandler(recorder("leftDoubleClick")));
  ASSERT_TRUE(window_.SetRightDownHandler(recorder("rightDown")));
  ASSERT_TRUE(window_.SetRightUpHandler(recorder("rightUp")));
  ASSERT_TRUE(window_.SetMouseMoveHandler(recorder("mouseMove")));
  ASSERT_TRUE(window_.SetGotFocusHandler(recorder("gotFocus")));
  ASSERT_TRUE(window_.SetLostFocusHandler(recorder("lostFocus")));
  ASSERT_TRUE(window_.SetKeyDownHandler(recorder("keyDown")));
  ASSERT_TRUE(window_.SetKeyUpHandler(recorder("keyUp")));
  ASSERT_TRUE(window_.SetResizedHandler(recorder("resized")));

  const LPARAM leftOfWindow = MAKELPARAM(-3, 7);
  const LPARAM aboveWindow = MAKELPARAM(12, -5);
  struct Case {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    Call expected;
  };
  const Case cases[] = {
      {WM_MOUSEMOVE, MK_SHIFT, leftOfWindow, {"mouseMove", 65533, 7, MK_SHIFT, 0}},
      {WM_MOUSEMOVE, 0, aboveWindow, {"mouseMove", 12, -5, 0, 0}},
      {WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 20), {"leftDown", 10, 20, MK_LBUTTON, 0}},
      {WM_LBUTTONUP, 0, MAKELPARAM(11, 21), {"leftUp", 11, 21, 0, 0}},
      {WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(1, 2), {"leftDoubleClick", 1, 2, MK_LBUTTON, 0}},
      {WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(3, 4), {"rightDown", 3, 4, MK_RBUTTON, 0}},
      {WM_RBUTTONUP, 0, MAKELPARAM(5, 6), {"rightUp", 5, 6, 0, 0}},
      {WM_SETFOCUS, 0, 0, {"gotFocus", 0, 0, 0, 0}},
      {WM_KILLFOCUS, 0, 0, {"lostFocus", 0, 0, 0, 0}},
      {WM_KEYDOWN, VK_F5, 0x003F0001, {"keyDown", VK_F5, 0x003F0001, 0, 0}},
      {WM_KEYUP, 'A', static_cast<LPARAM>(0xC01E0001u), {"keyUp", 'A', static_cast<std::int32_t>(0xC01E0001u), 0, 0}},
      {WM_SIZE, SIZE_RESTORED, MAKELPARAM(200, 120), {"resized", 0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    calls.clear();
    // Posted and dispatched, as the system delivers them.
    PostMessageA(handle, c.message, c.wParam, c.lParam);
    PumpUntil([&] { return !calls.empty(); }, 2000);
    SCOPED_TRACE(c.expected.handler);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].handler, c.expected.handler);
    EXPECT_EQ(calls[0].a, c.expected.a);
    EXPECT_EQ(calls[0].b, c.expected.b);
    EXPECT_EQ(calls[0].c, c.expected.c);
    EXPECT_EQ(calls[0].d, c.expected.d);
  }
}

TEST_F(WindowTest, RealMouseInputReachesTheHandlers) {
  HWND handle = CreatePopup();
  SetForegroundWindow(handle);
  std::vector<std::pair<std::int32_t, std::int32_t>> downs;
  int doubleClicks = 0;
  window_.SetLeftDownHandler([&](std::int32_t x, std::int32_t y, auto...) { downs.push_back({x, y}); });
  window_.SetLeftDoubleClickHandler([&](auto...) { ++doubleClicks; });
  PumpFor(50);

  SetCursorPos(300 + 40, 200 + 30);
  INPUT clicks[4] = {};
  for (int i = 0; i < 4; ++i) {
    clicks[i].type = INPUT_MOUSE;
    clicks[i].mi.dwFlags = i % 2 == 0 ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
  }
  ASSERT_EQ(SendInput(4, clicks, sizeof(INPUT)), 4u);
  ASSERT_TRUE(PumpUntil([&] { return doubleClicks == 1; }));
  ASSERT_EQ(downs.size(), 1u) << "the second press of a double click arrives as WM_LBUTTONDBLCLK";
  EXPECT_EQ(downs[0], std::make_pair(40, 30));
}

TEST_F(WindowTest, DragAnywhereMovesTheWindowWithTheMouse) {
  HWND handle = CreatePopup();
  SetForegroundWindow(handle);
  ASSERT_EQ(window_.SetDragAnywhere(true), 1);
  PumpFor(50);
  RECT before{};
  GetWindowRect(handle, &before);

  const POINT start{before.left + 50, before.top + 50};
  SetCursorPos(start.x, start.y);
  INPUT steps[5] = {};
  for (INPUT& step : steps) step.type = INPUT_MOUSE;
  steps[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  for (int i = 1; i <= 3; ++i) {
    steps[i].mi.dwFlags = MOUSEEVENTF_MOVE;
    steps[i].mi.dx = 10;
    steps[i].mi.dy = 5;
  }
  steps[4].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  ASSERT_EQ(SendInput(5, steps, sizeof(INPUT)), 5u);
  RECT after{};
  PumpUntil([&] {
    GetWindowRect(handle, &after);
    return after.left != before.left;
  });
  PumpFor(50);
  GetWindowRect(handle, &after);
  // The pointer's own speed settings decide how far it went; the window
  // follows it exactly.
  POINT end{};
  GetCursorPos(&end);
  ASSERT_GT(end.x - start.x, 0);
  EXPECT_EQ(after.left - before.left, end.x - start.x);
  EXPECT_EQ(after.top - before.top, end.y - start.y);
}

TEST_F(WindowTest, ShowStatesMinimiseMaximiseAndRestore) {
  HWND handle = CreatePopup();
  window_.SetShowState(kOmitted);
  window_.SetShowState(1);
  EXPECT_TRUE(IsWindowVisible(handle));
  EXPECT_FALSE(IsIconic(handle));
  window_.SetShowState(2);
  EXPECT_TRUE(IsIconic(handle));
  window_.SetShowState(0);
  EXPECT_FALSE(IsIconic(handle));
  window_.SetShowState(3);
  EXPECT_TRUE(IsZoomed(handle));
  window_.SetShowState(7);
  EXPECT_FALSE(IsZoomed(handle));
  EXPECT_TRUE(IsWindowVisible(handle));
}

TEST_F(WindowTest, TopmostIsStoredOnlyOnRequest) {
  HWND handle = CreatePopup();
  EXPECT_EQ(window_.Topmost(), 0);
  EXPECT_EQ(window_.Topmost(true), 1);
  EXPECT_TRUE(GetWindowLongA(handle, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_EQ(window_.Topmost(), 1);
  EXPECT_EQ(window_.Topmost(false), 0);
}

TEST_F(WindowTest, SkinWithAKeyColourCutsItsCornersOut) {
  HWND handle = CreatePopup();
  // 40 x 30, blue with magenta 3 x 3 corners.
  const auto corners = [](int x, int y) {
    const bool edgeX = x < 3 || x >= 37;
    const bool edgeY = y < 3 || y >= 27;
    return edgeX && edgeY ? kMagenta : kBlue;
  };
  UniqueGdiObject<HBITMAP> skin(MakeBitmap(40, 30, corners));
  window_.SetSkin(skin.get(), kMagenta);

  RECT rect{};
  GetWindowRect(handle, &rect);
  EXPECT_EQ(rect.right - rect.left, 40);
  EXPECT_EQ(rect.bottom - rect.top, 30);
  EXPECT_EQ(rect.left, 300) << "resized where it was";
  EXPECT_TRUE(IsWindowVisible(handle));

  UniqueGdiObject<HRGN> region(CreateRectRgn(0, 0, 0, 0));
  ASSERT_NE(GetWindowRgn(handle, region.get()), ERROR);
  struct Point {
    int x, y;
    bool inside;
  };
  const Point points[] = {{0, 0, false},  {2, 2, false},  {39, 0, false}, {0, 29, false},
                          {39, 29, false}, {3, 0, true},  {0, 3, true},   {20, 15, true},
                          {36, 29, true},  {37, 26, true}};
  for (const Point& p : points) {
    EXPECT_EQ(PtInRegion(region.get(), p.x, p.y) != FALSE, p.inside) << p.x << "," << p.y;
  }
  EXPECT_EQ(PaintedPixel(handle, 20, 15), kBlue);

  // A new skin without a key only resizes and paints.
  UniqueGdiObject<HBITMAP> plain(MakeBitmap(25, 20, [](int, int) { return kGreen; }));
  SetWindowRgn(handle, nullptr, TRUE);
  window_.SetSkin(plain.get());
  GetWindowRect(handle, &rect);
  EXPECT_EQ(rect.right - rect.left, 25);
  EXPECT_EQ(GetWindowRgn(handle, region.get()), ERROR) << "no region";
  InvalidateRect(handle, nullptr, TRUE);
  EXPECT_EQ(PaintedPixel(handle, 12, 10), kGreen);
}

TEST_F(WindowTest, BackgroundPictureStretchesOrTiles) {
  HWND handle = CreatePopup(60, 40);
  HBITMAP red = MakeBitmap(1, 1, [](int, int) { return kRed; });
  window_.SetBackgroundPicture(red);
  EXPECT_EQ(PaintedPixel(handle, 30, 20), kRed) << "stretched over the window";

  // Red, green: a tile of two pixels repeated.
  HBITMAP stripes = MakeBitmap(2, 1, [](int x, int) { return x == 0 ? kRed : kGreen; });
  window_.SetBackgroundPicture(stripes, 1);
  EXPECT_FALSE(IsLiveGdiObject(red)) << "the picture replaced is deleted";
  EXPECT_EQ(PaintedPixel(handle, 10, 5), kRed);
  EXPECT_EQ(PaintedPixel(handle, 11, 5), kGreen);
  EXPECT_EQ(PaintedPixel(handle, 12, 30), kRed);

  window_.SetBackgroundPicture(stripes, 1);
  EXPECT_TRUE(IsLiveGdiObject(stripes)) << "the same picture given again stays";

  EXPECT_EQ(window_.Destroy(), 1);
  EXPECT_FALSE(IsWindow(handle));
  EXPECT_FALSE(IsLiveGdiObject(stripes)) << "Destroy releases the picture";
}

TEST_F(WindowTest, TheObjectLetsGoOfItsPictureButNotOfItsWindow) {
  HBITMAP picture = MakeBitmap(1, 1, [](int, int) { return kRed; });
  HWND handle = nullptr;
  {
    Window shortLived;
    handle = shortLived.Create({.title = Text("short"), .style = WS_POPUP});
    shortLived.SetBackgroundPicture(picture);
  }
  EXPECT_FALSE(IsLiveGdiObject(picture));
  EXPECT_TRUE(IsWindow(handle));
  // Painting after the object is gone finds no picture to use.
  InvalidateRect(handle, nullptr, TRUE);
  PumpFor(20);
  DestroyWindow(handle);
}

}  // namespace
}  // namespace lumigrab
