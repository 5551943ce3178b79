// The scrambler and the record's text.
#include <gtest/gtest.h>

#include <algorithm>

#include "base/gbk_literals.h"
#include "export/export_record.h"

namespace lumigrab {
namespace {

// MD5 of the key text "5813927358".
constexpr char kKeyDigest[] = "495a1fd9580541832b946e433fba2104";
constexpr char kDigestPart[] = "5A1FD9580";

TEST(Scrambler, FlipsBitFourOfEveryByteAndAppendsTheDigestPart) {
  const struct {
    std::string text;
    std::string hex;
  } cases[] = {
      {"abc", "717273"},
      {"", ""},
      {"\x10", "00"},
      {"\x0F", "1F"},
      {"\xFF", "EF"},
      {std::string("\0", 1), "10"},
      {"\xB2\xFA", "A2EA"},  // one GBK character: four digits
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ScrambleWithDigest(c.text, kKeyDigest), c.hex + kDigestPart);
  }
  // Without a digest only the hexadecimal part is left.
  EXPECT_EQ(ScrambleWithDigest("abc", ""), "717273");
}

TEST(Scrambler, BytesToHexGivesTwoDigitsPerByte) {
  EXPECT_EQ(BytesToHex({0x00, 0x0A, 0xAB, 0xFF}), "000AABFF");
  EXPECT_EQ(BytesToHex({}), "");
}

TEST(Record, ElevenLinesWithTheScrambledValuesPutIn) {
  const Text record = BuildExportRecord("DATE", "LINK");
  const TextArray lines = SplitText(record, "\r\n");
  ASSERT_EQ(lines.Count(), 11);
  const std::string expected[] = {
      "@Lumigrab?1",
      gbk::kRecordVersionLine,
      "@DATE",
      std::string(gbk::kRecordNoticeLine) + " " + kRecordContactNote,
      "@link\xA3\xBA" "LINK",
      "@--------------------",
      "&jpg=true",
      "&png=false",
      "&gif=false",
      "&bmp=false",
      "###{}###",
  };
  for (int i = 1; i <= 11; ++i) EXPECT_EQ(lines[i], expected[i - 1]) << i;
  EXPECT_EQ(record.substr(record.size() - 2), "\r\n");
  EXPECT_EQ(std::count(record.begin(), record.end(), '\n'), 11);
  // The contact note is ASCII.
  for (const char c : std::string(kRecordContactNote)) {
    EXPECT_LT(static_cast<unsigned char>(c), 0x80);
  }
}

TEST(Record, AnEmptyAddressLeavesTheDigestPartAlone) {
  const Text record =
      BuildExportRecord(ScrambleWithDigest("x", kKeyDigest),
                        ScrambleWithDigest("", kKeyDigest));
  EXPECT_NE(record.find(std::string("@link\xA3\xBA") + kDigestPart + "\r\n"),
            std::string::npos);
}

}  // namespace
}  // namespace lumigrab
