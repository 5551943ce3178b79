#pragma once
// WebAccess: one complete HTTP or HTTPS request over WinINet, synchronous on
// the calling thread, returning the response body exactly as received
// (empty when nothing came or the handles could not be set up). The status
// code is never examined: an error page is a body like any other. Every
// call opens and closes its own internet, connection and request handles.
//
// The common case is WebAccess(address): a GET with the default header
// block, WinINet's own cookie store, redirects followed, no proxy.

#include <cstdint>
#include <optional>

#include "base/text.h"

namespace lumigrab {

// The arguments of a call beyond the address, each with its default. Some
// are in/out: the call updates them in place, as described per field.
struct WebAccessCall {
  // 0 GET, 1 POST, 2 HEAD; any other value counts as 0.
  int method = 0;
  // Request body as text; used only when postBytes is empty.
  Text postText;
  // in/out. Omitted: WinINet sends and stores cookies of its own. Given,
  // even empty: WinINet's cookie store is left out, these cookies are sent
  // ("a=1; b=2"), and (with mergeCookies) the call leaves the merged text
  // of these and the response's cookies here.
  std::optional<Text> requestCookies;
  // out: the name=value items the response sets, joined by "; ", or the
  // merged text when cookies were merged.
  Text responseCookies;
  // in/out: the caller's request header lines, separated by CR LF; once the
  // request handle exists, the complete header block that is sent.
  Text extraHeaders;
  // out: the raw response header block (status line and header lines, each
  // ended by CR LF), or 5000 spaces when it could not be read or is 5000
  // bytes or longer.
  Text responseHeaders;
  // True: redirects are not followed.
  bool noRedirect = false;
  // in/out: request body as bytes; for POST and HEAD an empty one receives
  // the bytes of postText before the send.
  Bytes postBytes;
  // Proxy "host:port"; empty means a direct connection.
  Text proxy;
  // Merge requestCookies with the response cookies (when requestCookies is
  // given).
  bool mergeCookies = true;
};

Bytes WebAccess(const Text& url);
Bytes WebAccess(const Text& url, WebAccessCall& call);

// ---- The plain logic of a call, tested without Windows. ----

inline constexpr char kWebAccessUserAgent[] =
    "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)";
// Chunk size of the body reads, and the size of the response header buffer.
inline constexpr int kWebAccessReadChunk = 1024;
inline constexpr int kWebAccessHeaderBufferSize = 5000;

// Everything the WinINet calls of one request take, decided before the
// first of them.
struct WebAccessPlan {
  Text verb;
  bool secure = false;
  Text userAgent;
  std::uint32_t accessType = 0;
  // Null for a direct connection (both go to InternetOpenA as NULL).
  std::optional<Text> proxyName;
  std::optional<Text> proxyBypass;
  Text host;
  int port = 0;
  Text path;
  std::uint32_t flags = 0;
  // False when the port cannot be a TCP port: the call then fails as if
  // the connection could not be made, instead of dialling a wrapped port.
  bool portValid = true;
};

WebAccessPlan PlanWebAccess(const Text& url, const WebAccessCall& call);

// The user agent: the value of the caller's "User-Agent:" line, or when that
// is empty (a header name in another letter case) everything after the
// first ":" of the headers; the default agent when the headers name no
// User-Agent in any case.
Text WebAccessUserAgent(const Text& extraHeaders);

std::uint32_t WebAccessRequestFlags(bool secure, bool cookiesGiven, bool noRedirect);

// The body that goes with the send: empty for GET; for POST and HEAD
// postBytes, which first takes the bytes of postText when it is empty.
Bytes* PrepareWebAccessBody(const WebAccessPlan& plan, WebAccessCall& call);

// After the request: the header buffer (5000 bytes, zero-terminated when the
// query wrote it) becomes responseHeaders with every "Set-Cookie" in any
// case spelt exactly so, its cookies become responseCookies, and the cookie
// texts are merged when that applies.
void FinishWebAccess(WebAccessCall& call, const Text& headerBuffer);

}  // namespace lumigrab
