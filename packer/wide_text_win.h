#pragma once
// Conversions between the system's ANSI code page, UTF-16 and UTF-8, for the
// packer, which works on file names in UTF-16 and writes them in UTF-8.

#include <string>
#include <string_view>

#include "base/text.h"

namespace lumigrab {

// From the ANSI code page (GBK on the systems the program is made for).
std::wstring WideFromAnsi(std::string_view ansi);
// Empty when the text holds an unpaired surrogate.
Text Utf8FromWide(std::wstring_view wide);

}  // namespace lumigrab
