// Unit tests for the text primitives in base/text.h.
//
// Chinese literals are GBK bytes. Characters used below:
//   "\x81\x41" 丄 and "\x81\x61" 乤: second byte is an ASCII letter ('A' / 'a')
//   "\xB0\xA1" 啊 and "\xA1\xA2" 、: side by side they hold A1 A1 across the
//                                  character boundary
//   "\xD5\xE6" 真, "\xBC\xD9" 假
//   "\xA1\xA1" full-width space; "\xA3\xB0".."\xA3\xB9" full-width digits 0-9;
//   "\xA3\xAB" ＋, "\xA3\xAD" －, "\xA3\xAF" ／

#include "base/text.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumigrab {
namespace {

// Shows bytes >= 0x80 and control bytes as \xNN so failing rows are readable.
std::string Visible(std::string_view text) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out = "\"";
  for (unsigned char c : text) {
    if (c < 0x20 || c >= 0x7F || c == '"' || c == '\\') {
      out += "\\x";
      out += kHex[c >> 4];
      out += kHex[c & 0xF];
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
}

std::string VisibleArg(std::optional<int> value) {
  return value ? std::to_string(*value) : std::string("omitted");
}

std::string VisibleArg(std::optional<std::string_view> value) {
  return value ? Visible(*value) : std::string("omitted");
}

// ---------------------------------------------------------------------------
// TextLength, JoinTexts, CompareTexts

TEST(TextLengthTest, CountsBytes) {
  EXPECT_EQ(TextLength(""), 0);
  EXPECT_EQ(TextLength("abc"), 3);
  EXPECT_EQ(TextLength("\xD5\xE6" "a"), 3);  // 真a
}

TEST(JoinTextsTest, LaysArgumentsEndToEnd) {
  EXPECT_EQ(JoinTexts("a"), "a");
  EXPECT_EQ(JoinTexts("", ""), "");
  EXPECT_EQ(JoinTexts("a", "", "b"), "ab");
  EXPECT_EQ(JoinTexts("\xD5\xE6", Text("x"), std::string_view("\xBC\xD9"), "!"),
            "\xD5\xE6x\xBC\xD9!");  // 真x假!
}

TEST(CompareTextsTest, UnsignedBytewise) {
  struct Case {
    const char* a;
    const char* b;
    int expected;
  };
  const Case cases[] = {
      {"ab", "abc", -1},
      {"abc", "ab", 1},
      {"", "", 0},
      {"", "a", -1},
      {"a", "", 1},
      {"abc", "abc", 0},
      {"b", "abc", 1},             // first difference decides, not length
      {"A", "a", -1},              // exact, case-sensitive
      {"\x80", "a", 1},            // bytes compare unsigned
      {"a", "\x80", -1},
      {"\xD5\xE6", "\xBC\xD9", 1},  // 真 vs 假
      {"\xD5\xE6", "\xD5\xE6", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Visible(c.a) + " vs " + Visible(c.b));
    EXPECT_EQ(CompareTexts(c.a, c.b), c.expected);
  }
}

// ---------------------------------------------------------------------------
// FindText

TEST(FindTextTest, Table) {
  struct Case {
    const char* text;
    const char* sought;
    std::optional<int> start;
    bool ignoreCase;
    int expected;
  };
  const Case cases[] = {
      {"abcabc", "bc", kOmitted, false, 2},
      {"abcabc", "bc", 1, false, 2},
      {"abcabc", "bc", 3, false, 5},
      {"abcabc", "bc", 5, false, 5},
      {"abcabc", "bc", 0, false, 2},   // 0 or less means 1
      {"abcabc", "bc", -7, false, 2},
      {"abcabc", "bc", 6, false, -1},  // past L - n + 1
      {"abc", "c", 3, false, 3},       // start exactly L - n + 1
      {"abc", "c", 4, false, -1},
      {"abc", "abc", kOmitted, false, 1},
      {"abc", "x", kOmitted, false, -1},
      // Degenerate lengths.
      {"", "a", kOmitted, false, -1},
      {"", "", kOmitted, false, -1},
      {"abc", "", kOmitted, false, -1},
      {"ab", "abc", kOmitted, false, -1},
      // Case folding.
      {"ABC", "b", kOmitted, false, -1},
      {"ABC", "b", kOmitted, true, 2},
      {"xHeLLo", "hello", kOmitted, true, 2},
      {"xHeLLo", "HELLO", kOmitted, true, 2},
      // Only A-Z fold: byte pairs that differ by 0x20 elsewhere stay distinct.
      {"a[b", "{", kOmitted, true, -1},
      {"a@b", "`", kOmitted, true, -1},
      {"\xC0\xC1", "\xE0\xE1", kOmitted, true, -1},
      // Double-byte stepping: no match may start on a second byte.
      {"\x81\x41", "A", kOmitted, false, -1},            // 丄
      {"\x81\x41" "A", "A", kOmitted, false, 3},         // 丄A
      {"\x81\x61" "a", "A", kOmitted, true, 3},          // 乤a
      {"\x81\x61", "A", kOmitted, true, -1},             // 乤
      {"\xD5\xE6\xD5\xE6", "\xE6\xD5", kOmitted, false, -1},  // 真真
      {"x\xD5\xE6\xBC\xD9", "\xBC\xD9", kOmitted, false, 4},  // x真假
      {"\xD5\xE6\xBC" "AA", "A", kOmitted, false, 5},  // 真, then BC 41 a pair
      {"\xD5\xE6\xE6\xD5", "\xE6\xD5", kOmitted, false, 3},
      {"aaAab", "AAB", kOmitted, true, 3},  // a partial match falls back
      // A given start is honoured as is, even on a second byte.
      {"\xD5\xE6\xD5\xE6", "\xE6\xD5", 2, false, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Visible(c.text) + " find " + Visible(c.sought) + " start " +
                 VisibleArg(c.start) + (c.ignoreCase ? " ignore case" : ""));
    EXPECT_EQ(FindText(c.text, c.sought, c.start, c.ignoreCase), c.expected);
  }
}

// ---------------------------------------------------------------------------
// FindTextReverse

// Long near-misses make a direct comparison of every candidate quadratic;
// the searches then switch to a linear method, which must find the same
// match, on a character boundary, exact or case-folded.
TEST(FindTextTest, HostileNearMissesFindTheSameMatch) {
  const std::string run(3000, 'a');
  const std::string sought = std::string(200, 'a') + "b";
  struct Case {
    std::string text;
    std::string sought;
    bool ignoreCase;
    int expected;
  };
  const Case cases[] = {
      {run + "b", sought, false, 3000 - 200 + 1},
      {run + "B", sought, true, 3000 - 200 + 1},
      {std::string(3000, 'A') + "b", std::string(200, 'a') + "B", true, 3000 - 200 + 1},
      {run, sought, false, -1},
      {run, sought, true, -1},
      // The only byte-level match starts on the second byte of a pair.
      {std::string(2999, 'a') + "\x81" + "a" + sought, "a" + sought, true, -1},
      {std::string(2999, 'a') + "\x81" + "aa" + sought, "a" + sought, false, 2999 + 2 + 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Visible(c.sought.substr(0, 8)) + (c.ignoreCase ? " folded" : " exact"));
    EXPECT_EQ(FindText(c.text, c.sought, kOmitted, c.ignoreCase), c.expected);
    const std::string replaced =
        ReplaceText(c.text, c.sought, "#", kOmitted, kOmitted, !c.ignoreCase);
    if (c.expected == -1) {
      EXPECT_EQ(replaced, c.text);
    } else {
      EXPECT_EQ(replaced, c.text.substr(0, static_cast<size_t>(c.expected - 1)) + "#");
    }
  }
}

TEST(FindTextReverseTest, Table) {
  struct Case {
    const char* text;
    const char* sought;
    std::optional<int> start;
    bool ignoreCase;
    int expected;
  };
  const Case cases[] = {
      {"abcabc", "bc", kOmitted, false, 5},
      {"abcabc", "bc", 0, false, 5},
      {"abcabc", "bc", -3, false, 5},
      {"abcabc", "bc", 6, false, 5},
      {"abcabc", "bc", 100, false, 5},  // lowered to the last possible start
      {"abcabc", "bc", 5, false, 2},    // the match at 5 ends at byte 6
      {"abcabc", "bc", 3, false, 2},
      {"abcabc", "bc", 2, false, -1},
      // A negative first candidate is raised to 0, so the first byte is still
      // tried even if a match there ends after P.
      {"abcabc", "ab", 1, false, 1},
      {"abc", "abc", kOmitted, false, 1},
      {"abc", "x", kOmitted, false, -1},
      {"", "a", kOmitted, false, -1},
      {"abc", "", kOmitted, false, -1},
      {"ab", "abc", kOmitted, false, -1},
      {"ABC", "b", kOmitted, false, -1},
      {"ABC", "b", kOmitted, true, 2},
      {"ABCabc", "bc", kOmitted, true, 5},
      {"a[b", "{", kOmitted, true, -1},
      // Byte-based: it does match inside a double-byte character.
      {"\x81\x41", "A", kOmitted, false, 2},                  // 丄
      {"\xD5\xE6\xD5\xE6", "\xE6\xD5", kOmitted, false, 2},   // 真真
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Visible(c.text) + " find " + Visible(c.sought) + " start " +
                 VisibleArg(c.start) + (c.ignoreCase ? " ignore case" : ""));
    EXPECT_EQ(FindTextReverse(c.text, c.sought, c.start, c.ignoreCase),
              c.expected);
  }
}

// ---------------------------------------------------------------------------
// ReplaceText

TEST(ReplaceTextTest, Table) {
  struct Case {
    const char* text;
    const char* sought;
    std::optional<std::string_view> replacement;
    std::optional<int> start;
    std::optional<int> count;
    bool caseSensitive;
    const char* expected;
  };
  const Case cases[] = {
      {"aXbXc", "X", "--", kOmitted, kOmitted, true, "a--b--c"},
      {"aXbXc", "X", "--", kOmitted, 1, true, "a--bXc"},
      {"aXbXc", "X", "--", kOmitted, 2, true, "a--b--c"},
      {"aXbXc", "X", "--", kOmitted, 10, true, "a--b--c"},
      {"aXbXc", "X", "--", 3, kOmitted, true, "aXb--c"},
      {"aXbXc", "X", "--", 4, kOmitted, true, "aXb--c"},
      {"aXbXc", "X", "--", 1, kOmitted, true, "a--b--c"},
      // Unlike FindText, a given start of 0 or less changes nothing.
      {"aXbXc", "X", "--", 0, kOmitted, true, "aXbXc"},
      {"aXbXc", "X", "--", -1, kOmitted, true, "aXbXc"},
      {"aXbXc", "X", "--", 6, kOmitted, true, "aXbXc"},  // past L - n + 1
      {"abX", "X", "y", 3, kOmitted, true, "aby"},        // exactly L - n + 1
      {"aXbXc", "X", "--", kOmitted, 0, true, "aXbXc"},
      {"aXbXc", "X", "--", kOmitted, -1, true, "aXbXc"},
      // Bytes before the start are kept even where they match.
      {"XaX", "X", "y", 2, kOmitted, true, "Xay"},
      // Omitted replacement deletes, as does a given empty one.
      {"aXbXc", "X", kOmitted, kOmitted, kOmitted, true, "abc"},
      {"aXbXc", "X", "", kOmitted, kOmitted, true, "abc"},
      {"XXX", "X", kOmitted, kOmitted, kOmitted, true, ""},
      // Replaced text is never searched again.
      {"aaa", "aa", "a", kOmitted, kOmitted, true, "aa"},
      {"aa", "a", "aa", kOmitted, kOmitted, true, "aaaa"},
      {"abab", "ab", "b", kOmitted, kOmitted, true, "bb"},
      // Case flag: true is exact; false folds A-Z only.
      {"Ab", "a", "x", kOmitted, kOmitted, false, "xb"},
      {"Ab", "a", "x", kOmitted, kOmitted, true, "Ab"},
      {"aXbxc", "x", "-", kOmitted, kOmitted, false, "a-b-c"},
      {"[", "{", "x", kOmitted, kOmitted, false, "["},
      // Degenerate inputs.
      {"", "a", "x", kOmitted, kOmitted, true, ""},
      {"abc", "", "x", kOmitted, kOmitted, true, "abc"},
      {"ab", "abc", "x", kOmitted, kOmitted, true, "ab"},
      // Double-byte stepping.
      {"\x81\x41" "A", "A", "x", kOmitted, kOmitted, true, "\x81\x41x"},  // 丄A
      {"\x81\x61" "a", "A", "x", kOmitted, kOmitted, false, "\x81\x61x"},  // 乤a
      {"\xD5\xE6\xD5\xE6", "\xE6\xD5", "x", kOmitted, kOmitted, true,
       "\xD5\xE6\xD5\xE6"},                                            // 真真
      {"\xD5\xE6" "a\xD5\xE6", "\xD5\xE6", "\xBC\xD9", kOmitted, kOmitted, true,
       "\xBC\xD9" "a\xBC\xD9"},                                        // 真a真
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Visible(c.text) + " replace " + Visible(c.sought) + " by " +
                 VisibleArg(c.replacement) + " start " + VisibleArg(c.start) +
                 " count " + VisibleArg(c.count) +
                 (c.caseSensitive ? " case sensitive" : " ignore case"));
    EXPECT_EQ(Visible(ReplaceText(c.text, c.sought, c.replacement, c.start,
                                  c.count, c.caseSensitive)),
              Visible(c.expected));
  }
}

