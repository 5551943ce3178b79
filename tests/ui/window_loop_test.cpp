// The first top-level window of a program runs its message loop inside
// Create, after the creation event, and closing it ends the loop. Each
// program has one such window, so this program holds these cases alone, in
// this order; a case that needs a window closed from inside its own creation
// event runs in a second copy of the program.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/gbk_literals.h"
#include "base/process.h"
#include "ui/window.h"

namespace lumigrab {
namespace {

constexpr char kCloseInCreation[] = "--close-in-creation";

std::vector<std::string> g_events;

// Runs only from a message loop: where the loop began.
void CALLBACK LoopStarted(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  g_events.push_back("loop");
  DestroyWindow(MainWindowHandle());
}

TEST(MainWindow, AFailedCreationRunsNoLoop) {
  Window window;
  // A child style without a parent: the system refuses the window.
  EXPECT_EQ(window.Create({.style = WS_CHILD}), nullptr);
  EXPECT_EQ(MainWindowHandle(), nullptr);
  EXPECT_FALSE(window.IsCreated());
}

TEST(MainWindow, ShowsThenRunsTheCreationEventOnceThenTheLoopUntilClosed) {
  Window window;
  struct Seen {
    bool visible = false;
    RECT rect{};
    char title[64] = {};
    char className[64] = {};
    LONG style = 0;
    std::int32_t arguments[4] = {-1, -1, -1, -1};
  } seen;
  int destroyed = 0;
  SetTimer(nullptr, 0, 1, &LoopStarted);
  HWND handle = window.Create(
      {.creationHandler = [&](std::int32_t a, std::int32_t b, std::int32_t c, std::int32_t d) {
        g_events.push_back("created");
        HWND self = window.Handle();
        seen.visible = IsWindowVisible(self) != FALSE;
        GetWindowRect(self, &seen.rect);
        GetWindowTextA(self, seen.title, sizeof seen.title);
        GetClassNameA(self, seen.className, sizeof seen.className);
        seen.style = GetWindowLongA(self, GWL_STYLE);
        seen.arguments[0] = a, seen.arguments[1] = b, seen.arguments[2] = c, seen.arguments[3] = d;
        window.SetDestroyedHandler([&](auto...) { ++destroyed; });
      }});

  ASSERT_NE(handle, nullptr);
  EXPECT_EQ(g_events, (std::vector<std::string>{"created", "loop"}));
  EXPECT_EQ(MainWindowHandle(), handle);
  EXPECT_FALSE(IsWindow(handle)) << "Create returns when the window is closed";
  EXPECT_EQ(destroyed, 1);

  EXPECT_TRUE(seen.visible) << "shown before the creation event";
  EXPECT_EQ(seen.rect.right - seen.rect.left, 380);
  EXPECT_EQ(seen.rect.bottom - seen.rect.top, 250);
  EXPECT_STREQ(seen.title, gbk::kDefaultWindowTitle);
  EXPECT_STREQ(seen.className, "MyWindowClass");
  EXPECT_EQ(WindowClassName(), "MyWindowClass");
  EXPECT_EQ(seen.style & 0x004F0000, 0x004F0000);
  for (std::int32_t argument : seen.arguments) EXPECT_EQ(argument, 0);
  EXPECT_EQ(window.Shown(), 1);
  EXPECT_EQ(window.Left(), static_cast<std::int32_t>(CW_USEDEFAULT)) << "the default position";
}

bool g_strayLoop = false;

void CALLBACK EndStrayLoop(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  g_strayLoop = true;
  PostQuitMessage(0);
}

TEST(MainWindow, LaterWindowsRunNoLoopOfTheirOwn) {
  ASSERT_NE(MainWindowHandle(), nullptr) << "runs after the main window's case";
  // Should a loop run inside Create, this timer would end it and tell.
  const UINT_PTR timer = SetTimer(nullptr, 0, 300, &EndStrayLoop);
  Window later;
  HWND handle = later.Create({.title = Text("later")});
  KillTimer(nullptr, timer);
  ASSERT_NE(handle, nullptr);
  EXPECT_FALSE(g_strayLoop);
  EXPECT_NE(MainWindowHandle(), handle);

  // Closing it ends nothing: no WM_QUIT follows.
  SendMessageA(handle, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(handle));
  MSG message;
  EXPECT_FALSE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));
}

// In the second copy: a main window destroyed by its own creation event.
// The loop must end at once; a loop left waiting would hang this copy.
int CloseInCreation() {
  Window window;
  HWND handle = window.Create(
      {.creationHandler = [&](auto...) { DestroyWindow(window.Handle()); }, .showMode = 0});
  return handle != nullptr && !IsWindow(handle) ? 0 : 1;
}

TEST(MainWindow, ClosedInsideItsCreationEventEndsTheLoop) {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string commandLine = std::string("\"") + path + "\" " + kCloseInCreation;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  ASSERT_TRUE(CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                             nullptr, &startup, &process));
  const DWORD waited = WaitForSingleObject(process.hProcess, 20000);
  if (waited != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 99);
  DWORD exitCode = 99;
  GetExitCodeProcess(process.hProcess, &exitCode);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  EXPECT_EQ(waited, WAIT_OBJECT_0) << "the loop kept running";
  EXPECT_EQ(exitCode, 0u);
}

}  // namespace
}  // namespace lumigrab

int main(int argc, char** argv) {
  if (argc == 2 && std::string(argv[1]) == lumigrab::kCloseInCreation) {
    return lumigrab::CloseInCreation();
  }
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
