#include "tests/ipc/windows_test_support.h"

#include "base/files.h"
#include "base/process.h"
#include "ipc/process_lookup.h"

namespace lumigrab::testing {

ChildProcess::ChildProcess(const Text& commandLine) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  Text line = commandLine;
  line.push_back('\0');
  PROCESS_INFORMATION info{};
  if (CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                     nullptr, &startup, &info)) {
    CloseHandle(info.hThread);
    process_ = UniqueHandle(info.hProcess);
    id_ = info.dwProcessId;
  }
}

ChildProcess::~ChildProcess() {
  if (process_ && WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT) {
    TerminateProcess(process_.Get(), 99);
    WaitForSingleObject(process_.Get(), 10000);
  }
}

std::optional<DWORD> ChildProcess::WaitForExit(DWORD milliseconds) {
  if (!process_ || WaitForSingleObject(process_.Get(), milliseconds) != WAIT_OBJECT_0) {
    return std::nullopt;
  }
  DWORD code = 0;
  GetExitCodeProcess(process_.Get(), &code);
  return code;
}

Text TestProgramFolder() { return ExeDir(); }

Text BuildProgram(const Text& relativePath) {
  return TestProgramFolder() + "\\" + relativePath;
}

bool CopyProgram(const Text& from, const Text& to) {
  return CopyFileA(from.c_str(), to.c_str(), FALSE) != 0;
}

std::optional<Text> ReadFileIfPresent(const Text& path) {
  UniqueHandle file(CreateFileA(path.c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, 0, nullptr));
  if (!file) return std::nullopt;
  Text bytes;
  char buffer[65536];
  DWORD got = 0;
  while (ReadFile(file.Get(), buffer, sizeof buffer, &got, nullptr) && got > 0) {
    bytes.append(buffer, got);
  }
  return bytes;
}

bool WriteWholeFile(const Text& path, const Text& bytes) {
  UniqueHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr,
                                CREATE_ALWAYS, 0, nullptr));
  DWORD written = 0;
  return file &&
         WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                   nullptr) &&
         written == bytes.size();
}

bool PathExists(const Text& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool WaitForFile(const Text& path, DWORD milliseconds) {
  const DWORD start = GetTickCount();
  while (!PathExists(path)) {
    if (GetTickCount() - start >= milliseconds) return false;
    ProcessEvents();
    Sleep(10);
  }
  return true;
}

HWND WaitForVisibleWindow(DWORD processId, DWORD milliseconds) {
  SetWindowWaitLimitForTesting(milliseconds);
  HWND window = FindVisibleWindowOfProcess(processId);
  SetWindowWaitLimitForTesting(std::nullopt);
  return window;
}

Text Quoted(const Text& text) { return "\"" + text + "\""; }

}  // namespace lumigrab::testing
