#include "export/image_addresses.h"

#include "base/text_marks.h"

namespace lumigrab {
namespace {

constexpr char kCrLf[] = "\r\n";

// Removes every occurrence, ASCII letters in any case.
Text DeleteAnyCase(std::string_view text, std::string_view sought) {
  return ReplaceText(text, sought, kOmitted, kOmitted, kOmitted, false);
}

// The part of `text` after the last `mark`, or empty; a view, since the
// description of a large page has tens of thousands of lines.
std::string_view AfterLast(std::string_view text, std::string_view mark) {
  const int pos = FindTextReverse(text, mark, kOmitted, false);
  return pos == -1 ? std::string_view() : text.substr(static_cast<size_t>(pos - 1) + mark.size());
}

}  // namespace

Text DescriptionImageAddress(std::string_view line) {
  std::string_view a = AfterLast(line, "src=");
  // Cut right after the last occurrence of each extension in turn, so query
  // strings and size suffixes after the extension fall away.
  for (std::string_view extension : {"jpg", "png", "jpeg", "gif", "bmp"}) {
    a = a.substr(0, a.size() - AfterLast(a, extension).size());
  }
  // The description writes some addresses as "https:host/...".
  if (CompareTexts(LeftText(a, 8), "https://") != 0) {
    return ReplaceText(a, "https:", "https://", kOmitted, kOmitted, true);
  }
  return Text(a);
}

Text MainImageAddress(std::string_view entry) {
  // Drop the thumbnail picture with the link's closing tag, then the list
  // and link markup, leaving the link's address.
  const Text inner = TextBetween(entry, "<img src=\"", "</a>");
  Text e = DeleteAnyCase(entry, JoinTexts("<img src=\"", inner, "</a>"));
  for (const char* markup : {"<li>", "</li>", "<li >", " ", "\n", "<ahref=\"", "\"target=\"blank\">"}) {
    e = DeleteAnyCase(e, markup);
  }
  return e;
}

ImageAddressLists BuildImageAddressLists(const ProductPage& page) {
  ImageAddressLists lists;

  Text s;
  for (const Text& line : page.descriptionLines) {
    s += DescriptionImageAddress(line);
    s += kCrLf;
  }
  // Lines without an image leave empty entries; ten halving passes fold any
  // run of up to 1024 of them into one separator.
  for (int pass = 0; pass < 10; ++pass) {
    s = ReplaceText(s, "\r\n\r\n", kCrLf, kOmitted, kOmitted, true);
  }
  if (CompareTexts(LeftText(s, 2), kCrLf) == 0) s = RightText(s, TextLength(s) - 2);
  if (CompareTexts(RightText(s, 2), kCrLf) == 0) s = LeftText(s, TextLength(s) - 2);
  lists.descriptionImages = SplitText(s, kCrLf);

  Text m;
  for (const Text& entry : page.thumbnailEntries) {
    const Text address = MainImageAddress(entry);
    if (address.empty()) continue;
    m += address;
    m += kCrLf;
  }
  m = LeftText(m, TextLength(m) - 2);
  lists.mainImages = SplitText(m, kCrLf);
  return lists;
}

}  // namespace lumigrab
