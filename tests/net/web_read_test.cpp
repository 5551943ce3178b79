// WebRead against the loopback test server: the header block that reached
// it, certificates, redirects, failures, and the calling thread's window
// staying responsive while a download hangs.

#include "net/web_read.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "tests/net/test_server_client_win.h"

namespace lumigrab {
namespace {

using testing::NewToken;
using testing::Pattern;
using testing::SameBytes;
using testing::ReceivedRequest;
using testing::TestServer;

const std::string kAgent = kWebReadUserAgentLine;
const std::string kAccept = kWebReadAcceptLine;
const std::string kLanguage = kWebReadAcceptLanguageLine;

std::string AsString(const Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

ReceivedRequest OnlyRequest(const std::string& token) {
  const auto received = TestServer::Get().Received(token);
  EXPECT_EQ(received.count, 1) << "requests under " << token;
  return received.requests.empty() ? ReceivedRequest() : received.requests.front();
}

// The header lines WinINet writes itself (Host and the like) are not the
// routine's: its block is the rest, in order.
std::string RoutinesBlock(const ReceivedRequest& request) {
  std::string block;
  for (const std::string& line : request.HeaderLines()) {
    const std::string name = line.substr(0, line.find(':'));
    if (name == "Host" || name == "Connection" || name == "Cache-Control" ||
        name == "Pragma" || name == "Content-Length") {
      continue;
    }
    block += line + "\r\n";
  }
  return block;
}

TEST(WebReadTest, HeaderBlocksAsSent) {
  TestServer& server = TestServer::Get();
  const struct {
    const char* name;
    std::string verb;
    std::string extra;
    int compressed;
    std::string body;
    std::string requestVerb;
    std::string ownLines;  // the block before the Referer-dependent defaults
    std::string tail;      // the block after them
    std::string sentBody;
  } cases[] = {
      {"address alone", "", "", 0, "", "GET", kAgent + kAccept, kLanguage, ""},
      {"a last line without its end", "", "X-Test: 1", 0, "", "GET",
       "X-Test: 1\r\n" + kAgent + kAccept, kLanguage, ""},
      {"own User-Agent replaces the default", "", "User-Agent: Tester/3\r\n", 0, "", "GET",
       "User-Agent: Tester/3\r\n" + kAccept, kLanguage, ""},
      {"compressed answers asked for", "", "", 1, "", "GET", kAgent + kAccept,
       kLanguage + "Accept-Encoding: gzip, deflate\r\n", ""},
      {"post is sent as POST with Content-Type and body", "post", "", 0, "a=1&b=2", "POST",
       kAgent + kAccept,
       kLanguage + "Content-Type: application/x-www-form-urlencoded\r\n", "a=1&b=2"},
      {"PUT goes without its body", "PUT", "", 0, "ignored", "PUT", kAgent + kAccept,
       kLanguage, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string token = NewToken("headers");
    const std::string url = server.Url("http", token, "page?body=fine");
    WebReadCall call;
    call.verb = c.verb;
    call.extraHeaders = c.extra;
    call.acceptCompressed = c.compressed;
    call.body = Bytes(c.body.begin(), c.body.end());
    EXPECT_EQ(AsString(WebRead(url, call)), "fine");
    const ReceivedRequest request = OnlyRequest(token);
    EXPECT_EQ(request.RequestLine(),
              c.requestVerb + " /t/" + token + "/page?body=fine HTTP/1.1");
    EXPECT_EQ(RoutinesBlock(request), c.ownLines + "Referer: " + url + "\r\n" + c.tail)
        << request.raw;
    EXPECT_EQ(request.Body(), c.sentBody);
  }
}

// The exact-case rule: a lower-case user-agent line is the caller's own and
// the default line is added as well (WinINet may merge the two by name).
TEST(WebReadTest, LowerCaseUserAgentGetsTheDefaultToo) {
  TestServer& server = TestServer::Get();
  const std::string token = NewToken("agentcase");
  WebReadCall call;
  call.extraHeaders = "user-agent: me\r\n";
  WebRead(server.Url("http", token, "page"), call);
  const ReceivedRequest request = OnlyRequest(token);
  EXPECT_NE(request.raw.find("Mozilla/4.0 (compatible; MSIE 8.0;"), std::string::npos)
      << request.raw;
}

TEST(WebReadTest, LeadingWhiteSpaceIsNotPartOfTheAddress) {
  TestServer& server = TestServer::Get();
  const std::string token = NewToken("space");
  const std::string url = server.Url("http", token, "page?body=trimmed");
  EXPECT_EQ(AsString(WebRead(" \t" + url)), "trimmed");
  EXPECT_EQ(OnlyRequest(token).Header("Referer"), url);
}

TEST(WebReadTest, AnswersAsReceived) {
  TestServer& server = TestServer::Get();
  const std::string gzipToken = NewToken("gzip");
  const std::string back = NewToken("back");
  const std::string toHttp = server.Url("https", NewToken("there"),
                                        "redirect?to=" + server.Url("http", back, "page?body=home"));
  const struct {
    const char* name;
    std::string url;
    std::string body;
  } cases[] = {
      {"image bytes", server.Url("http", NewToken("image"), "image?size=100000"), Pattern(100000)},
      {"404 body", server.Url("http", NewToken("e404"), "page?status=404&body=gone"), "gone"},
      {"gzip stays compressed", server.Url("http", gzipToken, "gzip"),
       server.RawGet("/t/" + gzipToken + "-raw/gzip")},
      {"chunked transfer undone", server.Url("http", NewToken("chunked"), "chunked?size=30000"),
       Pattern(30000)},
      {"trusted certificate", server.Url("https", NewToken("tls"), "image?size=5000"),
       Pattern(5000)},
      {"expired certificate accepted", server.Url("https_expired", NewToken("tls"), "page?body=old"),
       "old"},
      {"misnamed certificate accepted",
       server.Url("https_wrongname", NewToken("tls"), "page?body=other"), "other"},
      {"http to https and back", server.Url("http", NewToken("hop"), "redirect?to=" + toHttp),
       "home"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_TRUE(SameBytes(AsString(WebRead(c.url)), c.body));
  }
  EXPECT_EQ(server.Received(back).count, 1);

  const Bytes cut = WebRead(server.Url("http", NewToken("reset"), "reset?size=100000&after=7000"));
  EXPECT_TRUE(testing::CutByReset(AsString(cut), 7000)) << "connection reset in the body";
}

TEST(WebReadTest, CookiesAndRawHeaders) {
  TestServer& server = TestServer::Get();
  const std::string token = NewToken("cookies");
  const std::string first = "a=1; Path=/t/" + token + "/; HttpOnly";
  const std::string second = "b=2; Path=/t/" + token + "/";
  WebReadCall call;
  WebRead(server.Url("http", token,
                     "page?header=Set-Cookie:%20a=1;%20Path=/t/" + token +
                         "/;%20HttpOnly&header=Set-Cookie:%20b=2;%20Path=/t/" + token + "/"),
          call);
  EXPECT_EQ(call.setCookies, first + "\r\n" + second);
  EXPECT_EQ(call.rawHeaders.rfind("HTTP/1.1 200 OK\r\n", 0), 0u) << call.rawHeaders;
  EXPECT_NE(call.rawHeaders.find("Set-Cookie: " + first + "\r\n"), std::string::npos);

  WebReadCall none;
  none.setCookies = "stale";
  WebRead(server.Url("http", NewToken("nocookie"), "page"), none);
  EXPECT_EQ(none.setCookies, "");
}

TEST(WebReadTest, CallersFlagsAndProxy) {
  TestServer& server = TestServer::Get();
  {
    SCOPED_TRACE("extra flags join the fixed ones");
    const std::string target = NewToken("target");
    WebReadCall call;
    call.extraFlags = 0x00200000;  // INTERNET_FLAG_NO_AUTO_REDIRECT
    EXPECT_EQ(AsString(WebRead(server.Url("http", NewToken("flags"),
                                          "redirect?to=" + server.Url("http", target, "page")),
                               call)),
              "moved");
    EXPECT_EQ(server.Received(target).count, 0);
  }
  {
    SCOPED_TRACE("a proxy replaces the system's settings");
    const std::string token = NewToken("proxy");
    WebReadCall call;
    call.proxy = "127.0.0.1:" + std::to_string(server.Port("http"));
    const std::string url = "http://shop.invalid/t/" + token + "/page?body=via%20proxy";
    EXPECT_EQ(AsString(WebRead(url, call)), "via proxy");
    const std::string line = OnlyRequest(token).RequestLine();
    EXPECT_EQ(line.rfind("GET http://shop.invalid", 0), 0u) << line;
  }
}

TEST(WebReadTest, FailuresGiveEmptyResults) {
  TestServer& server = TestServer::Get();
  const struct {
    const char* name;
    std::string url;
  } cases[] = {
      {"nothing listens", server.Origin("closed") + "/x.jpg"},
      {"an address the platform cannot split", "no address at all"},
      {"an empty address", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    WebReadCall call;
    call.setCookies = "stale";
    call.rawHeaders = "stale";
    EXPECT_TRUE(WebRead(c.url, call).empty());
    EXPECT_EQ(call.setCookies, "");
    EXPECT_EQ(call.rawHeaders, "");
  }
}

int StallClosings() {
  int closed = 0;
  for (const auto& r : TestServer::Get().Received("_stall").requests) closed += r.raw == "closed";
  return closed;
}

// The worker's own time-out ends a request to a silent server (not the
// caller's wait): the worker hangs up, which the server sees.
TEST(WebReadTest, NetworkTimeOutEndsASilentServer) {
  TestServer& server = TestServer::Get();
  const int closedBefore = StallClosings();
  WebReadCall call;
  call.networkTimeoutMs = 500;
  EXPECT_TRUE(WebRead(server.Origin("stall") + "/x.jpg", call).empty());
  EXPECT_EQ(call.rawHeaders, "");
  bool hungUp = false;
  for (int i = 0; i < 100 && !hungUp; ++i) {
    hungUp = StallClosings() > closedBefore;
    if (!hungUp) Sleep(50);
  }
  EXPECT_TRUE(hungUp) << "the request was still open after its time-out";
}

TEST(WebReadTest, RedirectLoopEnds) {
  TestServer& server = TestServer::Get();
  const std::string token = NewToken("loop");
  WebReadCall call;
  // Some WinINet builds follow a loop for ever; the wait gives up instead.
  call.idleWaitMs = 1000;
  const Bytes body = WebRead(server.Url("http", token, "loop"), call);
  EXPECT_NE(AsString(body), "loop cut");
  EXPECT_GE(server.Received(token).count, 1);
}

// A window on the test thread that answers kPing with 42.
constexpr UINT kPing = WM_APP + 1;

LRESULT CALLBACK PingWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kPing) return 42;
  return DefWindowProcA(window, message, wParam, lParam);
}

HWND MakePingWindow() {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = PingWindowProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "LumigrabPingWindow";
  RegisterClassA(&windowClass);  // a second registration fails harmlessly
  return CreateWindowA("LumigrabPingWindow", "ping", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                       nullptr, nullptr, windowClass.hInstance, nullptr);
}

// Waits until the server has seen the token's request (bounded).
bool ArrivedAtServer(const std::string& token) {
  for (int i = 0; i < 200; ++i) {
    if (TestServer::Get().Received(token).count > 0) return true;
    Sleep(25);
  }
  return false;
}

TEST(WebReadTest, WindowAnswersWhileTheDownloadHangs) {
  TestServer& server = TestServer::Get();
  HWND window = MakePingWindow();
  ASSERT_NE(window, nullptr);
  const std::string token = NewToken("stall");
  std::atomic<bool> answered{false};
  DWORD_PTR answer = 0;
  std::thread other([&] {
    if (ArrivedAtServer(token)) {
      answered = SendMessageTimeoutA(window, kPing, 0, 0, SMTO_BLOCK, 100, &answer) != 0;
    }
    server.Release(token);  // the download ends only after the window answered
  });
  const Bytes body = WebRead(server.Url("http", token, "stall"));
  other.join();
  DestroyWindow(window);
  EXPECT_TRUE(answered) << "no answer within 100 ms while the request was pending";
  EXPECT_EQ(answer, 42u);
  EXPECT_EQ(AsString(body), "released");
}

TEST(WebReadTest, QuitMessageSurvivesTheWait) {
  TestServer& server = TestServer::Get();
  const std::string token = NewToken("quit");
  std::thread other([&] {
    ArrivedAtServer(token);
    server.Release(token);
  });
  PostQuitMessage(7);
  EXPECT_EQ(AsString(WebRead(server.Url("http", token, "stall"))), "released");
  other.join();
  MSG message;
  ASSERT_TRUE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(message.wParam, 7u);
}

TEST(WebReadTest, GivingUpDropsTheLateResult) {
  TestServer& server = TestServer::Get();
  const std::string token = NewToken("late");
  {
    SCOPED_TRACE("the record of a call that gave up is never written again");
    WebReadCall call;
    call.idleWaitMs = 300;
    EXPECT_TRUE(WebRead(server.Url("http", token, "stall?header=Set-Cookie:%20x=1"), call).empty());
    EXPECT_EQ(call.rawHeaders, "");
    server.Release(token);
    // The worker now gets its answer; give it time to finish.
    Sleep(500);
    EXPECT_EQ(call.rawHeaders, "");
    EXPECT_EQ(call.setCookies, "");
  }
  {
    SCOPED_TRACE("a call whose record is gone before the worker ends");
    const std::string other = NewToken("late2");
    {
      WebReadCall call;
      call.idleWaitMs = 300;
      WebRead(server.Url("http", other, "stall"), call);
    }
    server.Release(other);
    Sleep(500);
    EXPECT_EQ(AsString(WebRead(server.Url("http", NewToken("after"), "page?body=next"))), "next");
  }
}

}  // namespace
}  // namespace lumigrab
