// The command line's arguments, the start address, the companion payload
// and the main window's corner.
#include <gtest/gtest.h>

#include <vector>

#include "app/command_line.h"

namespace lumigrab {
namespace {

std::vector<std::string> Arguments(std::string_view line) {
  std::vector<std::string> out;
  for (const Text& a : ParseCommandLine(line)) out.push_back(a);
  return out;
}

TEST(CommandLine, Arguments) {
  using V = std::vector<std::string>;
  const struct {
    std::string line;
    V arguments;
  } cases[] = {
      {"prog.exe a \"b c\" d\"e\"", V{"a", "b c", "d", "e"}},
      {"\"C:\\p q\\lumigrab.exe\" a \"b c\" d\"e\"", V{"a", "b c", "d", "e"}},
      {"\"C:\\p\\lumigrab.exe\"", V{}},       // no arguments
      {"lumigrab.exe", V{}},                  // no space: no arguments
      {"\"C:\\unclosed.exe a b", V{}},        // no closing quote
      {"\"C:\\p.exe\"x y", V{"x", "y"}},      // no space after the quote
      {"p.exe ", V{}},
      {"p.exe \t a\r\n b ", V{"a", "b"}},     // 0x01..0x20 separate
      {"p.exe \"\" x", V{"", "x"}},            // two quotes: an empty argument
      {"p.exe \"open", V{"open"}},            // a quote without its end
      {"p.exe \"http://h/a b\"", V{"http://h/a b"}},
      {"p.exe \xD5\"x", V{"\xD5\"x"}},         // a trail byte that is a quote
      {"p.exe \xD5 a", V{"\xD5 a"}},          // or a space
      {"p.exe ab\xD5", V{"ab"}},              // a lead byte at the very end
      {"p.exe \"a\xD5", V{"a"}},
      {std::string("p.exe a\x01" "b"), V{"a", "b"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Arguments(c.line), c.arguments) << c.line;
  }
}

TEST(CommandLine, StartUrlIsTheLastHttpArgument) {
  const struct {
    std::string line;
    std::string startUrl;
  } cases[] = {
      {"p.exe", ""},
      {"p.exe x", ""},
      {"p.exe https://h/a", "https://h/a"},
      {"p.exe http://1 x http://3", "http://3"},
      {"p.exe HTTP://h/a", ""},  // case-sensitive
      {"p.exe \"http://h/a b\" y", "http://h/a b"},
      {"p.exe httpd", "httpd"},  // the first four bytes are all that count
      {"p.exe htt", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(StartUrlOf(ParseCommandLine(c.line)), c.startUrl) << c.line;
  }
  EXPECT_EQ(CompanionPayload(""), "img|");
  EXPECT_EQ(CompanionPayload("http://h/a"), "img|http://h/a");
}

TEST(CommandLine, MainWindowCornerIsCentredAndTruncated) {
  const struct {
    int width, height, x, y;
  } cases[] = {
      {1920, 1080, 725, 465}, {1366, 768, 448, 309}, {1365, 767, 447, 308},
      {400, 100, -35, -25},   {469, 149, -0, -0},  // -0.5 truncates to 0
  };
  for (const auto& c : cases) {
    const WindowCorner corner = CentredCorner(c.width, c.height);
    EXPECT_EQ(corner.x, c.x) << c.width;
    EXPECT_EQ(corner.y, c.y) << c.height;
  }
}

}  // namespace
}  // namespace lumigrab