// ---------------------------------------------------------------------------
// SplitText

TEST(SplitTextTest, Table) {
  struct Case {
    const char* text;
    std::optional<std::string_view> delimiter;
    std::optional<int> maximum;
    std::vector<Text> expected;
  };
  const Case cases[] = {
      {"a,,b,", kOmitted, kOmitted, {"a", "", "b"}},  // no empty last element
      {",a", kOmitted, kOmitted, {"", "a"}},
      {",", kOmitted, kOmitted, {""}},
      {",,", kOmitted, kOmitted, {"", ""}},
      {"a,b,c", kOmitted, kOmitted, {"a", "b", "c"}},
      {"a,b,c", ",", kOmitted, {"a", "b", "c"}},
      {"abc", kOmitted, kOmitted, {"abc"}},
      {"", kOmitted, kOmitted, {}},
      {"", "", kOmitted, {}},
      {"abc", "", kOmitted, {"abc"}},
      {"a,b", "", kOmitted, {"a,b"}},
      // Maximum parts: reaching it drops the rest; negative counts as 0.
      {"a,b,c", ",", 2, {"a", "b"}},
      {"a,b,c", ",", 1, {"a"}},
      {"a,b,c", ",", 3, {"a", "b", "c"}},
      {"a,b,c", ",", 9, {"a", "b", "c"}},
      {"a,b,", ",", 2, {"a", "b"}},
      {"a", ",", 1, {"a"}},
      {"a,b,c", ",", 0, {}},
      {"a,b,c", ",", -1, {}},
      // Multi-byte delimiters, exact comparison.
      {"a<>b<>c", "<>", kOmitted, {"a", "b", "c"}},
      {"a<>", "<>", kOmitted, {"a"}},
      {"a<", "<>", kOmitted, {"a<"}},
      {"aXbxc", "x", kOmitted, {"aXb", "c"}},
      // Double-byte stepping: 丄 ends in 'A' and is never cut.
      {"\x81\x41" "Ab", "A", kOmitted, {"\x81\x41", "b"}},
      {"\xD5\xE6,\xBC\xD9", kOmitted, kOmitted, {"\xD5\xE6", "\xBC\xD9"}},
      {"\xD5\xE6\xD5\xE6", "\xE6\xD5", kOmitted, {"\xD5\xE6\xD5\xE6"}},
      // A lead byte as the last byte: scanning stops, the rest is kept.
      {"a,\x81", kOmitted, kOmitted, {"a", "\x81"}},
      {"\x81", kOmitted, kOmitted, {"\x81"}},
      // The delimiter is tried before the lead-byte step.
      {"ab\x81", "\x81", kOmitted, {"ab"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Visible(c.text) + " by " + VisibleArg(c.delimiter) + " max " +
                 VisibleArg(c.maximum));
    const TextArray parts = SplitText(c.text, c.delimiter, c.maximum);
    std::vector<std::string> got;
    for (const Text& part : parts) got.push_back(Visible(part));
    std::vector<std::string> want;
    for (const Text& part : c.expected) want.push_back(Visible(part));
    EXPECT_EQ(got, want);
    EXPECT_EQ(parts.Count(), static_cast<int>(c.expected.size()));
  }
}

TEST(SplitTextTest, DefaultArgumentsMeanComma) {
  EXPECT_EQ(SplitText("x,y"), (TextArray{"x", "y"}));
}

// ---------------------------------------------------------------------------
// LeftText, RightText, MidText (byte-based cuts)

TEST(CutTextTest, LeftText) {
  struct Case {
    const char* text;
    int n;
    const char* expected;
  };
  const Case cases[] = {
      {"abc", 5, "abc"},
      {"abc", 3, "abc"},
      {"abc", 2, "ab"},
      {"abc", 0, ""},
      {"abc", -1, ""},
      {"", 2, ""},
      {"abc", INT_MAX, "abc"},
      {"\xD5\xE6\xBC\xD9", 3, "\xD5\xE6\xBC"},  // 真假: may cut a character
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Visible(c.text) + " n " + std::to_string(c.n));
    EXPECT_EQ(Visible(LeftText(c.text, c.n)), Visible(c.expected));
  }
}

