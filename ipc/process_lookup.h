#pragma once
// The single-instance guard, and finding the window of another running
// program by the file name of its executable.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

#include "base/text.h"

namespace lumigrab {

// Ends the program at once, silently, with exit code 0 (through
// EndProgram) when another copy holds the instance name; otherwise marks
// this copy's presence with a named event held until the process ends.
// Creating the event and testing whether it already existed is one step,
// so two copies started together cannot both pass.
void InstanceGuard(const Text& instanceName);

// The id of the first process in a process snapshot whose executable file
// name (up to its first zero byte) the predicate accepts; 0 when none or when
// no snapshot can be taken.
DWORD FindProcessWhere(const std::function<bool(std::string_view exeName)>& accept);

// The id of the first process in a process snapshot whose executable file
// name equals the name, ignoring the case of ASCII letters; 0 when none.
DWORD FindProcessByName(const Text& exeName);

// The result of FindProgramWindow when no process of that name runs.
inline HWND NoSuchProcessWindow() { return reinterpret_cast<HWND>(INT_PTR{-1}); }

// How long FindVisibleWindowOfProcess waits for a visible window:
// 8 h 45 min 36 s.
inline constexpr std::uint32_t kWindowWaitLimitMs = 31536000;

// Replaces the wait limit (so tests need not wait for hours); nothing puts
// the real limit back.
void SetWindowWaitLimitForTesting(std::optional<std::uint32_t> limitMs);

// The first visible top-level window of the process met in a walk over the
// Z order; the walk repeats until one appears. Messages of the calling
// thread are processed throughout; between full passes the thread waits a
// few milliseconds for messages instead of spinning. 0 when the time limit
// passes first, or as soon as the process has ended.
HWND FindVisibleWindowOfProcess(DWORD processId);

// FindVisibleWindowOfProcess of the process FindProcessByName finds, or
// NoSuchProcessWindow() at once when there is none.
HWND FindProgramWindow(const Text& exeName);

}  // namespace lumigrab
