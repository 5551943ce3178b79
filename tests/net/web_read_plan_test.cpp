#include <gtest/gtest.h>

#include "net/web_read.h"

namespace lumigrab {
namespace {

const Text kAgent = kWebReadUserAgentLine;
const Text kAccept = kWebReadAcceptLine;
const Text kLanguage = kWebReadAcceptLanguageLine;

TEST(WebReadPlanTest, HeaderBlocks) {
  const Text referer = "Referer: http://h/a.jpg\r\n";
  const struct {
    const char* name;
    Text extra;
    Text verb;
    int compressed;
    Text expected;
  } cases[] = {
      {"defaults", "", "GET", 0, kAgent + kAccept + referer + kLanguage},
      {"a last line without its end", "X-Test: 1", "GET", 0,
       "X-Test: 1\r\n" + kAgent + kAccept + referer + kLanguage},
      {"own User-Agent kept", "User-Agent: Me\r\n", "GET", 0,
       "User-Agent: Me\r\n" + kAccept + referer + kLanguage},
      {"lower-case name does not count", "user-agent: me\r\n", "GET", 0,
       "user-agent: me\r\n" + kAgent + kAccept + referer + kLanguage},
      {"own Referer and Accept", "Referer: r\r\nAccept: a\r\n", "GET", 0,
       "Referer: r\r\nAccept: a\r\n" + kAgent + kLanguage},
      {"compressed answers asked for", "", "GET", 1,
       kAgent + kAccept + referer + kLanguage + "Accept-Encoding: gzip, deflate\r\n"},
      {"own Accept-Encoding kept", "Accept-Encoding: br\r\n", "GET", 7,
       "Accept-Encoding: br\r\n" + kAgent + kAccept + referer + kLanguage},
      {"POST gets a Content-Type", "", "POST", 0,
       kAgent + kAccept + referer + kLanguage +
           "Content-Type: application/x-www-form-urlencoded\r\n"},
      {"POST keeps its own Content-Type", "Content-Type: text/plain\r\n", "POST", 0,
       "Content-Type: text/plain\r\n" + kAgent + kAccept + referer + kLanguage},
      {"PUT gets none", "", "PUT", 0, kAgent + kAccept + referer + kLanguage},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(BuildWebReadHeaders(c.extra, "http://h/a.jpg", c.verb, c.compressed), c.expected);
  }
}

TEST(WebReadPlanTest, FlagsVerbsAndAddress) {
  EXPECT_EQ(WebReadRequestFlags(false, 0), 0xC400u);
  EXPECT_EQ(WebReadRequestFlags(true, 0), 0x80F400u);
  EXPECT_EQ(WebReadRequestFlags(false, 0x80000000u), 0x8000C400u);

  const struct {
    const char* given;
    const char* verb;
  } verbs[] = {{"", "GET"}, {"post", "POST"}, {"Put", "PUT"}, {"HEAD", "HEAD"}};
  for (const auto& v : verbs) EXPECT_EQ(WebReadVerb(v.given), v.verb) << v.given;

  EXPECT_EQ(WebReadAddress(" \t\r\nhttp://h/ x "), "http://h/ x ");
  EXPECT_EQ(WebReadAddress(""), "");
}

}  // namespace
}  // namespace lumigrab
