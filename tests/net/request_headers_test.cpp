#include "net/request_headers.h"

#include <gtest/gtest.h>

namespace lumigrab {
namespace {

TEST(BuildRequestHeadersTest, CompletesTheCallersLines) {
  const struct {
    const char* name;
    const char* extra;
    const char* cookies;
    const char* expected;
  } cases[] = {
      {"defaults only", "", "",
       "Accept: */*\r\nReferer: U\r\nAccept-Language: zh-cn\r\n"
       "Content-Type: application/x-www-form-urlencoded"},
      {"own Accept line kept, no second one", "Accept: text/html", "",
       "Accept: text/html\r\nReferer: U\r\nAccept-Language: zh-cn\r\n"
       "Content-Type: application/x-www-form-urlencoded"},
      {"a name matched inside another name", "X-Accept: 1", "",
       "X-Accept: 1\r\nReferer: U\r\nAccept-Language: zh-cn\r\n"
       "Content-Type: application/x-www-form-urlencoded"},
      {"lower-case name does not count", "referer: x", "",
       "referer: x\r\nAccept: */*\r\nReferer: U\r\nAccept-Language: zh-cn\r\n"
       "Content-Type: application/x-www-form-urlencoded"},
      {"every default present", "Referer: r\r\nAccept: a\r\nContent-Type: c\r\nAccept-Language: l",
       "", "Referer: r\r\nAccept: a\r\nContent-Type: c\r\nAccept-Language: l"},
      {"cookie items", "", "a=1; b=2",
       "Accept: */*\r\nReferer: U\r\nAccept-Language: zh-cn\r\n"
       "Content-Type: application/x-www-form-urlencoded\r\nCookie: a=1; b=2"},
      {"a whole cookie line stays as written", "", "Cookie: a=1",
       "Accept: */*\r\nReferer: U\r\nAccept-Language: zh-cn\r\n"
       "Content-Type: application/x-www-form-urlencoded\r\nCookie: a=1"},
      {"several lines keep their order",
       "X-B: 2\r\nX-A: 1", "",
       "X-B: 2\r\nX-A: 1\r\nAccept: */*\r\nReferer: U\r\nAccept-Language: zh-cn\r\n"
       "Content-Type: application/x-www-form-urlencoded"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(BuildRequestHeaders(c.extra, "U", c.cookies), c.expected);
  }
}

TEST(BuildRequestHeadersTest, RefererIsTheWholeAddress) {
  EXPECT_EQ(BuildRequestHeaders("Accept: x\r\nAccept-Language: y\r\nContent-Type: z",
                                "https://shop.example/item?id=1&b=%20", ""),
            "Accept: x\r\nAccept-Language: y\r\nContent-Type: z\r\n"
            "Referer: https://shop.example/item?id=1&b=%20");
}

}  // namespace
}  // namespace lumigrab
