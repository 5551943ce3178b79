#include "base/end_program.h"

#include "base/process.h"

namespace lumigrab {
namespace {

EndOfProgramCallback g_endOfProgram = nullptr;

}  // namespace

void SetEndOfProgramCallback(EndOfProgramCallback callback) {
  g_endOfProgram = callback;
}

void RunEndOfProgramCallback() {
  // Taken out first: a fatal stop inside the callback ends the program
  // through EndProgram again and must not run it a second time.
  EndOfProgramCallback callback = g_endOfProgram;
  g_endOfProgram = nullptr;
  if (callback != nullptr) callback();
}

}  // namespace lumigrab
