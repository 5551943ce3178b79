#include <gtest/gtest.h>

#include "net/request_flags.h"
#include "net/web_access.h"

namespace lumigrab {
namespace {

TEST(WebAccessPlanTest, AddressesGiveHostPortPathAndFlags) {
  const struct {
    const char* url;
    const char* host;
    int port;
    const char* path;
    bool secure;
    std::uint32_t flags;
  } cases[] = {
      {"10.0.0.1/a/b?c=1", "10.0.0.1", 80, "/a/b?c=1", false, 0x80004010},
      {"HTTPS://Shop:8443/Item?id=7", "shop", 8443, "/Item?id=7", true, 0x80800010},
      {"https://shop.example", "shop.example", 443, "/", true, 0x80800010},
      {"http://shop:/x", "shop", 0, "/x", false, 0x80004010},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.url);
    const WebAccessPlan plan = PlanWebAccess(c.url, WebAccessCall{});
    EXPECT_EQ(plan.host, c.host);
    EXPECT_EQ(plan.port, c.port);
    EXPECT_EQ(plan.path, c.path);
    EXPECT_EQ(plan.secure, c.secure);
    EXPECT_EQ(plan.flags, c.flags);
    EXPECT_TRUE(plan.portValid);
  }
}

TEST(WebAccessPlanTest, FlagsForCookiesAndRedirects) {
  const struct {
    bool secure, cookiesGiven, noRedirect;
    std::uint32_t flags;
  } cases[] = {
      {false, false, false, 0x80004010},
      {true, false, false, 0x80800010},
      {false, true, false, 0x80084010},
      {false, false, true, 0x80204010},
      {true, true, true, 0x80A80010},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.secure << c.cookiesGiven << c.noRedirect);
    EXPECT_EQ(WebAccessRequestFlags(c.secure, c.cookiesGiven, c.noRedirect), c.flags);
  }
  // Given empty cookies still keep WinINet's own cookies out.
  WebAccessCall call;
  call.requestCookies = Text();
  EXPECT_EQ(PlanWebAccess("http://h/", call).flags & inet::kFlagNoCookies,
            inet::kFlagNoCookies);
}

TEST(WebAccessPlanTest, MethodsOutsideTheListSendGet) {
  const struct {
    int method;
    const char* verb;
  } cases[] = {{0, "GET"}, {1, "POST"}, {2, "HEAD"}, {3, "GET"}, {5, "GET"}, {-1, "GET"}};
  for (const auto& c : cases) {
    WebAccessCall call;
    call.method = c.method;
    EXPECT_EQ(PlanWebAccess("http://h/", call).verb, c.verb) << c.method;
  }
}

TEST(WebAccessPlanTest, UserAgentFromTheCallersHeaders) {
  const struct {
    const char* name;
    const char* headers;
    const char* agent;
  } cases[] = {
      {"none given", "", "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)"},
      {"other lines only", "X-A: 1", "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)"},
      {"exact name, last line", "X-A: 1\r\nUser-Agent:  Tester/2.0 ", "Tester/2.0"},
      {"exact name, first line", "User-Agent: T/1\r\nX-A: 1", "T/1"},
      {"lower-case name: after the first colon", "user-agent: Tester/1.0", "Tester/1.0"},
      {"lower-case name after another line", "X-A: 1\r\nuser-agent: T", "1\r\nuser-agent: T"},
      {"empty exact value falls back too", "X-A: 1\r\nUser-Agent:", "1\r\nUser-Agent:"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(WebAccessUserAgent(c.headers), c.agent);
  }
}

TEST(WebAccessPlanTest, ProxyNamesPerScheme) {
  const struct {
    const char* url;
    const char* proxy;
    std::uint32_t accessType;
    std::optional<Text> proxyName;
    std::optional<Text> bypass;
  } cases[] = {
      {"http://h/", "", inet::kOpenTypeDirect, std::nullopt, std::nullopt},
      {"http://h/", "10.0.0.1:8080", inet::kOpenTypeProxy, "http=10.0.0.1:8080", ""},
      {"h/x", "10.0.0.1:8080", inet::kOpenTypeProxy, "http=10.0.0.1:8080", ""},
      {"https://h/", "10.0.0.1:8080", inet::kOpenTypeProxy, "10.0.0.1:8080", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.url) + " via " + c.proxy);
    WebAccessCall call;
    call.proxy = c.proxy;
    const WebAccessPlan plan = PlanWebAccess(c.url, call);
    EXPECT_EQ(plan.accessType, c.accessType);
    EXPECT_EQ(plan.proxyName, c.proxyName);
    EXPECT_EQ(plan.proxyBypass, c.bypass);
  }
}

