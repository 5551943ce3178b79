#pragma once
// What the Windows tests of hand-offs and the packer share: a temporary
// folder, a started program, files read whole.

#include <windows.h>

#include <cstdint>
#include <optional>

#include "base/text.h"
#include "ipc/unique_handle.h"
#include "tests/support/temp_folder.h"

namespace lumigrab::testing {

// A program started by a test; ended by force if it still runs at the end.
class ChildProcess {
 public:
  explicit ChildProcess(const Text& commandLine);
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool Started() const { return static_cast<bool>(process_); }
  DWORD Id() const { return id_; }
  HANDLE Handle() const { return process_.Get(); }
  // The exit code, or nothing when it still runs after the wait.
  std::optional<DWORD> WaitForExit(DWORD milliseconds);

 private:
  UniqueHandle process_;
  DWORD id_ = 0;
};

// The folder of the running test program.
Text TestProgramFolder();
// A program of the build, given relative to the test program's folder.
Text BuildProgram(const Text& relativePath);
// Copies a program under another name; true when copied.
bool CopyProgram(const Text& from, const Text& to);

// The bytes of a file, or nothing when it cannot be read.
std::optional<Text> ReadFileIfPresent(const Text& path);
bool WriteWholeFile(const Text& path, const Text& bytes);
bool PathExists(const Text& path);
// Waits (processing this thread's messages) until the file exists.
bool WaitForFile(const Text& path, DWORD milliseconds);

// The first visible top-level window of the process; 0 after the wait.
HWND WaitForVisibleWindow(DWORD processId, DWORD milliseconds);

// Double-quoted for a command line.
Text Quoted(const Text& text);

}  // namespace lumigrab::testing
