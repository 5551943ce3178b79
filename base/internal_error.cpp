#include "base/internal_error.h"

#include <cstdio>
#include <cstdlib>

#include "base/gbk_literals.h"

namespace lumigrab {

const char* InternalErrorMessage(int number) {
  if (number < 1 || number > 11) return "";
  return gbk::kInternalErrorMessages[number - 1];
}

void InternalError(int number) {
  // Until the program has its message box, the stop reports on stderr; the
  // exit code is 0 like every other end of the program.
  std::fprintf(stderr, "program internal error number is %d. \r\n%s\n", number,
               InternalErrorMessage(number));
  std::fflush(stderr);
  std::_Exit(0);
}

}  // namespace lumigrab
