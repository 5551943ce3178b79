// Finding another program's window by its file name, and the instance
// guard, against real second processes.
#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "base/process.h"
#include "ipc/process_lookup.h"
#include "tests/ipc/windows_test_support.h"

namespace lumigrab {
namespace {

using testing::ChildProcess;
using testing::Quoted;
using testing::TempFolder;

const Text kReceiver = "handoff_receiver.exe";

Text UniqueSuffix() { return ToText(static_cast<std::int64_t>(GetCurrentProcessId())); }

// The receiver copied into the folder under the name and started with the
// arguments.
struct NamedReceiver {
  NamedReceiver(const TempFolder& folder, const Text& fileName, const Text& arguments)
      : copied(testing::CopyProgram(testing::BuildProgram(kReceiver), folder / fileName)),
        process(Quoted(folder / fileName) + " --key=lookup-test --out=" +
                Quoted(folder / "record") + " " + arguments) {}
  bool copied;
  ChildProcess process;
};

class WaitLimit {
 public:
  explicit WaitLimit(std::uint32_t ms) { SetWindowWaitLimitForTesting(ms); }
  ~WaitLimit() { SetWindowWaitLimitForTesting(std::nullopt); }
};

std::vector<HWND> TopLevelWindowsOf(DWORD processId) {
  std::vector<HWND> found;
  for (HWND w = FindWindowExA(nullptr, nullptr, nullptr, nullptr); w != nullptr;
       w = FindWindowExA(nullptr, w, nullptr, nullptr)) {
    DWORD owner = 0;
    GetWindowThreadProcessId(w, &owner);
    if (owner == processId && IsWindowVisible(w)) found.push_back(w);
  }
  return found;
}

DWORD OwnerOf(HWND window) {
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  return owner;
}

int g_delivered = 0;

LRESULT CALLBACK CountingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_APP + 7) ++g_delivered;
  return DefWindowProcA(window, message, wParam, lParam);
}

TEST(FindProgramWindow, NoSuchProcessGivesMinusOne) {
  const Text name = "no-such-program-" + UniqueSuffix() + ".exe";
  EXPECT_EQ(FindProcessByName(name), 0u);
  EXPECT_EQ(FindProgramWindow(name), NoSuchProcessWindow());
}

TEST(FindProgramWindow, MatchesTheFileNameIgnoringLetterCase) {
  TempFolder folder;
  // The companion's own name, written in lower case on disk.
  NamedReceiver lower(folder, "pictdesk.exe", "");
  // And a name of this run only, upper case on disk.
  const Text unique = "RecvCase" + UniqueSuffix() + ".EXE";
  NamedReceiver upper(folder, unique, "");
  ASSERT_TRUE(lower.copied && lower.process.Started());
  ASSERT_TRUE(upper.copied && upper.process.Started());

  EXPECT_EQ(FindProcessByName(ToLowerText(unique)), upper.process.Id());
  const HWND byLowerName = FindProgramWindow(ToLowerText(unique));
  ASSERT_NE(byLowerName, nullptr);
  EXPECT_EQ(OwnerOf(byLowerName), upper.process.Id());
  EXPECT_TRUE(IsWindowVisible(byLowerName));

  const HWND companion = FindProgramWindow("PICTDESK.EXE");
  ASSERT_NE(companion, nullptr);
  ASSERT_NE(companion, NoSuchProcessWindow());
  EXPECT_EQ(OwnerOf(companion), lower.process.Id());
}

