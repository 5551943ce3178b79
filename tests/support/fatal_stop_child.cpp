// Ends in a fatal stop on purpose, for the test that checks the stop's
// message box and exit code. Usage: fatal_stop_child index|oom MARKER-FILE
// The end-of-program callback writes MARKER-FILE, showing that the stop went
// through the program's single end path.
#include <cstdint>
#include <cstddef>
#include <cstring>
#include <vector>

#include "base/files.h"
#include "base/internal_error.h"
#include "base/process.h"
#include "base/text.h"

namespace {

lumigrab::Text g_marker;

void WriteMarker() {
  lumigrab::FileObject f = lumigrab::OpenFile(g_marker, 4);
  (void)lumigrab::WriteText(f, "ended");
  lumigrab::CloseFile(f);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  g_marker = argv[2];
  lumigrab::SetEndOfProgramCallback(WriteMarker);
  lumigrab::InstallOutOfMemoryStop();
  if (std::strcmp(argv[1], "index") == 0) {
    const lumigrab::TextArray list{"a"};
    return static_cast<int>(list[0].size()) + 3;
  }
  if (std::strcmp(argv[1], "oom") == 0) {
    std::vector<std::uint8_t> huge;
    // More than any address space holds, yet within what a vector allows.
    huge.reserve(static_cast<std::size_t>(PTRDIFF_MAX) - 16);
    return 4;
  }
  return 2;
}