TEST(CutTextTest, RightText) {
  struct Case {
    const char* text;
    int n;
    const char* expected;
  };
  const Case cases[] = {
      {"abc", 0, ""},
      {"abc", -3, ""},
      {"abc", 2, "bc"},
      {"abc", 3, "abc"},
      {"abc", 5, "abc"},
      {"", 1, ""},
      {"abc", INT_MAX, "abc"},
      {"\xD5\xE6\xBC\xD9", 1, "\xD9"},  // 真假
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Visible(c.text) + " n " + std::to_string(c.n));
    EXPECT_EQ(Visible(RightText(c.text, c.n)), Visible(c.expected));
  }
}

TEST(CutTextTest, MidText) {
  struct Case {
    const char* text;
    int start;
    int n;
    const char* expected;
  };
  const Case cases[] = {
      {"abcdef", 5, 10, "ef"},
      {"abc", 4, 1, ""},
      {"abcdef", 2, 3, "bcd"},
      {"abc", 1, 3, "abc"},
      {"abc", 3, 1, "c"},
      {"abc", 0, 2, ""},
      {"abc", -1, 2, ""},
      {"abc", 1, 0, ""},
      {"abc", 1, -1, ""},
      {"", 1, 1, ""},
      {"abc", 2, INT_MAX, "bc"},  // start + n must not overflow
      {"\xD5\xE6\xBC\xD9", 2, 2, "\xE6\xBC"},  // 真假
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Visible(c.text) + " start " + std::to_string(c.start) +
                 " n " + std::to_string(c.n));
    EXPECT_EQ(Visible(MidText(c.text, c.start, c.n)), Visible(c.expected));
  }
}

