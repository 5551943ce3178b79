#include "export/image_addresses.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "export/product_page.h"

namespace lumigrab {
namespace {

using Lines = std::vector<std::string>;

struct AddressCase {
  const char* name;
  std::string input;
  std::string expected;
};

TEST(DescriptionImageAddressTest, CutsAddressAfterLastSrc) {
  const AddressCase cases[] = {
      {"attributes after the address", "img src=A.jpg alt=x", "A.jpg"},
      {"last jpg ends the address", "img src=A.jpg_400x400.jpg",
       "A.jpg_400x400.jpg"},
      {"unknown extension cut back to jpg", "img src=A.jpg_400x400.webp",
       "A.jpg"},
      {"query after png", "img src=A.png?v=2", "A.png"},
      {"jpeg", "img src=A.jpeg?x", "A.jpeg"},
      {"gif", "img src=A.gif width=1", "A.gif"},
      {"bmp", "img src=A.bmp/", "A.bmp"},
      {"upper-case extension is not recognised", "img src=A.JPG", "A.JPG"},
      {"png cuts after an earlier png", "img src=A.png.jpg", "A.png"},
      {"jpg cuts before a later png", "img src=A.jpg.png", "A.jpg"},
      {"gif cuts after an earlier gif", "img src=A.gif.jpg", "A.gif"},
      {"extension letters earlier in the path spoil the address",
       "src=//h/gifts/a.jpg", "//h/gif"},
      {"no extension at all", "img src=x", "x"},
      {"no src", "img alt=y", ""},
      {"src in upper case is not found", "img SRC=A.jpg", ""},
      {"src at the end", "img src=", ""},
      {"the last src counts", "img data-src=P.gif src=Q.jpg", "Q.jpg"},
      {"empty line", "", ""},
      {"double-byte text after the address",
       "img src=A.jpg alt=\xD5\xE6", "A.jpg"},  // 真
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(DescriptionImageAddress(c.input), c.expected);
  }
}

TEST(DescriptionImageAddressTest, RepairsHttpsScheme) {
  const AddressCase cases[] = {
      {"https: without slashes", "src=https:B.jpg", "https://B.jpg"},
      {"https:// unchanged", "src=https://B.jpg", "https://B.jpg"},
      {"scheme-relative unchanged", "src=//B.jpg", "//B.jpg"},
      {"http unchanged", "src=http://B.jpg", "http://B.jpg"},
      {"HTTPS: is not repaired", "src=HTTPS:B.jpg", "HTTPS:B.jpg"},
      {"https: further on is repaired", "src=http://x/?u=https:y.jpg",
       "http://x/?u=https://y.jpg"},
      // Only the start decides; once it is not https://, every https: gets
      // two more slashes, even one that already had them.
      {"no repair when the address starts with https://",
       "src=https://a/https:b.jpg", "https://a/https:b.jpg"},
      {"every https: is repaired", "src=//x/https://y.jpg",
       "//x/https:////y.jpg"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(DescriptionImageAddress(c.input), c.expected);
  }
}

TEST(MainImageAddressTest, StripsEntryDownToLinkAddress) {
  const AddressCase cases[] = {
      {"plain entry",
       "<li><a href=\"M\" target=\"blank\"><img src=\"T\" /></a></li>", "M"},
      {"upper-case list tags",
       "<LI><a href=\"M\" target=\"blank\"><img src=\"T\" /></a></LI>", "M"},
      {"upper-case link",
       "<li><A HREF=\"M\" TARGET=\"BLANK\"><img src=\"T\" /></a></li>", "M"},
      {"upper-case picture is not found",
       "<li><a href=\"M\" target=\"blank\"><IMG SRC=\"T\" /></a></li>",
       "M<IMGSRC=\"T\"/></a>"},
      // "<li >" must go as a whole: once the spaces are gone it would be a
      // "<li>" that nothing deletes any more.
      {"list tag with a space", "<li ><a href=\"M\" target=\"blank\">"
       "<img src=\"T\" /></a></li>", "M"},
      {"entry as cut from the strip",
       "<a href=\"M1\" target=\"blank\"><img src=\"T1\" /></a></li><li>", "M1"},
      {"line feeds are deleted",
       "\n<a href=\"M\" target=\"blank\"><img src=\"T\" /></a></li>\n<li>",
       "M"},
      {"carriage returns are kept",
       "\r<li><a href=\"M\" target=\"blank\"><img src=\"T\" /></a></li>",
       "\rM"},
      {"spaces inside the address are deleted",
       "<li><a href=\"M 1\" target=\"blank\"><img src=\"T\" /></a></li>",
       "M1"},
      {"other target is not deleted",
       "<li><a href=\"M\" target=\"_blank\"><img src=\"T\" /></a></li>",
       "M\"target=\"_blank\">"},
      {"bare text", "M1", "M1"},
      {"only markup", "<li>", ""},
      {"only a line feed", "\n", ""},
      {"empty entry", "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(MainImageAddress(c.input), c.expected);
  }
}

// Description lines written as runs: each pair is a repeat count and a line.
struct CollapseCase {
  const char* name;
  std::vector<std::pair<int, std::string>> runs;
  Lines expected;
};

TEST(BuildImageAddressListsTest, DescriptionList) {
  // "<p" stands for any line without an image: it adds one empty entry.
  const CollapseCase cases[] = {
      {"non-image lines vanish",
       {{1, "src=1.jpg"}, {1, "<p"}, {1, "src=2.jpg"}}, {"1.jpg", "2.jpg"}},
      {"duplicates are kept", {{2, "src=1.jpg"}}, {"1.jpg", "1.jpg"}},
      {"only non-image lines", {{3, "<p"}, {1, ""}, {1, "/p>"}}, {}},
      {"no lines", {}, {}},
      {"one address", {{1, "src=1.jpg"}}, {"1.jpg"}},
      {"leading and trailing non-image lines",
       {{1, "<p"}, {1, "src=1.jpg"}, {1, "/p>"}}, {"1.jpg"}},
      // Ten halvings: a run of m separators between two addresses ends as
      // ceil(m / 1024). k empty lines between addresses make k + 1 of them.
      {"1023 empty lines between addresses",
       {{1, "src=A.jpg"}, {1023, "<p"}, {1, "src=B.jpg"}}, {"A.jpg", "B.jpg"}},
      {"1024 empty lines between addresses",
       {{1, "src=A.jpg"}, {1024, "<p"}, {1, "src=B.jpg"}},
       {"A.jpg", "", "B.jpg"}},
      {"2047 empty lines between addresses",
       {{1, "src=A.jpg"}, {2047, "<p"}, {1, "src=B.jpg"}},
       {"A.jpg", "", "B.jpg"}},
      {"2048 empty lines between addresses",
       {{1, "src=A.jpg"}, {2048, "<p"}, {1, "src=B.jpg"}},
       {"A.jpg", "", "", "B.jpg"}},
      // A leading run of k keeps ceil(k / 1024) separators, one of which is
      // trimmed.
      {"1024 empty lines first", {{1024, "<p"}, {1, "src=A.jpg"}}, {"A.jpg"}},
      {"1025 empty lines first",
       {{1025, "<p"}, {1, "src=A.jpg"}}, {"", "A.jpg"}},
      // A trailing run of k keeps ceil((k + 1) / 1024); one is trimmed and a
      // last one before the end gives no empty entry.
      {"2047 empty lines last", {{1, "src=A.jpg"}, {2047, "<p"}}, {"A.jpg"}},
      {"2048 empty lines last",
       {{1, "src=A.jpg"}, {2048, "<p"}}, {"A.jpg", ""}},
      {"2048 empty lines only", {{2048, "<p"}}, {}},
      {"2049 empty lines only", {{2049, "<p"}}, {""}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ProductPage page;
    for (const auto& [count, line] : c.runs) {
      for (int i = 0; i < count; ++i) page.descriptionLines.Add(line);
    }
    const ImageAddressLists lists = BuildImageAddressLists(page);
    EXPECT_EQ(lists.descriptionImages.Items(), c.expected);
    EXPECT_TRUE(lists.mainImages.Items().empty());
  }
}

struct MainListCase {
  const char* name;
  Lines entries;
  Lines expected;
};

TEST(BuildImageAddressListsTest, MainList) {
  const MainListCase cases[] = {
      {"empty entries are removed", {"", "M1", "", "M2", ""}, {"M1", "M2"}},
      {"duplicates are kept", {"M1", "M1"}, {"M1", "M1"}},
      {"no entries", {}, {}},
      {"only entries without a link", {"", "\n", "<li>"}, {}},
      {"entries as cut from a strip",
       {"", "<a href=\"M1\" target=\"blank\"><img src=\"T1\" /></a></li><li>",
        "<a href=\"M2\" target=\"blank\"><img src=\"T2\" /></a></li>"},
       {"M1", "M2"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ProductPage page;
    page.thumbnailEntries = TextArray(std::vector<Text>(c.entries));
    const ImageAddressLists lists = BuildImageAddressLists(page);
    EXPECT_EQ(lists.mainImages.Items(), c.expected);
    EXPECT_TRUE(lists.descriptionImages.Items().empty());
  }
}

// A whole product page, one element per line, as the marketplace serves it.
std::string WholePage(const std::string& lineEnd, bool withItemBlock) {
  const Lines lines = {
      // "Dress A1-秀衣坊"
      "<title>Dress A1\x2D\xD0\xE3\xD2\xC2\xB7\xBB</title>",
      withItemBlock ? "<div class=\"item-mb\">No: <span>K-1024</span></div>"
                    : "",
      "<ul id=\"J_UlThumb\" class=\"tb-thumb tb-clearfix\">",
      "<li class=\"tb-selected\"><div class=\"tb-pic tb-s50\"><a href=\"M1\" "
      "target=\"blank\"><img src=\"T1\" /></a></div></li>",
      "<li><div class=\"tb-pic tb-s50\"><a href=\"M2\" target=\"blank\"><img "
      "src=\"T2\" /></a></div></li>",
      "</ul>",
      "<textarea class=\"ks-datalazyload invisible\" "
      "id=\"J_DivItemDesc2\">&lt;p&gt;&lt;img src=&quot;D1.jpg&quot;&gt;&lt;"
      "img src=&quot;D2.png&quot;&gt;&lt;/p&gt;</textarea>",
  };
  std::string page;
  for (const auto& line : lines) page += line + lineEnd;
  return page;
}

struct WholePageCase {
  const char* name;
  std::string lineEnd;
  bool withItemBlock;
  std::string folderName;
};

TEST(BuildImageAddressListsTest, WholePage) {
  const WholePageCase cases[] = {
      {"LF, item number", "\n", true, "K-1024"},
      {"CR LF, item number", "\r\n", true, "K-1024"},
      {"LF, title only", "\n", false, "Dress A1"},
      {"CR LF, title only", "\r\n", false, "Dress A1"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const ProductPage page =
        ParseProductPage(WholePage(c.lineEnd, c.withItemBlock));
    EXPECT_EQ(page.folderName, c.folderName);
    const ImageAddressLists lists = BuildImageAddressLists(page);
    EXPECT_EQ(lists.descriptionImages.Items(), (Lines{"D1.jpg", "D2.png"}));
    EXPECT_EQ(lists.mainImages.Items(), (Lines{"M1", "M2"}));
  }
}

// With CR LF line ends the strip's own line breaks become entries too; the
// empty and link-less ones must be dropped from the main list.
TEST(BuildImageAddressListsTest, CrLfPageStripEntries) {
  const ProductPage page = ParseProductPage(WholePage("\r\n", true));
  EXPECT_EQ(page.thumbnailEntries.Items(),
            (Lines{"", "",
                   "<a href=\"M1\" target=\"blank\"><img src=\"T1\" /></a></li>",
                   "<li>",
                   "<a href=\"M2\" target=\"blank\"><img src=\"T2\" /></a>"
                   "</li>"}));
  EXPECT_EQ(page.descriptionLines.Items(),
            (Lines{"<p", "img src=D1.jpg", "img src=D2.png", "/p>"}));
}

}  // namespace
}  // namespace lumigrab
