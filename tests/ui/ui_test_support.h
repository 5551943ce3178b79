#pragma once
// Helpers for the toolkit's tests on real windows under Wine: pumping the
// thread's messages until something happened (never waiting for a person),
// reading painted pixels, and the one main window a test program may have.

#include <windows.h>

#include <functional>

#include "base/text.h"

namespace lumigrab::testing {

// Dispatches messages until done() holds or the limit passes; whether done()
// held. The limit only stops a test that would otherwise hang.
bool PumpUntil(const std::function<bool()>& done, int limitMilliseconds = 5000);

// Dispatches messages for a while, letting the windows paint.
void PumpFor(int milliseconds);

// The colour painted at a point of a window's client area, after the window
// has handled its pending paints.
COLORREF PaintedPixel(HWND window, int x, int y);

// Makes this program's first top-level window, which runs the message loop
// inside its creation, and closes it at once, so that the windows the tests
// make afterwards are ordinary ones that the tests drive themselves. Does
// nothing once the program has a main window.
void EndTheMainWindowLoop();

// Writes the whole screen as a 24-bit BMP file (for looking at a test's
// windows); false when it could not.
bool SaveScreenshot(const Text& path);

}  // namespace lumigrab::testing
