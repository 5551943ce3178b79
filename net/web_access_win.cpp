#include <windows.h>
#include <wininet.h>

#include "net/internet_handle_win.h"
#include "net/request_flags.h"
#include "net/request_headers.h"
#include "net/web_access.h"

namespace lumigrab {

static_assert(inet::kFlagReload == INTERNET_FLAG_RELOAD);
static_assert(inet::kFlagNeedFile == INTERNET_FLAG_NEED_FILE);
static_assert(inet::kFlagNoCookies == INTERNET_FLAG_NO_COOKIES);
static_assert(inet::kFlagNoAutoRedirect == INTERNET_FLAG_NO_AUTO_REDIRECT);
static_assert(inet::kFlagSecure == INTERNET_FLAG_SECURE);
static_assert(inet::kFlagIgnoreRedirectToHttps == INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTPS);
static_assert(inet::kOpenTypeDirect == INTERNET_OPEN_TYPE_DIRECT);
static_assert(inet::kOpenTypeProxy == INTERNET_OPEN_TYPE_PROXY);

namespace {

const char* NullOr(const std::optional<Text>& text) {
  return text ? text->c_str() : nullptr;
}

}  // namespace

Bytes WebAccess(const Text& url) {
  WebAccessCall call;
  return WebAccess(url, call);
}

Bytes WebAccess(const Text& url, WebAccessCall& call) {
  const WebAccessPlan plan = PlanWebAccess(url, call);

  UniqueInternetHandle internet(InternetOpenA(plan.userAgent.c_str(), plan.accessType,
                                              NullOr(plan.proxyName),
                                              NullOr(plan.proxyBypass), 0));
  if (!internet || !plan.portValid) return Bytes();
  UniqueInternetHandle connection(
      InternetConnectA(internet.get(), plan.host.c_str(),
                       static_cast<INTERNET_PORT>(plan.port), nullptr, nullptr,
                       INTERNET_SERVICE_HTTP, 0, 0));
  if (!connection) return Bytes();
  UniqueInternetHandle request(HttpOpenRequestA(connection.get(), plan.verb.c_str(),
                                                plan.path.c_str(), "HTTP/1.1", nullptr,
                                                nullptr, plan.flags, 0));
  if (!request) return Bytes();

  call.extraHeaders =
      BuildRequestHeaders(call.extraHeaders, url, call.requestCookies.value_or(Text()));
  Bytes* body = PrepareWebAccessBody(plan, call);
  const bool hasBody = body != nullptr && !body->empty();
  const bool sent = HttpSendRequestA(request.get(), call.extraHeaders.data(),
                                     static_cast<DWORD>(call.extraHeaders.size()),
                                     hasBody ? body->data() : nullptr,
                                     hasBody ? static_cast<DWORD>(body->size()) : 0);

  Bytes received;
  char chunk[kWebAccessReadChunk];
  DWORD count = 0;
  // A failed read reports 0 bytes as well: both end the body.
  while (InternetReadFile(request.get(), chunk, sizeof chunk, &count) && count > 0) {
    received.insert(received.end(), chunk, chunk + count);
  }

  Text headerBuffer(kWebAccessHeaderBufferSize, ' ');
  DWORD headerLength = kWebAccessHeaderBufferSize;
  // After a failed send there are no headers, and the spaces stay. (Some
  // WinINet builds answer the query with an empty block instead of failing.)
  // A block that does not fit fails the query and leaves them too.
  if (sent) {
    (void)HttpQueryInfoA(request.get(), HTTP_QUERY_RAW_HEADERS_CRLF, headerBuffer.data(),
                         &headerLength, nullptr);
  }

  request.reset();
  connection.reset();
  internet.reset();

  FinishWebAccess(call, headerBuffer);
  return received;
}

}  // namespace lumigrab