// ---------------------------------------------------------------------------
// TrimText, RemoveSpaces

TEST(SpacesTest, TrimText) {
  struct Case {
    const char* text;
    const char* expected;
  };
  const Case cases[] = {
      {"  ab  ", "ab"},
      {" a b ", "a b"},
      {"   ", ""},
      {"", ""},
      {"ab", "ab"},
      {"\xA1\xA1  ", ""},
      {"\xA1\xA1\xA1\xA1", ""},
      {"\xA1\xA1 \xA1\xA1x", "x"},
      {"x\xA1\xA1 \xA1\xA1", "x"},
      {"\xA1\xA1" "a\xA1\xA1" "b\xA1\xA1", "a\xA1\xA1" "b"},  // inner kept
      {" \xD5\xE6 ", "\xD5\xE6"},                            // 真
      // Tabs and line breaks are not spaces here.
      {"\tab\r\n", "\tab\r\n"},
      {" \tab\n ", "\tab\n"},
      // A lone A1 is not a full-width space.
      {"x \xA1", "x \xA1"},
      // 啊、 holds A1 A1 across its two characters; nothing to trim.
      {" \xB0\xA1\xA1\xA2 ", "\xB0\xA1\xA1\xA2"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Visible(c.text));
    EXPECT_EQ(Visible(TrimText(c.text)), Visible(c.expected));
  }
}

