// zip.exe as the exporting program meets it: started from a folder of its
// own with temp beside it, handed a folder and an archive path, and checked
// by what it leaves on disk and in zip.log.
#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "ipc/handoff.h"
#include "ipc/packing_payload.h"
#include "tests/ipc/windows_test_support.h"
#include "tests/support/gbk_encoder.h"

namespace lumigrab {
namespace {

using testing::ChildProcess;
using testing::Quoted;
using testing::TempFolder;

constexpr DWORD kWaitMs = 30000;

// The export folder's name and files, in UTF-8; the test makes them with
// their GBK names, as the exporting program does.
const char kFolderName[] = "秀衣坊A1001";
struct File {
  const char* name;
  Text bytes;
};

Text PictureBytes(std::size_t n) {
  Text bytes(n, '\0');
  std::uint32_t state = 12345;
  for (char& c : bytes) {
    state = state * 1103515245u + 12345u;
    c = static_cast<char>(state >> 16);
  }
  return bytes;
}

const std::vector<File>& ExportFiles() {
  static const std::vector<File> files = {
      {"产品图1_202401021234.jpg", PictureBytes(5000)},
      {"预览图1_202401021234.jpg", PictureBytes(3000)},
      {"A1001.ac.txt", "@link：https://shop.example/item/A1001\r\n"},
      {"empty.gif", ""},
  };
  return files;
}

Text Gbk(const char* utf8) { return testing::Utf8ToGbk(utf8); }

// A program folder with zip.exe and temp in it, and an export folder under
// Output.
class PackerFolder {
 public:
  PackerFolder() {
    copied_ = testing::CopyProgram(testing::BuildProgram(ZIP_EXE_RELATIVE), app_ / "zip.exe");
    CreateDirectoryA((app_ / "temp").c_str(), nullptr);
    CreateDirectoryA((app_ / "Output").c_str(), nullptr);
    CreateDirectoryA(ExportFolder().c_str(), nullptr);
    for (const File& f : ExportFiles()) {
      testing::WriteWholeFile(ExportFolder() + "\\" + Gbk(f.name), f.bytes);
    }
    // Not a file: stays out of the archive.
    CreateDirectoryA((ExportFolder() + "\\sub").c_str(), nullptr);
    testing::WriteWholeFile(ExportFolder() + "\\sub\\inner.txt", "inner");
  }

  bool Ready() const { return copied_ && !Gbk(kFolderName).empty(); }
  Text App() const { return app_.Path(); }
  Text ExportFolder() const { return app_ / ("Output\\" + Gbk(kFolderName)); }
  Text Archive() const { return app_ / ("temp\\" + Gbk(kFolderName) + ".zip"); }
  Text Log() const { return testing::ReadFileIfPresent(app_ / "zip.log").value_or(""); }

  // Starts zip.exe; its window once visible.
  HWND Start(const Text& arguments = "") {
    packer_.emplace(Quoted(app_ / "zip.exe") + " " + arguments);
    if (!packer_->Started()) return nullptr;
    return testing::WaitForVisibleWindow(packer_->Id(), kWaitMs);
  }
  std::optional<DWORD> WaitForExit() { return packer_->WaitForExit(kWaitMs); }

