#include <iconv.h>

#include <cerrno>
#include <vector>

#include "tests/support/gbk_encoder.h"

namespace lumigrab::testing {

std::string Utf8ToGbk(std::string_view utf8) {
  iconv_t cd = iconv_open("GBK", "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) return {};
  std::string in(utf8);
  std::vector<char> out(in.size() * 2 + 16);
  char* inPtr = in.data();
  size_t inLeft = in.size();
  char* outPtr = out.data();
  size_t outLeft = out.size();
  const size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
  iconv_close(cd);
  if (rc == static_cast<size_t>(-1)) return {};
  return std::string(out.data(), out.size() - outLeft);
}

}  // namespace lumigrab::testing
