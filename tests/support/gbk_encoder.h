#pragma once
// Encodes UTF-8 text as GBK with the platform's own converter, independent
// of the program's hand-written literals. Empty on failure.

#include <string>
#include <string_view>

namespace lumigrab::testing {

std::string Utf8ToGbk(std::string_view utf8);

}  // namespace lumigrab::testing
