#include "net/cookies.h"

#include <algorithm>
#include <vector>

#include "base/text_marks.h"

namespace lumigrab {
namespace {

// Removes the separator after the last item; an empty text stays empty.
void DropLastSeparator(Text& text, size_t separatorLength) {
  text.resize(text.size() >= separatorLength ? text.size() - separatorLength : 0);
}

}  // namespace

Text ExtractSetCookies(std::string_view rawHeaders) {
  Text out;
  for (const Text& line : SplitText(rawHeaders, "\r\n")) {
    if (FindText(line, "Set-Cookie", kOmitted, false) == -1) continue;
    Text value;
    if (FindText(line, ";", kOmitted, false) != -1) {
      value = TextBetween(line, "Set-Cookie:", ";");
    } else {
      value = ReplaceText(line, "Set-Cookie:", kOmitted, kOmitted, kOmitted, false);
    }
    out += TrimText(value);
    out += "; ";
  }
  DropLastSeparator(out, 2);
  return out;
}

Text MergeCookies(std::string_view requestCookies, std::string_view responseCookies) {
  const TextArray request = SplitText(RemoveSpaces(requestCookies), ";");
  std::vector<Text> merged = SplitText(RemoveSpaces(responseCookies), ";").Items();
  for (const Text& item : request) {
    const Text name = CookieName(item);
    const bool known = std::any_of(merged.begin(), merged.end(), [&](const Text& kept) {
      return CookieName(kept) == name;
    });
    if (!known) merged.push_back(item);
  }
  Text out;
  for (const Text& item : merged) {
    if (RightText(item, 8) == "=deleted") continue;
    out += item;
    out += "; ";
  }
  DropLastSeparator(out, 2);
  return UniqueItems(out, "; ");
}

Text CookieName(std::string_view item) {
  const int equals = FindText(item, "=", kOmitted, false);
  return TrimText(equals == -1 ? Text(item) : LeftText(item, equals - 1));
}

Text UniqueItems(std::string_view text, std::string_view separator) {
  std::vector<Text> kept;
  for (const Text& piece : SplitText(text, separator)) {
    if (std::find(kept.begin(), kept.end(), piece) == kept.end()) kept.push_back(piece);
  }
  Text out;
  for (const Text& piece : kept) {
    out += piece;
    out += separator;
  }
  DropLastSeparator(out, separator.size());
  return out;
}

}  // namespace lumigrab
