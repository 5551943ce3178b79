#pragma once
// Starting programs, the thread's message queue and the program's single
// end path.

#include <optional>

#include "base/text.h"

namespace lumigrab {

// The one function run by EndProgram before the process ends (start-up
// registers the release of its globals). A later registration replaces an
// earlier one.
using EndOfProgramCallback = void (*)();
void SetEndOfProgramCallback(EndOfProgramCallback callback);

// Runs the end-of-program callback (once) and the runtime's clean-up, then
// ends the process with the exit code. Every end of the program goes here.
[[noreturn]] void EndProgram(int exitCode);

// The ShowWindow value for a show mode of RunCommandLine: omitted, 2 or any
// unlisted value shows normally (5); 1 hides (0); 3 minimised (2); 4
// maximised (3); 5 without activating (4); 6 minimised without activating (7).
int ShowValueForMode(std::optional<int> showMode);

// Starts a process from the command line as given (not quoted), with handles
// inherited and the current environment and directory. With wait true, blocks
// until it ends. True when the process was started.
bool RunCommandLine(const Text& commandLine, std::optional<bool> wait = kOmitted,
                    std::optional<int> showMode = kOmitted);

// Dispatches the messages waiting in this thread's queue and returns when the
// queue is empty. A WM_QUIT is left in the queue for the main message loop.
// Any window procedure of the thread may run inside this call.
void ProcessEvents();

// Sleeps; messages are not processed meanwhile.
void Delay(int milliseconds);

}  // namespace lumigrab
