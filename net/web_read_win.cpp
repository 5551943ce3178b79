#include <windows.h>
#include <wininet.h>

#include <cstring>
#include <memory>

#include "net/internet_handle_win.h"
#include "net/request_flags.h"
#include "net/web_read.h"

namespace lumigrab {

static_assert(inet::kFlagIgnoreRedirectToHttp == INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTP);
static_assert(inet::kFlagIgnoreRedirectToHttps == INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTPS);
static_assert(inet::kFlagHyperlink == INTERNET_FLAG_HYPERLINK);
static_assert(inet::kFlagSecure == INTERNET_FLAG_SECURE);
static_assert(inet::kFlagIgnoreCertDateInvalid == INTERNET_FLAG_IGNORE_CERT_DATE_INVALID);
static_assert(inet::kFlagIgnoreCertCnInvalid == INTERNET_FLAG_IGNORE_CERT_CN_INVALID);
static_assert(inet::kOpenTypePreconfig == INTERNET_OPEN_TYPE_PRECONFIG);
static_assert(inet::kOpenTypeProxy == INTERNET_OPEN_TYPE_PROXY);

namespace {

// One request's arguments and results. The worker and the calling thread
// share it: a caller that stops waiting drops its share, and the worker's
// late results die with the record when the worker ends.
struct WebReadJob {
  Text address;
  Text verb;
  Text proxy;
  Text extraHeaders;
  Bytes body;
  int acceptCompressed = 0;
  std::uint32_t extraFlags = 0;
  int networkTimeoutMs = kWebReadTimeoutMs;

  Bytes received;
  Text setCookies;
  Text rawHeaders;
};

struct HandleCloser {
  void operator()(HANDLE handle) const { CloseHandle(handle); }
};
using UniqueHandle = std::unique_ptr<std::remove_pointer_t<HANDLE>, HandleCloser>;

void SetTimeouts(HINTERNET handle, int milliseconds) {
  DWORD value = static_cast<DWORD>(milliseconds);
  for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT,
                       INTERNET_OPTION_RECEIVE_TIMEOUT}) {
    // A time-out that cannot be set leaves WinINet's own: not a reason to
    // give up the request.
    (void)InternetSetOptionA(handle, option, &value, sizeof value);
  }
}

// The canonical form of the address; empty when the platform refuses it.
Text Canonicalize(const Text& address) {
  Text buffer(2084, '\0');
  DWORD length = static_cast<DWORD>(buffer.size());
  if (!InternetCanonicalizeUrlA(address.c_str(), buffer.data(), &length, 0)) {
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) return Text();
    buffer.assign(static_cast<size_t>(length) + 1, '\0');
    length = static_cast<DWORD>(buffer.size());
    if (!InternetCanonicalizeUrlA(address.c_str(), buffer.data(), &length, 0)) return Text();
  }
  // Up to the terminating zero: the returned length counts wide characters
  // on some platforms and would cut an address with double-byte characters.
  return Text(buffer.c_str());
}

struct CrackedAddress {
  bool https = false;
  INTERNET_PORT port = 0;
  Text host;
  Text path;
  Text user;
  Text password;
};

bool Crack(const Text& canonical, CrackedAddress& out) {
  char scheme[32] = {}, host[256] = {}, path[2048] = {}, user[128] = {}, password[128] = {};
  URL_COMPONENTSA parts{};
  parts.dwStructSize = sizeof parts;
  parts.lpszScheme = scheme;
  parts.dwSchemeLength = sizeof scheme;
  parts.lpszHostName = host;
  parts.dwHostNameLength = sizeof host;
  // No room for extra information: the query stays on the object path.
  parts.lpszUrlPath = path;
  parts.dwUrlPathLength = sizeof path;
  parts.lpszUserName = user;
  parts.dwUserNameLength = sizeof user;
  parts.lpszPassword = password;
  parts.dwPasswordLength = sizeof password;
  if (!InternetCrackUrlA(canonical.c_str(), 0, 0, &parts)) return false;
  out.https = parts.nScheme == INTERNET_SCHEME_HTTPS;
  out.port = parts.nPort;
  out.host = host;
  out.path = path;
  out.user = user;
  out.password = password;
  return true;
}

// One HTTP_QUERY_* value at the given index, the buffer grown as asked.
bool QueryHeader(HINTERNET request, DWORD query, DWORD* index, Text& value) {
  Text buffer(1024, '\0');
  for (;;) {
    DWORD length = static_cast<DWORD>(buffer.size());
    if (HttpQueryInfoA(request, query, buffer.data(), &length, index)) {
      value.assign(buffer.data(), length);
      return true;
    }
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) return false;
    buffer.assign(static_cast<size_t>(length) + 1, '\0');
  }
}

// Every Set-Cookie value, the index advanced by the platform.
Text SetCookieValues(HINTERNET request) {
  Text joined;
  DWORD index = 0;
  for (bool first = true;; first = false) {
    const DWORD asked = index;
    Text value;
    if (!QueryHeader(request, HTTP_QUERY_SET_COOKIE, &index, value)) break;
    if (!first) joined += "\r\n";
    joined += value;
    if (index == asked) break;  // an index that does not move would repeat forever
  }
  return joined;
}

