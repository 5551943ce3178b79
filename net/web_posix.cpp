// The native build has no WinINet: both request routines behave as when the
// platform cannot set up a request, so code above them links and runs its
// own tests without a network.

#include "net/web_access.h"
#include "net/web_read.h"

namespace lumigrab {

Bytes WebAccess(const Text& url) {
  WebAccessCall call;
  return WebAccess(url, call);
}

Bytes WebAccess(const Text&, WebAccessCall&) { return Bytes(); }

Bytes WebRead(const Text& url) {
  WebReadCall call;
  return WebRead(url, call);
}

Bytes WebRead(const Text&, WebReadCall& call) {
  call.setCookies.clear();
  call.rawHeaders.clear();
  return Bytes();
}

}  // namespace lumigrab
