// Folders, names and the record file of an export, with real files.
#include <windows.h>

#include <gtest/gtest.h>

#include "base/clock.h"
#include "base/files.h"
#include "base/gbk_literals.h"
#include "export/export_record.h"
#include "export/naming.h"
#include "tests/support/temp_folder.h"

namespace lumigrab {
namespace {

using testing::ListTree;
using testing::ReadWholeFile;
using testing::TempFolder;

TEST(Folders, EnsureFolder) {
  TempFolder dir;
  EXPECT_TRUE(EnsureFolder(dir.Path()));        // existing: nothing changes
  EXPECT_TRUE(EnsureFolder(dir.Path() + "\\"));
  EXPECT_EQ(ListTree(dir.Path()), "");
  EXPECT_TRUE(EnsureFolder(dir / "a\\b\\c"));    // new, several levels
  EXPECT_TRUE(IsFolder(dir / "a\\b\\c"));
  EXPECT_FALSE(EnsureFolder(dir / "bad|name"));  // refused by the file system
  EXPECT_FALSE(IsFolder(dir / "bad|name"));
  // A GBK character whose trail byte is 0x5C makes one folder, not two.
  const std::string gbkName = "\xD5\\\xCE\xC4";  // 誠文
  EXPECT_TRUE(EnsureFolder(dir / gbkName));
  EXPECT_TRUE(IsFolder(dir / gbkName));
  EXPECT_EQ(ListTree(dir.Path()), "a\\\na\\b\\\na\\b\\c\\\n" + gbkName + "\\\n");
}

TEST(Folders, IsFolderAndTempFolder) {
  TempFolder dir;
  FileObject f = OpenFile(dir / "file", 4);
  CloseFile(f);
  EXPECT_FALSE(IsFolder(dir / "file"));
  EXPECT_FALSE(IsFolder(dir / "missing"));
  EXPECT_TRUE(IsFolder(dir.Path()));
  const Text temp = TempFolderPath();
  ASSERT_FALSE(temp.empty());
  EXPECT_EQ(temp.back(), '\\');
  EXPECT_TRUE(IsFolder(temp));
}

// Decodes a scrambled value: hex pairs with bit 4 flipped back, then the
// nine digest characters.
std::pair<std::string, std::string> Unscramble(const std::string& s) {
  std::string text;
  const std::size_t hexLength = s.size() - 9;
  for (std::size_t i = 0; i + 1 < hexLength + 1 && i < hexLength; i += 2) {
    text += static_cast<char>(std::stoi(s.substr(i, 2), nullptr, 16) ^ 0x10);
  }
  return {text, s.substr(hexLength)};
}

TEST(Record, WrittenBesideTheImagesAndDecodable) {
  TempFolder dir;
  SetClockForTesting([] { return MakeDateTime(2017, 11, 16, 9, 5, 3); });
  const std::string address = "http://127.0.0.1/item.htm?id=7&\xB2\xFA";
  WriteExportRecord(dir.Path(), address);
  SetClockForTesting(nullptr);

  EXPECT_EQ(ListTree(dir.Path()), "20171116090503.ac.txt\n");
  const std::string record = ReadWholeFile(dir / "20171116090503.ac.txt");
  const TextArray lines = SplitText(record, "\r\n");
  ASSERT_EQ(lines.Count(), 11);
  EXPECT_EQ(record.substr(record.size() - 2), "\r\n");
  EXPECT_EQ(record, BuildExportRecord(lines[3].substr(1),
                                      lines[5].substr(std::string("@link\xA3\xBA").size())));

  const auto date = Unscramble(lines[3].substr(1));
  EXPECT_EQ(date.first, "20171116090503Lumigrab");
  EXPECT_EQ(date.second, "5A1FD9580");
  const auto link = Unscramble(lines[5].substr(std::string("@link\xA3\xBA").size()));
  EXPECT_EQ(link.first, address);
  EXPECT_EQ(link.second, "5A1FD9580");
}

TEST(Record, AFolderThatCannotBeWrittenIsSkipped) {
  TempFolder dir;
  WriteExportRecord(dir / "missing\\folder", "http://h/");
  EXPECT_EQ(ListTree(dir.Path()), "");
}

TEST(HostileNames, NothingLandsOutsideOutput) {
  TempFolder exeDir;
  SetClockForTesting([] { return MakeDateTime(2017, 11, 16, 9, 5, 3); });
  for (const char* name : {"..", ".", "...", ". ."}) {
    const Text folder = ExportFolderPath(exeDir.Path(), name);
    EXPECT_EQ(folder, exeDir.Path() + "\\Output\\");
    EnsureFolder(folder);
    WriteExportRecord(folder, "http://h/");
    // An image whose extension holds a slash would be written through a
    // subfolder: such a name is not used.
    const Text image = DescriptionImagePath(folder, 1, "http://h/a.b/c");
    EXPECT_FALSE(StaysInFolder(UrlExtension("http://h/a.b/c")));
    EXPECT_NE(image.find('/'), std::string::npos);
  }
  SetClockForTesting(nullptr);
  EXPECT_EQ(ListTree(exeDir.Path()), "Output\\\nOutput\\20171116090503.ac.txt\n");
}

}  // namespace
}  // namespace lumigrab
