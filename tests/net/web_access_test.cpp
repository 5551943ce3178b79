// WebAccess against the loopback test server: what reached the server, and
// what the call gave back.

#include "net/web_access.h"

#include <gtest/gtest.h>

#include "tests/net/test_server_client_win.h"

namespace lumigrab {
namespace {

using testing::NewToken;
using testing::Pattern;
using testing::SameBytes;
using testing::ReceivedRequest;
using testing::TestServer;

const std::string kDefaultAgent = "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)";
const Text kSpaces(5000, ' ');

std::string AsString(const Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

// The one request that reached the server under the token.
ReceivedRequest OnlyRequest(const std::string& token) {
  const auto received = TestServer::Get().Received(token);
  EXPECT_EQ(received.count, 1) << "requests under " << token;
  return received.requests.empty() ? ReceivedRequest() : received.requests.front();
}

TEST(WebAccessTest, DefaultCallSendsTheDefaultBlock) {
  TestServer& server = TestServer::Get();
  const std::string token = NewToken("default");
  const std::string url = server.Url("http", token, "page?body=product%20page");

  EXPECT_EQ(AsString(WebAccess(url)), "product page");

  const ReceivedRequest request = OnlyRequest(token);
  EXPECT_EQ(request.RequestLine(), "GET /t/" + token + "/page?body=product%20page HTTP/1.1");
  EXPECT_EQ(request.Header("User-Agent"), kDefaultAgent);
  const std::string block = "Accept: */*\r\nReferer: " + url +
                            "\r\nAccept-Language: zh-cn\r\n"
                            "Content-Type: application/x-www-form-urlencoded\r\n";
  EXPECT_NE(request.HeaderBlock().find(block), std::string::npos) << request.raw;
  for (const char* name : {"Accept", "Referer", "Accept-Language", "Content-Type", "User-Agent"}) {
    EXPECT_EQ(request.CountHeader(name), 1) << name;
  }
  EXPECT_EQ(request.CountHeader("Cookie"), 0);
  EXPECT_EQ(request.Body(), "");
}

TEST(WebAccessTest, OutValuesOfASuccessfulCall) {
  TestServer& server = TestServer::Get();
  const std::string token = NewToken("outs");
  const std::string url = server.Url(
      "http", token, "page?body=x&header=set-cookie:%20s=1;%20Path=/t/" + token + "/");
  WebAccessCall call;
  call.extraHeaders = "X-Mine: 1";

  EXPECT_EQ(AsString(WebAccess(url, call)), "x");

  EXPECT_EQ(call.extraHeaders,
            "X-Mine: 1\r\nAccept: */*\r\nReferer: " + url +
                "\r\nAccept-Language: zh-cn\r\nContent-Type: application/x-www-form-urlencoded");
  EXPECT_EQ(call.responseHeaders.rfind("HTTP/1.1 200 OK\r\n", 0), 0u) << call.responseHeaders;
  EXPECT_EQ(call.responseHeaders.substr(call.responseHeaders.size() - 4), "\r\n\r\n");
  // Every spelling of the name becomes "Set-Cookie".
  EXPECT_NE(call.responseHeaders.find("Set-Cookie: s=1; Path=/t/"), std::string::npos);
  EXPECT_EQ(call.responseHeaders.find("set-cookie"), std::string::npos);
  EXPECT_EQ(call.responseCookies, "s=1");
  EXPECT_FALSE(call.requestCookies.has_value());
  EXPECT_NE(OnlyRequest(token).HeaderBlock().find("X-Mine: 1\r\nAccept: */*\r\n"),
            std::string::npos);
}

TEST(WebAccessTest, UserAgentFromTheCallersLines) {
  TestServer& server = TestServer::Get();
  const struct {
    const char* name;
    const char* extra;
    const char* agent;
  } cases[] = {
      {"exact name", "User-Agent: Tester/2.0", "Tester/2.0"},
      {"lower-case name: after the first colon", "user-agent: Tester/1.0", "Tester/1.0"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string token = NewToken("agent");
    WebAccessCall call;
    call.extraHeaders = c.extra;
    WebAccess(server.Url("http", token, "page"), call);
    const ReceivedRequest request = OnlyRequest(token);
    EXPECT_EQ(request.Header("User-Agent"), c.agent) << request.raw;
    EXPECT_EQ(request.raw.find(kDefaultAgent), std::string::npos);
  }
}

TEST(WebAccessTest, MethodsAndBodies) {
  TestServer& server = TestServer::Get();
  const struct {
    const char* name;
    int method;
    const char* postText;
    Bytes postBytes;
    const char* verb;
    std::string sent;
    Bytes postBytesAfter;
  } cases[] = {
      {"method 5 is GET", 5, "a=1", {}, "GET", "", {}},
      {"method -1 is GET", -1, "", {}, "GET", "", {}},
      {"POST sends the text when no bytes", 1, "a=1", {}, "POST", "a=1", {'a', '=', '1'}},
      {"POST sends the bytes over the text", 1, "a=1", {0, 'z', 0xFF}, "POST",
       std::string("\0z\xFF", 3), {0, 'z', 0xFF}},
      {"POST with no body", 1, "", {}, "POST", "", {}},
      {"HEAD sends a body when given", 2, "h=1", {}, "HEAD", "h=1", {'h', '=', '1'}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string token = NewToken("method");
    WebAccessCall call;
    call.method = c.method;
    call.postText = c.postText;
    call.postBytes = c.postBytes;
    const Bytes body = WebAccess(server.Url("http", token, "page?body=answer"), call);
    const ReceivedRequest request = OnlyRequest(token);
    EXPECT_EQ(request.RequestLine().substr(0, request.RequestLine().find(' ')), c.verb);
    EXPECT_EQ(request.Body(), c.sent);
    EXPECT_EQ(call.postBytes, c.postBytesAfter);
    // A HEAD answer has no body.
    EXPECT_EQ(AsString(body), c.method == 2 ? "" : "answer");
  }
}

TEST(WebAccessTest, CallersCookiesReplaceThePlatformStore) {
  TestServer& server = TestServer::Get();
  const std::string token = NewToken("cookies");
  const std::string scope = ";%20Path=/t/" + token + "/";
  // The platform stores a cookie the server sets when the caller carries none.
  WebAccess(server.Url("http", token, "page?header=Set-Cookie:%20stored=1" + scope));

  WebAccessCall omitted;
  WebAccess(server.Url("http", token, "page"), omitted);

  WebAccessCall empty;
  empty.requestCookies = Text();
  WebAccess(server.Url("http", token,
                       "page?header=Set-Cookie:%20n=2" + scope + "&header=Set-Cookie:%20m=3"),
            empty);

  WebAccessCall given;
  given.requestCookies = "a=1; b=2";
  WebAccess(server.Url("http", token,
                       "page?header=Set-Cookie:%20b=3" + scope + "&header=Set-Cookie:%20c=4"),
            given);

  WebAccessCall deleted;
  deleted.requestCookies = "a=1; sid=7";
  WebAccess(server.Url("http", token,
                       "page?header=Set-Cookie:%20sid=deleted;%20Max-Age=0" + scope),
            deleted);

  WebAccessCall unmerged;
  unmerged.requestCookies = "a=1";
  unmerged.mergeCookies = false;
  WebAccess(server.Url("http", token, "page?header=Set-Cookie:%20z=9"), unmerged);

  const auto received = server.Received(token);
  ASSERT_EQ(received.count, 6);
  EXPECT_EQ(received.requests[1].Header("Cookie"), "stored=1") << "platform store used";
  EXPECT_EQ(received.requests[2].CountHeader("Cookie"), 0) << "given empty: none at all";
  EXPECT_EQ(received.requests[3].Header("Cookie"), "a=1; b=2");
  EXPECT_EQ(received.requests[3].CountHeader("Cookie"), 1) << "no stored cookie added";

  EXPECT_EQ(empty.requestCookies, "n=2; m=3");
  EXPECT_EQ(empty.responseCookies, "n=2; m=3");
  EXPECT_EQ(given.requestCookies, "b=3; c=4; a=1");
  EXPECT_EQ(given.responseCookies, "b=3; c=4; a=1");
  EXPECT_EQ(deleted.requestCookies, "a=1");
  EXPECT_EQ(unmerged.requestCookies, "a=1");
  EXPECT_EQ(unmerged.responseCookies, "z=9");
}

TEST(WebAccessTest, ErrorPagesRedirectsAndTransferCodings) {
  TestServer& server = TestServer::Get();
  const std::string back = NewToken("back");
  const std::string there = NewToken("there");
  const std::string hop = NewToken("hop");
  const std::string toHttps = server.Url("https", there, "redirect?to=" +
                                                             server.Url("http", back, "page?body=home"));
  const std::string gzipToken = NewToken("gzip");
  const struct {
    const char* name;
    std::string url;
    std::string body;
  } cases[] = {
      {"404 with a body", server.Url("http", NewToken("e404"), "page?status=404&body=no%20such"),
       "no such"},
      {"500 with a body", server.Url("http", NewToken("e500"), "page?status=500&body=broken"),
       "broken"},
      {"301 http to http",
       server.Url("http", NewToken("r301"),
                  "redirect?code=301&to=" + server.Url("http", NewToken("t301"), "page?body=moved%20here")),
       "moved here"},
      {"http to https and back", server.Url("http", hop, "redirect?to=" + toHttps), "home"},
      {"gzip returned compressed", server.Url("http", gzipToken, "gzip"),
       server.RawGet("/t/" + gzipToken + "-raw/gzip")},
      {"chunked transfer undone", server.Url("http", NewToken("chunked"), "chunked?size=20000"),
       Pattern(20000)},
      {"binary image", server.Url("http", NewToken("image"), "image?size=100000"),
       Pattern(100000)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_TRUE(SameBytes(AsString(WebAccess(c.url)), c.body));
  }
  EXPECT_EQ(server.Received(hop).count, 1);
  EXPECT_EQ(server.Received(there).requests.at(0).listener, "https");
  EXPECT_EQ(server.Received(back).requests.at(0).listener, "http");
}

TEST(WebAccessTest, NoRedirectReturnsTheRedirectItself) {
  TestServer& server = TestServer::Get();
  const std::string token = NewToken("noredirect");
  const std::string target = NewToken("target");
  WebAccessCall call;
  call.noRedirect = true;
  const Bytes body = WebAccess(
      server.Url("http", token, "redirect?to=" + server.Url("http", target, "page")), call);
  EXPECT_EQ(AsString(body), "moved");
  EXPECT_EQ(call.responseHeaders.rfind("HTTP/1.1 302 Found\r\n", 0), 0u) << call.responseHeaders;
  EXPECT_NE(call.responseHeaders.find("Location: " + server.Url("http", target, "page")),
            std::string::npos);
  EXPECT_EQ(server.Received(target).count, 0);
}

TEST(WebAccessTest, CertificatesAreChecked) {
  TestServer& server = TestServer::Get();
  const struct {
    const char* listener;
    const char* body;
  } cases[] = {
      {"https", "secure"},
      // No certificate error is forgiven here: nothing comes back.
      {"https_expired", ""},
      {"https_wrongname", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.listener);
    WebAccessCall call;
    EXPECT_EQ(AsString(WebAccess(server.Url(c.listener, NewToken("tls"), "page?body=secure"), call)),
              c.body);
    if (*c.body == '\0') {
      EXPECT_EQ(call.responseHeaders, kSpaces);
    }
  }
}

TEST(WebAccessTest, HeaderBlocksOf5000BytesOrMoreAreNotRead) {
  TestServer& server = TestServer::Get();
  WebAccessCall call;
  EXPECT_EQ(AsString(WebAccess(server.Url("http", NewToken("big"), "bigheaders?size=7000"), call)),
            "big headers");
  EXPECT_EQ(call.responseHeaders, kSpaces);
  EXPECT_EQ(call.responseCookies, "");
}

TEST(WebAccessTest, FailuresMidwayKeepWhatCame) {
  TestServer& server = TestServer::Get();
  {
    SCOPED_TRACE("connection reset in the body");
    WebAccessCall call;
    const Bytes body =
        WebAccess(server.Url("http", NewToken("reset"), "reset?size=100000&after=5000"), call);
    EXPECT_TRUE(testing::CutByReset(AsString(body), 5000));
  }
  {
    SCOPED_TRACE("nothing listens");
    WebAccessCall call;
    call.requestCookies = "a = 1; a=1";
    const std::string url = server.Origin("closed") + "/x";
    EXPECT_TRUE(WebAccess(url, call).empty());
    EXPECT_EQ(call.responseHeaders, kSpaces);
    EXPECT_EQ(call.requestCookies, "a=1") << "merging still runs";
    EXPECT_EQ(call.responseCookies, "a=1");
    EXPECT_EQ(call.extraHeaders.rfind("Accept: */*\r\nReferer: " + url, 0), 0u);
  }
}

TEST(WebAccessTest, SetupFailureLeavesEverythingAsGiven) {
  WebAccessCall call;
  call.method = 1;
  call.postText = "p";
  call.requestCookies = "a=1";
  call.responseCookies = "before";
  call.extraHeaders = "X: 1";
  call.responseHeaders = "before";
  const WebAccessCall given = call;
  // A port no TCP connection can have.
  EXPECT_TRUE(WebAccess("http://127.0.0.1:70000/x", call).empty());
  EXPECT_EQ(call.requestCookies, given.requestCookies);
  EXPECT_EQ(call.responseCookies, given.responseCookies);
  EXPECT_EQ(call.extraHeaders, given.extraHeaders);
  EXPECT_EQ(call.responseHeaders, given.responseHeaders);
  EXPECT_EQ(call.postBytes, given.postBytes);
}

TEST(WebAccessTest, ProxyPerScheme) {
  TestServer& server = TestServer::Get();
  const std::string proxy = "127.0.0.1:" + std::to_string(server.Port("http"));
  {
    SCOPED_TRACE("plain request through \"http=\" + proxy");
    const std::string token = NewToken("proxy");
    WebAccessCall call;
    call.proxy = proxy;
    const std::string url = "http://shop.invalid/t/" + token + "/page?body=via%20proxy";
    EXPECT_EQ(AsString(WebAccess(url, call)), "via proxy");
    // The absolute address, with or without the default port written out.
    const std::string line = OnlyRequest(token).RequestLine();
    EXPECT_EQ(line.rfind("GET http://shop.invalid", 0), 0u) << line;
    EXPECT_NE(line.find("/t/" + token + "/page?body=via%20proxy HTTP/1.1"), std::string::npos)
        << line;
  }
  {
    SCOPED_TRACE("secure request tunnels through the bare proxy");
    const int before = server.Received("_connect").count;
    const std::string token = NewToken("tunnel");
    WebAccessCall call;
    call.proxy = proxy;
    // A host only the proxy can reach (the tunnel leads to the listener
    // whose certificate names it).
    const std::string port = std::to_string(server.Port("https_wrongname"));
    EXPECT_EQ(AsString(WebAccess("https://wrong.invalid:" + port + "/t/" + token +
                                     "/page?body=tunnelled",
                                 call)),
              "tunnelled");
    const auto connects = server.Received("_connect");
    ASSERT_EQ(connects.count, before + 1);
    EXPECT_EQ(connects.requests.back().RequestLine(),
              "CONNECT wrong.invalid:" + port + " HTTP/1.1");
    EXPECT_EQ(OnlyRequest(token).listener, "https_wrongname");
  }
}

}  // namespace
}  // namespace lumigrab
