#pragma once
// Cookie texts of the page request: the cookies a response sets, and one
// cookie text carried from request to request. Only name=value pairs are
// kept; no expiry, path or domain rule of HTTP cookies applies. Texts made
// here separate items with "; " and have no separator after the last item.

#include <string_view>

#include "base/text.h"

namespace lumigrab {

// The name=value pairs of the Set-Cookie lines of a raw response header
// block (lines ended by CR LF, "Set-Cookie" already in exactly that case),
// attributes dropped, joined by "; ". A line that mentions "Set-Cookie"
// without attributes gives the whole line minus "Set-Cookie:", trimmed.
Text ExtractSetCookies(std::string_view rawHeaders);

// The response cookies, then each request cookie whose name the response
// does not set; items ending in "=deleted" are dropped (a response's
// name=deleted thus removes the cookie). Spaces are removed everywhere,
// values included, and repeated items collapse to one.
Text MergeCookies(std::string_view requestCookies, std::string_view responseCookies);

// The text before the item's first "=" (the whole item without one), trimmed.
Text CookieName(std::string_view item);

// The text split at the separator with later copies of an item (byte for
// byte) removed, joined again by the separator.
Text UniqueItems(std::string_view text, std::string_view separator);

}  // namespace lumigrab
