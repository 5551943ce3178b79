#include "net/web_access.h"

#include "base/text_marks.h"
#include "net/cookies.h"
#include "net/request_flags.h"
#include "net/url.h"

namespace lumigrab {
namespace {

constexpr const char* kVerbs[] = {"GET", "POST", "HEAD"};

}  // namespace

Text WebAccessUserAgent(const Text& extraHeaders) {
  if (FindText(extraHeaders, "User-Agent:", kOmitted, true) == -1) {
    return kWebAccessUserAgent;
  }
  // The appended line end lets a last line without CR LF count too.
  Text agent = TrimText(TextBetween(extraHeaders + "\r\n", "User-Agent:", "\r\n"));
  if (agent.empty()) {
    // The name was written in another letter case: the agent becomes
    // everything after the first colon of the headers.
    const int colon = FindText(extraHeaders, ":", kOmitted, false);
    if (colon == -1) return Text();
    agent = TrimText(MidText(extraHeaders, colon + 1, TextLength(extraHeaders) - colon));
  }
  return agent;
}

std::uint32_t WebAccessRequestFlags(bool secure, bool cookiesGiven, bool noRedirect) {
  std::uint32_t flags = inet::kFlagReload | inet::kFlagNeedFile;
  // Cookies the caller carries itself: WinINet must neither add nor keep any.
  if (cookiesGiven) flags |= inet::kFlagNoCookies;
  if (noRedirect) flags |= inet::kFlagNoAutoRedirect;
  flags |= secure ? inet::kFlagSecure : inet::kFlagIgnoreRedirectToHttps;
  return flags;
}

WebAccessPlan PlanWebAccess(const Text& url, const WebAccessCall& call) {
  WebAccessPlan plan;
  const int method = (call.method < 0 || call.method > 2) ? 0 : call.method;
  plan.verb = kVerbs[method];
  plan.secure = ToLowerText(LeftText(url, 8)) == "https://";
  plan.userAgent = WebAccessUserAgent(call.extraHeaders);
  if (call.proxy.empty()) {
    plan.accessType = inet::kOpenTypeDirect;
  } else {
    plan.accessType = inet::kOpenTypeProxy;
    // A plain request names the proxy for the http scheme; a secure one
    // tunnels through the bare proxy address.
    plan.proxyName = plan.secure ? call.proxy : "http=" + call.proxy;
    plan.proxyBypass = Text();
  }
  plan.host = UrlHost(url, false);
  plan.port = UrlPort(url);
  plan.portValid = plan.port >= 0 && plan.port <= 65535;
  plan.path = UrlPath(url);
  plan.flags = WebAccessRequestFlags(plan.secure, call.requestCookies.has_value(),
                                     call.noRedirect);
  return plan;
}

Bytes* PrepareWebAccessBody(const WebAccessPlan& plan, WebAccessCall& call) {
  if (plan.verb == "GET") return nullptr;
  if (call.postBytes.empty()) call.postBytes = TextToBytes(call.postText);
  return &call.postBytes;
}

void FinishWebAccess(WebAccessCall& call, const Text& headerBuffer) {
  // The query leaves a zero-terminated block, or the buffer untouched.
  call.responseHeaders = Text(headerBuffer.c_str());
  // One spelling, so that the exact-case searches of the cookie logic match.
  call.responseHeaders = ReplaceText(call.responseHeaders, "Set-Cookie", "Set-Cookie",
                                     kOmitted, kOmitted, false);
  call.responseCookies = ExtractSetCookies(call.responseHeaders);
  if (call.mergeCookies && call.requestCookies.has_value()) {
    call.requestCookies = MergeCookies(*call.requestCookies, call.responseCookies);
    call.responseCookies = *call.requestCookies;
  }
}

}  // namespace lumigrab
