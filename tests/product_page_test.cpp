#include "export/product_page.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace lumigrab {
namespace {

using Lines = std::vector<std::string>;

const std::string kDescriptionOpen =
    "<textarea class=\"ks-datalazyload invisible\" id=\"J_DivItemDesc2\">";
const std::string kDescriptionClose = "</textarea>";
const std::string kStripOpen =
    "<ul id=\"J_UlThumb\" class=\"tb-thumb tb-clearfix\">";
const std::string kStripClose = "</ul>";
const std::string kEntry = "<div class=\"tb-pic tb-s50\">";
// "-秀衣坊": the marketplace's suffix on every page title.
const std::string kTitleSuffix = "\x2D\xD0\xE3\xD2\xC2\xB7\xBB";

std::string PageWithDescription(const std::string& section) {
  return "<html><body>" + kDescriptionOpen + section + kDescriptionClose +
         "</body></html>";
}

std::string PageWithStrip(const std::string& strip) {
  return "<html><body>" + kStripOpen + strip + kStripClose + "</body></html>";
}

struct LinesCase {
  const char* name;
  std::string input;
  Lines expected;
};

TEST(ParseProductPageTest, DecodesAndBreaksDescription) {
  const LinesCase cases[] = {
      {"escaped tags break between tags",
       "&lt;p&gt;&lt;img src=&quot;A&quot;&gt;&lt;/p&gt;",
       {"<p", "img src=A", "/p>"}},
      {"a space between tags breaks too",
       "&lt;p&gt; &lt;img src=&quot;A&quot;&gt;", {"<p", "img src=A>"}},
      {"a line feed between tags breaks, being removed first",
       "&lt;p&gt;\n&lt;/p&gt;", {"<p", "/p>"}},
      {"line feeds go before entities are decoded", "&lt;b&g\nt;x", {"<b>x"}},
      {"&quot; goes before &gt; is decoded", "&lt;i&&quot;gt;x", {"<i>x"}},
      {"&amp; is not decoded", "src=A.jpg?a=1&amp;b=2&amp;gt;",
       {"src=A.jpg?a=1&amp;b=2&amp;gt;"}},
      {"carriage returns stay in the lines", "a\rb&gt;&lt;c", {"a\rb", "c"}},
      {"a raw CR LF is no line break", "a\r\nb", {"a\rb"}},
      {"empty lines are kept", "&lt;p&gt;&lt;&gt;&lt;/p&gt;",
       {"<p", "", "/p>"}},
      {"break at the start gives an empty first line", "&gt;&lt;a",
       {"", "a"}},
      {"break at the end gives no empty last line", "a&gt;&lt;", {"a"}},
      {"empty section", "", {}},
      {"section of line feeds only", "\n\n", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const ProductPage page = ParseProductPage(PageWithDescription(c.input));
    EXPECT_EQ(page.descriptionLines.Items(), c.expected);
    EXPECT_TRUE(page.thumbnailEntries.Items().empty());
  }
}

TEST(ParseProductPageTest, DescriptionEndsAtFirstCloseAfterOpen) {
  const std::string page = "<textarea>x</textarea>" + kDescriptionOpen +
                           "a&gt;&lt;b" + kDescriptionClose + "c</textarea>";
  EXPECT_EQ(ParseProductPage(page).descriptionLines.Items(), (Lines{"a", "b"}));
}

TEST(ParseProductPageTest, SplitsThumbnailStripIntoEntries) {
  const LinesCase cases[] = {
      {"selected first entry and a plain one",
       "<li class=\"tb-selected\">" + kEntry +
           "<a href=\"M1\" target=\"blank\"><img src=\"T1\" /></a></div></li>"
           "<li>" +
           kEntry +
           "<a href=\"M2\" target=\"blank\"><img src=\"T2\" /></a></div></li>",
       {"", "<a href=\"M1\" target=\"blank\"><img src=\"T1\" /></a></li><li>",
        "<a href=\"M2\" target=\"blank\"><img src=\"T2\" /></a></li>"}},
      {"markup before the first block is the first entry",
       "<li>" + kEntry + "x</div></li>", {"<li>", "x</li>"}},
      {"line feeds stay in the entries",
       "\n<li>" + kEntry + "a</div></li>\n", {"\n<li>", "a</li>\n"}},
      {"markers are matched with exact case",
       "<li class=\"tb-selected\"><div class=\"TB-PIC tb-s50\">x</DIV></li>",
       {"<div class=\"TB-PIC tb-s50\">x</DIV></li>"}},
      {"strip without entries", "", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const ProductPage page = ParseProductPage(PageWithStrip(c.input));
    EXPECT_EQ(page.thumbnailEntries.Items(), c.expected);
    EXPECT_TRUE(page.descriptionLines.Items().empty());
  }
}

TEST(ParseProductPageTest, StripEndsAtFirstCloseAfterOpen) {
  const std::string page = "<ul><li>x</li></ul>" + kStripOpen + kEntry +
                           "A" + kStripClose + kEntry + "B</ul>";
  EXPECT_EQ(ParseProductPage(page).thumbnailEntries.Items(), (Lines{"", "A"}));
}

struct NameCase {
  const char* name;
  std::string page;
  std::string itemNumber;
  std::string title;
  std::string folderName;
};

TEST(ParseProductPageTest, ItemNumberTitleAndFolderName) {
  const NameCase cases[] = {
      {"item number block", "<div class=\"item-mb\">No: <span>K-1024</span>",
       "K-1024", "", "K-1024"},
      {"item number wins over the title; the title is not computed",
       "<title>Dress" + kTitleSuffix +
           "</title><div class=\"item-mb\">No: <span>K-1024</span></div>",
       "K-1024", "", "K-1024"},
      {"last <span> in the block", "<div class=\"item-mb\"><span>No:<span>K-7"
       "</span>", "K-7", "", "K-7"},
      {"item number is not trimmed",
       "<div class=\"item-mb\"><span> K 1 </span>", " K 1 ", "", " K 1 "},
      {"only the folder name is cleaned",
       "<div class=\"item-mb\"><span>K/1:2?</span>", "K/1:2?", "", "K12"},
      {"no <span> before the first </span>: title is used",
       "<title>Summer dress" + kTitleSuffix +
           "</title><div class=\"item-mb\">No: K-1024</span><span>X</span>",
       "", "Summer dress", "Summer dress"},
      {"empty item number: title is used",
       "<title>Dress</title><div class=\"item-mb\"><span></span>", "",
       "Dress", "Dress"},
      {"item number block marker has exact case",
       "<title>T</title><div class=\"Item-mb\"><span>K</span>", "", "T", "T"},
      {"suffix removed", "<title>Summer dress" + kTitleSuffix + "</title>",
       "", "Summer dress", "Summer dress"},
      {"suffix removed wherever it stands",
       "<title>" + kTitleSuffix + "A" + kTitleSuffix + "B" + kTitleSuffix +
           "</title>",
       "", "AB", "AB"},
      {"suffix without its hyphen stays",
       "<title>A\xD0\xE3\xD2\xC2\xB7\xBB</title>", "",
       "A\xD0\xE3\xD2\xC2\xB7\xBB", "A\xD0\xE3\xD2\xC2\xB7\xBB"},  // A秀衣坊
      {"forbidden characters leave the folder name", "<title>a/b:c?</title>",
       "", "a/b:c?", "abc"},
      {"all nine forbidden characters",
       "<title>a|b>c<d\"e*f?g\\h/i:j</title>", "", "a|b>c<d\"e*f?g\\h/i:j",
       "abcdefghij"},
      {"other characters are kept", "<title>A. B_C-(D)&amp;%</title>", "",
       "A. B_C-(D)&amp;%", "A. B_C-(D)&amp;%"},
      // 连衣裙 + suffix
      {"Chinese title", "<title>\xC1\xAC\xD2\xC2\xC8\xB9" + kTitleSuffix +
                            "</title>",
       "", "\xC1\xAC\xD2\xC2\xC8\xB9", "\xC1\xAC\xD2\xC2\xC8\xB9"},
      // 昞 (95 5C), 諀 (D5 7C), 礬 (B5 5C): second bytes are "\" and "|",
      // which must survive inside the characters while the lone ones go.
      {"double-byte characters ending in \\ or | stay whole",
       "<title>\x95\x5C" "\\" "\xD5\x7C" "|" "\xB5\x5C" "</title>", "",
       "\x95\x5C" "\\" "\xD5\x7C" "|" "\xB5\x5C",
       "\x95\x5C" "\xD5\x7C" "\xB5\x5C"},
      {"title marker has exact case", "<TITLE>X</TITLE>", "", "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const ProductPage page = ParseProductPage(c.page);
    EXPECT_EQ(page.itemNumber, c.itemNumber);
    EXPECT_EQ(page.title, c.title);
    EXPECT_EQ(page.folderName, c.folderName);
  }
}

TEST(ParseProductPageTest, NonProductPagesGiveEmptyFields) {
  const struct {
    const char* name;
    std::string page;
  } cases[] = {
      {"empty page", ""},
      {"unrelated page", "<html><body><p>hello</p></body></html>"},
      {"sections never closed",
       kDescriptionOpen + "&lt;p&gt;&lt;/p&gt;" + kStripOpen + kEntry +
           "x<div class=\"item-mb\"><span>K-1"},
      {"markers in the wrong case",
       "<TEXTAREA class=\"ks-datalazyload invisible\" id=\"J_DivItemDesc2\">"
       "a&gt;&lt;b</TEXTAREA>"
       "<UL id=\"J_UlThumb\" class=\"tb-thumb tb-clearfix\">x</UL>"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const ProductPage page = ParseProductPage(c.page);
    EXPECT_EQ(page.itemNumber, "");
    EXPECT_EQ(page.title, "");
    EXPECT_EQ(page.folderName, "");
    EXPECT_TRUE(page.descriptionLines.Items().empty());
    EXPECT_TRUE(page.thumbnailEntries.Items().empty());
  }
}

}  // namespace
}  // namespace lumigrab
