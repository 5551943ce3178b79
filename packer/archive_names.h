#pragma once
// What the packer lets into an archive and where it lets the archive go.
// Pure: the Windows side resolves the paths first and passes them in.

#include <optional>
#include <string_view>

#include "base/text.h"

namespace lumigrab {

// The entry name for a file found directly in the handed folder: its name,
// when that is valid UTF-8 and a single plain name. Nothing for an empty
// name, "." or "..", a name with a slash or backslash (a path), a colon (a
// drive or a stream), or a control character: such an entry could land
// outside the folder it is unpacked into.
std::optional<Text> ArchiveEntryName(std::string_view utf8FileName);

// True when the resolved path names a file directly inside the resolved
// folder: the folder, one backslash, and a plain name (as above). The
// folder part compares without regard to the case of ASCII letters, as
// Windows compares paths; other letters must match exactly.
bool IsDirectlyInsideFolder(std::string_view path, std::string_view folder);

}  // namespace lumigrab