TEST(SpacesTest, RemoveSpaces) {
  struct Case {
    const char* text;
    const char* expected;
  };
  const Case cases[] = {
      {" a b ", "ab"},
      {"   ", ""},
      {"", ""},
      {"\xA1\xA1" "a\xA1\xA1" "b \xA1\xA1", "ab"},
      {"\xA1\xA1\xA1\xA1", ""},
      {"a\tb\r\n", "a\tb\r\n"},
      {"\xD5\xE6 \xBC\xD9", "\xD5\xE6\xBC\xD9"},  // 真 假
      // 啊、: the A1 A1 between them is a second byte plus a lead byte, not
      // a full-width space.
      {"\xB0\xA1\xA1\xA2", "\xB0\xA1\xA1\xA2"},
      {" \xB0\xA1\xA1\xA2 \xA1\xA1", "\xB0\xA1\xA1\xA2"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Visible(c.text));
    EXPECT_EQ(Visible(RemoveSpaces(c.text)), Visible(c.expected));
  }
}

// ---------------------------------------------------------------------------
// ToLowerText, ToUpperText

TEST(LetterCaseTest, Table) {
  struct Case {
    const char* text;
    const char* lower;
    const char* upper;
  };
  const Case cases[] = {
      {"", "", ""},
      {"ABC xyz 123", "abc xyz 123", "ABC XYZ 123"},
      {"[@`{", "[@`{", "[@`{"},  // neighbours of the letter ranges
      // Second bytes 'A' (丄) and 'a' (乤) stay as they are.
      {"\x81\x41", "\x81\x41", "\x81\x41"},
      {"\x81\x61", "\x81\x61", "\x81\x61"},
      {"A\x81\x41" "B\x81\x61" "c", "a\x81\x41" "b\x81\x61" "c",
       "A\x81\x41" "B\x81\x61" "C"},
      {"\xC0\xE0", "\xC0\xE0", "\xC0\xE0"},
      // A lead byte as the last byte.
      {"Ab\x81", "ab\x81", "AB\x81"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Visible(c.text));
    EXPECT_EQ(Visible(ToLowerText(c.text)), Visible(c.lower));
    EXPECT_EQ(Visible(ToUpperText(c.text)), Visible(c.upper));
  }
}

