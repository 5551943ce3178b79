#pragma once
// The tests' side of the loopback test server (test_server.py): its ports,
// addresses of its test actions, and what reached it. The records are read
// over plain Winsock, not through the WinINet code under test.

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace lumigrab::testing {

// One request as the server received it: request line, header lines in
// order, body.
struct ReceivedRequest {
  std::string listener;  // "http", "https", ...
  std::string raw;       // request line, header lines, blank line, body

  std::string RequestLine() const;
  std::vector<std::string> HeaderLines() const;
  // The header lines as sent, each with its CR LF (the block between the
  // request line and the blank line).
  std::string HeaderBlock() const;
  std::string Body() const;
  // The value of the first header line whose name matches in any case;
  // empty when none.
  std::string Header(const std::string& name) const;
  int CountHeader(const std::string& name) const;
};

struct ReceivedRequests {
  int count = 0;  // every request of the token, also past the first 100
  std::vector<ReceivedRequest> requests;
};

class TestServer {
 public:
  // Reads the ports file of the server that the test fixture started
  // (directory in LUMIGRAB_NET_SERVER_DIR). Fails the test when absent.
  static TestServer& Get();

  int Port(const std::string& listener) const;
  // "http://127.0.0.1:PORT" for http and stall, "https://localhost:PORT"
  // for the https listeners (certificates name localhost, never an IP).
  std::string Origin(const std::string& listener) const;
  // Origin + "/t/" + token + "/" + actionAndQuery.
  std::string Url(const std::string& listener, const std::string& token,
                  const std::string& actionAndQuery) const;

  ReceivedRequests Received(const std::string& token) const;
  void Release(const std::string& token) const;
  // A GET over plain Winsock on the http listener: the response body.
  std::string RawGet(const std::string& path) const;

 private:
  std::vector<std::pair<std::string, int>> ports_;
};

// A token no other test (or run) uses: it scopes what the server records
// and the cookies it sets.
std::string NewToken(const std::string& name);

// The server's test pattern: byte i is (i * 7 + 3) % 256.
std::string Pattern(int size);

// Equal bytes; on failure the sizes and the first differing offset instead
// of two dumps of binary.
::testing::AssertionResult SameBytes(const std::string& actual, const std::string& expected);

// What a body cut by a connection reset after `sent` bytes of the pattern
// may be: a prefix of them. Windows returns all of them; Wine's WinINet
// drops the last partial 1024-byte read when the reset fails it, so at
// least the whole 1024-byte reads must be there.
::testing::AssertionResult CutByReset(const std::string& actual, int sent);

}  // namespace lumigrab::testing
