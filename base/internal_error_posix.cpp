// Natively there is no message box: the stops write their text to stderr.
#include <cstdio>

#include "base/gbk_literals.h"
#include "base/internal_error.h"
#include "base/process.h"

namespace lumigrab {

void InternalError(int number) {
  const Text text = InternalErrorText(number);
  std::fprintf(stderr, "%s\n", text.c_str());
  std::fflush(stderr);
  EndProgram(0);
}

void OutOfMemoryStop() {
  std::fprintf(stderr, "%s\n", gbk::kOutOfMemory);
  std::fflush(stderr);
  EndProgram(0);
}

}  // namespace lumigrab
