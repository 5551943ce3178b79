#include <windows.h>

#include "packer/wide_text_win.h"

namespace lumigrab {

std::wstring WideFromAnsi(std::string_view ansi) {
  if (ansi.empty()) return {};
  const int size = static_cast<int>(ansi.size());
  const int n = MultiByteToWideChar(CP_ACP, 0, ansi.data(), size, nullptr, 0);
  if (n <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, ansi.data(), size, wide.data(), n);
  return wide;
}

Text Utf8FromWide(std::wstring_view wide) {
  if (wide.empty()) return {};
  const int size = static_cast<int>(wide.size());
  const int n = WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, wide.data(), size,
                                    nullptr, 0, nullptr, nullptr);
  if (n <= 0) return {};
  Text utf8(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, wide.data(), size, utf8.data(), n,
                      nullptr, nullptr);
  return utf8;
}

}  // namespace lumigrab
