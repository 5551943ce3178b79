#pragma once
// WebRead: the image reader. One request over WinINet on a worker thread of
// its own while the calling thread keeps dispatching its window messages;
// a browser-like header set, 90-second time-outs, and any server
// certificate accepted. Returns the response body exactly as received (no
// content decoding), empty when the request could not be set up or sent or
// when the wait ended by time-out. The status code is never examined.
//
// The common case is WebRead(address): a GET with the default header set.

#include <cstdint>

#include "base/text.h"

namespace lumigrab {

// The connect, send and receive time-outs, and how long the calling thread
// waits without a message before it gives up.
inline constexpr int kWebReadTimeoutMs = 90000;

// The arguments of a call beyond the address, each with its default, and
// the call's two out values.
struct WebReadCall {
  // Request method, upper-cased; empty means "GET".
  Text verb;
  // Proxy address; empty means the system's own proxy settings.
  Text proxy;
  // The caller's header lines, each ended by CR LF. Default lines are added
  // only for names these lines do not already hold (exact case).
  Text extraHeaders;
  // Request body, sent only with "POST" (a text goes as TextToBytes(text)).
  Bytes body;
  // Nonzero adds "Accept-Encoding: gzip, deflate"; the answer is still
  // returned as received, compressed.
  int acceptCompressed = 0;
  // WinINet request flags added to the fixed ones.
  std::uint32_t extraFlags = 0;
  // out: the Set-Cookie values of the response, attributes included,
  // joined by CR LF; empty on failure.
  Text setCookies;
  // out: the raw response header block; empty on failure.
  Text rawHeaders;

  // Seams for tests, which cannot wait out 90 seconds. The program keeps
  // the defaults.
  int networkTimeoutMs = kWebReadTimeoutMs;  // WinINet's connect/send/receive
  int idleWaitMs = kWebReadTimeoutMs;        // the caller's wait without messages
};

Bytes WebRead(const Text& url);
Bytes WebRead(const Text& url, WebReadCall& call);

// ---- The plain logic of a call, tested without Windows. ----

inline constexpr int kWebReadReadChunk = 1024;
// Milliseconds the calling thread sleeps after each pass of dispatching.
inline constexpr int kWebReadPumpPauseMs = 10;

inline constexpr char kWebReadUserAgentLine[] =
    "User-Agent: Mozilla/4.0 (compatible; MSIE 8.0; Windows NT 5.1; SV1; "
    ".NET CLR 2.0.50727) DozarIRUD\r\n";
inline constexpr char kWebReadAcceptLine[] =
    "Accept: image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, "
    "application/x-shockwave-flash, application/vnd.ms-excel, "
    "application/vnd.ms-powerpoint, application/msword, */*\r\n";
inline constexpr char kWebReadAcceptLanguageLine[] = "Accept-Language: zh-cn\r\n";
inline constexpr char kWebReadAcceptEncodingLine[] = "Accept-Encoding: gzip, deflate\r\n";
inline constexpr char kWebReadContentTypeLine[] =
    "Content-Type: application/x-www-form-urlencoded\r\n";

// The verb in upper case, "GET" when empty.
Text WebReadVerb(const Text& verb);

// The address with leading white space removed: what is parsed, and the
// text of the Referer line.
Text WebReadAddress(const Text& url);

// The caller's extra flags, the fixed ones (redirects between http and
// https allowed, hyperlink semantics), and for https SECURE with expired and
// misnamed certificates accepted.
std::uint32_t WebReadRequestFlags(bool https, std::uint32_t extraFlags);

// The caller's lines (completed with a final CR LF), then User-Agent,
// Accept, Referer, Accept-Language, Accept-Encoding when asked for, and for
// "POST" Content-Type, each only when its name with ": " does not yet occur.
Text BuildWebReadHeaders(const Text& extraHeaders, const Text& address,
                         const Text& verb, int acceptCompressed);

}  // namespace lumigrab
