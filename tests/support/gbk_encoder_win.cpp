#include <windows.h>

#include <string>

#include "tests/support/gbk_encoder.h"

namespace lumigrab::testing {

std::string Utf8ToGbk(std::string_view utf8) {
  if (utf8.empty()) return {};
  const int wide = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(),
                                       static_cast<int>(utf8.size()), nullptr, 0);
  if (wide <= 0) return {};
  std::wstring w(static_cast<size_t>(wide), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), w.data(), wide);
  // Code page 936 explicitly, whatever the system's ANSI code page is.
  const int bytes = WideCharToMultiByte(936, 0, w.data(), wide, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return {};
  std::string out(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(936, 0, w.data(), wide, out.data(), bytes, nullptr, nullptr);
  return out;
}

}  // namespace lumigrab::testing
