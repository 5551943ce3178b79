#pragma once
// The command line: its arguments, the address to export at once, the
// companion notice and the main window's place on the screen.

#include <string_view>

#include "base/text.h"

namespace lumigrab {

// The arguments after the program path: bytes 0x01 to 0x20 separate them, a
// double quote starts a quoted argument up to the next double quote, and a
// double-byte character is never split.
TextArray ParseCommandLine(std::string_view commandLine);

// The last argument whose first four bytes are "http" (case-sensitive), or
// the empty text.
Text StartUrlOf(const TextArray& arguments);

// What the companion program is told: "img|" and the start address.
Text CompanionPayload(std::string_view startUrl);

struct WindowCorner {
  int x;
  int y;
};
// The top-left corner of the 470 x 150 main window centred on a screen:
// the halves in double precision, truncated toward zero.
WindowCorner CentredCorner(int screenWidth, int screenHeight);

inline constexpr int kMainWindowWidth = 470;
inline constexpr int kMainWindowHeight = 150;

}  // namespace lumigrab