  // The names in temp.
  std::vector<Text> TempContents() const {
    std::vector<Text> names;
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((app_ / "temp\\*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
      const Text name = entry.cFileName;
      if (name != "." && name != "..") names.push_back(name);
    } while (FindNextFileA(find, &entry));
    FindClose(find);
    return names;
  }

 private:
  TempFolder app_;
  bool copied_ = false;
  std::optional<ChildProcess> packer_;
};

bool Contains(const Text& haystack, const Text& needle) {
  return haystack.find(needle) != Text::npos;
}

TEST(Packer, WritesTheArchiveOfTheFolderAndEnds) {
  PackerFolder app;
  ASSERT_TRUE(app.Ready());
  // An archive of an earlier export of the same item is replaced.
  ASSERT_TRUE(testing::WriteWholeFile(app.Archive(), "older archive"));
  const HWND window = app.Start();
  ASSERT_NE(window, nullptr);

  EXPECT_TRUE(HandOffToWindow(window, kPackerKeyWord,
                              MakePackingPayload(app.ExportFolder(), app.Archive())));
  EXPECT_EQ(app.WaitForExit(), 0u) << app.Log();

  const auto archive = testing::ReadFileIfPresent(app.Archive());
  ASSERT_TRUE(archive);
  EXPECT_EQ(archive->substr(0, 4), "PK\x03\x04");
  // Every file by its UTF-8 name; nothing from the subfolder.
  for (const File& f : ExportFiles()) {
    EXPECT_TRUE(Contains(*archive, f.name)) << f.name;
  }
  EXPECT_FALSE(Contains(*archive, "inner.txt"));
  // No temporary file left beside it.
  EXPECT_EQ(app.TempContents(), std::vector<Text>{Gbk(kFolderName) + ".zip"});
  EXPECT_TRUE(Contains(app.Log(), "packed 4 files")) << app.Log();
}

TEST(Packer, EmptyFolderNameGivesAnArchiveOfOutputItself) {
  PackerFolder app;
  ASSERT_TRUE(app.Ready());
  const HWND window = app.Start();
  ASSERT_NE(window, nullptr);
  // What the exporting program sends for an empty folder name.
  EXPECT_TRUE(HandOffToWindow(window, kPackerKeyWord,
                              MakePackingPayload(app.App() + "\\Output\\",
                                                 app.App() + "\\temp\\.zip")));
  EXPECT_EQ(app.WaitForExit(), 0u) << app.Log();
  // Output holds only the export folder: an empty archive.
  EXPECT_EQ(testing::ReadFileIfPresent(app.App() + "\\temp\\.zip"),
            Text("PK\x05\x06", 4) + Text(18, '\0'));
}

// Requests the packer must refuse: no archive anywhere, the reason logged.
TEST(Packer, RefusesUnsafeOrBrokenRequests) {
  struct Case {
    const char* what;
    Text (*payload)(const PackerFolder&);
    const char* logged;
  };
  const Case cases[] = {
      {"no bar", [](const PackerFolder& a) { return a.ExportFolder(); },
       "not a folder, \"|\" and an archive path"},
      {"archive beside zip.exe",
       [](const PackerFolder& a) { return a.ExportFolder() + "|" + a.App() + "\\evil.zip"; },
       "is not a file directly inside"},
      {"climbing out of temp",
       [](const PackerFolder& a) {
         return a.ExportFolder() + "|" + a.App() + "\\temp\\..\\evil.zip";
       },
       "is not a file directly inside"},
      {"below temp",
       [](const PackerFolder& a) {
         return a.ExportFolder() + "|" + a.App() + "\\temp\\sub\\evil.zip";
       },
       "is not a file directly inside"},
      {"a stream of a file in temp",
       [](const PackerFolder& a) {
         return a.ExportFolder() + "|" + a.App() + "\\temp\\A.zip:evil";
       },
       "is not a file directly inside"},
      {"another drive",
       [](const PackerFolder& a) { return a.ExportFolder() + "|C:\\windows\\temp\\evil.zip"; },
       "is not a file directly inside"},
      {"missing folder",
       [](const PackerFolder& a) {
         return a.App() + "\\Output\\missing|" + a.App() + "\\temp\\missing.zip";
       },
       "does not exist"},
      {"folder is a file",
       [](const PackerFolder& a) {
         return a.ExportFolder() + "\\A1001.ac.txt|" + a.App() + "\\temp\\file.zip";
       },
       "does not exist"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    PackerFolder app;
    ASSERT_TRUE(app.Ready());
    const HWND window = app.Start();
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(HandOffToWindow(window, kPackerKeyWord, TextToBytes(c.payload(app))));
    EXPECT_EQ(app.WaitForExit(), 1u);
    EXPECT_TRUE(Contains(app.Log(), c.logged)) << app.Log();
    EXPECT_TRUE(Contains(app.Log(), "no archive written")) << app.Log();
    EXPECT_TRUE(app.TempContents().empty());
    EXPECT_FALSE(testing::PathExists(app.App() + "\\evil.zip"));
  }
}

// Messages that do not follow the protocol, sent by hand.
TEST(Packer, SurvivesBrokenHandOffMessages) {
  // A process that has come and gone: its id leads nowhere.
  DWORD goneId = 0;
  {
    ChildProcess gone("cmd.exe /c exit 0");
    ASSERT_TRUE(gone.WaitForExit(kWaitMs).has_value());
    goneId = gone.Id();
  }
  const Text ownId = ToText(static_cast<std::int64_t>(GetCurrentProcessId()));
  std::uint8_t ack = 0x01;
  const Text payload = "C:\\a|C:\\b.zip";

  struct Case {
    const char* what;
    Text descriptor;       // placed in this process's memory
    Text senderId;         // for wParam
    bool unreadableDescriptor;
    Text logged;
  };
  const auto address = [](const void* p) { return reinterpret_cast<std::uintptr_t>(p); };
  const Case cases[] = {
      // Depending on whether the system still holds the ended process, it
      // cannot be opened or is seen to have ended: refused either way.
      {"sender gone", "1$0&0", ToText(static_cast<std::int64_t>(goneId)), false,
       "hand-off refused: sender " + ToText(static_cast<std::int64_t>(goneId))},
      {"descriptor not readable", "12345678", ownId, true, "descriptor cannot be read"},
      {"malformed descriptor", "x$\x01&\xFF", ownId, false, "malformed descriptor \"x$\\x01&\\xFF\""},
      {"payload not readable", HandOffDescriptorText(address(&ack), 40, 16), ownId, false,
       "payload cannot be read"},
      {"payload far too large",
       HandOffDescriptorText(address(&ack), 5000000, address(payload.data())), ownId, false,
       "is larger than"},
  };
  const UINT message = RegisterWindowMessageA(kPackerKeyWord);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    PackerFolder app;
    ASSERT_TRUE(app.Ready());
    const HWND window = app.Start();
    ASSERT_NE(window, nullptr);
    const WPARAM wParam = static_cast<std::uint32_t>(
        HandOffWParamValue(c.senderId, static_cast<int>(c.descriptor.size())));
    const LPARAM lParam =
        c.unreadableDescriptor ? 16 : static_cast<LPARAM>(address(c.descriptor.data()));
    SendMessageA(window, message, wParam, lParam);
    EXPECT_EQ(app.WaitForExit(), 1u);
    EXPECT_TRUE(Contains(app.Log(), c.logged)) << app.Log();
    EXPECT_EQ(ack, 0x01);
    EXPECT_TRUE(app.TempContents().empty());
  }
}

TEST(Packer, AFailedJobLeavesNoArchiveAndKeepsTheOlderOne) {
  PackerFolder app;
  ASSERT_TRUE(app.Ready());
  ASSERT_TRUE(testing::WriteWholeFile(app.Archive(), "older archive"));
  // One of the files cannot be read: held open without sharing.
  const Text locked = app.ExportFolder() + "\\" + Gbk("预览图1_202401021234.jpg");
  UniqueHandle hold(CreateFileA(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0,
                                nullptr));
  ASSERT_TRUE(hold);
  const HWND window = app.Start();
  ASSERT_NE(window, nullptr);

  EXPECT_TRUE(HandOffToWindow(window, kPackerKeyWord,
                              MakePackingPayload(app.ExportFolder(), app.Archive())));
  EXPECT_EQ(app.WaitForExit(), 1u);
  EXPECT_EQ(testing::ReadFileIfPresent(app.Archive()), "older archive");
  EXPECT_EQ(app.TempContents(), std::vector<Text>{Gbk(kFolderName) + ".zip"})
      << "a temporary file was left";
  EXPECT_TRUE(Contains(app.Log(), "cannot open")) << app.Log();
}

TEST(Packer, EndsByItselfWhenNoHandOffComes) {
  PackerFolder app;
  ASSERT_TRUE(app.Ready());
  ASSERT_NE(app.Start("--handoff-wait-ms=300"), nullptr);
  EXPECT_EQ(app.WaitForExit(), 2u);
  EXPECT_TRUE(Contains(app.Log(), "no hand-off came")) << app.Log();
}

}  // namespace
}  // namespace lumigrab
