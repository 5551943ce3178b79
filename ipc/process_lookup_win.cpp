#include <windows.h>
#include <tlhelp32.h>

#include <cstring>

#include "base/process.h"
#include "ipc/process_lookup.h"
#include "ipc/unique_handle.h"

namespace lumigrab {
namespace {

// The instance mark: held, never signalled, until the process ends.
HANDLE g_instanceMark = nullptr;

std::uint32_t g_windowWaitLimitMs = kWindowWaitLimitMs;

// Between two full passes over the top-level windows: long enough not to
// keep a core busy, short enough that a new window is seen at once.
constexpr DWORD kPassPauseMs = 10;

bool IsVisibleWindowOf(HWND window, DWORD processId) {
  if (!IsWindow(window) || !IsWindowVisible(window)) return false;
  DWORD owner = 0;
  // A window that went away in between has no thread: no match.
  if (GetWindowThreadProcessId(window, &owner) == 0) return false;
  return owner == processId;
}

// Waits up to the pause for input to this thread or for the process to end.
// MWMO_INPUTAVAILABLE: messages that ProcessEvents has already peeked at
// must wake the wait too.
void PauseBetweenPasses(HANDLE process) {
  const DWORD count = process != nullptr ? 1 : 0;
  MsgWaitForMultipleObjectsEx(count, process != nullptr ? &process : nullptr,
                              kPassPauseMs, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}

bool HasEnded(HANDLE process) {
  return process != nullptr && WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
}

}  // namespace

void InstanceGuard(const Text& instanceName) {
  // Auto-reset, not signalled: a marker only. Asking for it by creating it
  // tells in one step whether another copy has it already.
  HANDLE mark = CreateEventA(nullptr, FALSE, FALSE, instanceName.c_str());
  if (mark != nullptr && GetLastError() == ERROR_ALREADY_EXISTS) {
    CloseHandle(mark);
    EndProgram(0);
  }
  // When no event could be made at all (the name taken by another kind of
  // object), this copy runs unmarked, as if the guard had passed.
  g_instanceMark = mark;
}

DWORD FindProcessWhere(const std::function<bool(std::string_view exeName)>& accept) {
  UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot) return 0;
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32First(snapshot.Get(), &entry); more;
       more = Process32Next(snapshot.Get(), &entry)) {
    // The file name as the snapshot reports it, at most 256 bytes.
    const std::size_t length = strnlen(entry.szExeFile, 256);
    if (accept(std::string_view(entry.szExeFile, length))) return entry.th32ProcessID;
  }
  return 0;
}

DWORD FindProcessByName(const Text& exeName) {
  const Text wanted = ToLowerText(exeName);
  return FindProcessWhere(
      [&](std::string_view name) { return ToLowerText(name) == wanted; });
}

void SetWindowWaitLimitForTesting(std::optional<std::uint32_t> limitMs) {
  g_windowWaitLimitMs = limitMs.value_or(kWindowWaitLimitMs);
}

HWND FindVisibleWindowOfProcess(DWORD processId) {
  const DWORD start = GetTickCount();
  // Held for the wait: it tells when the process has ended, and keeps its
  // id from going to another process meanwhile. Without it (no access) the
  // wait still ends at the time limit.
  UniqueHandle process(OpenProcess(SYNCHRONIZE, FALSE, processId));
  HWND last = nullptr;
  for (;;) {
    // Unsigned difference: right across the tick count's wrap.
    if (GetTickCount() - start >= g_windowWaitLimitMs) return nullptr;
    // From the window looked at last; after the last one it gives none,
    // and the next call starts at the top of the Z order again.
    HWND next = FindWindowExA(nullptr, last, nullptr, nullptr);
    if (next != nullptr && IsVisibleWindowOf(next, processId)) return next;
    ProcessEvents();
    if (next == nullptr) {
      // A full pass found nothing. A process that has ended will show no
      // window: stop rather than wait out the limit.
      if (HasEnded(process.Get())) return nullptr;
      PauseBetweenPasses(process.Get());
    }
    last = next;
  }
}

HWND FindProgramWindow(const Text& exeName) {
  const DWORD processId = FindProcessByName(exeName);
  if (processId == 0) return NoSuchProcessWindow();
  return FindVisibleWindowOfProcess(processId);
}

}  // namespace lumigrab
