#pragma once
// The payload handed to the packer: the export folder, "|", the archive path,
// as ANSI bytes without a terminator.

#include <optional>

#include "base/text.h"

namespace lumigrab {

// The hand-off key word of the packer.
inline constexpr char kPackerKeyWord[] = "imgzip";

Bytes MakePackingPayload(const Text& folder, const Text& archivePath);

struct PackingRequest {
  Text folder;
  Text archivePath;
  bool operator==(const PackingRequest&) const = default;
};

// Splits at the first "|" character, stepping over double-byte characters:
// a GBK character may end in the byte 0x7C, and Windows paths hold no real
// "|". Nothing when there is none, when either side is empty, or when the
// payload holds a zero byte (a system call would cut the path short there).
std::optional<PackingRequest> SplitPackingPayload(const Bytes& payload);

}  // namespace lumigrab
