#include "net/url.h"

#include <gtest/gtest.h>

namespace lumigrab {
namespace {

struct AddressCase {
  const char* address;
  const char* host;
  const char* hostWithPort;
  int port;
  const char* path;
};

TEST(UrlTest, HostPortAndPathOfAddresses) {
  const AddressCase cases[] = {
      {"10.0.0.1/a/b?c=1", "10.0.0.1", "10.0.0.1", 80, "/a/b?c=1"},
      {"HTTPS://Shop:8443/Item?id=7", "shop", "shop:8443", 8443, "/Item?id=7"},
      {"https://shop.example", "shop.example", "shop.example", 443, "/"},
      {"https://shop.example/", "shop.example", "shop.example", 443, "/"},
      {"http://Shop.Example/Path/A.JPG#Top", "shop.example", "shop.example", 80,
       "/Path/A.JPG#Top"},
      // A host ending in ":" and no digits: port 0, WinINet's default.
      {"http://shop:/x", "shop", "shop:", 0, "/x"},
      {"shop:81", "shop", "shop:81", 81, "/"},
      // "https" without "://" still picks the secure default port.
      {"httpshop/x", "httpshop", "httpshop", 443, "/x"},
      {"HTTP://h.example:8080/?q=http://other/", "h.example", "h.example:8080", 8080,
       "/?q=http://other/"},
      // The first "http://" anywhere names the host when the address does not
      // start with a scheme.
      {"ftp://a/?r=http://b/c", "b", "b", 80, "/c"},
      {"", "", "", 80, "/"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.address);
    EXPECT_EQ(UrlHost(c.address, false), c.host);
    EXPECT_EQ(UrlHost(c.address, true), c.hostWithPort);
    EXPECT_EQ(UrlPort(c.address), c.port);
    EXPECT_EQ(UrlPath(c.address), c.path);
  }
}

// A host that also occurs inside the scheme is found after it: the path
// must not start at the scheme's own slashes.
TEST(UrlTest, PathIsSearchedAfterTheSchemeForHostsInsideIt) {
  const struct {
    const char* address;
    const char* path;
  } cases[] = {
      {"http://t/x", "/x"},
      {"https://s/img/1.jpg", "/img/1.jpg"},
      {"HTTP://HTTP/a", "/a"},
      {"http://p", "/"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.address);
    EXPECT_EQ(UrlPath(c.address), c.path);
  }
}

}  // namespace
}  // namespace lumigrab
