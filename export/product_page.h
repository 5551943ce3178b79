#pragma once
// Cuts the four things an export needs out of one product page of the
// marketplace: item number, title, description lines and thumbnail entries.

#include <string_view>

#include "base/text.h"

namespace lumigrab {

struct ProductPage {
  Text itemNumber;   // the marketplace's item number, or empty
  Text title;        // only computed when itemNumber is empty
  Text folderName;   // itemNumber or title, without characters a path forbids
  TextArray descriptionLines;  // decoded description section, page order
  TextArray thumbnailEntries;  // raw entries of the thumbnail strip
};

// Pure and total: a missing marker leaves its field empty. The page text is
// in the ANSI code page already.
ProductPage ParseProductPage(std::string_view page);

}  // namespace lumigrab
