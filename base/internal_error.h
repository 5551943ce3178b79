#pragma once
// The last-resort stops: a violated invariant (an index out of range and the
// like) and memory exhaustion. Each shows a message box with no owner and
// ends the program through EndProgram with exit code 0.

#include "base/text.h"

namespace lumigrab {

enum InternalErrorNumber {
  kIndexAboveCount = 1,
  kIndexBelowOne = 4,
  kChoiceOutOfRange = 9,
  kNegativeArraySize = 10,
};

// The message of an internal error number, GBK; empty outside 1..11.
const char* InternalErrorMessage(int number);

// "program internal error number is N. \r\n" followed by the message.
Text InternalErrorText(int number);

[[noreturn]] void InternalError(int number);

// The out-of-memory stop ("内存不足").
[[noreturn]] void OutOfMemoryStop();

// Makes a refused allocation end in the out-of-memory stop.
void InstallOutOfMemoryStop();

}  // namespace lumigrab
