// The native build has no message queue and starts no programs: what the
// portable code calls is provided here so it can be tested on its own.
#include <cstdlib>
#include <ctime>

#include "base/end_program.h"
#include "base/process.h"

namespace lumigrab {

void ProcessEvents() {}

void Delay(int milliseconds) {
  if (milliseconds <= 0) return;
  timespec span{milliseconds / 1000, (milliseconds % 1000) * 1000000L};
  while (nanosleep(&span, &span) != 0) {
  }
}

void EndProgram(int exitCode) {
  RunEndOfProgramCallback();
  std::exit(exitCode);
}

}  // namespace lumigrab
