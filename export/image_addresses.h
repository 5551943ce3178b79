#pragma once
// Turns a parsed product page into the two ordered lists of image addresses
// that an export downloads. Neither list is de-duplicated.

#include <string_view>

#include "base/text.h"
#include "export/product_page.h"

namespace lumigrab {

struct ImageAddressLists {
  TextArray descriptionImages;  // from the description's "src=" attributes
  TextArray mainImages;         // from the links of the thumbnail strip
};

// The image address of one description line, or the empty text.
Text DescriptionImageAddress(std::string_view line);

// The link address of one thumbnail entry, or the empty text.
Text MainImageAddress(std::string_view entry);

ImageAddressLists BuildImageAddressLists(const ProductPage& page);

}  // namespace lumigrab
