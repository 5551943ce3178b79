// Runtime services against the real system: files in a temporary folder,
// processes, the message queue, the C runtime's generator, CryptoAPI and the
// fatal stops' message boxes.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>

#include "base/files.h"
#include "base/gbk_literals.h"
#include "base/internal_error.h"
#include "base/process.h"
#include "base/random.h"
#include "export/export_record.h"
#include "tests/support/temp_folder.h"

namespace lumigrab {
namespace {

using testing::ReadWholeFile;
using testing::TempFolder;

void MakeFile(const std::string& path, const std::string& bytes) {
  FileObject f = OpenFile(path, 4);
  ASSERT_TRUE(f);
  ASSERT_TRUE(WriteText(f, bytes));
  CloseFile(f);
}

TEST(DiskFile, OpenModesOnMissingFiles) {
  TempFolder dir;
  const struct {
    int mode;
    bool opens;
  } cases[] = {{1, false}, {2, false}, {3, false}, {4, true},
               {5, true},  {6, true},  {0, false}};
  for (const auto& c : cases) {
    const std::string path = dir / ("missing" + std::to_string(c.mode));
    FileObject f = OpenFile(path, c.mode);
    EXPECT_EQ(static_cast<bool>(f), c.opens) << "mode " << c.mode;
    if (!f) {
      EXPECT_EQ(FileLength(f), -1);
    }
    CloseFile(f);
    EXPECT_EQ(FileExists(path), c.opens) << "mode " << c.mode;
  }
  FileObject omitted = OpenFile(dir / "missing-omitted");
  EXPECT_FALSE(omitted);
}

TEST(DiskFile, OpenModesOnExistingFiles) {
  TempFolder dir;
  const struct {
    int mode;
    const char* read;      // what ReadBytes gives at the start
    const char* afterWrite;  // the file after writing "J" at the start
  } cases[] = {
      {1, "hello", "hello"},  // read only: the write fails
      {2, "", "Jello"},       // write only: the read gives nothing
      {3, "hello", "Jello"},
      {4, "", "J"},           // replaced: empty
      {5, "", "Jello"},
      {6, "hello", "Jello"},
  };
  for (const auto& c : cases) {
    const std::string path = dir / ("f" + std::to_string(c.mode));
    MakeFile(path, "hello");
    FileObject f = OpenFile(path, c.mode);
    ASSERT_TRUE(f) << "mode " << c.mode;
    const Bytes read = ReadBytes(f, 100);
    EXPECT_EQ(std::string(read.begin(), read.end()), c.read) << "mode " << c.mode;
    SeekToStart(f);
    EXPECT_EQ(WriteText(f, "J"), c.mode != 1) << "mode " << c.mode;
    CloseFile(f);
    EXPECT_EQ(ReadWholeFile(path), c.afterWrite) << "mode " << c.mode;
  }
}

TEST(DiskFile, ShareModes) {
  TempFolder dir;
  const std::string path = dir / "shared";
  MakeFile(path, "x");
  const struct {
    int share;
    bool otherReads, otherWrites;
  } cases[] = {{1, true, true}, {2, false, true}, {3, true, false}, {4, false, false}};
  for (const auto& c : cases) {
    FileObject first = OpenFile(path, 3, c.share);
    ASSERT_TRUE(first);
    FileObject reader = OpenFile(path, 1);
    FileObject writer = OpenFile(path, 2);
    EXPECT_EQ(static_cast<bool>(reader), c.otherReads) << "share " << c.share;
    EXPECT_EQ(static_cast<bool>(writer), c.otherWrites) << "share " << c.share;
    CloseFile(reader);
    CloseFile(writer);
    CloseFile(first);
  }
}

TEST(DiskFile, WritesTextsAndInsertsLikeAMemoryFile) {
  TempFolder dir;
  const std::string path = dir / "t.txt";
  FileObject f = OpenFile(path, 4);
  EXPECT_TRUE(WriteText(f, "ab", "cd", "", 12));
  CloseFile(f);
  EXPECT_EQ(ReadWholeFile(path), "abcd12");

  f = OpenFile(path, 3);
  ASSERT_EQ(FileLength(f), 6);
  f.Storage()->Seek(2);
  EXPECT_TRUE(InsertText(f, "XY"));
  EXPECT_TRUE(WriteText(f, "!"));  // just after the inserted bytes
  SeekToStart(f);
  EXPECT_EQ(ReadText(f), "abXY!d12");
  CloseFile(f);
  EXPECT_EQ(ReadWholeFile(path), "abXY!d12");
}

TEST(Files, ExeDirAndFileExists) {
  const Text dir = ExeDir();
  ASSERT_FALSE(dir.empty());
  EXPECT_NE(dir.back(), '\\');
  EXPECT_TRUE(FileExists(dir + "\\runtime_win_test.exe"));
  EXPECT_TRUE(FileExists(dir));  // folders count
  EXPECT_FALSE(FileExists(dir + "\\no such file"));
  EXPECT_FALSE(FileExists(""));
}

int g_dispatched = 0;

LRESULT CALLBACK CountingProc(HWND window, UINT message, WPARAM w, LPARAM l) {
  if (message == WM_APP) {
    ++g_dispatched;
    return 0;
  }
  return DefWindowProcA(window, message, w, l);
}

TEST(Process, ProcessEventsDispatchesAndLeavesWmQuit) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = CountingProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "LumigrabCountingWindow";
  RegisterClassA(&wc);
  HWND window = CreateWindowA(wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE,
                              nullptr, wc.hInstance, nullptr);
  ASSERT_NE(window, nullptr);
  g_dispatched = 0;
  PostMessageA(window, WM_APP, 0, 0);
  PostMessageA(window, WM_APP, 0, 0);
  PostQuitMessage(7);
  ProcessEvents();
  EXPECT_EQ(g_dispatched, 2);
  MSG message;
  ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(message.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(message.wParam, 7u);
  ProcessEvents();  // an empty queue returns at once
  DestroyWindow(window);
}

TEST(Process, RunCommandLine) {
  TempFolder dir;
  const std::string marker = dir / "ran.txt";
  EXPECT_TRUE(RunCommandLine("cmd.exe /c echo ran> \"" + marker + "\"", true, 1));
  EXPECT_EQ(ReadWholeFile(marker).substr(0, 3), "ran");
  EXPECT_FALSE(RunCommandLine(dir / "no-such-program.exe"));
  EXPECT_FALSE(RunCommandLine(""));
}

TEST(Random, MatchesTheCRuntime) {
  for (const unsigned seed : {1u, 42u, 12345u, 0xFFFFFFFFu, 0u}) {
    std::srand(seed);
    SeedRandom(seed);
    for (int i = 0; i < 50; ++i) {
      ASSERT_EQ(RandomNumber(1000, 9999), 1000 + std::rand() % 9000) << seed;
    }
  }
}

TEST(Md5, CryptoApiDigests) {
  EXPECT_EQ(Md5Hex({}), "d41d8cd98f00b204e9800998ecf8427e");
  EXPECT_EQ(Md5Hex(TextToBytes("abc")), "900150983cd24fb0d6963f7d28e17f72");
  EXPECT_EQ(Md5Hex(TextToBytes(kRecordKey)), "495a1fd9580541832b946e433fba2104");
  EXPECT_EQ(ScrambleText("abc", kRecordKey), "7172735A1FD9580");
}

// Finds the message box the child shows, reads its text, presses its OK
// button and returns the text; empty when no box appeared in time.
struct BoxSearch {
  DWORD processId;
  HWND found;
};

BOOL CALLBACK FindBox(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<BoxSearch*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  char title[64] = {};
  GetWindowTextA(window, title, sizeof title);
  if (pid == search->processId && IsWindowVisible(window) &&
      std::string(title) == "error") {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

struct StopOutcome {
  std::string boxText;
  DWORD exitCode = 999;
  std::string marker;
};

StopOutcome RunFatalStop(const char* kind) {
  TempFolder dir;
  StopOutcome outcome;
  const std::string marker = dir / "marker.txt";
  std::string line = "\"" + ExeDir() + "\\fatal_stop_child.exe\" " + kind + " \"" +
                     marker + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &startup, &process)) {
    return outcome;
  }
  BoxSearch search{process.dwProcessId, nullptr};
  for (int i = 0; i < 600 && search.found == nullptr; ++i) {
    EnumWindows(FindBox, reinterpret_cast<LPARAM>(&search));
    if (search.found == nullptr) Sleep(50);
  }
  if (search.found != nullptr) {
    char text[512] = {};
    // The message box's text is its static control 0xFFFF.
    GetDlgItemTextA(search.found, 0xFFFF, text, sizeof text);
    outcome.boxText = text;
    PostMessageA(search.found, WM_COMMAND, IDOK, 0);
  }
  if (WaitForSingleObject(process.hProcess, 30000) != WAIT_OBJECT_0) {
    TerminateProcess(process.hProcess, 998);
  }
  GetExitCodeProcess(process.hProcess, &outcome.exitCode);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  outcome.marker = ReadWholeFile(marker);
  return outcome;
}

TEST(FatalStop, IndexBelowOneShowsItsBoxAndEndsWithCodeZero) {
  const StopOutcome o = RunFatalStop("index");
  EXPECT_EQ(o.boxText, std::string("program internal error number is 4. \r\n") +
                           gbk::kInternalErrorMessages[3]);
  EXPECT_EQ(o.exitCode, 0u);
  EXPECT_EQ(o.marker, "ended");  // through the end path and its callback
}

TEST(FatalStop, OutOfMemoryShowsItsBox) {
  const StopOutcome o = RunFatalStop("oom");
  EXPECT_EQ(o.boxText, gbk::kOutOfMemory);
  EXPECT_EQ(o.exitCode, 0u);
  EXPECT_EQ(o.marker, "ended");
}

}  // namespace
}  // namespace lumigrab
