#include "export/product_page.h"

#include "base/gbk_literals.h"
#include "base/text_marks.h"

namespace lumigrab {
namespace {

// The marketplace's page layout, byte for byte.
constexpr char kDescriptionLeft[] =
    "<textarea class=\"ks-datalazyload invisible\" id=\"J_DivItemDesc2\">";
constexpr char kDescriptionRight[] = "</textarea>";
constexpr char kStripLeft[] = "<ul id=\"J_UlThumb\" class=\"tb-thumb tb-clearfix\">";
constexpr char kStripRight[] = "</ul>";
constexpr char kStripEntry[] = "<div class=\"tb-pic tb-s50\">";
constexpr char kItemBlockLeft[] = "<div class=\"item-mb\">";
constexpr char kItemBlockRight[] = "</span>";
constexpr char kItemOpening[] = "<span>";
constexpr char kTitleLeft[] = "<title>";
constexpr char kTitleRight[] = "</title>";

constexpr char kCrLf[] = "\r\n";

// Every occurrence, exact case: the form of all the parser's replacements.
Text ReplaceAll(std::string_view text, std::string_view sought, std::string_view with) {
  return ReplaceText(text, sought, with, kOmitted, kOmitted, true);
}

TextArray DescriptionLines(std::string_view page) {
  // The section holds the description HTML escaped; decoding it this way
  // leaves one tag per line. Line feeds go first so a tag pair broken over
  // two lines still meets as "><".
  Text d = TextBetween(page, kDescriptionLeft, kDescriptionRight);
  d = ReplaceAll(d, CharText(10), "");
  d = ReplaceAll(d, "&quot;", "");  // attribute values lose their quotes
  d = ReplaceAll(d, "&gt;", ">");
  d = ReplaceAll(d, "&lt;", "<");
  d = ReplaceAll(d, "><", kCrLf);
  d = ReplaceAll(d, "> <", kCrLf);
  return SplitText(d, kCrLf);
}

TextArray ThumbnailEntries(std::string_view page) {
  Text t = TextBetween(page, kStripLeft, kStripRight);
  t = ReplaceAll(t, kStripEntry, kCrLf);  // one entry starts at each picture block
  t = ReplaceAll(t, "</div>", "");
  t = ReplaceAll(t, "<li class=\"tb-selected\">", "");
  return SplitText(t, kCrLf);
}

Text FolderName(std::string_view name) {
  // Characters that no Windows file name may hold, removed one kind at a
  // time; double-byte characters are stepped over whole.
  static constexpr const char* kForbidden[] = {"|", ">", "<", "\"", "*", "?", "\\", "/", ":"};
  Text n(name);
  for (const char* c : kForbidden) n = ReplaceAll(n, c, "");
  return n;
}

}  // namespace

ProductPage ParseProductPage(std::string_view page) {
  ProductPage result;
  result.descriptionLines = DescriptionLines(page);
  result.thumbnailEntries = ThumbnailEntries(page);
  result.itemNumber =
      TextAfterLast(TextBetween(page, kItemBlockLeft, kItemBlockRight), kItemOpening);
  if (result.itemNumber.empty()) {
    result.title = ReplaceAll(TextBetween(page, kTitleLeft, kTitleRight), gbk::kTitleSuffix, "");
  }
  result.folderName = FolderName(result.itemNumber.empty() ? result.title : result.itemNumber);
  return result;
}

}  // namespace lumigrab
