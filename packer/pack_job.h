#pragma once
// One packing job: check the handed folder and archive path, list the files,
// write the archive under a temporary name and give it its name when whole.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/text.h"
#include "ipc/packing_payload.h"

namespace lumigrab {

// A file of the folder larger than this is refused (the archive has no
// zip64, and the packer holds one file in memory at a time).
inline constexpr std::uint64_t kMaxPackedFileSize = std::uint64_t{1} << 30;

struct PlannedFile {
  std::wstring path;
  Text entryName;  // UTF-8
};

struct PackPlan {
  std::wstring folder;        // resolved
  std::wstring archive;       // resolved, directly inside the packer's temp folder
  std::vector<PlannedFile> files;  // in name order
  std::vector<Text> skipped;  // UTF-8 notes for the log
};

// Resolves the request against the packer's folder and lists the regular
// files directly inside the handed folder. Nothing, with the reason in why,
// when the archive path is not directly inside <packer folder>\temp or the
// folder does not exist.
std::optional<PackPlan> PlanPacking(const PackingRequest& request,
                                    const std::wstring& packerFolder, Text& why);

// Called after each file with the number done and the total; false cancels.
using PackProgress = std::function<bool(int done, int total)>;

// Writes the archive of the planned files to a temporary name beside it and
// renames it to the archive path when it is complete, replacing an older
// archive of that name. On any failure (or a cancel) the temporary file is
// removed, an older archive stays as it was, and why says what happened.
bool WriteArchive(const PackPlan& plan, const PackProgress& progress, Text& why);

}  // namespace lumigrab
