#include "tests/net/test_server_client_win.h"

#include <winsock2.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace lumigrab::testing {

std::string ReceivedRequest::RequestLine() const { return raw.substr(0, raw.find("\r\n")); }

std::string ReceivedRequest::HeaderBlock() const {
  const size_t start = raw.find("\r\n") + 2;
  const size_t end = raw.find("\r\n\r\n");
  if (end == std::string::npos || end + 2 < start) return std::string();
  return raw.substr(start, end + 2 - start);
}

std::vector<std::string> ReceivedRequest::HeaderLines() const {
  std::vector<std::string> lines;
  const std::string block = HeaderBlock();
  for (size_t at = 0; at < block.size();) {
    const size_t end = block.find("\r\n", at);
    lines.push_back(block.substr(at, end - at));
    at = end + 2;
  }
  return lines;
}

std::string ReceivedRequest::Body() const {
  const size_t end = raw.find("\r\n\r\n");
  return end == std::string::npos ? std::string() : raw.substr(end + 4);
}

namespace {

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
  return text;
}

bool NameIs(const std::string& line, const std::string& name) {
  return Lower(line.substr(0, name.size() + 1)) == Lower(name + ":");
}

}  // namespace

std::string ReceivedRequest::Header(const std::string& name) const {
  for (const std::string& line : HeaderLines()) {
    if (!NameIs(line, name)) continue;
    std::string value = line.substr(name.size() + 1);
    while (!value.empty() && value.front() == ' ') value.erase(0, 1);
    return value;
  }
  return std::string();
}

int ReceivedRequest::CountHeader(const std::string& name) const {
  int count = 0;
  for (const std::string& line : HeaderLines()) count += NameIs(line, name) ? 1 : 0;
  return count;
}

TestServer& TestServer::Get() {
  static TestServer server = [] {
    TestServer s;
    const char* dir = std::getenv("LUMIGRAB_NET_SERVER_DIR");
    std::ifstream file(std::string(dir ? dir : ".") + "/ports.txt");
    std::string name;
    int port = 0;
    while (file >> name >> port) s.ports_.emplace_back(name, port);
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    return s;
  }();
  if (server.ports_.empty()) {
    ADD_FAILURE() << "no test server: LUMIGRAB_NET_SERVER_DIR/ports.txt is missing";
  }
  return server;
}

int TestServer::Port(const std::string& listener) const {
  for (const auto& [name, port] : ports_) {
    if (name == listener) return port;
  }
  ADD_FAILURE() << "the test server has no listener " << listener;
  return 0;
}

std::string TestServer::Origin(const std::string& listener) const {
  const bool https = listener.rfind("https", 0) == 0;
  return (https ? "https://localhost:" : "http://127.0.0.1:") + std::to_string(Port(listener));
}

std::string TestServer::Url(const std::string& listener, const std::string& token,
                            const std::string& actionAndQuery) const {
  return Origin(listener) + "/t/" + token + "/" + actionAndQuery;
}

std::string TestServer::RawGet(const std::string& path) const {
  SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<u_short>(Port("http")));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  std::string response;
  if (connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
    const std::string request = "GET " + path + " HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n";
    send(s, request.data(), static_cast<int>(request.size()), 0);
    char buffer[65536];
    for (int n; (n = recv(s, buffer, sizeof buffer, 0)) > 0;) response.append(buffer, n);
  }
  closesocket(s);
  const size_t end = response.find("\r\n\r\n");
  if (end == std::string::npos) {
    ADD_FAILURE() << "no answer from the test server for " << path;
    return std::string();
  }
  return response.substr(end + 4);
}

ReceivedRequests TestServer::Received(const std::string& token) const {
  const std::string dump = RawGet("/_requests/" + token);
  ReceivedRequests out;
  size_t at = dump.find('\n');
  if (at == std::string::npos || dump.rfind("count ", 0) != 0) return out;
  out.count = std::atoi(dump.c_str() + 6);
  ++at;
  while (at < dump.size()) {
    const size_t lineEnd = dump.find('\n', at);
    if (lineEnd == std::string::npos) break;
    std::istringstream line(dump.substr(at, lineEnd - at));
    ReceivedRequest request;
    size_t length = 0;
    line >> request.listener >> length;
    request.raw = dump.substr(lineEnd + 1, length);
    out.requests.push_back(request);
    at = lineEnd + 1 + length;
  }
  return out;
}

void TestServer::Release(const std::string& token) const { RawGet("/_release/" + token); }

std::string NewToken(const std::string& name) {
  static int counter = 0;
  return name + "-" + std::to_string(GetCurrentProcessId()) + "-" +
         std::to_string(GetTickCount()) + "-" + std::to_string(++counter);
}

std::string Pattern(int size) {
  std::string bytes(static_cast<size_t>(size), '\0');
  for (int i = 0; i < size; ++i) bytes[static_cast<size_t>(i)] = static_cast<char>((i * 7 + 3) % 256);
  return bytes;
}

::testing::AssertionResult SameBytes(const std::string& actual, const std::string& expected) {
  if (actual == expected) return ::testing::AssertionSuccess();
  size_t at = 0;
  while (at < actual.size() && at < expected.size() && actual[at] == expected[at]) ++at;
  auto result = ::testing::AssertionFailure()
                << actual.size() << " bytes where " << expected.size()
                << " were expected, first difference at offset " << at;
  if (actual.size() < 200 && expected.size() < 200) {
    result << ": \"" << actual << "\" instead of \"" << expected << "\"";
  }
  return result;
}

::testing::AssertionResult CutByReset(const std::string& actual, int sent) {
  const size_t whole = static_cast<size_t>(sent / 1024 * 1024);
  if (actual.size() < whole || actual.size() > static_cast<size_t>(sent)) {
    return ::testing::AssertionFailure()
           << actual.size() << " bytes; expected " << whole << " to " << sent;
  }
  return SameBytes(actual, Pattern(sent).substr(0, actual.size()));
}

}  // namespace lumigrab::testing
