#pragma once
// The registered end-of-program callback, shared by the platform halves of
// EndProgram.

namespace lumigrab {

// Runs the callback registered with SetEndOfProgramCallback, at most once.
void RunEndOfProgramCallback();

}  // namespace lumigrab