void RunWebRead(WebReadJob& job) {
  const bool preconfigured = job.proxy.empty();
  UniqueInternetHandle internet(
      InternetOpenA(nullptr, preconfigured ? INTERNET_OPEN_TYPE_PRECONFIG : INTERNET_OPEN_TYPE_PROXY,
                    preconfigured ? nullptr : job.proxy.c_str(), nullptr, 0));
  if (!internet) return;
  SetTimeouts(internet.get(), job.networkTimeoutMs);

  CrackedAddress address;
  const Text canonical = Canonicalize(job.address);
  if (canonical.empty() || !Crack(canonical, address)) return;

  UniqueInternetHandle connection(InternetConnectA(
      internet.get(), address.host.c_str(), address.port,
      address.user.empty() ? nullptr : address.user.c_str(),
      address.password.empty() ? nullptr : address.password.c_str(), INTERNET_SERVICE_HTTP,
      0, 0));
  if (!connection) return;

  const DWORD flags = WebReadRequestFlags(address.https, job.extraFlags);
  UniqueInternetHandle request(HttpOpenRequestA(connection.get(), job.verb.c_str(),
                                                address.path.c_str(), "HTTP/1.1", nullptr,
                                                nullptr, flags, 0));
  if (!request) return;
  // Windows hands the internet handle's time-outs down to its children;
  // other WinINet implementations honour them only on the request itself.
  SetTimeouts(request.get(), job.networkTimeoutMs);

  const Text headers =
      BuildWebReadHeaders(job.extraHeaders, job.address, job.verb, job.acceptCompressed);
  const bool sendBody = job.verb == "POST" && !job.body.empty();
  if (!HttpSendRequestA(request.get(), headers.data(), static_cast<DWORD>(headers.size()),
                        sendBody ? job.body.data() : nullptr,
                        sendBody ? static_cast<DWORD>(job.body.size()) : 0)) {
    return;
  }

  Text raw;
  if (QueryHeader(request.get(), HTTP_QUERY_RAW_HEADERS_CRLF, nullptr, raw)) {
    job.rawHeaders = raw;
  }
  job.setCookies = SetCookieValues(request.get());

  char chunk[kWebReadReadChunk];
  DWORD count = 0;
  while (InternetReadFile(request.get(), chunk, sizeof chunk, &count) && count > 0) {
    job.received.insert(job.received.end(), chunk, chunk + count);
  }
}

DWORD WINAPI WebReadWorker(void* parameter) {
  // The worker's own share of the record, handed over by the caller.
  std::unique_ptr<std::shared_ptr<WebReadJob>> share(
      static_cast<std::shared_ptr<WebReadJob>*>(parameter));
  RunWebRead(**share);
  return 0;
}

// Waits for the worker while dispatching this thread's messages. False when
// the wait gave up: no message and no end of the worker for the idle time.
bool WaitDispatching(HANDLE worker, int idleWaitMs) {
  bool quit = false;
  WPARAM quitCode = 0;
  bool finished = false;
  for (;;) {
    // Sent messages too (QS_ALLINPUT, not only QS_ALLEVENTS): a window of
    // another thread or program that sends to ours would otherwise wait
    // for the whole download.
    const DWORD woke = MsgWaitForMultipleObjects(1, &worker, FALSE,
                                                 static_cast<DWORD>(idleWaitMs), QS_ALLINPUT);
    if (woke == WAIT_OBJECT_0) {
      finished = true;
      break;
    }
    if (woke != WAIT_OBJECT_0 + 1) break;  // time-out (or a failed wait)
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) {
        // Meant for the main message loop: keep it for after the request.
        quit = true;
        quitCode = message.wParam;
        continue;
      }
      // Dispatched, then translated: a key's character message follows the
      // key message's handler, as in the program's other waits.
      DispatchMessageA(&message);
      TranslateMessage(&message);
    }
    Sleep(kWebReadPumpPauseMs);
  }
  if (quit) PostQuitMessage(static_cast<int>(quitCode));
  return finished;
}

}  // namespace

Bytes WebRead(const Text& url) {
  WebReadCall call;
  return WebRead(url, call);
}

Bytes WebRead(const Text& url, WebReadCall& call) {
  auto job = std::make_shared<WebReadJob>();
  job->address = WebReadAddress(url);
  job->verb = WebReadVerb(call.verb);
  job->proxy = call.proxy;
  job->extraHeaders = call.extraHeaders;
  job->body = call.body;
  job->acceptCompressed = call.acceptCompressed;
  job->extraFlags = call.extraFlags;
  job->networkTimeoutMs = call.networkTimeoutMs;
  call.setCookies.clear();
  call.rawHeaders.clear();

  auto* workerShare = new std::shared_ptr<WebReadJob>(job);
  UniqueHandle worker(CreateThread(nullptr, 0, WebReadWorker, workerShare, 0, nullptr));
  if (!worker) {
    delete workerShare;
    return Bytes();
  }
  if (!WaitDispatching(worker.get(), call.idleWaitMs)) {
    // The worker runs on with its own share; whatever it gets is dropped.
    return Bytes();
  }
  call.setCookies = job->setCookies;
  call.rawHeaders = job->rawHeaders;
  return job->received;
}

}  // namespace lumigrab
