// Lumigrab's start and end: the process-wide state, the single-instance
// guard, the command line with its companion notice, and the centred main
// window whose message loop is the life of the program.
#include <windows.h>

#include "app/command_line.h"
#include "app/main_window.h"
#include "base/internal_error.h"
#include "base/process.h"
#include "ipc/handoff.h"
#include "ipc/process_lookup.h"

namespace lumigrab {
namespace {

void StartUp() {
  InstanceGuard("Lumigrab0001");

  ProgramGlobals& g = *Globals();
  g.commandLineArguments = ParseCommandLine(GetCommandLineA());
  g.startUrl = StartUrlOf(g.commandLineArguments);

  if (g.commandLineArguments.Count() > 0) {
    // The companion hears of every start with arguments, even without an
    // address ("img|" alone); when it does not run nothing is sent.
    const HWND companion = FindProgramWindow("PICTDESK.EXE");
    (void)HandOffToWindow(companion, "pictdesk",
                          TextToBytes(CompanionPayload(g.startUrl)));
  }

  const WindowCorner corner = CentredCorner(GetSystemMetrics(SM_CXSCREEN),
                                            GetSystemMetrics(SM_CYSCREEN));
  WindowArguments window;
  window.creationHandler = [](std::int32_t, std::int32_t, std::int32_t,
                              std::int32_t) { BuildMainWindow(); };
  window.title = "Lumigrab";
  window.left = corner.x;
  window.top = corner.y;
  window.width = kMainWindowWidth;
  window.height = kMainWindowHeight;
  // The first top-level window: Create runs the message loop until the
  // window is closed.
  g.mainWindow.Create(window);
}

}  // namespace
}  // namespace lumigrab

int main() {
  using namespace lumigrab;
  CreateGlobals();
  SetEndOfProgramCallback(ReleaseGlobals);
  InstallOutOfMemoryStop();
  StartUp();
  EndProgram(0);
}
