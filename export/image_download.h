#pragma once
// Saving the images of one address list into the export folder.

#include <string_view>

#include "base/text.h"

namespace lumigrab {

// For each address in list order: builds its name (prefix, index from 1,
// time stamp, extension), creates the file, downloads the address and
// writes the bytes, even when there are none. A name that cannot be created,
// or that would lead out of the folder, loses that image silently; the
// download still takes place.
void SaveImageList(const Text& folder, const TextArray& list,
                   std::string_view prefix);

}  // namespace lumigrab
