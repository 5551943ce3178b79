#include "app/command_line.h"

namespace lumigrab {
namespace {

bool IsSeparator(unsigned char c) { return c >= 0x01 && c <= 0x20; }

}  // namespace

TextArray ParseCommandLine(std::string_view line) {
  TextArray arguments;
  std::size_t i = 0;
  const std::size_t n = line.size();
  // The program path: quoted up to the next quote (and one space after it),
  // otherwise up to the first space. Without its delimiter there are no
  // arguments.
  if (n > 0 && line[0] == '"') {
    const std::size_t close = line.find('"', 1);
    if (close == std::string_view::npos) return arguments;
    i = close + 1;
    if (i < n && line[i] == ' ') ++i;
  } else {
    const std::size_t space = line.find(' ');
    if (space == std::string_view::npos) return arguments;
    i = space + 1;
  }
  while (i < n) {
    const unsigned char c = static_cast<unsigned char>(line[i]);
    if (IsSeparator(c)) {
      ++i;
      continue;
    }
    Text argument;
    const bool quoted = c == '"';
    if (quoted) ++i;
    while (i < n) {
      const unsigned char b = static_cast<unsigned char>(line[i]);
      if (b == '"') {
        if (quoted) ++i;  // the closing quote is skipped
        break;
      }
      if (!quoted && IsSeparator(b)) break;
      if (b >= 0x80) {
        // A lead byte takes the next byte with it; as the last byte it ends
        // the argument.
        if (i + 1 >= n) {
          ++i;
          break;
        }
        argument += line.substr(i, 2);
        i += 2;
        continue;
      }
      argument += static_cast<char>(b);
      ++i;
    }
    arguments.Add(argument);
  }
  return arguments;
}

Text StartUrlOf(const TextArray& arguments) {
  Text url;
  for (const Text& argument : arguments) {
    if (LeftText(argument, 4) == "http") url = argument;
  }
  return url;
}

Text CompanionPayload(std::string_view startUrl) { return JoinTexts("img|", startUrl); }

WindowCorner CentredCorner(int screenWidth, int screenHeight) {
  const double x = static_cast<double>(screenWidth) / 2 - kMainWindowWidth / 2.0;
  const double y = static_cast<double>(screenHeight) / 2 - kMainWindowHeight / 2.0;
  return {static_cast<int>(x), static_cast<int>(y)};
}

}  // namespace lumigrab