// ---------------------------------------------------------------------------
// ToText

TEST(ToTextTest, Integers) {
  EXPECT_EQ(ToText(std::int32_t{0}), "0");
  EXPECT_EQ(ToText(std::int32_t{-12}), "-12");
  EXPECT_EQ(ToText(std::int32_t{42}), "42");
  EXPECT_EQ(ToText(std::int32_t{INT32_MAX}), "2147483647");
  EXPECT_EQ(ToText(std::int32_t{INT32_MIN}), "-2147483648");
  EXPECT_EQ(ToText(std::int16_t{-32768}), "-32768");
  EXPECT_EQ(ToText(std::int16_t{7}), "7");
  EXPECT_EQ(ToText(std::uint8_t{255}), "255");  // a number, not a character
  EXPECT_EQ(ToText(std::uint8_t{65}), "65");
  EXPECT_EQ(ToText(std::int64_t{10000000000}), "10000000000");
  EXPECT_EQ(ToText(std::int64_t{INT64_MIN}), "-9223372036854775808");
}

TEST(ToTextTest, TruthValues) {
  EXPECT_EQ(Visible(ToText(true)), Visible("\xD5\xE6"));   // 真
  EXPECT_EQ(Visible(ToText(false)), Visible("\xBC\xD9"));  // 假
}

TEST(ToTextTest, Doubles) {
  struct Case {
    double value;
    const char* expected;
  };
  const Case cases[] = {
      {2.5, "2.5"},
      {3.0, "3"},
      {0.25, "0.25"},
      {-12.75, "-12.75"},
      {-0.5, "-0.5"},
      {0.0, "0"},
      {100.0, "100"},       // zeros before the point stay
      {1000.001, "1000.001"},
      {0.1, "0.1"},
      {1.0 / 3.0, "0.333333"},
      {2.0 / 3.0, "0.666667"},  // rounded at six decimals
      {1.0000001, "1"},         // rounds to 1.000000
      {9.9999999, "10"},
      {123456789.0, "123456789"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected);
    EXPECT_EQ(ToText(c.value), c.expected);
  }
}

TEST(ToTextTest, TextsAndBytes) {
  EXPECT_EQ(ToText("\xD5\xE6 x"), "\xD5\xE6 x");
  EXPECT_EQ(ToText(std::string_view("")), "");
  EXPECT_EQ(ToText(std::string_view("abc")), "abc");

  struct Case {
    Bytes bytes;
    const char* expected;
  };
  const Case cases[] = {
      {{}, ""},
      {{'x', 'y'}, "xy"},
      {{'a', 'b', 0, 'c'}, "ab"},
      {{0, 'a'}, ""},
      {{0xD5, 0xE6}, "\xD5\xE6"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Visible(c.expected));
    EXPECT_EQ(Visible(ToText(c.bytes)), Visible(c.expected));
    EXPECT_EQ(Visible(BytesToText(c.bytes)), Visible(c.expected));
  }
}

// ---------------------------------------------------------------------------
// ToInteger, ToByte

