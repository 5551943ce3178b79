#include <windows.h>

#include "base/end_program.h"
#include "base/process.h"

namespace lumigrab {

bool RunCommandLine(const Text& commandLine, std::optional<bool> wait,
                    std::optional<int> showMode) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  GetStartupInfoA(&startup);
  startup.dwFlags |= STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(ShowValueForMode(showMode));

  // CreateProcessA may write into the command line: give it its own copy.
  Text line = commandLine;
  line.push_back('\0');
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr,
                      nullptr, &startup, &process)) {
    return false;
  }
  if (wait.value_or(false)) WaitForSingleObject(process.hProcess, INFINITE);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}

void ProcessEvents() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE)) {
    // The main loop ends on WM_QUIT: leave it where that loop will find it.
    if (message.message == WM_QUIT) return;
    // A WM_QUIT posted between the look and the removal: put it back.
    const BOOL got = GetMessageA(&message, nullptr, 0, 0);
    if (got == 0) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    if (got < 0) return;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

void Delay(int milliseconds) {
  if (milliseconds > 0) Sleep(static_cast<DWORD>(milliseconds));
}

void EndProgram(int exitCode) {
  RunEndOfProgramCallback();
  ExitProcess(static_cast<UINT>(exitCode));
}

}  // namespace lumigrab
