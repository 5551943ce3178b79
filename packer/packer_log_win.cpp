#include <windows.h>

#include <cstdio>

#include "ipc/unique_handle.h"
#include "packer/packer_log.h"

namespace lumigrab {

std::wstring PackerFolder() {
  std::wstring path(32768, L'\0');
  const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
  path.resize(n);
  const std::size_t slash = path.find_last_of(L'\\');
  return slash == std::wstring::npos ? path : path.substr(0, slash);
}

void LogLine(const Text& utf8Line) {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  char stamp[64];
  std::snprintf(stamp, sizeof stamp, "%04u-%02u-%02u %02u:%02u:%02u [%lu] ", now.wYear,
                now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond,
                static_cast<unsigned long>(GetCurrentProcessId()));
  Text line = stamp;
  for (const char c : utf8Line) {
    const auto b = static_cast<unsigned char>(c);
    if (b < 0x20 || b == 0x7F) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", b);
      line += escaped;
    } else {
      line.push_back(c);
    }
  }
  line += "\r\n";
  // Appending only, shared: two packers may log at the same time.
  const std::wstring path = PackerFolder() + L"\\zip.log";
  UniqueHandle file(CreateFileW(path.c_str(), FILE_APPEND_DATA,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return;
  DWORD written = 0;
  (void)WriteFile(file.Get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

}  // namespace lumigrab
