// Names of an export's files and the pure path helpers.
#include <gtest/gtest.h>

#include "base/clock.h"
#include "base/gbk_literals.h"
#include "export/naming.h"

namespace lumigrab {
namespace {

const DateTime kInstant = MakeDateTime(2017, 11, 16, 9, 5, 3);

TEST(TimeStamp, TokensInTheirOrder) {
  const struct {
    const char* pattern;
    const char* expected;
  } cases[] = {
      {"yyMMddhhmmss", "171116090503"},
      {"", "20171116090503"},
      {"yyyyMMddhhmmss", "20171116090503"},
      {"y-M-d h:m:s", "7-1-6 9:m:3"},
      {"yyy", "017"},
      {"mm", "05"},
      {"m", "m"},       // the minute has no one-letter token
      {"Hello", "Hello"},  // no token letter (upper-case H, lower e, l, o)
      {"days", "6a73"},   // every token letter counts: y, d and s
      {"yyyyy", "20177"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatTimeStamp(c.pattern, kInstant), c.expected) << c.pattern;
  }
}

TEST(TimeStamp, ReadsTheClock) {
  SetClockForTesting([] { return MakeDateTime(2017, 11, 16, 9, 5, 3); });
  EXPECT_EQ(TimeStamp("yyMMddhhmmss"), "171116090503");
  EXPECT_EQ(TimeStamp(""), "20171116090503");
  SetClockForTesting(nullptr);
}

TEST(UrlExtension, FindsItAsThePathFunctionDoes) {
  const struct {
    const char* address;
    const char* expected;
  } cases[] = {
      {"http://img.example/a.jpg", ".jpg"},
      {"http://img.example/a/b", ".example/a/b"},  // dot of the host only
      {"http://localhost/a/b", ""},
      {"", ""},
      {"http://h/a.b\\c", ""},        // a backslash forgets the dot
      {"http://h/x.jpg\\y.png", ".png"},
      {"http://h/a.jpg b", ""},       // so does a space
      {"http://h/a.tar.gz", ".gz"},
      {"http://h/a.jpg?x=1", ".jpg?x=1"},
      {"http://h/a.b/c", ".b/c"},
      {"http://h/\xD5\\.jpg", ".jpg"},  // 0x5C as a trail byte is no separator
  };
  for (const auto& c : cases) {
    EXPECT_EQ(UrlExtension(c.address), c.expected) << c.address;
  }
}

TEST(Names, StayInTheirFolder) {
  const struct {
    const char* folderName;
    const char* safe;
  } names[] = {
      {"K-1024", "K-1024"}, {"", ""},   {".", ""},       {"..", ""},
      {"...", ""},          {". .", ""}, {"a..", "a.."}, {".a", ".a"},
  };
  for (const auto& n : names) {
    EXPECT_EQ(SafeFolderName(n.folderName), n.safe) << n.folderName;
    EXPECT_EQ(ExportFolderPath("P", n.folderName), std::string("P\\Output\\") + n.safe);
    EXPECT_EQ(ArchivePath("P", n.folderName),
              std::string("P\\temp\\") + n.safe + ".zip");
  }
  const struct {
    const char* part;
    bool stays;
  } parts[] = {
      {".jpg", true},  {"", true},        {".b/c", false}, {".b\\c", false},
      {".jpg:x", false}, {".\xD5\\", true},  // a GBK character ending in 0x5C
  };
  for (const auto& p : parts) EXPECT_EQ(StaysInFolder(p.part), p.stays) << p.part;
}

TEST(Names, ExportFiles) {
  EXPECT_EQ(ImageFilePath("P\\Output\\K-1024", gbk::kDescriptionImagePrefix, 1,
                          "171116090503", ".jpg"),
            std::string("P\\Output\\K-1024\\") + gbk::kDescriptionImagePrefix +
                "1_171116090503.jpg");
  EXPECT_EQ(RecordFilePath("P\\Output\\K-1024", "20171116090503"),
            "P\\Output\\K-1024\\20171116090503.ac.txt");
  EXPECT_EQ(RecordFilePath("P\\Output\\", "20171116090503"),
            "P\\Output\\\\20171116090503.ac.txt");
  EXPECT_EQ(TempPageFilePath("C:\\t\\", 1234), "C:\\t\\lmg1234.html");
  EXPECT_EQ(TempPageFilePath("", 1234), "lmg1234.html");
  EXPECT_EQ(PackingFolderPath("P"), "P\\temp");
  EXPECT_EQ(PackerPath("P"), "P\\zip.exe");

  SetClockForTesting([] { return MakeDateTime(2017, 11, 16, 9, 5, 3); });
  EXPECT_EQ(DescriptionImagePath("F", 12, "http://h/a.png"),
            std::string("F\\") + gbk::kDescriptionImagePrefix + "12_171116090503.png");
  EXPECT_EQ(MainImagePath("F", 1, "http://h/a"),
            std::string("F\\") + gbk::kMainImagePrefix + "1_171116090503");
  SetClockForTesting(nullptr);
}

TEST(Names, FolderPrefixesStepOverDoubleByteCharacters) {
  const TextArray p = FolderPrefixes("C:\\a\\\xD5\\b\\c\\");
  ASSERT_EQ(p.Count(), 4);
  EXPECT_EQ(p[1], "C:");
  EXPECT_EQ(p[2], "C:\\a");
  EXPECT_EQ(p[3], "C:\\a\\\xD5\\b");
  EXPECT_EQ(p[4], "C:\\a\\\xD5\\b\\c");
  // The last part is cut after its final separator; without one it is a
  // folder too.
  EXPECT_EQ(FolderPrefixes("C:\\a\\c\\")[3], "C:\\a\\c");
  EXPECT_EQ(FolderPrefixes("rel").Count(), 1);
  EXPECT_EQ(FolderPrefixes("").Count(), 0);
}

}  // namespace
}  // namespace lumigrab