TEST(ToIntegerTest, Texts) {
  struct Case {
    const char* text;
    std::int32_t expected;
  };
  const Case cases[] = {
      {"12abc", 12},
      {"abc", 0},
      {" -7", -7},
      {"", 0},
      {"+5", 5},
      {"-", 0},
      {"--5", 0},
      {"007", 7},
      {"1 2", 1},
      {"0x1A", 0},
      {" \t 42", 42},
      // Wrap-around modulo 2^32.
      {"2147483647", INT32_MAX},
      {"2147483648", INT32_MIN},
      {"-2147483648", INT32_MIN},
      {"4294967295", -1},
      {"-4294967295", 1},
      {"4294967297", 1},
      {"99999999999", 1215752191},
      // Full-width digits, signs and spaces count as ASCII.
      {"\xA3\xB1\xA3\xB2\xA3\xB3", 123},                 // １２３
      {"\xA3\xB0\xA3\xB9", 9},                           // ０９
      {"\xA3\xAD\xA3\xB5", -5},                          // －５
      {"\xA3\xAB\xA3\xB7", 7},                           // ＋７
      {"-\xA3\xB4", -4},
      {"1\xA3\xB2" "3", 123},
      {"\xA1\xA1\xA3\xB9", 9},                           // 　９
      {"\xA1\xA1 -3", -3},
      {"12\xA3\xAF" "3", 12},                            // １２／３: slash ends digits
      {"\xA3\xAF" "5", 0},                               // a slash is not white space
      {"\xD5\xE6" "1", 0},                               // 真1
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Visible(c.text));
    EXPECT_EQ(ToInteger(c.text), c.expected);
    EXPECT_EQ(ToInteger(std::string_view(c.text)), c.expected);
  }
}

TEST(ToIntegerTest, Numbers) {
  EXPECT_EQ(ToInteger(2.9), 2);
  EXPECT_EQ(ToInteger(-2.9), -2);  // toward zero, not down
  EXPECT_EQ(ToInteger(0.0), 0);
  EXPECT_EQ(ToInteger(std::int32_t{-17}), -17);
  EXPECT_EQ(ToInteger(std::int64_t{123}), 123);
  EXPECT_EQ(ToInteger(std::uint8_t{200}), 200);  // unsigned, not -56
}

TEST(ToByteTest, Table) {
  EXPECT_EQ(ToByte("300"), 44);
  EXPECT_EQ(ToByte("-1"), 255);
  EXPECT_EQ(ToByte("257"), 1);
  EXPECT_EQ(ToByte(std::string_view("\xA3\xB2\xA3\xB5\xA3\xB6")), 0);  // ２５６
  EXPECT_EQ(ToByte(""), 0);
  EXPECT_EQ(ToByte(std::int32_t{256 + 7}), 7);
  EXPECT_EQ(ToByte(std::int32_t{-1}), 255);
  EXPECT_EQ(ToByte(300.9), 44);
  EXPECT_EQ(ToByte(-1.5), 255);  // truncated to -1 first
}

// ---------------------------------------------------------------------------
// CharText, SpaceText, HexText