TEST(FindProgramWindow, HiddenWindowsGiveZeroAtTheLimitWhileMessagesFlow) {
  TempFolder folder;
  const Text name = "RecvHidden" + UniqueSuffix() + ".exe";
  NamedReceiver hidden(folder, name, "--hidden");
  ASSERT_TRUE(hidden.copied && hidden.process.Started());

  // A window of this thread with a message waiting: the wait must deliver it.
  g_delivered = 0;
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = CountingProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "LookupTestSink";
  RegisterClassA(&windowClass);
  HWND sink = CreateWindowExA(0, "LookupTestSink", "", 0, 0, 0, 0, 0, HWND_MESSAGE,
                              nullptr, windowClass.hInstance, nullptr);
  ASSERT_NE(sink, nullptr);
  PostMessageA(sink, WM_APP + 7, 0, 0);

  ASSERT_EQ(FindProcessByName(name), hidden.process.Id());

  const WaitLimit limit(400);
  const DWORD start = GetTickCount();
  EXPECT_EQ(FindProgramWindow(name), nullptr);
  EXPECT_GE(GetTickCount() - start, 400u) << "gave up before the limit";
  EXPECT_EQ(g_delivered, 1) << "the wait did not process this thread's messages";
  DestroyWindow(sink);
}

TEST(FindVisibleWindowOfProcess, StopsWaitingWhenTheProcessEnds) {
  TempFolder folder;
  NamedReceiver shortLived(folder, "RecvShort" + UniqueSuffix() + ".exe",
                           "--hidden --life-ms=300");
  ASSERT_TRUE(shortLived.copied && shortLived.process.Started());
  // A limit far longer than the test may take: the end of the process,
  // not the limit, must end the wait.
  const WaitLimit limit(240000);
  EXPECT_EQ(FindVisibleWindowOfProcess(shortLived.process.Id()), nullptr);
  EXPECT_TRUE(shortLived.process.WaitForExit(0).has_value());
}

TEST(FindVisibleWindowOfProcess, GivesTheFirstWindowInZOrder) {
  TempFolder folder;
  NamedReceiver two(folder, "RecvTwo" + UniqueSuffix() + ".exe", "--windows=2");
  ASSERT_TRUE(two.copied && two.process.Started());
  ASSERT_NE(testing::WaitForVisibleWindow(two.process.Id(), 10000), nullptr);
  std::vector<HWND> windows;
  for (int i = 0; i < 500 && windows.size() < 2; ++i) {
    windows = TopLevelWindowsOf(two.process.Id());
    Sleep(10);
  }
  ASSERT_EQ(windows.size(), 2u);
  for (HWND top : {windows[1], windows[0]}) {
    SetWindowPos(top, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EXPECT_EQ(FindVisibleWindowOfProcess(two.process.Id()), top);
  }
}

TEST(InstanceGuard, SecondCopyEndsSilentlyWithExitCodeZero) {
  TempFolder folder;
  const Text name = "Lumigrab0001-test-" + UniqueSuffix();
  const Text releaseName = name + "-release";
  UniqueHandle release(CreateEventA(nullptr, TRUE, FALSE, releaseName.c_str()));
  ASSERT_TRUE(release);
  const Text probe = Quoted(testing::BuildProgram("instance_guard_probe.exe"));

  ChildProcess first(probe + " " + name + " " + Quoted(folder / "first") + " " + releaseName);
  ASSERT_TRUE(first.Started());
  ASSERT_TRUE(testing::WaitForFile(folder / "first", 20000));

  ChildProcess second(probe + " " + name + " " + Quoted(folder / "second"));
  ASSERT_TRUE(second.Started());
  EXPECT_EQ(second.WaitForExit(20000), 0u);
  EXPECT_FALSE(testing::PathExists(folder / "second")) << "the second copy passed";
  EXPECT_TRUE(testing::PathExists(folder / "second.ended"))
      << "the second copy did not end through EndProgram";

  // When the first copy ends, its mark goes with it.
  SetEvent(release.Get());
  EXPECT_EQ(first.WaitForExit(20000), 0u);
  ChildProcess third(probe + " " + name + " " + Quoted(folder / "third"));
  EXPECT_EQ(third.WaitForExit(20000), 0u);
  EXPECT_TRUE(testing::PathExists(folder / "third"));
}

}  // namespace
}  // namespace lumigrab
