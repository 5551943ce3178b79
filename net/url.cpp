#include "net/url.h"

#include "base/text_marks.h"

namespace lumigrab {

Text UrlHost(std::string_view address, bool keepPort) {
  Text u = ToLowerText(address);
  if (RightText(u, 1) != "/") u += "/";
  Text host;
  if (LeftText(u, 8) == "https://") {
    host = TextBetween(u, "https://", "/");
  } else {
    if (FindText(u, "http://", kOmitted, false) == -1) u = "http://" + u;
    host = TextBetween(u, "http://", "/");
  }
  if (!keepPort) {
    const int colon = FindText(host, ":", kOmitted, false);
    if (colon != -1) host = LeftText(host, colon - 1);
  }
  return host;
}

int UrlPort(std::string_view address) {
  const Text hostAndPort = UrlHost(address, true);
  if (FindText(hostAndPort, ":", kOmitted, false) != -1) {
    return ToInteger(TextAfterLast(hostAndPort, ":"));
  }
  return ToLowerText(LeftText(address, 5)) == "https" ? 443 : 80;
}

Text UrlPath(std::string_view address) {
  const Text host = UrlHost(address, false);
  // The host is searched after the scheme: a host such as "t" or "http"
  // would otherwise be found inside "http://" and the path would start at
  // the scheme's own slashes.
  int searchFrom = 1;
  const Text lower = ToLowerText(LeftText(address, 8));
  if (LeftText(lower, 7) == "http://") {
    searchFrom = 8;
  } else if (lower == "https://") {
    searchFrom = 9;
  }
  int start = host.empty() ? -1 : FindText(address, host, searchFrom, true);
  if (start == -1) start = 1;
  const int slash = FindText(address, "/", start, true);
  if (slash == -1) return "/";
  return MidText(address, slash, TextLength(address) - slash + 1);
}

}  // namespace lumigrab
