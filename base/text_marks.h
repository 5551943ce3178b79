#pragma once
// The two marker helpers of the page parser, the address filters and the
// cookie handling. They live here, beside the text primitives, so that the
// HTTP client can use them without depending on the export engine.

#include <optional>
#include <string_view>

#include "base/text.h"

namespace lumigrab {

// The bytes between the first left mark (searched from the start position)
// and the first right mark after it; empty when either is missing. "#引号" in
// either mark stands for a double quote.
Text TextBetween(std::string_view text, std::string_view left,
                 std::string_view right, std::optional<int> start = kOmitted,
                 std::optional<bool> ignoreCase = kOmitted);

// The bytes after the last occurrence of the mark; empty when it is missing.
Text TextAfterLast(std::string_view text, std::string_view mark,
                   std::optional<int> start = kOmitted,
                   std::optional<bool> ignoreCase = kOmitted);

}  // namespace lumigrab
