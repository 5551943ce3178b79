#include "net/web_read.h"

#include "net/request_flags.h"

namespace lumigrab {
namespace {

void AddLineUnlessNamed(Text& block, const char* name, std::string_view line) {
  if (FindText(block, name, kOmitted, false) == -1) block += line;
}

}  // namespace

Text WebReadVerb(const Text& verb) {
  return verb.empty() ? Text("GET") : ToUpperText(verb);
}

Text WebReadAddress(const Text& url) {
  size_t begin = 0;
  while (begin < url.size() &&
         (url[begin] == ' ' || (url[begin] >= '\t' && url[begin] <= '\r'))) {
    ++begin;
  }
  return url.substr(begin);
}

std::uint32_t WebReadRequestFlags(bool https, std::uint32_t extraFlags) {
  std::uint32_t flags = extraFlags | inet::kFlagIgnoreRedirectToHttp |
                        inet::kFlagIgnoreRedirectToHttps | inet::kFlagHyperlink;
  // Image hosts with expired or misnamed certificates are still fetched.
  if (https) {
    flags |= inet::kFlagSecure | inet::kFlagIgnoreCertDateInvalid |
             inet::kFlagIgnoreCertCnInvalid;
  }
  return flags;
}

Text BuildWebReadHeaders(const Text& extraHeaders, const Text& address,
                         const Text& verb, int acceptCompressed) {
  Text block = extraHeaders;
  if (!block.empty() && RightText(block, 2) != "\r\n") block += "\r\n";
  AddLineUnlessNamed(block, "User-Agent: ", kWebReadUserAgentLine);
  AddLineUnlessNamed(block, "Accept: ", kWebReadAcceptLine);
  AddLineUnlessNamed(block, "Referer: ", JoinTexts("Referer: ", address, "\r\n"));
  AddLineUnlessNamed(block, "Accept-Language: ", kWebReadAcceptLanguageLine);
  if (acceptCompressed != 0) {
    AddLineUnlessNamed(block, "Accept-Encoding: ", kWebReadAcceptEncodingLine);
  }
  if (verb == "POST") AddLineUnlessNamed(block, "Content-Type: ", kWebReadContentTypeLine);
  return block;
}

}  // namespace lumigrab