TEST(WebAccessPlanTest, PortsBeyondTcpAreRefused) {
  for (const char* url : {"http://h:65536/", "http://h:-1/", "http://h:99999/"}) {
    EXPECT_FALSE(PlanWebAccess(url, WebAccessCall{}).portValid) << url;
  }
  EXPECT_TRUE(PlanWebAccess("http://h:65535/", WebAccessCall{}).portValid);
}

TEST(WebAccessPlanTest, BodyPerMethod) {
  const struct {
    const char* name;
    int method;
    const char* postText;
    Bytes postBytes;
    bool sends;
    Bytes body;
  } cases[] = {
      {"GET sends nothing", 0, "a=1", {}, false, {}},
      {"POST text when no bytes", 1, "a=1", {}, true, {'a', '=', '1'}},
      {"POST bytes win over text", 1, "a=1", {0, 1, 2}, true, {0, 1, 2}},
      {"HEAD sends a body too", 2, "h", {}, true, {'h'}},
      {"POST with nothing", 1, "", {}, true, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    WebAccessCall call;
    call.method = c.method;
    call.postText = c.postText;
    call.postBytes = c.postBytes;
    Bytes* body = PrepareWebAccessBody(PlanWebAccess("http://h/", call), call);
    ASSERT_EQ(body != nullptr, c.sends);
    if (body) {
      EXPECT_EQ(*body, c.body);
      EXPECT_EQ(body, &call.postBytes) << "the bytes sent are left in postBytes";
    } else {
      EXPECT_EQ(call.postBytes, c.postBytes) << "untouched for GET";
    }
  }
}

TEST(FinishWebAccessTest, HeadersCookiesAndMerging) {
  const Text block =
      "HTTP/1.1 200 OK\r\nset-cookie: a=9; path=/\r\nSET-COOKIE: c=3\r\n\r\n";
  Text buffer = block;
  buffer.push_back('\0');
  buffer.resize(kWebAccessHeaderBufferSize, ' ');

  {
    SCOPED_TRACE("no request cookies: no merge");
    WebAccessCall call;
    FinishWebAccess(call, buffer);
    EXPECT_EQ(call.responseHeaders,
              "HTTP/1.1 200 OK\r\nSet-Cookie: a=9; path=/\r\nSet-Cookie: c=3\r\n\r\n");
    EXPECT_EQ(call.responseCookies, "a=9; c=3");
    EXPECT_FALSE(call.requestCookies.has_value());
  }
  {
    SCOPED_TRACE("request cookies merged into both");
    WebAccessCall call;
    call.requestCookies = "a=1; b=2";
    FinishWebAccess(call, buffer);
    EXPECT_EQ(call.requestCookies, "a=9; c=3; b=2");
    EXPECT_EQ(call.responseCookies, "a=9; c=3; b=2");
  }
  {
    SCOPED_TRACE("merging switched off");
    WebAccessCall call;
    call.requestCookies = "a=1; b=2";
    call.mergeCookies = false;
    FinishWebAccess(call, buffer);
    EXPECT_EQ(call.requestCookies, "a=1; b=2");
    EXPECT_EQ(call.responseCookies, "a=9; c=3");
  }
  {
    SCOPED_TRACE("failed query: 5000 spaces, no cookies, merge still runs");
    WebAccessCall call;
    call.requestCookies = "a = 1; a=1";
    FinishWebAccess(call, Text(kWebAccessHeaderBufferSize, ' '));
    EXPECT_EQ(call.responseHeaders, Text(5000, ' '));
    EXPECT_EQ(call.responseCookies, "a=1");
    EXPECT_EQ(call.requestCookies, "a=1");
  }
}

}  // namespace
}  // namespace lumigrab
