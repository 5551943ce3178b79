#include "net/request_headers.h"

namespace lumigrab {
namespace {

bool Contains(std::string_view text, std::string_view sought) {
  return FindText(text, sought, kOmitted, false) != -1;
}

}  // namespace

Text BuildRequestHeaders(std::string_view extraHeaders, std::string_view address,
                         std::string_view requestCookies) {
  Text h(extraHeaders);
  if (h.empty()) {
    h = "Accept: */*";
  } else if (!Contains(h, "Accept:")) {
    h += "\r\nAccept: */*";
  }
  if (!Contains(h, "Referer:")) h += JoinTexts("\r\nReferer: ", address);
  if (!Contains(h, "Accept-Language:")) h += "\r\nAccept-Language: zh-cn";
  // Sent with every verb, GET included, as the servers of the marketplace
  // have always seen it.
  if (!Contains(h, "Content-Type:")) {
    h += "\r\nContent-Type: application/x-www-form-urlencoded";
  }
  if (!requestCookies.empty()) {
    // A caller who wrote the whole "Cookie:" line gets it unchanged.
    if (!Contains(requestCookies, "Cookie:")) h += "\r\nCookie: ";
    else h += "\r\n";
    h += requestCookies;
  }
  return h;
}

}  // namespace lumigrab
