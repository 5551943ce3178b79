#include "base/text_marks.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace lumigrab {
namespace {

// "#引号": the placeholder that stands for a double quote inside a mark, so
// marks full of attribute quotes can be written without escaping.
const std::string kQuote = "\x23\xD2\xFD\xBA\xC5";

struct BetweenCase {
  const char* name;
  std::string text;
  std::string left;
  std::string right;
  std::optional<int> start;
  std::optional<bool> ignoreCase;
  std::string expected;
};

TEST(TextBetweenTest, CutsBetweenFirstLeftMarkAndNextRightMark) {
  const BetweenCase cases[] = {
      {"first pair wins", "a[x]b[y]", "[", "]", kOmitted, kOmitted, "x"},
      {"multi-byte marks", "<b>bold</b><b>x</b>", "<b>", "</b>", kOmitted,
       kOmitted, "bold"},
      {"left mark missing", "a[x]b", "{", "]", kOmitted, kOmitted, ""},
      {"right mark only before the left mark", "a]x[b", "[", "]", kOmitted,
       kOmitted, ""},
      {"right mark missing", "a[xb", "[", "]", kOmitted, kOmitted, ""},
      {"right mark searched after the left mark", "x]a[y]", "[", "]",
       kOmitted, kOmitted, "y"},
      {"right mark may not overlap the left mark", "[a]", "[a", "a]",
       kOmitted, kOmitted, ""},
      {"empty left mark", "a[x]b", "", "]", kOmitted, kOmitted, ""},
      {"empty right mark", "a[x]b", "[", "", kOmitted, kOmitted, ""},
      {"right mark right after left mark", "ab", "a", "b", kOmitted, kOmitted,
       ""},
      {"left mark ends the text", "ab[", "[", "]", kOmitted, kOmitted, ""},
      {"empty text", "", "[", "]", kOmitted, kOmitted, ""},
      // 0x81 0x5B is one double-byte character whose second byte is "[".
      {"left mark not found inside a double-byte character",
       "\x81[a][b]", "[", "]", kOmitted, kOmitted, "b"},
      {"right mark not found inside a double-byte character",
       "[a\x81]b]", "[", "]", kOmitted, kOmitted, "a\x81]b"},
      {"double-byte text between the marks", "<i>\xD5\xE6</i>", "<i>", "</i>",
       kOmitted, kOmitted, "\xD5\xE6"},  // 真
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(TextBetween(c.text, c.left, c.right, c.start, c.ignoreCase),
              c.expected);
  }
}

TEST(TextBetweenTest, QuotePlaceholderStandsForDoubleQuote) {
  const BetweenCase cases[] = {
      {"in the left mark", "<div id=\"x\">body</div>",
       "id=" + kQuote + "x" + kQuote + ">", "</div>", kOmitted, kOmitted,
       "body"},
      {"in the right mark", "a=\"v\" b", "a=" + kQuote, kQuote, kOmitted,
       kOmitted, "v"},
      {"in both marks, several times", "<a href=\"M\" target=\"blank\">",
       "href=" + kQuote, kQuote + " target=" + kQuote + "blank" + kQuote,
       kOmitted, kOmitted, "M"},
      // The placeholder is replaced in the marks only, so it no longer
      // matches its own bytes in the text.
      {"placeholder bytes in the text do not match",
       "id=" + kQuote + "x" + kQuote + ">body</div>",
       "id=" + kQuote + "x" + kQuote + ">", "</div>", kOmitted, kOmitted, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(TextBetween(c.text, c.left, c.right, c.start, c.ignoreCase),
              c.expected);
  }
}

TEST(TextBetweenTest, StartPositionAndIgnoreCase) {
  const BetweenCase cases[] = {
      {"start on the first left mark", "a[x]b[y]", "[", "]", 2, kOmitted,
       "x"},
      {"start past the first left mark", "a[x]b[y]", "[", "]", 3, kOmitted,
       "y"},
      {"start 0 means the beginning", "a[x]b[y]", "[", "]", 0, kOmitted, "x"},
      {"negative start means the beginning", "a[x]b[y]", "[", "]", -5,
       kOmitted, "x"},
      {"start past the last left mark", "a[x]b[y]", "[", "]", 7, kOmitted,
       ""},
      {"start past the end", "a[x]b[y]", "[", "]", 100, kOmitted, ""},
      {"exact case by default", "a<B>x</B>", "<b>", "</b>", kOmitted,
       kOmitted, ""},
      {"exact case when asked", "a<B>x</B>", "<b>", "</b>", kOmitted, false,
       ""},
      {"ignore case for the left mark", "a<B>x</b>", "<b>", "</b>", kOmitted,
       true, "x"},
      {"ignore case for the right mark", "<b>x</B>y</b>", "<b>", "</b>",
       kOmitted, true, "x"},
      {"right mark exact without ignore case", "<b>x</B>y</b>", "<b>", "</b>",
       kOmitted, false, "x</B>y"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(TextBetween(c.text, c.left, c.right, c.start, c.ignoreCase),
              c.expected);
  }
}

struct AfterLastCase {
  const char* name;
  std::string text;
  std::string mark;
  std::optional<int> start;
  std::optional<bool> ignoreCase;
  std::string expected;
};

TEST(TextAfterLastTest, BytesAfterLastOccurrence) {
  const AfterLastCase cases[] = {
      {"last of two", "x src=a src=b", "src=", kOmitted, kOmitted, "b"},
      {"last of three", "a=1;a=2;a=3", "a=", kOmitted, kOmitted, "3"},
      {"mark missing", "abc", "z", kOmitted, kOmitted, ""},
      {"mark ends the text", "abc", "c", kOmitted, kOmitted, ""},
      {"mark is the whole text", "abc", "abc", kOmitted, kOmitted, ""},
      {"mark longer than the text", "abc", "abcd", kOmitted, kOmitted, ""},
      {"empty mark", "abc", "", kOmitted, kOmitted, ""},
      {"empty text", "", "a", kOmitted, kOmitted, ""},
      {"mark at the start", "src=abc", "src=", kOmitted, kOmitted, "abc"},
      {"double-byte tail", "src=\xD5\xE6", "src=", kOmitted, kOmitted,
       "\xD5\xE6"},  // 真
      // The backward search goes byte by byte, so it does find "[" as the
      // second byte of the double-byte character 0x81 0x5B.
      {"backward search is byte-based", "a\x81[b", "[", kOmitted, kOmitted,
       "b"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(TextAfterLast(c.text, c.mark, c.start, c.ignoreCase),
              c.expected);
  }
}

TEST(TextAfterLastTest, StartPositionAndIgnoreCase) {
  // In "x src=a src=b" the marks occupy bytes 3..6 and 9..12.
  const AfterLastCase cases[] = {
      {"start at the end of the last mark", "x src=a src=b", "src=", 12,
       kOmitted, "b"},
      {"start just before the end of the last mark", "x src=a src=b", "src=",
       11, kOmitted, "a src=b"},
      {"start past the end", "x src=a src=b", "src=", 100, kOmitted, "b"},
      {"start 0 searches everything", "x src=a src=b", "src=", 0, kOmitted,
       "b"},
      {"exact case by default", "x SRC=a", "src=", kOmitted, kOmitted, ""},
      {"exact case when asked", "x SRC=a", "src=", kOmitted, false, ""},
      {"ignore case", "x SRC=a", "src=", kOmitted, true, "a"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(TextAfterLast(c.text, c.mark, c.start, c.ignoreCase),
              c.expected);
  }
}

}  // namespace
}  // namespace lumigrab
