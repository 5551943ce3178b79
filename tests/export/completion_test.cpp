// The completion's pure pieces.
#include <gtest/gtest.h>

#include "export/completion.h"

namespace lumigrab {
namespace {

TEST(Completion, ProcessNames) {
  const struct {
    const char* exe;
    const char* name;
    bool caseSensitive, matches;
  } cases[] = {
      {"zip.exe", "zip.exe", true, true},   {"ZIP.EXE", "zip.exe", false, true},
      {"ZIP.EXE", "zip.exe", true, false},  {"zip.exe ", "zip.exe", false, false},
      {"gzip.exe", "zip.exe", false, false}, {"", "zip.exe", false, false},
      // Only ASCII letters fold: a GBK name compares byte for byte.
      {"\xC4\xDA.exe", "\xC4\xDA.EXE", false, true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ProcessNameMatches(c.exe, c.name, c.caseSensitive), c.matches)
        << c.exe << " / " << c.name;
  }
}

TEST(Completion, FileManagerCommandQuotesTheFolder) {
  EXPECT_EQ(FileManagerCommand("C:\\p q\\Output\\K-1"),
            "explorer.exe \"C:\\p q\\Output\\K-1\"");
  EXPECT_EQ(FileManagerCommand("C:\\p\\Output\\"), "explorer.exe \"C:\\p\\Output\\\"");
}

}  // namespace
}  // namespace lumigrab
