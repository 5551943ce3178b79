#pragma once
// Realistic product pages of the marketplace, built in memory, for tests,
// the fuzz driver and the parser benchmark. The same shape always gives the
// same bytes, and ExpectedAddresses tells what a correct parse finds in it.

#include <cstddef>
#include <string>

#include "base/text.h"

namespace lumigrab::testing {

struct PageShape {
  int descriptionImages = 6;  // <img> tags in the escaped description
  int thumbnails = 5;         // entries of the thumbnail strip
  // Roughly how many bytes of ordinary page markup (head, scripts, styles,
  // navigation, reviews, footer) surround the parts the parser reads.
  std::size_t fillerBytes = 8 * 1024;
  bool crlf = false;           // CR LF line ends instead of LF
  bool withItemNumber = true;  // whether the item-number block is present
};

// What the export should take from a page made by MakeProductPage.
struct PageAddresses {
  Text folderName;
  TextArray descriptionImages;
  TextArray mainImages;
};

// A whole product page in GBK bytes.
std::string MakeProductPage(const PageShape& shape);

PageAddresses ExpectedAddresses(const PageShape& shape);

}  // namespace lumigrab::testing
