#include <windows.h>

#include "base/gbk_literals.h"
#include "base/internal_error.h"
#include "base/process.h"

namespace lumigrab {

void InternalError(int number) {
  MessageBoxA(nullptr, InternalErrorText(number).c_str(), "error", MB_ICONERROR);
  EndProgram(0);
}

void OutOfMemoryStop() {
  MessageBoxA(nullptr, gbk::kOutOfMemory, "error", MB_ICONERROR);
  EndProgram(0);
}

}  // namespace lumigrab
