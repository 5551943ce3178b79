#include "net/cookies.h"

#include <gtest/gtest.h>

namespace lumigrab {
namespace {

TEST(ExtractSetCookiesTest, NameValuePairsOfSetCookieLines) {
  const struct {
    const char* name;
    const char* block;
    const char* expected;
  } cases[] = {
      {"attributes dropped, order kept",
       "HTTP/1.1 200 OK\r\nSet-Cookie: a=1; path=/\r\nSet-Cookie: lang=zh\r\n\r\n",
       "a=1; lang=zh"},
      {"no Set-Cookie line", "HTTP/1.1 200 OK\r\nContent-Length: 3\r\n\r\n", ""},
      {"empty block", "", ""},
      {"the word without a colon and no ';': the whole line",
       "HTTP/1.1 200 OK\r\nAccess-Control-Expose-Headers: Set-Cookie\r\n\r\n",
       "Access-Control-Expose-Headers: Set-Cookie"},
      {"the word without a colon and a ';': an empty item",
       "HTTP/1.1 200 OK\r\nX-Note: Set-Cookie; later\r\nSet-Cookie: b=2\r\n\r\n", "; b=2"},
      {"a deleted cookie is an item like any other",
       "HTTP/1.1 200 OK\r\nSet-Cookie: sid=deleted; expires=Thu, 01 Jan 1970 00:00:00 GMT\r\n"
       "Set-Cookie: x=1; HttpOnly; Secure\r\n\r\n",
       "sid=deleted; x=1"},
      {"value trimmed, empty value kept",
       "Set-Cookie:    a=1   ;path=/\r\nSet-Cookie: ;path=/\r\nSet-Cookie: c=3\r\n", "a=1; ; c=3"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ExtractSetCookies(c.block), c.expected);
  }
}

TEST(MergeCookiesTest, ResponseWinsDeletedRemovesSpacesGo) {
  const struct {
    const char* request;
    const char* response;
    const char* expected;
  } cases[] = {
      {"a=1; b=2", "b=3; c=4", "b=3; c=4; a=1"},
      {"a=1; b=2", "b=deleted", "a=1"},
      {"a = 1", "", "a=1"},
      {"v=hello world", "", "v=helloworld"},
      {"", "x=1; x=1", "x=1"},
      {"", "x=1; x=2", "x=1; x=2"},
      {"", "", ""},
      // Only the first request item of a name can join.
      {"a=1; a=2", "", "a=1"},
      // Names compare by exact bytes.
      {"A=1", "a=2", "a=2; A=1"},
      // Full-width spaces (GBK A1 A1) go too.
      {"k=\xA1\xA1v", "", "k=v"},
      // A deleted request item stays out as well.
      {"s=deleted; t=1", "", "t=1"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.request) + " + " + c.response);
    EXPECT_EQ(MergeCookies(c.request, c.response), c.expected);
  }
}

TEST(CookieNameTest, TextBeforeFirstEqualsTrimmed) {
  const struct {
    const char* item;
    const char* name;
  } cases[] = {
      {"a=1", "a"}, {" a =1=2", "a"}, {"flag", "flag"}, {"=v", ""}, {"", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.item);
    EXPECT_EQ(CookieName(c.item), c.name);
  }
}

TEST(UniqueItemsTest, LaterCopiesOfWholeItemsGo) {
  const struct {
    const char* text;
    const char* separator;
    const char* expected;
  } cases[] = {
      {"a=1; b=2; a=1", "; ", "a=1; b=2"},
      {"a=1; a=2", "; ", "a=1; a=2"},
      {"", "; ", ""},
      {"x|y|x|", "|", "x|y"},
      {"x||x", "|", "x|"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(UniqueItems(c.text, c.separator), c.expected);
  }
}

}  // namespace
}  // namespace lumigrab