TEST(SmallTextTest, CharText) {
  struct Case {
    int code;
    const char* expected;
  };
  const Case cases[] = {
      {0, ""},         {10, "\n"},     {65, "A"},      {256 + 65, "A"},
      {256, ""},       {-1, "\xFF"},   {0xD5, "\xD5"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    EXPECT_EQ(Visible(CharText(c.code)), Visible(c.expected));
  }
}

TEST(SmallTextTest, SpaceText) {
  EXPECT_EQ(SpaceText(0), "");
  EXPECT_EQ(SpaceText(-1), "");
  EXPECT_EQ(SpaceText(1), " ");
  EXPECT_EQ(SpaceText(3), "   ");
}

TEST(SmallTextTest, HexText) {
  struct Case {
    std::int32_t value;
    const char* expected;
  };
  const Case cases[] = {
      {255, "FF"},       {-1, "FFFFFFFF"},      {0, "0"},
      {0x1A2B, "1A2B"},  {INT32_MIN, "80000000"}, {16, "10"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    EXPECT_EQ(HexText(c.value), c.expected);
  }
}

// ---------------------------------------------------------------------------
// TextToBytes, BytesLength

TEST(BytesTest, TextToBytes) {
  EXPECT_EQ(TextToBytes("ab"), (Bytes{'a', 'b'}));  // no terminator
  EXPECT_EQ(TextToBytes(""), Bytes{});
  EXPECT_EQ(TextToBytes(std::string_view("\xD5\xE6")), (Bytes{0xD5, 0xE6}));
  EXPECT_EQ(TextToBytes(std::int32_t{0x01020304}), (Bytes{4, 3, 2, 1}));
  EXPECT_EQ(TextToBytes(std::int32_t{-1}), (Bytes{0xFF, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(TextToBytes(std::int32_t{0}), (Bytes{0, 0, 0, 0}));
  EXPECT_EQ(TextToBytes(std::int16_t{0x0102}), (Bytes{2, 1}));
  EXPECT_EQ(TextToBytes(std::uint8_t{7}), (Bytes{7}));
  EXPECT_EQ(TextToBytes(1.0),
            (Bytes{0, 0, 0, 0, 0, 0, 0xF0, 0x3F}));  // IEEE 754, little-endian
  EXPECT_EQ(TextToBytes(-2.5),
            (Bytes{0, 0, 0, 0, 0, 0, 0x04, 0xC0}));
}

TEST(BytesTest, BytesLength) {
  EXPECT_EQ(BytesLength(Bytes{}), 0);
  EXPECT_EQ(BytesLength(Bytes{0, 0, 1}), 3);  // zero bytes count
}

// ---------------------------------------------------------------------------
// Numeric operations

TEST(NumericTest, BitOperationsCombineLeftToRight) {
  EXPECT_EQ(BitOr(0x10, 0x01), 0x11);
  EXPECT_EQ(BitOr(1, 2, 4, 8), 15);
  EXPECT_EQ(BitAnd(0xFF, 0x0F, 0x3C), 0x0C);
  EXPECT_EQ(BitXor(1, 3, 7), 5);
  EXPECT_EQ(BitXor(-1, 0x0F, 0), -16);
}

TEST(NumericTest, ShiftRight) {
  struct Case {
    std::int32_t value;
    int count;
    std::int32_t expected;
  };
  const Case cases[] = {
      {256, 4, 16},
      {-8, 1, -4},           // sign bit copied in
      {-1, 31, -1},
      {INT32_MIN, 31, -1},
      {INT32_MAX, 30, 1},
      {16, 0, 16},
      {16, 32, 16},          // count modulo 32
      {16, 33, 8},
      {-8, 33, -4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.value) + " >> " + std::to_string(c.count));
    EXPECT_EQ(ShiftRight(c.value, c.count), c.expected);
  }
}

TEST(NumericTest, PowerAppliesExponentsLeftToRight) {
  EXPECT_DOUBLE_EQ(Power(2, {3, 2}), 64.0);  // (2^3)^2, not 2^(3^2)
  EXPECT_DOUBLE_EQ(Power(2, {10}), 1024.0);
  EXPECT_DOUBLE_EQ(Power(2, {-1}), 0.5);
  EXPECT_DOUBLE_EQ(Power(9, {0.5}), 3.0);
  EXPECT_DOUBLE_EQ(Power(2, {3, 2, 0.5}), 8.0);
}

// ---------------------------------------------------------------------------
// TextArray

TEST(TextArrayTest, OneBasedAccessCountAndIteration) {
  TextArray array{"a", "b"};
  array.Add("c");
  ASSERT_EQ(array.Count(), 3);
  EXPECT_EQ(array[1], "a");
  EXPECT_EQ(array[3], "c");
  array[2] = "x";
  const TextArray& view = array;
  EXPECT_EQ(view[2], "x");

  std::string seen;
  for (const Text& item : view) seen += item;
  EXPECT_EQ(seen, "axc");
  EXPECT_EQ(TextArray().Count(), 0);
}

// Natively the stop writes its text on stderr. Under Windows it shows a
// message box, which the fatal-stop test finds and closes in a child process.
#ifndef _WIN32
TEST(TextArrayDeathTest, IndexOutOfRangeEndsWithInternalError) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  const TextArray array{"a", "b"};
  EXPECT_EXIT((void)array[0], ::testing::ExitedWithCode(0),
              "program internal error number is 4");
  EXPECT_EXIT((void)array[-1], ::testing::ExitedWithCode(0),
              "program internal error number is 4");
  EXPECT_EXIT((void)array[array.Count() + 1], ::testing::ExitedWithCode(0),
              "program internal error number is 1");
  TextArray writable;
  EXPECT_EXIT(writable[1] = "x", ::testing::ExitedWithCode(0),
              "program internal error number is 1");
}
#endif

}  // namespace
}  // namespace lumigrab
