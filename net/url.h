#pragma once
// Host, port and object path of a web address, as the page request routine
// connects and asks for them. Pure text logic; no platform parser.

#include <string_view>

#include "base/text.h"

namespace lumigrab {

// The host in lower case. With keepPort a ":port" part stays on it.
// An address without "https://" or "http://" counts as plain HTTP.
Text UrlHost(std::string_view address, bool keepPort);

// The port after the host's last ":", 0 when that is empty; otherwise 443
// when the address starts with "https" (any case) and 80 in every other case.
int UrlPort(std::string_view address);

// The object to request: from the first "/" after the host to the end
// (path, query and fragment, in the address's letter case); "/" when the
// address has nothing after its host.
Text UrlPath(std::string_view address);

}  // namespace lumigrab
