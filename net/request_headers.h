#pragma once
// The header block of the page request: the caller's lines completed with
// the default lines and the cookie line. Pure text logic.

#include <string_view>

#include "base/text.h"

namespace lumigrab {

// The caller's lines first, in their order, then each default line whose
// name does not yet occur anywhere in them (exact case, matched anywhere):
// Accept, Referer (the address), Accept-Language, Content-Type; then the
// cookie line when there are cookies. Lines are joined by CR LF with none
// after the last. The user agent is not a line here: it goes to the
// internet handle.
Text BuildRequestHeaders(std::string_view extraHeaders, std::string_view address,
                         std::string_view requestCookies);

}  // namespace lumigrab
