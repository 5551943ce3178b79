#pragma once
// The last-resort stop for a violated invariant (an index out of range and
// the like). It never returns; the process ends with exit code 0, as every
// end of this program does.

namespace lumigrab {

enum InternalErrorNumber {
  kIndexAboveCount = 1,
  kIndexBelowOne = 4,
  kChoiceOutOfRange = 9,
  kNegativeArraySize = 10,
};

// The message of an internal error number, GBK; empty outside 1..11.
const char* InternalErrorMessage(int number);

[[noreturn]] void InternalError(int number);

}  // namespace lumigrab
